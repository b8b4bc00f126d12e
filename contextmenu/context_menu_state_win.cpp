#include "contextmenu/context_menu_state_win.h"

namespace orvane {

ContextMenuState& ContextMenuShared() noexcept {
    // Never destroyed: a destructor at process exit would release shell objects after OLE is gone.
    // The program releases them through ReleaseContextMenuState while OLE is still initialised.
    static ContextMenuState* const state = new ContextMenuState();
    return *state;
}

bool ReleaseContextMenuState() noexcept {
    ContextMenuState& state = ContextMenuShared();
    if (state.MenuOpen) {
        return false;
    }
    state.ItemContextMenu2.Reset();
    state.NewContextMenu2.Reset();
    state.NewSubMenu = nullptr;
    return true;
}

} // namespace orvane
