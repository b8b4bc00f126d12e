// TMainForm: the whole window with the keyboard alone. Which key does what is decided in
// ui/key_bindings; here the window finds where the focus is, asks, and acts.
#include "ui/form/main_form_win.h"

#include <windowsx.h>

namespace orvane {
namespace {

bool IsKeyDown(int key) {
    return (::GetKeyState(key) & 0x8000) != 0;
}

} // namespace

FocusStop TMainForm::CurrentFocusStop() const {
    HWND focus = ::GetFocus();
    HWND search = Tools().SearchBox();
    if (focus != nullptr && (focus == search || ::IsChild(search, focus))) {
        return FocusStop::SearchBox;
    }
    if (focus == Tools().Handle()) {
        return FocusStop::ToolBar;
    }
    return FocusStop::List;
}

void TMainForm::MoveFocusTo(FocusStop stop) {
    switch (stop) {
    case FocusStop::List:
        ::SetFocus(Rows().Handle());
        break;
    case FocusStop::SearchBox:
        ::SetFocus(Tools().SearchBox());
        // The whole text is selected, so typing replaces it.
        Tools().SelectAllSearchText();
        break;
    case FocusStop::ToolBar:
        ::SetFocus(Tools().Handle());
        Tools().StepKeyboardItem(0, false);
        break;
    }
}

bool TMainForm::PreTranslateMessage(const MSG& message) {
    if (hwnd_ == nullptr || message.hwnd == nullptr || !toolBar_ || !listView_) {
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
    KeyPress press;
    press.key = static_cast<WORD>(message.wParam);
    press.control = IsKeyDown(VK_CONTROL);
    press.shift = IsKeyDown(VK_SHIFT);
    // F10 comes as a system key without Alt; the context code says whether Alt is held.
    press.alt = (message.lParam & (LPARAM{1} << 29)) != 0;
    press.systemKey = message.message == WM_SYSKEYDOWN;
    const FocusStop stop = CurrentFocusStop();
    const KeyAction action = ActionForKey(press, stop, Tools().IsHistoryOpen());
    if (action == KeyAction::None) {
        return false;
    }
    if (action == KeyAction::FocusNext || action == KeyAction::FocusPrevious) {
        MoveFocusTo(NextFocusStop(stop, action == KeyAction::FocusPrevious));
        return true;
    }
    RunKeyAction(action);
    return true;
}

void TMainForm::RunKeyAction(KeyAction action) {
    switch (action) {
    case KeyAction::Scan:
        if (Tools().IsCommandEnabled(idTBGet)) {
            TBGetClick();
        }
        break;
    case KeyAction::FocusSearchBox:
        MoveFocusTo(FocusStop::SearchBox);
        break;
    case KeyAction::Search:
        if (Tools().IsCommandEnabled(idTBFind)) {
            TBFindClick();
        }
        break;
    case KeyAction::FocusList:
        MoveFocusTo(FocusStop::List);
        break;
    case KeyAction::ToolBarPrevious:
        Tools().StepKeyboardItem(-1, false);
        break;
    case KeyAction::ToolBarNext:
        Tools().StepKeyboardItem(1, false);
        break;
    case KeyAction::ToolBarFirst:
        Tools().StepKeyboardItem(1, true);
        break;
    case KeyAction::ToolBarLast:
        Tools().StepKeyboardItem(-1, true);
        break;
    case KeyAction::ToolBarRun:
        Tools().RunKeyboardItem();
        break;
    case KeyAction::RunSelected:
        // Enter with Alt comes as a system key, which the list would not report.
        ListViewKeyDown(VK_RETURN);
        break;
    case KeyAction::ShortcutMenu:
    case KeyAction::TargetMenu:
        ShowKeyboardContextMenu(action == KeyAction::TargetMenu);
        break;
    default:
        break;
    }
}

void TMainForm::ShowKeyboardContextMenu(bool target) {
    int index = Rows().SelectedIndex();
    if (index < 0) {
        return;
    }
    // The menu opens at the row, as a right click on it would.
    ListViewMouseDown(target, Rows().RowAnchor(index));
}

void TMainForm::ShowFocusCues() {
    // Focus rectangles and hot items are always drawn, not only after the first key press.
    ::SendMessageW(hwnd_, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS | UISF_HIDEACCEL), 0);
}

} // namespace orvane
