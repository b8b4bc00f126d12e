#include "catalogue/scan_win.h"

#include "shortcuts/make_shortcuts_win.h"
#include "system/details_win.h"
#include "system/file_text.h"
#include "system/folders_win.h"

#include <windows.h>

#include <exception>

namespace orvane {
namespace {

constexpr std::uint8_t kUserStartMenuIndex = 8;
constexpr std::uint8_t kCommonStartMenuIndex = 3;

std::wstring EnvironmentValue(const wchar_t* name) {
    DWORD size = ::GetEnvironmentVariableW(name, nullptr, 0);
    if (size == 0) {
        return {};
    }
    std::wstring value(size, L'\0');
    DWORD written = ::GetEnvironmentVariableW(name, value.data(), size);
    value.resize(written < size ? written : 0);
    return value;
}

// What a scan reads once for all the shortcuts that share it.
struct ScanMemos {
    ScanMemo<std::wstring> versions;
    ScanMemo<UniqueIcon> icons;
};

// Every shortcut file below a Start Menu folder; none when the folder was not found.
std::vector<std::wstring> StartMenuFiles(const std::wstring& folder) {
    return folder.empty() ? std::vector<std::wstring>() : CollectLinkFiles(folder, ListFolder);
}

} // namespace

std::vector<DirEntry> ListFolder(const std::wstring& folder) {
    std::vector<DirEntry> entries;
    WIN32_FIND_DATAW data{};
    UniqueFind find(::FindFirstFileExW(JoinPath(folder, L"*").c_str(), FindExInfoBasic, &data,
                                       FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH));
    if (!find) {
        return entries;
    }
    do {
        entries.push_back({data.cFileName, (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
    } while (::FindNextFileW(find.get(), &data));
    return entries;
}

std::wstring UserStartMenuFolder() {
    std::wstring folder = Norrow::GetUserShellFolder(kUserStartMenuIndex);
    return IsScannableFolder(folder) && Norrow::IsExistingDir(folder) ? folder : std::wstring();
}

std::wstring CommonStartMenuFolder() {
    std::wstring folder = Norrow::GetCommonShellFolder(kCommonStartMenuIndex);
    if (!IsScannableFolder(folder) || !Norrow::IsExistingDir(folder)) {
        std::wstring base = EnvironmentValue(L"ALLUSERSPROFILE");
        folder = base.empty() ? std::wstring() : base + L"\\Microsoft\\Windows\\Start Menu";
    }
    return IsScannableFolder(folder) && Norrow::IsExistingDir(folder) ? folder : std::wstring();
}

ShortcutRow ReadShortcutRow(TMakeShortCuts& reader, const std::wstring& path,
                            ScanMemo<std::wstring>* versions) {
    // Each row starts from empty times, so a file that vanished never shows another file's times.
    std::wstring modified;
    std::wstring created;
    Norrow::GetFileDateTexts(path, modified, created);

    reader.FFileName = path;
    reader.SCLoad();

    ShortcutRow row;
    row.caption = Norrow::GetFileTitle(path);
    row.subItems[siFullPath] = path;
    row.subItems[siTarget] = Norrow::TrimAtNul(reader.FExecFile);
    row.subItems[siDescription] = Norrow::TrimAtNul(reader.FDescription);
    row.subItems[siModified] = std::move(modified);
    row.subItems[siCreated] = std::move(created);
    const std::wstring& target = row.subItems[siTarget];
    row.subItems[siVersion] = versions == nullptr
                                  ? Norrow::GetFileVersionText(target)
                                  : versions->Get(target, [&] { return Norrow::GetFileVersionText(target); });
    return row;
}

HICON ReadShortcutIcon(const TMakeShortCuts& reader, const std::wstring& path, ScanMemo<UniqueIcon>& icons,
                       UniqueIcon& unshared) {
    const std::wstring key = IconSourceKey(Norrow::TrimAtNul(reader.FIconFile), reader.FIconIdx,
                                           Norrow::TrimAtNul(reader.FExecFile));
    if (key.empty()) {
        unshared.reset(Norrow::GetFileIcon(path));
        return unshared.get();
    }
    return icons.Get(key, [&] { return UniqueIcon(Norrow::GetFileIcon(path)); }).get();
}

void ScanStartMenus(TMakeShortCuts& reader, const ScanCallbacks& callbacks) {
    // Both file lists are built before the first row is added, so the receiver learns the count first.
    // A failure to find the all-users files still comes after the user's rows, as it would when the
    // folders were walked one after the other.
    const std::vector<std::wstring> user = StartMenuFiles(UserStartMenuFolder());
    std::vector<std::wstring> common;
    std::exception_ptr commonFailure;
    try {
        common = StartMenuFiles(CommonStartMenuFolder());
    } catch (...) {
        commonFailure = std::current_exception();
    }
    if (callbacks.expect) {
        callbacks.expect(user.size() + common.size());
    }
    ScanMemos memos;
    auto stopped = [&] { return callbacks.stopped && callbacks.stopped(); };
    auto readAll = [&](const std::vector<std::wstring>& files) {
        for (const std::wstring& path : files) {
            if (stopped()) {
                return;
            }
            callbacks.progress(path);
            ShortcutRow row = ReadShortcutRow(reader, path, &memos.versions);
            UniqueIcon unshared;
            HICON icon = ReadShortcutIcon(reader, path, memos.icons, unshared);
            callbacks.addRow(std::move(row), icon);
        }
    };
    readAll(user);
    if (stopped()) {
        return;
    }
    if (commonFailure) {
        std::rethrow_exception(commonFailure);
    }
    readAll(common);
}

} // namespace orvane
