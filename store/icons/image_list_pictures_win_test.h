// Pictures for the image-list tests: 32 x 32 pictures that differ from each other and use their alpha,
// lists of them with and without a mask, a stream laid out any number of pictures to a row, and the
// check that two lists hold the same pictures, stored and drawn.
#pragma once

#include "system/com_error_win.h"
#include "system/handles_win.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <array>
#include <cstdint>
#include <vector>

namespace orvane::pictures_test {

constexpr int kSize = 32;
using Pixels = std::vector<std::uint32_t>;

inline BITMAPINFO TopDown32(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

// A 32 x 32 picture with premultiplied alpha: opaque stripes of the colour, a half-transparent band and
// a fully transparent corner, so every image of a test differs and the alpha channel matters.
inline UniqueBitmap Picture(std::uint32_t rgb, int seed) {
    BITMAPINFO info = TopDown32(kSize, kSize);
    void* bits = nullptr;
    UniqueBitmap bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap) {
        throw ComError(E_FAIL, "CreateDIBSection");
    }
    auto* px = static_cast<std::uint32_t*>(bits);
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            std::uint32_t alpha = (x + y < 6) ? 0 : ((y + seed) % 8 < 3 ? 0x80 : 0xFF);
            std::uint32_t colour = ((x / 4 + seed) % 2 == 0) ? rgb : (rgb ^ 0x00FFFFFF);
            auto channel = [&](int shift) { return (((colour >> shift) & 0xFF) * alpha / 255) << shift; };
            px[y * kSize + x] = (alpha << 24) | channel(16) | channel(8) | channel(0);
        }
    }
    return bitmap;
}

// Image i of the list drawn over a plain background.
inline Pixels Drawn(HIMAGELIST list, int index, std::uint32_t background) {
    BITMAPINFO info = TopDown32(kSize, kSize);
    void* bits = nullptr;
    UniqueBitmap target(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    ::ReleaseDC(nullptr, screen);
    HGDIOBJ old = ::SelectObject(dc, target.get());
    auto* px = static_cast<std::uint32_t*>(bits);
    std::fill(px, px + kSize * kSize, background);
    ::ImageList_Draw(list, index, dc, 0, 0, ILD_NORMAL);
    ::GdiFlush();
    Pixels out(px, px + kSize * kSize);
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    return out;
}

// The stored colour and alpha bits of image i.
inline Pixels StoredBits(HIMAGELIST list, int index) {
    IMAGEINFO image{};
    if (!::ImageList_GetImageInfo(list, index, &image)) {
        return {};
    }
    BITMAP bm{};
    ::GetObjectW(image.hbmImage, sizeof bm, &bm);
    Pixels all(static_cast<std::size_t>(bm.bmWidth) * bm.bmHeight);
    BITMAPINFO info = TopDown32(bm.bmWidth, bm.bmHeight);
    HDC screen = ::GetDC(nullptr);
    ::GetDIBits(screen, image.hbmImage, 0, static_cast<UINT>(bm.bmHeight), all.data(), &info, DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    Pixels out;
    for (LONG y = image.rcImage.top; y < image.rcImage.bottom; ++y) {
        for (LONG x = image.rcImage.left; x < image.rcImage.right; ++x) {
            out.push_back(all[static_cast<std::size_t>(y) * bm.bmWidth + x]);
        }
    }
    return out;
}

inline UniqueImageList AlphaList() {
    UniqueImageList list(::ImageList_Create(kSize, kSize, ILC_COLOR32, 4, 4));
    const std::array<std::uint32_t, 3> colours = {0x00C08040, 0x00102030, 0x0000FF00};
    for (int i = 0; i < 3; ++i) {
        UniqueBitmap picture = Picture(colours[static_cast<std::size_t>(i)], i);
        EXPECT_EQ(::ImageList_Add(list.get(), picture.get(), nullptr), i);
    }
    return list;
}

inline UniqueImageList IconList() {
    UniqueImageList list(::ImageList_Create(kSize, kSize, ILC_COLOR32 | ILC_MASK, 4, 4));
    for (int i = 0; i < 3; ++i) {
        UniqueBitmap colour = Picture(0x00336699u + static_cast<std::uint32_t>(i) * 0x00221100u, i + 3);
        UniqueBitmap mask(::CreateBitmap(kSize, kSize, 1, 1, nullptr));
        ICONINFO info{TRUE, 0, 0, mask.get(), colour.get()};
        UniqueIcon icon(::CreateIconIndirect(&info));
        EXPECT_EQ(::ImageList_ReplaceIcon(list.get(), -1, icon.get()), i);
    }
    return list;
}

// The stream of count opaque 32 x 32 pictures of a list without a mask (ILC_COLOR32), laid out perRow
// to a row of a bottom-up bitmap just tall enough for them. Every writer lays them out four to a row.
inline std::vector<std::uint8_t> PicturesPerRow(int count, int perRow) {
    std::vector<std::uint8_t> b = {'I', 'L'};
    auto put = [&](std::uint32_t v, int size) {
        for (int i = 0; i < size; ++i) {
            b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
        }
    };
    const auto width = static_cast<std::uint32_t>(kSize * perRow);
    const auto height = static_cast<std::uint32_t>(kSize * ((count + perRow - 1) / perRow));
    put(0x0101, 2);
    put(static_cast<std::uint32_t>(count), 2); // images
    put(static_cast<std::uint32_t>(count), 2); // room for them
    put(4, 2);                                 // growth
    put(kSize, 2);
    put(kSize, 2);
    put(CLR_NONE, 4);
    put(ILC_COLOR32, 2);
    for (int overlay = 0; overlay < 4; ++overlay) {
        put(0xFFFF, 2);
    }
    put('B' | ('M' << 8), 2);
    put(14 + 40 + width * height * 4, 4);
    put(0, 4);
    put(14 + 40, 4);
    put(40, 4);
    put(width, 4);
    put(height, 4);
    put(1, 2);
    put(32, 2);
    b.insert(b.end(), 24, 0); // BI_RGB, image size, resolution, colours
    for (std::uint32_t i = 0; i < width * height; ++i) {
        put(0xFF000000u | (i * 2654435761u >> 8), 4);
    }
    return b;
}

inline void ExpectSamePictures(HIMAGELIST original, HIMAGELIST copy) {
    ASSERT_NE(copy, nullptr);
    ASSERT_EQ(::ImageList_GetImageCount(copy), ::ImageList_GetImageCount(original));
    int cx = 0;
    int cy = 0;
    ASSERT_TRUE(::ImageList_GetIconSize(copy, &cx, &cy));
    EXPECT_EQ(cx, kSize);
    EXPECT_EQ(cy, kSize);
    for (int i = 0; i < ::ImageList_GetImageCount(original); ++i) {
        Pixels stored = StoredBits(original, i);
        ASSERT_EQ(stored.size(), static_cast<std::size_t>(kSize * kSize));
        EXPECT_EQ(StoredBits(copy, i), stored) << "image " << i;
        for (std::uint32_t background : {0x00000000u, 0x00FFFFFFu}) {
            EXPECT_EQ(Drawn(copy, i, background), Drawn(original, i, background)) << "image " << i;
        }
    }
    // The pictures differ from each other, so a list that lost or mixed them up would not pass.
    EXPECT_NE(Drawn(original, 0, 0), Drawn(original, 1, 0));
    EXPECT_NE(StoredBits(original, 0), StoredBits(original, 1));
}

} // namespace orvane::pictures_test
