#include "shortcuts/show_mode.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

TEST(ShowMode, ReaderAcceptsExactlyNormalMaximizedAndMinimizedWithoutActivation) {
    EXPECT_EQ(ShowModeFromStored(1), tsNormal);
    EXPECT_EQ(ShowModeFromStored(3), tsMax);
    EXPECT_EQ(ShowModeFromStored(7), tsMin);
    // SW_SHOWMINIMIZED (2), SW_SHOW (5) and the other show-window values are not states of a shortcut.
    for (int stored : {-1, 0, 2, 4, 5, 6, 8, 9, 10, 11, 256 + 1}) {
        EXPECT_FALSE(ShowModeFromStored(stored).has_value()) << stored;
    }
}

TEST(ShowMode, WriterStoresTheMatchingValueAndShowForAnythingElse) {
    EXPECT_EQ(StoredShowCmd(tsNormal), 1);
    EXPECT_EQ(StoredShowCmd(tsMax), 3);
    EXPECT_EQ(StoredShowCmd(tsMin), 7);
    EXPECT_EQ(StoredShowCmd(static_cast<TShowMode>(3)), 5);
    EXPECT_EQ(StoredShowCmd(static_cast<TShowMode>(255)), 5);
}

} // namespace
} // namespace orvane
