#include "contextmenu/context_menu_hook_win.h"

#include "contextmenu/context_menu_state_win.h"
#include "contextmenu/pl_context_menu_win.h"

#include <shobjidl.h>
#include <wrl/client.h>

#include <array>
#include <cstdint>
#include <string>

namespace orvane {
namespace {

using Microsoft::WRL::ComPtr;

constexpr UINT kCaptionCapacity = 260;

void Forward(IContextMenu2* menu, UINT message, WPARAM wParam, LPARAM lParam) {
    if (menu == nullptr) {
        return;
    }
    ComPtr<IContextMenu3> menu3;
    if (SUCCEEDED(menu->QueryInterface(IID_PPV_ARGS(&menu3)))) {
        LRESULT ignored = 0;
        menu3->HandleMenuMsg2(message, wParam, lParam, &ignored);
    } else {
        menu->HandleMenuMsg(message, wParam, lParam);
    }
}

LRESULT CallSaved(const ContextMenuState& state, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (state.OldWndProc == nullptr) {
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    return ::CallWindowProcW(state.OldWndProc, window, message, wParam, lParam);
}

// Text and command ID of a menu entry; empty text when it cannot be read.
std::wstring ReadEntry(HMENU menu, UINT item, bool byPosition, UINT& id) {
    std::array<wchar_t, kCaptionCapacity> text{};
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STRING | MIIM_ID;
    info.dwTypeData = text.data();
    info.cch = kCaptionCapacity - 1;
    if (!::GetMenuItemInfoW(menu, item, byPosition ? TRUE : FALSE, &info)) {
        return {};
    }
    id = info.wID;
    return std::wstring(text.data());
}

// Asks the current instance whether an entry of the New submenu may stay. An exception from the
// handler must not unwind through the system's menu loop: it is kept, and the menu is ended so that
// the component can rethrow it.
bool MayAddSubItem(ContextMenuState& state, const std::wstring& caption, UINT id) {
    TplContextMenu* current = state.CurrentContextMenu;
    if (current == nullptr || !current->OnBeforeContextAddSubItem() || caption.empty()) {
        return true;
    }
    bool addFlag = true;
    try {
        current->OnBeforeContextAddSubItem()(*current, caption, static_cast<std::int32_t>(id), addFlag);
    } catch (...) {
        if (!state.PendingException) {
            state.PendingException = std::current_exception();
        }
        ::EndMenu();
        return true;
    }
    return addFlag;
}

} // namespace

LRESULT CALLBACK ContextMenuWndProc(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam) {
    ContextMenuState& state = ContextMenuShared();
    switch (Message) {
    case WM_INITMENUPOPUP:
        state.SubItemPos = 0;
        if (state.NewSubMenu != nullptr && state.NewContextMenu2) {
            const WPARAM popup = state.NewMenuOnly ? WParam : reinterpret_cast<WPARAM>(state.NewSubMenu);
            Forward(state.NewContextMenu2.Get(), Message, popup, LParam);
        }
        Forward(state.ItemContextMenu2.Get(), Message, WParam, LParam);
        return 0;

    case WM_MEASUREITEM: {
        auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(LParam);
        std::wstring caption;
        UINT id = 0;
        if (state.NewSubMenu != nullptr) {
            // The caption as the New submenu holds it for the measured command; entries of other
            // menus are not found there and so are never offered.
            if (measure != nullptr) {
                caption = ReadEntry(state.NewSubMenu, measure->itemID, false, id);
            }
            Forward(state.NewContextMenu2.Get(), Message, WParam, LParam);
        }
        if (state.ItemContextMenu2) {
            if (!MayAddSubItem(state, caption, id) && measure != nullptr) {
                measure->itemHeight = 0;
                measure->itemWidth = 10;
            }
            Forward(state.ItemContextMenu2.Get(), Message, WParam, LParam);
        }
        return 0;
    }

    case WM_DRAWITEM: {
        const auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(LParam);
        if (state.NewSubMenu != nullptr && draw != nullptr && draw->rcItem.bottom - draw->rcItem.top > 0) {
            Forward(state.NewContextMenu2.Get(), Message, WParam, LParam);
        }
        Forward(state.ItemContextMenu2.Get(), Message, WParam, LParam);
        return 0;
    }

    case kNewMenuItemMessage: {
        std::wstring caption;
        UINT id = 0;
        if (state.NewSubMenu != nullptr) {
            caption = ReadEntry(state.NewSubMenu, static_cast<UINT>(state.SubItemPos), true, id);
        }
        bool removed = false;
        if (!MayAddSubItem(state, caption, id)) {
            removed = ::RemoveMenu(state.NewSubMenu, id, MF_BYCOMMAND) != FALSE;
        }
        const LRESULT result = CallSaved(state, Window, Message, WParam, LParam);
        // A removed entry's successor moves up into its position and is offered next.
        if (!removed) {
            ++state.SubItemPos;
        }
        return result;
    }

    default:
        return CallSaved(state, Window, Message, WParam, LParam);
    }
}

void ContextMenuHookScope::Install() noexcept {
    if (installed_ || owner_ == nullptr) {
        return;
    }
    previous_ = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(owner_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ContextMenuWndProc)));
    ContextMenuShared().OldWndProc = previous_;
    installed_ = true;
}

void ContextMenuHookScope::Remove() noexcept {
    if (!installed_) {
        return;
    }
    ::SetWindowLongPtrW(owner_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
    ContextMenuShared().OldWndProc = nullptr;
    installed_ = false;
}

} // namespace orvane
