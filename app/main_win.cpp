// The program entry: data folder, single instance, the main window and its message loop.
#include "app/data_folder_win.h"
#include "contextmenu/context_menu_state_win.h"
#include "system/handles_win.h"
#include "ui/controls/error_report_win.h"
#include "ui/form/main_form_win.h"

#include <windows.h>
#include <commctrl.h>

namespace {

// DLLs come from the system folders only: a DLL planted beside a shortcut, in the working folder or on
// the PATH is never loaded.
void RestrictDllSearch() {
    ::SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    ::SetDllDirectoryW(L"");
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    RestrictDllSearch();
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_BAR_CLASSES |
                                                       ICC_LISTVIEW_CLASSES | ICC_USEREX_CLASSES |
                                                       ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);

    if (!orvane::PrepareDataFolder(L"Orvane", false)) {
        return 0;
    }
    if (!orvane::ClaimSingleInstance()) {
        return 0;
    }

    orvane::ComApartment apartment;
    int exitCode = 0;
    orvane::RunGuarded(nullptr, [&] {
        orvane::RegisterMainFormClass(instance);
        orvane::TMainForm form(instance, orvane::DataFolder);
        form.Create();
        form.Show(showCommand);

        MSG message{};
        while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
            bool handled = false;
            orvane::RunGuarded(form.Handle(), [&] { handled = form.PreTranslateMessage(message); });
            if (!handled) {
                ::TranslateMessage(&message);
                ::DispatchMessageW(&message);
            }
        }
        exitCode = static_cast<int>(message.wParam);
    });
    // The shell's menu objects go before OLE does.
    orvane::ReleaseContextMenuState();
    return exitCode;
}
