// The search box in Dark on screen: the field, its text, a dark frame and button, and the accent
// edge while it has the focus.
#include "ui/paint/search_box_painter_win.h"

#include "tests/support/themed_form_win.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

using namespace test;
using SearchBoxPainterTest = test::ThemedFormTest;

TEST_F(SearchBoxPainterTest, DarkLooksDarkOnScreen) {
    TestForm& f = *form_;
    Palette dark = PaletteFor(csDark);
    Capture shot = CheckedShot(f, csDark, LV_VIEW_DETAILS);
    ASSERT_FALSE(shot.pixels.empty());

    RECT search = RectIn(f.hwnd(), f.SearchEdit());
    Region edit = Examine(shot, search);
    EXPECT_EQ(Hex(edit.common), Hex(dark.editBackground)) << "search box";
    EXPECT_GT(edit.lightPixels, 10) << "search text";
    RECT box = RectIn(f.hwnd(), f.searchBox);
    Region combo = Examine(shot, box);
    EXPECT_LT(combo.lightPixels, combo.pixels / 5) << "the search box's frame and button are dark too";
    // The focused search box shows the accent edge.
    EXPECT_EQ(combo.Count(dark.accent), 0);
    ::SetFocus(f.SearchEdit());
    Pump();
    EXPECT_GT(Examine(CaptureClient(f.hwnd()), box).Count(dark.accent), box.right - box.left);
}

} // namespace
} // namespace orvane
