#include "ui/model/key_bindings.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

constexpr KeyPress Plain(unsigned key) {
    return KeyPress{key, false, false, false, false};
}
constexpr KeyPress Shift(unsigned key) {
    return KeyPress{key, false, true, false, false};
}
constexpr KeyPress Ctrl(unsigned key) {
    return KeyPress{key, true, false, false, false};
}
constexpr KeyPress Alt(unsigned key) {
    return KeyPress{key, false, false, true, true};
}

TEST(KeyBindings, TabGoesRoundTheThreeStopsBothWaysFromAnywhere) {
    for (FocusStop stop : {FocusStop::List, FocusStop::SearchBox, FocusStop::ToolBar}) {
        EXPECT_EQ(ActionForKey(Plain(vk::kTab), stop, false), KeyAction::FocusNext);
        EXPECT_EQ(ActionForKey(Shift(vk::kTab), stop, false), KeyAction::FocusPrevious);
        // Ctrl+Tab and Alt+Tab are not the window's.
        EXPECT_EQ(ActionForKey(Ctrl(vk::kTab), stop, false), KeyAction::None);
        EXPECT_EQ(ActionForKey(Alt(vk::kTab), stop, false), KeyAction::None);
    }
    EXPECT_EQ(NextFocusStop(FocusStop::List, false), FocusStop::SearchBox);
    EXPECT_EQ(NextFocusStop(FocusStop::SearchBox, false), FocusStop::ToolBar);
    EXPECT_EQ(NextFocusStop(FocusStop::ToolBar, false), FocusStop::List);
    EXPECT_EQ(NextFocusStop(FocusStop::List, true), FocusStop::ToolBar);
    EXPECT_EQ(NextFocusStop(FocusStop::ToolBar, true), FocusStop::SearchBox);
}

TEST(KeyBindings, F5AndCtrlFWorkEverywhereOnlyWithoutOtherModifiers) {
    for (FocusStop stop : {FocusStop::List, FocusStop::SearchBox, FocusStop::ToolBar}) {
        EXPECT_EQ(ActionForKey(Plain(vk::kF5), stop, true), KeyAction::Scan);
        EXPECT_EQ(ActionForKey(Shift(vk::kF5), stop, false), KeyAction::None);
        EXPECT_EQ(ActionForKey(Ctrl(vk::kF5), stop, false), KeyAction::None);
        EXPECT_EQ(ActionForKey(Ctrl(vk::kF), stop, false), KeyAction::FocusSearchBox);
        EXPECT_EQ(ActionForKey(Plain(vk::kF), stop, false), KeyAction::None) << "typing F";
    }
}

TEST(KeyBindings, SearchBoxEnterAndEscapeLeaveTheOpenHistoryToTheBox) {
    EXPECT_EQ(ActionForKey(Plain(vk::kReturn), FocusStop::SearchBox, false), KeyAction::Search);
    EXPECT_EQ(ActionForKey(Plain(vk::kEscape), FocusStop::SearchBox, false), KeyAction::FocusList);
    // With the history open, Enter picks an entry and Escape closes it: the box's own keys.
    EXPECT_EQ(ActionForKey(Plain(vk::kReturn), FocusStop::SearchBox, true), KeyAction::None);
    EXPECT_EQ(ActionForKey(Plain(vk::kEscape), FocusStop::SearchBox, true), KeyAction::None);
    EXPECT_EQ(ActionForKey(Plain(vk::kLeft), FocusStop::SearchBox, false), KeyAction::None) << "editing";
    EXPECT_EQ(ActionForKey(Alt(vk::kReturn), FocusStop::SearchBox, false), KeyAction::None);
}

TEST(KeyBindings, ToolBarStepsRunsAndLeavesButNotWithAlt) {
    const FocusStop bar = FocusStop::ToolBar;
    EXPECT_EQ(ActionForKey(Plain(vk::kLeft), bar, false), KeyAction::ToolBarPrevious);
    EXPECT_EQ(ActionForKey(Plain(vk::kUp), bar, false), KeyAction::ToolBarPrevious);
    EXPECT_EQ(ActionForKey(Plain(vk::kRight), bar, false), KeyAction::ToolBarNext);
    EXPECT_EQ(ActionForKey(Plain(vk::kDown), bar, false), KeyAction::ToolBarNext);
    EXPECT_EQ(ActionForKey(Plain(vk::kHome), bar, false), KeyAction::ToolBarFirst);
    EXPECT_EQ(ActionForKey(Plain(vk::kEnd), bar, false), KeyAction::ToolBarLast);
    EXPECT_EQ(ActionForKey(Plain(vk::kReturn), bar, false), KeyAction::ToolBarRun);
    EXPECT_EQ(ActionForKey(Plain(vk::kSpace), bar, false), KeyAction::ToolBarRun);
    EXPECT_EQ(ActionForKey(Plain(vk::kEscape), bar, false), KeyAction::FocusList);
    // Alt+arrow and Alt+Space belong to the system (the window menu).
    EXPECT_EQ(ActionForKey(Alt(vk::kLeft), bar, false), KeyAction::None);
    EXPECT_EQ(ActionForKey(Alt(vk::kSpace), bar, false), KeyAction::None);
}

TEST(KeyBindings, ListGetsOnlyWhatTheListDoesNotReportItself) {
    const FocusStop list = FocusStop::List;
    // Enter reaches the list, which reports it; only Alt+Enter, a system key, needs the window.
    EXPECT_EQ(ActionForKey(Plain(vk::kReturn), list, false), KeyAction::None);
    EXPECT_EQ(ActionForKey(Alt(vk::kReturn), list, false), KeyAction::RunSelected);
    EXPECT_EQ(ActionForKey(Plain(vk::kApps), list, false), KeyAction::ShortcutMenu);
    EXPECT_EQ(ActionForKey(Shift(vk::kApps), list, false), KeyAction::TargetMenu);
    EXPECT_EQ(ActionForKey(KeyPress{vk::kF10, false, true, false, true}, list, false),
              KeyAction::ShortcutMenu);
    EXPECT_EQ(ActionForKey(KeyPress{vk::kF10, true, true, false, true}, list, false), KeyAction::None);
    EXPECT_EQ(ActionForKey(KeyPress{vk::kF10, false, false, false, true}, list, false), KeyAction::None)
        << "F10 alone is the menu key";
    // The arrows move the list's own selection.
    EXPECT_EQ(ActionForKey(Plain(vk::kDown), list, false), KeyAction::None);
    // Keys of one stop do nothing at another.
    EXPECT_EQ(ActionForKey(Plain(vk::kApps), FocusStop::ToolBar, false), KeyAction::None);
    EXPECT_EQ(ActionForKey(Plain(vk::kEscape), list, false), KeyAction::None);
}

} // namespace
} // namespace orvane
