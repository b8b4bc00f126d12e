// Settings and caches across restarts, as a user meets them.
#include "store/stream/component_stream.h"
#include "tests/e2e/data_folder_e2e.h"
#include "tests/e2e/orvane_process_e2e.h"
#include "tests/e2e/remote_controls_e2e.h"
#include "tests/e2e/start_menu_fixture_e2e.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <map>
#include <sstream>

namespace orvane::e2e {
namespace {

using namespace std::chrono_literals;

TEST_F(PersistenceTest, FirstStartUsesTheDefaultsAndWritesTheKeysInOrder) {
    {
        OrvaneProcess orvane;
        HWND window = orvane.WaitForMainWindowPastPrompt();
        ASSERT_NE(window, nullptr);
        auto ui = FindControls(window);
        EXPECT_EQ(ListViewView(ui.list), static_cast<DWORD>(LV_VIEW_DETAILS));
        EXPECT_TRUE(IsButtonChecked(ui.toolBar, L"詳細"));
        EXPECT_FALSE(IsButtonChecked(ui.toolBar, L"リスト"));
        EXPECT_EQ(ColumnWidths(ui.list, 7), std::vector<int>(7, 300));
        EXPECT_EQ(HeaderCaptions(ui.header)[0], L"名前 ▲");
        EXPECT_EQ(::SendMessageW(ui.list, LVM_GETBKCOLOR, 0, 0),
                  static_cast<LRESULT>(::GetSysColor(COLOR_BTNFACE)));
        ASSERT_TRUE(orvane.Close());
    }
    std::string ini = Settings();
    std::vector<std::string> expected = {"[Window]", "Max",     "Top",     "Left",       "Height",
                                         "Width",    "Column0", "Column1", "Column2",    "Column3",
                                         "Column4",  "Column5", "Column6", "ColumnSort", "ColumnIndex",
                                         "FontSize", "Style",   "",        "[View]",     "Report"};
    std::vector<std::string> keys = IniKeys(ini);
    keys.erase(std::remove(keys.begin(), keys.end(), std::string()), keys.end());
    expected.erase(std::remove(expected.begin(), expected.end(), std::string()), expected.end());
    EXPECT_EQ(keys, expected);
    auto window = IniSection(ini, "Window");
    EXPECT_EQ(window["Max"], "0");
    EXPECT_EQ(window["Column3"], "300");
    EXPECT_EQ(window["ColumnSort"], "0");
    EXPECT_EQ(window["Style"], "0");
    EXPECT_EQ(IniSection(ini, "View")["Report"], "1");
    EXPECT_NE(ini.find("\r\n"), std::string::npos);
}

TEST_F(PersistenceTest, StoredListViewAndDescendingSortComeBack) {
    WriteSettings("[Window]\r\nColumnSort=-4\r\nColumnIndex=3\r\nColumn2=123\r\nFontSize=0x0E\r\n"
                  "[Other]\r\nKeep=me\r\n[View]\r\nReport=0\r\n");
    {
        OrvaneProcess orvane;
        HWND window = orvane.WaitForMainWindowPastPrompt();
        ASSERT_NE(window, nullptr);
        auto ui = FindControls(window);
        EXPECT_EQ(ListViewView(ui.list), static_cast<DWORD>(LV_VIEW_LIST));
        EXPECT_TRUE(IsButtonChecked(ui.toolBar, L"リスト"));
        EXPECT_FALSE(IsButtonChecked(ui.toolBar, L"詳細"));
        EXPECT_EQ(HeaderCaptions(ui.header)[3], L"説明 ▼");
        EXPECT_EQ(ColumnWidths(ui.list, 3)[2], 123);

        // Back to details view: the first click on "説明" sorts ascending.
        PressToolButton(ui.toolBar, L"詳細");
        EXPECT_EQ(ListViewView(ui.list), static_cast<DWORD>(LV_VIEW_DETAILS));
        ClickHeader(ui.header, 3);
        EXPECT_EQ(HeaderCaptions(ui.header)[3], L"説明 ▲");
        ASSERT_TRUE(orvane.Close());
    }
    std::string ini = Settings();
    auto window = IniSection(ini, "Window");
    EXPECT_EQ(window["ColumnSort"], "4");
    EXPECT_EQ(window["ColumnIndex"], "3");
    EXPECT_EQ(window["FontSize"], "14"); // read as hexadecimal 0x0E
    EXPECT_EQ(IniSection(ini, "View")["Report"], "1");
    EXPECT_EQ(IniSection(ini, "Other")["Keep"], "me"); // a section of another name survives
}

TEST_F(PersistenceTest, MaximisedWindowKeepsTheOlderRectangle) {
    WriteSettings("[Window]\r\nMax=1\r\nTop=11\r\nLeft=22\r\nHeight=333\r\nWidth=444\r\n");
    {
        OrvaneProcess orvane;
        HWND window = orvane.WaitForMainWindowPastPrompt();
        ASSERT_NE(window, nullptr);
        EXPECT_TRUE(::IsZoomed(window));
        ASSERT_TRUE(orvane.Close());
    }
    auto window = IniSection(Settings(), "Window");
    EXPECT_EQ(window["Max"], "1");
    EXPECT_EQ(window["Top"], "11");
    EXPECT_EQ(window["Left"], "22");
    EXPECT_EQ(window["Height"], "333");
    EXPECT_EQ(window["Width"], "444");
}

TEST_F(PersistenceTest, AWindowSavedOffScreenComesBackCentred) {
    WriteSettings("[Window]\r\nMax=0\r\nTop=200\r\nLeft=3000\r\nHeight=400\r\nWidth=600\r\n");
    OrvaneProcess orvane;
    HWND window = orvane.WaitForMainWindowPastPrompt();
    ASSERT_NE(window, nullptr);
    RECT rect{};
    ::GetWindowRect(window, &rect);
    RECT work{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_EQ(rect.right - rect.left, 600);
    EXPECT_EQ(rect.bottom - rect.top, 400);
    // No taskbar under Xvfb: the work area is the whole screen.
    EXPECT_EQ(rect.left, (work.right - 600) / 2);
    EXPECT_EQ(rect.top, (work.bottom - 400) / 2);
    EXPECT_TRUE(orvane.Close());
}

TEST_F(PersistenceTest, ChoicesOfOneRunComeBackInTheNext) {
    WriteSettings("[Window]\r\nStyle=2\r\nFontSize=10\r\n");
    {
        OrvaneProcess orvane;
        HWND window = orvane.WaitForMainWindowPastPrompt();
        ASSERT_NE(window, nullptr);
        auto ui = FindControls(window);
        // The Dark scheme: white list text.
        EXPECT_EQ(::SendMessageW(ui.list, LVM_GETTEXTCOLOR, 0, 0), static_cast<LRESULT>(RGB(255, 255, 255)));
        ::SendMessageW(ui.list, LVM_SETCOLUMNWIDTH, 1, MAKELPARAM(222, 0));
        ClickHeader(ui.header, 2);
        ClickHeader(ui.header, 2);
        // Ctrl and the wheel: one point larger.
        RECT rect{};
        ::GetWindowRect(ui.list, &rect);
        ::PostMessageW(ui.list, WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, WHEEL_DELTA),
                       MAKELPARAM(rect.left + 50, rect.top + 50));
        Sync(ui.list);
        ASSERT_TRUE(orvane.Close());
    }
    auto window = IniSection(Settings(), "Window");
    EXPECT_EQ(window["Style"], "2");
    EXPECT_EQ(window["Column1"], "222");
    EXPECT_EQ(window["ColumnSort"], "-3");
    EXPECT_EQ(window["ColumnIndex"], "2");
    EXPECT_EQ(window["FontSize"], "11");
    {
        OrvaneProcess orvane;
        HWND window2 = orvane.WaitForMainWindowPastPrompt();
        ASSERT_NE(window2, nullptr);
        auto ui = FindControls(window2);
        EXPECT_EQ(ColumnWidths(ui.list, 2)[1], 222);
        EXPECT_EQ(HeaderCaptions(ui.header)[2], L"リンク先 ▼");
        EXPECT_EQ(::SendMessageW(ui.list, LVM_GETTEXTCOLOR, 0, 0), static_cast<LRESULT>(RGB(255, 255, 255)));
        ASSERT_TRUE(orvane.Close());
    }
}

TEST_F(PersistenceTest, OutOfRangeSchemeAndColumnIndexAreReadAsZero) {
    WriteSettings("[Window]\r\nStyle=7\r\nColumnIndex=42\r\nColumnSort=2\r\n");
    OrvaneProcess orvane;
    HWND window = orvane.WaitForMainWindowPastPrompt();
    ASSERT_NE(window, nullptr);
    auto ui = FindControls(window);
    EXPECT_EQ(HeaderCaptions(ui.header)[0], L"名前 ▲");
    ASSERT_TRUE(orvane.Close());
    EXPECT_EQ(IniSection(Settings(), "Window")["Style"], "0");
}

TEST_F(PersistenceTest, ClosedWhileMinimisedComesBackOnScreenAtItsSize) {
    WriteSettings("[Window]\r\nMax=0\r\nTop=120\r\nLeft=140\r\nHeight=420\r\nWidth=640\r\n");
    // Minimised, then closed from the task bar, which sends the window's close command.
    auto minimiseAndClose = [](OrvaneProcess& orvane, HWND window) {
        ::SendMessageW(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        ASSERT_TRUE(::IsIconic(window));
        ::PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
        ASSERT_TRUE(orvane.WaitForExit());
    };
    {
        OrvaneProcess orvane;
        HWND window = orvane.WaitForMainWindowPastPrompt();
        ASSERT_NE(window, nullptr);
        minimiseAndClose(orvane, window);
    }
    auto saved = IniSection(Settings(), "Window");
    EXPECT_EQ(saved["Max"], "0");
    EXPECT_EQ(saved["Left"], "140");
    EXPECT_EQ(saved["Top"], "120");
    EXPECT_EQ(saved["Width"], "640");
    EXPECT_EQ(saved["Height"], "420");
    {
        OrvaneProcess orvane;
        HWND window = orvane.WaitForMainWindowPastPrompt();
        ASSERT_NE(window, nullptr);
        RECT rect{};
        ::GetWindowRect(window, &rect);
        EXPECT_EQ(rect.left, 140);
        EXPECT_EQ(rect.top, 120);
        EXPECT_EQ(rect.right - rect.left, 640);
        EXPECT_EQ(rect.bottom - rect.top, 420);
        EXPECT_NE(::MonitorFromRect(&rect, MONITOR_DEFAULTTONULL), nullptr);
        Sync(window);
        SaveScreenshot(L"restart-after-minimised-close");
        // Maximised, minimised and closed: it returns maximised, over the same restore rectangle.
        ::SendMessageW(window, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
        minimiseAndClose(orvane, window);
    }
    saved = IniSection(Settings(), "Window");
    EXPECT_EQ(saved["Max"], "1");
    EXPECT_EQ(saved["Left"], "140");
    EXPECT_EQ(saved["Width"], "640");
    OrvaneProcess orvane;
    HWND window = orvane.WaitForMainWindowPastPrompt();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(::IsZoomed(window));
    EXPECT_TRUE(orvane.Close());
}

TEST_F(PersistenceTest, TheRequestToScanComesOverTheWindowInItsRestoredView) {
    WriteSettings("[Window]\r\nColumnSort=-2\r\nColumnIndex=1\r\n[View]\r\nReport=0\r\n");
    OrvaneProcess orvane;
    HWND prompt = orvane.WaitForMessageBox();
    ASSERT_NE(prompt, nullptr);
    HWND window = orvane.MainWindow();
    ASSERT_NE(window, nullptr) << "the request came before the window showed";
    auto ui = FindControls(window);
    EXPECT_EQ(::GetWindow(prompt, GW_OWNER), window);
    EXPECT_EQ(ListViewView(ui.list), static_cast<DWORD>(LV_VIEW_LIST));
    SaveScreenshot(L"first-start-prompt");
    PressOk(prompt);
    Sync(window);
    EXPECT_EQ(ListViewView(ui.list), static_cast<DWORD>(LV_VIEW_LIST));
    EXPECT_TRUE(IsButtonChecked(ui.toolBar, L"リスト"));
    EXPECT_EQ(HeaderCaptions(ui.header)[1], L"フルパス ▼");
    EXPECT_TRUE(orvane.Close());
}

class CacheTest : public PersistenceTest {
protected:
    StartMenuFixture menus;
};

TEST_F(CacheTest, TheLastScanIsShownAtOnceOnTheNextStart) {
    std::vector<std::wstring> names;
    std::vector<std::wstring> paths;
    std::vector<int> images;
    {
        OrvaneProcess orvane;
        HWND window = orvane.WaitForMainWindowPastPrompt();
        ASSERT_NE(window, nullptr);
        auto ui = FindControls(window);
        PressToolButton(ui.toolBar, L"取得");
        ClickHeader(ui.header, 1); // sorted by path, so the cached order is not the name order
        names = Column(ui.list, 0);
        paths = Column(ui.list, 1);
        for (int row = 0; row < RowCount(ui.list); ++row) {
            images.push_back(RowImage(ui.list, row));
        }
        TypeText(ui.searchEdit, L"日本語");
        PressToolButton(ui.toolBar, L"検索");
        ASSERT_TRUE(orvane.Close());
    }
    ASSERT_FALSE(names.empty());
    for (const wchar_t* name : {L"File.lst", L"IconS.lst", L"IconL.lst", L"Find.lst"}) {
        EXPECT_TRUE(test::ReadFileBytes(File(name)).size() > 0) << "cache file not written";
    }
    {
        // Both icon files hold the scan's pictures, each under its own list's name.
        auto read = [&](const wchar_t* name) {
            const std::string bytes = test::ReadFileBytes(File(name));
            return ReadComponentStream(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
        };
        const StreamComponent small = read(L"IconS.lst");
        const StreamComponent large = read(L"IconL.lst");
        EXPECT_EQ(small.objectName, "ImageListS");
        EXPECT_EQ(large.objectName, "ImageListL");
        ASSERT_TRUE(small.Find("Bitmap") != nullptr && large.Find("Bitmap") != nullptr);
        EXPECT_EQ(large.Find("Bitmap")->value.binary, small.Find("Bitmap")->value.binary);
    }
    {
        OrvaneProcess orvane;
        HWND window = orvane.WaitForMainWindow();
        ASSERT_NE(window, nullptr);
        // A cached list needs no scan: no prompt.
        EXPECT_EQ(orvane.WaitForMessageBox(1500ms), nullptr);
        auto ui = FindControls(window);
        EXPECT_EQ(Column(ui.list, 0), names);
        EXPECT_EQ(Column(ui.list, 1), paths);
        for (int row = 0; row < RowCount(ui.list); ++row) {
            EXPECT_EQ(RowImage(ui.list, row), images[static_cast<std::size_t>(row)]);
        }
        EXPECT_EQ(HeaderCaptions(ui.header)[1], L"フルパス ▲");
        EXPECT_EQ(::SendMessageW(ui.searchBox, CB_GETCOUNT, 0, 0), 1);
        ASSERT_TRUE(orvane.Close());
    }
    // Without the icon files the rows come back without icons.
    ::DeleteFileW(File(L"IconS.lst").c_str());
    ::DeleteFileW(File(L"IconL.lst").c_str());
    {
        OrvaneProcess orvane;
        HWND window = orvane.WaitForMainWindow();
        ASSERT_NE(window, nullptr);
        auto ui = FindControls(window);
        EXPECT_EQ(Column(ui.list, 0), names);
        for (int row = 0; row < RowCount(ui.list); ++row) {
            EXPECT_LT(RowImage(ui.list, row), 0) << "a row kept an icon index the image lists cannot show";
        }
        ASSERT_TRUE(orvane.Close());
    }
}

TEST_F(CacheTest, ADamagedListCacheGivesAnEmptyListAndAPrompt) {
    {
        OrvaneProcess orvane;
        HWND window = orvane.WaitForMainWindowPastPrompt();
        ASSERT_NE(window, nullptr);
        PressToolButton(FindControls(window).toolBar, L"取得");
        ASSERT_TRUE(orvane.Close());
    }
    std::string bytes = test::ReadFileBytes(File(L"File.lst"));
    ASSERT_GT(bytes.size(), 100u);
    test::WriteFileBytes(File(L"File.lst"), bytes.substr(0, bytes.size() / 2));

    OrvaneProcess orvane;
    HWND window = orvane.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    HWND prompt = orvane.WaitForMessageBox();
    ASSERT_NE(prompt, nullptr);
    EXPECT_EQ(MessageBoxText(prompt), L"データを取得してください。");
    PressOk(prompt);
    EXPECT_EQ(RowCount(FindControls(window).list), 0);
    EXPECT_TRUE(orvane.Close());
}

} // namespace
} // namespace orvane::e2e
