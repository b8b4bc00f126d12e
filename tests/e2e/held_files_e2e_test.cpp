// The data folder as other programs and the system leave it: files held by a backup tool or a virus
// scanner at start or at close, icon caches that are missing or cut, a session that ends or an installer
// that closes the program, and a session end that is called off.
#include "store/list_cache.h"
#include "system/handles_win.h"
#include "tests/e2e/data_folder_e2e.h"
#include "tests/e2e/start_menu_fixture_e2e.h"

#include <commctrl.h>

#include <array>
#include <cwctype>
#include <map>
#include <optional>

namespace orvane::e2e {
namespace {

using namespace std::chrono_literals;

constexpr std::array<const wchar_t*, 5> kDataFiles = {L"Orvane.ini", L"File.lst", L"IconS.lst", L"IconL.lst",
                                                      L"Find.lst"};
constexpr wchar_t kScanPrompt[] = L"データを取得してください。";

// Waits for the program's next message box, answers it and waits until it is gone; its text, or
// nothing when no box came.
std::optional<std::wstring> AnswerBox(const OrvaneProcess& orvane, std::chrono::milliseconds timeout = 30s) {
    HWND box = orvane.WaitForMessageBox(timeout);
    if (box == nullptr) {
        return std::nullopt;
    }
    std::wstring text = MessageBoxText(box);
    PressOk(box);
    for (int i = 0; i < 250 && ::IsWindow(box); ++i) {
        ::Sleep(20);
    }
    return text;
}

// A file opened by another program that shares nothing while it has it.
UniqueHandle HoldWithoutSharing(const std::wstring& path) {
    return UniqueHandle(
        ::CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

std::vector<int> RowImages(HWND list) {
    std::vector<int> images;
    for (int row = 0; row < RowCount(list); ++row) {
        images.push_back(RowImage(list, row));
    }
    return images;
}

int HistoryCount(const MainWindowControls& ui) {
    Sync(ui.window);
    return static_cast<int>(::SendMessageW(ui.searchBox, CB_GETCOUNT, 0, 0));
}

// What a run left: the rows, their icons and the history the user saw.
struct SeenList {
    std::vector<std::wstring> names;
    std::vector<int> images;
};

class DataFilesTest : public PersistenceTest {
protected:
    // What a user does on a first run: a scan, a search, the list view.
    static SeenList UseAsOnAFirstRun(const MainWindowControls& ui) {
        PressToolButton(ui.toolBar, L"取得");
        TypeText(ui.searchEdit, L"needle");
        PressToolButton(ui.toolBar, L"検索");
        PressToolButton(ui.toolBar, L"リスト");
        return SeenList{Column(ui.list, 0), RowImages(ui.list)};
    }
    // A first run, ended with the window's close.
    SeenList FirstRun() {
        OrvaneProcess orvane;
        HWND window = orvane.WaitForMainWindowPastPrompt();
        EXPECT_NE(window, nullptr);
        if (window == nullptr) {
            return {};
        }
        SeenList seen = UseAsOnAFirstRun(FindControls(window));
        EXPECT_TRUE(orvane.Close());
        return seen;
    }
    std::map<std::wstring, std::string> Snapshot() const {
        std::map<std::wstring, std::string> files;
        for (const wchar_t* name : kDataFiles) {
            files[name] = test::ReadFileBytes(File(name));
        }
        return files;
    }
    std::vector<int> StoredImageIndexes() const {
        const std::string bytes = test::ReadFileBytes(File(L"File.lst"));
        std::vector<int> indexes;
        for (const ShortcutRow& row :
             ReadListCache(std::vector<std::uint8_t>(bytes.begin(), bytes.end()), ListCache{}).rows) {
            indexes.push_back(row.imageIndex);
        }
        return indexes;
    }
    // A start without anything held shows what the first run left: rows, icons, history, list view.
    void ExpectTheFirstRunBack(const SeenList& seen, const std::wstring& screenshot = {}) {
        ASSERT_FALSE(seen.names.empty());
        OrvaneProcess orvane;
        HWND window = orvane.WaitForMainWindow();
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(AnswerBox(orvane, 1500ms), std::nullopt) << "a box at a start with nothing held";
        auto ui = FindControls(window);
        EXPECT_EQ(Column(ui.list, 0), seen.names);
        EXPECT_EQ(RowImages(ui.list), seen.images);
        EXPECT_EQ(HistoryCount(ui), 1);
        EXPECT_EQ(ListViewView(ui.list), static_cast<DWORD>(LV_VIEW_LIST));
        if (!screenshot.empty()) {
            SaveScreenshot(screenshot);
        }
        EXPECT_TRUE(orvane.Close());
    }

    StartMenuFixture menus;
};

class HeldAtStartTest : public DataFilesTest, public ::testing::WithParamInterface<const wchar_t*> {};

TEST_P(HeldAtStartTest, IsReportedTheOthersAreReadAndItIsNotOverwrittenAtClose) {
    const std::wstring held = GetParam();
    const SeenList seen = FirstRun();
    ASSERT_FALSE(seen.names.empty());
    for (int image : seen.images) {
        ASSERT_GE(image, 0) << "the scan gave a row no icon";
    }
    const auto before = Snapshot();
    {
        // A backup tool holds the file while the program starts, and lets go before the user closes.
        UniqueHandle lock = HoldWithoutSharing(File(held.c_str()));
        ASSERT_NE(lock.get(), INVALID_HANDLE_VALUE);
        OrvaneProcess orvane;
        std::optional<std::wstring> error = AnswerBox(orvane);
        ASSERT_TRUE(error.has_value()) << "the file that could not be read was not reported";
        EXPECT_NE(*error, kScanPrompt);
        if (held == L"File.lst") {
            // Without rows the window asks for a scan, and the user declines for now.
            EXPECT_EQ(AnswerBox(orvane), std::optional<std::wstring>(kScanPrompt));
        }
        HWND window = orvane.WaitForMainWindow();
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(AnswerBox(orvane, 1500ms), std::nullopt) << "one file held, more than one box";
        auto ui = FindControls(window);
        SaveScreenshot(L"held-at-start-" + held);
        // Every other file was read and applied.
        EXPECT_EQ(ListViewView(ui.list),
                  static_cast<DWORD>(held == L"Orvane.ini" ? LV_VIEW_DETAILS : LV_VIEW_LIST));
        EXPECT_EQ(Column(ui.list, 0), held == L"File.lst" ? std::vector<std::wstring>{} : seen.names);
        EXPECT_EQ(HistoryCount(ui), held == L"Find.lst" ? 0 : 1);
        if (held != L"File.lst" && held != L"IconS.lst") {
            // Both views draw from the small list; the large one alone takes no icon away.
            EXPECT_EQ(RowImages(ui.list), seen.images);
        }
        lock.reset();
        ASSERT_TRUE(orvane.Close());
    }
    const auto after = Snapshot();
    EXPECT_EQ(after.at(held), before.at(held)) << "the file that could not be read was overwritten";
    EXPECT_EQ(after.at(L"Find.lst"), before.at(L"Find.lst")) << "the search history was lost";
    EXPECT_EQ(StoredImageIndexes(), std::vector<int>(seen.images.begin(), seen.images.end()))
        << "a row's icon index was written back worse than it was read";
    ExpectTheFirstRunBack(seen);
}

INSTANTIATE_TEST_SUITE_P(DataFolder, HeldAtStartTest, ::testing::ValuesIn(kDataFiles),
                         [](const ::testing::TestParamInfo<const wchar_t*>& param) {
                             std::string name;
                             for (const wchar_t* c = param.param; *c != L'\0'; ++c) {
                                 if (std::iswalnum(*c)) {
                                     name += static_cast<char>(*c);
                                 }
                             }
                             return name;
                         });

TEST_F(DataFilesTest, AScanAndASearchStillReplaceFilesThatCouldNotBeRead) {
    const SeenList seen = FirstRun();
    ASSERT_FALSE(seen.names.empty());
    // A file of another run's shortcuts, to tell its rows from this run's.
    menus.Write(menus.userMenu(), L"Later.lnk", menus.documentPath(), L"written after the first run");
    {
        UniqueHandle list = HoldWithoutSharing(File(L"File.lst"));
        UniqueHandle history = HoldWithoutSharing(File(L"Find.lst"));
        OrvaneProcess orvane;
        ASSERT_TRUE(AnswerBox(orvane).has_value());
        std::optional<std::wstring> second = AnswerBox(orvane);
        ASSERT_TRUE(second.has_value());
        EXPECT_NE(*second, kScanPrompt) << "the second file held was not reported";
        EXPECT_EQ(AnswerBox(orvane), std::optional<std::wstring>(kScanPrompt));
        HWND window = orvane.WaitForMainWindow();
        ASSERT_NE(window, nullptr);
        auto ui = FindControls(window);
        PressToolButton(ui.toolBar, L"取得");
        TypeText(ui.searchEdit, L"fresh");
        PressToolButton(ui.toolBar, L"検索");
        list.reset();
        history.reset();
        ASSERT_TRUE(orvane.Close());
    }
    OrvaneProcess orvane;
    HWND window = orvane.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    auto ui = FindControls(window);
    EXPECT_EQ(RowCount(ui.list), static_cast<int>(seen.names.size()) + 1) << "the new scan was not written";
    EXPECT_EQ(HistoryCount(ui), 1);
    wchar_t entry[64] = {};
    ::SendMessageW(ui.searchBox, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(entry));
    EXPECT_STREQ(entry, L"fresh");
    EXPECT_TRUE(orvane.Close());
}

TEST_F(DataFilesTest, AMissingOrCutLargeIconCacheTakesNoIconAway) {
    const SeenList seen = FirstRun();
    ASSERT_FALSE(seen.names.empty());
    const std::string large = test::ReadFileBytes(File(L"IconL.lst"));
    ASSERT_GT(large.size(), 100u);
    for (const std::string& damage : {std::string(), large.substr(0, large.size() / 2)}) {
        if (damage.empty()) {
            ::DeleteFileW(File(L"IconL.lst").c_str());
        } else {
            test::WriteFileBytes(File(L"IconL.lst"), damage);
        }
        OrvaneProcess orvane;
        HWND window = orvane.WaitForMainWindow();
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(AnswerBox(orvane, 1500ms), std::nullopt) << "a damaged cache is emptied without a message";
        auto ui = FindControls(window);
        EXPECT_EQ(RowImages(ui.list), seen.images) << (damage.empty() ? "missing" : "cut in half");
        SaveScreenshot(damage.empty() ? L"large-icon-cache-missing" : L"large-icon-cache-cut");
        ASSERT_TRUE(orvane.Close());
        EXPECT_EQ(StoredImageIndexes(), seen.images);
    }
    // With the file back, nothing was lost meanwhile.
    test::WriteFileBytes(File(L"IconL.lst"), large);
    ExpectTheFirstRunBack(seen);
}

TEST_F(DataFilesTest, AFileThatCannotBeWrittenAtCloseIsToldTwiceAndThenTheWindowCloses) {
    const SeenList seen = FirstRun();
    ASSERT_FALSE(seen.names.empty());
    {
        OrvaneProcess orvane;
        HWND window = orvane.WaitForMainWindow();
        ASSERT_NE(window, nullptr);
        // A virus scanner takes the history file after the start and does not let go.
        UniqueHandle lock = HoldWithoutSharing(File(L"Find.lst"));
        ASSERT_NE(lock.get(), INVALID_HANDLE_VALUE);
        ::PostMessageW(window, WM_CLOSE, 0, 0);
        std::optional<std::wstring> first = AnswerBox(orvane);
        ASSERT_TRUE(first.has_value()) << "the failed write was not told";
        Sync(window);
        EXPECT_TRUE(::IsWindowVisible(window)) << "the window closed with settings unsaved, untold twice";
        ::PostMessageW(window, WM_CLOSE, 0, 0);
        std::optional<std::wstring> second = AnswerBox(orvane);
        EXPECT_EQ(second, first) << "the second failure was not told";
        EXPECT_TRUE(orvane.WaitForExit(10s)) << "a window that only the task manager can close";
    }
    {
        OrvaneProcess orvane;
        HWND window = orvane.WaitForMainWindow();
        ASSERT_NE(window, nullptr);
        UniqueHandle lock = HoldWithoutSharing(File(L"Find.lst"));
        ::PostMessageW(window, WM_CLOSE, 0, 0);
        ASSERT_TRUE(AnswerBox(orvane).has_value());
        // The user frees the file and closes again: the files are written and the window closes.
        lock.reset();
        EXPECT_TRUE(orvane.Close(10s));
    }
    ExpectTheFirstRunBack(seen);
}

TEST_F(DataFilesTest, LoggingOffWithTheWindowOpenKeepsTheScanTheHistoryAndTheSettings) {
    SeenList seen;
    {
        OrvaneProcess orvane;
        HWND window = orvane.WaitForMainWindowPastPrompt();
        ASSERT_NE(window, nullptr);
        seen = UseAsOnAFirstRun(FindControls(window));
        // The system asks whether the session may end, tells the window it ends, and ends the process.
        EXPECT_NE(::SendMessageW(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), 0);
        ::SendMessageW(window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
        ::TerminateProcess(orvane.handle(), 0);
        ASSERT_TRUE(orvane.WaitForExit());
    }
    ExpectTheFirstRunBack(seen, L"restart-after-log-off");
}

TEST_F(DataFilesTest, AnInstallersRequestToCloseSavesAndEndsTheProgram) {
    SeenList seen;
    {
        OrvaneProcess orvane;
        HWND window = orvane.WaitForMainWindowPastPrompt();
        ASSERT_NE(window, nullptr);
        seen = UseAsOnAFirstRun(FindControls(window));
        // The restart manager asks the program alone to close, and waits for it to end.
        EXPECT_NE(::SendMessageW(window, WM_QUERYENDSESSION, 0, ENDSESSION_CLOSEAPP), 0);
        ::SendMessageTimeoutW(window, WM_ENDSESSION, TRUE, ENDSESSION_CLOSEAPP, SMTO_NORMAL, 10000, nullptr);
        EXPECT_TRUE(orvane.WaitForExit(10s)) << "the program went on after the installer asked it to close";
    }
    ExpectTheFirstRunBack(seen);
}

TEST_F(DataFilesTest, ASessionEndCalledOffWritesNothingAndLaterClosesWriteWhatChangedSince) {
    const SeenList seen = FirstRun();
    ASSERT_FALSE(seen.names.empty());
    OrvaneProcess orvane;
    HWND window = orvane.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    auto ui = FindControls(window);
    const auto before = Snapshot();
    // Details view, then a shut-down that another program calls off.
    PressToolButton(ui.toolBar, L"詳細");
    EXPECT_NE(::SendMessageW(window, WM_QUERYENDSESSION, 0, 0), 0);
    ::SendMessageW(window, WM_ENDSESSION, FALSE, 0);
    EXPECT_EQ(Snapshot(), before) << "a session end that was called off wrote the files";
    EXPECT_TRUE(::IsWindowVisible(window));
    // A log-off whose end of the process has not come yet writes what there is...
    ::SendMessageW(window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    EXPECT_EQ(IniSection(Settings(), "View")["Report"], "1");
    // ...and a close after it writes what changed since.
    PressToolButton(ui.toolBar, L"リスト");
    ASSERT_TRUE(orvane.Close());
    EXPECT_EQ(IniSection(Settings(), "View")["Report"], "0") << "the close after a session end wrote nothing";
    ExpectTheFirstRunBack(seen);
}

} // namespace
} // namespace orvane::e2e
