#include "app/data_folder_win.h"

#include "system/folders_win.h"

#include <windows.h>
#include <shlobj.h>

#include <array>

namespace orvane {

std::wstring DataFolder;
std::wstring CommonDataFolder;

namespace {

constexpr std::array<int, 6> kShellFolders = {CSIDL_PERSONAL,       CSIDL_APPDATA,    CSIDL_LOCAL_APPDATA,
                                              CSIDL_COMMON_APPDATA, CSIDL_MYPICTURES, CSIDL_COMMON_DOCUMENTS};

// Kept open for the life of the process; the system removes the name when the last holder ends.
HANDLE instanceMutex = nullptr;

} // namespace

std::wstring GetShellFolderPath(int index) {
    if (index < 0 || index >= static_cast<int>(kShellFolders.size())) {
        return {};
    }
    wchar_t buffer[MAX_PATH + 1] = {};
    if (FAILED(::SHGetFolderPathW(nullptr, kShellFolders[index], nullptr, SHGFP_TYPE_CURRENT, buffer))) {
        // Never build a path from text the shell did not write.
        return {};
    }
    buffer[MAX_PATH] = L'\0';
    return std::wstring(buffer);
}

bool PrepareDataFolder(const std::wstring& name, bool allUsers) {
    std::wstring shellFolder = GetShellFolderPath(allUsers ? 3 : 1);
    if (shellFolder.empty()) {
        // Without the shell's folder "\Norrow Project" would name a folder at the drive's root.
        return false;
    }
    std::wstring base = shellFolder + L"\\Norrow Project";
    if (!Norrow::IsExistingDir(base)) {
        ::CreateDirectoryW(base.c_str(), nullptr);
    }
    std::wstring program = base + L"\\" + name;
    if (!Norrow::IsExistingDir(program)) {
        ::CreateDirectoryW(program.c_str(), nullptr);
    }
    std::wstring& stored = allUsers ? CommonDataFolder : DataFolder;
    stored = program + L"\\";
    return Norrow::IsExistingDir(stored);
}

bool ClaimSingleInstance() {
    // Creating and testing in one call leaves no gap in which two instances could both start.
    HANDLE mutex = ::CreateMutexW(nullptr, FALSE, kInstanceMutexName);
    DWORD error = ::GetLastError();
    if (mutex == nullptr) {
        // The name exists but cannot be opened (another user's session): another instance runs.
        return false;
    }
    if (error == ERROR_ALREADY_EXISTS) {
        ::CloseHandle(mutex);
        return false;
    }
    instanceMutex = mutex;
    return true;
}

} // namespace orvane
