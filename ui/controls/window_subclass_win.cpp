#include "ui/controls/window_subclass_win.h"

#include "ui/controls/error_report_win.h"

#include <memory>
#include <utility>

namespace orvane {

WindowSubclass::WindowSubclass(HWND window, UINT_PTR id, Handler handler)
    : id_(id), handler_(std::make_shared<const Handler>(std::move(handler))) {
    if (window != nullptr && ::IsWindow(window) &&
        ::SetWindowSubclass(window, &Procedure, id_, reinterpret_cast<DWORD_PTR>(this))) {
        window_ = window;
    }
}

WindowSubclass::~WindowSubclass() {
    if (window_ != nullptr) {
        ::RemoveWindowSubclass(window_, &Procedure, id_);
    }
}

bool WindowSubclass::IsInstalled(HWND window, UINT_PTR id) {
    // comctl32 exports the lookup by ordinal only on some systems, so it is taken at run time.
    using Lookup = BOOL(WINAPI*)(HWND, SUBCLASSPROC, UINT_PTR, DWORD_PTR*);
    static const Lookup lookup = [] {
        HMODULE controls = ::GetModuleHandleW(L"comctl32.dll");
        if (controls == nullptr) {
            return Lookup{};
        }
        FARPROC found = ::GetProcAddress(controls, "GetWindowSubclass");
        if (found == nullptr) {
            found = ::GetProcAddress(controls, MAKEINTRESOURCEA(411));
        }
        return reinterpret_cast<Lookup>(reinterpret_cast<void*>(found));
    }();
    DWORD_PTR data = 0;
    return lookup != nullptr && window != nullptr && lookup(window, &Procedure, id, &data) != FALSE;
}

bool WindowSubclass::InstallForWindowLifetime(HWND window, UINT_PTR id, Handler handler) {
    auto subclass = std::make_unique<WindowSubclass>(window, id, std::move(handler));
    if (!subclass->Installed()) {
        return false;
    }
    // Procedure deletes it after WM_NCDESTROY.
    subclass->ownedByWindow_ = true;
    subclass.release();
    return true;
}

LRESULT CALLBACK WindowSubclass::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                           DWORD_PTR self) {
    auto* subclass = reinterpret_cast<WindowSubclass*>(self);
    if (message == WM_NCDESTROY) {
        // The window goes first: the subclass goes with it and the destructor has nothing to remove.
        // The handler still sees the message, to forget the window.
        ::RemoveWindowSubclass(hwnd, &Procedure, id);
        subclass->window_ = nullptr;
    }
    // From here on `subclass` may be gone: the handler can end it.
    const bool ownedByWindow = subclass->ownedByWindow_;
    const std::shared_ptr<const Handler> handler = subclass->handler_;
    LRESULT result = 0;
    bool answered = false;
    RunGuarded(::GetAncestor(hwnd, GA_ROOT), [&] {
        result = (*handler)(hwnd, message, wParam, lParam);
        answered = true;
    });
    if (message == WM_NCDESTROY && ownedByWindow) {
        delete subclass;
    }
    return answered ? result : ::DefSubclassProc(hwnd, message, wParam, lParam);
}

} // namespace orvane
