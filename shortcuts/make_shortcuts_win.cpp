#include "shortcuts/make_shortcuts_win.h"

#include "shortcuts/link_text.h"
#include "system/com_error_win.h"
#include "system/handles_win.h"
#include "system/path_text.h"

#include <windows.h>
#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <wrl/client.h>

#include <utility>
#include <vector>

namespace orvane {
namespace {

using Microsoft::WRL::ComPtr;

constexpr wchar_t kExplorerKey[] = L"Software\\MicroSoft\\Windows\\CurrentVersion\\Explorer";
constexpr wchar_t kShellFoldersSubkey[] = L"Shell Folders";

// A text value of the key; an absent key or value reads as empty text, a value of another type throws.
std::wstring ReadShellFolderValue(HKEY explorer, const std::wstring& valueName) {
    if (explorer == nullptr) {
        return {};
    }
    UniqueKey folders;
    if (::RegOpenKeyExW(explorer, kShellFoldersSubkey, 0, KEY_QUERY_VALUE, folders.put()) != ERROR_SUCCESS) {
        return {};
    }
    DWORD type = 0;
    DWORD bytes = 0;
    LONG status = ::RegQueryValueExW(folders.get(), valueName.c_str(), nullptr, &type, nullptr, &bytes);
    if (status != ERROR_SUCCESS) {
        return {};
    }
    if (type != REG_SZ && type != REG_EXPAND_SZ) {
        throw ComError(HRESULT_FROM_WIN32(ERROR_INVALID_DATATYPE),
                       "Reading a Shell Folders value that is not text");
    }
    // The value may grow between the calls; read again with the size it reports until it fits.
    std::vector<wchar_t> buffer;
    do {
        buffer.assign(bytes / sizeof(wchar_t) + 1, L'\0');
        bytes = static_cast<DWORD>((buffer.size() - 1) * sizeof(wchar_t));
        status = ::RegQueryValueExW(folders.get(), valueName.c_str(), nullptr, &type,
                                    reinterpret_cast<BYTE*>(buffer.data()), &bytes);
    } while (status == ERROR_MORE_DATA);
    if (status != ERROR_SUCCESS) {
        return {};
    }
    return std::wstring(buffer.data());
}

// Opens (creating when absent) the Explorer key at every call, whatever the base, and closes it before
// returning, also when a value of the wrong type throws. A key that cannot be opened reads as empty.
std::wstring FormName(TSysPath base, const std::wstring& fileName) {
    UniqueKey explorer;
    ::RegCreateKeyExW(HKEY_CURRENT_USER, kExplorerKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, explorer.put(),
                      nullptr);
    return FormShortcutName(base, fileName, [&](const std::wstring& valueName) {
        return ReadShellFolderValue(explorer.get(), valueName);
    });
}

struct ShellLink {
    ComPtr<IShellLinkW> link;
    ComPtr<IPersistFile> file;
};

ShellLink CreateShellLink() {
    ShellLink result;
    ThrowIfFailed(
        ::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&result.link)),
        "Creating the shell link object");
    ThrowIfFailed(result.link.As(&result.file), "Obtaining IPersistFile of the shell link object");
    return result;
}

// Writes the link to a fresh file beside the target and moves it over the target, so a failed write
// never leaves a cut-short shortcut in place of a good one. Where no file can be made beside it (a
// missing folder, or one too long for a temporary name), the link is written to the target directly.
void SaveReplacing(IPersistFile* file, const std::wstring& name) {
    std::wstring folder = FolderPart(name);
    if (folder.empty()) {
        folder = L".";
    }
    wchar_t temporary[MAX_PATH + 1] = {};
    if (::GetTempFileNameW(folder.c_str(), L"lnk", 0, temporary) == 0) {
        file->Save(name.c_str(), FALSE);
        return;
    }
    if (FAILED(file->Save(temporary, FALSE)) ||
        !::MoveFileExW(temporary, name.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        ::DeleteFileW(temporary);
    }
}

} // namespace

void ShowShortcutErrorBox(const std::wstring& message) {
    ::MessageBoxW(::GetActiveWindow(), message.c_str(), L"Orvane", MB_OK);
}

void TMakeShortCuts::SetErrorNotice(ShortcutErrorNotice notice) {
    errorNotice_ = notice ? std::move(notice) : ShortcutErrorNotice(ShowShortcutErrorBox);
}

std::wstring TMakeShortCuts::GetLoadName() const {
    return FormName(FSystemPath, FFileName);
}

std::wstring TMakeShortCuts::GetSaveName() const {
    return FormName(FSystemPath, FFileName);
}

void TMakeShortCuts::SCLoad() {
    ShellLink shell = CreateShellLink();
    IShellLinkW* link = shell.link.Get();
    const std::wstring name = GetLoadName();

    // A file that cannot be loaded leaves the link empty, and the reads below report an empty link.
    shell.file->Load(name.c_str(), STGM_READ);

    FDescription = ReadWholeText(
        [&](wchar_t* buffer, int capacity) { return SUCCEEDED(link->GetDescription(buffer, capacity)); });
    FExecFile = ReadWholeText([&](wchar_t* buffer, int capacity) {
        WIN32_FIND_DATAW found{};
        return SUCCEEDED(link->GetPath(buffer, capacity, &found, SLGP_UNCPRIORITY));
    });
    FArguments = ReadWholeText(
        [&](wchar_t* buffer, int capacity) { return SUCCEEDED(link->GetArguments(buffer, capacity)); });

    int showCmd = 0;
    link->GetShowCmd(&showCmd);
    if (const auto mode = ShowModeFromStored(showCmd)) {
        FShowCmd = *mode;
    } else {
        errorNotice_(kShortcutLoadError);
    }

    FWorkDir = ReadWholeText([&](wchar_t* buffer, int capacity) {
        return SUCCEEDED(link->GetWorkingDirectory(buffer, capacity));
    });
    int iconIndex = 0;
    FIconFile = ReadWholeText([&](wchar_t* buffer, int capacity) {
        iconIndex = 0;
        return SUCCEEDED(link->GetIconLocation(buffer, capacity, &iconIndex));
    });
    FIconIdx = iconIndex;
}

void TMakeShortCuts::SCSave() {
    ShellLink shell = CreateShellLink();
    IShellLinkW* link = shell.link.Get();
    link->SetDescription(FDescription.c_str());
    link->SetPath(FExecFile.c_str());
    link->SetArguments(FArguments.c_str());
    link->SetShowCmd(StoredShowCmd(FShowCmd));
    link->SetWorkingDirectory(FWorkDir.c_str());
    link->SetIconLocation(FIconFile.c_str(), FIconIdx);
    const std::wstring name = GetSaveName();

    SaveReplacing(shell.file.Get(), name);
}

} // namespace orvane
