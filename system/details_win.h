// Norrow: the details of a file that make up a row: its times, its version strings and its icon.
#pragma once

#include "system/file_text.h"

#include <windows.h>

#include <string>
#include <vector>

namespace Norrow {

// The local date and time a file time (UTC) stands for; day zero when no date value can hold it.
DateTime FileTimeToLocalDateTime(const FILETIME& fileTime);

// Sets modified and created to the last-write and creation times of the first directory entry that
// matches the path, as "yyyy/mm/dd hh:nn" with the user's date and time separators. When nothing matches
// both are left as they were.
void GetFileDateTexts(const std::wstring& path, std::wstring& modified, std::wstring& created);

// Appends one line per version string of the file's first listed language and code page. True when the
// file has version information with a language entry, also when no line was appended.
bool GetVersionInfoLines(const std::wstring& path, std::vector<std::wstring>& lines);

// The file's "FileVersion" string exactly as stored, or empty text.
std::wstring GetFileVersionText(const std::wstring& path);

// The icon the shell shows for the file, in the shell's icon size; icon 2 of Shell32.dll in the system
// directory when the shell has none. The caller owns the icon (DestroyIcon); null only when the fallback
// cannot be had either.
HICON GetFileIcon(const std::wstring& path);

// Icon number "number" (from 0) of an icon-bearing file, owned by the caller, or null.
HICON ExtractIconAt(const std::wstring& path, int number);

} // namespace Norrow
