// Starting Orvane.exe as a user would, and finding its windows from outside the process.
#pragma once

#include "system/handles_win.h"
#include "tests/support/test_support_win.h"

#include <windows.h>

#include <chrono>
#include <string>
#include <vector>

namespace orvane::e2e {

// The program under test, which the build puts beside the driver.
std::wstring OrvaneExePath();

// Points the user's roaming application data folder at a temporary folder for the life of the object,
// so every started instance keeps its data folder there.
class IsolatedProfile {
public:
    IsolatedProfile();
    const std::wstring& appData() const { return appData_.path(); }
    std::wstring dataFolder() const { return appData_ / L"Norrow Project\\Orvane\\"; }

private:
    test::TempDir appData_;
    test::RegistryValueOverride redirect_;
};

// One started Orvane.exe process.
class OrvaneProcess {
public:
    // Starts the program; with suspended true it waits for Resume before running.
    explicit OrvaneProcess(bool suspended = false);
    OrvaneProcess(OrvaneProcess&&) = default;
    ~OrvaneProcess();

    void Resume();
    DWORD id() const { return id_; }
    HANDLE handle() const { return process_.get(); }
    // The process's visible top-level window of the main window class, or null.
    HWND MainWindow() const;
    // Waits until the main window appears; null on time-out or when the process ends first.
    HWND WaitForMainWindow(std::chrono::milliseconds timeout = std::chrono::seconds(30)) const;
    // Waits for the process to end; true when it ended within the time.
    bool WaitForExit(std::chrono::milliseconds timeout = std::chrono::seconds(30)) const;
    DWORD ExitCode() const;
    // Waits for a message box of the process; null on time-out.
    HWND WaitForMessageBox(std::chrono::milliseconds timeout = std::chrono::seconds(30)) const;
    // Waits for the main window and answers the "please scan" prompt that an empty list brings.
    HWND WaitForMainWindowPastPrompt(std::chrono::milliseconds timeout = std::chrono::seconds(30)) const;
    // Asks the main window to close, as its close box does, and waits for the process to end.
    bool Close(std::chrono::milliseconds timeout = std::chrono::seconds(30));

private:
    UniqueHandle process_;
    UniqueHandle thread_;
    DWORD id_ = 0;
};

// The text and the title of a message box, and pressing its OK button.
std::wstring MessageBoxText(HWND box);
std::wstring MessageBoxTitle(HWND box);
void PressOk(HWND box);

// Every top-level window of the given class that belongs to the process.
std::vector<HWND> WindowsOf(DWORD processId, const wchar_t* className);
// Every top-level window of the main window class that belongs to the process.
std::vector<HWND> MainWindowsOf(DWORD processId);

} // namespace orvane::e2e
