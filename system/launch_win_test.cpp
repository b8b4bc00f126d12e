#include "system/launch_win.h"

#include "system/folders_win.h"
#include "system/handles_win.h"
#include "tests/support/test_support_win.h"

#include <gtest/gtest.h>
#include <shobjidl.h>
#include <wrl/client.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <thread>
#include <vector>

namespace Norrow {
namespace {

using orvane::test::TempDir;

std::wstring EchoFixture() {
    return orvane::test::ExeFolder() + L"\\sys_fixture_echo.exe";
}

// The UTF-16LE report the echo fixture writes, split into its lines; empty when it did not come in time.
std::vector<std::wstring> WaitForReport(const std::wstring& path) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!IsExistingFile(path)) {
        if (std::chrono::steady_clock::now() > deadline) {
            return {};
        }
        ::Sleep(50);
    }
    const std::string bytes = orvane::test::ReadFileBytes(path);
    std::wstring text(bytes.size() / sizeof(wchar_t), L'\0');
    std::memcpy(text.data(), bytes.data(), text.size() * sizeof(wchar_t));
    std::vector<std::wstring> lines;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = text.find(L'\n', start);
        lines.push_back(text.substr(start, end - start));
        start = end == std::wstring::npos ? text.size() : end + 1;
    }
    return lines;
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
    return ::CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                  static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

std::wstring Quoted(const std::wstring& text) {
    return L"\"" + text + L"\"";
}

// Watches, on a thread of its own, for dialog boxes of this process; closes each one it sees and counts it.
class DialogWatch {
public:
    DialogWatch() : thread_([this] { Run(); }) {}
    DialogWatch(const DialogWatch&) = delete;
    DialogWatch& operator=(const DialogWatch&) = delete;
    ~DialogWatch() {
        stop_ = true;
        thread_.join();
    }
    int seen() const { return seen_; }

private:
    static BOOL CALLBACK CloseDialog(HWND window, LPARAM context) {
        auto* self = reinterpret_cast<DialogWatch*>(context);
        DWORD processId = 0;
        ::GetWindowThreadProcessId(window, &processId);
        wchar_t name[32] = {};
        ::GetClassNameW(window, name, 32);
        if (processId == ::GetCurrentProcessId() && ::IsWindowVisible(window) &&
            std::wstring(name) == L"#32770") {
            ++self->seen_;
            ::PostMessageW(window, WM_CLOSE, 0, 0);
        }
        return TRUE;
    }
    void Run() {
        while (!stop_) {
            ::EnumWindows(CloseDialog, reinterpret_cast<LPARAM>(this));
            ::Sleep(20);
        }
    }

    std::atomic<bool> stop_{false};
    std::atomic<int> seen_{0};
    std::thread thread_;
};

TEST(ShellOpen, MissingPathGivesTheShellsError) {
    TempDir dir;
    DialogWatch watch;
    const int result = ShellOpen(dir / L"missing.exe", L"", L"", SW_SHOWNORMAL);
    EXPECT_LE(result, 32);
    EXPECT_GT(result, -1);
}

TEST(ShellOpen, FolderOpensInTheFileManager) {
    TempDir dir;
    ASSERT_GT(ShellOpen(dir.path(), L"", L"", SW_SHOWNORMAL), 32);
    // The file manager's window names the folder; close it so it does not outlive the test.
    const std::wstring name = dir.path().substr(dir.path().find_last_of(L'\\') + 1);
    HWND opened = orvane::test::WaitForForeignWindow(name, 0);
    ASSERT_NE(opened, nullptr) << "no window on the folder";
    orvane::test::CloseForeignWindow(opened);
}

TEST(ShellOpen, ProgramGetsItsParametersWholeAndTheFolder) {
    TempDir dir;
    TempDir work;
    const std::wstring report = dir / L"report.txt";
    // Longer than a 260-character buffer, with blanks and Japanese text inside one argument.
    const std::wstring longArgument =
        L"\"" + std::wstring(150, L'p') + L" \u65E5\u672C " + std::wstring(150, L'q') + L"\"";
    const std::wstring parameters = Quoted(report) + L" " + longArgument;
    ASSERT_GT(parameters.size(), 300u);
    ASSERT_GT(ShellOpen(EchoFixture(), parameters, work.path(), SW_SHOWNORMAL), 32);

    const std::vector<std::wstring> lines = WaitForReport(report);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_TRUE(lines[0].ends_with(parameters)) << lines[0];
    EXPECT_TRUE(SamePath(lines[1], work.path())) << lines[1];
    EXPECT_TRUE(SamePath(lines[2], EchoFixture())) << lines[2];
}

// The same folder spelt with enough "x\.." detours to be longer than count characters.
std::wstring LongSpelling(const std::wstring& folder, std::size_t count) {
    std::wstring path = folder;
    while (path.size() <= count) {
        path += L"\\x\\..";
    }
    return path;
}

TEST(ShellOpen, TextsLongerThanTwoHundredSixtyCharactersArePassedWhole) {
    TempDir dir;
    TempDir work;
    ASSERT_TRUE(::CreateDirectoryW((dir / L"x").c_str(), nullptr));
    ASSERT_TRUE(::CreateDirectoryW((work / L"x").c_str(), nullptr));
    ASSERT_TRUE(::CopyFileW(EchoFixture().c_str(), (dir / L"echo.exe").c_str(), TRUE));
    // Cut at 260 characters, these texts would end inside a detour and name another place.
    const std::wstring program = LongSpelling(dir.path(), 300) + L"\\echo.exe";
    const std::wstring folder = LongSpelling(work.path(), 300);
    const std::wstring report = dir / L"report.txt";
    ASSERT_GT(ShellOpen(program, Quoted(report), folder, SW_SHOWNORMAL), 32);
    const std::vector<std::wstring> lines = WaitForReport(report);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_TRUE(SamePath(lines[1], work.path())) << lines[1];
    EXPECT_TRUE(SamePath(lines[2], dir / L"echo.exe")) << lines[2];
}

void WriteLink(const std::wstring& linkPath, const std::wstring& target, const std::wstring& arguments,
               const std::wstring& folder) {
    Microsoft::WRL::ComPtr<IShellLinkW> link;
    ASSERT_HRESULT_SUCCEEDED(
        ::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&link)));
    ASSERT_HRESULT_SUCCEEDED(link->SetPath(target.c_str()));
    ASSERT_HRESULT_SUCCEEDED(link->SetArguments(arguments.c_str()));
    ASSERT_HRESULT_SUCCEEDED(link->SetWorkingDirectory(folder.c_str()));
    Microsoft::WRL::ComPtr<IPersistFile> file;
    ASSERT_HRESULT_SUCCEEDED(link.As(&file));
    ASSERT_HRESULT_SUCCEEDED(file->Save(linkPath.c_str(), TRUE));
}

TEST(ShellOpen, ShortcutRunsItsTargetWithItsArgumentsAndFolder) {
    TempDir dir;
    TempDir work;
    const std::wstring report = dir / L"report.txt";
    const std::wstring link = dir / L"Echo.lnk";
    WriteLink(link, EchoFixture(), Quoted(report) + L" from-the-link", work.path());
    ASSERT_GT(ShellOpen(link, L"", L"", SW_SHOWNORMAL), 32);
    const std::vector<std::wstring> lines = WaitForReport(report);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_TRUE(lines[0].ends_with(Quoted(report) + L" from-the-link")) << lines[0];
    EXPECT_TRUE(SamePath(lines[1], work.path())) << lines[1];
}

TEST(ShellRunAsAdmin, MissingFileFailsWithoutADialog) {
    TempDir dir;
    DialogWatch watch;
    EXPECT_FALSE(ShellRunAsAdmin(::GetDesktopWindow(), dir / L"missing.exe", L""));
    EXPECT_FALSE(ShellRunAsAdmin(::GetDesktopWindow(), dir / L"missing.lnk", L"--x"));
    ::Sleep(200);
    EXPECT_EQ(watch.seen(), 0);
}

TEST(ShellRunAsAdmin, ExistingProgramIsStarted) {
    if (!orvane::test::IsRunningOnWine()) {
        GTEST_SKIP() << "on Windows this raises the consent prompt, which needs a user to answer it";
    }
    // Wine has no consent prompt: the elevated start goes straight through.
    TempDir dir;
    const std::wstring report = dir / L"report.txt";
    ASSERT_TRUE(ShellRunAsAdmin(::GetDesktopWindow(), EchoFixture(), Quoted(report) + L" elevated"));
    const std::vector<std::wstring> lines = WaitForReport(report);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_TRUE(lines[0].ends_with(Quoted(report) + L" elevated")) << lines[0];
}

TEST(ShellRunAsAdmin, WindowsIsVistaOrLater) {
    EXPECT_TRUE(IsOSVistaOrLater());
}

LRESULT CALLBACK PlainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefWindowProcW(window, message, wParam, lParam);
}

// A registered window class of this test, under a name of its choosing.
class TestWindowClass {
public:
    explicit TestWindowClass(const wchar_t* name) : name_(name) {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = PlainWindowProc;
        windowClass.hInstance = ::GetModuleHandleW(nullptr);
        windowClass.lpszClassName = name;
        registered_ = ::RegisterClassW(&windowClass) != 0;
    }
    TestWindowClass(const TestWindowClass&) = delete;
    TestWindowClass& operator=(const TestWindowClass&) = delete;
    ~TestWindowClass() {
        if (registered_) {
            ::UnregisterClassW(name_, ::GetModuleHandleW(nullptr));
        }
    }
    bool registered() const { return registered_; }

private:
    const wchar_t* name_;
    bool registered_;
};

struct WindowOwner {
    HWND window;
    ~WindowOwner() {
        if (window != nullptr) {
            ::DestroyWindow(window);
        }
    }
};

TEST(MainWindowSearch, FindsOnlyTopLevelWindowsOfThisProcessAndClass) {
    TestWindowClass formClass(L"OrvaneLaunchTestForm");
    ASSERT_TRUE(formClass.registered());
    EXPECT_EQ(FindOwnTopLevelWindow(L"OrvaneLaunchTestForm"), nullptr);

    WindowOwner parent{::CreateWindowExW(0, L"OrvaneLaunchTestForm", L"parent", WS_OVERLAPPEDWINDOW, 0, 0,
                                         100, 100, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr)};
    ASSERT_NE(parent.window, nullptr);
    EXPECT_EQ(FindOwnTopLevelWindow(L"OrvaneLaunchTestForm"), parent.window);
    // Class names are matched without regard to case, as the system matches them.
    EXPECT_EQ(FindOwnTopLevelWindow(L"orvanelaunchtestform"), parent.window);
    EXPECT_EQ(FindOwnTopLevelWindow(L"OrvaneLaunchTest"), nullptr);

    // A child window of the class is no top-level window.
    TestWindowClass childClass(L"OrvaneLaunchTestChild");
    ASSERT_TRUE(childClass.registered());
    WindowOwner child{::CreateWindowExW(0, L"OrvaneLaunchTestChild", L"child", WS_CHILD, 0, 0, 10, 10,
                                        parent.window, nullptr, ::GetModuleHandleW(nullptr), nullptr)};
    ASSERT_NE(child.window, nullptr);
    EXPECT_EQ(FindOwnTopLevelWindow(L"OrvaneLaunchTestChild"), nullptr);
}

TEST(MainWindowSearch, WindowsOfOtherProcessesDoNotCount) {
    TempDir dir;
    const std::wstring ready = dir / L"ready.txt";
    const wchar_t* className = L"OrvaneLaunchOtherForm";
    ASSERT_GT(ShellOpen(EchoFixture(), L"--window " + std::wstring(className) + L" " + Quoted(ready), L"",
                        SW_SHOWNORMAL),
              32);
    ASSERT_FALSE(WaitForReport(ready).empty());
    HWND other = ::FindWindowW(className, nullptr);
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(FindOwnTopLevelWindow(className), nullptr);
    ::PostMessageW(other, WM_CLOSE, 0, 0);
}

TEST(MainWindowSearch, MainFormIsTheWindowOfClassTMainForm) {
    TestWindowClass formClass(L"TMainForm");
    if (!formClass.registered() && ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS) {
        GTEST_SKIP() << "the main window's own class is registered in this process already";
    }
    ASSERT_TRUE(formClass.registered());
    EXPECT_EQ(FindMainFormWindow(), nullptr);
    WindowOwner form{::CreateWindowExW(0, L"TMainForm", L"Orvane", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                                       nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr)};
    ASSERT_NE(form.window, nullptr);
    EXPECT_EQ(FindMainFormWindow(), form.window);
}

} // namespace
} // namespace Norrow
