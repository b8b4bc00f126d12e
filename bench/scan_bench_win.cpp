// Scan benchmark: writes N shortcuts into a temporary Start Menu and times, in one run, the plain walk
// with every file's bytes read (the floor), the full scan of the main window, a sort by each column, and
// a search that steps through every hit. Prints each figure and the ratio of the scan to the floor.
//   orvane_scan_bench.exe [N [--quick]]
#include "app/data_folder_win.h"
#include "catalogue/link_walk.h"
#include "catalogue/scan_memo.h"
#include "catalogue/scan_win.h"
#include "shortcuts/make_shortcuts_win.h"
#include "system/details_win.h"
#include "system/folders_win.h"
#include "system/handles_win.h"
#include "tests/support/test_support_win.h"
#include "ui/main_form_win.h"

#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

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

// A caption as long as a scan's.
std::wstring CaptionLike(int i) {
    return L"C:\\Users\\someone\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Group " +
           std::to_wstring(i / 50) + L"\\Item " + std::to_wstring(i) + L".lnk";
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    int count = argc > 1 ? std::max(1, _wtoi(argv[1])) : 1000;
    // --quick leaves out the breakdown of a row's time and gives the totals only.
    const bool quick = argc > 2 && std::wstring(argv[2]) == L"--quick";
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

    // Where a scan's time goes: reading each shortcut into a row, and fetching each icon; each once
    // asking for every file on its own, and once with the scan's memo of shared targets and icons.
    if (!quick) {
        std::vector<std::wstring> files = CollectLinkFiles(menu, ListFolder);
        TMakeShortCuts reader;
        ScanMemo<std::wstring> versions;
        for (bool memo : {false, true}) {
            ScanMemo<UniqueIcon> icons;
            double rows = 0;
            double shell = 0;
            for (const std::wstring& path : files) {
                auto at = Clock::now();
                ReadShortcutRow(reader, path, memo ? &versions : nullptr);
                rows += Seconds(at);
                at = Clock::now();
                if (memo) {
                    UniqueIcon unshared;
                    ReadShortcutIcon(reader, path, icons, unshared);
                } else {
                    UniqueIcon icon(Norrow::GetFileIcon(path));
                }
                shell += Seconds(at);
            }
            std::printf("  %s rows (times, link, version) %.3f s, icons (shell) %.3f s\n",
                        memo ? "with memo:   " : "without memo:", rows, shell);
        }
    }

    // The parts of reading a row: the file's times, the link, the title.
    if (!quick) {
        std::vector<std::wstring> files = CollectLinkFiles(menu, ListFolder);
        TMakeShortCuts reader;
        start = Clock::now();
        for (const std::wstring& path : files) {
            std::wstring modified;
            std::wstring created;
            Norrow::GetFileDateTexts(path, modified, created);
        }
        std::printf("  per row, file times:                      %.3f s\n", Seconds(start));
        start = Clock::now();
        for (const std::wstring& path : files) {
            reader.FFileName = path;
            reader.SCLoad();
        }
        std::printf("  per row, link (SCLoad):                   %.3f s\n", Seconds(start));
    }

    // What the window does per row: one icon into each image list, the caption and the window icon.
    if (!quick) {
        std::wstring exeIcon = test::ExeFolder() + L"\\Orvane.exe";
        UniqueIcon icon(Norrow::GetFileIcon(exeIcon));
        UniqueImageList images(::ImageList_Create(32, 32, ILC_COLOR32 | ILC_MASK, 0, 64));
        start = Clock::now();
        for (int i = 0; i < count; ++i) {
            ::ImageList_AddIcon(images.get(), icon.get());
        }
        std::printf("  per row, ImageList_AddIcon into one list: %.3f s for %d\n", Seconds(start), count);
        HWND probe = ::CreateWindowExW(0, L"STATIC", L"probe", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300,
                                       200, nullptr, nullptr, nullptr, nullptr);
        start = Clock::now();
        for (int i = 0; i < count; ++i) {
            ::SetWindowTextW(probe, (L"Orvane - " + CaptionLike(i)).c_str());
        }
        std::printf("  per row, caption of a shown window:       %.3f s for %d\n", Seconds(start), count);
        start = Clock::now();
        for (int i = 0; i < count; ++i) {
            UniqueIcon copy(::CopyIcon(icon.get()));
            ::SendMessageW(probe, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(copy.get()));
            ::SendMessageW(probe, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(copy.get()));
        }
        std::printf("  per row, window icon (copy + 2 x WM_SETICON): %.3f s for %d\n", Seconds(start), count);
        ::DestroyWindow(probe);
    }

    RegisterMainFormClass(::GetModuleHandleW(nullptr));
    TMainForm form(::GetModuleHandleW(nullptr), DataFolder);
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

    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    if (::K32GetProcessMemoryInfo(::GetCurrentProcess(), &memory, sizeof memory)) {
        std::printf("peak working set:       %.1f MB  (%zu rows, their icons and the window)\n",
                    static_cast<double>(memory.PeakWorkingSetSize) / (1024.0 * 1024.0), form.List().Count());
    }
    return 0;
}
