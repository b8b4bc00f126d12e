#include "system/placement_win.h"

#include <shellapi.h>

namespace Norrow {
namespace {

// Where a minimised window is parked.
constexpr LONG kMinimisedPosition = -32000;

} // namespace

bool GetVisibleWindowRect(HWND window, RECT& rect) {
    if (!::GetWindowRect(window, &rect)) {
        return false;
    }
    return !(rect.left == kMinimisedPosition && rect.top == kMinimisedPosition);
}

bool GetWindowBox(HWND window, int& left, int& top, int& width, int& height) {
    RECT rect{};
    if (!GetVisibleWindowRect(window, rect)) {
        return false;
    }
    left = rect.left;
    top = rect.top;
    width = rect.right - rect.left;
    height = rect.bottom - rect.top;
    return true;
}

bool IsOffScreen(int left, int top, int width, int height) {
    return IsOffScreen(left, top, width, height, [](int x, int y) {
        return ::MonitorFromPoint(POINT{x, y}, MONITOR_DEFAULTTONULL) != nullptr;
    });
}

TaskbarEdge GetTaskbarEdge(RECT& rect) {
    APPBARDATA data{};
    data.cbSize = sizeof data;
    const UINT_PTR found = ::SHAppBarMessage(ABM_GETTASKBARPOS, &data);
    rect = data.rc;
    if (found == 0) {
        return teNone;
    }
    switch (data.uEdge) {
    case ABE_TOP:
        return teTop;
    case ABE_BOTTOM:
        return teBottom;
    case ABE_LEFT:
        return teLeft;
    case ABE_RIGHT:
        return teRight;
    default:
        return teNone;
    }
}

void CenterWindowOnScreen(HWND window) {
    RECT work{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    RECT bar{};
    const TaskbarEdge edge = GetTaskbarEdge(bar);
    const ScreenPoint extent =
        CenteringExtent(work.right, work.bottom, edge, ScreenRect{bar.left, bar.top, bar.right, bar.bottom});
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    if (!GetWindowBox(window, left, top, width, height)) {
        return;
    }
    const ScreenPoint origin = CenteredOrigin(extent, width, height);
    ::MoveWindow(window, origin.x, origin.y, width, height, TRUE);
}

bool GetRestoredPlacement(HWND window, RestoredPlacement& placement) {
    WINDOWPLACEMENT stored{};
    stored.length = sizeof stored;
    if (!::GetWindowPlacement(window, &stored)) {
        return false;
    }
    const bool minimised = ::IsIconic(window) != FALSE;
    placement.maximised =
        ::IsZoomed(window) != FALSE || (minimised && (stored.flags & WPF_RESTORETOMAXIMIZED) != 0);
    if (!minimised && !placement.maximised) {
        // Shown normally: the rectangle the user sees, also after the window was snapped to an edge.
        return ::GetWindowRect(window, &placement.bounds) != FALSE;
    }
    // The restore rectangle of a top-level window counts from its monitor's work area.
    const RECT& normal = stored.rcNormalPosition;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if ((::GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) != 0 ||
        !::GetMonitorInfoW(::MonitorFromRect(&normal, MONITOR_DEFAULTTONEAREST), &monitor)) {
        placement.bounds = normal;
        return true;
    }
    const ScreenRect screen = WorkspaceToScreen(
        ScreenRect{normal.left, normal.top, normal.right, normal.bottom},
        ScreenRect{monitor.rcMonitor.left, monitor.rcMonitor.top, monitor.rcMonitor.right,
                   monitor.rcMonitor.bottom},
        ScreenRect{monitor.rcWork.left, monitor.rcWork.top, monitor.rcWork.right, monitor.rcWork.bottom});
    placement.bounds = RECT{screen.left, screen.top, screen.right, screen.bottom};
    return true;
}

void KeepWindowOnScreen(HWND window) {
    if (::IsZoomed(window)) {
        return;
    }
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    if (!GetWindowBox(window, left, top, width, height)) {
        return;
    }
    if (IsOffScreen(left, top, width, height)) {
        CenterWindowOnScreen(window);
    }
}

} // namespace Norrow
