// The hourglass for the length of one scope; the previous cursor comes back however the scope ends.
#pragma once

#include <windows.h>

namespace orvane {

class WaitCursor {
public:
    WaitCursor() : previous_(::SetCursor(::LoadCursorW(nullptr, IDC_WAIT))) {}
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
    ~WaitCursor() { ::SetCursor(previous_ != nullptr ? previous_ : ::LoadCursorW(nullptr, IDC_ARROW)); }

private:
    HCURSOR previous_;
};

} // namespace orvane
