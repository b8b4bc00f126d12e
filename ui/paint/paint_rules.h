// Where the Light and Dark schemes put their paint: the geometry and colour choices of the drawn
// controls, apart from the drawing calls, so they can be checked without a screen.
#pragma once

#include "ui/paint/theme.h"

#include <optional>
#include <vector>

namespace orvane {

// A rectangle in pixels, right and bottom outside.
struct Box {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const Box&) const = default;
};

// A length designed at 96 dpi, at `dpi` (rounded as the system's MulDiv rounds). A DPI of 0 is 96.
int ScaleForDpi(int value, unsigned dpi);

// A tool button's face: the fill and the edge of its rounded box, none when it lies flat.
struct ButtonFace {
    Color fill;
    Color edge;
    bool raised;
};
ButtonFace ToolButtonFace(const Palette& palette, bool pressed, bool checked, bool hot);

// A tool button's content, centred: the picture, the caption, and a drop-down arrow at the right.
struct ButtonLayout {
    int imageX = 0;
    int imageY = 0;
    Box label;      // empty when there is no caption
    int arrowX = 0; // the arrow's centre
    int arrowY = 0;
    int arrowSize = 0; // 0 without an arrow
};
ButtonLayout LayOutToolButton(const Box& button, int imageWidth, int imageHeight, int textWidth,
                              bool dropDown, bool pressed, unsigned dpi);

// The line drawn in a tool-bar gap: none in a gap that ends a row or under the search box.
std::optional<Box> SeparatorLine(const Box& gap, bool endsRow, unsigned dpi);

// The six dots of the status bar's size grip, in its bottom right corner.
std::vector<Box> SizeGripDots(const Box& client, unsigned dpi);

// The tops of the grid's row lines: under every row from the first shown, on to the list's bottom.
std::vector<int> GridRowLines(int firstRowBottom, int rowHeight, int bottom);

// A header item: its fill, the divider at its right, the line under it, and its caption's box.
struct HeaderItemLook {
    Color fill;
    Box divider;
    Box underline;
    Box label;
};
HeaderItemLook HeaderItemLookOf(const Palette& palette, const Box& item, bool pressed, bool hot,
                                unsigned dpi);

// A colour-menu item: its colours, its caption's box and the radio bullet in the gutter.
struct MenuItemLook {
    Color background;
    Color text;
    Box label;
    int bulletX;
    int bulletY;
    int bulletRadius;
};
MenuItemLook ColorMenuItemLook(const Palette& palette, const Box& item, bool grayed, bool selected,
                               unsigned dpi);
// The line of a colour-menu separator.
Box MenuSeparatorLine(const Box& item, unsigned dpi);

// The size of a colour-menu item whose caption measures `textWidth` × `textHeight`.
struct ItemSize {
    int width;
    int height;
};
ItemSize ColorMenuItemSize(bool separator, int textWidth, int textHeight, unsigned dpi);

} // namespace orvane
