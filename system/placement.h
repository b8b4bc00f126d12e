// Norrow: the arithmetic that keeps a restored window on a monitor.
#pragma once

#include <array>
#include <functional>

namespace Norrow {

// Where the taskbar is docked; the values are those the window layer reports.
enum TaskbarEdge : int { teNone = -1, teTop = 0, teBottom = 1, teLeft = 2, teRight = 3 };

struct ScreenPoint {
    int x = 0;
    int y = 0;

    friend bool operator==(const ScreenPoint&, const ScreenPoint&) = default;
};

// Left, top, right, bottom in screen pixels.
struct ScreenRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    friend bool operator==(const ScreenRect&, const ScreenRect&) = default;
};

// Tells whether a screen point lies on some monitor.
using MonitorTest = std::function<bool(int x, int y)>;

// The points tested, in order: top-left, bottom-right, top-right, bottom-left, centre. Right and bottom
// are left + width and top + height, just outside the window's last column and row; halves drop the
// fraction. Coordinates beyond the integer range are held at its ends.
std::array<ScreenPoint, 5> OffScreenTestPoints(int left, int top, int width, int height);

// True when none of the five test points lies on a monitor; stops at the first point that does.
bool IsOffScreen(int left, int top, int width, int height, const MonitorTest& onMonitor);

// The right and bottom edges the window is centred in: the work area's, with the taskbar's height added
// back at the bottom or its width at the right. A taskbar at the top, at the left or none adds nothing.
ScreenPoint CenteringExtent(int workRight, int workBottom, TaskbarEdge edge, const ScreenRect& taskbar);

// The new top-left corner: ((right - width) / 2, (bottom - height) / 2), dividing toward zero.
ScreenPoint CenteredOrigin(const ScreenPoint& extent, int width, int height);

// A rectangle in workspace coordinates (those of a window's stored restore position, counted from the
// top-left corner of its monitor's work area) in screen coordinates: moved by the distance from the
// monitor's corner to its work area's, so a taskbar at the top or the left does not shift it.
ScreenRect WorkspaceToScreen(const ScreenRect& rect, const ScreenRect& monitor, const ScreenRect& workArea);

} // namespace Norrow
