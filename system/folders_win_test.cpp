#include "system/folders_win.h"

#include "system/com_error_win.h"
#include "system/handles_win.h"
#include "tests/support/test_support_win.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <future>
#include <memory>
#include <thread>

namespace Norrow {
namespace {

using orvane::test::RegistryValueOverride;
using orvane::test::RegistryValueRemoval;
using orvane::test::TempDir;

TEST(FolderLocations, ExistenceTestsTellFilesFromFolders) {
    TempDir dir;
    const std::wstring file = dir / L"a.txt";
    orvane::test::WriteFileBytes(file, "x");

    EXPECT_TRUE(IsExistingDir(dir.path()));
    EXPECT_TRUE(IsExistingDir(dir.path() + L"\\"));
    EXPECT_FALSE(IsExistingFile(dir.path()));
    EXPECT_TRUE(IsExistingFile(file));
    EXPECT_FALSE(IsExistingDir(file));

    EXPECT_FALSE(IsExistingDir(dir / L"missing"));
    EXPECT_FALSE(IsExistingFile(dir / L"missing.txt"));
    EXPECT_FALSE(IsExistingFile(dir / L"missing\\deeper.txt"));
    EXPECT_FALSE(IsExistingDir(L""));
    EXPECT_FALSE(IsExistingFile(L""));
}

TEST(FolderLocations, FileWhoseAttributesCannotBeReadIsJudgedByTheListing) {
    TempDir dir;
    const std::wstring file = dir / L"locked.bin";
    orvane::test::WriteFileBytes(file, "data");
    orvane::UniqueFile lock(
        ::CreateFileW(file.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(static_cast<bool>(lock));
    EXPECT_TRUE(IsExistingFile(file));

    // Windows may refuse the attributes of files the system itself holds open (the paging file); neither an
    // ordinary handle without sharing nor anything under Wine makes GetFileAttributesW fail for an
    // existing file, so the listing that IsExistingFile falls back on is asked directly here.
    for (DWORD error : {ERROR_SHARING_VIOLATION, ERROR_ACCESS_DENIED, ERROR_NOT_READY}) {
        EXPECT_TRUE(IsListedFileAfterAttributeError(file, error)) << error;
        EXPECT_FALSE(IsListedFileAfterAttributeError(dir.path(), error)) << error;
        EXPECT_FALSE(IsListedFileAfterAttributeError(dir / L"missing.bin", error)) << error;
    }
    // Errors that say the path is not there are believed without a look at the listing.
    for (DWORD error : {ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND, ERROR_INVALID_NAME}) {
        EXPECT_FALSE(IsListedFileAfterAttributeError(file, error)) << error;
    }
}

TEST(FolderLocations, DriveReadinessLooksOnlyAtTheFirstCharacter) {
    EXPECT_FALSE(IsDriveReady(L""));
    EXPECT_TRUE(IsDriveReady(L"C:\\"));
    EXPECT_TRUE(IsDriveReady(L"c:\\windows"));
    // A relative name beginning with c queries drive C.
    EXPECT_TRUE(IsDriveReady(L"Cabinet\\x"));
    // A digit or any other character gives false without a query.
    EXPECT_FALSE(IsDriveReady(L"1abc"));
    EXPECT_FALSE(IsDriveReady(L".\\x"));
    // Network paths and paths from the current drive's root skip the drive query.
    EXPECT_TRUE(IsDriveReady(L"\\\\server\\share"));
    EXPECT_TRUE(IsDriveReady(L"\\windows"));
}

TEST(FolderLocations, DriveLetterWithoutDriveIsNotReadyAndShowsNoDialog) {
    // Find a letter that names no drive; the critical-error mode keeps the system quiet.
    DWORD drives = ::GetLogicalDrives();
    wchar_t letter = 0;
    for (wchar_t c = L'Y'; c >= L'D'; --c) {
        if ((drives & (1u << (c - L'A'))) == 0) {
            letter = c;
            break;
        }
    }
    ASSERT_NE(letter, 0) << "every drive letter is in use";
    // The process's own mode without the critical-error flag, so that a change to it would show.
    const UINT processBefore = ::SetErrorMode(0);
    const UINT processQuiet = ::GetErrorMode();
    const DWORD threadBefore = ::GetThreadErrorMode();
    const std::wstring path = std::wstring(1, letter) + L":\\folder";
    EXPECT_FALSE(IsDriveReady(path));
    EXPECT_FALSE(IsExistingDir(path));
    EXPECT_FALSE(IsExistingFile(path + L"\\file.txt"));
    // The previous mode is restored.
    EXPECT_EQ(::GetThreadErrorMode(), threadBefore);
    // While another thread looks at drives (the start-up reads its cache files beside the window's
    // thread), neither this thread's mode nor the process's changes under it.
    std::atomic<bool> stop{false};
    std::thread looker([&] {
        while (!stop) {
            IsDriveReady(path);
        }
    });
    int changes = 0;
    for (int i = 0; i < 500; ++i) {
        changes += ::GetErrorMode() != processQuiet || ::GetThreadErrorMode() != threadBefore ? 1 : 0;
        ::Sleep(0);
    }
    stop = true;
    looker.join();
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(::GetErrorMode(), processQuiet);
    ::SetErrorMode(processBefore);
}

TEST(FolderLocations, MissingNetworkShareIsNeitherFileNorFolder) {
    EXPECT_FALSE(IsExistingFile(L"\\\\no-such-server-here\\share\\x.lnk"));
    if (orvane::test::IsRunningOnWine()) {
        // Windows reports ERROR_BAD_NETPATH for a server that does not answer; Wine reports
        // ERROR_BAD_DEV_TYPE, which the folder test (rightly, for Windows) counts as "exists".
        GTEST_SKIP() << "Wine reports ERROR_BAD_DEV_TYPE instead of ERROR_BAD_NETPATH for a missing server";
    }
    EXPECT_FALSE(IsExistingDir(L"\\\\no-such-server-here\\share"));
}

TEST(FolderLocations, UserShellFolderReadsTheValueAndAddsASeparator) {
    TempDir dir;
    RegistryValueOverride startMenu(HKEY_CURRENT_USER, kShellFoldersKey, L"Start Menu", dir.path());
    EXPECT_EQ(GetUserShellFolder(8), dir.path() + L"\\");
}

TEST(FolderLocations, ExpandableValuesAreTakenAsStored) {
    RegistryValueOverride desktop(HKEY_CURRENT_USER, kShellFoldersKey, L"Desktop", L"%TEMP%\\x",
                                  REG_EXPAND_SZ);
    EXPECT_EQ(GetUserShellFolder(0), L"%TEMP%\\x\\");
}

TEST(FolderLocations, MissingOrEmptyValueGivesTheSeparatorAlone) {
    {
        RegistryValueRemoval templates(HKEY_CURRENT_USER, kShellFoldersKey, L"Templates");
        EXPECT_EQ(GetUserShellFolder(10), L"\\");
    }
    RegistryValueOverride empty(HKEY_CURRENT_USER, kShellFoldersKey, L"Templates", L"");
    EXPECT_EQ(GetUserShellFolder(10), L"\\");
}

TEST(FolderLocations, ValueEndsAtItsFirstNul) {
    const wchar_t data[] = L"C:\\Start\0garbage";
    RegistryValueOverride value(HKEY_CURRENT_USER, kShellFoldersKey, L"Startup",
                                reinterpret_cast<const BYTE*>(data), sizeof data, REG_SZ);
    EXPECT_EQ(GetUserShellFolder(9), L"C:\\Start\\");
}

// Runs a read on a thread of its own and gives its result; a read that has not returned within the time
// is a failure, and the process ends, since a spinning thread cannot be stopped.
std::wstring ReadPromptly(std::function<std::wstring()> read) {
    auto result = std::make_shared<std::promise<std::wstring>>();
    std::future<std::wstring> done = result->get_future();
    std::thread([result, read = std::move(read)] {
        try {
            result->set_value(read());
        } catch (...) {
            result->set_exception(std::current_exception());
        }
    }).detach();
    if (done.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
        ADD_FAILURE() << "the read did not return within 10 s";
        std::fflush(stdout);
        std::_Exit(1);
    }
    return done.get();
}

TEST(FolderLocations, TextOfOddByteLengthIsReadWhole) {
    // Written with its length miscounted: the last byte is half a character, taken as its low byte.
    const wchar_t data[] = L"C:\\Odd";
    const struct {
        DWORD bytes;
        const wchar_t* expected;
    } cases[] = {{13, L"C:\\Odd\\"}, {11, L"C:\\Odd\\"}, {7, L"C:\\O\\"}, {1, L"C\\"}};
    for (const auto& c : cases) {
        RegistryValueOverride value(HKEY_CURRENT_USER, kShellFoldersKey, L"NetHood",
                                    reinterpret_cast<const BYTE*>(data), c.bytes, REG_SZ);
        EXPECT_EQ(ReadPromptly([] { return GetUserShellFolder(3); }), c.expected) << c.bytes << " bytes";
    }
}

TEST(FolderLocations, EmptyValueOfAnyTypeGivesTheSeparatorAlone) {
    const BYTE none = 0;
    for (DWORD type : {REG_BINARY, REG_DWORD, REG_NONE, REG_MULTI_SZ}) {
        RegistryValueOverride value(HKEY_CURRENT_USER, kShellFoldersKey, L"Fonts", &none, 0, type);
        EXPECT_EQ(GetUserShellFolder(2), L"\\") << "type " << type;
    }
}

TEST(FolderLocations, NonTextValueRaisesAndClosesTheKey) {
    DWORD number = 42;
    RegistryValueOverride value(HKEY_CURRENT_USER, kShellFoldersKey, L"SendTo",
                                reinterpret_cast<const BYTE*>(&number), sizeof number, REG_DWORD);
    EXPECT_THROW(GetUserShellFolder(7), orvane::ComError);
    // The key was closed: the next reading of another value works normally.
    TempDir dir;
    RegistryValueOverride recent(HKEY_CURRENT_USER, kShellFoldersKey, L"Recent", dir.path());
    EXPECT_EQ(GetUserShellFolder(6), dir.path() + L"\\");
}

TEST(FolderLocations, IndexesOutsideTheTablesGiveEmptyText) {
    EXPECT_EQ(GetUserShellFolder(11), L"");
    EXPECT_EQ(GetCommonShellFolder(5), L"");
}

TEST(FolderLocations, CommonShellFolderReadsTheMachineKey) {
    // On Windows a process without full access to the machine key gets empty text; Wine grants every
    // process full access, so here the stored path comes back.
    TempDir dir;
    RegistryValueOverride common(HKEY_LOCAL_MACHINE, kShellFoldersKey, L"Common Start Menu", dir.path());
    EXPECT_EQ(GetCommonShellFolder(3), dir.path() + L"\\");
}

TEST(FolderLocations, WindowsAndSystemDirectories) {
    const std::wstring windows = GetWindowsDir();
    ASSERT_FALSE(windows.empty());
    EXPECT_NE(windows.back(), L'\\');
    EXPECT_TRUE(IsExistingDir(windows));
    // Every 64-bit Windows offers IsWow64Process, so the system folder is the 32-bit one.
    EXPECT_TRUE(HasWow64());
    EXPECT_EQ(GetSystemDir(), windows + L"\\SysWOW64");
}

} // namespace
} // namespace Norrow
