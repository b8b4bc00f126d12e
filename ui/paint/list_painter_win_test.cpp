// The list and its header in Dark on screen: the rows, the selected row, the grid lines in the
// palette's colour where the list had its own, and the header.
#include "ui/paint/list_painter_win.h"

#include "tests/support/themed_form_win.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

using namespace test;
using ListPainterTest = test::ThemedFormTest;

TEST_F(ListPainterTest, DarkLooksDarkOnScreen) {
    TestForm& f = *form_;
    Palette dark = PaletteFor(csDark);
    Capture shot = CheckedShot(f, csDark, LV_VIEW_DETAILS);
    ASSERT_FALSE(shot.pixels.empty());

    RECT header = RectIn(f.hwnd(), f.Header());
    Region headerRegion = Examine(shot, header);
    EXPECT_EQ(Hex(headerRegion.common), Hex(dark.surface)) << "header background";
    EXPECT_GT(headerRegion.lightPixels, 100) << "header captions in light text";

    RECT rows = RectIn(f.hwnd(), f.list);
    rows.top = header.bottom;
    Region list = Examine(shot, rows);
    EXPECT_EQ(Hex(list.common), Hex(dark.listBackground)) << "list background";
    EXPECT_GT(list.lightPixels, 500) << "row texts in white";
    EXPECT_GT(list.Count(dark.gridLine), 500) << "grid lines in the palette's colour";
    RECT row{};
    ListView_GetItemRect(f.list, kSelectedRow, &row, LVIR_BOUNDS);
    ::MapWindowPoints(f.list, f.hwnd(), reinterpret_cast<POINT*>(&row), 2);
    Region selected = Examine(shot, row);
    EXPECT_EQ(Hex(selected.common), Hex(dark.selection)) << "selected row";
    // No light pixel of the system's grid or frame is left: light pixels are text, and text is small.
    EXPECT_LT(list.lightPixels, list.pixels / 8);
}

TEST_F(ListPainterTest, DarkListViewStaysDarkWithoutGridLines) {
    TestForm& f = *form_;
    Palette dark = PaletteFor(csDark);
    Capture shot = CheckedShot(f, csDark, LV_VIEW_LIST);
    ASSERT_FALSE(shot.pixels.empty());
    RECT rows = RectIn(f.hwnd(), f.list);
    ::InflateRect(&rows, -3, -3);
    Region list = Examine(shot, rows);
    EXPECT_EQ(Hex(list.common), Hex(dark.listBackground));
    EXPECT_GT(list.lightPixels, 300);
    EXPECT_EQ(list.Count(dark.gridLine), 0) << "the list view has no grid";
    EXPECT_GT(list.Count(dark.selection), 100) << "selected item";
}

} // namespace
} // namespace orvane
