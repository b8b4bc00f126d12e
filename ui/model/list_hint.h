// The list's hint as a state: the path of the row under the pointer, whether hints are on, and what
// the hint window must do when it is looked at again.
#pragma once

#include <string>

namespace orvane {

class ListHint {
public:
    enum class Recheck {
        Stop,   // hints are off: the window hides and is no longer looked at
        Update, // the pointer is over another row than the one shown: the window asks again
        Keep,
    };

    // The pointer is over a row: its text, and hints on. True when hints were off until now.
    bool Show(std::wstring text);
    // The pointer is over no row. True when hints were on until now.
    bool Hide();
    bool On() const noexcept { return on_; }
    // The text the hint window shows now; remembered as shown.
    const std::wstring& Take();
    // What the hint window does when it is looked at again.
    Recheck Look() const;

private:
    std::wstring current_;
    std::wstring shown_;
    bool on_ = false;
};

} // namespace orvane
