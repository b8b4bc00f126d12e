#include "ui/glyphs/glyphs.h"

#include "ui/glyphs/glyph_canvas.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <utility>
#include <vector>

namespace orvane {
namespace {

using glyph::Arc;
using glyph::ArcHead;
using glyph::Canvas;
using glyph::Circle;
using glyph::Colour;
using glyph::EdgeRect;
using glyph::Grid;
using glyph::Inner;
using glyph::kDesignSize;
using glyph::Line;
using glyph::Point;
using glyph::Polygon;
using glyph::Radians;
using glyph::Rgb;
using glyph::RoundPolygon;
using glyph::RoundRect;

struct Palette {
    Colour ink;        // main strokes
    Colour accent;     // blue details
    Colour accentSoft; // translucent blue fills
    Colour run;        // the run triangle
    Colour folderBack;
    Colour folderFront;
    Colour shieldBlueTop;
    Colour shieldBlueBottom;
    Colour shieldGoldTop;
    Colour shieldGoldBottom;
    Colour dotRed;
    Colour dotGreen;
    Colour dotBlue;
    Colour dotGold;
};

// Dark strokes for a light tool bar.
constexpr Palette kLightPalette = {
    Rgb(0x3B3B3B), Rgb(0x1F6FD1), Rgb(0x1F6FD1, 0.22f), Rgb(0x1E9E44), Rgb(0xC98B0E),
    Rgb(0xF6C343), Rgb(0x2F86E8), Rgb(0x1B5FC0),        Rgb(0xF9CB3C), Rgb(0xE6A817),
    Rgb(0xE0463E), Rgb(0x2DAA4F), Rgb(0x2A7BDE),        Rgb(0xF0B323),
};

// Light strokes and brighter colours for a dark tool bar.
constexpr Palette kDarkPalette = {
    Rgb(0xE6E6E6), Rgb(0x5AA8FF), Rgb(0x5AA8FF, 0.28f), Rgb(0x48C869), Rgb(0xDDA630),
    Rgb(0xFFD35E), Rgb(0x4A9BF5), Rgb(0x2B73D6),        Rgb(0xFFD54F), Rgb(0xF0B429),
    Rgb(0xFF6B61), Rgb(0x4CD070), Rgb(0x5AA8FF),        Rgb(0xFFC940),
};

// 0: two arrows chasing each other round a circle, the sign for gathering the list anew.
void DrawScan(Canvas& canvas, const Grid& g, const Palette& colours) {
    Point centre = g.At(10, 10);
    float radius = g(6.25f);
    float width = g.Stroke(1.75f);
    canvas.Fill([=](Point p) { return Arc(p, centre, radius, Radians(160), Radians(285)) - width / 2; },
                colours.accent);
    canvas.Fill([=](Point p) { return Arc(p, centre, radius, Radians(340), Radians(465)) - width / 2; },
                colours.accent);
    canvas.Fill(ArcHead(centre, radius, Radians(285), g(3.3f), g(3.8f), g(0.3f)), colours.accent);
    canvas.Fill(ArcHead(centre, radius, Radians(105), g(3.3f), g(3.8f), g(0.3f)), colours.accent);
}

// 1: a table with a header row and columns.
void DrawDetails(Canvas& canvas, const Grid& g, const Palette& colours) {
    auto frame = EdgeRect(g, 2, 3, 18, 17, 1.5f);
    float thin = g.Stroke(1);
    float headerBottom = g.Edge(7);
    canvas.Fill(Inner(frame, g.Stroke(1.25f)), colours.ink);
    canvas.Fill([=](Point p) { return std::max(frame(p), p.y - headerBottom); }, colours.accent);
    float rowLine = g.Edge(12);
    float columnLine = g.Edge(7);
    float left = g.Edge(2);
    float right = g.Edge(18);
    float bottom = g.Edge(17);
    canvas.Fill([=](Point p) { return RoundRect(p, left, rowLine, right, rowLine + thin, 0); }, colours.ink);
    canvas.Fill([=](Point p) { return RoundRect(p, columnLine, headerBottom, columnLine + thin, bottom, 0); },
                colours.ink);
}

// 2: small icons in two columns, each with its caption. Laid out in whole pixels so that the three rows
// keep equal gaps at every size.
void DrawList(Canvas& canvas, const Grid& g, const Palette& colours) {
    const float square = std::max(2.0f, std::floor(g(3)));
    const float spacing = g.Stroke(1);
    const float caption = g.Stroke(4);
    const float columnGap = g.Stroke(2);
    const float rowGap = g.Stroke(2.5f);
    // A caption line sits in the middle of its square: its thickness has the square's parity.
    float thickness = g.Stroke(1.5f);
    if (static_cast<int>(square - thickness) % 2 != 0) {
        thickness = std::max(1.0f, thickness - 1);
    }
    const float size = static_cast<float>(canvas.size());
    const float columnWidth = square + spacing + caption;
    const float left = std::floor((size - (2 * columnWidth + columnGap)) / 2);
    const float top = std::floor((size - (3 * square + 2 * rowGap)) / 2);
    const float corner = g(0.6f);
    for (int row = 0; row < 3; ++row) {
        const float y = top + static_cast<float>(row) * (square + rowGap);
        for (int column = 0; column < 2; ++column) {
            const float x = left + static_cast<float>(column) * (columnWidth + columnGap);
            canvas.Fill([=](Point p) { return RoundRect(p, x, y, x + square, y + square, corner); },
                        colours.accent);
            const float lineTop = y + (square - thickness) / 2;
            const float lineLeft = x + square + spacing;
            canvas.Fill(
                [=](Point p) {
                    return RoundRect(p, lineLeft, lineTop, lineLeft + caption, lineTop + thickness, 0);
                },
                colours.ink);
        }
    }
}

// 3: a magnifying glass.
void DrawSearch(Canvas& canvas, const Grid& g, const Palette& colours) {
    Point centre = g.At(8.5f, 8.5f);
    float radius = g(5.75f);
    float width = g.Stroke(1.75f);
    canvas.Fill([=](Point p) { return Circle(p, centre, radius); }, colours.accentSoft);
    canvas.Fill([=](Point p) { return std::abs(Circle(p, centre, radius - width / 2)) - width / 2; },
                colours.ink);
    canvas.Fill(Line(g.At(13.2f, 13.2f), g.At(17, 17), g.Stroke(2.75f)), colours.ink);
}

// 4: leaving through a door: a frame open on its right side and an arrow pointing out of it.
void DrawClose(Canvas& canvas, const Grid& g, const Palette& colours) {
    float width = g.Stroke(1.75f);
    auto band = Inner(EdgeRect(g, 3, 3, 13, 17, 1.75f), width);
    float gapLeft = g(9);
    float gapTop = g.Edge(7);
    float gapBottom = g.Edge(13);
    float gapRight = static_cast<float>(canvas.size());
    canvas.Fill(
        [=](Point p) { return std::max(band(p), -RoundRect(p, gapLeft, gapTop, gapRight, gapBottom, 0)); },
        colours.ink);
    // An odd stroke width centres the arrow on a pixel row, an even one on a pixel edge.
    float y = g.Edge(10) - (static_cast<int>(width) % 2 == 1 ? 0.5f : 0.0f);
    Point tip = {g(17.5f), y};
    Point headEnd = {tip.x - width * 0.3f, y};
    canvas.Fill(Line({g(8), y}, {tip.x - width / 2, y}, width), colours.accent);
    canvas.Fill(Line({g(14), y - g(3.5f)}, headEnd, width), colours.accent);
    canvas.Fill(Line({g(14), y + g(3.5f)}, headEnd, width), colours.accent);
}

// 5: a play triangle; its upright side stays on a pixel edge.
void DrawRun(Canvas& canvas, const Grid& g, const Palette& colours) {
    const float rounding = g(1.25f);
    const float left = g.Edge(5) + rounding;
    canvas.Fill(RoundPolygon({{left, g(4)}, g.At(15.9f, 10), {left, g(16)}}, rounding), colours.run);
}

// 6: an open folder, its front flap tilted forward.
void DrawFolder(Canvas& canvas, const Grid& g, const Palette& colours) {
    auto tab = EdgeRect(g, 2, 3.5f, 8.5f, 7, 1);
    auto body = EdgeRect(g, 2, 5, 16, 16.5f, 1.25f);
    canvas.Fill([=](Point p) { return std::min(tab(p), body(p)); }, colours.folderBack);
    float bottom = g.Edge(16.5f);
    auto front = RoundPolygon(
        {g.At(5.6f, 8.6f), g.At(18.4f, 8.6f), {g(15.6f), bottom - g(0.4f)}, {g(2.4f), bottom - g(0.4f)}},
        g(0.4f));
    canvas.Cut([=](Point p) { return front(p) - g(0.6f); });
    canvas.Fill(front, colours.folderFront);
}

// The outline of a shield: a low peak on top, straight sides on pixel edges, and flanks curving down to
// a point.
std::vector<Point> ShieldOutline(const Grid& g) {
    const float side = g.Edge(16.5f);
    const float mirror = g(20);
    std::vector<Point> right = {g.At(10, 1.8f), {side, g(4)}, {side, g(9.5f)}};
    // The right flank, a quadratic curve from the side through the pull of (side, 15.2) to (10, 18.6).
    constexpr int steps = 10;
    for (int i = 1; i <= steps; ++i) {
        float t = static_cast<float>(i) / steps;
        float u = 1 - t;
        right.push_back({u * u * side + 2 * u * t * side + t * t * g(10),
                         u * u * g(9.5f) + 2 * u * t * g(15.2f) + t * t * g(18.6f)});
    }
    // The left half mirrors the right one; the top and bottom points lie on the axis.
    std::vector<Point> outline = right;
    for (std::size_t i = right.size() - 2; i >= 1; --i) {
        outline.push_back({mirror - right[i].x, right[i].y});
    }
    return outline;
}

// 7: the shield that marks running with administrator rights, in four quarters.
void DrawShield(Canvas& canvas, const Grid& g, const Palette& colours) {
    std::vector<Point> outline = ShieldOutline(g);
    auto shield = [outline](Point p) { return Polygon(p, outline); };
    const float midX = g.Edge(10);
    const float midY = g.Edge(9.5f);
    auto quarter = [=](bool right, bool lower) {
        return [=](Point p) {
            float across = right ? midX - p.x : p.x - midX;
            float down = lower ? midY - p.y : p.y - midY;
            return std::max({shield(p), across, down});
        };
    };
    canvas.Fill(quarter(false, false), colours.shieldBlueTop);
    canvas.Fill(quarter(true, false), colours.shieldGoldTop);
    canvas.Fill(quarter(false, true), colours.shieldGoldBottom);
    canvas.Fill(quarter(true, true), colours.shieldBlueBottom);
}

// 8: a painter's palette, a disc with a thumb notch, and four dabs of colour, for the window colours.
void DrawColour(Canvas& canvas, const Grid& g, const Palette& colours) {
    const Point centre = g.At(10, 10);
    const float radius = g(8);
    const Point notch = g.At(15.6f, 14.4f);
    const float notchRadius = g(3.4f);
    auto body = [=](Point p) { return std::max(Circle(p, centre, radius), -Circle(p, notch, notchRadius)); };
    canvas.Fill(Inner(body, g.Stroke(1.5f)), colours.ink);
    // The dabs lie on an arc inside the rim, clear of it and of each other.
    const float dab = g(1.5f);
    const float reach = g(4.3f);
    const std::array<std::pair<float, Colour>, 4> dabs = {{
        {160, colours.dotBlue},
        {215, colours.dotRed},
        {270, colours.dotGold},
        {325, colours.dotGreen},
    }};
    for (const auto& [angle, colour] : dabs) {
        const Point at = {centre.x + reach * std::cos(Radians(angle)),
                          centre.y + reach * std::sin(Radians(angle))};
        canvas.Fill([=](Point p) { return Circle(p, at, dab); }, colour);
    }
}

// An icon's pixels as premultiplied colours (r, g, b, a), with the mask standing in for alpha when the
// colour bitmap carries none.
std::vector<std::array<float, 4>> Premultiplied(const IconBitmaps& icon) {
    const std::vector<std::uint32_t>& bgra = icon.colour;
    bool hasAlpha = std::any_of(bgra.begin(), bgra.end(), [](std::uint32_t v) { return (v >> 24) != 0; });
    std::vector<std::array<float, 4>> pixels(bgra.size());
    for (std::size_t i = 0; i < bgra.size(); ++i) {
        float a = hasAlpha ? static_cast<float>(bgra[i] >> 24) / 255.0f
                           : ((icon.mask[i] & 0xFFFFFF) != 0 ? 0.0f : 1.0f);
        float r = static_cast<float>((bgra[i] >> 16) & 0xFF) / 255.0f;
        float gr = static_cast<float>((bgra[i] >> 8) & 0xFF) / 255.0f;
        float b = static_cast<float>(bgra[i] & 0xFF) / 255.0f;
        pixels[i] = {r * a, gr * a, b * a, a};
    }
    return pixels;
}

// The share of the source span [from, to) that falls on source pixel `index`.
float Overlap(float from, float to, int index) {
    return std::max(0.0f,
                    std::min(to, static_cast<float>(index + 1)) - std::max(from, static_cast<float>(index)));
}

// Where a target pixel reads in the source: its own span when shrinking, one source pixel's width
// around its centre when enlarging (which blends the two nearest pixels).
std::pair<float, float> SourceSpan(int target, int targetSize, int sourceSize) {
    float step = static_cast<float>(sourceSize) / static_cast<float>(targetSize);
    float from = static_cast<float>(target) * step;
    float to = from + step;
    if (step < 1) {
        float centre = from + step / 2;
        from = centre - 0.5f;
        to = centre + 0.5f;
    }
    return {std::max(from, 0.0f), std::min(to, static_cast<float>(sourceSize))};
}

// Lays an icon, resampled to a centred box, over the canvas.
void DrawIcon(Canvas& canvas, const IconBitmaps& source, int box) {
    const std::vector<std::array<float, 4>> pixels = Premultiplied(source);
    int offset = (canvas.size() - box) / 2;
    for (int ty = 0; ty < box; ++ty) {
        auto [y0, y1] = SourceSpan(ty, box, source.height);
        for (int tx = 0; tx < box; ++tx) {
            auto [x0, x1] = SourceSpan(tx, box, source.width);
            std::array<float, 4> sum = {0, 0, 0, 0};
            float weight = 0;
            for (int sy = static_cast<int>(y0); sy < source.height && static_cast<float>(sy) < y1; ++sy) {
                float wy = Overlap(y0, y1, sy);
                for (int sx = static_cast<int>(x0); sx < source.width && static_cast<float>(sx) < x1; ++sx) {
                    float w = wy * Overlap(x0, x1, sx);
                    const auto& pixel = pixels[static_cast<std::size_t>(sy) * source.width + sx];
                    for (std::size_t c = 0; c < 4; ++c) {
                        sum[c] += pixel[c] * w;
                    }
                    weight += w;
                }
            }
            if (weight > 0) {
                canvas.Blend(offset + tx, offset + ty, sum[0] / weight, sum[1] / weight, sum[2] / weight,
                             sum[3] / weight);
            }
        }
    }
}

} // namespace

int ToolbarImageSize(unsigned dpi) {
    constexpr std::uint64_t kStandardDpi = 96;
    const std::uint64_t scaled = std::uint64_t{kDesignSize} * (dpi == 0 ? kStandardDpi : dpi);
    return static_cast<int>((scaled + kStandardDpi / 2) / kStandardDpi);
}

int IconBoxSize(int imageSize) {
    // 16 of the 20 design units, rounded to the nearest pixel.
    constexpr int kIconBoxUnits = 16;
    return (imageSize * kIconBoxUnits + kDesignSize / 2) / kDesignSize;
}

GlyphPixels DrawGlyph(ToolbarImage image, int size, bool dark) {
    if (size <= 0) {
        return {};
    }
    using Painter = void (*)(Canvas&, const Grid&, const Palette&);
    constexpr std::array<Painter, kToolbarImageCount> painters = {
        DrawScan, DrawDetails, DrawList, DrawSearch, DrawClose, DrawRun, DrawFolder, DrawShield, DrawColour,
    };
    Canvas canvas(size);
    painters.at(static_cast<std::size_t>(image))(canvas, Grid(size), dark ? kDarkPalette : kLightPalette);
    return {size, canvas.ToBgra()};
}

std::optional<GlyphPixels> PlaceIcon(const IconBitmaps& icon, int size, int box) {
    const std::size_t count = static_cast<std::size_t>(std::max(icon.width, 0)) * std::max(icon.height, 0);
    if (count == 0 || icon.colour.size() != count || icon.mask.size() != count || box <= 0 || box > size) {
        return std::nullopt;
    }
    Canvas canvas(size);
    DrawIcon(canvas, icon, box);
    return GlyphPixels{size, canvas.ToBgra()};
}

} // namespace orvane
