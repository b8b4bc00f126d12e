// TMainForm: colour scheme, view mode, and the list's font size with Ctrl and the wheel.
#include "ui/main_form_win.h"

#include "ui/wait_cursor_win.h"

#include <algorithm>

namespace orvane {
namespace {

constexpr int kMinFontSize = 8;
constexpr int kMaxFontSize = 24;

} // namespace

int TMainForm::ListFontSize() const {
    const LOGFONTW& font = listHasOwnFont_ ? listFontInfo_ : fontInfo_;
    int height = font.lfHeight < 0 ? -font.lfHeight : font.lfHeight;
    return ::MulDiv(height, 72, static_cast<int>(dpi_));
}

void TMainForm::SetListFontSize(int points) {
    if (!listHasOwnFont_) {
        listFontInfo_ = fontInfo_;
        listHasOwnFont_ = true;
    }
    listFontInfo_.lfHeight = -::MulDiv(points, static_cast<int>(dpi_), 72);
    ApplyListFont();
}

void TMainForm::ApplyListFont() {
    HFONT font = font_.get();
    if (listHasOwnFont_) {
        listFont_.reset(::CreateFontIndirectW(&listFontInfo_));
        font = listFont_.get();
    } else {
        listFont_.reset();
    }
    ::SendMessageW(ListView, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    ListView_SetTextColor(ListView, ListTextColor());
    ::InvalidateRect(ListView, nullptr, TRUE);
}

COLORREF TMainForm::ListTextColor() const {
    if (listHasOwnFont_ && listFontColor_ != CLR_DEFAULT) {
        return listFontColor_;
    }
    // The window's font colour: the scheme's text colour, the system's in the Windows scheme.
    return scheme_ == 0 ? ::GetSysColor(COLOR_WINDOWTEXT) : static_cast<COLORREF>(theme_.Colors().listText);
}

void TMainForm::ApplyColorScheme(int index) {
    if (index < 0 || index > 2) {
        index = 0;
    }
    scheme_ = index;
    if (index == 2) {
        // Dark: the list gets a font of its own, white, named like the icon font, its size kept.
        int size = ListFontSize();
        if (!listHasOwnFont_) {
            listFontInfo_ = fontInfo_;
            listHasOwnFont_ = true;
        }
        ::wcscpy_s(listFontInfo_.lfFaceName, fontInfo_.lfFaceName);
        listFontInfo_.lfHeight = -::MulDiv(size, static_cast<int>(dpi_), 72);
        listFontColor_ = RGB(0xFF, 0xFF, 0xFF);
    } else {
        // Light and Windows: the list follows the window's font again, name, size and colour.
        listHasOwnFont_ = false;
        listFontColor_ = CLR_DEFAULT;
    }
    ApplySchemeColors();
    ApplyListFont();
}

void TMainForm::PPColorClick(int index) {
    if (index < 0 || index > 2) {
        return;
    }
    ::CheckMenuRadioItem(PPMenuColor.get(), idPPColor0, idPPColor2, MPPColor[static_cast<std::size_t>(index)],
                         MF_BYCOMMAND);
    ApplyColorScheme(index);
}

int TMainForm::CheckedScheme() const {
    for (int i = 0; i < 3; ++i) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_STATE;
        if (::GetMenuItemInfoW(PPMenuColor.get(), MPPColor[static_cast<std::size_t>(i)], FALSE, &info) &&
            (info.fState & MFS_CHECKED) != 0) {
            return i;
        }
    }
    return 0;
}

void TMainForm::ShowColorMenu() {
    RECT button{};
    ::SendMessageW(ToolBar1, TB_GETRECT, idTBColor, reinterpret_cast<LPARAM>(&button));
    ::MapWindowPoints(ToolBar1, nullptr, reinterpret_cast<POINT*>(&button), 2);
    TPMPARAMS exclude{sizeof exclude, button};
    UINT command =
        ::TrackPopupMenuEx(PPMenuColor.get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD | TPM_VERTICAL,
                           button.left, button.bottom, hwnd_, &exclude);
    if (command >= idPPColor0 && command <= idPPColor2) {
        PPColorClick(static_cast<int>(command) - idPPColor0);
    }
}

bool TMainForm::IsReportDown() const {
    return (::SendMessageW(ToolBar1, TB_GETSTATE, idTBReport, 0) & TBSTATE_CHECKED) != 0;
}

void TMainForm::SetReportDown(bool report) {
    ::SendMessageW(ToolBar1, TB_CHECKBUTTON, idTBReport, MAKELPARAM(report ? TRUE : FALSE, 0));
    ::SendMessageW(ToolBar1, TB_CHECKBUTTON, idTBIcon, MAKELPARAM(report ? FALSE : TRUE, 0));
}

void TMainForm::SetListViewStyle(bool report) {
    ListView_SetView(ListView, report ? LV_VIEW_DETAILS : LV_VIEW_LIST);
}

void TMainForm::ApplyViewMode() {
    WaitCursor wait;
    ClearSelection();
    // Changing the font size up and back makes the list lay its rows out anew for the new view.
    int size = ListFontSize();
    SetListFontSize(size + 1);
    SetListViewStyle(IsReportDown());
    SetListFontSize(size);
    ::InvalidateRect(ListView, nullptr, TRUE);
    ::UpdateWindow(ListView);
    // Sorting by header click exists only in the details view.
    headerClicks_ = IsReportDown();
    HWND header = ListView_GetHeader(ListView);
    if (header != nullptr) {
        LONG_PTR style = ::GetWindowLongPtrW(header, GWL_STYLE);
        style = headerClicks_ ? (style | HDS_BUTTONS) : (style & ~static_cast<LONG_PTR>(HDS_BUTTONS));
        ::SetWindowLongPtrW(header, GWL_STYLE, style);
    }
}

void TMainForm::TBReportClick() {
    ApplyViewMode();
}

void TMainForm::TBIconClick() {
    ApplyViewMode();
}

void TMainForm::FormMouseWheel(WPARAM keys, int wheelDelta) {
    if ((keys & MK_CONTROL) == 0) {
        return;
    }
    int step = wheelDelta > 0 ? 1 : -1;
    int size = std::min(std::max(ListFontSize() + step, kMinFontSize), kMaxFontSize);
    SetListFontSize(size);
    ::InvalidateRect(ListView, nullptr, TRUE);
}

} // namespace orvane

namespace orvane {

void TMainForm::ApplySchemeColors() {
    theme_.Apply(scheme_, dpi_);
    ::InvalidateRect(hwnd_, nullptr, TRUE);
}

} // namespace orvane
