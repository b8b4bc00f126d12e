// TMainForm: what the user does with a row: run it, run it as administrator, open its folder or its
// target's folder, the shell's context menu, and the hint and status text that follow the pointer.
#include "ui/main_form_win.h"

#include "contextmenu/pl_context_menu_win.h"
#include "system/folders_win.h"
#include "system/launch_win.h"
#include "system/path_text.h"
#include "ui/wait_cursor_win.h"

namespace orvane {
namespace {

constexpr wchar_t kRunFailed[] = L"実行できません。";

} // namespace

void TMainForm::ShowRunFailed() {
    ::MessageBoxW(hwnd_, kRunFailed, L"Orvane", MB_OK | MB_ICONERROR);
}

void TMainForm::ListViewDblClick() {
    int index = SelectedIndex();
    if (index < 0) {
        return;
    }
    const std::wstring path = list_.Row(static_cast<std::size_t>(index)).subItems[siFullPath];
    INT_PTR result = 0;
    {
        WaitCursor busy;
        result = Norrow::ShellOpen(path, L"", L"", SW_SHOWNORMAL);
    }
    if (result <= 32) {
        ShowRunFailed();
    }
}

void TMainForm::ListViewKeyDown(WORD key) {
    // Enter runs the selected shortcut, whatever modifier keys are held.
    if (key == VK_RETURN) {
        ListViewDblClick();
    }
}

void TMainForm::TBAdminClick() {
    int index = SelectedIndex();
    if (index < 0) {
        return;
    }
    const std::wstring path = list_.Row(static_cast<std::size_t>(index)).subItems[siFullPath];
    bool started = false;
    {
        WaitCursor busy;
        started = Norrow::ShellRunAsAdmin(::GetDesktopWindow(), path, L"");
    }
    if (!started) {
        ShowRunFailed();
    }
}

void TMainForm::OpenFolderOf(int subItem) {
    int index = SelectedIndex();
    if (index < 0) {
        return;
    }
    const std::wstring folder = FolderPart(list_.Row(static_cast<std::size_t>(index)).subItems[subItem]);
    WaitCursor busy;
    Norrow::ShellOpen(folder, L"", L"", SW_SHOWNORMAL);
}

void TMainForm::TBDirClick() {
    OpenFolderOf(siFullPath);
}

void TMainForm::TBLinkClick() {
    OpenFolderOf(siTarget);
}

void TMainForm::ListViewMouseDown(bool shift, POINT screen) {
    int index = SelectedIndex();
    if (index < 0) {
        return;
    }
    const ShortcutRow& row = list_.Row(static_cast<std::size_t>(index));
    const std::wstring file = row.subItems[shift ? siTarget : siFullPath];
    if (!Norrow::IsExistingFile(file)) {
        return;
    }
    plContextMenu->Files().clear();
    plContextMenu->SetDirectory(FolderPart(file));
    plContextMenu->Files().push_back(NamePart(file));
    plContextMenu->Popup(screen.x, screen.y);
}

void TMainForm::ListViewMouseMove(POINT client) {
    // Told when the pointer leaves the list, so the hint stops following it.
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, ListView, 0};
    ::TrackMouseEvent(&track);
    LVHITTESTINFO hit{};
    hit.pt = client;
    int index = ListView_SubItemHitTest(ListView, &hit);
    if (index < 0 || static_cast<std::size_t>(index) >= list_.Count() || (hit.flags & LVHT_ONITEM) == 0) {
        SetListHintsOn(false);
        SetStatusText(L"");
        return;
    }
    // Every move writes the row now under the pointer: a sort, a scan or the keyboard may have put
    // another row where the last move found one.
    const ShortcutRow& row = list_.Row(static_cast<std::size_t>(index));
    listHint_ = row.subItems[siFullPath];
    SetListHintsOn(true);
    SetStatusText(row.subItems[siTarget] + L" " + row.subItems[siDescription]);
}

void TMainForm::ListViewMouseLeave() {
    SetListHintsOn(false);
    ::KillTimer(hwnd_, kHintReshowTimer);
    ::SendMessageW(hintWindow_, TTM_POP, 0, 0);
}

void TMainForm::SetListHintsOn(bool on) {
    if (listHintsOn_ != on) {
        listHintsOn_ = on;
        ::SendMessageW(hintWindow_, TTM_ACTIVATE, on ? TRUE : FALSE, 0);
    }
}

void TMainForm::ApplicationShowHint(HWND control, std::wstring& text) {
    // Only the list's hint changes: it shows the row under the pointer, and is looked at again every
    // 250 ms so it follows the pointer from row to row.
    if (control == ListView) {
        text = listHint_;
        shownHint_ = listHint_;
        ::SetTimer(hwnd_, kHintReshowTimer, kHintReshowMs, nullptr);
    }
}

void TMainForm::OnHintReshowTimer() {
    if (!listHintsOn_) {
        ::KillTimer(hwnd_, kHintReshowTimer);
        ::SendMessageW(hintWindow_, TTM_POP, 0, 0);
        return;
    }
    if (listHint_ != shownHint_) {
        // The tip asks for its text again and shows the row now under the pointer.
        ::SendMessageW(hintWindow_, TTM_UPDATE, 0, 0);
    }
}

void TMainForm::CreateHints() {
    hintWindow_ = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                    WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                                    CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr, instance_, nullptr);
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = hwnd_;
    tool.uId = reinterpret_cast<UINT_PTR>(ListView);
    tool.lpszText = LPSTR_TEXTCALLBACKW;
    ::SendMessageW(hintWindow_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    ::SendMessageW(hintWindow_, TTM_SETMAXTIPWIDTH, 0, Scale(800));
    // The list's hints start switched off; the pointer over a row switches them on.
    ::SendMessageW(hintWindow_, TTM_ACTIVATE, FALSE, 0);
}

} // namespace orvane
