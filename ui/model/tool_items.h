// The main window's tool bar as data: its items in display order, what the keyboard may stop at,
// and where the keyboard goes next.
#pragma once

#include <span>
#include <vector>

namespace orvane {

enum class ToolItemKind {
    Button,
    CheckGroup,    // one of the details/list pair: checking one lets the other go
    DropDown,      // the whole button opens a menu
    Separator,     // a gap with a line
    SearchBoxSlot, // a gap as wide as the search box, which lies over it
    RowEnd,        // a gap that ends the first row
};

struct ToolItem {
    int id; // the command, 0 for a gap (the slot gets the search box's id)
    int image;
    ToolItemKind kind;
    bool enabled;
    bool checked;
    bool hidden;
    const wchar_t* caption; // null for a gap
};

// The seventeen items: two rows, the search box in the first, ToolButton5 ending it.
std::span<const ToolItem> ToolItems();
bool IsGap(ToolItemKind kind);

// The place of the next usable item from `from`, one step forward or back, wrapping around; the item
// itself is taken again only when no other is usable. With `from` outside the items, the search
// starts before the first item (forward) or after the last (back). -1 when no item is usable.
int NextUsableItem(const std::vector<bool>& usable, int from, bool backwards);

// Where the keyboard goes in the bar, by position, among the items it may stop at (`usable`):
// direction 0 enters the bar at the item shown last time when it can still run, else at the first;
// -1 and 1 step back and on from the hot item (or the last shown one), wrapping; with toEnd, the
// first (1) or last (-1) usable item. -1 when none is usable.
int NextKeyboardItem(const std::vector<bool>& usable, int hot, int lastShown, int direction, bool toEnd);

// The hint of a command's button: only the close button has one.
const wchar_t* ToolHintOf(int id);

} // namespace orvane
