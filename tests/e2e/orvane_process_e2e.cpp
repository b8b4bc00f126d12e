#include "tests/e2e/orvane_process_e2e.h"

#include <stdexcept>
#include <thread>

namespace orvane::e2e {
namespace {

constexpr wchar_t kUserShellFolders[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
constexpr wchar_t kMainClass[] = L"TMainForm";

} // namespace

std::wstring OrvaneExePath() {
    return test::ExeFolder() + L"\\Orvane.exe";
}

IsolatedProfile::IsolatedProfile()
    : redirect_(HKEY_CURRENT_USER, kUserShellFolders, L"AppData", appData_.path(), REG_EXPAND_SZ) {}

OrvaneProcess::OrvaneProcess(bool suspended) {
    std::wstring exe = OrvaneExePath();
    std::wstring commandLine = L"\"" + exe + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                          suspended ? CREATE_SUSPENDED : 0, nullptr, nullptr, &startup, &info)) {
        throw std::runtime_error("cannot start Orvane.exe");
    }
    process_.reset(info.hProcess);
    thread_.reset(info.hThread);
    id_ = info.dwProcessId;
}

OrvaneProcess::~OrvaneProcess() {
    if (process_ && ::WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) {
        ::TerminateProcess(process_.get(), 99);
        ::WaitForSingleObject(process_.get(), 5000);
    }
}

void OrvaneProcess::Resume() {
    ::ResumeThread(thread_.get());
}

std::vector<HWND> WindowsOf(DWORD processId, const wchar_t* className) {
    struct Search {
        DWORD id;
        const wchar_t* className;
        std::vector<HWND> found;
    } search{processId, className, {}};
    ::EnumWindows(
        [](HWND hwnd, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            DWORD owner = 0;
            ::GetWindowThreadProcessId(hwnd, &owner);
            wchar_t cls[64] = {};
            ::GetClassNameW(hwnd, cls, 64);
            if (owner == s->id && std::wstring(cls) == s->className) {
                s->found.push_back(hwnd);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::vector<HWND> MainWindowsOf(DWORD processId) {
    return WindowsOf(processId, kMainClass);
}

HWND OrvaneProcess::WaitForMessageBox(std::chrono::milliseconds timeout) const {
    auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline) {
        for (HWND box : WindowsOf(id_, L"#32770")) {
            if (::IsWindowVisible(box)) {
                return box;
            }
        }
        if (::WaitForSingleObject(process_.get(), 50) == WAIT_OBJECT_0) {
            return nullptr;
        }
    }
    return nullptr;
}

HWND OrvaneProcess::WaitForMainWindowPastPrompt(std::chrono::milliseconds timeout) const {
    HWND window = WaitForMainWindow(timeout);
    if (window == nullptr) {
        return nullptr;
    }
    if (HWND box = WaitForMessageBox(timeout)) {
        if (MessageBoxText(box) != L"データを取得してください。") {
            return nullptr;
        }
        PressOk(box);
        auto deadline = std::chrono::steady_clock::now() + timeout;
        while (::IsWindow(box) && std::chrono::steady_clock::now() < deadline) {
            ::Sleep(20);
        }
    }
    return window;
}

std::wstring MessageBoxText(HWND box) {
    // The message is the static control with the identifier 0xFFFF.
    wchar_t text[512] = {};
    ::GetDlgItemTextW(box, 0xFFFF, text, 512);
    return text;
}

std::wstring MessageBoxTitle(HWND box) {
    wchar_t text[256] = {};
    ::GetWindowTextW(box, text, 256);
    return text;
}

void PressOk(HWND box) {
    ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

HWND OrvaneProcess::MainWindow() const {
    for (HWND hwnd : MainWindowsOf(id_)) {
        if (::IsWindowVisible(hwnd)) {
            return hwnd;
        }
    }
    return nullptr;
}

HWND OrvaneProcess::WaitForMainWindow(std::chrono::milliseconds timeout) const {
    auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline) {
        if (HWND hwnd = MainWindow()) {
            return hwnd;
        }
        if (::WaitForSingleObject(process_.get(), 50) == WAIT_OBJECT_0) {
            return nullptr;
        }
    }
    return nullptr;
}

bool OrvaneProcess::WaitForExit(std::chrono::milliseconds timeout) const {
    return ::WaitForSingleObject(process_.get(), static_cast<DWORD>(timeout.count())) == WAIT_OBJECT_0;
}

DWORD OrvaneProcess::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    ::GetExitCodeProcess(process_.get(), &code);
    return code;
}

bool OrvaneProcess::Close(std::chrono::milliseconds timeout) {
    if (HWND hwnd = MainWindow()) {
        ::PostMessageW(hwnd, WM_CLOSE, 0, 0);
    }
    return WaitForExit(timeout);
}

} // namespace orvane::e2e
