// The status bar in Dark on screen: its surface and its text, also a text set while the scheme is
// on.
#include "ui/paint/status_bar_painter_win.h"

#include "tests/support/themed_form_win.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

using namespace test;
using StatusBarPainterTest = test::ThemedFormTest;

TEST_F(StatusBarPainterTest, DarkLooksDarkOnScreen) {
    TestForm& f = *form_;
    Palette dark = PaletteFor(csDark);
    Capture shot = CheckedShot(f, csDark, LV_VIEW_DETAILS);
    ASSERT_FALSE(shot.pixels.empty());

    RECT status = RectIn(f.hwnd(), f.statusBar);
    Region statusRegion = Examine(shot, status);
    EXPECT_EQ(Hex(statusRegion.common), Hex(dark.surface)) << "status bar background";
    EXPECT_GT(statusRegion.lightPixels, 100) << "status text in light text";
}

TEST_F(StatusBarPainterTest, TextSetWhileStyledShowsAtOnce) {
    TestForm& f = *form_;
    Palette dark = PaletteFor(csDark);
    Capture shot = CheckedShot(f, csDark, LV_VIEW_LIST);
    ASSERT_FALSE(shot.pixels.empty());

    // Text set while the scheme is on shows at once, in the palette's colours.
    ::SendMessageW(f.statusBar, SB_SETTEXTW, SB_SIMPLEID, reinterpret_cast<LPARAM>(L""));
    Region empty = Examine(CaptureClient(f.hwnd()), RectIn(f.hwnd(), f.statusBar));
    EXPECT_EQ(empty.lightPixels, 0);
    ::SendMessageW(f.statusBar, SB_SETTEXTW, SB_SIMPLEID, reinterpret_cast<LPARAM>(L"リンク先フォルダ"));
    Region status = Examine(CaptureClient(f.hwnd()), RectIn(f.hwnd(), f.statusBar));
    EXPECT_EQ(Hex(status.common), Hex(dark.surface));
    EXPECT_GT(status.lightPixels, 50);
}

} // namespace
} // namespace orvane
