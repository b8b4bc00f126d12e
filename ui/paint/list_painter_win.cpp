#include "ui/paint/list_painter_win.h"

#include "ui/paint/paint_rules.h"

#include <algorithm>
#include <iterator>

namespace orvane {

ListPainter::ListPainter(HWND list, const SchemePaint& paint, bool gridLines)
    : list_(list), header_(ListView_GetHeader(list)), paint_(paint), gridLines_(gridLines) {}

LRESULT ListPainter::OnMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) const {
    if (message == WM_NOTIFY) {
        auto& header = *reinterpret_cast<NMHDR*>(lParam);
        if (header_ != nullptr && header.hwndFrom == header_ && header.code == NM_CUSTOMDRAW) {
            return HeaderCustomDraw(reinterpret_cast<NMCUSTOMDRAW&>(header));
        }
    } else if (message == WM_NCPAINT) {
        LRESULT result = ::DefSubclassProc(hwnd, message, wParam, lParam);
        PaintBorder();
        return result;
    }
    return ::DefSubclassProc(hwnd, message, wParam, lParam);
}

LRESULT ListPainter::CustomDraw(NMLVCUSTOMDRAW& draw) const {
    switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        return CDRF_NOTIFYITEMDRAW | CDRF_NOTIFYPOSTPAINT;
    case CDDS_ITEMPREPAINT: {
        auto index = static_cast<int>(draw.nmcd.dwItemSpec);
        bool selected = (ListView_GetItemState(list_, index, LVIS_SELECTED) & LVIS_SELECTED) != 0;
        // Without LVS_SHOWSELALWAYS the highlight shows only while the list has the focus.
        bool shown = selected && (::GetFocus() == list_ ||
                                  (::GetWindowLongPtrW(list_, GWL_STYLE) & LVS_SHOWSELALWAYS) != 0);
        // The list must not draw its own (themed, light) highlight: the palette's takes its place.
        draw.nmcd.uItemState &= ~static_cast<UINT>(CDIS_SELECTED | CDIS_HOT);
        if (shown) {
            draw.nmcd.uItemState &= ~static_cast<UINT>(CDIS_FOCUS);
            RECT row{};
            if (ListView_GetItemRect(list_, index, &row, LVIR_BOUNDS)) {
                Fill(draw.nmcd.hdc, row, paint_.palette.selection);
            }
            draw.clrText = Ref(paint_.palette.selectionText);
            draw.clrTextBk = Ref(paint_.palette.selection);
        } else {
            draw.clrTextBk = Ref(paint_.palette.listBackground);
        }
        return CDRF_NEWFONT;
    }
    case CDDS_POSTPAINT:
        DrawGridLines(draw.nmcd.hdc);
        return CDRF_DODEFAULT;
    default:
        return CDRF_DODEFAULT;
    }
}

void ListPainter::DrawGridLines(HDC dc) const {
    if (!gridLines_ || ListView_GetView(list_) != LV_VIEW_DETAILS || header_ == nullptr) {
        return;
    }
    RECT client{};
    ::GetClientRect(list_, &client);
    int top = client.top;
    if (::IsWindowVisible(header_)) {
        RECT header{};
        ::GetWindowRect(header_, &header);
        ::MapWindowPoints(nullptr, list_, reinterpret_cast<POINT*>(&header), 2);
        top = std::max<int>(top, header.bottom);
    }
    // A column line at the right edge of every column, as the header places them.
    int columns = Header_GetItemCount(header_);
    int right = client.left;
    for (int i = 0; i < columns; ++i) {
        RECT item{};
        if (!Header_GetItemRect(header_, i, &item)) {
            continue;
        }
        ::MapWindowPoints(header_, list_, reinterpret_cast<POINT*>(&item), 2);
        Fill(dc, RECT{item.right - 1, top, item.right, client.bottom}, paint_.grid.get(),
             paint_.palette.gridLine);
        right = std::max<int>(right, item.right);
    }
    // A row line under every row, and on below the last one to the bottom of the list.
    int count = ListView_GetItemCount(list_);
    if (count <= 0) {
        return;
    }
    RECT row{};
    if (!ListView_GetItemRect(list_, ListView_GetTopIndex(list_), &row, LVIR_BOUNDS)) {
        return;
    }
    for (int y : GridRowLines(row.bottom, row.bottom - row.top, client.bottom)) {
        Fill(dc, RECT{client.left, y, std::max<int>(right, client.right), y + 1}, paint_.grid.get(),
             paint_.palette.gridLine);
    }
}

LRESULT ListPainter::HeaderCustomDraw(NMCUSTOMDRAW& draw) const {
    switch (draw.dwDrawStage) {
    case CDDS_PREPAINT: {
        RECT client{};
        ::GetClientRect(header_, &client);
        Fill(draw.hdc, client, paint_.surface.get(), paint_.palette.surface);
        return CDRF_NOTIFYITEMDRAW | CDRF_NOTIFYPOSTPAINT;
    }
    case CDDS_ITEMPREPAINT:
        DrawHeaderItem(draw);
        return CDRF_SKIPDEFAULT;
    case CDDS_POSTPAINT:
        FillHeaderRest(draw.hdc);
        return CDRF_DODEFAULT;
    default:
        return CDRF_DODEFAULT;
    }
}

void ListPainter::DrawHeaderItem(const NMCUSTOMDRAW& draw) const {
    HDC dc = draw.hdc;
    const RECT& rect = draw.rc;
    const HeaderItemLook look = HeaderItemLookOf(
        paint_.palette, Box{rect.left, rect.top, rect.right, rect.bottom},
        (draw.uItemState & CDIS_SELECTED) != 0, (draw.uItemState & CDIS_HOT) != 0, paint_.dpi);
    Fill(dc, rect, look.fill);
    // The divider on the right and the line that parts the header from the rows.
    for (const Box& line : {look.divider, look.underline}) {
        Fill(dc, RECT{line.left, line.top, line.right, line.bottom}, paint_.border.get(),
             paint_.palette.border);
    }

    wchar_t caption[260] = {};
    HDITEMW item{};
    item.mask = HDI_TEXT | HDI_FORMAT;
    item.pszText = caption;
    item.cchTextMax = static_cast<int>(std::size(caption));
    if (!Header_GetItem(header_, static_cast<int>(draw.dwItemSpec), &item)) {
        return;
    }
    UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;
    switch (item.fmt & HDF_JUSTIFYMASK) {
    case HDF_RIGHT:
        format |= DT_RIGHT;
        break;
    case HDF_CENTER:
        format |= DT_CENTER;
        break;
    default:
        format |= DT_LEFT;
        break;
    }
    RECT label{look.label.left, look.label.top, look.label.right, look.label.bottom};
    SelectScope font(dc, FontOf(header_));
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, Ref(paint_.palette.text));
    ::DrawTextW(dc, caption, -1, &label, format);
}

void ListPainter::FillHeaderRest(HDC dc) const {
    RECT client{};
    ::GetClientRect(header_, &client);
    int right = client.left;
    int count = Header_GetItemCount(header_);
    for (int i = 0; i < count; ++i) {
        RECT item{};
        if (Header_GetItemRect(header_, i, &item)) {
            right = std::max<int>(right, item.right);
        }
    }
    if (right < client.right) {
        Fill(dc, RECT{right, client.top, client.right, client.bottom}, paint_.surface.get(),
             paint_.palette.surface);
        Fill(dc, RECT{right, client.bottom - 1, client.right, client.bottom}, paint_.border.get(),
             paint_.palette.border);
    }
}

void ListPainter::PaintBorder() const {
    if ((::GetWindowLongPtrW(list_, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) == 0) {
        return;
    }
    WindowDc window(list_, true);
    HDC dc = window.get();
    if (dc == nullptr) {
        return;
    }
    RECT frame{};
    ::GetWindowRect(list_, &frame);
    ::OffsetRect(&frame, -frame.left, -frame.top);
    // The sunken edge becomes a thin line in the border colour around the list's own background.
    Frame(dc, frame, paint_.palette.border);
    int edge = ::GetSystemMetricsForDpi(SM_CXEDGE, paint_.dpi);
    for (int i = 1; i < edge; ++i) {
        ::InflateRect(&frame, -1, -1);
        Frame(dc, frame, paint_.palette.listBackground);
    }
}

} // namespace orvane
