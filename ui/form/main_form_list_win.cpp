// TMainForm: what the list reports (a click, a new selection, a header click) and the command
// states and status text that follow the selected row.
#include "ui/form/main_form_win.h"

#include "system/folders_win.h"
#include "ui/controls/collation_win.h"
#include "ui/model/list_rules.h"

namespace orvane {

void TMainForm::SetStatusText(const std::wstring& text) {
    ::SendMessageW(StatusBar, SB_SETTEXTW, SB_SIMPLEID, reinterpret_cast<LPARAM>(text.c_str()));
}

void TMainForm::ListViewClick() {
    static const PathProbe probe{[](const std::wstring& path) { return Norrow::IsExistingFile(path); },
                                 [](const std::wstring& path) { return Norrow::IsExistingDir(path); }};
    int index = Rows().SelectedIndex();
    const bool hasRow = index >= 0 && static_cast<std::size_t>(index) < list_.Count();
    const RowCommands commands =
        CommandsForRow(hasRow ? &list_.Row(static_cast<std::size_t>(index)) : nullptr, probe);
    SetStatusText(commands.status);
    ToolBar& tools = Tools();
    tools.EnableCommand(idTBExe, commands.run);
    tools.EnableCommand(idTBAdmin, commands.runAsAdmin);
    tools.EnableCommand(idTBDir, commands.openFolder);
    tools.EnableCommand(idTBLink, commands.openTargetFolder);
}

void TMainForm::ListViewSelectItem() {
    ListViewClick();
}

void TMainForm::ListViewColumnClick(int column) {
    int selected = Rows().SelectedIndex();
    std::vector<std::size_t> moved = list_.ColumnClick(column, MakeSortKeyUserDefault);
    // The selected row stays selected where the sort took it, as the list control's own sort does.
    if (selected >= 0 && static_cast<std::size_t>(selected) < moved.size()) {
        Rows().MoveSelection(selected, static_cast<int>(moved[static_cast<std::size_t>(selected)]));
    }
    Rows().Refresh();
    Rows().RebuildHeader();
}

} // namespace orvane
