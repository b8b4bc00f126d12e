// Cache benchmark: for N rows (default 1,000 and 10,000), the time to write and read each cache file
// and its size, the pictures of "IconS.lst" read by the program's band reader and by the system's, and
// the time from process start until the window shows the cached rows and then their pictures, with the
// peak working set at that moment, beside the same figure for a window of the same kinds of controls
// that shows the same number of rows and nothing else (the ratio is Orvane's rows to it) and for a bare
// Win32 window, in seven runs and their medians.
//   orvane_cache_bench.exe [--runs RUNS] [N ...]
// The image-list stream functions of commctrl.h are declared only once IStream is.
#include <windows.h>
#include <objidl.h>

#include "app/data_folder_win.h"
#include "store/atomic_file_win.h"
#include "store/find_history.h"
#include "store/file_view_win.h"
#include "store/icons/icon_cache_reader_win.h"
#include "store/icons/image_list_cache.h"
#include "store/icons/image_list_stream_win.h"
#include "store/list_cache.h"
#include "store/stream/span_stream_win.h"
#include "store/ansi_code_page_win.h"
#include "system/handles_win.h"
#include "tests/e2e/remote_controls_e2e.h"
#include "tests/support/test_support_win.h"
#include "ui/form/main_form_win.h"

#include <windows.h>
#include <psapi.h>
#include <commctrl.h>
#include <shellapi.h>
#include <wrl/client.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

using namespace orvane;

namespace {

using Clock = std::chrono::steady_clock;
double Ms(Clock::time_point since) {
    return std::chrono::duration<double, std::milli>(Clock::now() - since).count();
}

int startRuns = 7; // --runs N

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

constexpr wchar_t kUserShellFolders[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

ListCache MakeList(int count) {
    ListCache cache;
    const wchar_t* captions[] = {L"名前 ▲",   L"フルパス", L"リンク先",  L"説明",
                                 L"更新日付", L"作成日付", L"バージョン"};
    for (int i = 0; i < 7; ++i) {
        cache.columns.push_back(
            {captions[i], 300,
             i == 4 || i == 5 ? ColumnAlignment::taRightJustify : ColumnAlignment::taLeftJustify});
    }
    cache.smallImages = "ImageListS";
    cache.largeImages = "ImageListL";
    for (int i = 0; i < count; ++i) {
        ShortcutRow row;
        row.caption = L"Program " + std::to_wstring(i);
        row.imageIndex = i;
        row.subItems[siFullPath] = L"C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Group " +
                                   std::to_wstring(i / 50) + L"\\" + row.caption + L".lnk";
        row.subItems[siTarget] = L"C:\\Program Files\\Vendor " + std::to_wstring(i) + L"\\program.exe";
        row.subItems[siDescription] = L"A program to benchmark the cache";
        row.subItems[siModified] = L"2026/12/08 10:00";
        row.subItems[siCreated] = L"2026/12/01 09:30";
        row.subItems[siVersion] = L"1.2.3." + std::to_wstring(i);
        cache.rows.push_back(std::move(row));
    }
    return cache;
}

UniqueImageList MakeImages(int count) {
    UniqueImageList list(::ImageList_Create(32, 32, ILC_COLOR32 | ILC_MASK, count, 64));
    UniqueIcon icon(
        static_cast<HICON>(::LoadImageW(nullptr, MAKEINTRESOURCEW(32512), IMAGE_ICON, 32, 32, LR_SHARED)));
    HICON shared = icon.release(); // shared icons are not destroyed
    for (int i = 0; i < count; ++i) {
        ::ImageList_AddIcon(list.get(), shared);
    }
    return list;
}

HWND FindWindowOf(DWORD pid, const wchar_t* cls) {
    struct S {
        DWORD pid;
        const wchar_t* cls;
        HWND found;
    } s{pid, cls, nullptr};
    ::EnumWindows(
        [](HWND hwnd, LPARAM p) -> BOOL {
            auto* q = reinterpret_cast<S*>(p);
            DWORD owner = 0;
            ::GetWindowThreadProcessId(hwnd, &owner);
            wchar_t name[64] = {};
            ::GetClassNameW(hwnd, name, 64);
            if (owner == q->pid && ::lstrcmpW(name, q->cls) == 0 && ::IsWindowVisible(hwnd)) {
                q->found = hwnd;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&s));
    return s.found;
}

struct StartAndClose {
    double start = -1;    // until the window of the class is visible and ready
    double complete = -1; // until it is complete as well (Orvane: the rows' pictures show)
    double close = -1;    // from WM_CLOSE until the process has ended; -1 when it was ended by force
    double peakMb = 0;    // the process's peak working set once the window was complete
};

double PeakMb(HANDLE process) {
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    if (!::K32GetProcessMemoryInfo(process, &memory, sizeof memory)) {
        return 0;
    }
    return static_cast<double>(memory.PeakWorkingSetSize) / (1024.0 * 1024.0);
}

// Starts a program, times how long until its window of the class is visible and ready() holds and
// then until complete() holds, closes the window and times how long until the process ends.
template <typename Ready, typename Complete>
StartAndClose TimeStart(const std::wstring& exe, const wchar_t* cls, Ready ready, Complete complete,
                        const std::wstring& arguments = {}) {
    std::wstring command = L"\"" + exe + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    auto start = Clock::now();
    if (!::CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &info)) {
        return {};
    }
    UniqueHandle process(info.hProcess);
    UniqueHandle thread(info.hThread);
    StartAndClose times;
    HWND hwnd = nullptr;
    for (int i = 0; i < 60000 && times.complete < 0; ++i) {
        if (times.start < 0) {
            hwnd = FindWindowOf(info.dwProcessId, cls);
            if (hwnd != nullptr && ready(hwnd)) {
                times.start = Ms(start);
            }
        }
        if (times.start >= 0 && complete(hwnd)) {
            times.complete = Ms(start);
            times.peakMb = PeakMb(process.get());
            start = Clock::now();
            ::PostMessageW(hwnd, WM_CLOSE, 0, 0);
        } else {
            ::Sleep(1);
        }
    }
    if (::WaitForSingleObject(process.get(), 20000) == WAIT_OBJECT_0) {
        times.close = Ms(start);
    } else {
        ::TerminateProcess(process.get(), 1);
    }
    return times;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    ComApartment apartment;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);
    std::vector<int> counts;
    for (int i = 1; i < argc; ++i) {
        if (std::wstring(argv[i]) == L"--runs" && i + 1 < argc) {
            startRuns = std::max(1, _wtoi(argv[++i]));
        } else {
            counts.push_back(_wtoi(argv[i]));
        }
    }
    if (counts.empty()) {
        counts = {1000, 10000};
    }
    const std::wstring folder = test::ExeFolder();
    RegisterMainFormClass(::GetModuleHandleW(nullptr));
    for (int count : counts) {
        test::TempDir appData;
        test::RegistryValueOverride redirect(HKEY_CURRENT_USER, kUserShellFolders, L"AppData", appData.path(),
                                             REG_EXPAND_SZ);
        std::wstring data = appData.path() + L"\\Norrow Project";
        ::CreateDirectoryW(data.c_str(), nullptr);
        data += L"\\Orvane\\";
        ::CreateDirectoryW(data.c_str(), nullptr);
        std::printf("rows: %d\n", count);

        ListCache list = MakeList(count);
        auto start = Clock::now();
        std::vector<std::uint8_t> bytes = WriteListCache(list);
        WriteFileAtomically(data + L"File.lst", bytes);
        double write = Ms(start);
        start = Clock::now();
        ListCache back = ReadListCache(ReadWholeFile(data + L"File.lst"), ListCache{});
        std::printf("  File.lst   %9zu bytes  write %8.1f ms  read %8.1f ms  (%zu rows back)\n", bytes.size(),
                    write, Ms(start), back.rows.size());

        // The large list is the small one, as after a scan. Both files are read as the window reads
        // them: the small one in place, and the large one gives the small list again when its pictures
        // are the same. The reader holds the small file open while it lives, so it ends here, before
        // the window that replaces both files at its close starts.
        {
            UniqueImageList images = MakeImages(count);
            IconCacheReader reader;
            SharedImageList small;
            for (const auto& [name, object] :
                 {std::pair{L"IconS.lst", "ImageListS"}, std::pair{L"IconL.lst", "ImageListL"}}) {
                start = Clock::now();
                std::vector<std::uint8_t> icons = WriteImageListFile(images.get(), object);
                WriteFileAtomically(data + name, icons);
                write = Ms(start);
                start = Clock::now();
                SharedImageList loaded = reader.Read(data + name, small);
                std::printf("  %ls  %9zu bytes  write %8.1f ms  read %8.1f ms  (%d images back)\n", name,
                            icons.size(), write, Ms(start), ::ImageList_GetImageCount(loaded.get()));
                if (!small) {
                    small = std::move(loaded);
                }
            }
        }

        // The pictures of "IconS.lst" read by the program's band reader and by the system's reader, in
        // turn: the medians of five runs each.
        {
            const FileView file(data + L"IconS.lst");
            const ImageListCacheView cache = ReadImageListCacheView(file.bytes(), ImageListCache{});
            std::vector<double> bands;
            std::vector<double> system;
            for (int run = 0; run < 5; ++run) {
                start = Clock::now();
                UniqueImageList banded = LoadImageListStream(file, cache.bitmap);
                bands.push_back(Ms(start));
                banded.reset();
                start = Clock::now();
                Microsoft::WRL::ComPtr<IStream> stream = ReadOnlyStream(file, cache.bitmap);
                UniqueImageList read(::ImageList_Read(stream.Get()));
                system.push_back(Ms(start));
            }
            std::printf(
                "  IconS.lst pictures: band reader %8.1f ms   system's reader %8.1f ms   (medians of 5)\n",
                Median(bands), Median(system));
        }

        std::vector<std::wstring> history;
        for (int i = 0; i < 100; ++i) {
            history.push_back(L"検索 " + std::to_wstring(i));
        }
        start = Clock::now();
        std::vector<std::uint8_t> find = WriteFindHistory(history);
        WriteFileAtomically(data + L"Find.lst", find);
        write = Ms(start);
        start = Clock::now();
        auto entries = ReadFindHistory(ReadWholeFile(data + L"Find.lst"), DecodeAnsi);
        std::printf("  Find.lst   %9zu bytes  write %8.1f ms  read %8.1f ms  (%zu entries)\n", find.size(),
                    write, Ms(start), entries.size());

        // Where start-up goes, in this process: creating the window with and without the caches.
        for (bool withCaches : {false, true}) {
            test::TempDir empty;
            DataFolder = withCaches ? data : empty.path() + L"\\";
            start = Clock::now();
            TMainForm form(::GetModuleHandleW(nullptr), DataFolder);
            form.Create();
            std::printf("  in-process window creation %s %7.1f ms  (%zu rows)\n",
                        withCaches ? "with the caches   " : "with no caches    ", Ms(start),
                        form.List().Count());
        }

        // Start-up: the main window with its cached rows, and a bare window, one after the other in
        // each run; the medians of the runs, since a start under Wine varies by tens of milliseconds.
        // The same rows in a window of the same kinds of controls with nothing of the program
        // (orvane_controls_window) show what Wine itself takes for such a window.
        std::vector<double> orvanes;
        std::vector<double> bares;
        std::vector<double> floors;
        std::vector<double> ratios;
        std::vector<double> closes;
        std::vector<double> peaks;
        auto rowsShow = [&](HWND hwnd) {
            HWND listView = ::FindWindowExW(hwnd, nullptr, WC_LISTVIEWW, nullptr);
            return listView != nullptr && ::SendMessageW(listView, LVM_GETITEMCOUNT, 0, 0) == count;
        };
        // The first row shows its picture once the list's pictures have arrived.
        auto picturesShow = [&](HWND hwnd) {
            return e2e::RowImage(::FindWindowExW(hwnd, nullptr, WC_LISTVIEWW, nullptr), 0) >= 0;
        };
        auto always = [](HWND) { return true; };
        std::vector<double> pictures;
        for (int run = 0; run < startRuns; ++run) {
            StartAndClose orvane = TimeStart(folder + L"\\Orvane.exe", L"TMainForm", rowsShow, picturesShow);
            StartAndClose bare =
                TimeStart(folder + L"\\orvane_bare_window.exe", L"BareWindow", always, always);
            StartAndClose alone = TimeStart(folder + L"\\orvane_controls_window.exe", L"ControlsWindow",
                                            rowsShow, always, std::to_wstring(count));
            const double ratio = alone.start > 0 ? orvane.start / alone.start : 0.0;
            std::printf(
                "  start-up   Orvane's rows %7.0f ms, their pictures %7.0f ms   controls alone %7.0f ms"
                "   ratio %.2f   bare window %7.0f ms   Orvane's peak working set %.1f MB"
                "   Orvane's close %7.0f ms%s\n",
                orvane.start, orvane.complete, alone.start, ratio, bare.start, orvane.peakMb, orvane.close,
                orvane.close < 0 ? " (ended by force)" : "");
            orvanes.push_back(orvane.start);
            pictures.push_back(orvane.complete);
            bares.push_back(bare.start);
            floors.push_back(alone.start);
            ratios.push_back(ratio);
            closes.push_back(orvane.close);
            peaks.push_back(orvane.peakMb);
        }
        std::printf("  start-up   medians of %d runs: Orvane's rows %7.0f ms, their pictures %7.0f ms"
                    "   controls alone %7.0f ms   ratio %.2f   bare window %7.0f ms"
                    "   Orvane's peak working set %.1f MB   Orvane's close %7.0f ms\n",
                    startRuns, Median(orvanes), Median(pictures), Median(floors), Median(ratios),
                    Median(bares), Median(peaks), Median(closes));
    }
    return 0;
}
