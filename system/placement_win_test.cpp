#include "system/placement_win.h"

#include "tests/support/test_support_win.h"

#include <shellapi.h>

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

RECT PrimaryMonitor() {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    ::GetMonitorInfoW(::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &info);
    return info.rcMonitor;
}

// The screens on which the place of a centred window is known without the function's own arithmetic.
enum class Geometry {
    // A taskbar docked on the primary screen, not hiding itself: the work area with the taskbar added
    // back is the whole screen, so windows are centred on the whole screen.
    gDocked,
    // Wine on the 1280 x 800 screen of the test runs: its shell reports a taskbar one pixel high at the
    // bottom, (0, 799, 1280, 800), that hides itself, and the work area is the whole screen; windows are
    // centred in 1280 x 801.
    gWineTestScreen,
    gUnknown,
};

// Which of those this screen is, read from the shell directly; with the reason when it is neither.
Geometry ReadGeometry(std::string& why) {
    RECT work{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    APPBARDATA bar{};
    bar.cbSize = sizeof bar;
    const bool found = ::SHAppBarMessage(ABM_GETTASKBARPOS, &bar) != 0;
    APPBARDATA state{};
    state.cbSize = sizeof state;
    const bool hides = (::SHAppBarMessage(ABM_GETSTATE, &state) & ABS_AUTOHIDE) != 0;
    const RECT screen = PrimaryMonitor();
    if (found && !hides) {
        return Geometry::gDocked;
    }
    const RECT testScreen{0, 0, 1280, 800};
    if (found && hides && bar.uEdge == ABE_BOTTOM && SameRect(bar.rc, RECT{0, 799, 1280, 800}) &&
        SameRect(work, testScreen) && SameRect(screen, testScreen)) {
        return Geometry::gWineTestScreen;
    }
    std::ostringstream text;
    text << "no known answer for the screen " << Describe(screen) << " with the work area " << Describe(work)
         << " and " << (found ? "a taskbar " + Describe(bar.rc) : std::string("no taskbar"))
         << (hides ? " that hides itself" : "");
    why = text.str();
    return Geometry::gUnknown;
}

TEST(KeepWindowOnScreen, WindowBeyondEveryMonitorIsCentredAtItsSize) {
    std::string why;
    const Geometry geometry = ReadGeometry(why);
    if (geometry == Geometry::gUnknown) {
        GTEST_SKIP() << why;
    }
    const RECT monitor = PrimaryMonitor();
    // An odd height, so the taskbar's one pixel under Wine moves the window by one pixel.
    TestWindow window(monitor.right + 1720, 200, 800, 599);
    ASSERT_NE(window.get(), nullptr);
    ASSERT_EQ(window.Rect().left, monitor.right + 1720);

    KeepWindowOnScreen(window.get());
    const RECT after = window.Rect();
    const POINT expected = geometry == Geometry::gWineTestScreen
                               ? POINT{240, 101}
                               : POINT{(monitor.right - 800) / 2, (monitor.bottom - 599) / 2};
    EXPECT_EQ(after.left, expected.x) << Describe(after);
    EXPECT_EQ(after.top, expected.y) << Describe(after);
    EXPECT_EQ(after.right - after.left, 800);
    EXPECT_EQ(after.bottom - after.top, 599);
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
    if (::GetSystemMetrics(SM_CMONITORS) != 1) {
        GTEST_SKIP() << "the adjoining-edge case needs a single monitor";
    }
    std::string why;
    const Geometry geometry = ReadGeometry(why);
    if (geometry == Geometry::gUnknown) {
        GTEST_SKIP() << why;
    }
    const RECT monitor = PrimaryMonitor();
    TestWindow window(monitor.right, 100, 400, 301);
    ASSERT_NE(window.get(), nullptr);
    EXPECT_TRUE(IsOffScreen(monitor.right, 100, 400, 301));
    KeepWindowOnScreen(window.get());
    const POINT expected = geometry == Geometry::gWineTestScreen
                               ? POINT{440, 250}
                               : POINT{(monitor.right - 400) / 2, (monitor.bottom - 301) / 2};
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
    std::string why;
    const Geometry geometry = ReadGeometry(why);
    if (geometry == Geometry::gUnknown) {
        GTEST_SKIP() << why;
    }
    const RECT monitor = PrimaryMonitor();
    ASSERT_EQ(monitor.left, 0);
    const int width = monitor.right + 81;
    TestWindow window(0, 0, width, 301, WS_POPUP);
    ASSERT_NE(window.get(), nullptr);
    ASSERT_EQ(window.Rect().right - window.Rect().left, width);
    CenterWindowOnScreen(window.get());
    // -81 / 2, the fraction dropped toward zero.
    EXPECT_EQ(window.Rect().left, -40);
    EXPECT_EQ(window.Rect().top, geometry == Geometry::gWineTestScreen ? 250 : (monitor.bottom - 301) / 2);
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
