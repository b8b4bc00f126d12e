// Keyboard navigation rules of the main window, apart from the controls they move through.
#pragma once

#include <vector>

namespace orvane {

// The place of the next usable item from `from`, one step forward or back, wrapping around; the item
// itself is taken again only when no other is usable. With `from` outside the items, the search
// starts before the first item (forward) or after the last (back). -1 when no item is usable.
int NextUsableItem(const std::vector<bool>& usable, int from, bool backwards);

} // namespace orvane
