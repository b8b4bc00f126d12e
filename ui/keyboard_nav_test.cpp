#include "ui/keyboard_nav.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

TEST(NextUsableItem, StepsOverUnusableItemsAndWraps) {
    // A tool bar: button, separator, disabled button, button, separator, button.
    const std::vector<bool> usable{true, false, false, true, false, true};
    EXPECT_EQ(NextUsableItem(usable, 0, false), 3);
    EXPECT_EQ(NextUsableItem(usable, 3, false), 5);
    EXPECT_EQ(NextUsableItem(usable, 5, false), 0);
    EXPECT_EQ(NextUsableItem(usable, 0, true), 5);
    EXPECT_EQ(NextUsableItem(usable, 3, true), 0);
    // From an unusable place too (the hot item was just disabled).
    EXPECT_EQ(NextUsableItem(usable, 2, false), 3);
    EXPECT_EQ(NextUsableItem(usable, 2, true), 0);
}

TEST(NextUsableItem, StartsAtAnEndFromOutsideAndGivesUpOnNothing) {
    const std::vector<bool> usable{false, true, true, false};
    EXPECT_EQ(NextUsableItem(usable, -1, false), 1);
    EXPECT_EQ(NextUsableItem(usable, -1, true), 2);
    EXPECT_EQ(NextUsableItem(usable, 9, false), 1);
    // A single usable item is found again from itself.
    EXPECT_EQ(NextUsableItem({false, true, false}, 1, false), 1);
    EXPECT_EQ(NextUsableItem({false, false}, 0, false), -1);
    EXPECT_EQ(NextUsableItem({}, -1, false), -1);
}

} // namespace
} // namespace orvane
