// TMainForm: the search box and the search command.
#include "ui/main_form_win.h"

#include "ui/collation_win.h"
#include "ui/search.h"

namespace orvane {

std::wstring TMainForm::SearchText() const {
    int length = ::GetWindowTextLengthW(CBFind);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    int copied = ::GetWindowTextW(CBFind, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return text;
}

void TMainForm::RefreshHistoryList() {
    // The drop-down list shows the history model; the edit field keeps its text.
    std::wstring text = SearchText();
    ::SendMessageW(CBFind, CB_RESETCONTENT, 0, 0);
    for (const std::wstring& entry : history_) {
        ::SendMessageW(CBFind, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
    }
    ::SetWindowTextW(CBFind, text.c_str());
}

void TMainForm::CBFindChange() {
    EnableCommand(idTBFind, !SearchText().empty());
}

void TMainForm::TBFindClick() {
    const std::wstring text = SearchText();
    if (text.empty()) {
        return;
    }
    if (AddToHistory(history_, text, EqualsIgnoringCase) ||
        history_.size() != static_cast<std::size_t>(::SendMessageW(CBFind, CB_GETCOUNT, 0, 0))) {
        RefreshHistoryList();
    }

    int selected = SelectedIndex();
    std::size_t start = selected >= 0 ? static_cast<std::size_t>(selected) + 1 : 0;
    std::optional<std::size_t> hit = list_.FindNext(start, text, UpperCaseText);
    if (!hit) {
        // No hit: the selection goes, which through the selection change clears the commands.
        ClearSelection();
        return;
    }
    int index = static_cast<int>(*hit);
    ClearSelection();
    SelectRow(index);
    ::SetFocus(ListView);
    ListView_EnsureVisible(ListView, index, FALSE);
    int top = ListView_GetTopIndex(ListView);
    if (top != index) {
        RECT hitRect{};
        RECT topRect{};
        ListView_GetItemRect(ListView, index, &hitRect, LVIR_BOUNDS);
        ListView_GetItemRect(ListView, top, &topRect, LVIR_BOUNDS);
        ListView_Scroll(ListView, 0, hitRect.top - topRect.top);
    }
    ::SetFocus(ListView);
    ListViewClick();
}

} // namespace orvane
