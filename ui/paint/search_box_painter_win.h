// The search box under Light and Dark: the combo box's frame, its drop-down button and the field's
// colours. The edit field inside paints its own text, in the colours given here.
#pragma once

#include "ui/paint/gdi_paint_win.h"

#include <windows.h>

namespace orvane {

// The answer to WM_CTLCOLOREDIT, WM_CTLCOLORLISTBOX and WM_CTLCOLORSTATIC under the scheme: sets the
// text and background colours of `dc` for `control` (greyed text when it is disabled) and returns
// the brush of the background.
HBRUSH EditColors(HDC dc, HWND control, const SchemePaint& paint);

class SearchBoxPainter {
public:
    // `searchEdit`: the edit field inside the combo box.
    SearchBoxPainter(HWND searchBox, HWND searchEdit, const SchemePaint& paint)
        : searchBox_(searchBox), searchEdit_(searchEdit), paint_(paint) {}
    SearchBoxPainter(const SearchBoxPainter&) = delete;
    SearchBoxPainter& operator=(const SearchBoxPainter&) = delete;

    // The combo box's messages while it is subclassed: the colours its edit field and drop-down
    // list ask for, its painting, and the messages after which its frame is painted again.
    LRESULT OnMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) const;

private:
    void Paint(HDC dc) const;

    HWND searchBox_;
    HWND searchEdit_;
    const SchemePaint& paint_;
};

} // namespace orvane
