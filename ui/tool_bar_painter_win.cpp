#include "ui/tool_bar_painter_win.h"

#include <algorithm>
#include <iterator>
#include <string>

namespace orvane {

LRESULT ToolBarPainter::OnMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) const {
    if (message == WM_ERASEBKGND) {
        RECT client{};
        ::GetClientRect(hwnd, &client);
        Fill(reinterpret_cast<HDC>(wParam), client, paint_.surface.get(), paint_.palette.surface);
        return 1;
    }
    return ::DefSubclassProc(hwnd, message, wParam, lParam);
}

LRESULT ToolBarPainter::CustomDraw(NMTBCUSTOMDRAW& draw) const {
    switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        return CDRF_NOTIFYITEMDRAW | CDRF_NOTIFYPOSTPAINT;
    case CDDS_ITEMPREPAINT:
        DrawButton(draw);
        return CDRF_SKIPDEFAULT;
    case CDDS_POSTPAINT:
        DrawSeparators(draw.nmcd.hdc);
        return CDRF_DODEFAULT;
    default:
        return CDRF_DODEFAULT;
    }
}

void ToolBarPainter::DrawButton(NMTBCUSTOMDRAW& draw) const {
    HDC dc = draw.nmcd.hdc;
    const RECT rect = draw.nmcd.rc;
    auto id = static_cast<int>(draw.nmcd.dwItemSpec);
    wchar_t caption[256] = {};
    TBBUTTONINFOW info{};
    info.cbSize = sizeof info;
    info.dwMask = TBIF_IMAGE | TBIF_STYLE | TBIF_STATE | TBIF_TEXT;
    info.pszText = caption;
    info.cchText = static_cast<int>(std::size(caption));
    if (::SendMessageW(toolBar_, TB_GETBUTTONINFOW, static_cast<WPARAM>(id),
                       reinterpret_cast<LPARAM>(&info)) < 0) {
        return;
    }
    UINT state = draw.nmcd.uItemState;
    bool disabled = (state & (CDIS_DISABLED | CDIS_GRAYED)) != 0 || (info.fsState & TBSTATE_ENABLED) == 0;
    bool pressed = !disabled && ((state & CDIS_SELECTED) != 0 || (info.fsState & TBSTATE_PRESSED) != 0);
    bool checked = (state & CDIS_CHECKED) != 0 || (info.fsState & TBSTATE_CHECKED) != 0;
    bool hot = !disabled && (state & CDIS_HOT) != 0;

    const Palette& colors = paint_.palette;
    Fill(dc, rect, paint_.surface.get(), colors.surface);
    Color fill = colors.surface;
    Color edge = colors.surface;
    if (pressed) {
        fill = edge = colors.surfacePressed;
    } else if (checked) {
        fill = hot ? MixColors(colors.surfaceChecked, colors.accent, 40) : colors.surfaceChecked;
        edge = colors.accent;
    } else if (hot) {
        fill = edge = colors.surfaceHot;
    }
    RECT box = rect;
    ::InflateRect(&box, -paint_.Scale(1), -paint_.Scale(1));
    if (fill != colors.surface || edge != colors.surface) {
        RoundBox(dc, box, fill, edge, paint_.Scale(6));
    }

    auto images = reinterpret_cast<HIMAGELIST>(::SendMessageW(toolBar_, TB_GETIMAGELIST, 0, 0));
    int imageWidth = 0;
    int imageHeight = 0;
    if (images != nullptr && info.iImage >= 0) {
        ::ImageList_GetIconSize(images, &imageWidth, &imageHeight);
    }
    std::wstring text = caption;
    SelectScope font(dc, FontOf(toolBar_));
    SIZE textSize = text.empty() ? SIZE{} : TextSize(dc, text);
    bool dropDown = (info.fsStyle & BTNS_WHOLEDROPDOWN) != 0;
    int gap = paint_.Scale(4);
    int arrow = dropDown ? paint_.Scale(8) : 0;
    int content = imageWidth + (textSize.cx > 0 ? gap + textSize.cx : 0) + (dropDown ? gap + arrow : 0);
    int x = rect.left + std::max<int>((rect.right - rect.left - content) / 2, paint_.Scale(3));
    int shift = pressed ? 1 : 0;
    if (imageWidth > 0) {
        IMAGELISTDRAWPARAMS image{};
        image.cbSize = sizeof image;
        image.himl = images;
        image.i = info.iImage;
        image.hdcDst = dc;
        image.x = x + shift;
        image.y = rect.top + (rect.bottom - rect.top - imageHeight) / 2 + shift;
        image.rgbBk = CLR_NONE;
        image.rgbFg = CLR_NONE;
        image.fStyle = ILD_TRANSPARENT;
        if (disabled) {
            // A faded grey image for a command that is not available.
            image.fState = ILS_SATURATE | ILS_ALPHA;
            image.Frame = 110;
        }
        ::ImageList_DrawIndirect(&image);
        x += imageWidth + gap;
    }
    if (textSize.cx > 0) {
        RECT label{x + shift, rect.top + shift, rect.right - (dropDown ? arrow + gap : 0),
                   rect.bottom + shift};
        ::SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(dc, Ref(disabled ? colors.disabledText : colors.text));
        ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &label,
                    DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX | DT_END_ELLIPSIS);
        x += textSize.cx + gap;
    }
    if (dropDown) {
        int right = std::min<int>(x + arrow, rect.right - paint_.Scale(3));
        DownArrow(dc, right - arrow / 2, (rect.top + rect.bottom) / 2 + shift, arrow,
                  disabled ? colors.disabledText : colors.secondaryText);
    }
}

void ToolBarPainter::DrawSeparators(HDC dc) const {
    auto count = static_cast<int>(::SendMessageW(toolBar_, TB_BUTTONCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        TBBUTTON button{};
        if (!::SendMessageW(toolBar_, TB_GETBUTTON, static_cast<WPARAM>(i),
                            reinterpret_cast<LPARAM>(&button)) ||
            (button.fsStyle & BTNS_SEP) == 0 || (button.fsState & TBSTATE_HIDDEN) != 0) {
            continue;
        }
        RECT rect{};
        if (!::SendMessageW(toolBar_, TB_GETITEMRECT, static_cast<WPARAM>(i),
                            reinterpret_cast<LPARAM>(&rect))) {
            continue;
        }
        // The system's separator line is light; the palette's replaces it. A separator that ends a row
        // and the slot under the search box get none.
        Fill(dc, rect, paint_.surface.get(), paint_.palette.surface);
        bool slot = rect.right - rect.left > paint_.Scale(16);
        if ((button.fsState & TBSTATE_WRAP) == 0 && !slot) {
            int x = (rect.left + rect.right) / 2;
            Fill(dc, RECT{x, rect.top + paint_.Scale(7), x + 1, rect.bottom - paint_.Scale(7)},
                 paint_.border.get(), paint_.palette.border);
        }
    }
}

} // namespace orvane
