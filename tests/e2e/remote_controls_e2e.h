// Reading and driving another process's common controls, as an accessibility tool would: through
// messages, with buffers allocated in the other process where a message needs one.
#pragma once

#include "tests/support/test_support_win.h"

#include <windows.h>

#include <string>
#include <vector>

namespace orvane::e2e {

// The n-th (0-based) child window of the given class, searched depth first.
HWND FindChildByClass(HWND parent, const wchar_t* className, int nth = 0);

// What a user sees of the main window.
struct MainWindowControls {
    HWND window = nullptr;
    HWND toolBar = nullptr;
    HWND searchBox = nullptr; // the combo box in the tool bar
    HWND searchEdit = nullptr;
    HWND list = nullptr;
    HWND header = nullptr;
    HWND statusBar = nullptr;
};
MainWindowControls FindControls(HWND window);

std::wstring WindowText(HWND hwnd);

// List view.
int RowCount(HWND list);
std::wstring CellText(HWND list, int row, int column);
int RowImage(HWND list, int row);
int SelectedRow(HWND list);
int TopRow(HWND list);
DWORD ListViewStyle(HWND list);
// LV_VIEW_DETAILS, LV_VIEW_LIST, ...
DWORD ListViewView(HWND list);
std::vector<std::wstring> HeaderCaptions(HWND header);
std::vector<int> ColumnWidths(HWND list, int count);
// Clicks a header item with the mouse.
void ClickHeader(HWND header, int column);
// Clicks a row with the mouse (first column).
void ClickRow(HWND list, int row);

// Status bar with one simple panel.
std::wstring StatusText(HWND statusBar);

// Tool bar: buttons are found by their caption, as a user finds them.
struct ToolButton {
    int index = -1;
    int command = 0;
    BYTE state = 0;
    BYTE style = 0;
    std::wstring caption;
};
std::vector<ToolButton> ToolButtons(HWND toolBar);
ToolButton FindToolButton(HWND toolBar, const std::wstring& caption);
bool IsButtonEnabled(HWND toolBar, const std::wstring& caption);
bool IsButtonChecked(HWND toolBar, const std::wstring& caption);
bool IsButtonHidden(HWND toolBar, const std::wstring& caption);
// Presses a tool-bar button with the mouse and waits until the program has handled it.
void PressToolButton(HWND toolBar, const std::wstring& caption);

// Types text into an edit field character by character, replacing what it held.
void TypeText(HWND edit, const std::wstring& text);

// Waits until the window's thread has handled everything sent before.
void Sync(HWND hwnd);

using test::SaveWindowBitmap;

} // namespace orvane::e2e
