#include "ui/paint/theme.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace orvane {
namespace {

std::string Hex(Color c) {
    char text[16];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", RedOf(c), GreenOf(c), BlueOf(c));
    return text;
}

TEST(ThemeRules, ContrastRatioFollowsTheWcagFormula) {
    const Color black = MakeColor(0, 0, 0);
    const Color white = MakeColor(255, 255, 255);
    EXPECT_DOUBLE_EQ(RelativeLuminance(black), 0.0);
    EXPECT_DOUBLE_EQ(RelativeLuminance(white), 1.0);
    // Green weighs most, blue least.
    EXPECT_NEAR(RelativeLuminance(MakeColor(0, 255, 0)), 0.7152, 1e-9);
    EXPECT_NEAR(RelativeLuminance(MakeColor(0, 0, 255)), 0.0722, 1e-9);
    // The channel order is the system's 0x00BBGGRR: pure red in the low byte.
    EXPECT_NEAR(RelativeLuminance(0x000000FF), 0.2126, 1e-9);

    EXPECT_DOUBLE_EQ(ContrastRatio(black, white), 21.0);
    EXPECT_DOUBLE_EQ(ContrastRatio(white, black), 21.0);
    EXPECT_DOUBLE_EQ(ContrastRatio(MakeColor(0x80, 0x40, 0x20), MakeColor(0x80, 0x40, 0x20)), 1.0);
    // #777777 on white just misses AA; #767676 is the lightest grey that reaches it.
    EXPECT_LT(ContrastRatio(MakeColor(0x77, 0x77, 0x77), white), kTextContrast);
    EXPECT_GE(ContrastRatio(MakeColor(0x76, 0x76, 0x76), white), kTextContrast);
}

TEST(ThemeRules, MixColorsBlendsEachChannel) {
    const Color a = MakeColor(0x10, 0x80, 0xF0);
    const Color b = MakeColor(0xF0, 0x00, 0x10);
    EXPECT_EQ(MixColors(a, b, 0), a);
    EXPECT_EQ(MixColors(a, b, 255), b);
    EXPECT_EQ(MixColors(a, b, -5), a);
    EXPECT_EQ(MixColors(a, b, 999), b);
    Color half = MixColors(a, b, 128);
    EXPECT_NEAR(RedOf(half), 0x80, 1);
    EXPECT_NEAR(GreenOf(half), 0x40, 1);
    EXPECT_NEAR(BlueOf(half), 0x80, 1);
}

TEST(ThemeSchemes, IndexOutsideTheMenuMeansTheSystemLook) {
    EXPECT_EQ(SchemeFromIndex(0), csWindows);
    EXPECT_EQ(SchemeFromIndex(1), csLight);
    EXPECT_EQ(SchemeFromIndex(2), csDark);
    for (int index : {-1, 3, 7, -2147483647 - 1, 2147483647}) {
        EXPECT_EQ(SchemeFromIndex(index), csWindows) << index;
        EXPECT_EQ(PaletteFor(index), PaletteFor(csWindows)) << index;
    }
    EXPECT_EQ(PaletteFor(1).scheme, csLight);
    EXPECT_EQ(PaletteFor(2).scheme, csDark);
    EXPECT_FALSE(PaletteFor(1).dark);
    EXPECT_TRUE(PaletteFor(2).dark);
}

TEST(ThemeSchemes, WindowsPaletteIsMadeOfTheSystemColours) {
    SystemColors s{};
    s.window = 0x010101;
    s.windowText = 0x020202;
    s.buttonFace = 0xE0E0E0;
    s.buttonText = 0x040404;
    s.buttonShadow = 0x050505;
    s.grayText = 0x060606;
    s.highlight = 0x070707;
    s.highlightText = 0x080808;
    s.menu = 0x090909;
    s.menuText = 0x0A0A0A;
    Palette p = PaletteFor(csWindows, s);
    EXPECT_EQ(p.scheme, csWindows);
    // The list lies on the button face, as the window does.
    EXPECT_EQ(p.listBackground, s.buttonFace);
    EXPECT_EQ(p.window, s.buttonFace);
    EXPECT_EQ(p.listText, s.windowText);
    EXPECT_EQ(p.text, s.buttonText);
    EXPECT_EQ(p.disabledText, s.grayText);
    EXPECT_EQ(p.selection, s.highlight);
    EXPECT_EQ(p.selectionText, s.highlightText);
    EXPECT_EQ(p.editBackground, s.window);
    EXPECT_EQ(p.editText, s.windowText);
    EXPECT_EQ(p.menuBackground, s.menu);
    EXPECT_EQ(p.menuText, s.menuText);
    EXPECT_FALSE(p.dark);
    // A high-contrast black system look counts as dark.
    s.buttonFace = 0x000000;
    EXPECT_TRUE(PaletteFor(csWindows, s).dark);
    // The Light and Dark palettes are our own, whatever the system's colours.
    EXPECT_EQ(PaletteFor(csLight, s), PaletteFor(csLight));
    EXPECT_EQ(PaletteFor(csDark, s), PaletteFor(csDark));
}

struct Pair {
    const char* what;
    Color foreground;
    Color background;
};

std::vector<Pair> TextPairs(const Palette& p) {
    return {
        {"text on window", p.text, p.window},
        {"text on surface", p.text, p.surface},
        {"text on hot surface", p.text, p.surfaceHot},
        {"text on pressed surface", p.text, p.surfacePressed},
        {"text on checked surface", p.text, p.surfaceChecked},
        {"list text", p.listText, p.listBackground},
        {"selected list text", p.selectionText, p.selection},
        {"search box text", p.editText, p.editBackground},
        {"menu text", p.menuText, p.menuBackground},
        {"highlighted menu text", p.menuHighlightText, p.menuHighlight},
    };
}

std::vector<Pair> SecondaryPairs(const Palette& p) {
    return {
        {"secondary text on surface", p.secondaryText, p.surface},
        {"secondary text on window", p.secondaryText, p.window},
        {"disabled text on surface", p.disabledText, p.surface},
        {"disabled menu text", p.disabledText, p.menuBackground},
        {"accent edge on surface", p.accent, p.surface},
    };
}

// How far apart two colours are, channel by channel; hue counts as well as lightness.
int ChannelDistance(Color a, Color b) {
    return std::abs(RedOf(a) - RedOf(b)) + std::abs(GreenOf(a) - GreenOf(b)) +
           std::abs(BlueOf(a) - BlueOf(b));
}

class OwnPalette : public ::testing::TestWithParam<int> {};

TEST_P(OwnPalette, TextReachesAaContrastEverywhereItIsDrawn) {
    Palette p = PaletteFor(GetParam());
    for (const Pair& pair : TextPairs(p)) {
        EXPECT_GE(ContrastRatio(pair.foreground, pair.background), kTextContrast)
            << pair.what << ": " << Hex(pair.foreground) << " on " << Hex(pair.background);
    }
    for (const Pair& pair : SecondaryPairs(p)) {
        EXPECT_GE(ContrastRatio(pair.foreground, pair.background), kSecondaryContrast)
            << pair.what << ": " << Hex(pair.foreground) << " on " << Hex(pair.background);
    }
    // Disabled text must still look weaker than enabled text.
    EXPECT_GT(ContrastRatio(p.text, p.surface), ContrastRatio(p.disabledText, p.surface) + 1.0);
}

TEST_P(OwnPalette, ButtonStatesAndGridAreVisibleButQuiet) {
    Palette p = PaletteFor(GetParam());
    const std::vector<std::pair<const char*, Color>> states = {
        {"surface", p.surface},
        {"hot", p.surfaceHot},
        {"pressed", p.surfacePressed},
        {"checked", p.surfaceChecked},
    };
    for (std::size_t i = 0; i < states.size(); ++i) {
        for (std::size_t j = i + 1; j < states.size(); ++j) {
            EXPECT_GE(ChannelDistance(states[i].second, states[j].second), 24)
                << states[i].first << " and " << states[j].first << " look alike";
        }
    }
    // Grid lines and frames separate without competing with the text.
    for (Color line : {p.gridLine}) {
        double ratio = ContrastRatio(line, p.listBackground);
        EXPECT_GT(ratio, 1.1) << Hex(line);
        EXPECT_LT(ratio, ContrastRatio(p.listText, p.listBackground) / 3) << Hex(line);
    }
    EXPECT_GT(ContrastRatio(p.border, p.surface), 1.1);
    EXPECT_GT(ContrastRatio(p.selection, p.listBackground), 1.1);
}

std::string SchemeName(const ::testing::TestParamInfo<int>& param) {
    return param.param == csLight ? "Light" : "Dark";
}

INSTANTIATE_TEST_SUITE_P(LightAndDark, OwnPalette, ::testing::Values(csLight, csDark), SchemeName);

TEST(ThemeSchemes, DarkIsDarkEverywhereAndItsListTextIsWhite) {
    Palette p = PaletteFor(csDark);
    for (Color background : {p.window, p.surface, p.surfaceHot, p.surfacePressed, p.surfaceChecked,
                             p.listBackground, p.editBackground, p.menuBackground, p.selection}) {
        EXPECT_LT(RelativeLuminance(background), 0.12) << Hex(background);
    }
    for (Color text : {p.text, p.listText, p.editText, p.menuText, p.selectionText}) {
        EXPECT_GT(RelativeLuminance(text), 0.8) << Hex(text);
    }
    // The list's own font is white in this scheme; the palette matches it exactly.
    EXPECT_EQ(p.listText, 0xFFFFFFu);
}

TEST(ThemeSchemes, LightIsLightWithAWhiteList) {
    Palette p = PaletteFor(csLight);
    for (Color background : {p.window, p.surface, p.surfaceHot, p.surfaceChecked, p.listBackground,
                             p.editBackground, p.menuBackground, p.selection}) {
        EXPECT_GT(RelativeLuminance(background), 0.6) << Hex(background);
    }
    EXPECT_EQ(p.listBackground, 0xFFFFFFu);
    // The tool bar is grey, not the list's white, and the accent is blue.
    EXPECT_NE(p.surface, p.listBackground);
    EXPECT_GT(BlueOf(p.accent), RedOf(p.accent) + 0x60);
    EXPECT_GT(BlueOf(p.selection), RedOf(p.selection));
}

} // namespace
} // namespace orvane
