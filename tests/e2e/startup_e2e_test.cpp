// Start-up as a user meets it: the data folder, the main window, and only ever one instance.
#include "app/data_folder_win.h"
#include "system/folders_win.h"
#include "tests/e2e/orvane_process_e2e.h"

#include <gtest/gtest.h>

#include <thread>

namespace orvane::e2e {
namespace {

using namespace std::chrono_literals;

bool InstanceMutexExists() {
    UniqueHandle mutex(::OpenMutexW(SYNCHRONIZE, FALSE, kInstanceMutexName));
    return static_cast<bool>(mutex);
}

// Watches a process until it ends and tells whether it ever showed a main window.
bool ShowedWindowBeforeExit(const OrvaneProcess& process) {
    auto deadline = std::chrono::steady_clock::now() + 30s;
    while (std::chrono::steady_clock::now() < deadline) {
        if (!MainWindowsOf(process.id()).empty()) {
            return true;
        }
        if (process.WaitForExit(20ms)) {
            return false;
        }
    }
    ADD_FAILURE() << "the process neither ended nor showed a window";
    return true;
}

TEST(Startup, FirstStartCreatesTheDataFolderAndShowsTheWindow) {
    IsolatedProfile profile;
    OrvaneProcess orvane;
    HWND window = orvane.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    // With nothing cached, the window asks for a scan.
    HWND prompt = orvane.WaitForMessageBox();
    ASSERT_NE(prompt, nullptr);
    EXPECT_EQ(MessageBoxText(prompt), L"データを取得してください。");
    EXPECT_EQ(MessageBoxTitle(prompt), L"Orvane");
    EXPECT_EQ(::GetWindow(prompt, GW_OWNER), window);
    PressOk(prompt);

    wchar_t caption[64] = {};
    ::GetWindowTextW(window, caption, 64);
    EXPECT_STREQ(caption, L"Orvane");
    EXPECT_TRUE(Norrow::IsExistingDir(profile.appData() + L"\\Norrow Project"));
    EXPECT_TRUE(Norrow::IsExistingDir(profile.dataFolder()));
    EXPECT_TRUE(InstanceMutexExists());

    // The client area has the design size of 989 x 467 at 96 dpi, scaled for the window's DPI.
    RECT client{};
    ::GetClientRect(window, &client);
    UINT dpi = ::GetDpiForWindow(window);
    EXPECT_EQ(client.right, ::MulDiv(989, static_cast<int>(dpi), 96));
    EXPECT_EQ(client.bottom, ::MulDiv(467, static_cast<int>(dpi), 96));

    ASSERT_TRUE(orvane.Close());
    EXPECT_EQ(orvane.ExitCode(), 0u);
    EXPECT_FALSE(InstanceMutexExists());
}

TEST(Startup, SecondStartEndsSilentlyAndLeavesTheFirstAlone) {
    IsolatedProfile profile;
    OrvaneProcess first;
    HWND window = first.WaitForMainWindowPastPrompt();
    ASSERT_NE(window, nullptr);

    OrvaneProcess second;
    EXPECT_FALSE(ShowedWindowBeforeExit(second));
    EXPECT_EQ(second.ExitCode(), 0u);

    EXPECT_EQ(first.MainWindow(), window);
    EXPECT_TRUE(::IsWindowVisible(window));
    EXPECT_TRUE(first.Close());
}

TEST(Startup, AMutexOfTheNameEndsTheStartEvenWhenItCannotBeOpened) {
    IsolatedProfile profile;
    {
        // Held by this test rather than by an instance: its existence alone marks an instance.
        UniqueHandle mutex(::CreateMutexW(nullptr, FALSE, kInstanceMutexName));
        ASSERT_TRUE(static_cast<bool>(mutex));
        OrvaneProcess orvane;
        EXPECT_FALSE(ShowedWindowBeforeExit(orvane));
        EXPECT_EQ(orvane.ExitCode(), 0u);
    }
    // An instance running elevated or as another user leaves a mutex this user may not open: here one
    // whose access list is empty, so it grants nothing to anyone but its creator's handle.
    SECURITY_DESCRIPTOR descriptor{};
    ACL emptyAcl{};
    ASSERT_TRUE(::InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION));
    ASSERT_TRUE(::InitializeAcl(&emptyAcl, sizeof emptyAcl, ACL_REVISION));
    ASSERT_TRUE(::SetSecurityDescriptorDacl(&descriptor, TRUE, &emptyAcl, FALSE));
    SECURITY_ATTRIBUTES attributes{sizeof attributes, &descriptor, FALSE};
    UniqueHandle locked(::CreateMutexW(&attributes, FALSE, kInstanceMutexName));
    ASSERT_TRUE(static_cast<bool>(locked));
    UniqueHandle opened(::CreateMutexW(nullptr, FALSE, kInstanceMutexName));
    const DWORD error = ::GetLastError();
    ASSERT_FALSE(static_cast<bool>(opened)) << "the empty access list let the mutex be opened";
    ASSERT_EQ(error, static_cast<DWORD>(ERROR_ACCESS_DENIED));
    OrvaneProcess orvane;
    EXPECT_FALSE(ShowedWindowBeforeExit(orvane));
    EXPECT_EQ(orvane.ExitCode(), 0u);
}

TEST(Startup, TheNameHeldByAnotherKindOfObjectIsNoInstance) {
    IsolatedProfile profile;
    auto startsAndCloses = [] {
        OrvaneProcess orvane;
        HWND window = orvane.WaitForMainWindowPastPrompt();
        ASSERT_NE(window, nullptr);
        EXPECT_TRUE(::IsWindowVisible(window));
        EXPECT_TRUE(orvane.Close());
        EXPECT_EQ(orvane.ExitCode(), 0u);
    };
    {
        SCOPED_TRACE("the name held by an event");
        UniqueHandle event(::CreateEventW(nullptr, TRUE, FALSE, kInstanceMutexName));
        ASSERT_TRUE(static_cast<bool>(event));
        startsAndCloses();
    }
    {
        SCOPED_TRACE("the name held by a semaphore");
        UniqueHandle semaphore(::CreateSemaphoreW(nullptr, 1, 1, kInstanceMutexName));
        ASSERT_TRUE(static_cast<bool>(semaphore));
        startsAndCloses();
    }
}

TEST(Startup, InstancesStartedTogetherGiveExactlyOneWindow) {
    IsolatedProfile profile;
    std::vector<OrvaneProcess> processes;
    for (int i = 0; i < 4; ++i) {
        processes.emplace_back(true);
    }
    for (auto& process : processes) {
        process.Resume();
    }
    // Every process either ends or shows its window; exactly one may stay.
    auto deadline = std::chrono::steady_clock::now() + 30s;
    int running = 0;
    int windows = 0;
    while (std::chrono::steady_clock::now() < deadline) {
        running = 0;
        windows = 0;
        for (auto& process : processes) {
            if (!process.WaitForExit(0ms)) {
                ++running;
                windows += process.MainWindow() != nullptr ? 1 : 0;
            }
        }
        if (running == 1 && windows == 1) {
            break;
        }
        std::this_thread::sleep_for(50ms);
    }
    EXPECT_EQ(running, 1);
    EXPECT_EQ(windows, 1);
    for (auto& process : processes) {
        if (process.MainWindow() != nullptr) {
            if (HWND prompt = process.WaitForMessageBox(std::chrono::seconds(5))) {
                PressOk(prompt);
            }
            EXPECT_TRUE(process.Close());
        }
    }
}

TEST(Startup, AFileInThePlaceOfTheDataFolderEndsSilentlyWithoutMutex) {
    IsolatedProfile profile;
    ASSERT_TRUE(::CreateDirectoryW((profile.appData() + L"\\Norrow Project").c_str(), nullptr));
    test::WriteFileBytes(profile.appData() + L"\\Norrow Project\\Orvane", "in the way");

    OrvaneProcess orvane(true);
    orvane.Resume();
    // The mutex is never created: poll for it while the process runs.
    bool sawMutex = false;
    auto deadline = std::chrono::steady_clock::now() + 30s;
    while (!orvane.WaitForExit(5ms) && std::chrono::steady_clock::now() < deadline) {
        sawMutex = sawMutex || InstanceMutexExists() || !MainWindowsOf(orvane.id()).empty();
    }
    EXPECT_TRUE(orvane.WaitForExit(0ms));
    EXPECT_FALSE(sawMutex);
    EXPECT_EQ(orvane.ExitCode(), 0u);
}

} // namespace
} // namespace orvane::e2e
