// The status bar under Light and Dark: its background, its simple text and its size grip, all
// painted here, since the status bar draws in the system's colours only.
#pragma once

#include "ui/paint/gdi_paint_win.h"

#include <windows.h>

#include <string>

namespace orvane {

class StatusBarPainter {
public:
    StatusBarPainter(HWND statusBar, const SchemePaint& paint) : statusBar_(statusBar), paint_(paint) {}
    StatusBarPainter(const StatusBarPainter&) = delete;
    StatusBarPainter& operator=(const StatusBarPainter&) = delete;

    // Takes the simple text the status bar holds now; later texts are seen as they are set.
    void ReadText();
    // The status bar's messages while it is subclassed: it paints itself here, and keeps the simple
    // text as it is set.
    LRESULT OnMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

private:
    void Paint(HDC target) const;

    HWND statusBar_;
    const SchemePaint& paint_;
    std::wstring text_;
};

} // namespace orvane
