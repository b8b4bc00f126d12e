#include "ui/controls/toolbar_images_win.h"

#include "system/handles_win.h"
#include "tests/support/test_support_win.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace orvane {
namespace {

constexpr std::array<bool, 2> kBothStyles = {false, true};
constexpr std::uint32_t kLightBar = 0xF3F3F3;
constexpr std::uint32_t kDarkBar = 0x202020;

std::uint32_t Alpha(std::uint32_t pixel) {
    return pixel >> 24;
}

// One image of the list as top-down BGRA pixels, as the list stores them.
std::vector<std::uint32_t> ImagePixels(HIMAGELIST list, int index) {
    IMAGEINFO info{};
    if (!::ImageList_GetImageInfo(list, index, &info)) {
        ADD_FAILURE() << "no image " << index;
        return {};
    }
    BITMAP shape{};
    ::GetObjectW(info.hbmImage, sizeof(shape), &shape);
    EXPECT_EQ(shape.bmBitsPixel, 32);
    BITMAPINFO header{};
    header.bmiHeader.biSize = sizeof(header.bmiHeader);
    header.bmiHeader.biWidth = shape.bmWidth;
    header.bmiHeader.biHeight = -shape.bmHeight;
    header.bmiHeader.biPlanes = 1;
    header.bmiHeader.biBitCount = 32;
    header.bmiHeader.biCompression = BI_RGB;
    std::vector<std::uint32_t> all(static_cast<std::size_t>(shape.bmWidth) * shape.bmHeight);
    HDC screen = ::GetDC(nullptr);
    int lines = ::GetDIBits(screen, info.hbmImage, 0, static_cast<UINT>(shape.bmHeight), all.data(), &header,
                            DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    EXPECT_EQ(lines, shape.bmHeight);
    std::vector<std::uint32_t> image;
    for (LONG y = info.rcImage.top; y < info.rcImage.bottom; ++y) {
        for (LONG x = info.rcImage.left; x < info.rcImage.right; ++x) {
            image.push_back(all[static_cast<std::size_t>(y) * shape.bmWidth + x]);
        }
    }
    return image;
}

std::vector<std::vector<std::uint32_t>> AllImages(HIMAGELIST list) {
    std::vector<std::vector<std::uint32_t>> images;
    for (int i = 0; i < ::ImageList_GetImageCount(list); ++i) {
        images.push_back(ImagePixels(list, i));
    }
    return images;
}

// A straight-alpha pixel laid over an opaque background colour (0xRRGGBB).
std::uint32_t Over(std::uint32_t pixel, std::uint32_t background) {
    std::uint32_t a = Alpha(pixel);
    std::uint32_t result = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        std::uint32_t top = (pixel >> shift) & 0xFF;
        std::uint32_t bottom = (background >> shift) & 0xFF;
        result |= ((top * a + bottom * (255 - a) + 127) / 255) << shift;
    }
    return result;
}

// A 32-bit icon of `size` pixels, every pixel `bgra`, whose mask makes the columns from `clearFrom` on
// transparent.
UniqueIcon MakeIcon(int size, std::uint32_t bgra, int clearFrom) {
    BITMAPINFO header{};
    header.bmiHeader.biSize = sizeof(header.bmiHeader);
    header.bmiHeader.biWidth = size;
    header.bmiHeader.biHeight = -size;
    header.bmiHeader.biPlanes = 1;
    header.bmiHeader.biBitCount = 32;
    header.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    UniqueBitmap colour(::CreateDIBSection(nullptr, &header, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!colour) {
        return {};
    }
    std::fill_n(static_cast<std::uint32_t*>(bits), size * size, bgra);
    // Monochrome mask rows are padded to 16 bits.
    const int stride = (size + 15) / 16 * 2;
    std::vector<BYTE> maskBits(static_cast<std::size_t>(stride) * size, 0);
    for (int y = 0; y < size; ++y) {
        for (int x = clearFrom; x < size; ++x) {
            maskBits[static_cast<std::size_t>(y) * stride + x / 8] |= static_cast<BYTE>(0x80 >> (x % 8));
        }
    }
    UniqueBitmap mask(::CreateBitmap(size, size, 1, 1, maskBits.data()));
    ICONINFO info{};
    info.fIcon = TRUE;
    info.hbmColor = colour.get();
    info.hbmMask = mask.get();
    return UniqueIcon(::CreateIconIndirect(&info));
}

TEST(ToolbarImages, NineImagesSizedByTheDpi) {
    const std::array<std::pair<UINT, int>, 5> cases = {{{96, 20}, {120, 25}, {144, 30}, {192, 40}, {0, 20}}};
    for (auto [dpi, size] : cases) {
        SCOPED_TRACE(dpi);
        for (bool dark : kBothStyles) {
            UniqueImageList list = CreateToolbarImages(dpi, dark);
            ASSERT_TRUE(list);
            EXPECT_EQ(::ImageList_GetImageCount(list.get()), kToolbarImageCount);
            int cx = 0;
            int cy = 0;
            ASSERT_TRUE(::ImageList_GetIconSize(list.get(), &cx, &cy));
            EXPECT_EQ(cx, size);
            EXPECT_EQ(cy, size);
        }
    }
}

TEST(ToolbarImages, ListHoldsTheDrawnGlyphs) {
    // The list keeps each drawn image as it is: top-down rows, straight alpha, BGRA.
    const auto drawnShield = [](int) { return UniqueIcon(); };
    for (UINT dpi : {96u, 120u, 144u, 192u}) {
        for (bool dark : kBothStyles) {
            UniqueImageList list = CreateToolbarImages(dpi, dark, drawnShield);
            ASSERT_TRUE(list);
            const auto images = AllImages(list.get());
            ASSERT_EQ(images.size(), static_cast<std::size_t>(kToolbarImageCount));
            for (int index = 0; index < kToolbarImageCount; ++index) {
                const GlyphPixels glyph =
                    DrawGlyph(static_cast<ToolbarImage>(index), ToolbarImageSize(dpi), dark);
                EXPECT_EQ(images[static_cast<std::size_t>(index)], glyph.pixels)
                    << "image " << index << " at " << dpi << " dpi, dark " << dark;
            }
        }
    }
}

TEST(ToolbarImages, ShieldFromTheSystemIsCentredAtTheBoxSize) {
    constexpr std::uint32_t kMagenta = 0xFFE000E0;
    std::vector<int> boxes;
    ShieldIconSource source = [&](int box) {
        boxes.push_back(box);
        return MakeIcon(16, kMagenta, 16);
    };
    for (auto [dpi, box] : {std::pair{96u, 16}, std::pair{144u, 24}, std::pair{192u, 32}}) {
        SCOPED_TRACE(dpi);
        boxes.clear();
        UniqueImageList list = CreateToolbarImages(dpi, false, source);
        ASSERT_TRUE(list);
        EXPECT_EQ(boxes, std::vector<int>{box});
        const int size = ToolbarImageSize(dpi);
        const int offset = (size - box) / 2;
        const auto image = ImagePixels(list.get(), tiAdmin);
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                bool inBox = x >= offset && x < offset + box && y >= offset && y < offset + box;
                ASSERT_EQ(image[static_cast<std::size_t>(y * size + x)], inBox ? kMagenta : 0u)
                    << "x " << x << " y " << y;
            }
        }
    }
}

TEST(ToolbarImages, ShieldWithoutAlphaTakesItsShapeFromTheMask) {
    // A colour bitmap without alpha: the mask's transparent right half stays clear.
    UniqueImageList list = CreateToolbarImages(96, false, [](int) { return MakeIcon(16, 0x000000C0, 8); });
    ASSERT_TRUE(list);
    const auto image = ImagePixels(list.get(), tiAdmin);
    EXPECT_EQ(image[10 * 20 + 4], 0xFF0000C0u);
    EXPECT_EQ(image[10 * 20 + 9], 0xFF0000C0u);
    EXPECT_EQ(image[10 * 20 + 10], 0u);
    EXPECT_EQ(image[10 * 20 + 15], 0u);
}

TEST(ToolbarImages, WithoutASystemShieldTheShieldIsDrawn) {
    const auto none = [](int) { return UniqueIcon(); };
    UniqueImageList drawn = CreateToolbarImages(96, false, none);
    UniqueImageList standard = CreateToolbarImages(96, false);
    ASSERT_TRUE(drawn);
    ASSERT_TRUE(standard);
    const auto shield = ImagePixels(drawn.get(), tiAdmin);
    // A filled shield, not an outline.
    EXPECT_GE(std::count_if(shield.begin(), shield.end(), [](std::uint32_t p) { return Alpha(p) == 255; }),
              20 * 20 / 4);
    if (StockShieldIcon(16)) {
        EXPECT_NE(ImagePixels(standard.get(), tiAdmin), shield);
    } else {
        // Wine's SHGetStockIconInfo succeeds without an icon; the drawn shield stands in.
        EXPECT_TRUE(test::IsRunningOnWine()) << "the system gave no stock shield";
        EXPECT_EQ(ImagePixels(standard.get(), tiAdmin), shield);
    }
}

// A 32-bit top-down picture held in memory, with a device context to draw into it.
class Picture {
public:
    Picture(int width, int height) : width_(width), height_(height), dc_(::CreateCompatibleDC(nullptr)) {
        BITMAPINFO header{};
        header.bmiHeader.biSize = sizeof(header.bmiHeader);
        header.bmiHeader.biWidth = width;
        header.bmiHeader.biHeight = -height;
        header.bmiHeader.biPlanes = 1;
        header.bmiHeader.biBitCount = 32;
        header.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        bitmap_.reset(::CreateDIBSection(nullptr, &header, DIB_RGB_COLORS, &bits, nullptr, 0));
        bits_ = static_cast<std::uint32_t*>(bits);
        old_ = ::SelectObject(dc_, bitmap_.get());
    }
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;
    ~Picture() {
        ::SelectObject(dc_, old_);
        ::DeleteDC(dc_);
    }
    bool valid() const { return bits_ != nullptr; }
    HDC dc() const { return dc_; }
    std::uint32_t& at(int x, int y) { return bits_[static_cast<std::size_t>(y) * width_ + x]; }
    void FillRect(int x, int y, int width, int height, std::uint32_t rgb) {
        ::GdiFlush();
        for (int row = y; row < y + height; ++row) {
            std::fill_n(&at(x, row), width, rgb);
        }
    }
    // The picture as a .bmp file.
    std::string Bmp() {
        ::GdiFlush();
        BITMAPFILEHEADER file{};
        BITMAPINFOHEADER info{};
        const std::size_t pixelBytes = static_cast<std::size_t>(width_) * height_ * 4;
        file.bfType = 0x4D42;
        file.bfOffBits = sizeof(file) + sizeof(info);
        file.bfSize = static_cast<DWORD>(file.bfOffBits + pixelBytes);
        info.biSize = sizeof(info);
        info.biWidth = width_;
        info.biHeight = -height_;
        info.biPlanes = 1;
        info.biBitCount = 32;
        info.biCompression = BI_RGB;
        std::string bytes(reinterpret_cast<const char*>(&file), sizeof(file));
        bytes.append(reinterpret_cast<const char*>(&info), sizeof(info));
        // Viewers read the fourth byte as alpha once any pixel sets it; the picture is opaque.
        for (std::size_t i = 0; i < pixelBytes / 4; ++i) {
            const std::uint32_t pixel = bits_[i] | 0xFF000000u;
            bytes.append(reinterpret_cast<const char*>(&pixel), sizeof(pixel));
        }
        return bytes;
    }

private:
    int width_;
    int height_;
    HDC dc_;
    UniqueBitmap bitmap_;
    std::uint32_t* bits_ = nullptr;
    HGDIOBJ old_ = nullptr;
};

TEST(ToolbarImagesPreview, AllNineOnLightAndDarkBars) {
    // Rows: each DPI on a light and on a dark bar, first laid over the bar from the stored pixels, then
    // as the image list draws them. ORVANE_TOOLBAR_PREVIEW names a .bmp file to keep the picture in.
    constexpr int kGap = 6;
    const std::array<UINT, 4> dpis = {96, 120, 144, 192};
    int width = kGap;
    int height = kGap;
    for (UINT dpi : dpis) {
        width = std::max(width, kGap + kToolbarImageCount * (ToolbarImageSize(dpi) + kGap));
        height += 4 * (ToolbarImageSize(dpi) + 2 * kGap);
    }
    Picture picture(width, height);
    ASSERT_TRUE(picture.valid());
    int top = 0;
    for (bool drawnByList : {false, true}) {
        for (UINT dpi : dpis) {
            for (bool dark : kBothStyles) {
                const int size = ToolbarImageSize(dpi);
                const std::uint32_t bar = dark ? kDarkBar : kLightBar;
                picture.FillRect(0, top, width, size + 2 * kGap, bar);
                UniqueImageList list = CreateToolbarImages(dpi, dark);
                ASSERT_TRUE(list);
                for (int index = 0; index < kToolbarImageCount; ++index) {
                    const int left = kGap + index * (size + kGap);
                    const int y0 = top + kGap;
                    if (drawnByList) {
                        ::ImageList_Draw(list.get(), index, picture.dc(), left, y0, ILD_NORMAL);
                        continue;
                    }
                    const auto image = ImagePixels(list.get(), index);
                    int marked = 0;
                    for (int y = 0; y < size; ++y) {
                        for (int x = 0; x < size; ++x) {
                            std::uint32_t& out = picture.at(left + x, y0 + y);
                            out = Over(image[static_cast<std::size_t>(y * size + x)], bar);
                            marked += out != bar ? 1 : 0;
                        }
                    }
                    EXPECT_GE(marked, size * size / 8) << "image " << index << " at " << dpi;
                    EXPECT_EQ(picture.at(left, y0), bar);
                }
                top += size + 2 * kGap;
            }
        }
    }
    if (const char* path = std::getenv("ORVANE_TOOLBAR_PREVIEW"); path != nullptr && *path != '\0') {
        test::WriteFileBytes(std::wstring(path, path + std::char_traits<char>::length(path)), picture.Bmp());
    }
}

} // namespace
} // namespace orvane
