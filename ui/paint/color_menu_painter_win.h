// The colour drop-down menu under Light and Dark: its items owner-drawn in the palette's colours (the
// radio bullet of the scheme in use, separators, the item under the mouse) on the scheme's background.
#pragma once

#include "system/handles_win.h"
#include "ui/paint/gdi_paint_win.h"

#include <windows.h>

#include <string>
#include <vector>

namespace orvane {

class ColorMenuPainter {
public:
    // Makes the menu's items owner-drawn; their kinds and captions are kept to be given back.
    ColorMenuPainter(HMENU menu, const SchemePaint& paint);
    ColorMenuPainter(const ColorMenuPainter&) = delete;
    ColorMenuPainter& operator=(const ColorMenuPainter&) = delete;
    // Gives the items their kinds and captions back, and the menu its own background.
    ~ColorMenuPainter();

    // Gives the menu the scheme's background and makes the menu font for the DPI; again after every
    // change of scheme or DPI.
    void Update();

    // WM_MEASUREITEM and WM_DRAWITEM of the menu's items; false for anything else.
    bool OnMeasureItem(MEASUREITEMSTRUCT& item) const;
    bool OnDrawItem(const DRAWITEMSTRUCT& item) const;

private:
    struct Item {
        UINT id;
        UINT type;
        std::wstring caption;
    };

    const Item* Find(UINT id) const;

    HMENU menu_;
    const SchemePaint& paint_;
    HBRUSH originalBrush_ = nullptr;
    std::vector<Item> items_;
    UniqueFont font_;
};

} // namespace orvane
