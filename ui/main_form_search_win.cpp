// TMainForm: the search box and the search command.
#include "ui/main_form_win.h"

#include "ui/collation_win.h"
#include "ui/search.h"

namespace orvane {

void TMainForm::CBFindChange() {
    Tools().EnableCommand(idTBFind, !Tools().SearchText().empty());
}

void TMainForm::TBFindClick() {
    const std::wstring text = Tools().SearchText();
    if (text.empty()) {
        return;
    }
    if (AddToHistory(history_, text, EqualsIgnoringCase) || history_.size() != Tools().HistoryCount()) {
        Tools().SetHistory(history_);
    }

    ShortcutListView& rows = Rows();
    int selected = rows.SelectedIndex();
    std::size_t start = selected >= 0 ? static_cast<std::size_t>(selected) + 1 : 0;
    std::optional<std::size_t> hit = list_.FindNext(start, text, UpperCaseText);
    if (!hit) {
        // No hit: the selection goes, which through the selection change clears the commands.
        rows.ClearSelection();
        return;
    }
    int index = static_cast<int>(*hit);
    rows.ClearSelection();
    rows.SelectRow(index);
    ::SetFocus(rows.Handle());
    rows.ScrollRowToTop(index);
    ::SetFocus(rows.Handle());
    ListViewClick();
}

} // namespace orvane
