// The main window's tool bar: two rows of commands with the search box and its history in the first
// row, pictures drawn for the window's DPI, and stepping through the commands with the keyboard.
#pragma once

#include "system/handles_win.h"
#include "ui/controls/window_subclass_win.h"

#include <windows.h>
#include <commctrl.h>

#include <optional>
#include <string>
#include <vector>

namespace orvane {

// What the tool bar tells its window.
class ToolBarEvents {
public:
    // A command was chosen: clicked, run from the keyboard, or its drop-down opened.
    virtual void ToolBarCommand(int id) = 0;
    // The search text changed: typed, or picked from the history.
    virtual void SearchTextChanged() = 0;

protected:
    ~ToolBarEvents() = default;
};

class ToolBar {
public:
    ToolBar(HWND parent, HINSTANCE instance, UINT dpi, ToolBarEvents& events);
    ToolBar(const ToolBar&) = delete;
    ToolBar& operator=(const ToolBar&) = delete;

    HWND Handle() const noexcept { return ToolBar1; }
    HWND SearchBox() const noexcept { return CBFind; }

    // The pictures and items again at a new DPI, each command's state kept; the search box keeps its
    // design width.
    void Rebuild(UINT dpi);
    // Sizes the bar to its parent's width.
    void AutoSize();
    // Puts the search box over its slot.
    void LayoutSearchBox();
    int Height() const;

    void EnableCommand(int id, bool enabled);
    bool IsCommandEnabled(int id) const;
    void ShowCommand(int id, bool shown);
    // The details/list check group.
    bool IsReportDown() const;
    void SetReportDown(bool report);
    // Where a command's button is on the screen.
    RECT CommandScreenRect(int id) const;

    std::wstring SearchText() const;
    void SelectAllSearchText();
    bool IsHistoryOpen() const;
    // Adds the entries to the end of the box's list; the text being typed stays as it is.
    void AppendHistory(const std::vector<std::wstring>& entries);
    // Puts a new entry at the top of the list and drops the entries past limit.
    void InsertHistoryEntry(const std::wstring& entry, std::size_t limit);

    // The keyboard's place: entering the bar shows the command shown last time when it can still
    // run, else the first; direction -1/1 steps back or on; toEnd goes to the first (forward) or the
    // last (back) command.
    void StepKeyboardItem(int direction, bool toEnd);
    // Runs the command at the keyboard's place, as a click on it would.
    void RunKeyboardItem();

    // TBN_DROPDOWN of the bar; true when handled, with the result.
    bool OnNotify(const NMHDR& header, LRESULT& result);
    // The hint of a command's button: only the close button has one.
    static const wchar_t* HintOf(UINT_PTR id);

private:
    void AddButtons(const std::vector<BYTE>& states);
    std::vector<bool> UsableButtons() const;
    LRESULT OnMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    int Scale(int value) const { return ::MulDiv(value, static_cast<int>(dpi_), USER_DEFAULT_SCREEN_DPI); }

    ToolBarEvents& events_;
    UINT dpi_;
    HWND ToolBar1 = nullptr;
    HWND CBFind = nullptr;
    UniqueImageList ImageListtoolbar;
    // The command the keyboard last showed, by position.
    int keyItem_ = -1;
    std::optional<WindowSubclass> subclass_;
};

} // namespace orvane
