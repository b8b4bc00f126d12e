#include "shortcuts/link_text.h"

#include <algorithm>
#include <vector>

namespace orvane {

std::wstring ReadWholeText(const LinkTextFill& fill) {
    std::vector<wchar_t> buffer;
    int capacity = kLinkTextFirstCapacity;
    for (;;) {
        // A fresh zeroed buffer each time, so nothing of an earlier or failed read is taken as text.
        buffer.assign(static_cast<std::size_t>(capacity), L'\0');
        const bool succeeded = fill(buffer.data(), capacity);
        const auto end = std::find(buffer.begin(), buffer.end(), L'\0');
        const auto length = static_cast<int>(end - buffer.begin());
        const bool mayBeCut = !succeeded || length >= capacity - 1;
        if (!mayBeCut || capacity >= kLinkTextMaxCapacity) {
            // A call that wrote no closing NUL at all still yields at most capacity - 1 characters.
            return std::wstring(buffer.begin(), buffer.begin() + std::min(length, capacity - 1));
        }
        capacity = std::min(capacity * 2, kLinkTextMaxCapacity);
    }
}

} // namespace orvane
