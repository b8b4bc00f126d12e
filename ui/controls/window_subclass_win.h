// One window subclass, installed for the life of the object: the constructor installs it, the
// destructor removes it, and a window destroyed first takes it with it. The handler's exceptions
// never cross into the system: they become the program's general error report and the message goes
// on to the control.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <memory>

namespace orvane {

class WindowSubclass {
public:
    // The handler sees every message of the window, WM_NCDESTROY last, after the subclass is gone;
    // what it does not answer it passes on with `DefSubclassProc`. It may end its own WindowSubclass,
    // itself or through what it calls (a scheme switched off from a menu the control opened): the
    // handler is kept until the message is done.
    using Handler = std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)>;

    // `id` tells subclasses of one window apart; owners pick their own.
    WindowSubclass(HWND window, UINT_PTR id, Handler handler);
    WindowSubclass(const WindowSubclass&) = delete;
    WindowSubclass& operator=(const WindowSubclass&) = delete;
    ~WindowSubclass();

    // False when the window was already gone or the system refused the subclass.
    bool Installed() const noexcept { return window_ != nullptr; }
    HWND Window() const noexcept { return window_; }

    // Whether a WindowSubclass with `id` is installed on `window`.
    static bool IsInstalled(HWND window, UINT_PTR id);

    // A subclass that belongs to the window itself, for what lives exactly as long as the control
    // does: it goes, handler and all, once the handler has seen WM_NCDESTROY. False when the window
    // was already gone or the system refused the subclass.
    static bool InstallForWindowLifetime(HWND window, UINT_PTR id, Handler handler);

private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                      DWORD_PTR self);

    HWND window_ = nullptr;
    UINT_PTR id_;
    // Shared with every message in progress, which keeps it alive to the end of its call.
    std::shared_ptr<const Handler> handler_;
    bool ownedByWindow_ = false;
};

} // namespace orvane
