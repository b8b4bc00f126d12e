// The tool bar under Light and Dark: its background, its buttons in every state (hot, pressed,
// checked, disabled, with a drop-down arrow) and its separators, in the scheme's colours.
#pragma once

#include "ui/paint/gdi_paint_win.h"

#include <windows.h>
#include <commctrl.h>

namespace orvane {

class ToolBarPainter {
public:
    ToolBarPainter(HWND toolBar, const SchemePaint& paint) : toolBar_(toolBar), paint_(paint) {}
    ToolBarPainter(const ToolBarPainter&) = delete;
    ToolBarPainter& operator=(const ToolBarPainter&) = delete;

    // NM_CUSTOMDRAW of the tool bar: every button is drawn here, none by the system.
    LRESULT CustomDraw(NMTBCUSTOMDRAW& draw) const;
    // The tool bar's own messages while it is subclassed: it erases to the surface colour.
    LRESULT OnMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) const;

private:
    void DrawButton(NMTBCUSTOMDRAW& draw) const;
    void DrawSeparators(HDC dc) const;

    HWND toolBar_;
    const SchemePaint& paint_;
};

} // namespace orvane
