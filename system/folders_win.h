// Norrow: existence tests, special folders from the Explorer's "Shell Folders" key, system folders.
#pragma once

#include <cstdint>
#include <string>

namespace Norrow {

// True when the path's first character names a drive that answers, or is "\".
bool IsDriveReady(const std::wstring& path);
// True when the drive is ready and the path names an existing directory.
bool IsExistingDir(const std::wstring& path);
// True when the drive is ready and the path names an existing file (not a directory).
bool IsExistingFile(const std::wstring& path);
// The part of IsExistingFile that runs when the path's attributes cannot be read, with the error that
// reading them gave: false when the error says the path is not there, otherwise true when the directory
// listing shows a file (not a directory) of that name. Windows may refuse the attributes of files the system
// holds open, such as the paging file, though they exist.
bool IsListedFileAfterAttributeError(const std::wstring& path, unsigned long error);

// The per-user "Shell Folders" entry of the index (0-10) followed by "\", or empty text when the key
// cannot be opened. Throws orvane::ComError for a value that is not text.
std::wstring GetUserShellFolder(std::uint8_t index);
// The same for the all-users table (0-4) under HKEY_LOCAL_MACHINE.
std::wstring GetCommonShellFolder(std::uint8_t index);

// The Windows directory, without a trailing separator.
std::wstring GetWindowsDir();
// The directory in which the system's shell libraries are looked up, without a trailing separator.
std::wstring GetSystemDir();
// True when the 32-bit system folder is to be used by GetSystemDir.
bool HasWow64();

// The registry key under either root that holds the special folders.
inline constexpr wchar_t kShellFoldersKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

} // namespace Norrow
