// TMainForm: what the user does with a row: run it, run it as administrator, open its folder or its
// target's folder, the shell's context menu, and the hint and status text that follow the pointer.
#include "ui/form/main_form_win.h"

#include "contextmenu/pl_context_menu_win.h"
#include "system/folders_win.h"
#include "system/launch_win.h"
#include "system/path_text.h"
#include "ui/controls/wait_cursor_win.h"

namespace orvane {
namespace {

constexpr wchar_t kRunFailed[] = L"実行できません。";

} // namespace

void TMainForm::ShowRunFailed() {
    ::MessageBoxW(hwnd_, kRunFailed, L"Orvane", MB_OK | MB_ICONERROR);
}

void TMainForm::ListViewDblClick() {
    int index = Rows().SelectedIndex();
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
    int index = Rows().SelectedIndex();
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
    int index = Rows().SelectedIndex();
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
    int index = Rows().SelectedIndex();
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
    int index = Rows().RowAt(client);
    if (index < 0) {
        Rows().HideHint();
        SetStatusText(L"");
        return;
    }
    // Every move writes the row now under the pointer: a sort, a scan or the keyboard may have put
    // another row where the last move found one.
    const ShortcutRow& row = list_.Row(static_cast<std::size_t>(index));
    Rows().ShowHint(row.subItems[siFullPath]);
    SetStatusText(row.subItems[siTarget] + L" " + row.subItems[siDescription]);
}

void TMainForm::ListViewMouseLeave() {
    Rows().EndHint();
}

void TMainForm::ApplicationShowHint(HWND control, std::wstring& text) {
    // Only the list's hint changes: it shows the row under the pointer, and is looked at again every
    // 250 ms so it follows the pointer from row to row.
    if (listView_ && control == listView_->Handle()) {
        text = listView_->TakeHintText();
    }
}

} // namespace orvane
