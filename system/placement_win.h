// Norrow: keeping a restored window on a monitor that shows it.
#pragma once

#include "system/placement.h"

#include <windows.h>

namespace Norrow {

// Moves the window, at unchanged size, to the centre of the primary screen when no corner and not its
// centre lies on a monitor. A maximised or minimised window, or one that cannot be measured, stays.
void KeepWindowOnScreen(HWND window);

// Reads the window rectangle; false when that fails or the window is minimised (left and top -32000).
bool GetVisibleWindowRect(HWND window, RECT& rect);

// Left, top, width and height of the window; assigned only when GetVisibleWindowRect succeeds.
bool GetWindowBox(HWND window, int& left, int& top, int& width, int& height);

// True when none of the box's five test points lies on a monitor.
bool IsOffScreen(int left, int top, int width, int height);

// The edge the taskbar is docked at, and its rectangle; teNone when the position cannot be had.
TaskbarEdge GetTaskbarEdge(RECT& rect);

// Moves the window, at unchanged size, to the centre of the primary screen with its taskbar.
void CenterWindowOnScreen(HWND window);

// Where a window returns to when it is restored, in screen coordinates.
struct RestoredPlacement {
    // True when the window is maximised, or minimised from the maximised state.
    bool maximised = false;
    // The window's own rectangle when it is shown normally; its restore rectangle when it is minimised
    // or maximised.
    RECT bounds{};
};
// Reads the placement of a top-level window; false when the window cannot be measured.
bool GetRestoredPlacement(HWND window, RestoredPlacement& placement);

} // namespace Norrow
