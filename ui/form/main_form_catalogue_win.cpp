// TMainForm: the scan commands. The scan itself lives in the catalogue; the form shows its progress
// and keeps its rows and icons.
#include "ui/form/main_form_win.h"

#include "catalogue/scan_memo.h"
#include "catalogue/scan_win.h"
#include "ui/form/list_keys_win.h"

namespace orvane {

// Shows a scan's progress in the caption, the window icon and the cursor, and puts all three back, and
// lets the list redraw again, however the scan ends. The caption and icon change at most every
// kProgressIntervalMs: each change goes to the window manager (the icon's a few milliseconds), and at one
// per shortcut they cost more than reading the shortcuts; four a second still show the scan moving.
class ScanProgressScope {
public:
    explicit ScanProgressScope(TMainForm& form) : form_(form) {
        ::SetWindowTextW(form_.hwnd_, L"Orvane");
        previousCursor_ = ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
        form_.Rows().SetRedraw(false);
    }
    ScanProgressScope(const ScanProgressScope&) = delete;
    ScanProgressScope& operator=(const ScanProgressScope&) = delete;
    ~ScanProgressScope() {
        Finish();
        ::SetCursor(previousCursor_ != nullptr ? previousCursor_ : ::LoadCursorW(nullptr, IDC_ARROW));
        ::SetWindowTextW(form_.hwnd_, L"Orvane");
        ::SendMessageW(form_.hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(form_.appIcon_));
        ::SendMessageW(form_.hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(form_.appIconSmall_));
        form_.progressIcon_.reset();
    }

    void Show(const std::wstring& path) {
        showing_ = throttle_.Due(::GetTickCount64());
        if (showing_) {
            ::SetWindowTextW(form_.hwnd_, (L"Orvane - " + path).c_str());
            // Again with each caption, in case a notice of the reader put the arrow back meanwhile.
            ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
        }
    }
    // The window shows the icon of the shortcut whose path it shows; it keeps a copy of its own.
    void ShowIcon(HICON icon) {
        if (!showing_) {
            return;
        }
        UniqueIcon copy(::CopyIcon(icon));
        if (!copy) {
            return;
        }
        ::SendMessageW(form_.hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(copy.get()));
        ::SendMessageW(form_.hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(copy.get()));
        form_.progressIcon_ = std::move(copy);
    }
    // The rows read so far are shown, and the large image list gets the small list's pictures, however
    // the scan ends: one index must be valid in both lists, and the next start keeps every row's image.
    void Finish() {
        if (batch_) {
            batch_ = false;
            form_.Rows().ShareSmallImagesAsLarge();
            form_.Rows().Refresh();
            form_.Rows().SetRedraw(true);
        }
    }

private:
    TMainForm& form_;
    static constexpr unsigned long long kProgressIntervalMs = 250;
    HCURSOR previousCursor_ = nullptr;
    bool batch_ = true;
    ProgressThrottle throttle_{kProgressIntervalMs};
    bool showing_ = false;
};

void TMainForm::CollectShortcuts(bool exeOnly) {
    // A scan never starts inside another: the shortcut reader's error box runs a message loop.
    if (scanning_) {
        return;
    }
    scanning_ = true;
    struct ScanFlag {
        bool& flag;
        ~ScanFlag() { flag = false; }
    } scanFlag{scanning_};
    // Cached pictures still on their way would arrive over the scan's.
    TakeIconCaches();
    ::SetWindowTextW(hwnd_, L"Orvane");
    ShortcutListView& rows = Rows();
    rows.ClearSelection();
    list_.Clear();
    ListView_SetItemCountEx(rows.Handle(), 0, 0);
    rows.ClearImages();
    // The three lists hold this run's content now, also where their files could not be read at start.
    for (StoreFile file : {StoreFile::sfList, StoreFile::sfSmallIcons, StoreFile::sfLargeIcons}) {
        unread_.MarkRenewed(file);
    }
    {
        ScanProgressScope progress(*this);
        ScanCallbacks callbacks;
        callbacks.expect = [&](std::size_t count) { rows.ReserveSmallImages(count); };
        callbacks.progress = [&](const std::wstring& path) { progress.Show(path); };
        // An installer's restart manager may close the window while the reader's notice is up.
        callbacks.stopped = [this] { return hwnd_ == nullptr; };
        callbacks.addRow = [&](ShortcutRow row, HICON icon) {
            row.imageIndex = -1;
            if (icon != nullptr) {
                // The large list gets the same pictures in one copy at the end of the scan.
                row.imageIndex = rows.AddSmallImage(icon);
                progress.ShowIcon(icon);
            }
            list_.Add(std::move(row));
        };
        ScanStartMenus(*MakeShortCuts, callbacks);
        progress.Finish();
        if (exeOnly) {
            // The images of removed rows stay, so the remaining indexes stay valid.
            list_.RemoveNonExeRows();
            rows.Refresh();
        }
    }
    if (hwnd_ == nullptr) {
        return;
    }
    list_.MListViewSort = 0;
    ListViewColumnClick(0);
    // The other columns' keys and the search texts too, while the hourglass still shows.
    PrepareListKeys(list_);
}

void TMainForm::TBGetClick() {
    CollectShortcuts(false);
    if (hwnd_ != nullptr) {
        ListViewClick();
    }
}

void TMainForm::TBGetExeClick() {
    CollectShortcuts(true);
    if (hwnd_ != nullptr) {
        ListViewClick();
    }
}

} // namespace orvane
