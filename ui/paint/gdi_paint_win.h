// What the colour scheme's painters share: the palette, brushes and DPI they paint with, and the few
// GDI steps every one of them takes (fill, frame, a rounded box, an arrow, text size, a buffer).
#pragma once

#include "system/handles_win.h"
#include "ui/paint/theme.h"

#include <windows.h>

#include <string>

namespace orvane {

using UniquePen = UniqueHandleOf<HPEN, GdiTraits<HPEN>>;

// What the painters paint with under Light and Dark: the palette, brushes of its most used colours
// and the window's DPI. The colour scheme controller owns it and keeps it current; painters hold a
// reference. A brush that could not be made is null: Fill then makes one of the colour.
struct SchemePaint {
    Palette palette = PaletteFor(csWindows);
    UINT dpi = USER_DEFAULT_SCREEN_DPI;

    UniqueBrush window;  // the form's background
    UniqueBrush surface; // tool bar, header, status bar
    UniqueBrush edit;    // the search box
    UniqueBrush menu;    // the colour menu
    UniqueBrush grid;    // the list's grid lines
    UniqueBrush border;  // frames, dividers, separators

    // Makes the brushes of the palette's colours; FreeBrushes deletes them.
    void MakeBrushes();
    void FreeBrushes();

    // A length given at 96 DPI, at the window's DPI.
    int Scale(int value) const { return ::MulDiv(value, static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI); }
};

inline COLORREF Ref(Color c) {
    return static_cast<COLORREF>(c);
}

// Selects a GDI object into a DC for one scope.
class SelectScope {
public:
    SelectScope(HDC dc, HGDIOBJ object)
        : dc_(dc), old_(object != nullptr ? ::SelectObject(dc, object) : nullptr) {}
    SelectScope(const SelectScope&) = delete;
    SelectScope& operator=(const SelectScope&) = delete;
    ~SelectScope() {
        if (old_ != nullptr) {
            ::SelectObject(dc_, old_);
        }
    }

private:
    HDC dc_;
    HGDIOBJ old_;
};

// A DC of a window for one scope: of its client area, or with `whole` of the whole window, frame
// included. A null window gives the screen's.
class WindowDc {
public:
    explicit WindowDc(HWND window, bool whole = false)
        : window_(window), dc_(whole ? ::GetWindowDC(window) : ::GetDC(window)) {}
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    ~WindowDc() {
        if (dc_ != nullptr) {
            ::ReleaseDC(window_, dc_);
        }
    }
    HDC get() const noexcept { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// An off-screen copy of a rectangle of `target`, copied back at the end of the scope; painting through
// it does not flicker.
class BufferedCanvas {
public:
    BufferedCanvas(HDC target, const RECT& area);
    BufferedCanvas(const BufferedCanvas&) = delete;
    BufferedCanvas& operator=(const BufferedCanvas&) = delete;
    ~BufferedCanvas();
    // The DC to paint on: the buffer, or the target itself when no buffer could be made.
    HDC dc() const noexcept { return old_ != nullptr ? dc_ : target_; }

private:
    HDC target_;
    RECT area_;
    HDC dc_;
    UniqueBitmap bitmap_;
    HGDIOBJ old_ = nullptr;
};

void Fill(HDC dc, const RECT& rect, Color color);
// With the brush when there is one, else with the colour.
void Fill(HDC dc, const RECT& rect, HBRUSH brush, Color fallback);
void Frame(HDC dc, const RECT& rect, Color color);
// A filled rectangle with rounded corners and an edge of its own colour.
void RoundBox(HDC dc, const RECT& rect, Color fill, Color edge, int radius);
// A small downward chevron centred on (x, y), `size` pixels wide.
void DownArrow(HDC dc, int x, int y, int size, Color color);
// The window's font, or the GUI font when it has none.
HFONT FontOf(HWND window);
SIZE TextSize(HDC dc, const std::wstring& text);

// BeginPaint and EndPaint of one WM_PAINT.
class PaintScope {
public:
    explicit PaintScope(HWND window) : window_(window), dc_(::BeginPaint(window, &paint_)) {}
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    ~PaintScope() { ::EndPaint(window_, &paint_); }
    HDC dc() const noexcept { return dc_; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// Answers WM_PAINT and WM_PRINTCLIENT of `window` by painting the whole of it with `paint`; false
// for any other message.
template <typename Paint> bool PaintMessage(HWND window, UINT message, WPARAM wParam, Paint&& paint) {
    if (message == WM_PAINT) {
        PaintScope scope(window);
        paint(scope.dc());
        return true;
    }
    if (message == WM_PRINTCLIENT) {
        paint(reinterpret_cast<HDC>(wParam));
        return true;
    }
    return false;
}

} // namespace orvane
