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
#include "ui/controls/collation_win.h"
#include "ui/form/list_keys_win.h"
#include "ui/form/main_form_win.h"
#include "ui/model/search.h"

#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cwchar>
#include <numeric>
#include <string>
#include <vector>

using namespace orvane;

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
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

// The process's memory counters; all zero when they cannot be read.
PROCESS_MEMORY_COUNTERS MemoryNow() {
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    if (!::K32GetProcessMemoryInfo(::GetCurrentProcess(), &memory, sizeof memory)) {
        memory = {};
    }
    return memory;
}

double Mb(SIZE_T bytes) {
    return static_cast<double>(bytes) / (1024.0 * 1024.0);
}

// The working set now and its peak so far.
void PrintMemory(const char* when) {
    const PROCESS_MEMORY_COUNTERS memory = MemoryNow();
    std::printf("  working set %s: %.1f MB (peak so far %.1f MB)\n", when, Mb(memory.WorkingSetSize),
                Mb(memory.PeakWorkingSetSize));
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
    // The scan against the calls it must make (the walk of the folders, and for every shortcut the
    // file's times, the link object, the target's version and the icon once per target, the icon into
    // an image list with room for all), in turn, three times: the medians and their ratio. The peak
    // working set is taken after the first scan, before a comparison loop holds a second image list.
    std::vector<double> scans;
    std::vector<double> mandated;
    double scanPeakMb = 0;
    for (int round = 0; round < 3; ++round) {
        start = Clock::now();
        form.CollectShortcuts(false);
        scans.push_back(Seconds(start));
        if (round == 0) {
            scanPeakMb = Mb(MemoryNow().PeakWorkingSetSize);
        }
        {
            TMakeShortCuts reader;
            ScanMemo<std::wstring> versions;
            ScanMemo<UniqueIcon> icons;
            start = Clock::now();
            std::vector<std::wstring> files = CollectLinkFiles(menu, ListFolder);
            UniqueImageList images(
                ::ImageList_Create(32, 32, ILC_COLOR32 | ILC_MASK, static_cast<int>(files.size()), 64));
            for (const std::wstring& path : files) {
                std::wstring modified;
                std::wstring created;
                Norrow::GetFileDateTexts(path, modified, created);
                reader.FFileName = path;
                reader.SCLoad();
                const std::wstring target = Norrow::TrimAtNul(reader.FExecFile);
                versions.Get(target, [&] { return Norrow::GetFileVersionText(target); });
                UniqueIcon unshared;
                ::ImageList_AddIcon(images.get(), ReadShortcutIcon(reader, path, icons, unshared));
            }
            mandated.push_back(Seconds(start));
        }
        std::printf("  round %d: CollectShortcuts %.3f s, mandated calls %.3f s\n", round + 1, scans.back(),
                    mandated.back());
    }
    const double scan = Median(scans);
    std::printf("CollectShortcuts:       %.3f s  (%zu rows)  scan / floor = %.1f\n", scan,
                form.List().Count(), floor > 0 ? scan / floor : 0.0);
    std::printf("  its mandated calls:   %.3f s  scan / mandated calls = %.2f  (medians of 3, in turn)\n",
                Median(mandated), scan / Median(mandated));
    PrintMemory("after the scan");

    // Sorting: each column ascending and then descending, with the keys the scan made; then the way it
    // was done before, CompareStringW for every comparison, on the same rows.
    for (int column = 0; column < kColumnCount; ++column) {
        double twice[2] = {};
        for (double& time : twice) {
            start = Clock::now();
            form.ListViewColumnClick(column);
            time = Seconds(start);
        }
        std::printf("sort by column %d:       %.1f ms ascending, %.1f ms descending\n", column,
                    twice[0] * 1000, twice[1] * 1000);
    }
    {
        const std::vector<ShortcutRow>& rows = form.List().Rows();
        for (int column = 0; column < kColumnCount; ++column) {
            std::vector<std::size_t> order(rows.size());
            std::iota(order.begin(), order.end(), std::size_t{0});
            start = Clock::now();
            std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
                return CollateUserDefault(ShortcutList::CellText(rows[a], column),
                                          ShortcutList::CellText(rows[b], column)) < 0;
            });
            std::printf("  column %d by CompareStringW per comparison (as before): %.1f ms\n", column,
                        Seconds(start) * 1000);
        }
    }

    // Searching: a step over every row (a text no row holds) as the window takes it, then the steps
    // through every hit. The walk on its own follows the peak working set below.
    HWND searchBox = FindChild(form.Handle(), WC_COMBOBOXW);
    HWND list = FindChild(form.Handle(), WC_LISTVIEWW);
    constexpr int kWalks = 20;
    const std::wstring absent = L"no row holds this";
    ::SetWindowTextW(searchBox, absent.c_str());
    form.CBFindChange();
    start = Clock::now();
    for (int i = 0; i < kWalks; ++i) {
        form.TBFindClick();
    }
    std::printf("search step over %zu rows without a hit (TBFindClick): %.3f ms\n", form.List().Count(),
                Seconds(start) * 1000 / kWalks);

    ::SetWindowTextW(searchBox, L"needle");
    form.CBFindChange();
    int hits = 0;
    start = Clock::now();
    for (;;) {
        form.TBFindClick();
        if (ListView_GetNextItem(list, -1, LVNI_SELECTED) < 0) {
            break;
        }
        ++hits;
    }
    double stepping = Seconds(start);
    std::printf("search through hits:    %.4f s  (%d hits, %.2f ms a step)\n", stepping, hits,
                hits > 0 ? stepping * 1000 / (hits + 1) : 0.0);

    // What the window adds to a step that hits, each part on its own over the same rows: the selection
    // change (the old row cleared, the hit selected, and the notifications that follow), scrolling the
    // hit to the top, and the command states and status text.
    if (hits > 0) {
        std::vector<int> hitRows;
        for (int row = 0; row < static_cast<int>(form.List().Count()); ++row) {
            if (form.List().Row(static_cast<std::size_t>(row)).caption.find(L"needle") !=
                std::wstring::npos) {
                hitRows.push_back(row);
            }
        }
        double select = 0;
        double scroll = 0;
        double commands = 0;
        int previous = -1;
        for (int row : hitRows) {
            auto at = Clock::now();
            if (previous >= 0) {
                ListView_SetItemState(list, previous, 0, LVIS_SELECTED);
            }
            ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
            select += Seconds(at);
            at = Clock::now();
            ListView_EnsureVisible(list, row, FALSE);
            const int top = ListView_GetTopIndex(list);
            if (top != row) {
                RECT hitRect{};
                RECT topRect{};
                ListView_GetItemRect(list, row, &hitRect, LVIR_BOUNDS);
                ListView_GetItemRect(list, top, &topRect, LVIR_BOUNDS);
                ListView_Scroll(list, 0, hitRect.top - topRect.top);
            }
            scroll += Seconds(at);
            at = Clock::now();
            form.ListViewClick();
            commands += Seconds(at);
            previous = row;
        }
        const double n = static_cast<double>(hitRows.size());
        std::printf(
            "  a step's window work: selection change %.2f ms, scrolling %.2f ms, command states %.2f ms\n",
            select * 1000 / n, scroll * 1000 / n, commands * 1000 / n);
    }

    std::printf(
        "peak working set:       %.1f MB  (%zu rows, their icons and the window, after the first scan)\n",
        scanPeakMb, form.List().Count());
    PrintMemory("after sorting and searching");

    // On a copy of the rows, after the peak: making the keys the scan ends with, and one step's walk
    // over every row, the way it was done before (every text upper-cased as the walk passes it) and over
    // the prepared texts.
    {
        ShortcutList copy;
        copy.Assign(form.List().Rows());
        PrintMemory("with a copy of the rows");
        start = Clock::now();
        PrepareListKeys(copy);
        std::printf("sort keys and search texts for %zu rows (part of the scan): %.1f ms\n", copy.Count(),
                    Seconds(start) * 1000);
        PrintMemory("with their keys and search texts");
        start = Clock::now();
        for (int i = 0; i < kWalks; ++i) {
            FindNextRow(copy.Rows(), 0, absent, UpperCaseText);
        }
        const double plain = Seconds(start) * 1000 / kWalks;
        start = Clock::now();
        for (int i = 0; i < kWalks; ++i) {
            copy.FindNext(0, absent, UpperCaseText);
        }
        std::printf("search walk over %zu rows without a hit: %.3f ms upper-casing as it goes (as before), "
                    "%.3f ms over the prepared texts\n",
                    copy.Count(), plain, Seconds(start) * 1000 / kWalks);
    }
    return 0;
}
