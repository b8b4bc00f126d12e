// The message hook of the shell context menu: while a menu is tracked it replaces the owner window's
// procedure and hands the menu messages to the shell's menu objects.
#pragma once

#include <windows.h>

namespace orvane {

// Undocumented message the system sends while it shows a popup; the hook offers one entry of the
// New submenu to OnBeforeContextAddSubItem per message.
constexpr UINT kNewMenuItemMessage = 0x0094;

// WM_INITMENUPOPUP, WM_MEASUREITEM and WM_DRAWITEM go to the New-menu object and the item menu
// (IContextMenu3::HandleMenuMsg2 where they have it, else IContextMenu2::HandleMenuMsg) and give 0;
// message 0x0094 and every other message reach the saved procedure with their own result.
LRESULT CALLBACK ContextMenuWndProc(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam);

// Replaces a window's procedure with ContextMenuWndProc from Install until Remove or the end of the
// scope, saving the previous one as OldWndProc of the shared state.
class ContextMenuHookScope {
public:
    explicit ContextMenuHookScope(HWND owner) noexcept : owner_(owner) {}
    ContextMenuHookScope(const ContextMenuHookScope&) = delete;
    ContextMenuHookScope& operator=(const ContextMenuHookScope&) = delete;
    ~ContextMenuHookScope() { Remove(); }

    void Install() noexcept;
    bool Installed() const noexcept { return installed_; }
    void Remove() noexcept;

private:
    HWND owner_;
    WNDPROC previous_ = nullptr;
    bool installed_ = false;
};

} // namespace orvane
