#include "ui/paint/gdi_paint_win.h"

#include <algorithm>
#include <iterator>

namespace orvane {

void SchemePaint::MakeBrushes() {
    window.reset(::CreateSolidBrush(Ref(palette.window)));
    surface.reset(::CreateSolidBrush(Ref(palette.surface)));
    edit.reset(::CreateSolidBrush(Ref(palette.editBackground)));
    menu.reset(::CreateSolidBrush(Ref(palette.menuBackground)));
    grid.reset(::CreateSolidBrush(Ref(palette.gridLine)));
    border.reset(::CreateSolidBrush(Ref(palette.border)));
}

void SchemePaint::FreeBrushes() {
    window.reset();
    surface.reset();
    edit.reset();
    menu.reset();
    grid.reset();
    border.reset();
}

BufferedCanvas::BufferedCanvas(HDC target, const RECT& area)
    : target_(target), area_(area), dc_(::CreateCompatibleDC(target)),
      bitmap_(::CreateCompatibleBitmap(target, std::max<LONG>(area.right - area.left, 1),
                                       std::max<LONG>(area.bottom - area.top, 1))) {
    if (dc_ != nullptr && bitmap_) {
        old_ = ::SelectObject(dc_, bitmap_.get());
        ::SetViewportOrgEx(dc_, -area.left, -area.top, nullptr);
    }
}

BufferedCanvas::~BufferedCanvas() {
    if (old_ != nullptr) {
        ::SetViewportOrgEx(dc_, 0, 0, nullptr);
        ::BitBlt(target_, area_.left, area_.top, area_.right - area_.left, area_.bottom - area_.top, dc_, 0,
                 0, SRCCOPY);
        ::SelectObject(dc_, old_);
    }
    if (dc_ != nullptr) {
        ::DeleteDC(dc_);
    }
}

void Fill(HDC dc, const RECT& rect, Color color) {
    UniqueBrush brush(::CreateSolidBrush(Ref(color)));
    ::FillRect(dc, &rect, brush.get());
}

void Fill(HDC dc, const RECT& rect, HBRUSH brush, Color fallback) {
    if (brush != nullptr) {
        ::FillRect(dc, &rect, brush);
    } else {
        Fill(dc, rect, fallback);
    }
}

void Frame(HDC dc, const RECT& rect, Color color) {
    UniqueBrush brush(::CreateSolidBrush(Ref(color)));
    ::FrameRect(dc, &rect, brush.get());
}

void RoundBox(HDC dc, const RECT& rect, Color fill, Color edge, int radius) {
    UniqueBrush brush(::CreateSolidBrush(Ref(fill)));
    UniquePen pen(::CreatePen(PS_SOLID, 1, Ref(edge)));
    SelectScope useBrush(dc, brush.get());
    SelectScope usePen(dc, pen.get());
    ::RoundRect(dc, rect.left, rect.top, rect.right, rect.bottom, radius, radius);
}

void DownArrow(HDC dc, int x, int y, int size, Color color) {
    int half = std::max(size / 2, 2);
    POINT points[] = {{x - half, y - half / 2}, {x + half, y - half / 2}, {x, y + half / 2 + 1}};
    UniqueBrush brush(::CreateSolidBrush(Ref(color)));
    UniquePen pen(::CreatePen(PS_SOLID, 1, Ref(color)));
    SelectScope useBrush(dc, brush.get());
    SelectScope usePen(dc, pen.get());
    ::Polygon(dc, points, static_cast<int>(std::size(points)));
}

HFONT FontOf(HWND window) {
    auto font = reinterpret_cast<HFONT>(::SendMessageW(window, WM_GETFONT, 0, 0));
    return font != nullptr ? font : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
}

SIZE TextSize(HDC dc, const std::wstring& text) {
    SIZE size{};
    ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return size;
}

} // namespace orvane
