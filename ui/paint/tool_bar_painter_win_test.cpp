// The tool bar in Dark on screen: its surface, light captions, the checked button's accent edge and
// the hot button.
#include "ui/paint/tool_bar_painter_win.h"

#include "tests/support/themed_form_win.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

using namespace test;
using ToolBarPainterTest = test::ThemedFormTest;

TEST_F(ToolBarPainterTest, DarkLooksDarkOnScreen) {
    TestForm& f = *form_;
    Palette dark = PaletteFor(csDark);
    Capture shot = CheckedShot(f, csDark, LV_VIEW_DETAILS);
    ASSERT_FALSE(shot.pixels.empty());

    RECT bar = RectIn(f.hwnd(), f.toolBar);
    Region toolBar = Examine(shot, bar);
    EXPECT_EQ(Hex(toolBar.common), Hex(dark.surface)) << "tool bar background";
    EXPECT_GT(toolBar.lightPixels, 300) << "tool bar captions in light text";
    // The checked details button shows the accent edge.
    EXPECT_GT(toolBar.Count(dark.accent), 20);
    // The button under the mouse gets the hot surface; a disabled one never does.
    RECT hot{};
    ::SendMessageW(f.toolBar, TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&hot));
    ::MapWindowPoints(f.toolBar, f.hwnd(), reinterpret_cast<POINT*>(&hot), 2);
    EXPECT_EQ(Examine(shot, hot).Count(dark.surfaceHot), 0);
    ::SendMessageW(f.toolBar, TB_SETHOTITEM, 0, 0);
    Region hotButton = Examine(CaptureClient(f.hwnd()), hot);
    EXPECT_GT(hotButton.Count(dark.surfaceHot), hotButton.pixels / 2);
    ::SendMessageW(f.toolBar, TB_SETHOTITEM, static_cast<WPARAM>(-1), 0);
}

} // namespace
} // namespace orvane
