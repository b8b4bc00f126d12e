// The main window's own keys: which action a key press asks for, given where the focus is. The
// window asks before a key reaches the control with the focus, and acts on the answer.
#pragma once

namespace orvane {

// Virtual-key codes of the keys the window binds; the values are the system's.
namespace vk {
inline constexpr unsigned kTab = 0x09;
inline constexpr unsigned kReturn = 0x0D;
inline constexpr unsigned kEscape = 0x1B;
inline constexpr unsigned kSpace = 0x20;
inline constexpr unsigned kEnd = 0x23;
inline constexpr unsigned kHome = 0x24;
inline constexpr unsigned kLeft = 0x25;
inline constexpr unsigned kUp = 0x26;
inline constexpr unsigned kRight = 0x27;
inline constexpr unsigned kDown = 0x28;
inline constexpr unsigned kF = 0x46;
inline constexpr unsigned kApps = 0x5D;
inline constexpr unsigned kF5 = 0x74;
inline constexpr unsigned kF10 = 0x79;
} // namespace vk

// The focus stops in Tab order.
enum class FocusStop { List = 0, SearchBox = 1, ToolBar = 2 };

struct KeyPress {
    unsigned key = 0;
    bool control = false;
    bool shift = false;
    bool alt = false;
    // The key came as a system key (with Alt, or F10).
    bool systemKey = false;
};

enum class KeyAction {
    None, // not the window's: the control with the focus gets the key
    FocusNext,
    FocusPrevious,
    Scan,
    FocusSearchBox,
    Search,
    FocusList,
    ToolBarPrevious,
    ToolBarNext,
    ToolBarFirst,
    ToolBarLast,
    ToolBarRun,
    RunSelected,
    ShortcutMenu,
    TargetMenu,
};

// Tab and Shift+Tab go round the stops; F5 scans; Ctrl+F goes to the search box, where Enter searches
// and Escape goes back to the list (unless its history is open); in the tool bar the arrows, Home and
// End step through the commands, Enter and Space run one, Escape leaves; in the list Enter with Alt
// runs the selected shortcut (the list reports Enter without Alt itself), the context-menu key opens
// the shortcut's menu (with Shift: its target's) and Shift+F10 the shortcut's.
KeyAction ActionForKey(const KeyPress& press, FocusStop stop, bool dropDownOpen);

// The stop after (or before) `stop` in Tab order.
FocusStop NextFocusStop(FocusStop stop, bool backwards);

} // namespace orvane
