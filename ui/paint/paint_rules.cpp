#include "ui/paint/paint_rules.h"

#include <algorithm>
#include <cstdint>

namespace orvane {

int ScaleForDpi(int value, unsigned dpi) {
    const std::int64_t scale = dpi != 0 ? dpi : 96;
    const std::int64_t product = static_cast<std::int64_t>(value) * scale;
    // Halves round away from zero.
    const std::int64_t rounded = product >= 0 ? (product + 48) / 96 : -((-product + 48) / 96);
    return static_cast<int>(rounded);
}

ButtonFace ToolButtonFace(const Palette& palette, bool pressed, bool checked, bool hot) {
    if (pressed) {
        return {palette.surfacePressed, palette.surfacePressed, true};
    }
    if (checked) {
        // A checked button under the pointer leans towards the accent.
        Color fill = hot ? MixColors(palette.surfaceChecked, palette.accent, 40) : palette.surfaceChecked;
        return {fill, palette.accent, true};
    }
    if (hot) {
        return {palette.surfaceHot, palette.surfaceHot, true};
    }
    return {palette.surface, palette.surface, false};
}

ButtonLayout LayOutToolButton(const Box& button, int imageWidth, int imageHeight, int textWidth,
                              bool dropDown, bool pressed, unsigned dpi) {
    ButtonLayout layout;
    const int gap = ScaleForDpi(4, dpi);
    const int arrow = dropDown ? ScaleForDpi(8, dpi) : 0;
    const int content = imageWidth + (textWidth > 0 ? gap + textWidth : 0) + (dropDown ? gap + arrow : 0);
    int x = button.left + std::max((button.right - button.left - content) / 2, ScaleForDpi(3, dpi));
    // A pressed button's content sinks by a pixel.
    const int shift = pressed ? 1 : 0;
    if (imageWidth > 0) {
        layout.imageX = x + shift;
        layout.imageY = button.top + (button.bottom - button.top - imageHeight) / 2 + shift;
        x += imageWidth + gap;
    }
    if (textWidth > 0) {
        layout.label = {x + shift, button.top + shift, button.right - (dropDown ? arrow + gap : 0),
                        button.bottom + shift};
        x += textWidth + gap;
    }
    if (dropDown) {
        const int right = std::min(x + arrow, button.right - ScaleForDpi(3, dpi));
        layout.arrowX = right - arrow / 2;
        layout.arrowY = (button.top + button.bottom) / 2 + shift;
        layout.arrowSize = arrow;
    }
    return layout;
}

std::optional<Box> SeparatorLine(const Box& gap, bool endsRow, unsigned dpi) {
    const bool searchBoxSlot = gap.right - gap.left > ScaleForDpi(16, dpi);
    if (endsRow || searchBoxSlot) {
        return std::nullopt;
    }
    const int x = (gap.left + gap.right) / 2;
    return Box{x, gap.top + ScaleForDpi(7, dpi), x + 1, gap.bottom - ScaleForDpi(7, dpi)};
}

std::vector<Box> SizeGripDots(const Box& client, unsigned dpi) {
    // Three rows growing to the right edge: one dot, two, three.
    const int dot = std::max(ScaleForDpi(2, dpi), 2);
    const int step = dot + std::max(ScaleForDpi(2, dpi), 1);
    const int right = client.right - ScaleForDpi(3, dpi);
    const int bottom = client.bottom - ScaleForDpi(3, dpi);
    std::vector<Box> dots;
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column <= row; ++column) {
            const int x = right - (column + 1) * step + (step - dot);
            const int y = bottom - (3 - row) * step + (step - dot);
            dots.push_back({x, y, x + dot, y + dot});
        }
    }
    return dots;
}

std::vector<int> GridRowLines(int firstRowBottom, int rowHeight, int bottom) {
    std::vector<int> lines;
    if (rowHeight <= 0) {
        return lines;
    }
    for (int y = firstRowBottom - 1; y < bottom; y += rowHeight) {
        lines.push_back(y);
    }
    return lines;
}

HeaderItemLook HeaderItemLookOf(const Palette& palette, const Box& item, bool pressed, bool hot,
                                unsigned dpi) {
    HeaderItemLook look;
    look.fill = pressed ? palette.surfacePressed : hot ? palette.surfaceHot : palette.surface;
    look.divider = {item.right - 1, item.top + ScaleForDpi(4, dpi), item.right,
                    item.bottom - ScaleForDpi(4, dpi)};
    look.underline = {item.left, item.bottom - 1, item.right, item.bottom};
    look.label = {item.left + ScaleForDpi(6, dpi), item.top, item.right - ScaleForDpi(6, dpi),
                  item.bottom - 1};
    if (pressed) {
        // A pressed item's caption sinks by a pixel.
        look.label = {look.label.left + 1, look.label.top + 1, look.label.right + 1, look.label.bottom + 1};
    }
    return look;
}

MenuItemLook ColorMenuItemLook(const Palette& palette, const Box& item, bool grayed, bool selected,
                               unsigned dpi) {
    // A greyed item is never highlighted.
    const bool highlighted = selected && !grayed;
    const int gutter = ScaleForDpi(28, dpi);
    MenuItemLook look;
    look.background = highlighted ? palette.menuHighlight : palette.menuBackground;
    look.text = grayed ? palette.disabledText : highlighted ? palette.menuHighlightText : palette.menuText;
    look.label = {item.left + gutter, item.top, item.right - ScaleForDpi(8, dpi), item.bottom};
    look.bulletX = item.left + gutter / 2;
    look.bulletY = (item.top + item.bottom) / 2;
    look.bulletRadius = ScaleForDpi(3, dpi);
    return look;
}

Box MenuSeparatorLine(const Box& item, unsigned dpi) {
    const int y = (item.top + item.bottom) / 2;
    return {item.left + ScaleForDpi(4, dpi), y, item.right - ScaleForDpi(4, dpi), y + 1};
}

ItemSize ColorMenuItemSize(bool separator, int textWidth, int textHeight, unsigned dpi) {
    if (separator) {
        return {ScaleForDpi(20, dpi), ScaleForDpi(9, dpi)};
    }
    // The radio bullet's gutter on the left, room to breathe on the right.
    return {ScaleForDpi(28, dpi) + textWidth + ScaleForDpi(24, dpi),
            std::max(textHeight + ScaleForDpi(10, dpi), ScaleForDpi(24, dpi))};
}

} // namespace orvane
