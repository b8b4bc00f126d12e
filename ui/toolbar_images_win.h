// The nine tool-bar images of the main window, drawn in code at the size the DPI asks for.
#pragma once

#include "system/handles_win.h"

#include <windows.h>

#include <functional>

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

// Side of one image in pixels: 20 at 96 dpi, scaled with the DPI. A DPI of 0 counts as 96.
int ToolbarImageSize(UINT dpi);

// Gives the system's shield icon for a glyph box of the given side, or a null icon when the system
// has none to give.
using ShieldIconSource = std::function<UniqueIcon(int boxSize)>;

// The system's stock shield (small or large, whichever fits the box better); null when the system
// does not provide it.
UniqueIcon StockShieldIcon(int boxSize);

// A 32-bit image list with alpha holding the nine images (ToolbarImage order). `dark` draws light
// glyphs for a dark tool bar. The shield comes from the system when it gives one, else it is drawn.
// A null list when the system cannot create one.
UniqueImageList CreateToolbarImages(UINT dpi, bool dark);
// The same with the shield taken from `shield`; a null icon from it selects the drawn shield.
UniqueImageList CreateToolbarImages(UINT dpi, bool dark, const ShieldIconSource& shield);

} // namespace orvane
