// TMainForm: the search box and the search command.
#include "ui/form/main_form_win.h"

#include "ui/controls/collation_win.h"
#include "ui/model/search.h"

namespace orvane {

void TMainForm::FillSearchHistory() {
    if (!historyInBox_ && toolBar_) {
        historyInBox_ = true;
        Tools().AppendHistory(history_);
    }
}

void TMainForm::CBFindChange() {
    Tools().EnableCommand(idTBFind, !Tools().SearchText().empty());
}

void TMainForm::TBFindClick() {
    const std::wstring text = Tools().SearchText();
    if (text.empty()) {
        return;
    }
    // The box holds the history read at start before it takes a new entry.
    FillSearchHistory();
    if (AddToHistory(history_, text, EqualsIgnoringCase)) {
        Tools().InsertHistoryEntry(text, kMaxHistory);
        unread_.MarkRenewed(StoreFile::sfHistory);
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
