#include "ui/model/shortcut_list.h"

#include "system/path_text.h"

#include <algorithm>
#include <cstdlib>
#include <numeric>

namespace orvane {

void ShortcutList::RemoveNonExeRows() {
    for (std::size_t i = rows_.size(); i-- > 0;) {
        if (!ContainsExeText(rows_[i].subItems[siTarget])) {
            Erase(i);
        }
    }
}

const std::wstring& ShortcutList::CellText(const ShortcutRow& row, int column) {
    return column <= 0 ? row.caption : row.subItems.at(static_cast<std::size_t>(column - 1));
}

int ShortcutList::ListViewCompare(const ShortcutRow& a, const ShortcutRow& b,
                                  const Collation& collate) const {
    int key = std::abs(MListViewSort);
    if (key == 0 || key > kColumnCount) {
        return 0;
    }
    int result = collate(CellText(a, key - 1), CellText(b, key - 1));
    result = result < 0 ? -1 : result > 0 ? 1 : 0;
    return MListViewSort < 0 ? -result : result;
}

std::vector<std::size_t> ShortcutList::ColumnClick(int column, const SortKeyMaker& makeKey) {
    if (column < 0 || column >= kColumnCount) {
        column = 0;
    }
    MListViewSort = std::abs(MListViewSort) == column + 1 ? -MListViewSort : column + 1;

    if (!keys_.HasSortKeys(column)) {
        keys_.MakeSortKeys(rows_, column, makeKey);
    }
    // Descending negates the comparison, so rows with equal keys keep their order either way.
    const bool descending = MListViewSort < 0;
    std::vector<std::size_t> order(rows_.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t x, std::size_t y) {
        const std::uint32_t a = keys_.SortRank(column, x);
        const std::uint32_t b = keys_.SortRank(column, y);
        return descending ? a > b : a < b;
    });
    std::vector<std::size_t> newPosition(rows_.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        newPosition[order[i]] = i;
    }
    // The rows move to their places within the vector, one cycle of the permutation after another: a
    // sorted copy would take megabytes of fresh memory at every click.
    std::vector<bool> placed(rows_.size());
    for (std::size_t first = 0; first < rows_.size(); ++first) {
        if (placed[first] || order[first] == first) {
            continue;
        }
        ShortcutRow held = std::move(rows_[first]);
        for (std::size_t at = first;;) {
            placed[at] = true;
            const std::size_t from = order[at];
            if (from == first) {
                rows_[at] = std::move(held);
                break;
            }
            rows_[at] = std::move(rows_[from]);
            at = from;
        }
    }
    keys_.Reorder(order);
    MColumnIndex = column;
    return newPosition;
}

std::optional<std::size_t> ShortcutList::FindNext(std::size_t start, const std::wstring& text,
                                                  const UpperCaser& upper) {
    if (text.empty()) {
        return std::nullopt;
    }
    if (!keys_.HasSearchTexts()) {
        keys_.MakeSearchTexts(rows_, upper);
    }
    return keys_.FindFrom(start, upper(text));
}

bool ShortcutList::PrepareNextKeys(const SortKeyMaker& makeKey, const UpperCaser& upper) {
    return keys_.MakeNextMissing(rows_, makeKey, upper);
}

void ShortcutList::PrepareAllKeys(const SortKeyMaker& makeKey, const UpperCaser& upper) {
    while (keys_.MakeNextMissing(rows_, makeKey, upper)) {
    }
}

std::array<std::wstring, kColumnCount> ShortcutList::HeaderCaptions() const {
    std::array<std::wstring, kColumnCount> captions = kColumnCaptions;
    int marked = MColumnIndex >= 0 && MColumnIndex < kColumnCount ? MColumnIndex : 0;
    captions[static_cast<std::size_t>(marked)] += MListViewSort < 0 ? kDescendingMarker : kAscendingMarker;
    return captions;
}

void ShortcutList::Normalize() {
    if (MColumnIndex < 0 || MColumnIndex >= kColumnCount) {
        MColumnIndex = 0;
    }
    if (MListViewSort < -kColumnCount || MListViewSort > kColumnCount) {
        MListViewSort = 0;
    }
}

} // namespace orvane
