#include "ui/keyboard_nav.h"

namespace orvane {

int NextUsableItem(const std::vector<bool>& usable, int from, bool backwards) {
    const int count = static_cast<int>(usable.size());
    if (count == 0) {
        return -1;
    }
    if (from < 0 || from >= count) {
        from = backwards ? 0 : count - 1;
    }
    const int step = backwards ? count - 1 : 1;
    for (int i = 1; i <= count; ++i) {
        int at = (from + step * i) % count;
        if (usable[static_cast<std::size_t>(at)]) {
            return at;
        }
    }
    return -1;
}

} // namespace orvane
