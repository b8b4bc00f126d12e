// The program's general error report: an error that a handler does not catch ends that handler and is
// shown in a message box with its text; the program goes on.
#pragma once

#include <windows.h>

#include <exception>
#include <string>

namespace orvane {

// Shows the text of the error in progress (called from a catch block) in a modal message box.
void ShowGeneralErrorReport(HWND owner) noexcept;

// Runs a handler and turns an escaping exception into the general error report.
template <typename Handler> void RunGuarded(HWND owner, Handler&& handler) noexcept {
    try {
        handler();
    } catch (...) {
        ShowGeneralErrorReport(owner);
    }
}

} // namespace orvane
