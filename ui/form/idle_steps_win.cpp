#include "ui/form/idle_steps_win.h"

#include "ui/controls/error_report_win.h"

namespace orvane {

// The timer's id is the object's address, so the timer finds its object without a table.
void IdleSteps::Start(HWND window, Step step) {
    Stop();
    step_ = std::move(step);
    if (::SetTimer(window, reinterpret_cast<UINT_PTR>(this), 0, &IdleSteps::OnTimer) != 0) {
        window_ = window;
    }
}

void IdleSteps::Stop() noexcept {
    if (window_ != nullptr) {
        ::KillTimer(window_, reinterpret_cast<UINT_PTR>(this));
        window_ = nullptr;
    }
}

void CALLBACK IdleSteps::OnTimer(HWND window, UINT, UINT_PTR id, DWORD) {
    auto* self = reinterpret_cast<IdleSteps*>(id);
    // No step starts inside another: the error report of a failing step runs a message loop.
    ::KillTimer(window, id);
    bool more = false;
    // A step that fails is reported once, and the rest is left undone.
    RunGuarded(window, [&] { more = self->step_(); });
    if (more && self->window_ == window && ::SetTimer(window, id, 0, &IdleSteps::OnTimer) != 0) {
        return;
    }
    self->window_ = nullptr;
}

} // namespace orvane
