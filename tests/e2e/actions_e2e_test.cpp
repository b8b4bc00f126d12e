// Running shortcuts, opening folders, the context menu and the hover texts, as a user does them.
#include "tests/e2e/orvane_process_e2e.h"
#include "tests/e2e/remote_controls_e2e.h"
#include "tests/e2e/start_menu_fixture_e2e.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

namespace orvane::e2e {
namespace {

using namespace std::chrono_literals;

std::wstring ReadMarker(const std::wstring& path, std::chrono::milliseconds timeout = 20s) {
    auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline) {
        std::string bytes = test::ReadFileBytes(path);
        if (!bytes.empty()) {
            return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()),
                                bytes.size() / sizeof(wchar_t));
        }
        std::this_thread::sleep_for(50ms);
    }
    return {};
}

// The screen point at the middle of a row's first column.
POINT RowPoint(HWND list, int row, bool screen) {
    ::SendMessageW(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
    RECT rect{};
    rect.left = LVIR_LABEL;
    // LVM_GETITEMRECT needs a buffer in the list's process; ClickRow does the same.
    DWORD pid = 0;
    ::GetWindowThreadProcessId(list, &pid);
    UniqueHandle process(
        ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid));
    void* remote = ::VirtualAllocEx(process.get(), nullptr, sizeof rect, MEM_COMMIT, PAGE_READWRITE);
    ::WriteProcessMemory(process.get(), remote, &rect, sizeof rect, nullptr);
    ::SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(remote));
    ::ReadProcessMemory(process.get(), remote, &rect, sizeof rect, nullptr);
    ::VirtualFreeEx(process.get(), remote, 0, MEM_RELEASE);
    POINT at{rect.left + 8, (rect.top + rect.bottom) / 2};
    if (screen) {
        ::ClientToScreen(list, &at);
    }
    return at;
}

HWND WaitForPopupMenu(DWORD process, std::chrono::milliseconds timeout = 10s) {
    auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline) {
        for (HWND menu : WindowsOf(process, L"#32768")) {
            if (::IsWindowVisible(menu)) {
                return menu;
            }
        }
        std::this_thread::sleep_for(30ms);
    }
    return nullptr;
}

// Presses Escape on an open menu until it closes; true when it closed.
bool DismissMenu(HWND menu) {
    for (int i = 0; i < 30 && ::IsWindowVisible(menu); ++i) {
        ::PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
        std::this_thread::sleep_for(200ms);
    }
    return !::IsWindowVisible(menu);
}

class ActionsTest : public ::testing::Test {
protected:
    void SetUp() override {
        marker = menus.root() + L"\\marker.txt";
        workDir = menus.root() + L"\\work";
        ::CreateDirectoryW(workDir.c_str(), nullptr);
        menus.Write(menus.userMenu(), L"Marker Run.lnk", test::ExeFolder() + L"\\orvane_marker.exe",
                    L"writes a marker", false, L"\"" + marker + L"\" first second", workDir);
        window = orvane.WaitForMainWindowPastPrompt();
        ASSERT_NE(window, nullptr);
        ui = FindControls(window);
        PressToolButton(ui.toolBar, L"取得");
        names.clear();
        for (int row = 0; row < RowCount(ui.list); ++row) {
            names.push_back(CellText(ui.list, row, 0));
        }
    }
    void TearDown() override { EXPECT_TRUE(orvane.Close()); }
    int RowOf(const std::wstring& name) const {
        return static_cast<int>(std::find(names.begin(), names.end(), name) - names.begin());
    }

    IsolatedProfile profile;
    StartMenuFixture menus;
    OrvaneProcess orvane;
    HWND window = nullptr;
    MainWindowControls ui;
    std::vector<std::wstring> names;
    std::wstring marker;
    std::wstring workDir;
};

TEST_F(ActionsTest, DoubleClickRunsTheShortcutWithItsArgumentsAndWorkingFolder) {
    int row = RowOf(L"Marker Run");
    ClickRow(ui.list, row);
    POINT at = RowPoint(ui.list, row, false);
    ::PostMessageW(ui.list, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    ::PostMessageW(ui.list, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
    Sync(ui.list);
    std::wstring text = ReadMarker(marker);
    ASSERT_FALSE(text.empty()) << "the shortcut's program did not run";
    EXPECT_EQ(text.substr(0, text.find(L'\n')), L"first second");
    EXPECT_EQ(::lstrcmpiW(text.substr(text.find(L'\n') + 1).c_str(), workDir.c_str()), 0);
}

// Presses keys through the system's input, as the keyboard does, so a modifier is really held while
// the key goes down: the window is brought to the front first, since input goes to the foreground.
bool PressChord(HWND window, std::initializer_list<WORD> keys) {
    ::SetForegroundWindow(window);
    for (int i = 0; i < 100 && ::GetForegroundWindow() != window; ++i) {
        std::this_thread::sleep_for(20ms);
    }
    if (::GetForegroundWindow() != window) {
        return false;
    }
    std::vector<INPUT> inputs;
    for (WORD key : keys) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        inputs.push_back(input);
    }
    for (auto key = std::rbegin(keys); key != std::rend(keys); ++key) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = *key;
        input.ki.dwFlags = KEYEVENTF_KEYUP;
        inputs.push_back(input);
    }
    ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    Sync(window);
    return true;
}

TEST_F(ActionsTest, EnterRunsTheSelectedShortcutWithShiftCtrlOrAltHeld) {
    for (WORD modifier : {WORD{VK_SHIFT}, WORD{VK_CONTROL}, WORD{VK_MENU}}) {
        SCOPED_TRACE(modifier);
        ::DeleteFileW(marker.c_str());
        ClickRow(ui.list, RowOf(L"Marker Run"));
        ASSERT_TRUE(PressChord(window, {modifier, VK_RETURN})) << "the window did not come to the front";
        EXPECT_FALSE(ReadMarker(marker).empty()) << "Enter with the modifier held ran nothing";
    }
}

TEST_F(ActionsTest, TheRunButtonRunsAndADeletedShortcutSaysItCannotRun) {
    ClickRow(ui.list, RowOf(L"Marker Run"));
    ASSERT_TRUE(IsButtonEnabled(ui.toolBar, L"実行"));
    PressToolButton(ui.toolBar, L"実行");
    EXPECT_FALSE(ReadMarker(marker).empty());

    // The button goes grey for a deleted file, but a double click still tries and reports the failure.
    int row = RowOf(L"Alpha Tool");
    ::DeleteFileW(menus.Find(L"Alpha Tool").path.c_str());
    ClickRow(ui.list, row);
    EXPECT_FALSE(IsButtonEnabled(ui.toolBar, L"実行"));
    POINT at = RowPoint(ui.list, row, false);
    ::PostMessageW(ui.list, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    ::PostMessageW(ui.list, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
    HWND box = orvane.WaitForMessageBox(15s);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), L"実行できません。");
    EXPECT_EQ(MessageBoxTitle(box), L"Orvane");
    EXPECT_EQ(::GetWindow(box, GW_OWNER), window);
    PressOk(box);
    EXPECT_EQ(SelectedRow(ui.list), row); // the selection stays
}

TEST_F(ActionsTest, RightClickOpensTheShellMenuAtThePointerAndShiftTheTargets) {
    // Shift on a row with an empty target: nothing opens.
    int empty = RowOf(L"Delta Needle");
    POINT emptyPoint = RowPoint(ui.list, empty, false);
    // The pointer is where the press is, as with a real mouse: the list compares the two to tell a
    // click from a drag.
    POINT emptyScreen = RowPoint(ui.list, empty, true);
    ::SetCursorPos(emptyScreen.x, emptyScreen.y);
    ::PostMessageW(ui.list, WM_RBUTTONDOWN, MK_RBUTTON | MK_SHIFT, MAKELPARAM(emptyPoint.x, emptyPoint.y));
    ::PostMessageW(ui.list, WM_RBUTTONUP, MK_SHIFT, MAKELPARAM(emptyPoint.x, emptyPoint.y));
    Sync(ui.list);
    EXPECT_EQ(WaitForPopupMenu(orvane.id(), 1500ms), nullptr);
    EXPECT_EQ(SelectedRow(ui.list), empty);

    int row = RowOf(L"Bravo Document");
    POINT screen = RowPoint(ui.list, row, true);
    POINT client = RowPoint(ui.list, row, false);
    ::SetCursorPos(screen.x, screen.y);
    ::PostMessageW(ui.list, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(client.x, client.y));
    ::PostMessageW(ui.list, WM_RBUTTONUP, 0, MAKELPARAM(client.x, client.y));
    HWND menu = WaitForPopupMenu(orvane.id());
    ASSERT_NE(menu, nullptr) << "no context menu";
    EXPECT_EQ(SelectedRow(ui.list), row);
    RECT rect{};
    ::GetWindowRect(menu, &rect);
    EXPECT_LE(std::abs(rect.left - screen.x), 2);
    EXPECT_LE(std::abs(rect.top - screen.y), 2);
    EXPECT_TRUE(DismissMenu(menu));

    // Shift with the right button: the target's menu (the document exists, so a menu opens).
    ::PostMessageW(ui.list, WM_RBUTTONDOWN, MK_RBUTTON | MK_SHIFT, MAKELPARAM(client.x, client.y));
    ::PostMessageW(ui.list, WM_RBUTTONUP, MK_SHIFT, MAKELPARAM(client.x, client.y));
    menu = WaitForPopupMenu(orvane.id());
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(DismissMenu(menu));
    Sync(ui.list);
}

TEST_F(ActionsTest, TheContextMenuKeyOpensTheShellMenuAtTheSelectedRow) {
    int row = RowOf(L"Bravo Document");
    ClickRow(ui.list, row);
    POINT screen = RowPoint(ui.list, row, true);
    ::PostMessageW(ui.list, WM_KEYDOWN, VK_APPS, 1);
    HWND menu = WaitForPopupMenu(orvane.id());
    ASSERT_NE(menu, nullptr) << "no context menu from the keyboard";
    RECT rect{};
    ::GetWindowRect(menu, &rect);
    // At the row, not wherever the pointer happens to be.
    EXPECT_LE(std::abs(rect.top - screen.y), 12);
    EXPECT_TRUE(DismissMenu(menu));
    Sync(ui.list);
}

} // namespace
} // namespace orvane::e2e

namespace orvane::e2e {
namespace {

// The window another process opened on a folder, found by the folder's name.
HWND WaitForFolderWindow(const std::wstring& folder, DWORD except) {
    return test::WaitForForeignWindow(folder.substr(folder.find_last_of(L'\\') + 1), except);
}

TEST_F(ActionsTest, TheFolderButtonsOpenTheShortcutsFolderAndTheTargetsFolder) {
    ClickRow(ui.list, RowOf(L"Charlie Folder"));
    ASSERT_TRUE(IsButtonEnabled(ui.toolBar, L"フォルダを開く"));
    PressToolButton(ui.toolBar, L"フォルダを開く");
    HWND opened = WaitForFolderWindow(menus.userMenu() + L"\\Programs\\Nested", orvane.id());
    ASSERT_NE(opened, nullptr) << "no window on the shortcut's folder";
    test::CloseForeignWindow(opened);

    // The target of "Bravo Document" is docs\report.txt: its folder is docs.
    ClickRow(ui.list, RowOf(L"Bravo Document"));
    ASSERT_TRUE(IsButtonEnabled(ui.toolBar, L"リンク先フォルダを開く"));
    PressToolButton(ui.toolBar, L"リンク先フォルダを開く");
    opened = WaitForFolderWindow(menus.folderPath(), orvane.id());
    ASSERT_NE(opened, nullptr) << "no window on the target's folder";
    test::CloseForeignWindow(opened);
}

} // namespace
} // namespace orvane::e2e
