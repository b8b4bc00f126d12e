#include "ui/glyphs/glyph_canvas.h"

namespace orvane::glyph {
namespace {

float Length(float x, float y) {
    return std::sqrt(x * x + y * y);
}

std::uint32_t ToByte(float value) {
    return static_cast<std::uint32_t>(std::lround(std::clamp(value, 0.0f, 1.0f) * 255.0f));
}

} // namespace

float Radians(float degrees) {
    return degrees * kPi / 180;
}

float Distance(Point a, Point b) {
    return Length(a.x - b.x, a.y - b.y);
}

float Circle(Point p, Point centre, float radius) {
    return Distance(p, centre) - radius;
}

float RoundRect(Point p, float x0, float y0, float x1, float y1, float radius) {
    float hx = (x1 - x0) / 2;
    float hy = (y1 - y0) / 2;
    radius = std::min({radius, hx, hy});
    float qx = std::abs(p.x - (x0 + hx)) - (hx - radius);
    float qy = std::abs(p.y - (y0 + hy)) - (hy - radius);
    return Length(std::max(qx, 0.0f), std::max(qy, 0.0f)) + std::min(std::max(qx, qy), 0.0f) - radius;
}

float Segment(Point p, Point a, Point b) {
    float px = p.x - a.x;
    float py = p.y - a.y;
    float bx = b.x - a.x;
    float by = b.y - a.y;
    float length2 = bx * bx + by * by;
    float h = length2 > 0 ? std::clamp((px * bx + py * by) / length2, 0.0f, 1.0f) : 0.0f;
    return Length(px - bx * h, py - by * h);
}

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

void Canvas::Blend(int x, int y, float r, float g, float b, float a) {
    Pixel& pixel = At(x, y);
    float rest = 1 - a;
    pixel.r = r + pixel.r * rest;
    pixel.g = g + pixel.g * rest;
    pixel.b = b + pixel.b * rest;
    pixel.a = a + pixel.a * rest;
}

std::vector<std::uint32_t> Canvas::ToBgra() const {
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

} // namespace orvane::glyph
