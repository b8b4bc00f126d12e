#include "system/launch_win.h"

#include <shellapi.h>

namespace Norrow {
namespace {

struct WindowSearch {
    const std::wstring* className;
    DWORD processId;
    HWND found;
};

BOOL CALLBACK MatchOwnWindow(HWND window, LPARAM context) {
    auto& search = *reinterpret_cast<WindowSearch*>(context);
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    if (processId != search.processId) {
        return TRUE;
    }
    // Class names are at most 256 characters long.
    wchar_t name[257] = {};
    const int length = ::GetClassNameW(window, name, 257);
    // Window classes are looked up without regard to case; so are they here.
    if (length > 0 &&
        ::CompareStringOrdinal(name, length, search.className->c_str(),
                               static_cast<int>(search.className->size()), TRUE) == CSTR_EQUAL) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

} // namespace

HWND FindOwnTopLevelWindow(const std::wstring& className) {
    WindowSearch search{&className, ::GetCurrentProcessId(), nullptr};
    ::EnumWindows(MatchOwnWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindMainFormWindow() {
    return FindOwnTopLevelWindow(L"TMainForm");
}

int ShellOpen(const std::wstring& file, const std::wstring& parameters, const std::wstring& directory,
              int show) {
    // No verb: the shell takes the file's default action. Empty texts go as empty strings, not as null.
    HINSTANCE result = ::ShellExecuteW(FindMainFormWindow(), nullptr, file.c_str(), parameters.c_str(),
                                       directory.c_str(), show);
    return static_cast<int>(reinterpret_cast<INT_PTR>(result));
}

bool ShellRunAsAdmin(HWND window, const std::wstring& file, const std::wstring& parameters) {
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    // Finish the work before returning, and let the shell show no error dialogs of its own.
    info.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    info.hwnd = window;
    info.lpVerb = L"runas";
    info.lpFile = file.c_str();
    info.lpParameters = parameters.c_str();
    info.lpDirectory = nullptr;
    info.nShow = SW_SHOWNORMAL;
    return ::ShellExecuteExW(&info) != FALSE;
}

bool IsOSVistaOrLater() {
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!::GetVersionExW(&info)) {
        return false;
    }
#pragma GCC diagnostic pop
    return info.dwMajorVersion >= 6;
}

} // namespace Norrow
