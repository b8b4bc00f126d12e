#include "ui/model/tool_items.h"

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

TEST(KeyboardItem, EntersWhereItLeftOffUnlessThatCommandCanNoLongerRun) {
    // Scan, separator, details, list, search (disabled), row end, run.
    std::vector<bool> usable{true, false, true, true, false, false, true};
    EXPECT_EQ(NextKeyboardItem(usable, -1, -1, 0, false), 0) << "first time: the first command";
    EXPECT_EQ(NextKeyboardItem(usable, -1, 3, 0, false), 3) << "back to the one shown last";
    usable[3] = false;
    EXPECT_EQ(NextKeyboardItem(usable, -1, 3, 0, false), 0) << "it was disabled meanwhile";
    // Steps go from the hot item, or from the one shown last when the pointer took the hot item away.
    EXPECT_EQ(NextKeyboardItem(usable, 2, 0, 1, false), 6);
    EXPECT_EQ(NextKeyboardItem(usable, -1, 2, 1, false), 6);
    EXPECT_EQ(NextKeyboardItem(usable, 0, 0, -1, false), 6) << "wraps back round";
    EXPECT_EQ(NextKeyboardItem(usable, 2, 2, 1, true), 0) << "Home";
    EXPECT_EQ(NextKeyboardItem(usable, 2, 2, -1, true), 6) << "End";
}

TEST(ToolItems, TwoRowsOfSeventeenWithTheSearchBoxInTheFirst) {
    const auto items = ToolItems();
    ASSERT_EQ(items.size(), 17u);
    int rowEnds = 0;
    std::size_t slot = items.size();
    std::size_t rowEnd = items.size();
    for (std::size_t i = 0; i < items.size(); ++i) {
        const ToolItem& item = items[i];
        EXPECT_EQ(IsGap(item.kind), item.caption == nullptr) << i;
        if (item.kind == ToolItemKind::RowEnd) {
            ++rowEnds;
            rowEnd = i;
        }
        if (item.kind == ToolItemKind::SearchBoxSlot) {
            slot = i;
        }
    }
    EXPECT_EQ(rowEnds, 1);
    EXPECT_LT(slot, rowEnd);
    // Only the close button has a hint.
    int hinted = 0;
    for (const ToolItem& item : items) {
        hinted += *ToolHintOf(item.id) != L'\0' ? 1 : 0;
    }
    EXPECT_EQ(hinted, 1);
}

} // namespace
} // namespace orvane
