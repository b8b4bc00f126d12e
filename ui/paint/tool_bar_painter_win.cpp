#include "ui/paint/tool_bar_painter_win.h"

#include "ui/paint/paint_rules.h"

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
    const ButtonFace face = ToolButtonFace(colors, pressed, checked, hot);
    if (face.raised) {
        RECT box = rect;
        ::InflateRect(&box, -paint_.Scale(1), -paint_.Scale(1));
        RoundBox(dc, box, face.fill, face.edge, paint_.Scale(6));
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
    const ButtonLayout layout = LayOutToolButton(
        Box{rect.left, rect.top, rect.right, rect.bottom}, imageWidth, imageHeight,
        static_cast<int>(textSize.cx), (info.fsStyle & BTNS_WHOLEDROPDOWN) != 0, pressed, paint_.dpi);
    if (imageWidth > 0) {
        IMAGELISTDRAWPARAMS image{};
        image.cbSize = sizeof image;
        image.himl = images;
        image.i = info.iImage;
        image.hdcDst = dc;
        image.x = layout.imageX;
        image.y = layout.imageY;
        image.rgbBk = CLR_NONE;
        image.rgbFg = CLR_NONE;
        image.fStyle = ILD_TRANSPARENT;
        if (disabled) {
            // A faded grey image for a command that is not available.
            image.fState = ILS_SATURATE | ILS_ALPHA;
            image.Frame = 110;
        }
        ::ImageList_DrawIndirect(&image);
    }
    if (textSize.cx > 0) {
        RECT label{layout.label.left, layout.label.top, layout.label.right, layout.label.bottom};
        ::SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(dc, Ref(disabled ? colors.disabledText : colors.text));
        ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &label,
                    DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
    if (layout.arrowSize > 0) {
        DownArrow(dc, layout.arrowX, layout.arrowY, layout.arrowSize,
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
        const std::optional<Box> line = SeparatorLine(Box{rect.left, rect.top, rect.right, rect.bottom},
                                                      (button.fsState & TBSTATE_WRAP) != 0, paint_.dpi);
        if (line) {
            Fill(dc, RECT{line->left, line->top, line->right, line->bottom}, paint_.border.get(),
                 paint_.palette.border);
        }
    }
}

} // namespace orvane
