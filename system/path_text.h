// Folder part and name part of a path; the rules the item commands and actions share.
#pragma once

#include <string>
#include <string_view>

namespace orvane {

// The path up to its last "\" or ":"; that "\" is left out unless it is the first character or follows
// another "\" or a ":", so a drive root keeps its separator. Empty when the path has neither.
//   C:\Tools\x.lnk -> C:\Tools   C:\x.lnk -> C:\   C:x.lnk -> C:   \\server\share\x.lnk -> \\server\share
std::wstring FolderPart(std::wstring_view path);

// The text after the last "\" or ":"; the whole path when it has neither.
std::wstring NamePart(std::wstring_view path);

// The text with its ASCII letters in lower case; every other character unchanged.
std::wstring AsciiLower(std::wstring_view text);

// True when the text, its ASCII letters lowered, contains ".exe" anywhere.
bool ContainsExeText(std::wstring_view text);

} // namespace orvane
