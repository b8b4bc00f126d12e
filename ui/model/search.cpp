#include "ui/model/search.h"

#include <algorithm>

namespace orvane {

bool AddToHistory(std::vector<std::wstring>& history, const std::wstring& text,
                  const CaseInsensitiveEquals& equals) {
    bool exists = std::any_of(history.begin(), history.end(),
                              [&](const std::wstring& entry) { return equals(entry, text); });
    if (!exists) {
        history.insert(history.begin(), text);
    }
    if (history.size() > kMaxHistory) {
        history.resize(kMaxHistory);
    }
    return !exists;
}

std::optional<std::size_t> FindNextRow(const std::vector<ShortcutRow>& rows, std::size_t start,
                                       const std::wstring& text, const UpperCaser& upper) {
    if (text.empty()) {
        return std::nullopt;
    }
    const std::wstring needle = upper(text);
    for (std::size_t i = start; i < rows.size(); ++i) {
        const ShortcutRow& row = rows[i];
        for (const std::wstring* field : {&row.caption, &row.subItems[siFullPath], &row.subItems[siTarget]}) {
            if (upper(*field).find(needle) != std::wstring::npos) {
                return i;
            }
        }
    }
    return std::nullopt;
}

} // namespace orvane
