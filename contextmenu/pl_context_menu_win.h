// TplContextMenu: a popup menu that shows the shell's context menu for items of one folder above its
// own items and runs the command the user picks, or runs a standard verb on the items without a menu.
//
// Use: set Directory (empty for the desktop) and Files (names relative to it; none for the folder
// itself), then Popup(x, y) with screen coordinates, or InvokeCommand(580) and the like. Everything
// runs on the user-interface thread with OLE initialised; the program entry calls
// ReleaseContextMenuState() (context_menu_state_win.h) before OleUninitialize.
#pragma once

#include "contextmenu/context_menu_rules.h"
#include "system/handles_win.h"

#include <windows.h>
#include <shobjidl.h>
#include <wrl/client.h>

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace orvane {

class TplContextMenu;

// Events; a handler that clears the in/out flag vetoes the step.
using TNotifyEvent = std::function<void(TplContextMenu& Sender)>;
using TplContextSubItemEvent = std::function<void(TplContextMenu& Sender, const std::wstring& ItemCaption,
                                                  std::int32_t ItemID, bool& AddFlag)>;
using TplContextModifyEvent = std::function<void(TplContextMenu& Sender, HMENU MenuHandle)>;
using TplContextInvokeEvent = std::function<void(TplContextMenu& Sender, std::int32_t CmdIndex,
                                                 const std::wstring& VerbNameStr, bool& InvokeFlag)>;

// One of the component's own menu items, shown below the shell's entries; the caption "-" makes a
// separator. The item at position i carries the command ID i + 1.
struct TMenuItem {
    std::wstring Caption;
    std::function<void()> OnClick;
};

class TplContextMenu {
public:
    // Sets AboutVCL, the default options [csf_EXPLORE, csf_CANRENAME, csf_CREATENEW] and makes this the
    // instance whose OnBeforeContextAddSubItem the hook calls.
    TplContextMenu();
    // Clears the hook's reference to this instance; the last instance releases the process-wide menu
    // state. Must not run while this instance's menu is open.
    ~TplContextMenu();
    TplContextMenu(const TplContextMenu&) = delete;
    TplContextMenu& operator=(const TplContextMenu&) = delete;

    // Own items and the popup event that fires before each Popup.
    std::vector<TMenuItem> Items;
    TNotifyEvent OnPopup;

    // Properties over the fields below.
    const std::wstring& AboutVCL() const noexcept { return FAboutVCL; }
    // The folder that holds the items; empty means the desktop.
    const std::wstring& Directory() const noexcept { return FDirectory; }
    void SetDirectory(std::wstring Value) { FDirectory = std::move(Value); }
    // Names of the items relative to Directory; empty means the folder Directory itself. Reading gives
    // the component's own list, which the caller may change in place.
    std::vector<std::wstring>& Files() noexcept { return FFiles; }
    const std::vector<std::wstring>& Files() const noexcept { return FFiles; }
    TplContextShowFlags MenuOptions() const noexcept { return FMenuOptions; }
    void SetMenuOptions(TplContextShowFlags Value) noexcept { FMenuOptions = Value; }
    const TNotifyEvent& OnContextMenuClose() const noexcept { return FOnContextMenuClose; }
    void SetOnContextMenuClose(TNotifyEvent Value) { FOnContextMenuClose = std::move(Value); }
    const TplContextSubItemEvent& OnBeforeContextAddSubItem() const noexcept {
        return FOnBeforeContextAddSubItem;
    }
    void SetOnBeforeContextAddSubItem(TplContextSubItemEvent Value) {
        FOnBeforeContextAddSubItem = std::move(Value);
    }
    const TplContextModifyEvent& OnBeforeContextShowMenu() const noexcept { return FOnBeforeContextShowMenu; }
    void SetOnBeforeContextShowMenu(TplContextModifyEvent Value) {
        FOnBeforeContextShowMenu = std::move(Value);
    }
    const TplContextInvokeEvent& OnBeforeContextInvoke() const noexcept { return FOnBeforeContextInvoke; }
    void SetOnBeforeContextInvoke(TplContextInvokeEvent Value) { FOnBeforeContextInvoke = std::move(Value); }
    // Verb of the last chosen or requested command.
    const std::wstring& VerbNameStr() const noexcept { return FVerbNameStr; }
    // Menu command ID of the last chosen command; 0 after InvokeCommand.
    std::int32_t VerbCmdID() const noexcept { return FVerbCmdID; }

    // Replaces Files with a copy of Value.
    void SetFiles(const std::vector<std::wstring>& Value);

    // Fires OnPopup and shows the menu at screen position (X, Y) until it closes; true when a shell
    // command was chosen and ran. Refused (false, nothing fires) while a menu is already open.
    bool Popup(int X, int Y);
    // Runs one standard verb on the items without a menu: 510 "preview", 520 "print", 530 "edit",
    // 540 "cut", 550 "copy", 560 "paste", 570 "delete", 580 "properties", 590 "explore", 600 "open",
    // 610 "find". Any other number returns false and does nothing.
    bool InvokeCommand(int CmdIDNo);

    // The menu (created on demand) and the hidden window that owns it while it is tracked.
    HMENU Handle();
    HWND WindowHandle();

protected:
    // The steps of Popup and InvokeCommand. CmdIndex 0 shows the menu; a number of the verb table
    // runs the verb kept in FInputCommndStr.
    bool ExecContextMenu(int CmdIndex, int X, int Y);
    // The item menu of the names in AFiles inside ADirectory (or of ADirectory itself). The shell
    // folders and item ID lists it makes are kept until ReleaseCallShell.
    bool BuildContextMenu(const std::wstring& ADirectory, const std::vector<std::wstring>& AFiles,
                          Microsoft::WRL::ComPtr<IContextMenu>& ItemMenu);
    // The item ID of Name relative to Folder, or none.
    UniquePidl GetPidlFromName(IShellFolder* Folder, const std::wstring& Name);
    // The parsing name of an absolute item ID list, or empty text.
    std::wstring GetPidlParsingName(PCIDLIST_ABSOLUTE Pidl);
    // Removes the entries above the own items, that is, those the shell added.
    void DeleteShellItems();
    // Releases the shell folders and frees the item ID lists of one call.
    void ReleaseCallShell() noexcept;

private:
    struct WindowTraits {
        static HWND invalid() noexcept { return nullptr; }
        static bool valid(HWND h) noexcept { return h != nullptr; }
        static void close(HWND h) noexcept { ::DestroyWindow(h); }
    };

    void RefillOwnItems();
    void ClickOwnItem(int position);
    std::wstring CommandVerb(IContextMenu* menu, int offset);

    std::wstring FAboutVCL;
    std::vector<std::wstring> FFiles;
    std::wstring FDirectory;
    Microsoft::WRL::ComPtr<IShellFolder> FShellDesktop;
    Microsoft::WRL::ComPtr<IShellFolder> FShellFolder;
    UniquePidl FpidlDesktop;
    UniquePidl FpidlFolder;
    TplContextShowFlags FMenuOptions{csf_EXPLORE, csf_CANRENAME, csf_CREATENEW};
    // The item IDs passed to the shell; entries point into FOwnedItemIDs or into FpidlFolder.
    std::vector<PCUITEMID_CHILD> FItemIDs;
    std::vector<UniquePidl> FOwnedItemIDs;
    std::wstring FVerbNameStr;
    std::int32_t FVerbCmdID = 0;
    std::string FInputCommndStr;
    TNotifyEvent FOnContextMenuClose;
    TplContextSubItemEvent FOnBeforeContextAddSubItem;
    TplContextModifyEvent FOnBeforeContextShowMenu;
    TplContextInvokeEvent FOnBeforeContextInvoke;
    bool FIsOSBeforeVista = false;
    UniqueMenu FMenu;
    UniqueHandleOf<HWND, WindowTraits> FWindow;
    // How many of the own items are in the menu now (the tidy-up may remove own separators).
    int FOwnInMenu = 0;
};

// Removes doubled separators and separators at the edges of a menu whose last ownCount entries are
// the component's own items, letting pending messages run between entries; with findNewSubMenu
// also finds the topmost entry whose caption holds "新規作成(&W)" or "新規作成(&X)".
struct ContextMenuTidyResult {
    HMENU NewSubMenu = nullptr;
    int OwnRemaining = 0;
};
ContextMenuTidyResult TidyContextMenu(HMENU menu, int ownCount, bool findNewSubMenu);

} // namespace orvane
