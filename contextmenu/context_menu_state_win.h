// The process-wide state of the shell context menu, shared by the component and its message hook.
// One set exists for the whole process, so one menu can be open at a time.
#pragma once

#include <windows.h>
#include <shobjidl.h>
#include <wrl/client.h>

#include <cstdint>
#include <exception>

namespace orvane {

class TplContextMenu;

struct ContextMenuState {
    // The item menu and the New-menu object of the current popup; they stay referenced after the
    // call until the next call or ReleaseContextMenuState.
    Microsoft::WRL::ComPtr<IContextMenu2> ItemContextMenu2;
    Microsoft::WRL::ComPtr<IContextMenu2> NewContextMenu2;
    // The owner window's procedure, saved while the hook replaces it.
    WNDPROC OldWndProc = nullptr;
    // The New submenu found in the shown menu.
    HMENU NewSubMenu = nullptr;
    // The options of the current call are exactly [csf_CREATENEW].
    bool NewMenuOnly = false;
    // Position in NewSubMenu of the entry that the next message 0x0094 offers to the handler.
    std::int32_t SubItemPos = 0;
    // The most recently created instance that still exists, or none; the hook reaches the events
    // through it.
    TplContextMenu* CurrentContextMenu = nullptr;
    // A call of ExecContextMenu is running; a second one is refused.
    bool MenuOpen = false;
    // An exception thrown by a handler inside the hook; it may not cross the system's menu loop, so
    // the hook ends the menu and the component rethrows it once the menu has closed.
    std::exception_ptr PendingException;
};

ContextMenuState& ContextMenuShared() noexcept;

// Releases the shell's menu objects held after the last popup. The program entry calls this before
// OleUninitialize; the last TplContextMenu to be destroyed calls it as well. Refused (false) while
// a menu is open.
bool ReleaseContextMenuState() noexcept;

} // namespace orvane
