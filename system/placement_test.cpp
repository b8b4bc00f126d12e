#include "system/placement.h"

#include <gtest/gtest.h>

#include <limits>
#include <ostream>
#include <vector>

namespace Norrow {

// Readable failure messages for points.
void PrintTo(const ScreenPoint& point, std::ostream* out) {
    *out << '(' << point.x << ", " << point.y << ')';
}

namespace {

// A monitor layout: a point is on a monitor when left <= x < right and top <= y < bottom.
struct Monitors {
    std::vector<ScreenRect> rects;
    std::vector<ScreenPoint>* asked = nullptr;

    MonitorTest Test() const {
        return [this](int x, int y) {
            if (asked != nullptr) {
                asked->push_back({x, y});
            }
            for (const ScreenRect& r : rects) {
                if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) {
                    return true;
                }
            }
            return false;
        };
    }
};

const Monitors kFullHd{{{0, 0, 1920, 1080}}};

TEST(WindowPlacement, WindowBeyondTheMonitorGoesToTheCentreWithABottomTaskbar) {
    ASSERT_TRUE(IsOffScreen(3000, 200, 800, 600, kFullHd.Test()));
    const ScreenPoint extent = CenteringExtent(1920, 1040, teBottom, {0, 1040, 1920, 1080});
    EXPECT_EQ(extent, (ScreenPoint{1920, 1080}));
    EXPECT_EQ(CenteredOrigin(extent, 800, 600), (ScreenPoint{560, 240}));
}

TEST(WindowPlacement, RightTaskbarWidthIsAddedBackToTheRightEdge) {
    const ScreenPoint extent = CenteringExtent(1860, 1080, teRight, {1860, 0, 1920, 1080});
    EXPECT_EQ(extent, (ScreenPoint{1920, 1080}));
    EXPECT_EQ(CenteredOrigin(extent, 800, 600), (ScreenPoint{560, 240}));
}

TEST(WindowPlacement, TopLeftOrNoTaskbarLeavesTheWorkArea) {
    const ScreenRect bar{0, 0, 1920, 40};
    EXPECT_EQ(CenteringExtent(1920, 1080, teTop, bar), (ScreenPoint{1920, 1080}));
    EXPECT_EQ(CenteringExtent(1920, 1080, teLeft, {0, 0, 60, 1080}), (ScreenPoint{1920, 1080}));
    EXPECT_EQ(CenteringExtent(1920, 1040, teNone, {0, 1040, 1920, 1080}), (ScreenPoint{1920, 1040}));
}

TEST(WindowPlacement, PointsAreTestedInOrderAndTheFirstHitStops) {
    std::vector<ScreenPoint> asked;
    Monitors monitors{{{0, 0, 1920, 1080}}, &asked};
    // Only the top-left corner lies on the monitor: the window stays and nothing else is asked.
    EXPECT_FALSE(IsOffScreen(1900, 1000, 800, 600, monitors.Test()));
    EXPECT_EQ(asked, (std::vector<ScreenPoint>{{1900, 1000}}));

    asked.clear();
    EXPECT_TRUE(IsOffScreen(3000, 200, 801, 601, monitors.Test()));
    EXPECT_EQ(asked,
              (std::vector<ScreenPoint>{{3000, 200}, {3801, 801}, {3801, 200}, {3000, 801}, {3400, 500}}));
}

TEST(WindowPlacement, WindowLargerThanEveryMonitorStaysWhenItsCentreIsOnOne) {
    const Monitors two{{{0, 0, 1920, 1080}, {1920, 0, 3200, 1024}}};
    // Corners far outside both monitors, centre (1000, 500) on the first.
    EXPECT_FALSE(IsOffScreen(-3000, -2000, 8000, 5000, two.Test()));
    // Moved so that the centre falls between the monitors' bottom edges, it is off screen.
    EXPECT_TRUE(IsOffScreen(-1400, -2000, 8000, 6200, two.Test()));
}

TEST(WindowPlacement, AdjoiningEdgesCountByTheirFirstOutsidePixel) {
    // Left equal to the monitor's width: every point lies just outside.
    EXPECT_TRUE(IsOffScreen(1920, 100, 800, 600, kFullHd.Test()));
    // Wholly left of the monitor with its right edge at the monitor's left edge: the right corners fall
    // on the monitor's first column.
    EXPECT_FALSE(IsOffScreen(-800, 100, 800, 600, kFullHd.Test()));
    // The same one pixel further left is off screen.
    EXPECT_TRUE(IsOffScreen(-801, 100, 800, 600, kFullHd.Test()));
    // Below the monitor: top equal to its height.
    EXPECT_TRUE(IsOffScreen(100, 1080, 800, 600, kFullHd.Test()));
    EXPECT_FALSE(IsOffScreen(100, -600, 800, 600, kFullHd.Test()));
}

TEST(WindowPlacement, CentringDividesTowardZero) {
    EXPECT_EQ(CenteredOrigin({1920, 1080}, 2001, 600).x, -40);
    EXPECT_EQ(CenteredOrigin({1920, 1080}, 800, 1083).y, -1);
    EXPECT_EQ(CenteredOrigin({1920, 1080}, 1923, 1085), (ScreenPoint{-1, -2}));
    EXPECT_EQ(CenteredOrigin({1921, 1081}, 800, 600), (ScreenPoint{560, 240}));
}

TEST(WindowPlacement, FarAwayBoxesDoNotWrapAround) {
    constexpr int kMax = std::numeric_limits<int>::max();
    constexpr int kMin = std::numeric_limits<int>::min();
    const auto points = OffScreenTestPoints(kMax - 10, kMax - 10, 100, 100);
    EXPECT_EQ(points[1], (ScreenPoint{kMax, kMax}));
    EXPECT_EQ(points[4], (ScreenPoint{kMax, kMax}));
    EXPECT_TRUE(IsOffScreen(kMax - 10, kMax - 10, 100, 100, kFullHd.Test()));
    EXPECT_TRUE(IsOffScreen(kMin, kMin, 10, 10, kFullHd.Test()));
    // (min - max) / 2 and (max - min) / 2 fit the integer range without wrapping.
    EXPECT_EQ(CenteredOrigin({kMin, kMax}, kMax, kMin), (ScreenPoint{kMin + 1, kMax}));
}

TEST(WindowPlacement, RestorePositionsMoveByTheTaskbarAtTheTopOrLeft) {
    const ScreenRect monitor{0, 0, 1920, 1080};
    const ScreenRect box{100, 50, 900, 650};
    // Taskbar at the bottom or the right: workspace and screen coordinates agree.
    EXPECT_EQ(WorkspaceToScreen(box, monitor, {0, 0, 1920, 1040}), box);
    EXPECT_EQ(WorkspaceToScreen(box, monitor, {0, 0, 1860, 1080}), box);
    // A 40-pixel taskbar at the top, a 60-pixel one at the left.
    EXPECT_EQ(WorkspaceToScreen(box, monitor, {0, 40, 1920, 1080}), (ScreenRect{100, 90, 900, 690}));
    EXPECT_EQ(WorkspaceToScreen(box, monitor, {60, 0, 1920, 1080}), (ScreenRect{160, 50, 960, 650}));
    // A second monitor left of the primary, with its taskbar at the left.
    EXPECT_EQ(WorkspaceToScreen({-1800, 10, -1000, 610}, {-1920, 0, 0, 1080}, {-1872, 0, 0, 1080}),
              (ScreenRect{-1752, 10, -952, 610}));
}

} // namespace
} // namespace Norrow
