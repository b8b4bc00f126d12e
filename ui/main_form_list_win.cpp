// TMainForm: what the list reports (a click, a new selection, a header click) and the command
// states and status text that follow the selected row.
#include "ui/main_form_win.h"

#include "system/folders_win.h"
#include "system/path_text.h"
#include "ui/collation_win.h"

namespace orvane {

void TMainForm::SetStatusText(const std::wstring& text) {
    ::SendMessageW(StatusBar, SB_SETTEXTW, SB_SIMPLEID, reinterpret_cast<LPARAM>(text.c_str()));
}

void TMainForm::ListViewClick() {
    ToolBar& tools = Tools();
    int index = Rows().SelectedIndex();
    if (index < 0 || static_cast<std::size_t>(index) >= list_.Count()) {
        SetStatusText(L"");
        for (int id : {idTBExe, idTBAdmin, idTBDir, idTBLink}) {
            tools.EnableCommand(id, false);
        }
        return;
    }
    const ShortcutRow& row = list_.Row(static_cast<std::size_t>(index));
    const std::wstring& path = row.subItems[siFullPath];
    const std::wstring& target = row.subItems[siTarget];
    SetStatusText(target + L" " + row.subItems[siDescription]);
    bool fileExists = Norrow::IsExistingFile(path);
    tools.EnableCommand(idTBExe, fileExists);
    tools.EnableCommand(idTBAdmin, fileExists && ContainsExeText(target));
    tools.EnableCommand(idTBDir, Norrow::IsExistingDir(FolderPart(path)));
    tools.EnableCommand(idTBLink, Norrow::IsExistingDir(FolderPart(target)));
}

void TMainForm::ListViewSelectItem() {
    ListViewClick();
}

void TMainForm::ListViewColumnClick(int column) {
    int selected = Rows().SelectedIndex();
    std::vector<std::size_t> moved = list_.ColumnClick(column, CollateUserDefault);
    // The selected row stays selected where the sort took it, as the list control's own sort does.
    if (selected >= 0 && static_cast<std::size_t>(selected) < moved.size()) {
        Rows().MoveSelection(selected, static_cast<int>(moved[static_cast<std::size_t>(selected)]));
    }
    Rows().Refresh();
    Rows().RebuildHeader();
}

} // namespace orvane
