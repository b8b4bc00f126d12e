#include "ui/paint/theme.h"

#include <algorithm>
#include <cmath>

namespace orvane {
namespace {

// One channel (0..255) in linear light.
double Linear(int channel) {
    double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

Palette SystemPalette(const SystemColors& s) {
    Palette p{};
    p.scheme = csWindows;
    p.dark = RelativeLuminance(s.buttonFace) < 0.18;
    p.window = s.buttonFace;
    p.surface = s.buttonFace;
    p.surfaceHot = MixColors(s.buttonFace, s.highlight, 40);
    p.surfacePressed = MixColors(s.buttonFace, s.highlight, 80);
    p.surfaceChecked = MixColors(s.buttonFace, s.highlight, 60);
    p.border = s.buttonShadow;
    p.accent = s.highlight;
    p.text = s.buttonText;
    p.secondaryText = s.grayText;
    p.disabledText = s.grayText;
    p.listBackground = s.buttonFace;
    p.listText = s.windowText;
    p.gridLine = s.buttonShadow;
    p.selection = s.highlight;
    p.selectionText = s.highlightText;
    p.editBackground = s.window;
    p.editText = s.windowText;
    p.menuBackground = s.menu;
    p.menuText = s.menuText;
    p.menuHighlight = s.highlight;
    p.menuHighlightText = s.highlightText;
    return p;
}

// White list, soft grey bars, blue accent.
Palette LightPalette() {
    Palette p{};
    p.scheme = csLight;
    p.dark = false;
    p.window = MakeColor(0xF3, 0xF3, 0xF3);
    p.surface = MakeColor(0xF3, 0xF3, 0xF3);
    p.surfaceHot = MakeColor(0xE2, 0xE6, 0xEB);
    p.surfacePressed = MakeColor(0xCF, 0xD6, 0xDE);
    p.surfaceChecked = MakeColor(0xD6, 0xE6, 0xF7);
    p.border = MakeColor(0xD4, 0xD4, 0xD4);
    p.accent = MakeColor(0x00, 0x67, 0xC0);
    p.text = MakeColor(0x1B, 0x1B, 0x1B);
    p.secondaryText = MakeColor(0x5F, 0x5F, 0x5F);
    p.disabledText = MakeColor(0x8A, 0x8A, 0x8A);
    p.listBackground = MakeColor(0xFF, 0xFF, 0xFF);
    p.listText = MakeColor(0x1B, 0x1B, 0x1B);
    p.gridLine = MakeColor(0xE8, 0xE8, 0xE8);
    p.selection = MakeColor(0xCC, 0xE4, 0xF7);
    p.selectionText = MakeColor(0x00, 0x00, 0x00);
    p.editBackground = MakeColor(0xFF, 0xFF, 0xFF);
    p.editText = MakeColor(0x1B, 0x1B, 0x1B);
    p.menuBackground = MakeColor(0xF9, 0xF9, 0xF9);
    p.menuText = MakeColor(0x1B, 0x1B, 0x1B);
    p.menuHighlight = MakeColor(0xCC, 0xE4, 0xF7);
    p.menuHighlightText = MakeColor(0x00, 0x00, 0x00);
    return p;
}

// Near-black surfaces in three steps, light grey text, a muted blue accent. The list's text is pure
// white: the list's own font in this scheme is white.
Palette DarkPalette() {
    Palette p{};
    p.scheme = csDark;
    p.dark = true;
    p.window = MakeColor(0x20, 0x20, 0x20);
    p.surface = MakeColor(0x2B, 0x2B, 0x2B);
    p.surfaceHot = MakeColor(0x3A, 0x3A, 0x3A);
    p.surfacePressed = MakeColor(0x45, 0x45, 0x45);
    p.surfaceChecked = MakeColor(0x26, 0x3F, 0x5A);
    p.border = MakeColor(0x40, 0x40, 0x40);
    p.accent = MakeColor(0x4A, 0x8B, 0xD6);
    p.text = MakeColor(0xF0, 0xF0, 0xF0);
    p.secondaryText = MakeColor(0xA0, 0xA0, 0xA0);
    p.disabledText = MakeColor(0x7A, 0x7A, 0x7A);
    p.listBackground = MakeColor(0x1E, 0x1E, 0x1E);
    p.listText = MakeColor(0xFF, 0xFF, 0xFF);
    p.gridLine = MakeColor(0x3A, 0x3A, 0x3A);
    p.selection = MakeColor(0x2F, 0x5D, 0x8C);
    p.selectionText = MakeColor(0xFF, 0xFF, 0xFF);
    p.editBackground = MakeColor(0x1E, 0x1E, 0x1E);
    p.editText = MakeColor(0xF0, 0xF0, 0xF0);
    p.menuBackground = MakeColor(0x2B, 0x2B, 0x2B);
    p.menuText = MakeColor(0xF0, 0xF0, 0xF0);
    p.menuHighlight = MakeColor(0x2F, 0x5D, 0x8C);
    p.menuHighlightText = MakeColor(0xFF, 0xFF, 0xFF);
    return p;
}

} // namespace

ColorScheme SchemeFromIndex(int index) {
    return index == csLight ? csLight : index == csDark ? csDark : csWindows;
}

SystemColors DefaultSystemColors() {
    SystemColors s{};
    s.window = MakeColor(0xFF, 0xFF, 0xFF);
    s.windowText = MakeColor(0x00, 0x00, 0x00);
    s.buttonFace = MakeColor(0xF0, 0xF0, 0xF0);
    s.buttonText = MakeColor(0x00, 0x00, 0x00);
    s.buttonShadow = MakeColor(0xA0, 0xA0, 0xA0);
    s.grayText = MakeColor(0x6D, 0x6D, 0x6D);
    s.highlight = MakeColor(0x00, 0x78, 0xD7);
    s.highlightText = MakeColor(0xFF, 0xFF, 0xFF);
    s.menu = MakeColor(0xF0, 0xF0, 0xF0);
    s.menuText = MakeColor(0x00, 0x00, 0x00);
    return s;
}

Palette PaletteFor(int scheme, const SystemColors& system) {
    switch (SchemeFromIndex(scheme)) {
    case csLight:
        return LightPalette();
    case csDark:
        return DarkPalette();
    case csWindows:
        break;
    }
    return SystemPalette(system);
}

Palette PaletteFor(int scheme) {
    return PaletteFor(scheme, DefaultSystemColors());
}

double RelativeLuminance(Color c) {
    return 0.2126 * Linear(RedOf(c)) + 0.7152 * Linear(GreenOf(c)) + 0.0722 * Linear(BlueOf(c));
}

double ContrastRatio(Color a, Color b) {
    double la = RelativeLuminance(a);
    double lb = RelativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

Color MixColors(Color a, Color b, int weight) {
    weight = std::clamp(weight, 0, 255);
    auto mix = [weight](int x, int y) { return (x * (255 - weight) + y * weight + 127) / 255; };
    return MakeColor(mix(RedOf(a), RedOf(b)), mix(GreenOf(a), GreenOf(b)), mix(BlueOf(a), BlueOf(b)));
}

} // namespace orvane
