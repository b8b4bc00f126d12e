#include "ui/model/list_hint.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

TEST(ListHint, FollowsThePointerFromRowToRowAndStopsOffTheRows) {
    ListHint hint;
    EXPECT_EQ(hint.Look(), ListHint::Recheck::Stop) << "off until the pointer is over a row";
    EXPECT_TRUE(hint.Show(L"C:\\Menu\\Alpha.lnk"));
    EXPECT_FALSE(hint.Show(L"C:\\Menu\\Alpha.lnk")) << "already on: the window is not switched again";
    EXPECT_EQ(hint.Take(), L"C:\\Menu\\Alpha.lnk");
    EXPECT_EQ(hint.Look(), ListHint::Recheck::Keep);
    // The pointer moves to the next row while the hint shows the first.
    hint.Show(L"C:\\Menu\\Bravo.lnk");
    EXPECT_EQ(hint.Look(), ListHint::Recheck::Update);
    EXPECT_EQ(hint.Take(), L"C:\\Menu\\Bravo.lnk");
    EXPECT_EQ(hint.Look(), ListHint::Recheck::Keep);
    // Off the rows: switched off once, and the window stops being looked at.
    EXPECT_TRUE(hint.Hide());
    EXPECT_FALSE(hint.Hide());
    EXPECT_EQ(hint.Look(), ListHint::Recheck::Stop);
    // Back on the same row it showed last: on again, nothing to ask for.
    EXPECT_TRUE(hint.Show(L"C:\\Menu\\Bravo.lnk"));
    EXPECT_EQ(hint.Look(), ListHint::Recheck::Keep);
}

} // namespace
} // namespace orvane
