// What the tool-bar glyphs are drawn with: shapes given as signed distance functions, a canvas that
// paints them anti-aliased, and the 20 x 20 design grid their coordinates are written in.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <utility>
#include <vector>

namespace orvane::glyph {

// Every glyph is laid out on a grid of 20 x 20 design units and drawn at the target size, so that edges
// fall on whole pixels where they can. Shapes are signed distance functions (negative inside, in pixels);
// the distance at a pixel's centre gives that pixel's coverage, which anti-aliases every edge.
inline constexpr int kDesignSize = 20;
inline constexpr float kPi = std::numbers::pi_v<float>;

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

float Radians(float degrees);
float Distance(Point a, Point b);
float Circle(Point p, Point centre, float radius);
// Rectangle from (x0, y0) to (x1, y1) with corners rounded by `radius`.
float RoundRect(Point p, float x0, float y0, float x1, float y1, float radius);
// Distance to the segment from a to b.
float Segment(Point p, Point a, Point b);
// Signed distance to a simple polygon given by its corners.
float Polygon(Point p, const std::vector<Point>& corners);
// Distance to the arc of `radius` around `centre` that runs clockwise on screen from angle a0 to a1
// (radians, y pointing down).
float Arc(Point p, Point centre, float radius, float a0, float a1);

// A square canvas with premultiplied colours, painted back to front.
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
    void Blend(int x, int y, float r, float g, float b, float a);

    // The canvas as top-down 0xAARRGGBB pixels with straight alpha; fully clear pixels are 0.
    std::vector<std::uint32_t> ToBgra() const;

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
inline auto EdgeRect(const Grid& g, float x0, float y0, float x1, float y1, float radius) {
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
inline auto Line(Point a, Point b, float width) {
    return [=](Point p) { return Segment(p, a, b) - width / 2; };
}

// A filled polygon whose corners are rounded by `radius` (the outline grows by that much).
inline auto RoundPolygon(std::vector<Point> corners, float radius) {
    return [corners = std::move(corners), radius](Point p) { return Polygon(p, corners) - radius; };
}

// An arrow head for the end of an arc: a triangle whose base lies across the arc at angle `at` and whose
// tip points on, clockwise.
inline auto ArcHead(Point centre, float radius, float at, float halfBase, float length, float rounding) {
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

} // namespace orvane::glyph
