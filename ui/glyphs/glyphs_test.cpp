#include "ui/glyphs/glyphs.h"

#include "ui/paint/theme.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <utility>
#include <vector>

namespace orvane {
namespace {

constexpr std::array<bool, 2> kBothStyles = {false, true};
constexpr Color kLightBar = MakeColor(0xF3, 0xF3, 0xF3);
constexpr Color kDarkBar = MakeColor(0x20, 0x20, 0x20);

std::uint32_t Alpha(std::uint32_t pixel) {
    return pixel >> 24;
}

// The nine images drawn for one DPI, in ToolbarImage order.
std::vector<std::vector<std::uint32_t>> AllGlyphs(unsigned dpi, bool dark) {
    const int size = ToolbarImageSize(dpi);
    std::vector<std::vector<std::uint32_t>> images;
    for (int index = 0; index < kToolbarImageCount; ++index) {
        GlyphPixels glyph = DrawGlyph(static_cast<ToolbarImage>(index), size, dark);
        EXPECT_EQ(glyph.size, size);
        images.push_back(std::move(glyph.pixels));
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

// Contrast of a glyph against a bar: the contrast ratio of each pixel's colour with the bar's,
// weighted by the pixel's alpha.
double GlyphContrast(const std::vector<std::uint32_t>& image, Color bar) {
    double sum = 0;
    double weight = 0;
    for (std::uint32_t pixel : image) {
        double a = Alpha(pixel) / 255.0;
        const Color colour = MakeColor(static_cast<int>((pixel >> 16) & 0xFF),
                                       static_cast<int>((pixel >> 8) & 0xFF), static_cast<int>(pixel & 0xFF));
        sum += a * ContrastRatio(colour, bar);
        weight += a;
    }
    return weight > 0 ? sum / weight : 0;
}

TEST(Glyphs, SideScalesWithTheDpi) {
    const std::array<std::pair<unsigned, int>, 5> cases = {
        {{96, 20}, {120, 25}, {144, 30}, {192, 40}, {0, 20}}};
    for (auto [dpi, size] : cases) {
        SCOPED_TRACE(dpi);
        EXPECT_EQ(ToolbarImageSize(dpi), size);
    }
}

TEST(Glyphs, EveryImageHasSolidSmoothedPixelsAndClearCorners) {
    for (unsigned dpi : {96u, 144u, 192u}) {
        for (bool dark : kBothStyles) {
            const int size = ToolbarImageSize(dpi);
            const auto images = AllGlyphs(dpi, dark);
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

TEST(Glyphs, NineImagesHaveNineShapes) {
    for (unsigned dpi : {96u, 144u}) {
        for (bool dark : kBothStyles) {
            const int size = ToolbarImageSize(dpi);
            const auto images = AllGlyphs(dpi, dark);
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

TEST(Glyphs, EachStyleReadsWellOnItsOwnBar) {
    const auto lightImages = AllGlyphs(96, false);
    const auto darkImages = AllGlyphs(96, true);
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

TEST(Glyphs, SmoothedEdgesKeepTheirColour) {
    // Straight alpha: an edge pixel of the one-colour run triangle has the triangle's colour at partial
    // alpha, not a colour darkened by its alpha.
    const auto image = DrawGlyph(tiRun, 30, false).pixels;
    ASSERT_EQ(image.size(), 30u * 30u);
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

TEST(Glyphs, AShrunkIconAveragesItsPixelsByTheirAlpha) {
    // Two opaque blue pixels and two clear red ones in one target pixel: half covered and blue; the
    // colour of clear pixels counts for nothing.
    const IconBitmaps icon{2, 2, {0xFF0000FF, 0x00FF0000, 0x00FF0000, 0xFF0000FF}, {0, 0, 0, 0}};
    const std::optional<GlyphPixels> placed = PlaceIcon(icon, 3, 1);
    ASSERT_TRUE(placed);
    EXPECT_EQ(placed->size, 3);
    std::vector<std::uint32_t> expected(9, 0);
    expected[4] = 0x800000FF;
    EXPECT_EQ(placed->pixels, expected);
    // Bitmaps that do not hold the pixels they claim, and a box larger than the image, give nothing.
    EXPECT_FALSE(PlaceIcon({2, 2, icon.colour, {0, 0}}, 3, 1));
    EXPECT_FALSE(PlaceIcon(icon, 3, 4));
}

} // namespace
} // namespace orvane
