#include "ui/controls/toolbar_images_win.h"

#include <shellapi.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

namespace orvane {
namespace {

struct ScreenDc {
    ScreenDc() : dc(::GetDC(nullptr)) {}
    ScreenDc(const ScreenDc&) = delete;
    ScreenDc& operator=(const ScreenDc&) = delete;
    ~ScreenDc() {
        if (dc != nullptr) {
            ::ReleaseDC(nullptr, dc);
        }
    }
    HDC dc;
};

bool ReadBitmap(HDC dc, HBITMAP bitmap, int width, int height, std::vector<std::uint32_t>& out) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    out.assign(static_cast<std::size_t>(width) * height, 0);
    return ::GetDIBits(dc, bitmap, 0, static_cast<UINT>(height), out.data(), &info, DIB_RGB_COLORS) == height;
}

// An icon's colour bitmap and mask as 32-bit pixels; nothing when the system cannot give them.
std::optional<IconBitmaps> ReadIcon(HICON icon) {
    ICONINFO info{};
    if (!::GetIconInfo(icon, &info)) {
        return std::nullopt;
    }
    UniqueBitmap colour(info.hbmColor);
    UniqueBitmap mask(info.hbmMask);
    BITMAP shape{};
    if (!colour || ::GetObjectW(colour.get(), sizeof(shape), &shape) == 0 || shape.bmWidth <= 0 ||
        shape.bmHeight <= 0) {
        return std::nullopt;
    }
    ScreenDc screen;
    IconBitmaps result;
    result.width = shape.bmWidth;
    result.height = shape.bmHeight;
    if (screen.dc == nullptr || !mask ||
        !ReadBitmap(screen.dc, colour.get(), shape.bmWidth, shape.bmHeight, result.colour) ||
        !ReadBitmap(screen.dc, mask.get(), shape.bmWidth, shape.bmHeight, result.mask)) {
        return std::nullopt;
    }
    return result;
}

UniqueBitmap MakeBitmap(const std::vector<std::uint32_t>& bgra, int size) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = size;
    info.bmiHeader.biHeight = -size;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    UniqueBitmap bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (bitmap && bits != nullptr) {
        std::copy(bgra.begin(), bgra.end(), static_cast<std::uint32_t*>(bits));
        ::GdiFlush();
    }
    return bitmap;
}

// The shield as the system gives it, fitted into the glyph box; nothing when there is none.
std::optional<GlyphPixels> SystemShield(const ShieldIconSource& shield, int size) {
    const int box = IconBoxSize(size);
    UniqueIcon icon = shield(box);
    if (!icon) {
        return std::nullopt;
    }
    std::optional<IconBitmaps> bitmaps = ReadIcon(icon.get());
    return bitmaps ? PlaceIcon(*bitmaps, size, box) : std::nullopt;
}

} // namespace

UniqueIcon StockShieldIcon(int boxSize) {
    SHSTOCKICONINFO info{};
    info.cbSize = sizeof(info);
    UINT flags = SHGSI_ICON;
    if (boxSize <= ::GetSystemMetrics(SM_CXSMICON)) {
        flags |= SHGSI_SMALLICON;
    }
    if (FAILED(::SHGetStockIconInfo(SIID_SHIELD, flags, &info))) {
        return {};
    }
    return UniqueIcon(info.hIcon);
}

UniqueImageList CreateToolbarImages(UINT dpi, bool dark) {
    return CreateToolbarImages(dpi, dark, StockShieldIcon);
}

UniqueImageList CreateToolbarImages(UINT dpi, bool dark, const ShieldIconSource& shield) {
    const int size = ToolbarImageSize(dpi);
    if (size <= 0) {
        return {};
    }
    UniqueImageList list(::ImageList_Create(size, size, ILC_COLOR32, kToolbarImageCount, 0));
    if (!list) {
        return {};
    }
    for (int index = 0; index < kToolbarImageCount; ++index) {
        std::optional<GlyphPixels> image;
        if (index == tiAdmin && shield) {
            image = SystemShield(shield, size);
        }
        if (!image) {
            image = DrawGlyph(static_cast<ToolbarImage>(index), size, dark);
        }
        UniqueBitmap bitmap = MakeBitmap(image->pixels, size);
        if (!bitmap || ::ImageList_Add(list.get(), bitmap.get(), nullptr) != index) {
            return {};
        }
    }
    return list;
}

} // namespace orvane
