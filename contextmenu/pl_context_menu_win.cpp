#include "contextmenu/pl_context_menu_win.h"

#include "contextmenu/context_menu_hook_win.h"
#include "contextmenu/context_menu_state_win.h"
#include "system/late_libraries_win.h"

#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <array>
#include <utility>

namespace orvane {
namespace {

using Microsoft::WRL::ComPtr;

constexpr CLSID kClsidNewMenu = {
    0xD969A300, 0xE7FF, 0x11D0, {0xA9, 0x3B, 0x00, 0xA0, 0xC9, 0x0F, 0x27, 0x19}};
constexpr UINT kLastCommandId = 0x7FFF;
constexpr UINT kVerbCapacity = 260;
constexpr wchar_t kOwnerClass[] = L"OrvaneContextMenuOwner";

// Instances alive now; the last one to go releases the shared menu state.
int liveInstances = 0;

LRESULT CALLBACK OwnerWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefWindowProcW(window, message, wParam, lParam);
}

bool IsOSBeforeVista() {
    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof version;
    if (!::GetVersionExW(&version)) {
        return false;
    }
    return IsOSBeforeVistaVersion(version.dwMajorVersion, version.dwMinorVersion);
}

// Runs the messages waiting for this thread; a quit request is put back for the message loop.
void ProcessPendingMessages() {
    MSG message{};
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

std::wstring WidenAscii(const std::string& text) {
    return std::wstring(text.begin(), text.end());
}

// Marks a call of ExecContextMenu as running for its whole duration.
class OpenMenuScope {
public:
    explicit OpenMenuScope(ContextMenuState& state) noexcept : state_(state) { state_.MenuOpen = true; }
    OpenMenuScope(const OpenMenuScope&) = delete;
    OpenMenuScope& operator=(const OpenMenuScope&) = delete;
    ~OpenMenuScope() {
        // The New submenu belonged to entries that are gone now.
        state_.NewSubMenu = nullptr;
        state_.MenuOpen = false;
    }

private:
    ContextMenuState& state_;
};

// Runs a cleanup step at the end of the scope unless it already ran.
template <typename F> class FinalStep {
public:
    explicit FinalStep(F step) : step_(std::move(step)) {}
    FinalStep(const FinalStep&) = delete;
    FinalStep& operator=(const FinalStep&) = delete;
    ~FinalStep() { Run(); }
    void Run() noexcept {
        if (!done_) {
            done_ = true;
            step_();
        }
    }

private:
    F step_;
    bool done_ = false;
};

} // namespace

TplContextMenu::TplContextMenu() : FAboutVCL(L"Version 1.10"), FIsOSBeforeVista(IsOSBeforeVista()) {
    ContextMenuShared().CurrentContextMenu = this;
    ++liveInstances;
}

TplContextMenu::~TplContextMenu() {
    ReleaseCallShell();
    ContextMenuState& state = ContextMenuShared();
    if (state.CurrentContextMenu == this) {
        state.CurrentContextMenu = nullptr;
    }
    if (--liveInstances == 0) {
        ReleaseContextMenuState();
    }
}

void TplContextMenu::SetFiles(const std::vector<std::wstring>& Value) {
    FFiles = Value;
}

HMENU TplContextMenu::Handle() {
    if (!FMenu) {
        FMenu.reset(::CreatePopupMenu());
        RefillOwnItems();
    }
    return FMenu.get();
}

HWND TplContextMenu::WindowHandle() {
    if (!FWindow) {
        HINSTANCE instance = ::GetModuleHandleW(nullptr);
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = OwnerWndProc;
        windowClass.hInstance = instance;
        windowClass.lpszClassName = kOwnerClass;
        ::RegisterClassExW(&windowClass); // fails harmlessly once the class exists
        FWindow.reset(::CreateWindowExW(WS_EX_TOOLWINDOW, kOwnerClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr,
                                        nullptr, instance, nullptr));
    }
    return FWindow.get();
}

void TplContextMenu::RefillOwnItems() {
    HMENU menu = FMenu.get();
    if (menu == nullptr) {
        return;
    }
    while (::GetMenuItemCount(menu) > 0) {
        ::DeleteMenu(menu, 0, MF_BYPOSITION);
    }
    UINT id = 1;
    for (const TMenuItem& item : Items) {
        if (item.Caption == L"-") {
            ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        } else {
            ::AppendMenuW(menu, MF_STRING, id, item.Caption.c_str());
        }
        ++id;
    }
    FOwnInMenu = static_cast<int>(Items.size());
}

void TplContextMenu::ClickOwnItem(int position) {
    if (position >= 0 && position < static_cast<int>(Items.size()) && Items[position].OnClick) {
        Items[position].OnClick();
    }
}

bool TplContextMenu::Popup(int X, int Y) {
    if (ContextMenuShared().MenuOpen) {
        return false;
    }
    FInputCommndStr.clear();
    if (OnPopup) {
        OnPopup(*this);
    }
    return ExecContextMenu(0, X, Y);
}

bool TplContextMenu::InvokeCommand(int CmdIDNo) {
    if (ContextMenuShared().MenuOpen) {
        return false;
    }
    FInputCommndStr.clear();
    std::optional<std::string> verb = VerbOfCommand(CmdIDNo);
    if (!verb) {
        return false;
    }
    FInputCommndStr = *verb;
    return ExecContextMenu(CmdIDNo, 0, 0);
}

UniquePidl TplContextMenu::GetPidlFromName(IShellFolder* Folder, const std::wstring& Name) {
    if (Folder == nullptr) {
        return UniquePidl();
    }
    std::wstring name = Name; // ParseDisplayName takes a writable string
    ULONG attributes = 0;
    PIDLIST_RELATIVE pidl = nullptr;
    const HRESULT hr =
        Folder->ParseDisplayName(WindowHandle(), nullptr, name.data(), nullptr, &pidl, &attributes);
    UniquePidl result(pidl);
    if (FAILED(hr)) {
        result.reset();
    }
    return result;
}

std::wstring TplContextMenu::GetPidlParsingName(PCIDLIST_ABSOLUTE Pidl) {
    if (Pidl == nullptr) {
        return {};
    }
    ComPtr<IShellFolder> parent;
    PCUITEMID_CHILD last = nullptr;
    if (FAILED(::SHBindToParent(Pidl, IID_PPV_ARGS(&parent), &last))) {
        return {};
    }
    STRRET name{};
    const HRESULT hr = parent->GetDisplayNameOf(last, SHGDN_FORPARSING, &name);
    if (FAILED(hr)) {
        return {};
    }
    // StrRetToStrW also frees a string the shell allocated inside the STRRET.
    wchar_t* text = nullptr;
    if (FAILED(late::StrRetToStrW(&name, last, &text)) || text == nullptr) {
        return {};
    }
    std::wstring result = hr == S_OK ? std::wstring(text) : std::wstring();
    ::CoTaskMemFree(text);
    return result;
}

void TplContextMenu::ReleaseCallShell() noexcept {
    FItemIDs.clear();
    FOwnedItemIDs.clear();
    FpidlFolder.reset();
    FpidlDesktop.reset();
    FShellFolder.Reset();
    FShellDesktop.Reset();
}

bool TplContextMenu::BuildContextMenu(const std::wstring& ADirectory, const std::vector<std::wstring>& AFiles,
                                      ComPtr<IContextMenu>& ItemMenu) {
    ItemMenu.Reset();
    ReleaseCallShell();
    if (FAILED(::SHGetDesktopFolder(&FShellDesktop)) || !FShellDesktop) {
        return false;
    }
    ::SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, FpidlDesktop.put());
    if (!FpidlDesktop) {
        return false;
    }
    const std::wstring desktopName = GetPidlParsingName(FpidlDesktop.get());

    const std::size_t count = AFiles.empty() ? 1 : AFiles.size();
    FItemIDs.assign(count, nullptr);
    bool success = false;
    bool folderIsDesktop = false;
    auto useDesktop = [&] {
        UniquePidl copy(::ILClone(FpidlDesktop.get()));
        if (!copy) {
            return false;
        }
        FItemIDs[0] = copy.get();
        FOwnedItemIDs.push_back(std::move(copy));
        FShellFolder = FShellDesktop;
        folderIsDesktop = true;
        return true;
    };
    if (ADirectory.empty()) {
        FpidlFolder.reset(::ILClone(FpidlDesktop.get()));
        success = FpidlFolder && useDesktop();
    } else {
        FpidlFolder.reset(::ILCreateFromPathW(ADirectory.c_str()));
        if (FpidlFolder) {
            if (!desktopName.empty() && GetPidlParsingName(FpidlFolder.get()) == desktopName) {
                success = useDesktop();
            } else {
                PCUITEMID_CHILD last = nullptr;
                success = ::SHBindToParent(FpidlFolder.get(), IID_PPV_ARGS(&FShellFolder), &last) == S_OK;
                if (success) {
                    FItemIDs[0] = last;
                }
            }
        }
    }

    if (success && !AFiles.empty()) {
        if (!folderIsDesktop) {
            FShellFolder.Reset();
            success = SUCCEEDED(
                FShellDesktop->BindToObject(FpidlFolder.get(), nullptr, IID_PPV_ARGS(&FShellFolder)));
        }
        for (std::size_t j = 0; success && j < AFiles.size(); ++j) {
            UniquePidl item = GetPidlFromName(FShellFolder.Get(), AFiles[j]);
            if (!item) {
                item = GetPidlFromName(FShellFolder.Get(), L"::" + AFiles[j]);
            }
            if (!item) {
                success = false;
                break;
            }
            FItemIDs[j] = item.get();
            FOwnedItemIDs.push_back(std::move(item));
        }
    }

    if (success) {
        success = SUCCEEDED(FShellFolder->GetUIObjectOf(
            WindowHandle(), static_cast<UINT>(FItemIDs.size()), FItemIDs.data(), IID_IContextMenu, nullptr,
            reinterpret_cast<void**>(ItemMenu.ReleaseAndGetAddressOf())));
    }
    return success && ItemMenu;
}

void TplContextMenu::DeleteShellItems() {
    HMENU menu = FMenu.get();
    if (menu == nullptr) {
        return;
    }
    const int shellEntries = ::GetMenuItemCount(menu) - FOwnInMenu;
    for (int position = shellEntries - 1; position >= 0; --position) {
        ::DeleteMenu(menu, static_cast<UINT>(position), MF_BYPOSITION);
    }
}

std::wstring TplContextMenu::CommandVerb(IContextMenu* menu, int offset) {
    if (menu == nullptr || offset < 0) {
        return {};
    }
    std::array<wchar_t, kVerbCapacity> verb{};
    menu->GetCommandString(static_cast<UINT_PTR>(offset), GCS_VERBW, nullptr,
                           reinterpret_cast<LPSTR>(verb.data()), kVerbCapacity);
    verb.back() = L'\0';
    return std::wstring(verb.data());
}

bool TplContextMenu::ExecContextMenu(int CmdIndex, int X, int Y) {
    ContextMenuState& state = ContextMenuShared();
    if (state.MenuOpen) {
        return false;
    }
    OpenMenuScope open(state);
    FinalStep releaseShell([this]() noexcept { ReleaseCallShell(); });
    const bool popup = CmdIndex == 0;

    state.ItemContextMenu2.Reset();
    state.NewContextMenu2.Reset();
    state.OldWndProc = nullptr;
    state.NewSubMenu = nullptr;
    state.PendingException = nullptr;
    FVerbNameStr.clear();

    state.NewMenuOnly = IsNewMenuOnly(FMenuOptions);
    if (state.NewMenuOnly && !FIsOSBeforeVista) {
        return false;
    }
    HMENU menu = Handle();
    if (menu == nullptr) {
        return false;
    }
    if (state.NewMenuOnly) {
        Items.clear();
    }
    RefillOwnItems();
    const int ownCount = FOwnInMenu;

    ComPtr<IContextMenu> itemMenu;
    if (!BuildContextMenu(FDirectory, FFiles, itemMenu)) {
        return false;
    }

    // Declared in this order so that on every way out the shell's entries go first, then the hook.
    ContextMenuHookScope hook(WindowHandle());
    FinalStep deleteShellItems([this]() noexcept { DeleteShellItems(); });

    if (popup && !state.NewMenuOnly) {
        if (FAILED(itemMenu.As(&state.ItemContextMenu2))) {
            return false;
        }
        hook.Install();
    }

    // The New menu and the item menu get ranges of their own, so a chosen ID names one command only.
    CommandRanges ranges;
    ranges.ownCount = ownCount;
    ranges.hasItemMenu = false;
    ComPtr<IShellExtInit> newMenu;
    if (popup && WantsNewMenu(FFiles.empty(), FDirectory, FMenuOptions) &&
        SUCCEEDED(::CoCreateInstance(kClsidNewMenu, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&newMenu)))) {
        newMenu->Initialize(FpidlFolder.get(), nullptr, nullptr);
        const int first = NewMenuFirstId(ownCount, FIsOSBeforeVista);
        if (SUCCEEDED(newMenu.As(&state.NewContextMenu2))) {
            const HRESULT hr = state.NewContextMenu2->QueryContextMenu(menu, 0, static_cast<UINT>(first),
                                                                       kLastCommandId, CMF_EXPLORE);
            if (SUCCEEDED(hr)) {
                ranges.newFirst = first;
                ranges.newEnd = first + HRESULT_CODE(hr);
                if (!hook.Installed()) {
                    hook.Install();
                }
            }
        }
    }

    if (!state.NewMenuOnly && !FMenuOptions.Empty()) {
        const int first = ranges.newEnd > ranges.newFirst ? ranges.newEnd : ownCount + 1;
        if (FAILED(itemMenu->QueryContextMenu(menu, 0, static_cast<UINT>(first), kLastCommandId,
                                              QueryContextMenuFlags(FMenuOptions)))) {
            return false;
        }
        ranges.hasItemMenu = true;
        ranges.itemFirst = first;
    }

    int chosen = 0;
    if (popup) {
        if (FOnBeforeContextShowMenu) {
            FOnBeforeContextShowMenu(*this, menu);
        }
        const bool findNew = FMenuOptions.Contains(csf_CREATENEW) && state.NewContextMenu2;
        const ContextMenuTidyResult tidy = TidyContextMenu(menu, FOwnInMenu, findNew);
        FOwnInMenu = tidy.OwnRemaining;
        state.NewSubMenu = tidy.NewSubMenu;
        chosen = static_cast<int>(
            ::TrackPopupMenu(menu, TPM_RIGHTBUTTON | TPM_RETURNCMD, X, Y, 0, WindowHandle(), nullptr));
        if (state.PendingException) {
            std::rethrow_exception(std::exchange(state.PendingException, nullptr));
        }
    }

    bool result = false;
    if (!popup || chosen != 0) {
        FVerbCmdID = chosen;
        const ChosenCommand command =
            popup ? ResolveChosenCommand(chosen, ranges) : ChosenCommand{ChosenKind::ItemMenu, CmdIndex};
        if (command.kind == ChosenKind::OwnItem) {
            ClickOwnItem(command.index);
        } else if (command.kind != ChosenKind::None) {
            IContextMenu* target = itemMenu.Get();
            if (command.kind == ChosenKind::NewMenu) {
                target = state.NewContextMenu2.Get();
            }
            FVerbNameStr = popup ? CommandVerb(target, command.index) : WidenAscii(FInputCommndStr);
            bool invokeFlag = true;
            if (FOnBeforeContextInvoke) {
                FOnBeforeContextInvoke(*this, chosen, FVerbNameStr, invokeFlag);
            }
            if (invokeFlag && target != nullptr) {
                CMINVOKECOMMANDINFO info{};
                info.cbSize = sizeof info;
                info.fMask = CMIC_MASK_FLAG_NO_UI;
                info.hwnd = WindowHandle();
                info.lpVerb = popup ? MAKEINTRESOURCEA(command.index) : FInputCommndStr.c_str();
                info.nShow = SW_SHOWNORMAL;
                result = SUCCEEDED(target->InvokeCommand(&info));
            }
        }
    }

    deleteShellItems.Run();
    hook.Remove();
    if (FOnContextMenuClose) {
        FOnContextMenuClose(*this);
    }
    releaseShell.Run();
    return result;
}

ContextMenuTidyResult TidyContextMenu(HMENU menu, int ownCount, bool findNewSubMenu) {
    ContextMenuTidyResult result;
    const int count = ::GetMenuItemCount(menu);
    if (count <= 0) {
        result.OwnRemaining = 0;
        return result;
    }
    std::vector<bool> separators(static_cast<std::size_t>(count), false);
    for (int position = count - 1; position >= 0; --position) {
        std::array<wchar_t, kVerbCapacity> text{};
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_SUBMENU | MIIM_STRING;
        info.dwTypeData = text.data();
        info.cch = kVerbCapacity - 1;
        if (::GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info)) {
            separators[static_cast<std::size_t>(position)] = (info.fType & MFT_SEPARATOR) != 0;
            // Walking upward, the topmost match is the one that stays.
            if (findNewSubMenu && info.hSubMenu != nullptr && IsNewMenuCaption(text.data())) {
                result.NewSubMenu = info.hSubMenu;
            }
        }
        ProcessPendingMessages();
    }
    const SeparatorTidyPlan plan = PlanSeparatorTidy(separators, ownCount);
    for (int position : plan.deletions) {
        ::DeleteMenu(menu, static_cast<UINT>(position), MF_BYPOSITION);
    }
    result.OwnRemaining = plan.ownRemaining;
    return result;
}

} // namespace orvane
