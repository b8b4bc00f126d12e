#include "ui/paint/paint_rules.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

TEST(PaintRules, LengthsScaleWithTheDpiRoundingHalvesAway) {
    EXPECT_EQ(ScaleForDpi(8, 96), 8);
    EXPECT_EQ(ScaleForDpi(8, 0), 8);
    EXPECT_EQ(ScaleForDpi(3, 144), 5); // 4.5
    EXPECT_EQ(ScaleForDpi(1, 120), 1); // 1.25
    EXPECT_EQ(ScaleForDpi(7, 120), 9); // 8.75
    EXPECT_EQ(ScaleForDpi(-3, 144), -5);
}

TEST(PaintRules, ButtonFacePressedBeatsCheckedBeatsHot) {
    const Palette palette = PaletteFor(csDark);
    EXPECT_FALSE(ToolButtonFace(palette, false, false, false).raised);
    const ButtonFace pressed = ToolButtonFace(palette, true, true, true);
    EXPECT_EQ(pressed.fill, palette.surfacePressed);
    EXPECT_EQ(pressed.edge, palette.surfacePressed);
    const ButtonFace checked = ToolButtonFace(palette, false, true, false);
    EXPECT_EQ(checked.fill, palette.surfaceChecked);
    EXPECT_EQ(checked.edge, palette.accent);
    // Under the pointer a checked button still shows that it is checked, a shade nearer the accent.
    const ButtonFace checkedHot = ToolButtonFace(palette, false, true, true);
    EXPECT_NE(checkedHot.fill, palette.surfaceChecked);
    EXPECT_NE(checkedHot.fill, palette.surfaceHot);
    EXPECT_EQ(checkedHot.edge, palette.accent);
    EXPECT_EQ(ToolButtonFace(palette, false, false, true).fill, palette.surfaceHot);
}

TEST(PaintRules, ButtonContentIsCentredAndTheArrowStaysInside) {
    // 96 dpi: a 20 px picture, 4 px gaps, a 40 px caption and an 8 px arrow make 76 px of content.
    const Box button{100, 10, 200, 44};
    ButtonLayout layout = LayOutToolButton(button, 20, 20, 40, true, false, 96);
    EXPECT_EQ(layout.imageX, 112);
    EXPECT_EQ(layout.imageY, 17);
    EXPECT_EQ(layout.label, (Box{136, 10, 188, 44}));
    EXPECT_EQ(layout.arrowSize, 8);
    EXPECT_EQ(layout.arrowX, 184);
    // Pressed, everything sinks by one pixel.
    ButtonLayout pressed = LayOutToolButton(button, 20, 20, 40, true, true, 96);
    EXPECT_EQ(pressed.imageX, 113);
    EXPECT_EQ(pressed.imageY, 18);
    EXPECT_EQ(pressed.arrowY, layout.arrowY + 1);
    // Content wider than the button starts at the margin and the arrow keeps inside the right edge.
    ButtonLayout narrow = LayOutToolButton(Box{0, 0, 60, 30}, 20, 20, 40, true, false, 96);
    EXPECT_EQ(narrow.imageX, 3);
    EXPECT_LE(narrow.arrowX + narrow.arrowSize / 2, 60 - 3);
    // No caption, no arrow: no label, no arrow.
    ButtonLayout plain = LayOutToolButton(button, 20, 20, 0, false, false, 96);
    EXPECT_EQ(plain.label, Box{});
    EXPECT_EQ(plain.arrowSize, 0);
    EXPECT_EQ(plain.imageX, 140);
}

TEST(PaintRules, SeparatorLinesOnlyInNarrowGapsThatDoNotEndARow) {
    EXPECT_EQ(SeparatorLine(Box{50, 0, 58, 34}, false, 96), (Box{54, 7, 55, 27}));
    EXPECT_EQ(SeparatorLine(Box{50, 0, 58, 34}, true, 96), std::nullopt);
    EXPECT_EQ(SeparatorLine(Box{50, 0, 200, 34}, false, 96), std::nullopt) << "the search box's slot";
    EXPECT_TRUE(SeparatorLine(Box{50, 0, 62, 51}, false, 144)) << "an 8 px gap at 144 dpi is 12 px";
}

TEST(PaintRules, GripDotsFormATriangleInTheCorner) {
    const Box client{0, 0, 400, 21};
    const std::vector<Box> dots = SizeGripDots(client, 96);
    ASSERT_EQ(dots.size(), 6u);
    int onBottomRow = 0;
    for (const Box& dot : dots) {
        EXPECT_EQ(dot.right - dot.left, 2);
        EXPECT_GE(dot.left, 0);
        EXPECT_LE(dot.right, client.right - 3);
        EXPECT_LE(dot.bottom, client.bottom - 3);
        onBottomRow += dot.bottom == client.bottom - 3 ? 1 : 0;
    }
    EXPECT_EQ(onBottomRow, 3);
}

TEST(PaintRules, GridLinesRunOnBelowTheLastRow) {
    EXPECT_EQ(GridRowLines(50, 20, 100), (std::vector<int>{49, 69, 89}));
    EXPECT_TRUE(GridRowLines(50, 0, 100).empty()) << "a zero row height must not loop";
    EXPECT_TRUE(GridRowLines(150, 20, 100).empty());
}

TEST(PaintRules, ColourMenuItemsLeaveRoomForTheBullet) {
    EXPECT_EQ(ColorMenuItemSize(false, 60, 15, 96).width, 28 + 60 + 24);
    EXPECT_EQ(ColorMenuItemSize(false, 60, 15, 96).height, 25);
    EXPECT_EQ(ColorMenuItemSize(false, 60, 10, 96).height, 24) << "never lower than 24 px";
    EXPECT_EQ(ColorMenuItemSize(true, 60, 15, 96).height, 9);
}

TEST(PaintRules, HeaderAndMenuItemsShowTheirStateInTheirOwnColours) {
    const Palette palette = PaletteFor(csLight);
    const Box item{0, 0, 100, 24};
    const HeaderItemLook plain = HeaderItemLookOf(palette, item, false, false, 96);
    EXPECT_EQ(plain.fill, palette.surface);
    EXPECT_EQ(plain.divider, (Box{99, 4, 100, 20}));
    EXPECT_EQ(plain.underline, (Box{0, 23, 100, 24}));
    EXPECT_EQ(plain.label, (Box{6, 0, 94, 23}));
    const HeaderItemLook pressed = HeaderItemLookOf(palette, item, true, true, 96);
    EXPECT_EQ(pressed.fill, palette.surfacePressed);
    EXPECT_EQ(pressed.label, (Box{7, 1, 95, 24}));
    EXPECT_EQ(HeaderItemLookOf(palette, item, false, true, 96).fill, palette.surfaceHot);

    const MenuItemLook selected = ColorMenuItemLook(palette, item, false, true, 96);
    EXPECT_EQ(selected.background, palette.menuHighlight);
    EXPECT_EQ(selected.text, palette.menuHighlightText);
    EXPECT_EQ(selected.label, (Box{28, 0, 92, 24}));
    EXPECT_EQ(selected.bulletX, 14);
    // A greyed item under the pointer is not highlighted, and says it is greyed.
    const MenuItemLook grayed = ColorMenuItemLook(palette, item, true, true, 96);
    EXPECT_EQ(grayed.background, palette.menuBackground);
    EXPECT_EQ(grayed.text, palette.disabledText);
    EXPECT_EQ(MenuSeparatorLine(Box{0, 0, 100, 9}, 96), (Box{4, 4, 96, 5}));
}

} // namespace
} // namespace orvane
