#include "system/folders_win.h"

#include "system/com_error_win.h"
#include "system/handles_win.h"

#include <windows.h>

#include <array>
#include <vector>

namespace Norrow {
namespace {

constexpr std::array<const wchar_t*, 11> kUserFolders = {L"Desktop",    L"Favorites", L"Fonts",    L"NetHood",
                                                         L"Personal",   L"Programs",  L"Recent",   L"SendTo",
                                                         L"Start Menu", L"Startup",   L"Templates"};

constexpr std::array<const wchar_t*, 5> kCommonFolders = {
    L"Common Desktop", L"Common Favorites", L"Common Programs", L"Common Start Menu", L"Common Startup"};

bool IsOneOf(DWORD error, std::initializer_list<DWORD> codes) {
    for (DWORD code : codes) {
        if (error == code) {
            return true;
        }
    }
    return false;
}

// Whether data of this type and size is taken as text. Empty data of any type reads as empty text;
// non-empty data that is not text is an error.
bool HoldsText(DWORD type, DWORD bytes) {
    if (bytes == 0) {
        return false;
    }
    if (type != REG_SZ && type != REG_EXPAND_SZ) {
        throw orvane::ComError(HRESULT_FROM_WIN32(ERROR_INVALID_DATATYPE),
                               "Reading a Shell Folders value that is not text");
    }
    return true;
}

// Reads a text value of an open key; a missing or empty value gives empty text. The data is read whole,
// also when its size is odd (the last byte then fills half a character). A value that keeps growing
// between the size query and the read gives empty text after a few tries rather than a loop.
std::wstring ReadTextValue(HKEY key, const wchar_t* name) {
    constexpr int kAttempts = 4;
    DWORD type = 0;
    DWORD bytes = 0;
    LONG status = ::RegQueryValueExW(key, name, nullptr, &type, nullptr, &bytes);
    std::vector<wchar_t> buffer;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        if ((status != ERROR_SUCCESS && status != ERROR_MORE_DATA) || !HoldsText(type, bytes)) {
            return {};
        }
        // Room for every byte, rounded up to whole characters, and a closing NUL of our own.
        const std::size_t characters = (std::size_t{bytes} + sizeof(wchar_t) - 1) / sizeof(wchar_t);
        buffer.assign(characters + 1, L'\0');
        bytes = static_cast<DWORD>(characters * sizeof(wchar_t));
        status =
            ::RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &bytes);
        if (status == ERROR_SUCCESS) {
            if (!HoldsText(type, bytes)) {
                return {};
            }
            std::wstring text(buffer.data(), (std::size_t{bytes} + sizeof(wchar_t) - 1) / sizeof(wchar_t));
            return text.substr(0, text.find(L'\0'));
        }
        // ERROR_MORE_DATA: the value grew in between, and bytes holds its new size.
    }
    return {};
}

std::wstring ReadShellFolder(HKEY root, const wchar_t* valueName) {
    orvane::UniqueKey key;
    if (::RegOpenKeyExW(root, kShellFoldersKey, 0, KEY_ALL_ACCESS, key.put()) != ERROR_SUCCESS) {
        return {};
    }
    return ReadTextValue(key.get(), valueName) + L"\\";
}

std::wstring TextFromBuffer(const wchar_t* buffer) {
    return std::wstring(buffer);
}

} // namespace

bool IsDriveReady(const std::wstring& path) {
    if (path.empty()) {
        return false;
    }
    wchar_t first = path[0];
    if (first >= L'a' && first <= L'z') {
        first = static_cast<wchar_t>(first - L'a' + L'A');
    }
    if (first >= L'A' && first <= L'Z') {
        const wchar_t root[] = {first, L':', L'\\', L'\0'};
        orvane::ErrorModeScope errorMode(SEM_FAILCRITICALERRORS);
        ULARGE_INTEGER total{};
        return ::GetDiskFreeSpaceExW(root, nullptr, &total, nullptr) != FALSE;
    }
    return first == L'\\';
}

bool IsExistingDir(const std::wstring& path) {
    if (!IsDriveReady(path)) {
        return false;
    }
    DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        DWORD error = ::GetLastError();
        return !IsOneOf(error,
                        {ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND, ERROR_NOT_READY, ERROR_BAD_NETPATH,
                         ERROR_BAD_NET_NAME, ERROR_INVALID_NAME, ERROR_BAD_PATHNAME});
    }
    bool isDir = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
        return isDir;
    }
    // A link or junction counts only when its target can be reached.
    orvane::UniqueFile target(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                            OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    return target && isDir;
}

bool IsListedFileAfterAttributeError(const std::wstring& path, unsigned long error) {
    if (IsOneOf(error, {ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND, ERROR_INVALID_NAME})) {
        return false;
    }
    // Locked or access denied: the directory listing still tells whether the file is there.
    WIN32_FIND_DATAW data{};
    orvane::UniqueFind find(::FindFirstFileW(path.c_str(), &data));
    return find && (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool IsExistingFile(const std::wstring& path) {
    if (!IsDriveReady(path)) {
        return false;
    }
    DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return IsListedFileAfterAttributeError(path, ::GetLastError());
    }
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
        return (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return false;
    }
    orvane::UniqueFile target(
        ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    return target || ::GetLastError() == ERROR_SHARING_VIOLATION;
}

std::wstring GetUserShellFolder(std::uint8_t index) {
    if (index >= kUserFolders.size()) {
        return {};
    }
    return ReadShellFolder(HKEY_CURRENT_USER, kUserFolders[index]);
}

std::wstring GetCommonShellFolder(std::uint8_t index) {
    if (index >= kCommonFolders.size()) {
        return {};
    }
    return ReadShellFolder(HKEY_LOCAL_MACHINE, kCommonFolders[index]);
}

std::wstring GetWindowsDir() {
    wchar_t buffer[MAX_PATH + 1] = {};
    ::GetWindowsDirectoryW(buffer, MAX_PATH);
    return TextFromBuffer(buffer);
}

bool HasWow64() {
    HMODULE kernel = ::GetModuleHandleW(L"Kernel32.dll");
    if (kernel != nullptr && ::GetProcAddress(kernel, "IsWow64Process") != nullptr) {
        return true;
    }
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    ::GetVersionExW(&info);
#pragma GCC diagnostic pop
    return info.dwMajorVersion > 5 || (info.dwMajorVersion == 5 && info.dwMinorVersion >= 2);
}

std::wstring GetSystemDir() {
    if (HasWow64()) {
        return GetWindowsDir() + L"\\SysWOW64";
    }
    wchar_t buffer[MAX_PATH + 1] = {};
    ::GetSystemDirectoryW(buffer, MAX_PATH);
    return TextFromBuffer(buffer);
}

} // namespace Norrow
