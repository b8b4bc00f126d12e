#include "system/placement.h"

#include <cstdint>
#include <limits>

namespace Norrow {
namespace {

// Window managers hand out 32-bit coordinates; sums are formed wide and held at the integer's ends, so a
// far-away box never wraps around onto the screen.
int Clamp(std::int64_t value) {
    constexpr std::int64_t low = std::numeric_limits<int>::min();
    constexpr std::int64_t high = std::numeric_limits<int>::max();
    return static_cast<int>(value < low ? low : (value > high ? high : value));
}

} // namespace

std::array<ScreenPoint, 5> OffScreenTestPoints(int left, int top, int width, int height) {
    const std::int64_t right = std::int64_t{left} + width;
    const std::int64_t bottom = std::int64_t{top} + height;
    const int centreX = Clamp(std::int64_t{left} + width / 2);
    const int centreY = Clamp(std::int64_t{top} + height / 2);
    return {ScreenPoint{left, top}, ScreenPoint{Clamp(right), Clamp(bottom)}, ScreenPoint{Clamp(right), top},
            ScreenPoint{left, Clamp(bottom)}, ScreenPoint{centreX, centreY}};
}

bool IsOffScreen(int left, int top, int width, int height, const MonitorTest& onMonitor) {
    for (const ScreenPoint& point : OffScreenTestPoints(left, top, width, height)) {
        if (onMonitor(point.x, point.y)) {
            return false;
        }
    }
    return true;
}

ScreenPoint CenteringExtent(int workRight, int workBottom, TaskbarEdge edge, const ScreenRect& taskbar) {
    std::int64_t right = workRight;
    std::int64_t bottom = workBottom;
    if (edge == teBottom) {
        bottom += std::int64_t{taskbar.bottom} - taskbar.top;
    } else if (edge == teRight) {
        right += std::int64_t{taskbar.right} - taskbar.left;
    }
    return {Clamp(right), Clamp(bottom)};
}

ScreenPoint CenteredOrigin(const ScreenPoint& extent, int width, int height) {
    // Integer division in C++ truncates toward zero, as the placement rule asks.
    return {Clamp((std::int64_t{extent.x} - width) / 2), Clamp((std::int64_t{extent.y} - height) / 2)};
}

ScreenRect WorkspaceToScreen(const ScreenRect& rect, const ScreenRect& monitor, const ScreenRect& workArea) {
    const std::int64_t dx = std::int64_t{workArea.left} - monitor.left;
    const std::int64_t dy = std::int64_t{workArea.top} - monitor.top;
    return {Clamp(rect.left + dx), Clamp(rect.top + dy), Clamp(rect.right + dx), Clamp(rect.bottom + dy)};
}

} // namespace Norrow
