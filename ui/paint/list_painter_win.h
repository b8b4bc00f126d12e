// The list under Light and Dark, where the list view cannot be told the scheme's colours: the
// selected row, the grid lines, the header, and the thin frame in place of the sunken edge.
#pragma once

#include "ui/paint/gdi_paint_win.h"

#include <windows.h>
#include <commctrl.h>

namespace orvane {

class ListPainter {
public:
    // `gridLines`: the list had its own grid lines before the scheme turned them off (the system's
    // cannot be coloured), so the painter draws them.
    ListPainter(HWND list, const SchemePaint& paint, bool gridLines);
    ListPainter(const ListPainter&) = delete;
    ListPainter& operator=(const ListPainter&) = delete;

    // NM_CUSTOMDRAW of the list and of its header.
    LRESULT CustomDraw(NMLVCUSTOMDRAW& draw) const;
    LRESULT HeaderCustomDraw(NMCUSTOMDRAW& draw) const;
    // The list's own messages while it is subclassed: the header's custom draw, which reaches the
    // list as the header's parent, and WM_NCPAINT, after which the frame is drawn.
    LRESULT OnMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) const;

private:
    void DrawGridLines(HDC dc) const;
    void DrawHeaderItem(const NMCUSTOMDRAW& draw) const;
    void FillHeaderRest(HDC dc) const;
    void PaintBorder() const;

    HWND list_;
    HWND header_;
    const SchemePaint& paint_;
    bool gridLines_;
};

} // namespace orvane
