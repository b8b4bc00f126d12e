// The list model: every row of the main window's list and its sort state. The list view shows this
// model; it keeps no copy of the rows.
#pragma once

#include "catalogue/shortcut_row.h"

#include <array>
#include <functional>
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

    void Clear() noexcept { rows_.clear(); }
    void Add(ShortcutRow row) { rows_.push_back(std::move(row)); }
    void Assign(std::vector<ShortcutRow> rows) noexcept { rows_ = std::move(rows); }
    void Erase(std::size_t index) { rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(index)); }

    // Removes, from the last row to the first, every row whose link target does not contain ".exe".
    void RemoveNonExeRows();

    // The header click on column 0..6: flips the direction when the list is sorted by that column,
    // else sorts ascending by it; sorts; moves the marker to the column. Returns, for each old row
    // position, its new position, so a selection can follow its row.
    std::vector<std::size_t> ColumnClick(int column, const Collation& collate);

    // The comparison of two rows under the current sort state: -1, 0 or 1.
    int ListViewCompare(const ShortcutRow& a, const ShortcutRow& b, const Collation& collate) const;

    // The seven captions with the marker behind column MColumnIndex (" ▼" when descending, else " ▲").
    std::array<std::wstring, kColumnCount> HeaderCaptions() const;

    // The text a row shows in a column.
    static const std::wstring& CellText(const ShortcutRow& row, int column);

    // Brings a sort state read from outside into range: an index outside 0..6 becomes 0, and a sort
    // key naming no column becomes "no sort key".
    void Normalize();

private:
    std::vector<ShortcutRow> rows_;
};

} // namespace orvane
