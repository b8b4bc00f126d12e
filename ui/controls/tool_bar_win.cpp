#include "ui/controls/tool_bar_win.h"

#include "ui/model/command_ids.h"
#include "ui/model/tool_items.h"
#include "ui/controls/toolbar_images_win.h"

#include <utility>

namespace orvane {
namespace {

constexpr int kSearchBoxWidth = 150;
constexpr int kSearchBoxDropHeight = 300;
constexpr int kSeparatorWidth = 8;
constexpr int kButtonHeight = 34;
constexpr UINT_PTR kSubclassId = 1;
// Posted to the bar when an entry was picked from the search history, once the edit field shows it.
constexpr UINT kSearchTextPicked = WM_APP + 1;

BYTE StyleOf(ToolItemKind kind) {
    constexpr BYTE kShown = BTNS_AUTOSIZE | BTNS_SHOWTEXT;
    switch (kind) {
    case ToolItemKind::Button:
        return BTNS_BUTTON | kShown;
    case ToolItemKind::CheckGroup:
        return BTNS_CHECKGROUP | kShown;
    case ToolItemKind::DropDown:
        return BTNS_WHOLEDROPDOWN | kShown;
    default:
        return BTNS_SEP;
    }
}

BYTE StateOf(const ToolItem& item) {
    return static_cast<BYTE>((item.enabled ? TBSTATE_ENABLED : 0) | (item.checked ? TBSTATE_CHECKED : 0) |
                             (item.hidden ? TBSTATE_HIDDEN : 0) |
                             (item.kind == ToolItemKind::RowEnd ? TBSTATE_WRAP : 0));
}

// A tool-bar item the keyboard can stop at and press: a button that is shown and enabled.
bool CanRun(const TBBUTTON& button) {
    return (button.fsStyle & BTNS_SEP) == 0 && (button.fsState & TBSTATE_ENABLED) != 0 &&
           (button.fsState & TBSTATE_HIDDEN) == 0;
}

} // namespace

ToolBar::ToolBar(HWND parent, HINSTANCE instance, UINT dpi, ToolBarEvents& events)
    : events_(events), dpi_(dpi), ImageListtoolbar(CreateToolbarImages(dpi, false)) {
    ToolBar1 = ::CreateWindowExW(
        0, TOOLBARCLASSNAMEW, nullptr,
        WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | TBSTYLE_FLAT | TBSTYLE_LIST |
            TBSTYLE_TOOLTIPS | CCS_TOP | CCS_NODIVIDER,
        0, 0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(idToolBar1)), instance, nullptr);
    ::SendMessageW(ToolBar1, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    ::SendMessageW(ToolBar1, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
    ::SendMessageW(ToolBar1, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(ImageListtoolbar.get()));
    AddButtons({});
    CBFind =
        ::CreateWindowExW(0, WC_COMBOBOXW, nullptr,
                          WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL, 0,
                          0, Scale(kSearchBoxWidth), Scale(kSearchBoxDropHeight), ToolBar1,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(idCBFind)), instance, nullptr);
    subclass_.emplace(ToolBar1, kSubclassId, [this](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        return OnMessage(hwnd, message, wParam, lParam);
    });
}

LRESULT ToolBar::OnMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (reinterpret_cast<HWND>(lParam) == CBFind && CBFind != nullptr) {
            if (HIWORD(wParam) == CBN_EDITCHANGE) {
                events_.SearchTextChanged();
            } else if (HIWORD(wParam) == CBN_SELCHANGE) {
                // The edit field takes the picked entry only after this notification.
                ::PostMessageW(hwnd, kSearchTextPicked, 0, 0);
            }
            return 0;
        }
        return ::SendMessageW(::GetParent(hwnd), message, wParam, lParam);
    case kSearchTextPicked:
        events_.SearchTextChanged();
        return 0;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
        // The window's colour scheme colours the search box.
        return ::SendMessageW(::GetParent(hwnd), message, wParam, lParam);
    case WM_KILLFOCUS:
        // The keyboard's item is shown only while the tool bar has the focus.
        ::SendMessageW(hwnd, TB_SETHOTITEM, static_cast<WPARAM>(-1), 0);
        break;
    case WM_MOUSELEAVE: {
        LRESULT result = ::DefSubclassProc(hwnd, message, wParam, lParam);
        if (::GetFocus() == hwnd) {
            // The pointer took the hot item away: the keyboard's item shows again.
            StepKeyboardItem(0, false);
        }
        return result;
    }
    case WM_NCDESTROY:
        ToolBar1 = CBFind = nullptr;
        break;
    default:
        break;
    }
    return ::DefSubclassProc(hwnd, message, wParam, lParam);
}

void ToolBar::AddButtons(const std::vector<BYTE>& states) {
    std::vector<TBBUTTON> buttons;
    for (const ToolItem& item : ToolItems()) {
        TBBUTTON button{};
        button.idCommand = item.id;
        // A gap's width is its image number; the search box's slot is as wide as the box.
        button.iBitmap = IsGap(item.kind) ? Scale(item.kind == ToolItemKind::SearchBoxSlot ? kSearchBoxWidth
                                                                                           : kSeparatorWidth)
                                          : item.image;
        button.fsStyle = StyleOf(item.kind);
        button.fsState = buttons.size() < states.size() ? states[buttons.size()] : StateOf(item);
        button.iString = item.caption != nullptr ? reinterpret_cast<INT_PTR>(item.caption) : -1;
        buttons.push_back(button);
    }
    ::SendMessageW(ToolBar1, TB_ADDBUTTONSW, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
    ::SendMessageW(ToolBar1, TB_SETBUTTONSIZE, 0, MAKELPARAM(0, Scale(kButtonHeight)));
    ::SendMessageW(ToolBar1, TB_AUTOSIZE, 0, 0);
}

void ToolBar::Rebuild(UINT dpi) {
    std::vector<BYTE> states;
    const int count = static_cast<int>(::SendMessageW(ToolBar1, TB_BUTTONCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        TBBUTTON button{};
        ::SendMessageW(ToolBar1, TB_GETBUTTON, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&button));
        states.push_back(button.fsState);
    }
    dpi_ = dpi;
    // Pictures drawn for the new scale, never stretched; the tool bar holds the new list before the
    // old one goes.
    UniqueImageList images = CreateToolbarImages(dpi_, false);
    ::SendMessageW(ToolBar1, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images.get()));
    ImageListtoolbar = std::move(images);
    // The buttons again, with separators and the search box's slot at the new scale.
    while (::SendMessageW(ToolBar1, TB_BUTTONCOUNT, 0, 0) > 0) {
        ::SendMessageW(ToolBar1, TB_DELETEBUTTON, 0, 0);
    }
    AddButtons(states);
    ::SetWindowPos(CBFind, nullptr, 0, 0, Scale(kSearchBoxWidth), Scale(kSearchBoxDropHeight),
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ToolBar::AutoSize() {
    ::SendMessageW(ToolBar1, TB_AUTOSIZE, 0, 0);
}

void ToolBar::LayoutSearchBox() {
    RECT slot{};
    ::SendMessageW(ToolBar1, TB_GETRECT, idCBFind, reinterpret_cast<LPARAM>(&slot));
    RECT box{};
    ::GetWindowRect(CBFind, &box);
    int height = box.bottom - box.top;
    ::SetWindowPos(CBFind, nullptr, slot.left, slot.top + (slot.bottom - slot.top - height) / 2,
                   slot.right - slot.left, Scale(kSearchBoxDropHeight), SWP_NOZORDER | SWP_NOACTIVATE);
}

int ToolBar::Height() const {
    RECT bar{};
    ::GetWindowRect(ToolBar1, &bar);
    return bar.bottom - bar.top;
}

void ToolBar::EnableCommand(int id, bool enabled) {
    ::SendMessageW(ToolBar1, TB_ENABLEBUTTON, static_cast<WPARAM>(id), MAKELPARAM(enabled ? TRUE : FALSE, 0));
}

bool ToolBar::IsCommandEnabled(int id) const {
    return ::SendMessageW(ToolBar1, TB_ISBUTTONENABLED, static_cast<WPARAM>(id), 0) != 0;
}

void ToolBar::ShowCommand(int id, bool shown) {
    ::SendMessageW(ToolBar1, TB_HIDEBUTTON, static_cast<WPARAM>(id), MAKELPARAM(shown ? FALSE : TRUE, 0));
}

bool ToolBar::IsReportDown() const {
    return (::SendMessageW(ToolBar1, TB_GETSTATE, idTBReport, 0) & TBSTATE_CHECKED) != 0;
}

void ToolBar::SetReportDown(bool report) {
    ::SendMessageW(ToolBar1, TB_CHECKBUTTON, idTBReport, MAKELPARAM(report ? TRUE : FALSE, 0));
    ::SendMessageW(ToolBar1, TB_CHECKBUTTON, idTBIcon, MAKELPARAM(report ? FALSE : TRUE, 0));
}

RECT ToolBar::CommandScreenRect(int id) const {
    RECT button{};
    ::SendMessageW(ToolBar1, TB_GETRECT, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(&button));
    ::MapWindowPoints(ToolBar1, nullptr, reinterpret_cast<POINT*>(&button), 2);
    return button;
}

std::wstring ToolBar::SearchText() const {
    int length = ::GetWindowTextLengthW(CBFind);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    int copied = ::GetWindowTextW(CBFind, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return text;
}

void ToolBar::SelectAllSearchText() {
    ::SendMessageW(CBFind, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
}

bool ToolBar::IsHistoryOpen() const {
    return ::SendMessageW(CBFind, CB_GETDROPPEDSTATE, 0, 0) != 0;
}

void ToolBar::AppendHistory(const std::vector<std::wstring>& entries) {
    for (const std::wstring& entry : entries) {
        ::SendMessageW(CBFind, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
    }
}

void ToolBar::InsertHistoryEntry(const std::wstring& entry, std::size_t limit) {
    // Only the list changes: the text being typed and the caret in it stay where they are.
    ::SendMessageW(CBFind, CB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
    for (LRESULT count = ::SendMessageW(CBFind, CB_GETCOUNT, 0, 0); count > static_cast<LRESULT>(limit);
         --count) {
        ::SendMessageW(CBFind, CB_DELETESTRING, static_cast<WPARAM>(count - 1), 0);
    }
}

std::vector<bool> ToolBar::UsableButtons() const {
    const int count = static_cast<int>(::SendMessageW(ToolBar1, TB_BUTTONCOUNT, 0, 0));
    std::vector<bool> usable(static_cast<std::size_t>(count > 0 ? count : 0));
    for (int i = 0; i < count; ++i) {
        TBBUTTON button{};
        ::SendMessageW(ToolBar1, TB_GETBUTTON, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&button));
        usable[static_cast<std::size_t>(i)] = CanRun(button);
    }
    return usable;
}

void ToolBar::StepKeyboardItem(int direction, bool toEnd) {
    const int hot = static_cast<int>(::SendMessageW(ToolBar1, TB_GETHOTITEM, 0, 0));
    const int next = NextKeyboardItem(UsableButtons(), hot, keyItem_, direction, toEnd);
    if (next >= 0) {
        keyItem_ = next;
        ::SendMessageW(ToolBar1, TB_SETHOTITEM, static_cast<WPARAM>(next), 0);
    }
}

void ToolBar::RunKeyboardItem() {
    int hot = static_cast<int>(::SendMessageW(ToolBar1, TB_GETHOTITEM, 0, 0));
    if (hot < 0) {
        hot = keyItem_;
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
    events_.ToolBarCommand(button.idCommand);
}

bool ToolBar::OnNotify(const NMHDR& header, LRESULT& result) {
    if (header.hwndFrom != ToolBar1 || header.code != TBN_DROPDOWN) {
        return false;
    }
    events_.ToolBarCommand(static_cast<int>(reinterpret_cast<const NMTOOLBARW&>(header).iItem));
    result = TBDDRET_DEFAULT;
    return true;
}

const wchar_t* ToolBar::HintOf(UINT_PTR id) {
    return ToolHintOf(static_cast<int>(id));
}

} // namespace orvane
