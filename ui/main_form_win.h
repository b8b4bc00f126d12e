// TMainForm: the program's one window. Its window procedure only dispatches messages to the event
// handlers named after the control and event that raise them.
#pragma once

#include "system/handles_win.h"

#include <windows.h>

#include <string>

namespace orvane {

class TMainForm {
public:
    // Design client size at 96 dpi.
    static constexpr int kDesignClientWidth = 989;
    static constexpr int kDesignClientHeight = 467;
    static constexpr wchar_t kWindowClass[] = L"TMainForm";

    explicit TMainForm(HINSTANCE instance);
    TMainForm(const TMainForm&) = delete;
    TMainForm& operator=(const TMainForm&) = delete;
    ~TMainForm();

    // Creates the window; FormCreate runs inside.
    void Create();
    // Shows the window for the first time; FormShow runs just before it becomes visible.
    void Show(int showCommand);
    HWND Handle() const noexcept { return hwnd_; }

    // Window events.
    void FormCreate();
    void FormShow();
    // Asked before the window closes; closing is never refused.
    bool FormCloseQuery();

    // The window procedure of the main window class.
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

private:
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    void ApplyDesignClientSize();
    void TakeIconFont();

    HINSTANCE instance_;
    HWND hwnd_ = nullptr;
    UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
    UniqueFont font_;
    LOGFONTW fontInfo_{};
    bool shown_ = false;
};

// Registers the window class of the main window.
void RegisterMainFormClass(HINSTANCE instance);

} // namespace orvane
