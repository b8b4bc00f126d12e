#include "ui/toolbar_images_win.h"

#include "system/handles_win.h"
#include "tests/support/test_support_win.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
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

// Pixels whose coverage differs clearly between two images of one size.
int ShapeDifference(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b) {
    int count = 0;
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
        int delta = static_cast<int>(Alpha(a[i])) - static_cast<int>(Alpha(b[i]));
        count += std::abs(delta) > 64 ? 1 : 0;
    }
    return count;
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

double Channel(std::uint32_t value) {
    double c = static_cast<double>(value & 0xFF) / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

// Relative luminance of 0xRRGGBB.
double Luminance(std::uint32_t rgb) {
    return 0.2126 * Channel(rgb >> 16) + 0.7152 * Channel(rgb >> 8) + 0.0722 * Channel(rgb);
}

// Contrast of a glyph against a bar: the contrast ratio of each pixel's colour with the bar's,
// weighted by the pixel's alpha.
double GlyphContrast(const std::vector<std::uint32_t>& image, std::uint32_t bar) {
    double barLight = Luminance(bar);
    double sum = 0;
    double weight = 0;
    for (std::uint32_t pixel : image) {
        double a = Alpha(pixel) / 255.0;
        double light = Luminance(pixel & 0xFFFFFF);
        sum += a * (std::max(light, barLight) + 0.05) / (std::min(light, barLight) + 0.05);
        weight += a;
    }
    return weight > 0 ? sum / weight : 0;
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
        EXPECT_EQ(ToolbarImageSize(dpi), size);
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

TEST(ToolbarImages, EveryImageHasSolidSmoothedPixelsAndClearCorners) {
    for (UINT dpi : {96u, 144u, 192u}) {
        for (bool dark : kBothStyles) {
            UniqueImageList list = CreateToolbarImages(dpi, dark);
            ASSERT_TRUE(list);
            const int size = ToolbarImageSize(dpi);
            const auto images = AllImages(list.get());
            ASSERT_EQ(images.size(), static_cast<std::size_t>(kToolbarImageCount));
            for (int index = 0; index < kToolbarImageCount; ++index) {
                SCOPED_TRACE(testing::Message() << "dpi " << dpi << " dark " << dark << " image " << index);
                const auto& image = images[static_cast<std::size_t>(index)];
                ASSERT_EQ(image.size(), static_cast<std::size_t>(size * size));
                auto solid = std::count_if(image.begin(), image.end(),
                                           [](std::uint32_t p) { return Alpha(p) == 255; });
                auto smoothed = std::count_if(image.begin(), image.end(),
                                              [](std::uint32_t p) { return Alpha(p) > 0 && Alpha(p) < 255; });
                // A legible glyph covers a fair part of its square.
                EXPECT_GE(solid, size * size / 16);
                EXPECT_GT(smoothed, 0);
                for (int corner : {0, size - 1, size * (size - 1), size * size - 1}) {
                    EXPECT_EQ(Alpha(image[static_cast<std::size_t>(corner)]), 0u) << "corner " << corner;
                }
            }
        }
    }
}

TEST(ToolbarImages, NineImagesHaveNineShapes) {
    for (UINT dpi : {96u, 144u}) {
        for (bool dark : kBothStyles) {
            UniqueImageList list = CreateToolbarImages(dpi, dark);
            ASSERT_TRUE(list);
            const int size = ToolbarImageSize(dpi);
            const auto images = AllImages(list.get());
            for (int a = 0; a < kToolbarImageCount; ++a) {
                for (int b = a + 1; b < kToolbarImageCount; ++b) {
                    EXPECT_GE(ShapeDifference(images[static_cast<std::size_t>(a)],
                                              images[static_cast<std::size_t>(b)]),
                              size * size / 10)
                        << "images " << a << " and " << b << " at " << dpi << " dpi";
                }
            }
        }
    }
}

TEST(ToolbarImages, EachStyleReadsWellOnItsOwnBar) {
    UniqueImageList light = CreateToolbarImages(96, false);
    UniqueImageList dark = CreateToolbarImages(96, true);
    ASSERT_TRUE(light);
    ASSERT_TRUE(dark);
    const auto lightImages = AllImages(light.get());
    const auto darkImages = AllImages(dark.get());
    for (int index = 0; index < kToolbarImageCount; ++index) {
        SCOPED_TRACE(index);
        const auto& onLight = lightImages[static_cast<std::size_t>(index)];
        const auto& onDark = darkImages[static_cast<std::size_t>(index)];
        if (index != tiAdmin) {
            EXPECT_NE(onLight, onDark);
        }
        // The folder and the shield are coloured pictures that read on both bars; every other glyph
        // clearly stands out from its own bar and more so than it would on the other one.
        if (index == tiFolder || index == tiAdmin) {
            continue;
        }
        EXPECT_GE(GlyphContrast(onLight, kLightBar), 3.0);
        EXPECT_GE(GlyphContrast(onDark, kDarkBar), 3.0);
        if (index != tiRun) {
            EXPECT_GT(GlyphContrast(onLight, kLightBar), GlyphContrast(onLight, kDarkBar));
            EXPECT_GT(GlyphContrast(onDark, kDarkBar), GlyphContrast(onDark, kLightBar));
        }
    }
}

TEST(ToolbarImages, SmoothedEdgesKeepTheirColour) {
    // Image lists keep straight alpha: an edge pixel of the one-colour run triangle has the triangle's
    // colour at partial alpha, not a colour darkened by its alpha.
    UniqueImageList list = CreateToolbarImages(144, false);
    ASSERT_TRUE(list);
    const auto image = ImagePixels(list.get(), tiRun);
    const std::uint32_t centre = image[static_cast<std::size_t>(15 * 30 + 12)];
    ASSERT_EQ(Alpha(centre), 255u);
    int edges = 0;
    for (std::uint32_t pixel : image) {
        if (Alpha(pixel) >= 64 && Alpha(pixel) < 255) {
            ++edges;
            for (int shift = 0; shift <= 16; shift += 8) {
                int delta =
                    static_cast<int>((pixel >> shift) & 0xFF) - static_cast<int>((centre >> shift) & 0xFF);
                EXPECT_LE(std::abs(delta), 3) << std::hex << pixel << " against " << centre;
            }
        }
    }
    EXPECT_GT(edges, 10);
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
