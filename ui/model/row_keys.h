// What is made once from each row of the list and kept beside the rows: for each column, the row's
// rank in the byte order of the column's sort keys, and upper-cased copies of the three searched texts.
// A sort compares ranks instead of asking the platform's collation for every pair, and a search step
// compares the prepared copies instead of upper-casing every text it passes.
#pragma once

#include "catalogue/shortcut_row.h"
#include "ui/model/search.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

// The platform's sort key of a text, written into key (its old content replaced): byte strings that,
// compared as unsigned bytes, order their texts as the platform's collation compares them.
using SortKeyMaker = std::function<void(std::wstring_view text, std::string& key)>;

inline constexpr int kKeyedColumns = 1 + kSubItemCount;

// Each row has a slot, the place of its ranks and texts. Reordering the rows moves slots, never what is
// made; any other change of the rows drops everything, and it is made anew when next needed.
class RowKeys {
public:
    // The rows changed: nothing is made any more.
    void Reset() noexcept;
    // The rows were reordered: new position i holds the row that stood at position order[i].
    void Reorder(const std::vector<std::size_t>& order);

    bool HasSortKeys(int column) const noexcept;
    // Makes the sort key of each distinct text of one column (0 the caption, k the sub-item k - 1),
    // orders the keys as bytes, and keeps each row's rank in that order: rows whose keys are equal have
    // one rank. The keys themselves, a few bytes a character, are not kept.
    void MakeSortKeys(const std::vector<ShortcutRow>& rows, int column, const SortKeyMaker& makeKey);
    // The rank of the row at a position; the column's keys must be made. Ranks compare as the keys do.
    std::uint32_t SortRank(int column, std::size_t position) const noexcept;

    bool HasSearchTexts() const noexcept { return search_.made; }
    // Makes the upper-cased caption, shortcut path and link target of every row.
    void MakeSearchTexts(const std::vector<ShortcutRow>& rows, const UpperCaser& upper);
    // The first position from start on whose upper-cased caption, shortcut path or link target contains
    // upperText; the search texts must be made.
    std::optional<std::size_t> FindFrom(std::size_t start, std::wstring_view upperText) const;

    // Makes whatever is missing of one column's keys or of the search texts, in that order, and reports
    // whether anything is still missing; a caller spreads the work over idle moments this way.
    bool MakeNextMissing(const std::vector<ShortcutRow>& rows, const SortKeyMaker& makeKey,
                         const UpperCaser& upper);

private:
    struct Span {
        std::uint32_t offset = 0;
        std::uint32_t size = 0;
    };
    class FirstOfEqualTexts;
    struct KeyColumn {
        bool made = false;
        std::vector<std::uint32_t> ranks; // each slot's rank
    };
    struct SearchTexts {
        bool made = false;
        std::wstring chars;                     // the upper-cased texts end to end
        std::vector<std::array<Span, 3>> slots; // each slot's caption, path and target
    };

    std::size_t SlotOf(std::size_t position) const noexcept {
        return slots_.empty() ? position : slots_[position];
    }
    bool AnythingMade() const noexcept;

    // The slot of the row at each position; empty while every row is in its own slot.
    std::vector<std::uint32_t> slots_;
    std::array<KeyColumn, kKeyedColumns> columns_;
    SearchTexts search_;
};

} // namespace orvane
