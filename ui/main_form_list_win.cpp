// TMainForm: the list view over the model, its header, the selection and the command states.
#include "ui/main_form_win.h"

#include "system/folders_win.h"
#include "system/path_text.h"
#include "ui/collation_win.h"

namespace orvane {

void TMainForm::RefreshListView() {
    ListView_SetItemCountEx(ListView, static_cast<int>(list_.Count()), 0);
    ::InvalidateRect(ListView, nullptr, TRUE);
}

void TMainForm::RebuildHeader() {
    auto captions = list_.HeaderCaptions();
    for (int column = 0; column < kColumnCount; ++column) {
        LVCOLUMNW lvc{};
        lvc.mask = LVCF_TEXT;
        lvc.pszText = captions[static_cast<std::size_t>(column)].data();
        ListView_SetColumn(ListView, column, &lvc);
    }
}

int TMainForm::ColumnWidth(int column) const {
    // The column's own width: LVM_GETCOLUMNWIDTH would give the list view's column width instead
    // while the list is in list view.
    LVCOLUMNW lvc{};
    lvc.mask = LVCF_WIDTH;
    return ListView_GetColumn(ListView, column, &lvc) ? lvc.cx : 0;
}

void TMainForm::SetColumnWidth(int column, int width) {
    LVCOLUMNW lvc{};
    lvc.mask = LVCF_WIDTH;
    lvc.cx = width;
    ListView_SetColumn(ListView, column, &lvc);
}

int TMainForm::SelectedIndex() const {
    return ListView_GetNextItem(ListView, -1, LVNI_SELECTED);
}

void TMainForm::SelectRow(int index) {
    ListView_SetItemState(ListView, index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

void TMainForm::ClearSelection() {
    // The list selects one row at most, so only that row is told; the all-rows form of the request
    // visits every row, which made each search step cost as much as the list is long.
    const int count = ListView_GetItemCount(ListView);
    for (int i = 0; i < count; ++i) {
        const int row = SelectedIndex();
        if (row < 0) {
            break;
        }
        ListView_SetItemState(ListView, row, 0, LVIS_SELECTED);
    }
}

void TMainForm::SetStatusText(const std::wstring& text) {
    ::SendMessageW(StatusBar, SB_SETTEXTW, SB_SIMPLEID, reinterpret_cast<LPARAM>(text.c_str()));
}

void TMainForm::EnableCommand(int id, bool enabled) {
    ::SendMessageW(ToolBar1, TB_ENABLEBUTTON, static_cast<WPARAM>(id), MAKELPARAM(enabled ? TRUE : FALSE, 0));
}

bool TMainForm::IsCommandEnabled(int id) const {
    return ::SendMessageW(ToolBar1, TB_ISBUTTONENABLED, static_cast<WPARAM>(id), 0) != 0;
}

void TMainForm::OnGetDispInfo(NMLVDISPINFOW& info) {
    LVITEMW& item = info.item;
    if (item.iItem < 0 || static_cast<std::size_t>(item.iItem) >= list_.Count()) {
        return;
    }
    const ShortcutRow& row = list_.Row(static_cast<std::size_t>(item.iItem));
    if ((item.mask & LVIF_TEXT) != 0 && item.pszText != nullptr && item.cchTextMax > 0) {
        const std::wstring& text = ShortcutList::CellText(row, item.iSubItem);
        std::size_t count = std::min(text.size(), static_cast<std::size_t>(item.cchTextMax - 1));
        text.copy(item.pszText, count);
        item.pszText[count] = L'\0';
    }
    if ((item.mask & LVIF_IMAGE) != 0 && item.iSubItem == 0) {
        item.iImage = row.imageIndex >= 0 ? row.imageIndex : I_IMAGENONE;
    }
}

int TMainForm::OnFindItem(const NMLVFINDITEMW& find) const {
    // Type-ahead in the list: the next row whose caption begins with the typed text.
    if ((find.lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) == 0 || find.lvfi.psz == nullptr) {
        return -1;
    }
    const std::wstring typed = UpperCaseText(find.lvfi.psz);
    const std::size_t count = list_.Count();
    if (count == 0) {
        return -1;
    }
    std::size_t start = find.iStart >= 0 ? static_cast<std::size_t>(find.iStart) % count : 0;
    for (std::size_t step = 0; step < count; ++step) {
        std::size_t index = (start + step) % count;
        if (UpperCaseText(list_.Row(index).caption).rfind(typed, 0) == 0) {
            return static_cast<int>(index);
        }
    }
    return -1;
}

void TMainForm::ListViewClick() {
    int index = SelectedIndex();
    if (index < 0 || static_cast<std::size_t>(index) >= list_.Count()) {
        SetStatusText(L"");
        for (int id : {idTBExe, idTBAdmin, idTBDir, idTBLink}) {
            EnableCommand(id, false);
        }
        return;
    }
    const ShortcutRow& row = list_.Row(static_cast<std::size_t>(index));
    const std::wstring& path = row.subItems[siFullPath];
    const std::wstring& target = row.subItems[siTarget];
    SetStatusText(target + L" " + row.subItems[siDescription]);
    bool fileExists = Norrow::IsExistingFile(path);
    EnableCommand(idTBExe, fileExists);
    EnableCommand(idTBAdmin, fileExists && ContainsExeText(target));
    EnableCommand(idTBDir, Norrow::IsExistingDir(FolderPart(path)));
    EnableCommand(idTBLink, Norrow::IsExistingDir(FolderPart(target)));
}

void TMainForm::ListViewSelectItem() {
    ListViewClick();
}

void TMainForm::ListViewColumnClick(int column) {
    int selected = SelectedIndex();
    std::vector<std::size_t> moved = list_.ColumnClick(column, MakeSortKeyUserDefault);
    // The selected row stays selected where the sort took it, as the list control's own sort does.
    if (selected >= 0 && static_cast<std::size_t>(selected) < moved.size()) {
        int target = static_cast<int>(moved[static_cast<std::size_t>(selected)]);
        if (target != selected) {
            ListView_SetItemState(ListView, selected, 0, LVIS_SELECTED | LVIS_FOCUSED);
            SelectRow(target);
        }
    }
    RefreshListView();
    RebuildHeader();
}

} // namespace orvane
