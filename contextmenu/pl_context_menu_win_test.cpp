#include "contextmenu/pl_context_menu_win.h"

#include "contextmenu/context_menu_hook_win.h"
#include "contextmenu/context_menu_state_win.h"
#include "contextmenu/context_menu_test_support_win.h"
#include "tests/support/test_support_win.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <algorithm>
#include <functional>
#include <map>
#include <stdexcept>

namespace orvane {
namespace {

using Microsoft::WRL::ComPtr;
using test::Captions;
using Texts = std::vector<std::wstring>;

constexpr wchar_t kFileName[] = L"orvane-menu-target.txt";
constexpr wchar_t kMyComputer[] = L"{20D04FE0-3AEA-1069-A2D8-08002B30309D}";

class TestContextMenu : public TplContextMenu {
public:
    using TplContextMenu::BuildContextMenu;
    using TplContextMenu::GetPidlFromName;
    using TplContextMenu::GetPidlParsingName;
};

// Thread timers: their actions run inside whatever message loop runs then (the menu's own loop
// while a menu is tracked). An action that returns false is tried again on the next tick.
std::map<UINT_PTR, std::function<bool()>> timerActions;

void CALLBACK RunTimerAction(HWND, UINT, UINT_PTR id, DWORD) {
    auto found = timerActions.find(id);
    if (found == timerActions.end() || std::function<bool()>(found->second)()) {
        ::KillTimer(nullptr, id);
        timerActions.erase(id);
    }
}

void Every50ms(std::function<bool()> action) {
    timerActions[::SetTimer(nullptr, 0, 50, RunTimerAction)] = std::move(action);
}

HWND OpenMenuWindow() {
    HWND window = nullptr;
    while ((window = ::FindWindowExW(nullptr, window, L"#32768", nullptr)) != nullptr) {
        if (::IsWindowVisible(window) &&
            ::GetWindowThreadProcessId(window, nullptr) == ::GetCurrentThreadId()) {
            return window;
        }
    }
    return nullptr;
}

// Runs an action inside the menu loop once the menu is on screen.
void WhenMenuOpen(std::function<void(HWND)> action) {
    Every50ms([action] {
        HWND menu = OpenMenuWindow();
        if (menu != nullptr) {
            action(menu);
        }
        return menu != nullptr;
    });
}

void PressKeys(HWND menu, std::initializer_list<WPARAM> keys) {
    for (WPARAM key : keys) {
        ::PostMessageW(menu, WM_KEYDOWN, key, 0);
    }
}

// A visible dialog of this process whose title holds the test file's name (its property sheet).
HWND FileDialog() {
    HWND found = nullptr;
    ::EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            DWORD process = 0;
            ::GetWindowThreadProcessId(window, &process);
            wchar_t className[16] = {};
            wchar_t title[512] = {};
            ::GetClassNameW(window, className, 16);
            ::GetWindowTextW(window, title, 512);
            if (process == ::GetCurrentProcessId() && ::IsWindowVisible(window) &&
                std::wstring(className) == L"#32770" &&
                std::wstring(title).find(kFileName) != std::wstring::npos) {
                *reinterpret_cast<HWND*>(data) = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

bool PumpUntil(const std::function<bool()>& condition, DWORD milliseconds) {
    const DWORD start = ::GetTickCount();
    while (!condition()) {
        if (::GetTickCount() - start >= milliseconds) {
            return false;
        }
        MSG message{};
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::DispatchMessageW(&message);
        }
        ::Sleep(10);
    }
    return true;
}

// Records the component's events; the invoke handler vetoes unless told otherwise.
struct EventLog {
    int popups = 0, shows = 0, closes = 0, invokes = 0, shownEntries = 0;
    std::int32_t invokedId = -1;
    std::wstring invokedVerb;

    EventLog(TplContextMenu& menu, bool allowInvoke) {
        menu.OnPopup = [this](TplContextMenu&) { ++popups; };
        menu.SetOnBeforeContextShowMenu([this](TplContextMenu&, HMENU handle) {
            ++shows;
            shownEntries = ::GetMenuItemCount(handle);
        });
        menu.SetOnContextMenuClose([this](TplContextMenu&) { ++closes; });
        menu.SetOnBeforeContextInvoke([this, allowInvoke](TplContextMenu&, std::int32_t id,
                                                          const std::wstring& verb, bool& invokeFlag) {
            ++invokes;
            invokedId = id;
            invokedVerb = verb;
            invokeFlag = allowInvoke;
        });
    }
};

class ShellContextMenu : public ::testing::Test {
protected:
    void SetUp() override { test::WriteFileBytes(dir_ / kFileName, "text"); }
    void TearDown() override {
        for (const auto& entry : timerActions) {
            ::KillTimer(nullptr, entry.first);
        }
        timerActions.clear();
    }
    // Aims a component at the test file with the options the program uses.
    void AimAtFile(TplContextMenu& menu, Texts own = {}) {
        menu.SetDirectory(dir_.path());
        menu.SetFiles({kFileName});
        menu.SetMenuOptions({csf_EXPLORE});
        for (const std::wstring& caption : own) {
            menu.Items.push_back({caption, nullptr});
        }
    }

    test::TempDir dir_;
};

TEST_F(ShellContextMenu, CreateSetsTheDefaultsAndTheLastInstanceReleasesTheSharedState) {
    {
        TplContextMenu menu;
        EXPECT_EQ(menu.AboutVCL(), L"Version 1.10");
        EXPECT_EQ(menu.MenuOptions(), (TplContextShowFlags{csf_EXPLORE, csf_CANRENAME, csf_CREATENEW}));
        EXPECT_EQ(ContextMenuShared().CurrentContextMenu, &menu);
        menu.SetFiles({L"a", L"b"});
        EXPECT_EQ(menu.Files(), (Texts{L"a", L"b"}));

        AimAtFile(menu);
        WhenMenuOpen([](HWND) { ::EndMenu(); });
        menu.Popup(100, 100);
        // The item menu stays referenced after the call, until the next one or the end.
        ASSERT_TRUE(ContextMenuShared().ItemContextMenu2);
    }
    EXPECT_FALSE(ContextMenuShared().ItemContextMenu2);
    EXPECT_EQ(ContextMenuShared().CurrentContextMenu, nullptr);
}

TEST_F(ShellContextMenu, BuildContextMenuForAFileGivesEntriesWithVerbs) {
    TestContextMenu menu;
    ComPtr<IContextMenu> itemMenu;
    ASSERT_TRUE(menu.BuildContextMenu(dir_.path(), {kFileName}, itemMenu));
    UniqueMenu popup(::CreatePopupMenu());
    ASSERT_TRUE(SUCCEEDED(itemMenu->QueryContextMenu(popup.get(), 0, 1, 0x7FFF, CMF_EXPLORE)));
    // Under Wine these are the shell's own entries (Open, Cut, Copy, Create Link, Delete, Properties
    // and separators); Windows adds those of its extensions.
    ASSERT_GT(::GetMenuItemCount(popup.get()), 5);
    Texts verbs;
    for (int i = 0; i < ::GetMenuItemCount(popup.get()); ++i) {
        const UINT id = ::GetMenuItemID(popup.get(), i);
        wchar_t verb[260] = {};
        if (id != 0 && id != static_cast<UINT>(-1) &&
            SUCCEEDED(
                itemMenu->GetCommandString(id - 1, GCS_VERBW, nullptr, reinterpret_cast<LPSTR>(verb), 260))) {
            verbs.emplace_back(verb);
        }
    }
    EXPECT_NE(std::find(verbs.begin(), verbs.end(), L"open"), verbs.end());
    EXPECT_NE(std::find(verbs.begin(), verbs.end(), L"properties"), verbs.end());
}

TEST_F(ShellContextMenu, BuildContextMenuForFoldersTheDesktopAndClassNames) {
    TestContextMenu menu;
    ComPtr<IContextMenu> itemMenu;
    test::WriteFileBytes(dir_ / L"second.txt", "2");
    EXPECT_TRUE(menu.BuildContextMenu(dir_.path(), {}, itemMenu));
    EXPECT_TRUE(menu.BuildContextMenu(dir_.path(), {kFileName, L"second.txt"}, itemMenu));
    // A class-identifier name parses on the desktop only with "::" before it.
    ComPtr<IShellFolder> desktop;
    ASSERT_EQ(::SHGetDesktopFolder(&desktop), S_OK);
    EXPECT_FALSE(menu.GetPidlFromName(desktop.Get(), kMyComputer));
    EXPECT_TRUE(menu.GetPidlFromName(desktop.Get(), std::wstring(L"::") + kMyComputer));
    EXPECT_TRUE(menu.BuildContextMenu(L"", {kMyComputer}, itemMenu));
    // The desktop folder named by its path is taken for the desktop, where the class name parses;
    // any other folder does not know it.
    wchar_t desktopPath[MAX_PATH] = {};
    ASSERT_EQ(::SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, SHGFP_TYPE_CURRENT, desktopPath),
              S_OK);
    EXPECT_TRUE(menu.BuildContextMenu(desktopPath, {kMyComputer}, itemMenu));
    EXPECT_FALSE(menu.BuildContextMenu(dir_.path(), {kMyComputer}, itemMenu));

    UniquePidl folder(::ILCreateFromPathW(dir_.path().c_str()));
    const std::wstring folderName = menu.GetPidlParsingName(folder.get());
    EXPECT_EQ(::CompareStringOrdinal(folderName.c_str(), -1, dir_.path().c_str(), -1, TRUE), CSTR_EQUAL)
        << folderName;
}

TEST_F(ShellContextMenu, NamesAndFoldersTheShellCannotParseGiveNoMenuAndNoCloseEvent) {
    TestContextMenu menu;
    ComPtr<IContextMenu> itemMenu;
    EXPECT_FALSE(menu.BuildContextMenu(dir_.path(), {L"missing.txt"}, itemMenu));
    EXPECT_FALSE(itemMenu);
    EXPECT_FALSE(menu.BuildContextMenu(dir_.path(), {kFileName, L"missing.txt"}, itemMenu));
    EXPECT_FALSE(menu.BuildContextMenu(dir_ / L"no such folder", {}, itemMenu));

    AimAtFile(menu, {L"Alpha"});
    menu.SetFiles({L"missing.txt"});
    EventLog log(menu, false);
    bool menuShown = false;
    WhenMenuOpen([&](HWND) {
        menuShown = true;
        ::EndMenu();
    });
    EXPECT_FALSE(menu.Popup(100, 100));
    EXPECT_FALSE(menuShown);
    EXPECT_EQ(log.popups, 1);
    EXPECT_EQ(log.shows + log.closes, 0);
    EXPECT_EQ(Captions(menu.Handle()), Texts{L"Alpha"});
}

TEST_F(ShellContextMenu, DismissedMenuLeavesOnlyTheOwnItemsAndTheOriginalProcedure) {
    TplContextMenu menu;
    AimAtFile(menu, {L"Alpha", L"-", L"Beta"});
    EventLog log(menu, false);
    const HWND owner = menu.WindowHandle();
    const LONG_PTR original = ::GetWindowLongPtrW(owner, GWLP_WNDPROC);
    LONG_PTR whileOpen = 0;
    WhenMenuOpen([&](HWND menuWindow) {
        whileOpen = ::GetWindowLongPtrW(owner, GWLP_WNDPROC);
        PressKeys(menuWindow, {VK_ESCAPE});
    });
    EXPECT_FALSE(menu.Popup(100, 100));
    EXPECT_EQ(log.shows, 1);
    EXPECT_GT(log.shownEntries, 3);
    EXPECT_EQ(log.closes, 1);
    EXPECT_EQ(log.invokes, 0);
    EXPECT_EQ(whileOpen, reinterpret_cast<LONG_PTR>(&ContextMenuWndProc));
    EXPECT_EQ(::GetWindowLongPtrW(owner, GWLP_WNDPROC), original);
    EXPECT_EQ(Captions(menu.Handle()), (Texts{L"Alpha", L"", L"Beta"}));
    EXPECT_EQ(::GetMenuItemID(menu.Handle(), 2), 3u);
    EXPECT_TRUE(menu.VerbNameStr().empty());
}

TEST_F(ShellContextMenu, ChosenOwnItemRunsItsClickAndAChosenShellEntryIsOfferedWithIdAndVerb) {
    TplContextMenu menu;
    AimAtFile(menu);
    int alpha = 0, beta = 0;
    menu.Items = {{L"Alpha", [&] { ++alpha; }}, {L"Beta", [&] { ++beta; }}};
    EventLog log(menu, false);
    // Up from no selection lands on the bottom entry, the last own item.
    WhenMenuOpen([](HWND menuWindow) { PressKeys(menuWindow, {VK_UP, VK_RETURN}); });
    EXPECT_FALSE(menu.Popup(100, 100));
    EXPECT_EQ(alpha, 0);
    EXPECT_EQ(beta, 1);
    EXPECT_EQ(menu.VerbCmdID(), 2);
    EXPECT_EQ(log.invokes, 0);
    EXPECT_EQ(log.closes, 1);

    // Down lands on the top entry, the shell's "open"; the handler's veto keeps the file closed.
    UINT firstId = 0;
    WhenMenuOpen([&](HWND menuWindow) {
        firstId = ::GetMenuItemID(menu.Handle(), 0);
        PressKeys(menuWindow, {VK_DOWN, VK_RETURN});
    });
    EXPECT_FALSE(menu.Popup(100, 100));
    ASSERT_EQ(log.invokes, 1);
    EXPECT_GT(firstId, 2u);
    EXPECT_EQ(log.invokedId, static_cast<std::int32_t>(firstId));
    EXPECT_EQ(menu.VerbCmdID(), static_cast<std::int32_t>(firstId));
    EXPECT_EQ(log.invokedVerb, L"open");
    EXPECT_EQ(menu.VerbNameStr(), L"open");
    EXPECT_EQ(log.closes, 2);
    EXPECT_EQ(Captions(menu.Handle()), (Texts{L"Alpha", L"Beta"}));
}

TEST_F(ShellContextMenu, InvokeCommandRefusesNumbersOutsideTheTableAndHonoursTheVeto) {
    TplContextMenu menu;
    AimAtFile(menu);
    EventLog log(menu, false);
    EXPECT_FALSE(menu.InvokeCommand(550));
    EXPECT_EQ(log.invokedId, 0);
    EXPECT_EQ(log.invokedVerb, L"copy");
    EXPECT_EQ(log.closes, 1);
    for (int number : {545, 0, 500, 611}) {
        EXPECT_FALSE(menu.InvokeCommand(number)) << number;
    }
    EXPECT_EQ(log.invokes + log.closes, 2);
    EXPECT_EQ(menu.VerbNameStr(), L"copy");
    // A vetoed "properties" shows no sheet.
    EXPECT_FALSE(menu.InvokeCommand(580));
    EXPECT_EQ(log.closes, 2);
    EXPECT_FALSE(PumpUntil([] { return FileDialog() != nullptr; }, 1000));
}

TEST_F(ShellContextMenu, InvokeCommandRunsThePropertiesVerbWithoutAMenu) {
    TplContextMenu menu;
    AimAtFile(menu);
    EventLog log(menu, true);
    bool menuShown = false;
    bool sheetSeen = false;
    bool sheetClosed = false;
    // The sheet is cancelled until it has gone.
    Every50ms([&] {
        menuShown = menuShown || OpenMenuWindow() != nullptr;
        if (HWND sheet = FileDialog()) {
            ::PostMessageW(sheet, WM_COMMAND, IDCANCEL, 0);
            sheetSeen = true;
            return false;
        }
        sheetClosed = sheetSeen;
        return sheetClosed;
    });
    EXPECT_TRUE(menu.InvokeCommand(580));
    // Windows may show the sheet after the call returns; Wine shows it inside the call.
    EXPECT_TRUE(PumpUntil([&] { return sheetClosed; }, 10000));
    EXPECT_FALSE(menuShown);
    EXPECT_EQ(log.invokedId, 0);
    EXPECT_EQ(log.invokedVerb, L"properties");
    EXPECT_EQ(menu.VerbNameStr(), L"properties");
    EXPECT_EQ(menu.VerbCmdID(), 0);
    EXPECT_EQ(log.shows, 0);
    EXPECT_EQ(log.closes, 1);
}

TEST_F(ShellContextMenu, SecondPopupWhileAMenuIsOpenIsRefused) {
    TplContextMenu menu;
    AimAtFile(menu, {L"Alpha"});
    EventLog log(menu, false);
    bool innerDuringShow = true;
    menu.SetOnBeforeContextShowMenu(
        [&](TplContextMenu& sender, HMENU) { innerDuringShow = sender.Popup(1, 1); });
    bool innerPopup = true, innerInvoke = true, released = true, stillOpen = false;
    IContextMenu2* heldBefore = nullptr;
    WhenMenuOpen([&](HWND) {
        heldBefore = ContextMenuShared().ItemContextMenu2.Get();
        innerPopup = menu.Popup(2, 2);
        innerInvoke = menu.InvokeCommand(580);
        released = ReleaseContextMenuState();
        stillOpen = OpenMenuWindow() != nullptr && ContextMenuShared().ItemContextMenu2.Get() == heldBefore;
        ::EndMenu();
    });
    EXPECT_FALSE(menu.Popup(100, 100));
    EXPECT_FALSE(innerDuringShow || innerPopup || innerInvoke || released);
    EXPECT_NE(heldBefore, nullptr);
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(log.popups, 1);
    EXPECT_EQ(log.invokes, 0);
    EXPECT_EQ(log.closes, 1);
    EXPECT_EQ(Captions(menu.Handle()), Texts{L"Alpha"});
    // Once the menu has closed, the next popup runs.
    WhenMenuOpen([](HWND) { ::EndMenu(); });
    menu.Popup(100, 100);
    EXPECT_EQ(log.closes, 2);
}

TEST_F(ShellContextMenu, HandlerExceptionsReachTheCallerAfterTheMenuIsCleanedUp) {
    TplContextMenu menu;
    AimAtFile(menu, {L"Alpha"});
    EventLog log(menu, false);
    const HWND owner = menu.WindowHandle();
    const LONG_PTR original = ::GetWindowLongPtrW(owner, GWLP_WNDPROC);
    auto expectCleanedUp = [&] {
        EXPECT_EQ(::GetWindowLongPtrW(owner, GWLP_WNDPROC), original);
        EXPECT_EQ(Captions(menu.Handle()), Texts{L"Alpha"});
        EXPECT_FALSE(ContextMenuShared().MenuOpen);
        EXPECT_FALSE(ContextMenuShared().PendingException);
        EXPECT_EQ(log.closes, 0);
    };
    menu.SetOnBeforeContextShowMenu([](TplContextMenu&, HMENU) { throw std::runtime_error("show failed"); });
    EXPECT_THROW(menu.Popup(100, 100), std::runtime_error);
    expectCleanedUp();

    // A handler that the installed hook calls while the menu is tracked: its exception ends the menu
    // and comes out of Popup. The New submenu is put in place by hand, as Wine has no New-menu object.
    menu.SetOnBeforeContextShowMenu(nullptr);
    UniqueMenu sub(::CreatePopupMenu());
    ::AppendMenuW(sub.get(), MF_STRING, 500, L"テキスト ドキュメント");
    menu.SetOnBeforeContextAddSubItem([](TplContextMenu&, const std::wstring&, std::int32_t, bool&) {
        throw std::runtime_error("sub item failed");
    });
    WhenMenuOpen([&](HWND) {
        ContextMenuShared().NewSubMenu = sub.get();
        ::SendMessageW(owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(sub.get()), 0);
        ::SendMessageW(owner, kNewMenuItemMessage, 0, 0);
    });
    EXPECT_THROW(menu.Popup(100, 100), std::runtime_error);
    expectCleanedUp();
}

TEST_F(ShellContextMenu, EmptyOptionsTrackAnEmptyMenuAndAFolderMenuAsksForTheNewMenu) {
    TplContextMenu menu;
    AimAtFile(menu);
    menu.SetMenuOptions({});
    EventLog log(menu, false);
    WhenMenuOpen([](HWND) { ::EndMenu(); });
    EXPECT_FALSE(menu.Popup(100, 100));
    EXPECT_EQ(log.shows, 1);
    EXPECT_EQ(log.shownEntries, 0);
    EXPECT_EQ(log.closes, 1);

    menu.Files().clear();
    menu.SetMenuOptions({csf_EXPLORE, csf_CREATENEW});
    WhenMenuOpen([](HWND) { ::EndMenu(); });
    EXPECT_FALSE(menu.Popup(100, 100));
    EXPECT_GT(log.shownEntries, 0);
    EXPECT_EQ(log.closes, 2);
    EXPECT_EQ(::GetMenuItemCount(menu.Handle()), 0);
    if (!ContextMenuShared().NewContextMenu2 && test::IsRunningOnWine()) {
        GTEST_SKIP() << "Wine registers no New-menu object (CLSID_NewMenu), so no New submenu is added";
    }
    EXPECT_TRUE(ContextMenuShared().NewContextMenu2);
}

} // namespace
} // namespace orvane
