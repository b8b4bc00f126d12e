// What a window shows, as pixels: a capture of its client area or of the screen, what a region of it
// holds, and a BMP of it for a person to look at.
#pragma once

#include "system/handles_win.h"
#include "tests/support/test_support_win.h"
#include "ui/paint/theme.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace orvane::test {

// Lets the windows of the thread handle what is posted to them, painting included.
inline void Pump() {
    MSG message{};
    for (int round = 0; round < 4; ++round) {
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
        ::Sleep(10);
    }
}

// The client area of a window as 0x00BBGGRR colours, row by row.
struct Capture {
    int width = 0;
    int height = 0;
    std::vector<Color> pixels;

    Color At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// A rectangle of what `source` shows.
inline Capture CaptureFrom(HDC source, int left, int top, int width, int height) {
    Capture capture;
    BITMAPINFO header{};
    header.bmiHeader.biSize = sizeof header.bmiHeader;
    header.bmiHeader.biWidth = width;
    header.bmiHeader.biHeight = -height;
    header.bmiHeader.biPlanes = 1;
    header.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    UniqueBitmap bitmap(::CreateDIBSection(nullptr, &header, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap) {
        return capture;
    }
    HDC memory = ::CreateCompatibleDC(source);
    HGDIOBJ old = ::SelectObject(memory, bitmap.get());
    ::BitBlt(memory, 0, 0, width, height, source, left, top, SRCCOPY);
    ::GdiFlush();
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    // The DIB holds 0x00RRGGBB; the system's colours are 0x00BBGGRR.
    const auto* rgb = static_cast<const std::uint32_t*>(bits);
    capture.width = width;
    capture.height = height;
    for (int i = 0; i < width * height; ++i) {
        capture.pixels.push_back(MakeColor(static_cast<int>(rgb[i] >> 16), static_cast<int>(rgb[i] >> 8),
                                           static_cast<int>(rgb[i])));
    }
    return capture;
}

inline Capture CaptureClient(HWND window) {
    ::RedrawWindow(window, nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump();
    RECT client{};
    ::GetClientRect(window, &client);
    HDC source = ::GetDC(window);
    Capture capture = CaptureFrom(source, 0, 0, client.right, client.bottom);
    ::ReleaseDC(window, source);
    return capture;
}

static_assert(sizeof(BITMAPFILEHEADER) == 14, "the file header is packed");

// Writes the capture as a top-down 32-bit BMP when ORVANE_THEME_SHOTS names a folder.
inline void SaveShot(const Capture& capture, const std::wstring& name) {
    const wchar_t* folder = _wgetenv(L"ORVANE_THEME_SHOTS");
    if (folder == nullptr || *folder == 0 || capture.pixels.empty()) {
        return;
    }
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = capture.width;
    info.biHeight = -capture.height;
    info.biPlanes = 1;
    info.biBitCount = 32;
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = static_cast<DWORD>(file.bfOffBits + capture.pixels.size() * 4);
    std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
    bytes.append(reinterpret_cast<const char*>(&info), sizeof info);
    for (Color c : capture.pixels) {
        const char pixel[4] = {static_cast<char>(BlueOf(c)), static_cast<char>(GreenOf(c)),
                               static_cast<char>(RedOf(c)), 0};
        bytes.append(pixel, 4);
    }
    WriteFileBytes(std::wstring(folder) + L"\\" + name + L".bmp", bytes);
}

// A rectangle of `child` in the form's client coordinates.
inline RECT RectIn(HWND form, HWND child) {
    RECT rect{};
    ::GetWindowRect(child, &rect);
    ::MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// What a region of a capture holds: its commonest colour and how many of its pixels are light.
struct Region {
    Color common = 0;
    double commonShare = 0;
    int lightPixels = 0;
    int pixels = 0;
    std::map<Color, int> counts;

    int Count(Color c) const {
        auto found = counts.find(c);
        return found != counts.end() ? found->second : 0;
    }
};

inline Region Examine(const Capture& capture, RECT rect) {
    Region region;
    rect.left = std::max<LONG>(rect.left, 0);
    rect.top = std::max<LONG>(rect.top, 0);
    rect.right = std::min<LONG>(rect.right, capture.width);
    rect.bottom = std::min<LONG>(rect.bottom, capture.height);
    for (int y = rect.top; y < rect.bottom; ++y) {
        for (int x = rect.left; x < rect.right; ++x) {
            Color c = capture.At(x, y);
            ++region.counts[c];
            ++region.pixels;
            region.lightPixels += RelativeLuminance(c) > 0.6 ? 1 : 0;
        }
    }
    int best = 0;
    for (const auto& [colour, count] : region.counts) {
        if (count > best) {
            best = count;
            region.common = colour;
        }
    }
    region.commonShare = region.pixels > 0 ? static_cast<double>(best) / region.pixels : 0;
    return region;
}

inline std::string Hex(Color c) {
    char text[16];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", RedOf(c), GreenOf(c), BlueOf(c));
    return text;
}

} // namespace orvane::test
