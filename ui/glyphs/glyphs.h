// The nine tool-bar images of the main window, drawn in code at the size the DPI asks for: their order,
// their size, and their pixels, ready for a 32-bit image list.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace orvane {

// Indexes into the tool-bar image list; both scan buttons share one image, both folder buttons another.
enum ToolbarImage : int {
    tiScan = 0,
    tiDetails = 1,
    tiList = 2,
    tiSearch = 3,
    tiClose = 4,
    tiRun = 5,
    tiFolder = 6,
    tiAdmin = 7,
    tiColor = 8,
};

inline constexpr int kToolbarImageCount = 9;

// Side of one image in pixels: 20 at 96 dpi, scaled with the DPI and rounded. A DPI of 0 counts as 96.
int ToolbarImageSize(unsigned dpi);

// Side of the centred box an icon from elsewhere (the system's shield) is fitted into on an image of
// `imageSize`: a little smaller than the image, as the drawn glyphs are.
int IconBoxSize(int imageSize);

// A square image, top-down rows of `size` pixels, each 0xAARRGGBB with straight alpha (BGRA bytes in
// memory), the form 32-bit image lists keep. Clear pixels are 0.
struct GlyphPixels {
    int size = 0;
    std::vector<std::uint32_t> pixels;
};

// One of the nine images at `size` pixels; `dark` draws light glyphs for a dark tool bar.
// A size of 0 or less gives an empty image.
GlyphPixels DrawGlyph(ToolbarImage image, int size, bool dark);

// An icon's two bitmaps read as top-down 32-bit rows: the colour (0xAARRGGBB, straight alpha) and the
// mask (non-zero where the icon is transparent).
struct IconBitmaps {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> colour;
    std::vector<std::uint32_t> mask;
};

// An image of `size` pixels showing the icon resampled into a centred box of side `box`. The mask gives
// the shape when no colour pixel carries alpha. Nothing when the bitmaps do not hold width x height
// pixels or the box does not fit the image.
std::optional<GlyphPixels> PlaceIcon(const IconBitmaps& icon, int size, int box);

} // namespace orvane
