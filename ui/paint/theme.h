// Colour schemes of the main window: the system's own look, a light palette and a dark palette, and
// the colour arithmetic that checks their text stays readable.
#pragma once

#include <cstdint>

namespace orvane {

// A colour as the system stores it: 0x00BBGGRR.
using Color = std::uint32_t;

constexpr Color MakeColor(int red, int green, int blue) {
    return static_cast<Color>((red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16));
}
constexpr int RedOf(Color c) {
    return static_cast<int>(c & 0xFF);
}
constexpr int GreenOf(Color c) {
    return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int BlueOf(Color c) {
    return static_cast<int>((c >> 16) & 0xFF);
}

// The schemes in the order of the colour menu.
enum ColorScheme : int {
    csWindows = 0,
    csLight = 1,
    csDark = 2,
};
inline constexpr int kColorSchemeCount = 3;

// A scheme index as stored; anything outside 0..2 (a hand-edited settings file) means the system look.
ColorScheme SchemeFromIndex(int index);

// The system colours the "Windows" scheme is made of.
struct SystemColors {
    Color window;
    Color windowText;
    Color buttonFace;
    Color buttonText;
    Color buttonShadow;
    Color grayText;
    Color highlight;
    Color highlightText;
    Color menu;
    Color menuText;

    bool operator==(const SystemColors&) const = default;
};

// The colours Windows ships with, for callers that have no live system colours at hand.
SystemColors DefaultSystemColors();

// Every colour the main window is painted with under one scheme.
struct Palette {
    ColorScheme scheme;
    bool dark;

    Color window;         // the form's own background
    Color surface;        // tool bar, list header, status bar
    Color surfaceHot;     // a button or header item under the mouse
    Color surfacePressed; // a button or header item held down
    Color surfaceChecked; // a check button that is down
    Color border;         // frames, dividers and separators
    Color accent;         // the edge of a checked button, the focused search box

    Color text;          // text on the window and its surfaces
    Color secondaryText; // the size grip, drop-down arrows
    Color disabledText;  // commands that are not available

    Color listBackground;
    Color listText;
    Color gridLine;
    Color selection;
    Color selectionText;

    Color editBackground;
    Color editText;

    Color menuBackground;
    Color menuText;
    Color menuHighlight;
    Color menuHighlightText;

    bool operator==(const Palette&) const = default;
};

// The palette of a scheme; an index outside 0..2 gives the "Windows" palette. The "Windows" palette is
// made of `system`: the list on the button face, as the window is.
Palette PaletteFor(int scheme, const SystemColors& system);
Palette PaletteFor(int scheme);

// Relative luminance of a colour (0 black .. 1 white), as the contrast rules of WCAG 2 define it.
double RelativeLuminance(Color c);
// WCAG 2 contrast ratio of two colours: 1 (equal) .. 21 (black on white), the same either way round.
double ContrastRatio(Color a, Color b);
// Normal text needs 4.5:1 to reach level AA; large text, secondary marks and UI edges need 3:1.
inline constexpr double kTextContrast = 4.5;
inline constexpr double kSecondaryContrast = 3.0;

// `a` mixed with `b`: weight 0 gives a, 255 gives b.
Color MixColors(Color a, Color b, int weight);

} // namespace orvane
