// TMainForm: colour scheme, view mode, and the list's font size with Ctrl and the wheel.
#include "ui/form/main_form_win.h"

#include <algorithm>

namespace orvane {
namespace {

constexpr int kMinFontSize = 8;
constexpr int kMaxFontSize = 24;

} // namespace

COLORREF TMainForm::SchemeTextColor() const {
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
        Rows().UseOwnFont(RGB(0xFF, 0xFF, 0xFF));
    } else {
        // Light and Windows: the list follows the window's font again, name, size and colour.
        Rows().FollowWindowFont();
    }
    ApplySchemeColors();
    Rows().ApplyFont();
}

void TMainForm::ApplySchemeColors() {
    theme_.Apply(scheme_, dpi_);
    ::InvalidateRect(hwnd_, nullptr, TRUE);
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
    RECT button = Tools().CommandScreenRect(idTBColor);
    TPMPARAMS exclude{sizeof exclude, button};
    UINT command =
        ::TrackPopupMenuEx(PPMenuColor.get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD | TPM_VERTICAL,
                           button.left, button.bottom, hwnd_, &exclude);
    if (command >= idPPColor0 && command <= idPPColor2) {
        PPColorClick(static_cast<int>(command) - idPPColor0);
    }
}

void TMainForm::ApplyViewMode() {
    Rows().ApplyViewMode(Tools().IsReportDown());
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
    int size = std::min(std::max(Rows().FontSize() + step, kMinFontSize), kMaxFontSize);
    Rows().SetFontSize(size);
    ::InvalidateRect(Rows().Handle(), nullptr, TRUE);
}

void TMainForm::CreateColorMenu() {
    PPMenuColor.reset(::CreatePopupMenu());
    const wchar_t* captions[] = {L"Windows", L"Light", L"Dark"};
    for (int i = 0; i < 3; ++i) {
        MENUITEMINFOW item{};
        item.cbSize = sizeof item;
        item.fMask = MIIM_ID | MIIM_STRING | MIIM_FTYPE | MIIM_DATA;
        item.fType = MFT_RADIOCHECK;
        item.wID = static_cast<UINT>(idPPColor0 + i);
        item.dwItemData = static_cast<ULONG_PTR>(i); // the item's tag: its scheme index
        item.dwTypeData = const_cast<wchar_t*>(captions[i]);
        ::InsertMenuItemW(PPMenuColor.get(), static_cast<UINT>(i), TRUE, &item);
    }
}

} // namespace orvane
