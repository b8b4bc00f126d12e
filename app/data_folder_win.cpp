#include "app/data_folder_win.h"

#include "system/folders_win.h"
#include "system/handles_win.h"

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

// What the attempt to create the instance mutex says.
enum class InstanceClaim {
    icClaimed,         // this process created the mutex and is the first instance
    icAnotherInstance, // a mutex of that name exists, whether or not this process may open it
    icNoMarker,        // the name cannot hold the mutex (another kind of object has it): start unmarked
};

// Reads the result of CreateMutexW: whether it gave a handle, and the last error after it.
InstanceClaim ReadInstanceMutexResult(bool gotHandle, DWORD error) {
    if (gotHandle) {
        return error == ERROR_ALREADY_EXISTS ? InstanceClaim::icAnotherInstance : InstanceClaim::icClaimed;
    }
    // A mutex of that name that this process may not open (an instance running elevated or as another
    // user) still marks an instance. Any other failure, above all the name being held by an object of
    // another kind (ERROR_INVALID_HANDLE), says nothing about an instance and must not stop every start.
    return error == ERROR_ACCESS_DENIED ? InstanceClaim::icAnotherInstance : InstanceClaim::icNoMarker;
}

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
    UniqueHandle mutex(::CreateMutexW(nullptr, FALSE, kInstanceMutexName));
    const DWORD error = ::GetLastError();
    switch (ReadInstanceMutexResult(static_cast<bool>(mutex), error)) {
    case InstanceClaim::icClaimed:
        instanceMutex = mutex.release();
        return true;
    case InstanceClaim::icAnotherInstance:
        return false;
    case InstanceClaim::icNoMarker:
        // Runs without a marker: while that object holds the name, a second start is not stopped.
        break;
    }
    return true;
}

} // namespace orvane
