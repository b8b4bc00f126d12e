// The list model: every row of the main window's list and its sort state. The list view shows this
// model; it keeps no copy of the rows.
#pragma once

#include "catalogue/shortcut_row.h"
#include "ui/model/row_keys.h"
#include "ui/model/search.h"

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

// A linguistic comparison of two texts: negative, zero or positive.
using Collation = std::function<int(std::wstring_view, std::wstring_view)>;

inline constexpr int kColumnCount = 7;

// Column captions, in header order; column 0 shows the caption, column k the sub-item k - 1.
inline const std::array<std::wstring, kColumnCount> kColumnCaptions = {
    L"名前", L"フルパス", L"リンク先", L"説明", L"更新日付", L"作成日付", L"バージョン"};
inline constexpr std::array<bool, kColumnCount> kColumnRightAligned = {false, false, false, false,
                                                                       true,  true,  false};
inline constexpr wchar_t kAscendingMarker[] = L" ▲";
inline constexpr wchar_t kDescendingMarker[] = L" ▼";

class ShortcutList {
public:
    // 0: no sort key; +k ascending by column k - 1; -k descending by column k - 1.
    int MListViewSort = 0;
    // The column whose caption carries the sort marker, 0..6.
    int MColumnIndex = 0;

    const std::vector<ShortcutRow>& Rows() const noexcept { return rows_; }
    std::size_t Count() const noexcept { return rows_.size(); }
    bool Empty() const noexcept { return rows_.empty(); }
    const ShortcutRow& Row(std::size_t index) const { return rows_.at(index); }

    // Every change of the rows other than a sort drops the keys made from them.
    void Clear() noexcept {
        rows_.clear();
        keys_.Reset();
    }
    void Add(ShortcutRow row) {
        rows_.push_back(std::move(row));
        keys_.Reset();
    }
    void Assign(std::vector<ShortcutRow> rows) noexcept {
        rows_ = std::move(rows);
        keys_.Reset();
    }
    void Erase(std::size_t index) {
        rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(index));
        keys_.Reset();
    }

    // Removes, from the last row to the first, every row whose link target does not contain ".exe".
    void RemoveNonExeRows();

    // The header click on column 0..6: flips the direction when the list is sorted by that column,
    // else sorts ascending by it; sorts; moves the marker to the column. Returns, for each old row
    // position, its new position, so a selection can follow its row.
    // The sort is stable and orders as ListViewCompare with the collation whose keys makeKey makes:
    // each distinct text's key is made once and the keys are ordered as bytes once; sorts compare the
    // rows' ranks in that order.
    std::vector<std::size_t> ColumnClick(int column, const SortKeyMaker& makeKey);

    // The comparison of two rows under the current sort state: -1, 0 or 1.
    int ListViewCompare(const ShortcutRow& a, const ShortcutRow& b, const Collation& collate) const;

    // The search walk of FindNextRow over copies of the searched texts upper-cased once per row.
    std::optional<std::size_t> FindNext(std::size_t start, const std::wstring& text, const UpperCaser& upper);

    // Makes one column's sort keys or the search texts while any are missing; true while more remain.
    bool PrepareNextKeys(const SortKeyMaker& makeKey, const UpperCaser& upper);
    // Makes every column's sort keys and the search texts that are missing.
    void PrepareAllKeys(const SortKeyMaker& makeKey, const UpperCaser& upper);

    // The seven captions with the marker behind column MColumnIndex (" ▼" when descending, else " ▲").
    std::array<std::wstring, kColumnCount> HeaderCaptions() const;

    // The text a row shows in a column.
    static const std::wstring& CellText(const ShortcutRow& row, int column);

    // Brings a sort state read from outside into range: an index outside 0..6 becomes 0, and a sort
    // key naming no column becomes "no sort key".
    void Normalize();

private:
    std::vector<ShortcutRow> rows_;
    RowKeys keys_;
};

} // namespace orvane
