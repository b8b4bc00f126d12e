#include "system/details_win.h"

#include "system/folders_win.h"
#include "system/handles_win.h"
#include "system/late_libraries_win.h"

#include <shellapi.h>

#include <cwchar>

namespace Norrow {
namespace {

// A text setting of the user's default locale, such as its date separator; empty when unreadable.
std::wstring UserLocaleText(LCTYPE type) {
    int length = ::GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, type, nullptr, 0);
    if (length <= 0) {
        return {};
    }
    std::wstring text(static_cast<std::size_t>(length), L'\0');
    length = ::GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, type, text.data(), length);
    if (length <= 0) {
        return {};
    }
    return TrimAtNul(text);
}

std::wstring TimeText(const FILETIME& fileTime, const std::wstring& dateSeparator,
                      const std::wstring& timeSeparator) {
    return FormatTimeText(FileTimeToLocalDateTime(fileTime), dateSeparator, timeSeparator);
}

// Reads one value of the version information; false when the block holds no such value.
bool QueryVersionValue(const std::vector<BYTE>& info, const std::wstring& subBlock, void*& value,
                       UINT& length) {
    value = nullptr;
    length = 0;
    return orvane::late::VerQueryValueW(info.data(), subBlock.c_str(), &value, &length) != FALSE &&
           value != nullptr;
}

} // namespace

DateTime FileTimeToLocalDateTime(const FILETIME& fileTime) {
    FILETIME local{};
    SYSTEMTIME fields{};
    if (!::FileTimeToLocalFileTime(&fileTime, &local) || !::FileTimeToSystemTime(&local, &fields)) {
        return kDayZero;
    }
    return MakeDateTime(fields.wYear, fields.wMonth, fields.wDay, fields.wHour, fields.wMinute,
                        fields.wSecond, fields.wMilliseconds);
}

void GetFileDateTexts(const std::wstring& path, std::wstring& modified, std::wstring& created) {
    WIN32_FIND_DATAW entry{};
    orvane::UniqueFind find(::FindFirstFileW(path.c_str(), &entry));
    if (!find) {
        return;
    }
    const std::wstring dateSeparator = UserLocaleText(LOCALE_SDATE);
    const std::wstring timeSeparator = UserLocaleText(LOCALE_STIME);
    modified = TimeText(entry.ftLastWriteTime, dateSeparator, timeSeparator);
    created = TimeText(entry.ftCreationTime, dateSeparator, timeSeparator);
}

bool GetVersionInfoLines(const std::wstring& path, std::vector<std::wstring>& lines) {
    DWORD ignored = 0;
    const DWORD size = orvane::late::GetFileVersionInfoSizeW(path.c_str(), &ignored);
    if (size == 0) {
        return false;
    }
    std::vector<BYTE> info(size);
    if (!orvane::late::GetFileVersionInfoW(path.c_str(), 0, size, info.data())) {
        return false;
    }
    void* table = nullptr;
    UINT tableBytes = 0;
    if (!QueryVersionValue(info, L"\\VarFileInfo\\Translation", table, tableBytes) ||
        tableBytes < 2 * sizeof(WORD)) {
        return false;
    }
    // Only the first language and code page are used, even when the file lists several.
    const auto* words = static_cast<const WORD*>(table);
    const std::wstring prefix = StringTablePrefix(words[0], words[1]);
    for (const std::wstring& name : VersionStringNames()) {
        void* value = nullptr;
        UINT length = 0;
        if (!QueryVersionValue(info, prefix + name, value, length)) {
            continue;
        }
        // The length counts characters; the value ends at its first NUL in any case.
        const auto* text = static_cast<const wchar_t*>(value);
        lines.push_back(FormatVersionLine(name, std::wstring_view(text, ::wcsnlen(text, length))));
    }
    return true;
}

std::wstring GetFileVersionText(const std::wstring& path) {
    std::vector<std::wstring> lines;
    if (!GetVersionInfoLines(path, lines) || lines.empty()) {
        return {};
    }
    return FileVersionFromLines(lines);
}

HICON GetFileIcon(const std::wstring& path) {
    SHFILEINFOW info{};
    if (::SHGetFileInfoW(path.c_str(), 0, &info, sizeof info, SHGFI_ICON | SHGFI_SHELLICONSIZE) != 0 &&
        info.hIcon != nullptr) {
        return info.hIcon;
    }
    return ExtractIconAt(GetSystemDir() + L"\\Shell32.dll", 2);
}

HICON ExtractIconAt(const std::wstring& path, int number) {
    if (number < 0) {
        // A negative number would ask for a resource identifier, not a position.
        return nullptr;
    }
    HICON icon = ::ExtractIconW(::GetModuleHandleW(nullptr), path.c_str(), static_cast<UINT>(number));
    // ExtractIconW gives 1 for a file that is no executable, library or icon file: that is no icon either.
    if (icon == reinterpret_cast<HICON>(1)) {
        return nullptr;
    }
    return icon;
}

} // namespace Norrow
