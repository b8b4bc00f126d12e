// The image list of the nine tool-bar images, and the system's shield that stands in for the drawn one.
#pragma once

#include "system/handles_win.h"
#include "ui/glyphs/glyphs.h"

#include <windows.h>

#include <functional>

namespace orvane {

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
