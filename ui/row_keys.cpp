#include "ui/row_keys.h"

#include "ui/shortcut_list.h"

#include <limits>
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

} // namespace

void RowKeys::Reset() noexcept {
    slots_.clear();
    for (KeyColumn& column : columns_) {
        column.made = false;
        column.bytes.clear();
        column.slots.clear();
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
    KeyColumn& keys = columns_.at(static_cast<std::size_t>(column));
    keys.bytes.clear();
    keys.slots.assign(rows.size(), Span{});
    std::string key;
    for (std::size_t position = 0; position < rows.size(); ++position) {
        makeKey(ShortcutList::CellText(rows[position], column), key);
        auto [offset, size] = AppendSpan(keys.bytes, key);
        keys.slots[SlotOf(position)] = Span{offset, size};
    }
    keys.made = true;
}

std::string_view RowKeys::SortKey(int column, std::size_t position) const noexcept {
    const KeyColumn& keys = columns_[static_cast<std::size_t>(column)];
    const Span span = keys.slots[SlotOf(position)];
    return std::string_view(keys.bytes).substr(span.offset, span.size);
}

void RowKeys::MakeSearchTexts(const std::vector<ShortcutRow>& rows, const UpperCaser& upper) {
    if (rows.size() > std::numeric_limits<std::uint32_t>::max()) {
        throw std::length_error("too many rows");
    }
    if (!AnythingMade()) {
        slots_.clear();
    }
    search_.chars.clear();
    search_.slots.assign(rows.size(), {});
    for (std::size_t position = 0; position < rows.size(); ++position) {
        const ShortcutRow& row = rows[position];
        std::array<Span, 3>& spans = search_.slots[SlotOf(position)];
        const std::wstring* fields[] = {&row.caption, &row.subItems[siFullPath], &row.subItems[siTarget]};
        for (std::size_t field = 0; field < 3; ++field) {
            auto [offset, size] = AppendSpan(search_.chars, upper(*fields[field]));
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
