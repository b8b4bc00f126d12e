#include "ui/model/row_keys.h"

#include "ui/model/shortcut_list.h"

#include <algorithm>
#include <bit>
#include <limits>
#include <numeric>
#include <optional>
#include <stdexcept>

namespace orvane {

static_assert(kKeyedColumns == kColumnCount);

namespace {

// Appends a text to a store of texts and gives its place there.
template <typename Store, typename Text> auto AppendSpan(Store& store, const Text& text) {
    if (store.size() + text.size() > std::numeric_limits<std::uint32_t>::max()) {
        throw std::length_error("row keys larger than 4 GB");
    }
    auto offset = static_cast<std::uint32_t>(store.size());
    store.append(text.data(), text.size());
    return std::pair{offset, static_cast<std::uint32_t>(text.size())};
}

// The searched texts of a row: its caption, shortcut path and link target.
const std::wstring& SearchedText(const ShortcutRow& row, std::uint32_t field) {
    return field == 0 ? row.caption : row.subItems[field == 1 ? siFullPath : siTarget];
}

} // namespace

// Equal texts share one stored form: the rows of one program share its target and version, and often
// their dates. An open-addressing table of the places where each distinct text was first met.
class RowKeys::FirstOfEqualTexts {
public:
    explicit FirstOfEqualTexts(std::size_t texts) : table_(std::bit_ceil(texts * 2 + 2), kEmpty) {}

    // The earlier place of a text equal to text; none when it is the first, and then it is remembered.
    template <typename TextAt>
    std::optional<std::uint32_t> Find(std::uint32_t place, std::wstring_view text, TextAt textAt) {
        const std::size_t mask = table_.size() - 1;
        const std::size_t hash = std::hash<std::wstring_view>{}(text);
        for (std::size_t at = hash & mask;; at = (at + 1) & mask) {
            if (table_[at] == kEmpty) {
                table_[at] = place;
                return std::nullopt;
            }
            if (textAt(table_[at]) == text) {
                return table_[at];
            }
        }
    }

private:
    static constexpr std::uint32_t kEmpty = std::numeric_limits<std::uint32_t>::max();
    std::vector<std::uint32_t> table_;
};

void RowKeys::Reset() noexcept {
    slots_.clear();
    for (KeyColumn& column : columns_) {
        column.made = false;
        column.ranks.clear();
    }
    search_.made = false;
    search_.chars.clear();
    search_.slots.clear();
}

bool RowKeys::AnythingMade() const noexcept {
    for (const KeyColumn& column : columns_) {
        if (column.made) {
            return true;
        }
    }
    return search_.made;
}

void RowKeys::Reorder(const std::vector<std::size_t>& order) {
    if (!AnythingMade()) {
        // Nothing to keep: every row starts in its own slot again.
        slots_.clear();
        return;
    }
    std::vector<std::uint32_t> moved(order.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        moved[i] = static_cast<std::uint32_t>(SlotOf(order[i]));
    }
    slots_ = std::move(moved);
}

bool RowKeys::HasSortKeys(int column) const noexcept {
    return column >= 0 && column < kKeyedColumns && columns_[static_cast<std::size_t>(column)].made;
}

void RowKeys::MakeSortKeys(const std::vector<ShortcutRow>& rows, int column, const SortKeyMaker& makeKey) {
    if (rows.size() > std::numeric_limits<std::uint32_t>::max()) {
        throw std::length_error("too many rows");
    }
    if (!AnythingMade()) {
        slots_.clear();
    }
    auto textAt = [&](std::uint32_t position) -> std::wstring_view {
        return ShortcutList::CellText(rows[position], column);
    };
    // The key of each distinct text, end to end; room for about three bytes a character, so the store
    // is seldom copied while it grows.
    std::size_t characters = 0;
    for (const ShortcutRow& row : rows) {
        characters += ShortcutList::CellText(row, column).size();
    }
    std::string bytes;
    bytes.reserve(characters * 3 + rows.size() * 16);
    std::vector<Span> keys;
    std::vector<std::uint32_t> keyOfRow(rows.size());
    FirstOfEqualTexts made(rows.size());
    std::string key;
    for (std::size_t position = 0; position < rows.size(); ++position) {
        const auto place = static_cast<std::uint32_t>(position);
        if (auto earlier = made.Find(place, textAt(place), textAt)) {
            keyOfRow[position] = keyOfRow[*earlier];
            continue;
        }
        makeKey(textAt(place), key);
        auto [offset, size] = AppendSpan(bytes, key);
        keyOfRow[position] = static_cast<std::uint32_t>(keys.size());
        keys.push_back(Span{offset, size});
    }

    // The keys in byte order; equal keys share a rank.
    auto view = [&](std::uint32_t k) { return std::string_view(bytes).substr(keys[k].offset, keys[k].size); };
    std::vector<std::uint32_t> byKey(keys.size());
    std::iota(byKey.begin(), byKey.end(), std::uint32_t{0});
    std::sort(byKey.begin(), byKey.end(),
              [&](std::uint32_t a, std::uint32_t b) { return view(a) < view(b); });
    std::vector<std::uint32_t> rankOfKey(keys.size());
    std::uint32_t rank = 0;
    for (std::size_t i = 0; i < byKey.size(); ++i) {
        if (i > 0 && view(byKey[i]) != view(byKey[i - 1])) {
            ++rank;
        }
        rankOfKey[byKey[i]] = rank;
    }

    KeyColumn& ranked = columns_.at(static_cast<std::size_t>(column));
    ranked.ranks.assign(rows.size(), 0);
    for (std::size_t position = 0; position < rows.size(); ++position) {
        ranked.ranks[SlotOf(position)] = rankOfKey[keyOfRow[position]];
    }
    ranked.made = true;
}

std::uint32_t RowKeys::SortRank(int column, std::size_t position) const noexcept {
    return columns_[static_cast<std::size_t>(column)].ranks[SlotOf(position)];
}

void RowKeys::MakeSearchTexts(const std::vector<ShortcutRow>& rows, const UpperCaser& upper) {
    if (rows.size() > std::numeric_limits<std::uint32_t>::max() / 3) {
        throw std::length_error("too many rows");
    }
    if (!AnythingMade()) {
        slots_.clear();
    }
    search_.chars.clear();
    search_.slots.assign(rows.size(), {});
    std::size_t characters = 0;
    for (const ShortcutRow& row : rows) {
        characters += row.caption.size() + row.subItems[siFullPath].size() + row.subItems[siTarget].size();
    }
    search_.chars.reserve(characters);
    // Each text has its place: three a row, in field order.
    auto textAt = [&](std::uint32_t place) -> std::wstring_view {
        return SearchedText(rows[place / 3], place % 3);
    };
    FirstOfEqualTexts made(rows.size() * 3);
    for (std::size_t position = 0; position < rows.size(); ++position) {
        std::array<Span, 3>& spans = search_.slots[SlotOf(position)];
        for (std::uint32_t field = 0; field < 3; ++field) {
            const std::wstring& text = SearchedText(rows[position], field);
            if (auto earlier = made.Find(static_cast<std::uint32_t>(position * 3 + field), text, textAt)) {
                spans[field] = search_.slots[SlotOf(*earlier / 3)][*earlier % 3];
                continue;
            }
            auto [offset, size] = AppendSpan(search_.chars, upper(text));
            spans[field] = Span{offset, size};
        }
    }
    search_.made = true;
}

std::optional<std::size_t> RowKeys::FindFrom(std::size_t start, std::wstring_view upperText) const {
    const std::wstring_view chars(search_.chars);
    for (std::size_t position = start; position < search_.slots.size(); ++position) {
        for (const Span& span : search_.slots[SlotOf(position)]) {
            if (span.size >= upperText.size() &&
                chars.substr(span.offset, span.size).find(upperText) != std::wstring_view::npos) {
                return position;
            }
        }
    }
    return std::nullopt;
}

bool RowKeys::MakeNextMissing(const std::vector<ShortcutRow>& rows, const SortKeyMaker& makeKey,
                              const UpperCaser& upper) {
    bool made = false;
    for (int column = 0; column < kKeyedColumns; ++column) {
        if (!HasSortKeys(column)) {
            if (made) {
                return true;
            }
            MakeSortKeys(rows, column, makeKey);
            made = true;
        }
    }
    if (!search_.made) {
        if (made) {
            return true;
        }
        MakeSearchTexts(rows, upper);
    }
    return false;
}

} // namespace orvane
