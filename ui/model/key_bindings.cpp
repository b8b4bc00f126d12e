#include "ui/model/key_bindings.h"

namespace orvane {
namespace {

KeyAction SearchBoxKey(unsigned key) {
    switch (key) {
    case vk::kReturn:
        return KeyAction::Search;
    case vk::kEscape:
        return KeyAction::FocusList;
    default:
        return KeyAction::None;
    }
}

KeyAction ToolBarKey(unsigned key) {
    switch (key) {
    case vk::kLeft:
    case vk::kUp:
        return KeyAction::ToolBarPrevious;
    case vk::kRight:
    case vk::kDown:
        return KeyAction::ToolBarNext;
    case vk::kHome:
        return KeyAction::ToolBarFirst;
    case vk::kEnd:
        return KeyAction::ToolBarLast;
    case vk::kReturn:
    case vk::kSpace:
        return KeyAction::ToolBarRun;
    case vk::kEscape:
        return KeyAction::FocusList;
    default:
        return KeyAction::None;
    }
}

KeyAction ListKey(const KeyPress& press) {
    if (press.key == vk::kReturn && press.systemKey) {
        return KeyAction::RunSelected;
    }
    if (press.key == vk::kApps) {
        return press.shift ? KeyAction::TargetMenu : KeyAction::ShortcutMenu;
    }
    if (press.key == vk::kF10 && press.shift && !press.control) {
        return KeyAction::ShortcutMenu;
    }
    return KeyAction::None;
}

} // namespace

KeyAction ActionForKey(const KeyPress& press, FocusStop stop, bool dropDownOpen) {
    if (press.key == vk::kTab && !press.control && !press.alt) {
        return press.shift ? KeyAction::FocusPrevious : KeyAction::FocusNext;
    }
    if (press.key == vk::kF5 && !press.control && !press.alt && !press.shift) {
        return KeyAction::Scan;
    }
    if (press.key == vk::kF && press.control && !press.alt) {
        return KeyAction::FocusSearchBox;
    }
    switch (stop) {
    case FocusStop::SearchBox:
        return dropDownOpen || press.alt ? KeyAction::None : SearchBoxKey(press.key);
    case FocusStop::ToolBar:
        return press.alt ? KeyAction::None : ToolBarKey(press.key);
    case FocusStop::List:
        return ListKey(press);
    }
    return KeyAction::None;
}

FocusStop NextFocusStop(FocusStop stop, bool backwards) {
    constexpr int kStops = 3;
    const int at = static_cast<int>(stop);
    return static_cast<FocusStop>((at + (backwards ? kStops - 1 : 1)) % kStops);
}

} // namespace orvane
