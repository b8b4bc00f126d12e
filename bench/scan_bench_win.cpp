// Scan benchmark: writes N shortcuts into a temporary Start Menu and times, in one run, the plain walk
// with every file's bytes read (the floor), the full scan of the main window, a sort by each column, and
// a search that steps through every hit. Prints each figure and the ratio of the scan to the floor.
//   orvane_scan_bench.exe [N]
#include "app/data_folder_win.h"
#include "catalogue/link_walk.h"
#include "catalogue/scan_win.h"
#include "shortcuts/make_shortcuts_win.h"
#include "system/details_win.h"
#include "system/folders_win.h"
#include "system/handles_win.h"
#include "tests/support/test_support_win.h"
#include "ui/main_form_win.h"

#include <windows.h>
#include <commctrl.h>

#include <chrono>
#include <cstdio>
#include <cwchar>
#include <string>

using namespace orvane;

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

// The floor: every file the scan would read, found and read in full.
std::size_t WalkAndRead(const std::wstring& folder) {
    std::size_t bytes = 0;
    for (const std::wstring& path : CollectLinkFiles(folder, ListFolder)) {
        bytes += test::ReadFileBytes(path).size();
    }
    return bytes;
}

HWND FindChild(HWND parent, const wchar_t* cls) {
    HWND found = nullptr;
    struct Search {
        const wchar_t* cls;
        HWND* out;
    } search{cls, &found};
    ::EnumChildWindows(
        parent,
        [](HWND hwnd, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            wchar_t name[64] = {};
            ::GetClassNameW(hwnd, name, 64);
            if (::lstrcmpiW(name, s->cls) == 0) {
                *s->out = hwnd;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return found;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    int count = argc > 1 ? std::max(1, _wtoi(argv[1])) : 1000;
    ComApartment apartment;
    INITCOMMONCONTROLSEX controls{sizeof controls,
                                  ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_LISTVIEW_CLASSES};
    ::InitCommonControlsEx(&controls);

    test::TempDir root;
    std::wstring menu = root / L"Start Menu";
    ::CreateDirectoryW(menu.c_str(), nullptr);
    std::wstring empty = root / L"Empty";
    ::CreateDirectoryW(empty.c_str(), nullptr);
    test::RegistryValueOverride user(HKEY_CURRENT_USER, Norrow::kShellFoldersKey, L"Start Menu", menu);
    test::RegistryValueOverride common(HKEY_LOCAL_MACHINE, Norrow::kShellFoldersKey, L"Common Start Menu",
                                       empty);
    DataFolder = root.path() + L"\\";

    // Shortcuts in folders of 50, to programs and documents, with a word every 10th name shares.
    auto start = Clock::now();
    TMakeShortCuts writer;
    std::wstring exe = test::ExeFolder() + L"\\Orvane.exe";
    for (int i = 0; i < count; ++i) {
        std::wstring folder = menu + L"\\Group " + std::to_wstring(i / 50);
        ::CreateDirectoryW(folder.c_str(), nullptr);
        writer.FFileName =
            folder + L"\\Item " + std::to_wstring(i) + (i % 10 == 0 ? L" needle" : L"") + L".lnk";
        writer.FExecFile = i % 2 == 0 ? exe : root / L"notes.txt";
        writer.FDescription = L"Shortcut number " + std::to_wstring(count - i);
        writer.SCSave();
    }
    std::printf("shortcuts written:      %d in %.2f s\n", count, Seconds(start));

    start = Clock::now();
    std::size_t bytes = WalkAndRead(menu);
    double floor = Seconds(start);
    std::printf("floor (walk + read):    %.3f s  (%zu bytes)\n", floor, bytes);

    // Where a scan's time goes: reading each shortcut into a row, and fetching each icon.
    {
        std::vector<std::wstring> files = CollectLinkFiles(menu, ListFolder);
        TMakeShortCuts reader;
        start = Clock::now();
        for (const std::wstring& path : files) {
            ReadShortcutRow(reader, path);
        }
        std::printf("  rows (times, link, version): %.3f s\n", Seconds(start));
        start = Clock::now();
        for (const std::wstring& path : files) {
            UniqueIcon icon(Norrow::GetFileIcon(path));
        }
        std::printf("  icons (shell):               %.3f s\n", Seconds(start));
    }

    RegisterMainFormClass(::GetModuleHandleW(nullptr));
    TMainForm form(::GetModuleHandleW(nullptr));
    form.Create();
    start = Clock::now();
    form.CollectShortcuts(false);
    double scan = Seconds(start);
    std::printf("CollectShortcuts:       %.3f s  (%zu rows)  scan / floor = %.1f\n", scan,
                form.List().Count(), floor > 0 ? scan / floor : 0.0);

    for (int column = 0; column < kColumnCount; ++column) {
        start = Clock::now();
        form.ListViewColumnClick(column);
        std::printf("sort by column %d:       %.4f s\n", column, Seconds(start));
    }

    HWND searchBox = FindChild(form.Handle(), WC_COMBOBOXW);
    ::SetWindowTextW(searchBox, L"needle");
    form.CBFindChange();
    HWND list = FindChild(form.Handle(), WC_LISTVIEWW);
    int hits = 0;
    start = Clock::now();
    for (;;) {
        form.TBFindClick();
        if (ListView_GetNextItem(list, -1, LVNI_SELECTED) < 0) {
            break;
        }
        ++hits;
    }
    std::printf("search through hits:    %.4f s  (%d hits)\n", Seconds(start), hits);
    return 0;
}
