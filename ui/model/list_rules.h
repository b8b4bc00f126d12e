// What a row of the list means for the window around it: the commands the selected row allows and
// the status text it shows, and the row that typing in the list goes to.
#pragma once

#include "catalogue/shortcut_row.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

// The file system as the rules see it.
struct PathProbe {
    std::function<bool(const std::wstring&)> isFile;
    std::function<bool(const std::wstring&)> isFolder;
};

struct RowCommands {
    std::wstring status; // target and description, or nothing without a row
    bool run = false;
    bool runAsAdmin = false;
    bool openFolder = false;
    bool openTargetFolder = false;
};

// The commands for the selected row, or for no row (null): running needs the shortcut file, running
// as administrator also a target that names an ".exe", and each folder command its folder.
RowCommands CommandsForRow(const ShortcutRow* row, const PathProbe& probe);

// Type-ahead: the first row from `start` on, wrapping round, whose caption begins with the typed
// text, both upper-cased by `upper`.
std::optional<std::size_t> FindRowByTypedText(const std::vector<ShortcutRow>& rows, std::size_t start,
                                              std::wstring_view typed,
                                              const std::function<std::wstring(std::wstring_view)>& upper);

} // namespace orvane
