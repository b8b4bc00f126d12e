#include "ui/toolbar_images_win.h"

#include <shellapi.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

namespace orvane {
namespace {

// Every glyph is laid out on a grid of 20 x 20 design units and drawn at the target size, so that edges
// fall on whole pixels where they can. Shapes are signed distance functions (negative inside, in pixels);
// the distance at a pixel's centre gives that pixel's coverage, which anti-aliases every edge.

constexpr int kDesignSize = 20;
constexpr float kPi = std::numbers::pi_v<float>;

struct Point {
    float x;
    float y;
};

// A colour with straight alpha, each channel in 0..1.
struct Colour {
    float r;
    float g;
    float b;
    float a;
};

constexpr Colour Rgb(std::uint32_t rgb, float alpha = 1.0f) {
    return {static_cast<float>((rgb >> 16) & 0xFF) / 255.0f, static_cast<float>((rgb >> 8) & 0xFF) / 255.0f,
            static_cast<float>(rgb & 0xFF) / 255.0f, alpha};
}

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

float Length(float x, float y) {
    return std::sqrt(x * x + y * y);
}

float Distance(Point a, Point b) {
    return Length(a.x - b.x, a.y - b.y);
}

float Circle(Point p, Point centre, float radius) {
    return Distance(p, centre) - radius;
}

// Rectangle from (x0, y0) to (x1, y1) with corners rounded by `radius`.
float RoundRect(Point p, float x0, float y0, float x1, float y1, float radius) {
    float hx = (x1 - x0) / 2;
    float hy = (y1 - y0) / 2;
    radius = std::min({radius, hx, hy});
    float qx = std::abs(p.x - (x0 + hx)) - (hx - radius);
    float qy = std::abs(p.y - (y0 + hy)) - (hy - radius);
    return Length(std::max(qx, 0.0f), std::max(qy, 0.0f)) + std::min(std::max(qx, qy), 0.0f) - radius;
}

// Distance to the segment from a to b.
float Segment(Point p, Point a, Point b) {
    float px = p.x - a.x;
    float py = p.y - a.y;
    float bx = b.x - a.x;
    float by = b.y - a.y;
    float length2 = bx * bx + by * by;
    float h = length2 > 0 ? std::clamp((px * bx + py * by) / length2, 0.0f, 1.0f) : 0.0f;
    return Length(px - bx * h, py - by * h);
}

// Signed distance to a simple polygon given by its corners.
float Polygon(Point p, const std::vector<Point>& corners) {
    float best = Distance(p, corners[0]);
    bool inside = false;
    for (std::size_t i = 0, j = corners.size() - 1; i < corners.size(); j = i++) {
        Point a = corners[i];
        Point b = corners[j];
        best = std::min(best, Segment(p, a, b));
        if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x) {
            inside = !inside;
        }
    }
    return inside ? -best : best;
}

// Distance to the arc of `radius` around `centre` that runs clockwise on screen from angle a0 to a1
// (radians, y pointing down).
float Arc(Point p, Point centre, float radius, float a0, float a1) {
    float dx = p.x - centre.x;
    float dy = p.y - centre.y;
    float turn = std::fmod(std::atan2(dy, dx) - a0, 2 * kPi);
    if (turn < 0) {
        turn += 2 * kPi;
    }
    if (turn <= a1 - a0) {
        return std::abs(Length(dx, dy) - radius);
    }
    Point start = {centre.x + radius * std::cos(a0), centre.y + radius * std::sin(a0)};
    Point end = {centre.x + radius * std::cos(a1), centre.y + radius * std::sin(a1)};
    return std::min(Distance(p, start), Distance(p, end));
}

// A 32-bit canvas with premultiplied colours, painted back to front.
class Canvas {
public:
    explicit Canvas(int size) : size_(size), pixels_(static_cast<std::size_t>(size) * size) {}

    int size() const noexcept { return size_; }

    // Paints every pixel by how much of it the shape covers.
    template <typename Shape> void Fill(const Shape& shape, Colour colour) {
        for (int y = 0; y < size_; ++y) {
            for (int x = 0; x < size_; ++x) {
                float cover = Coverage(shape, x, y);
                if (cover > 0) {
                    float a = colour.a * cover;
                    Blend(x, y, colour.r * a, colour.g * a, colour.b * a, a);
                }
            }
        }
    }

    // Clears what the shape covers; used to open a thin gap between overlapping parts.
    template <typename Shape> void Cut(const Shape& shape) {
        for (int y = 0; y < size_; ++y) {
            for (int x = 0; x < size_; ++x) {
                float keep = 1 - Coverage(shape, x, y);
                Pixel& pixel = At(x, y);
                pixel.r *= keep;
                pixel.g *= keep;
                pixel.b *= keep;
                pixel.a *= keep;
            }
        }
    }

    // Lays a premultiplied colour over one pixel.
    void Blend(int x, int y, float r, float g, float b, float a) {
        Pixel& pixel = At(x, y);
        float rest = 1 - a;
        pixel.r = r + pixel.r * rest;
        pixel.g = g + pixel.g * rest;
        pixel.b = b + pixel.b * rest;
        pixel.a = a + pixel.a * rest;
    }

    // The canvas as top-down BGRA pixels with straight alpha, the form image lists keep.
    std::vector<std::uint32_t> ToBgra() const {
        std::vector<std::uint32_t> out(pixels_.size());
        for (std::size_t i = 0; i < pixels_.size(); ++i) {
            const Pixel& pixel = pixels_[i];
            std::uint32_t a = ToByte(pixel.a);
            if (a == 0) {
                continue;
            }
            float unit = 1 / pixel.a;
            out[i] = (a << 24) | (ToByte(pixel.r * unit) << 16) | (ToByte(pixel.g * unit) << 8) |
                     ToByte(pixel.b * unit);
        }
        return out;
    }

private:
    struct Pixel {
        float r = 0;
        float g = 0;
        float b = 0;
        float a = 0;
    };

    template <typename Shape> static float Coverage(const Shape& shape, int x, int y) {
        Point centre = {static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f};
        return std::clamp(0.5f - shape(centre), 0.0f, 1.0f);
    }

    static std::uint32_t ToByte(float value) {
        return static_cast<std::uint32_t>(std::lround(std::clamp(value, 0.0f, 1.0f) * 255.0f));
    }

    Pixel& At(int x, int y) { return pixels_[static_cast<std::size_t>(y) * size_ + x]; }

    int size_;
    std::vector<Pixel> pixels_;
};

// Turns design units into pixels for one target size.
class Grid {
public:
    explicit Grid(int size) : scale_(static_cast<float>(size) / kDesignSize) {}

    float operator()(float units) const { return units * scale_; }
    Point At(float x, float y) const { return {x * scale_, y * scale_}; }
    // A design coordinate moved to the nearest pixel edge, for straight edges that must stay crisp.
    float Edge(float units) const { return std::round(units * scale_); }
    // A stroke width in whole pixels, at least one.
    float Stroke(float units) const { return std::max(1.0f, std::round(units * scale_)); }

private:
    float scale_;
};

// A rectangle whose sides sit on pixel edges.
auto EdgeRect(const Grid& g, float x0, float y0, float x1, float y1, float radius) {
    float left = g.Edge(x0);
    float top = g.Edge(y0);
    float right = g.Edge(x1);
    float bottom = g.Edge(y1);
    float r = g(radius);
    return [=](Point p) { return RoundRect(p, left, top, right, bottom, r); };
}

// The band of width `width` just inside a shape's outline.
template <typename Shape> auto Inner(Shape shape, float width) {
    return [=](Point p) {
        float d = shape(p);
        return std::max(d, -d - width);
    };
}

// A stroke along the segment from a to b with round ends.
auto Line(Point a, Point b, float width) {
    return [=](Point p) { return Segment(p, a, b) - width / 2; };
}

// A filled polygon whose corners are rounded by `radius` (the outline grows by that much).
auto RoundPolygon(std::vector<Point> corners, float radius) {
    return [corners = std::move(corners), radius](Point p) { return Polygon(p, corners) - radius; };
}

// An arrow head for the end of an arc: a triangle whose base lies across the arc at angle `at` and whose
// tip points on, clockwise.
auto ArcHead(Point centre, float radius, float at, float halfBase, float length, float rounding) {
    Point base = {centre.x + radius * std::cos(at), centre.y + radius * std::sin(at)};
    Point out = {std::cos(at), std::sin(at)};
    Point ahead = {-std::sin(at), std::cos(at)};
    std::vector<Point> corners = {
        {base.x + out.x * halfBase, base.y + out.y * halfBase},
        {base.x + ahead.x * length, base.y + ahead.y * length},
        {base.x - out.x * halfBase, base.y - out.y * halfBase},
    };
    return RoundPolygon(std::move(corners), rounding);
}

float Radians(float degrees) {
    return degrees * kPi / 180;
}

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

// An icon's pixels as premultiplied colours, with the mask standing in for alpha when the colour
// bitmap carries none.
struct IconPixels {
    int width = 0;
    int height = 0;
    std::vector<std::array<float, 4>> pixels; // r, g, b, a, premultiplied
};

struct ScreenDc {
    ScreenDc() : dc(::GetDC(nullptr)) {}
    ScreenDc(const ScreenDc&) = delete;
    ScreenDc& operator=(const ScreenDc&) = delete;
    ~ScreenDc() {
        if (dc != nullptr) {
            ::ReleaseDC(nullptr, dc);
        }
    }
    HDC dc;
};

bool ReadBitmap(HDC dc, HBITMAP bitmap, int width, int height, std::vector<std::uint32_t>& out) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    out.assign(static_cast<std::size_t>(width) * height, 0);
    return ::GetDIBits(dc, bitmap, 0, static_cast<UINT>(height), out.data(), &info, DIB_RGB_COLORS) == height;
}

bool ReadIcon(HICON icon, IconPixels& result) {
    ICONINFO info{};
    if (!::GetIconInfo(icon, &info)) {
        return false;
    }
    UniqueBitmap colour(info.hbmColor);
    UniqueBitmap mask(info.hbmMask);
    BITMAP shape{};
    if (!colour || ::GetObjectW(colour.get(), sizeof(shape), &shape) == 0 || shape.bmWidth <= 0 ||
        shape.bmHeight <= 0) {
        return false;
    }
    ScreenDc screen;
    std::vector<std::uint32_t> bgra;
    std::vector<std::uint32_t> maskBits;
    if (screen.dc == nullptr || !ReadBitmap(screen.dc, colour.get(), shape.bmWidth, shape.bmHeight, bgra) ||
        !mask || !ReadBitmap(screen.dc, mask.get(), shape.bmWidth, shape.bmHeight, maskBits)) {
        return false;
    }
    bool hasAlpha = std::any_of(bgra.begin(), bgra.end(), [](std::uint32_t v) { return (v >> 24) != 0; });
    result.width = shape.bmWidth;
    result.height = shape.bmHeight;
    result.pixels.resize(bgra.size());
    for (std::size_t i = 0; i < bgra.size(); ++i) {
        float a = hasAlpha ? static_cast<float>(bgra[i] >> 24) / 255.0f
                           : ((maskBits[i] & 0xFFFFFF) != 0 ? 0.0f : 1.0f);
        float r = static_cast<float>((bgra[i] >> 16) & 0xFF) / 255.0f;
        float gr = static_cast<float>((bgra[i] >> 8) & 0xFF) / 255.0f;
        float b = static_cast<float>(bgra[i] & 0xFF) / 255.0f;
        result.pixels[i] = {r * a, gr * a, b * a, a};
    }
    return true;
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
bool DrawIcon(Canvas& canvas, HICON icon, int box) {
    IconPixels source;
    if (!ReadIcon(icon, source)) {
        return false;
    }
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
                    const auto& pixel = source.pixels[static_cast<std::size_t>(sy) * source.width + sx];
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
    return true;
}

UniqueBitmap MakeBitmap(const std::vector<std::uint32_t>& bgra, int size) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = size;
    info.bmiHeader.biHeight = -size;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    UniqueBitmap bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (bitmap && bits != nullptr) {
        std::copy(bgra.begin(), bgra.end(), static_cast<std::uint32_t*>(bits));
        ::GdiFlush();
    }
    return bitmap;
}

} // namespace

int ToolbarImageSize(UINT dpi) {
    return ::MulDiv(kDesignSize, dpi == 0 ? USER_DEFAULT_SCREEN_DPI : static_cast<int>(dpi),
                    USER_DEFAULT_SCREEN_DPI);
}

UniqueIcon StockShieldIcon(int boxSize) {
    SHSTOCKICONINFO info{};
    info.cbSize = sizeof(info);
    UINT flags = SHGSI_ICON;
    if (boxSize <= ::GetSystemMetrics(SM_CXSMICON)) {
        flags |= SHGSI_SMALLICON;
    }
    if (FAILED(::SHGetStockIconInfo(SIID_SHIELD, flags, &info))) {
        return {};
    }
    return UniqueIcon(info.hIcon);
}

UniqueImageList CreateToolbarImages(UINT dpi, bool dark) {
    return CreateToolbarImages(dpi, dark, StockShieldIcon);
}

UniqueImageList CreateToolbarImages(UINT dpi, bool dark, const ShieldIconSource& shield) {
    const int size = ToolbarImageSize(dpi);
    if (size <= 0) {
        return {};
    }
    UniqueImageList list(::ImageList_Create(size, size, ILC_COLOR32, kToolbarImageCount, 0));
    if (!list) {
        return {};
    }
    const Palette& colours = dark ? kDarkPalette : kLightPalette;
    const Grid grid(size);
    using Painter = void (*)(Canvas&, const Grid&, const Palette&);
    constexpr std::array<Painter, kToolbarImageCount> painters = {
        DrawScan, DrawDetails, DrawList, DrawSearch, DrawClose, DrawRun, DrawFolder, DrawShield, DrawColour,
    };
    for (int index = 0; index < kToolbarImageCount; ++index) {
        Canvas canvas(size);
        bool drawn = false;
        if (index == tiAdmin && shield) {
            // The system's shield, kept a little smaller than the slot as the drawn glyphs are.
            int box = ::MulDiv(size, 16, kDesignSize);
            UniqueIcon icon = shield(box);
            drawn = icon && DrawIcon(canvas, icon.get(), box);
        }
        if (!drawn) {
            painters[static_cast<std::size_t>(index)](canvas, grid, colours);
        }
        UniqueBitmap bitmap = MakeBitmap(canvas.ToBgra(), size);
        if (!bitmap || ::ImageList_Add(list.get(), bitmap.get(), nullptr) != index) {
            return {};
        }
    }
    return list;
}

} // namespace orvane
