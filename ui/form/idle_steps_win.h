// Work done in steps while a window has nothing else to do. Each step runs from a timer of no delay,
// and the message loop hands out timer messages only when no input and no painting wait, so the window
// paints and answers the user before each step.
#pragma once

#include <windows.h>

#include <functional>

namespace orvane {

class IdleSteps {
public:
    // Returns true while more steps remain.
    using Step = std::function<bool()>;

    IdleSteps() = default;
    IdleSteps(const IdleSteps&) = delete;
    IdleSteps& operator=(const IdleSteps&) = delete;
    ~IdleSteps() { Stop(); }

    // Runs step whenever the window is idle until it returns false; replaces any work not yet done.
    void Start(HWND window, Step step);
    void Stop() noexcept;
    bool Running() const noexcept { return window_ != nullptr; }

private:
    static void CALLBACK OnTimer(HWND window, UINT message, UINT_PTR id, DWORD time);

    HWND window_ = nullptr;
    Step step_;
};

} // namespace orvane
