// The scan, the columns and the search, driven through the window as a user drives them.
#include "tests/e2e/orvane_process_e2e.h"
#include "tests/e2e/remote_controls_e2e.h"
#include "tests/e2e/start_menu_fixture_e2e.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace orvane::e2e {
namespace {

const std::vector<std::wstring> kPlainCaptions = {L"名前",     L"フルパス", L"リンク先",  L"説明",
                                                  L"更新日付", L"作成日付", L"バージョン"};

std::vector<std::wstring> ColumnTexts(HWND list, int column) {
    std::vector<std::wstring> texts;
    for (int row = 0; row < RowCount(list); ++row) {
        texts.push_back(CellText(list, row, column));
    }
    return texts;
}

bool Before(const std::wstring& a, const std::wstring& b) {
    return ::CompareStringW(LOCALE_USER_DEFAULT, 0, a.c_str(), -1, b.c_str(), -1) == CSTR_LESS_THAN;
}

std::wstring Caption(const std::wstring& path) {
    std::wstring name = path.substr(path.find_last_of(L'\\') + 1);
    return name.substr(0, name.find_last_of(L'.'));
}

std::wstring ScreenshotPath(const std::wstring& name) {
    std::wstring folder = test::ExeFolder() + L"\\..\\screenshots";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    return folder + L"\\" + name + L".bmp";
}

class CatalogueTest : public ::testing::Test {
protected:
    void SetUp() override {
        window = orvane.WaitForMainWindowPastPrompt();
        ASSERT_NE(window, nullptr);
        ui = FindControls(window);
        ASSERT_NE(ui.toolBar, nullptr);
        ASSERT_NE(ui.list, nullptr);
        ASSERT_NE(ui.statusBar, nullptr);
        ASSERT_NE(ui.searchEdit, nullptr);
    }
    void TearDown() override { EXPECT_TRUE(orvane.Close()); }

    IsolatedProfile profile;
    StartMenuFixture menus;
    OrvaneProcess orvane;
    HWND window = nullptr;
    MainWindowControls ui;
};

TEST_F(CatalogueTest, ScanListsEveryShortcutOfBothMenusSortedByNameWithIconsInWalkOrder) {
    EXPECT_EQ(HeaderCaptions(ui.header)[0], L"名前 ▲");
    PressToolButton(ui.toolBar, L"取得");

    EXPECT_EQ(WindowText(window), L"Orvane");
    ASSERT_EQ(RowCount(ui.list), static_cast<int>(menus.shortcuts().size()));

    // Sorted ascending by name under the user's collation.
    std::vector<std::wstring> names = ColumnTexts(ui.list, 0);
    std::vector<std::wstring> expected;
    for (const auto& shortcut : menus.shortcuts()) {
        expected.push_back(Caption(shortcut.path));
    }
    std::sort(expected.begin(), expected.end(), Before);
    EXPECT_EQ(names, expected);

    // Each row's icon sits at the place its file has in the depth-first walk: user menu first.
    std::vector<std::wstring> walk = menus.WalkOrder();
    ASSERT_EQ(walk.size(), menus.shortcuts().size());
    for (int row = 0; row < RowCount(ui.list); ++row) {
        std::wstring path = CellText(ui.list, row, 1);
        auto at = std::find(walk.begin(), walk.end(), path);
        ASSERT_NE(at, walk.end()) << "unexpected row path";
        EXPECT_EQ(RowImage(ui.list, row), static_cast<int>(at - walk.begin()));
    }

    // The texts of one row: target, description, times, version of the target program.
    int alpha = static_cast<int>(std::find(names.begin(), names.end(), L"Alpha Tool") - names.begin());
    const auto& shortcut = menus.Find(L"Alpha Tool");
    EXPECT_EQ(CellText(ui.list, alpha, 1), shortcut.path);
    EXPECT_EQ(CellText(ui.list, alpha, 2), shortcut.target);
    EXPECT_EQ(CellText(ui.list, alpha, 3), L"the first tool");
    EXPECT_EQ(CellText(ui.list, alpha, 4).size(), 16u); // "yyyy/mm/dd hh:nn"
    EXPECT_EQ(CellText(ui.list, alpha, 5).size(), 16u);
    EXPECT_FALSE(CellText(ui.list, alpha, 6).empty()); // the program's own version resource

    // After the scan nothing is selected: the item commands are off and the status bar is empty.
    EXPECT_EQ(SelectedRow(ui.list), -1);
    for (const wchar_t* caption :
         {L"実行", L"管理者として実行", L"フォルダを開く", L"リンク先フォルダを開く", L"検索"}) {
        EXPECT_FALSE(IsButtonEnabled(ui.toolBar, caption)) << "enabled after a scan";
    }
    EXPECT_TRUE(IsButtonEnabled(ui.toolBar, L"取得"));
    EXPECT_EQ(StatusText(ui.statusBar), L"");
    EXPECT_EQ(HeaderCaptions(ui.header),
              (std::vector<std::wstring>{L"名前 ▲", L"フルパス", L"リンク先", L"説明", L"更新日付",
                                         L"作成日付", L"バージョン"}));

    SaveWindowBitmap(window, ScreenshotPath(L"e2e-details-after-scan"));
}

TEST_F(CatalogueTest, SelectionDrivesTheStatusBarAndTheItemCommands) {
    PressToolButton(ui.toolBar, L"取得");
    std::vector<std::wstring> names = ColumnTexts(ui.list, 0);
    auto rowOf = [&](const std::wstring& name) {
        return static_cast<int>(std::find(names.begin(), names.end(), name) - names.begin());
    };

    ClickRow(ui.list, rowOf(L"Alpha Tool"));
    EXPECT_EQ(SelectedRow(ui.list), rowOf(L"Alpha Tool"));
    EXPECT_EQ(StatusText(ui.statusBar), menus.Find(L"Alpha Tool").target + L" the first tool");
    for (const wchar_t* caption : {L"実行", L"フォルダを開く", L"リンク先フォルダを開く"}) {
        EXPECT_TRUE(IsButtonEnabled(ui.toolBar, caption)) << "disabled for a program shortcut";
    }
    // The administrator button follows the same rule whether it is shown or not.
    EXPECT_TRUE(IsButtonEnabled(ui.toolBar, L"管理者として実行"));
    EXPECT_FALSE(IsButtonHidden(ui.toolBar, L"管理者として実行"));

    // An empty target: the status text begins with the space; no admin run, no target folder.
    ClickRow(ui.list, rowOf(L"Delta Needle"));
    EXPECT_EQ(StatusText(ui.statusBar), L" points nowhere");
    EXPECT_TRUE(IsButtonEnabled(ui.toolBar, L"実行"));
    EXPECT_FALSE(IsButtonEnabled(ui.toolBar, L"管理者として実行"));
    EXPECT_TRUE(IsButtonEnabled(ui.toolBar, L"フォルダを開く"));
    EXPECT_FALSE(IsButtonEnabled(ui.toolBar, L"リンク先フォルダを開く"));

    // A document: runs, but not as administrator.
    ClickRow(ui.list, rowOf(L"Bravo Document"));
    EXPECT_TRUE(IsButtonEnabled(ui.toolBar, L"実行"));
    EXPECT_FALSE(IsButtonEnabled(ui.toolBar, L"管理者として実行"));

    // A shortcut deleted after the scan can no longer run; its folder still opens.
    ::DeleteFileW(menus.Find(L"Golf Exec").path.c_str());
    ClickRow(ui.list, rowOf(L"Golf Exec"));
    EXPECT_FALSE(IsButtonEnabled(ui.toolBar, L"実行"));
    EXPECT_FALSE(IsButtonEnabled(ui.toolBar, L"管理者として実行"));
    EXPECT_TRUE(IsButtonEnabled(ui.toolBar, L"フォルダを開く"));
}

TEST_F(CatalogueTest, ExeOnlyScanKeepsRowsWhoseTargetContainsExe) {
    PressToolButton(ui.toolBar, L"EXEのみ取得");
    std::vector<std::wstring> targets = ColumnTexts(ui.list, 2);
    std::vector<std::wstring> expected;
    for (const auto& shortcut : menus.shortcuts()) {
        std::wstring lowered = shortcut.target;
        std::transform(lowered.begin(), lowered.end(), lowered.begin(),
                       [](wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c + 32) : c; });
        if (lowered.find(L".exe") != std::wstring::npos) {
            expected.push_back(Caption(shortcut.path));
        }
    }
    std::sort(expected.begin(), expected.end(), Before);
    EXPECT_EQ(ColumnTexts(ui.list, 0), expected);
    EXPECT_NE(std::find(expected.begin(), expected.end(), L"Golf Exec"), expected.end()); // ".exec\" passes
    // The remaining rows keep the icons of their own files.
    std::vector<std::wstring> walk = menus.WalkOrder();
    for (int row = 0; row < RowCount(ui.list); ++row) {
        auto at = std::find(walk.begin(), walk.end(), CellText(ui.list, row, 1));
        EXPECT_EQ(RowImage(ui.list, row), static_cast<int>(at - walk.begin()));
    }

    // A full scan afterwards brings every row back, images counted from 0 again.
    PressToolButton(ui.toolBar, L"取得");
    EXPECT_EQ(RowCount(ui.list), static_cast<int>(menus.shortcuts().size()));
}

TEST_F(CatalogueTest, HeaderClicksSortAndMoveTheMarker) {
    PressToolButton(ui.toolBar, L"取得");
    ClickHeader(ui.header, 3);
    auto captions = HeaderCaptions(ui.header);
    EXPECT_EQ(captions[0], L"名前");
    EXPECT_EQ(captions[3], L"説明 ▲");
    std::vector<std::wstring> descriptions = ColumnTexts(ui.list, 3);
    EXPECT_TRUE(std::is_sorted(descriptions.begin(), descriptions.end(), Before));

    ClickHeader(ui.header, 3);
    EXPECT_EQ(HeaderCaptions(ui.header)[3], L"説明 ▼");
    std::vector<std::wstring> reversed = ColumnTexts(ui.list, 3);
    std::reverse(reversed.begin(), reversed.end());
    EXPECT_TRUE(std::is_sorted(reversed.begin(), reversed.end(), Before));

    ClickHeader(ui.header, 0);
    captions = HeaderCaptions(ui.header);
    EXPECT_EQ(captions[0], L"名前 ▲");
    EXPECT_EQ(captions[3], L"説明");
    // Every caption is one of the seven, with at most the marker behind it.
    for (std::size_t i = 0; i < captions.size(); ++i) {
        EXPECT_EQ(captions[i].substr(0, kPlainCaptions[i].size()), kPlainCaptions[i]);
    }
}

TEST_F(CatalogueTest, SearchStepsThroughTheHitsWithoutWrapping) {
    // Enough rows after the hits that each hit can be scrolled to the top of a long list.
    for (int i = 0; i < 60; ++i) {
        menus.Write(menus.userMenu(), L"Zz Filler " + std::to_wstring(100 + i) + L".lnk",
                    menus.documentPath(), L"filler");
    }
    PressToolButton(ui.toolBar, L"取得");
    std::vector<std::wstring> names = ColumnTexts(ui.list, 0);
    // The two rows whose name, path or target contain the text, in list order.
    std::vector<int> hits;
    for (int row = 0; row < RowCount(ui.list); ++row) {
        std::wstring haystack =
            CellText(ui.list, row, 0) + L"|" + CellText(ui.list, row, 1) + L"|" + CellText(ui.list, row, 2);
        ::CharUpperBuffW(haystack.data(), static_cast<DWORD>(haystack.size()));
        if (haystack.find(L"NEEDLE") != std::wstring::npos) {
            hits.push_back(row);
        }
    }
    ASSERT_EQ(hits, (std::vector<int>{3, 8}));

    EXPECT_FALSE(IsButtonEnabled(ui.toolBar, L"検索"));
    TypeText(ui.searchEdit, L"needle");
    EXPECT_TRUE(IsButtonEnabled(ui.toolBar, L"検索"));

    PressToolButton(ui.toolBar, L"検索");
    EXPECT_EQ(SelectedRow(ui.list), 3);
    // The hit is scrolled to the top: the list is more than a page longer than the last hit.
    const int perPage = static_cast<int>(::SendMessageW(ui.list, LVM_GETCOUNTPERPAGE, 0, 0));
    ASSERT_GT(RowCount(ui.list) - perPage, 8);
    EXPECT_EQ(TopRow(ui.list), 3);
    // The list has the keyboard focus.
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    ASSERT_TRUE(::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &gui));
    EXPECT_EQ(gui.hwndFocus, ui.list);
    EXPECT_EQ(StatusText(ui.statusBar), CellText(ui.list, 3, 2) + L" " + CellText(ui.list, 3, 3));
    PressToolButton(ui.toolBar, L"検索");
    EXPECT_EQ(SelectedRow(ui.list), 8);
    EXPECT_EQ(TopRow(ui.list), 8);
    PressToolButton(ui.toolBar, L"検索");
    EXPECT_EQ(SelectedRow(ui.list), -1);
    EXPECT_EQ(StatusText(ui.statusBar), L"");
    EXPECT_FALSE(IsButtonEnabled(ui.toolBar, L"実行"));
    PressToolButton(ui.toolBar, L"検索");
    EXPECT_EQ(SelectedRow(ui.list), 3);

    // The history holds the text once, whatever its case.
    TypeText(ui.searchEdit, L"NEEDLE");
    PressToolButton(ui.toolBar, L"検索");
    EXPECT_EQ(::SendMessageW(ui.searchBox, CB_GETCOUNT, 0, 0), 1);

    TypeText(ui.searchEdit, L"");
    EXPECT_FALSE(IsButtonEnabled(ui.toolBar, L"検索"));
}

} // namespace
} // namespace orvane::e2e

namespace orvane::e2e {
namespace {

HWND FocusOf(HWND window) {
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    return ::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &gui) ? gui.hwndFocus : nullptr;
}

// Posts a key press to whichever control has the focus, as the keyboard would, and waits until the
// program has handled it.
void PressKey(HWND window, WORD key) {
    HWND focus = FocusOf(window);
    ::PostMessageW(focus != nullptr ? focus : window, WM_KEYDOWN, key, 1);
    ::PostMessageW(focus != nullptr ? focus : window, WM_KEYUP, key, 0xC0000001);
    Sync(window);
}

TEST_F(CatalogueTest, KeyboardAloneScansSearchesAndReachesTheToolBar) {
    // F5 scans; the list has the focus from the start.
    ASSERT_EQ(FocusOf(window), ui.list);
    PressKey(window, VK_F5);
    ASSERT_EQ(RowCount(ui.list), static_cast<int>(menus.shortcuts().size()));
    // Tab goes to the search box, where typing and Enter find a row and give the list the focus.
    PressKey(window, VK_TAB);
    EXPECT_EQ(FocusOf(window), ui.searchEdit);
    TypeText(ui.searchEdit, L"needle");
    PressKey(window, VK_RETURN);
    EXPECT_EQ(SelectedRow(ui.list), 3);
    EXPECT_EQ(FocusOf(window), ui.list);
    // Two Tabs reach the tool bar, whose first command shows as the keyboard's place.
    PressKey(window, VK_TAB);
    PressKey(window, VK_TAB);
    EXPECT_EQ(FocusOf(window), ui.toolBar);
    EXPECT_EQ(::SendMessageW(ui.toolBar, TB_GETHOTITEM, 0, 0), 0);
    PressKey(window, VK_TAB);
    EXPECT_EQ(FocusOf(window), ui.list);
}

} // namespace
} // namespace orvane::e2e
