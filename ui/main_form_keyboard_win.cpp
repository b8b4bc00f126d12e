// TMainForm: the whole window with the keyboard alone. Tab and Shift+Tab move the focus round the
// list, the search box and the tool bar, starting at the list; in the tool bar the arrow keys, Home
// and End move between the commands that can run, and Enter or Space runs the one shown. F5 scans,
// Ctrl+F goes to the search box, Enter there searches, Escape goes back to the list, and the
// context-menu key or Shift+F10 opens the shell's menu of the selected row (Shift with the
// context-menu key: of its target).
#include "ui/main_form_win.h"

#include "ui/keyboard_nav.h"

namespace orvane {
namespace {

bool IsKeyDown(int key) {
    return (::GetKeyState(key) & 0x8000) != 0;
}

// A tool-bar item the keyboard can stop at and press: a button that is shown and enabled.
bool CanRun(const TBBUTTON& button) {
    return (button.fsStyle & BTNS_SEP) == 0 && (button.fsState & TBSTATE_ENABLED) != 0 &&
           (button.fsState & TBSTATE_HIDDEN) == 0;
}

} // namespace

TMainForm::FocusStop TMainForm::CurrentFocusStop() const {
    HWND focus = ::GetFocus();
    if (focus != nullptr && (focus == CBFind || ::IsChild(CBFind, focus))) {
        return FocusStop::SearchBox;
    }
    if (focus == ToolBar1) {
        return FocusStop::ToolBar;
    }
    return FocusStop::List;
}

void TMainForm::MoveFocusTo(FocusStop stop) {
    switch (stop) {
    case FocusStop::List:
        ::SetFocus(ListView);
        break;
    case FocusStop::SearchBox:
        ::SetFocus(CBFind);
        // The whole text is selected, so typing replaces it.
        ::SendMessageW(CBFind, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
        break;
    case FocusStop::ToolBar:
        ::SetFocus(ToolBar1);
        MoveToolBarHotItem(0, false);
        break;
    }
}

std::vector<bool> TMainForm::UsableToolButtons() const {
    const int count = static_cast<int>(::SendMessageW(ToolBar1, TB_BUTTONCOUNT, 0, 0));
    std::vector<bool> usable(static_cast<std::size_t>(count > 0 ? count : 0));
    for (int i = 0; i < count; ++i) {
        TBBUTTON button{};
        ::SendMessageW(ToolBar1, TB_GETBUTTON, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&button));
        usable[static_cast<std::size_t>(i)] = CanRun(button);
    }
    return usable;
}

void TMainForm::MoveToolBarHotItem(int direction, bool toEnd) {
    const std::vector<bool> usable = UsableToolButtons();
    int hot = static_cast<int>(::SendMessageW(ToolBar1, TB_GETHOTITEM, 0, 0));
    int next = -1;
    if (toEnd) {
        next = NextUsableItem(usable, -1, direction < 0);
    } else if (direction == 0) {
        // Entering the tool bar: the command shown last time when it can still run, else the first.
        int last = toolBarKeyItem_;
        next = last >= 0 && static_cast<std::size_t>(last) < usable.size() &&
                       usable[static_cast<std::size_t>(last)]
                   ? last
                   : NextUsableItem(usable, -1, false);
    } else {
        next = NextUsableItem(usable, hot >= 0 ? hot : toolBarKeyItem_, direction < 0);
    }
    if (next >= 0) {
        toolBarKeyItem_ = next;
        ::SendMessageW(ToolBar1, TB_SETHOTITEM, static_cast<WPARAM>(next), 0);
    }
}

void TMainForm::RunToolBarHotItem() {
    int hot = static_cast<int>(::SendMessageW(ToolBar1, TB_GETHOTITEM, 0, 0));
    if (hot < 0) {
        hot = toolBarKeyItem_;
    }
    TBBUTTON button{};
    if (hot < 0 ||
        !::SendMessageW(ToolBar1, TB_GETBUTTON, static_cast<WPARAM>(hot),
                        reinterpret_cast<LPARAM>(&button)) ||
        !CanRun(button)) {
        return;
    }
    if ((button.fsStyle & BTNS_CHECKGROUP) == BTNS_CHECKGROUP) {
        // A click on a group button checks it and lets its partner go.
        SetReportDown(button.idCommand == idTBReport);
    }
    OnCommand(button.idCommand, BN_CLICKED, nullptr);
}

bool TMainForm::PreTranslateMessage(const MSG& message) {
    if (hwnd_ == nullptr || message.hwnd == nullptr) {
        return false;
    }
    if (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN &&
        message.message != WM_MOUSEWHEEL) {
        return false;
    }
    if (message.hwnd != hwnd_ && !::IsChild(hwnd_, message.hwnd)) {
        return false;
    }
    if (message.message == WM_MOUSEWHEEL) {
        // The window's wheel event, over any of its controls; the control under the wheel still
        // scrolls as usual.
        FormMouseWheel(GET_KEYSTATE_WPARAM(message.wParam), GET_WHEEL_DELTA_WPARAM(message.wParam));
        return false;
    }
    const auto key = static_cast<WORD>(message.wParam);
    const bool control = IsKeyDown(VK_CONTROL);
    const bool shift = IsKeyDown(VK_SHIFT);
    // F10 comes as a system key without Alt; the context code says whether Alt is held.
    const bool alt = (message.lParam & (LPARAM{1} << 29)) != 0;
    const FocusStop stop = CurrentFocusStop();
    const bool searchListOpen = ::SendMessageW(CBFind, CB_GETDROPPEDSTATE, 0, 0) != 0;

    if (key == VK_TAB && !control && !alt) {
        // list -> search box -> tool bar -> list, and back with Shift.
        constexpr FocusStop order[] = {FocusStop::List, FocusStop::SearchBox, FocusStop::ToolBar};
        int at = static_cast<int>(stop);
        MoveFocusTo(order[(at + (shift ? 2 : 1)) % 3]);
        return true;
    }
    if (key == VK_F5 && !control && !alt && !shift) {
        if (IsCommandEnabled(idTBGet)) {
            TBGetClick();
        }
        return true;
    }
    if (key == 'F' && control && !alt) {
        MoveFocusTo(FocusStop::SearchBox);
        return true;
    }
    if (stop == FocusStop::SearchBox && !searchListOpen && !alt) {
        if (key == VK_RETURN) {
            if (IsCommandEnabled(idTBFind)) {
                TBFindClick();
            }
            return true;
        }
        if (key == VK_ESCAPE) {
            MoveFocusTo(FocusStop::List);
            return true;
        }
    }
    if (stop == FocusStop::ToolBar && !alt) {
        switch (key) {
        case VK_LEFT:
        case VK_UP:
            MoveToolBarHotItem(-1, false);
            return true;
        case VK_RIGHT:
        case VK_DOWN:
            MoveToolBarHotItem(1, false);
            return true;
        case VK_HOME:
            MoveToolBarHotItem(1, true);
            return true;
        case VK_END:
            MoveToolBarHotItem(-1, true);
            return true;
        case VK_RETURN:
        case VK_SPACE:
            RunToolBarHotItem();
            return true;
        case VK_ESCAPE:
            MoveFocusTo(FocusStop::List);
            return true;
        default:
            break;
        }
    }
    // The context-menu key opens the shortcut's menu, with Shift the target's as a Shift+right click
    // does; Shift+F10, the other context-menu key, always the shortcut's.
    // Enter runs the selected shortcut with any modifier; with Alt it comes as a system key, which the
    // list would not report.
    if (stop == FocusStop::List && key == VK_RETURN && message.message == WM_SYSKEYDOWN) {
        ListViewKeyDown(key);
        return true;
    }
    if (stop == FocusStop::List && key == VK_APPS) {
        ShowKeyboardContextMenu(shift);
        return true;
    }
    if (stop == FocusStop::List && key == VK_F10 && shift && !control) {
        ShowKeyboardContextMenu(false);
        return true;
    }
    return false;
}

void TMainForm::ShowKeyboardContextMenu(bool target) {
    int index = SelectedIndex();
    if (index < 0) {
        return;
    }
    // The menu opens at the row, as a right click on it would.
    ListView_EnsureVisible(ListView, index, FALSE);
    RECT row{};
    ListView_GetItemRect(ListView, index, &row, LVIR_LABEL);
    POINT at{row.left + (row.bottom - row.top) / 2, row.top + (row.bottom - row.top) / 2};
    ::ClientToScreen(ListView, &at);
    ListViewMouseDown(target, at);
}

void TMainForm::ShowFocusCues() {
    // Focus rectangles and hot items are always drawn, not only after the first key press.
    ::SendMessageW(hwnd_, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS | UISF_HIDEACCEL), 0);
}

void TMainForm::ListViewEnter() {
    // A list that takes the focus shows where it is: with no row focused, the first one is.
    if (list_.Count() > 0 && ListView_GetNextItem(ListView, -1, LVNI_FOCUSED) < 0) {
        ListView_SetItemState(ListView, 0, LVIS_FOCUSED, LVIS_FOCUSED);
    }
}

} // namespace orvane
