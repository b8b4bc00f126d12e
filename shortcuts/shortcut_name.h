// The full name of a shortcut file from its name and the base folder it is relative to.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace orvane {

enum TSysPath : std::uint8_t { tpBlank, tpDesktop, tpStartMenu };

// The "Shell Folders" value that names the base folder, or null when the name is taken as it is.
const wchar_t* ShellFolderValueName(TSysPath base);

// Reads a "Shell Folders" value by name; an absent value reads as empty text.
using ShellFolderReader = std::function<std::wstring(const std::wstring& valueName)>;

// For tpDesktop and tpStartMenu the folder read through readFolder, then "\", then fileName; for any
// other value fileName unchanged (readFolder is not called). Nothing else is changed or checked: an
// empty folder gives "\" + fileName and a folder ending in "\" gives a doubled separator.
std::wstring FormShortcutName(TSysPath base, const std::wstring& fileName,
                              const ShellFolderReader& readFolder);

} // namespace orvane
