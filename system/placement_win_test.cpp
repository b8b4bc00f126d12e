#include "system/placement_win.h"

#include "tests/support/test_support_win.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace Norrow {
namespace {

LRESULT CALLBACK PlainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefWindowProcW(window, message, wParam, lParam);
}

constexpr wchar_t kClassName[] = L"OrvanePlacementTestWindow";

// A shown top-level window of a plain class, destroyed at the end of the scope.
class TestWindow {
public:
    TestWindow(int left, int top, int width, int height, DWORD style = WS_OVERLAPPEDWINDOW) {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = PlainWindowProc;
        windowClass.hInstance = ::GetModuleHandleW(nullptr);
        windowClass.lpszClassName = kClassName;
        ::RegisterClassW(&windowClass);
        window_ = ::CreateWindowExW(0, kClassName, L"placement", style, left, top, width, height, nullptr,
                                    nullptr, windowClass.hInstance, nullptr);
        if (window_ != nullptr) {
            ::ShowWindow(window_, SW_SHOWNOACTIVATE);
        }
    }
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;
    ~TestWindow() {
        if (window_ != nullptr) {
            ::DestroyWindow(window_);
        }
    }
    HWND get() const { return window_; }
    RECT Rect() const {
        RECT rect{};
        ::GetWindowRect(window_, &rect);
        return rect;
    }

private:
    HWND window_ = nullptr;
};

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::string Describe(const RECT& r) {
    std::ostringstream text;
    text << '(' << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ')';
    return text.str();
}

// Where a window of the given size lands when centred: the work area's right and bottom edges with the
// taskbar added back at the bottom or the right, halved with the window's size taken off.
POINT ExpectedCentre(int width, int height) {
    RECT work{};
    EXPECT_TRUE(::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
    RECT bar{};
    const TaskbarEdge edge = GetTaskbarEdge(bar);
    LONG right = work.right;
    LONG bottom = work.bottom;
    if (edge == teBottom) {
        bottom += bar.bottom - bar.top;
    }
    if (edge == teRight) {
        right += bar.right - bar.left;
    }
    return POINT{(right - width) / 2, (bottom - height) / 2};
}

RECT PrimaryMonitor() {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    ::GetMonitorInfoW(::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &info);
    return info.rcMonitor;
}

TEST(KeepWindowOnScreen, WindowBeyondEveryMonitorIsCentredAtItsSize) {
    const RECT monitor = PrimaryMonitor();
    TestWindow window(monitor.right + 1720, 200, 800, 600);
    ASSERT_NE(window.get(), nullptr);
    const RECT before = window.Rect();
    ASSERT_EQ(before.left, monitor.right + 1720);

    KeepWindowOnScreen(window.get());
    const RECT after = window.Rect();
    const POINT expected = ExpectedCentre(800, 600);
    EXPECT_EQ(after.left, expected.x) << Describe(after);
    EXPECT_EQ(after.top, expected.y) << Describe(after);
    EXPECT_EQ(after.right - after.left, 800);
    EXPECT_EQ(after.bottom - after.top, 600);
}

TEST(KeepWindowOnScreen, WindowPartlyOnAMonitorStays) {
    const RECT monitor = PrimaryMonitor();
    for (const POINT& origin :
         {POINT{100, 100}, POINT{monitor.right - 10, monitor.bottom - 10}, POINT{monitor.left - 800, 100}}) {
        TestWindow window(origin.x, origin.y, 800, 600);
        ASSERT_NE(window.get(), nullptr);
        const RECT before = window.Rect();
        KeepWindowOnScreen(window.get());
        EXPECT_TRUE(SameRect(window.Rect(), before))
            << Describe(before) << " moved to " << Describe(window.Rect());
    }
}

TEST(KeepWindowOnScreen, WindowAdjoiningTheRightEdgeIsCentred) {
    const RECT monitor = PrimaryMonitor();
    if (::GetSystemMetrics(SM_CMONITORS) != 1) {
        GTEST_SKIP() << "the adjoining-edge case needs a single monitor";
    }
    TestWindow window(monitor.right, 100, 400, 300);
    ASSERT_NE(window.get(), nullptr);
    EXPECT_TRUE(IsOffScreen(monitor.right, 100, 400, 300));
    KeepWindowOnScreen(window.get());
    const POINT expected = ExpectedCentre(400, 300);
    EXPECT_EQ(window.Rect().left, expected.x);
    EXPECT_EQ(window.Rect().top, expected.y);
}

TEST(KeepWindowOnScreen, MaximisedWindowIsNeverMoved) {
    const RECT monitor = PrimaryMonitor();
    TestWindow window(100, 100, 800, 600);
    ASSERT_NE(window.get(), nullptr);
    ::ShowWindow(window.get(), SW_MAXIMIZE);
    // Push the maximised window off every monitor without changing its state.
    ::SetWindowPos(window.get(), nullptr, monitor.right + 500, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(::IsZoomed(window.get()));
    const RECT before = window.Rect();
    ASSERT_EQ(before.left, monitor.right + 500);
    KeepWindowOnScreen(window.get());
    EXPECT_TRUE(SameRect(window.Rect(), before)) << Describe(window.Rect());
}

TEST(KeepWindowOnScreen, MinimisedWindowIsUnreadableAndStays) {
    TestWindow window(100, 100, 800, 600);
    ASSERT_NE(window.get(), nullptr);
    ::ShowWindow(window.get(), SW_MINIMIZE);
    ASSERT_TRUE(::IsIconic(window.get()));
    const RECT before = window.Rect();
    if (!(before.left == -32000 && before.top == -32000)) {
        ASSERT_TRUE(orvane::test::IsRunningOnWine());
        GTEST_SKIP() << "Wine does not park a minimised window at (-32000, -32000); it reports "
                     << Describe(before);
    }
    RECT rect{};
    EXPECT_FALSE(GetVisibleWindowRect(window.get(), rect));
    int left = 1, top = 2, width = 3, height = 4;
    EXPECT_FALSE(GetWindowBox(window.get(), left, top, width, height));
    EXPECT_EQ(left + top + width + height, 10);
    KeepWindowOnScreen(window.get());
    EXPECT_TRUE(SameRect(window.Rect(), before));
    EXPECT_TRUE(::IsIconic(window.get()));
}

TEST(WindowBox, ComesFromTheWindowRectangle) {
    TestWindow window(40, 50, 300, 200);
    ASSERT_NE(window.get(), nullptr);
    int left = 0, top = 0, width = 0, height = 0;
    ASSERT_TRUE(GetWindowBox(window.get(), left, top, width, height));
    EXPECT_EQ(left, 40);
    EXPECT_EQ(top, 50);
    EXPECT_EQ(width, 300);
    EXPECT_EQ(height, 200);

    // A window that no longer exists cannot be measured; the variables keep their values.
    HWND gone = window.get();
    ::DestroyWindow(gone);
    left = top = width = height = -7;
    EXPECT_FALSE(GetWindowBox(gone, left, top, width, height));
    EXPECT_EQ(left, -7);
    EXPECT_EQ(height, -7);
    KeepWindowOnScreen(gone);
    CenterWindowOnScreen(gone);
}

TEST(CenterWindowOnScreen, WindowWiderThanTheScreenGetsANegativeLeft) {
    const RECT monitor = PrimaryMonitor();
    const int width = monitor.right - monitor.left + 81;
    TestWindow window(0, 0, width, 300, WS_POPUP);
    ASSERT_NE(window.get(), nullptr);
    ASSERT_EQ(window.Rect().right - window.Rect().left, width);
    CenterWindowOnScreen(window.get());
    const POINT expected = ExpectedCentre(width, 300);
    EXPECT_LT(expected.x, 0);
    EXPECT_EQ(window.Rect().left, expected.x);
}

TEST(MonitorTest, PointsJustOutsideTheScreenAreOffIt) {
    if (::GetSystemMetrics(SM_CMONITORS) != 1) {
        GTEST_SKIP() << "the edge cases need a single monitor";
    }
    const RECT m = PrimaryMonitor();
    EXPECT_FALSE(IsOffScreen(m.left, m.top, 10, 10));
    EXPECT_TRUE(IsOffScreen(m.right, m.top, 10, 10));
    EXPECT_TRUE(IsOffScreen(m.left, m.bottom, 10, 10));
    // Right edge at the monitor's left edge: the right corners fall on its first column.
    EXPECT_FALSE(IsOffScreen(m.left - 10, m.top, 10, 10));
    EXPECT_TRUE(IsOffScreen(m.left - 11, m.top, 10, 10));
    // Only the centre lies on the monitor.
    EXPECT_FALSE(
        IsOffScreen(m.left - 5000, m.top - 5000, 10000 + (m.right - m.left), 10000 + (m.bottom - m.top)));
}

} // namespace
} // namespace Norrow
