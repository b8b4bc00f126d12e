// TMainForm: the close and the end of a session, which write the settings and caches, and what
// happens when they cannot be written.
#include "ui/form/main_form_win.h"

#include "ui/controls/error_report_win.h"

namespace orvane {

bool TMainForm::FormCloseQuery() {
    // A failure while writing reaches the general error report and the window stays open; the next
    // close tries the whole sequence again.
    SaveSettings();
    SaveCaches();
    return true;
}

void TMainForm::TBCloseClick() {
    ::PostMessageW(hwnd_, WM_CLOSE, 0, 0);
}

bool TMainForm::SaveGuarded() {
    bool saved = false;
    RunGuarded(hwnd_, [&] { saved = FormCloseQuery(); });
    if (saved) {
        closeFailed_ = false;
    }
    return saved;
}

void TMainForm::OnEndSession(bool ending, LPARAM reason) {
    // A session end that was called off changes nothing.
    if (!ending) {
        return;
    }
    // The session ends, or an installer's restart manager closes the program: what this run holds is
    // written now. At a log-off or shut-down the system ends the process right after; the restart
    // manager waits for it to end, so the window closes. A later close writes again what changed since.
    SaveGuarded();
    if ((reason & ENDSESSION_CLOSEAPP) != 0 && hwnd_ != nullptr) {
        ::DestroyWindow(hwnd_);
    }
}

void TMainForm::OnClose() {
    // A failed write is shown and the window stays, so the user can free the file and close again; when
    // the close straight after fails as well, the window closes all the same: the user was told twice.
    const bool failedBefore = closeFailed_;
    if (SaveGuarded() || failedBefore) {
        ::DestroyWindow(hwnd_);
        return;
    }
    closeFailed_ = true;
}

} // namespace orvane
