// Keeps the Wine desktop alive for a whole test run. Under Wine the first program that needs the
// desktop starts its process, which inherits that program's output handles and stays a few seconds
// after the last program leaves; started from a test, it would keep the test runner waiting on the
// test's output. Started once before the tests with its output discarded, this program owns a hidden
// window until the Wine server ends, so the desktop process is its child and never the tests'.
//   orvane_desktop_keeper.exe [READY-FILE]   (the file is written once the window exists)
#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = instance;
    wc.lpszClassName = L"OrvaneDesktopKeeper";
    ::RegisterClassW(&wc);
    // A top-level window, never shown: it ties this process to the desktop. In a new prefix the desktop
    // can take longer to come up than the first window waits for, so creation is tried again.
    HWND window = nullptr;
    for (int attempt = 0; attempt < 100 && window == nullptr; ++attempt) {
        window = ::CreateWindowExW(WS_EX_TOOLWINDOW, wc.lpszClassName, L"", WS_POPUP, 0, 0, 1, 1, nullptr,
                                   nullptr, instance, nullptr);
        if (window == nullptr) {
            ::Sleep(200);
        }
    }
    if (window == nullptr) {
        return 1;
    }
    if (commandLine != nullptr && *commandLine != L'\0') {
        HANDLE ready = ::CreateFileW(commandLine, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (ready != INVALID_HANDLE_VALUE) {
            ::CloseHandle(ready);
        }
    }
    MSG message{};
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        ::DispatchMessageW(&message);
    }
    return 0;
}
