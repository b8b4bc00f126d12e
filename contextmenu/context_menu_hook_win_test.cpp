#include "contextmenu/context_menu_hook_win.h"

#include "contextmenu/context_menu_state_win.h"
#include "contextmenu/context_menu_test_support_win.h"
#include "contextmenu/pl_context_menu_win.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace orvane {
namespace {

using Microsoft::WRL::ComPtr;
using test::Captions;
using test::FakeContextMenu;

constexpr UINT kCustomMessage = WM_APP + 17;
constexpr LRESULT kCustomResult = 0x5A5A;
constexpr LRESULT kNewItemResult = 0x94AB;

std::vector<UINT> ownerSaw;
WPARAM ownerWParam = 0;
LPARAM ownerLParam = 0;

// The owner window's own procedure, answering two messages with values of its own.
LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    ownerSaw.push_back(message);
    ownerWParam = wParam;
    ownerLParam = lParam;
    if (message == kCustomMessage) {
        return kCustomResult;
    }
    return message == kNewMenuItemMessage ? kNewItemResult
                                          : ::DefWindowProcW(window, message, wParam, lParam);
}

// A New submenu as the shell builds it: string entries with command IDs from 101.
UniqueMenu MakeNewSubMenu(std::initializer_list<const wchar_t*> captions) {
    UniqueMenu menu(::CreatePopupMenu());
    UINT id = 101;
    for (const wchar_t* caption : captions) {
        ::AppendMenuW(menu.get(), MF_STRING, id++, caption);
    }
    return menu;
}

class ContextMenuHook : public ::testing::Test {
protected:
    void SetUp() override {
        ownerSaw.clear();
        window_ =
            ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        ASSERT_NE(window_, nullptr);
        ContextMenuShared().OldWndProc = OwnerProc;
        ContextMenuShared().ItemContextMenu2 = item_;
    }
    void TearDown() override {
        ContextMenuState& state = ContextMenuShared();
        state.ItemContextMenu2.Reset();
        state.NewContextMenu2.Reset();
        state.OldWndProc = nullptr;
        state.NewSubMenu = nullptr;
        state.NewMenuOnly = false;
        state.SubItemPos = 0;
        state.PendingException = nullptr;
        ::DestroyWindow(window_);
    }
    // Calls the hook as the system calls a window procedure.
    LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam) {
        return ContextMenuWndProc(window_, message, wParam, lParam);
    }
    void UseNewSubMenu(HMENU sub) {
        ContextMenuShared().NewContextMenu2 = newMenu_;
        ContextMenuShared().NewSubMenu = sub;
    }

    HWND window_ = nullptr;
    ComPtr<FakeContextMenu> item_ = FakeContextMenu::Make(true);
    ComPtr<FakeContextMenu> newMenu_ = FakeContextMenu::Make(true);
};

TEST_F(ContextMenuHook, OtherMessagesReachTheSavedProcedureUnchangedWithTheirResult) {
    const WPARAM wide = static_cast<WPARAM>(0x1122334455667788ull);
    const LPARAM wideL = static_cast<LPARAM>(0x0877665544332211ll);
    EXPECT_EQ(Send(kCustomMessage, wide, wideL), kCustomResult);
    EXPECT_EQ(ownerSaw, std::vector<UINT>{kCustomMessage});
    EXPECT_EQ(ownerWParam, wide);
    EXPECT_EQ(ownerLParam, wideL);
    EXPECT_TRUE(item_->records.empty());
}

TEST_F(ContextMenuHook, MenuMessagesGoToTheItemMenuAndNotToTheOwner) {
    ContextMenuShared().SubItemPos = 5;
    EXPECT_EQ(Send(WM_INITMENUPOPUP, 0x1234, MAKELPARAM(2, FALSE)), 0);
    EXPECT_EQ(ContextMenuShared().SubItemPos, 0);
    MEASUREITEMSTRUCT measure{ODT_MENU, 0, 300, 40, 16, 0};
    EXPECT_EQ(Send(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure)), 0);
    DRAWITEMSTRUCT draw{};
    draw.rcItem = {0, 0, 40, 16};
    EXPECT_EQ(Send(WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw)), 0);

    EXPECT_TRUE(ownerSaw.empty());
    ASSERT_EQ(item_->records.size(), 3u);
    EXPECT_TRUE(item_->records[0].viaHandleMenuMsg2);
    EXPECT_EQ(item_->records[0].wParam, 0x1234u);
    EXPECT_EQ(item_->records[0].lParam, MAKELPARAM(2, FALSE));
    EXPECT_EQ(item_->records[1].measure.itemHeight, 16u);
    EXPECT_EQ(item_->records[2].lParam, reinterpret_cast<LPARAM>(&draw));
    EXPECT_TRUE(newMenu_->records.empty());

    // An object without IContextMenu3 gets HandleMenuMsg.
    ComPtr<FakeContextMenu> older = FakeContextMenu::Make(false);
    ContextMenuShared().ItemContextMenu2 = older;
    Send(WM_INITMENUPOPUP, 0, 0);
    ASSERT_EQ(older->records.size(), 1u);
    EXPECT_FALSE(older->records[0].viaHandleMenuMsg2);
}

TEST_F(ContextMenuHook, NewMenuGetsItsSubmenuOnInitAndOnlyDrawsEntriesWithHeight) {
    UniqueMenu sub = MakeNewSubMenu({L"フォルダー(&F)"});
    UseNewSubMenu(sub.get());
    Send(WM_INITMENUPOPUP, 0x77, 0);
    ASSERT_EQ(newMenu_->records.size(), 1u);
    EXPECT_EQ(newMenu_->records[0].wParam, reinterpret_cast<WPARAM>(sub.get()));
    EXPECT_EQ(item_->records.at(0).wParam, 0x77u);
    // With the New menu alone, the popup that opens is its own.
    ContextMenuShared().NewMenuOnly = true;
    Send(WM_INITMENUPOPUP, 0x77, 0);
    EXPECT_EQ(newMenu_->records.at(1).wParam, 0x77u);

    DRAWITEMSTRUCT draw{};
    draw.rcItem = {0, 10, 80, 10};
    Send(WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw));
    EXPECT_EQ(newMenu_->records.size(), 2u);
    draw.rcItem.bottom = 28;
    Send(WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw));
    EXPECT_EQ(newMenu_->records.size(), 3u);
    EXPECT_EQ(item_->records.size(), 4u);
}

TEST_F(ContextMenuHook, MeasureItemShrinksOnlyTheNewMenuEntryTheHandlerRejects) {
    UniqueMenu sub = MakeNewSubMenu({L"フォルダー(&F)", L"テキスト ドキュメント"});
    TplContextMenu component;
    std::vector<std::pair<std::wstring, std::int32_t>> offered;
    component.SetOnBeforeContextAddSubItem(
        [&](TplContextMenu& sender, const std::wstring& caption, std::int32_t id, bool& addFlag) {
            EXPECT_EQ(&sender, &component);
            offered.emplace_back(caption, id);
            addFlag = caption != L"テキスト ドキュメント";
        });
    // Without a New submenu nothing is offered.
    MEASUREITEMSTRUCT measure{ODT_MENU, 0, 102, 80, 20, 0};
    Send(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure));
    Send(kNewMenuItemMessage, 0, 0);
    EXPECT_TRUE(offered.empty());
    EXPECT_EQ(measure.itemHeight, 20u);

    UseNewSubMenu(sub.get());
    Send(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure));
    EXPECT_EQ(measure.itemHeight, 0u);
    EXPECT_EQ(measure.itemWidth, 10u);
    // The New menu measured the entry first; the item menu saw it already shrunk.
    EXPECT_EQ(newMenu_->records.at(0).measure.itemHeight, 20u);
    EXPECT_EQ(item_->records.back().measure.itemHeight, 0u);

    MEASUREITEMSTRUCT kept{ODT_MENU, 0, 101, 80, 20, 0};
    Send(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&kept));
    EXPECT_EQ(kept.itemHeight, 20u);
    // An entry of another menu is not in the New submenu and is not offered.
    MEASUREITEMSTRUCT foreign{ODT_MENU, 0, 7, 80, 20, 0};
    Send(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&foreign));
    EXPECT_EQ(offered, (std::vector<std::pair<std::wstring, std::int32_t>>{{L"テキスト ドキュメント", 102},
                                                                           {L"フォルダー(&F)", 101}}));
}

TEST_F(ContextMenuHook, HandlerHidesEntriesOfTheNewSubmenuFoundInTheMenu) {
    // Wine registers no New-menu object, so the menu is built here as the shell builds it: a
    // "新規作成(&W)" entry whose submenu holds the templates.
    UniqueMenu menu(::CreatePopupMenu());
    UniqueMenu sub =
        MakeNewSubMenu({L"フォルダー(&F)", L"テキスト ドキュメント", L"ビットマップ", L"ショートカット(&S)"});
    const HMENU subHandle = sub.get();
    ::AppendMenuW(menu.get(), MF_STRING, 30, L"開く(&O)");
    ::AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(menu.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(sub.release()), L"新規作成(&W)");
    ::AppendMenuW(menu.get(), MF_STRING, 31, L"新規作成(&X) without a submenu");
    ::AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(menu.get(), MF_STRING, 1, L"Own");
    EXPECT_EQ(TidyContextMenu(menu.get(), 1, false).NewSubMenu, nullptr);
    const ContextMenuTidyResult tidy = TidyContextMenu(menu.get(), 1, true);
    EXPECT_EQ(tidy.NewSubMenu, subHandle);
    EXPECT_EQ(tidy.OwnRemaining, 1);
    EXPECT_EQ(::GetMenuItemCount(menu.get()), 6);

    UseNewSubMenu(tidy.NewSubMenu);
    TplContextMenu component;
    std::vector<std::wstring> offered;
    component.SetOnBeforeContextAddSubItem(
        [&](TplContextMenu&, const std::wstring& caption, std::int32_t, bool& addFlag) {
            offered.push_back(caption);
            // Two neighbours go: the second is offered from the position the first one left.
            addFlag = caption != L"テキスト ドキュメント" && caption != L"ビットマップ";
        });
    Send(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(subHandle), 0);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(Send(kNewMenuItemMessage, 0, 0), kNewItemResult);
    }
    EXPECT_EQ(offered, (std::vector<std::wstring>{L"フォルダー(&F)", L"テキスト ドキュメント",
                                                  L"ビットマップ", L"ショートカット(&S)"}));
    EXPECT_EQ(Captions(subHandle), (std::vector<std::wstring>{L"フォルダー(&F)", L"ショートカット(&S)"}));
    EXPECT_EQ(ownerSaw.size(), 4u);
}

TEST_F(ContextMenuHook, HandlerExceptionIsKeptAndADestroyedInstanceIsNeverReached) {
    UniqueMenu sub = MakeNewSubMenu({L"フォルダー(&F)"});
    UseNewSubMenu(sub.get());
    int calls = 0;
    {
        TplContextMenu older;
        older.SetOnBeforeContextAddSubItem(
            [&](TplContextMenu&, const std::wstring&, std::int32_t, bool&) { ++calls; });
        {
            TplContextMenu newer;
            newer.SetOnBeforeContextAddSubItem(
                [](TplContextMenu&, const std::wstring&, std::int32_t, bool& add) {
                    add = false;
                    throw std::runtime_error("handler failed");
                });
            // The exception may not cross the system's menu loop; the failed veto does not count.
            EXPECT_EQ(Send(kNewMenuItemMessage, 0, 0), kNewItemResult);
            ASSERT_TRUE(ContextMenuShared().PendingException);
            EXPECT_THROW(std::rethrow_exception(ContextMenuShared().PendingException), std::runtime_error);
            EXPECT_EQ(::GetMenuItemCount(sub.get()), 1);
        }
        // The newest instance is gone and none is current, not even the older one.
        EXPECT_EQ(ContextMenuShared().CurrentContextMenu, nullptr);
        Send(WM_INITMENUPOPUP, 0, 0);
        Send(kNewMenuItemMessage, 0, 0);
    }
    EXPECT_EQ(calls, 0);
}

} // namespace
} // namespace orvane
