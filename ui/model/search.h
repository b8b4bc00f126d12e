// The search over the list and the history of searched texts.
#pragma once

#include "catalogue/shortcut_row.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

// The platform's upper-casing of a whole text.
using UpperCaser = std::function<std::wstring(std::wstring_view)>;
// The platform's case-insensitive exact comparison of two texts.
using CaseInsensitiveEquals = std::function<bool(std::wstring_view, std::wstring_view)>;

inline constexpr std::size_t kMaxHistory = 100;

// Adds a searched text at the top of the history unless an entry equal to it ignoring case exists
// (that entry keeps its place), then cuts the history to its first 100 entries.
// Returns true when the text was inserted.
bool AddToHistory(std::vector<std::wstring>& history, const std::wstring& text,
                  const CaseInsensitiveEquals& equals);

// The first row from start on whose caption, shortcut path or link target contains the text, both sides
// upper-cased; no wrap-around. Empty when no row from start on matches or the text is empty.
std::optional<std::size_t> FindNextRow(const std::vector<ShortcutRow>& rows, std::size_t start,
                                       const std::wstring& text, const UpperCaser& upper);

} // namespace orvane
