// TMainForm: the scan commands. The scan itself lives in the catalogue; the form shows its progress
// and keeps its rows and icons.
#include "ui/main_form_win.h"

#include "catalogue/scan_win.h"

namespace orvane {

// Shows a scan's progress in the caption, the window icon and the cursor, and puts all three back, and
// lets the list redraw again, however the scan ends.
class ScanProgressScope {
public:
    explicit ScanProgressScope(TMainForm& form) : form_(form) {
        ::SetWindowTextW(form_.hwnd_, L"Orvane");
        previousCursor_ = ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
        ::SendMessageW(form_.ListView, WM_SETREDRAW, FALSE, 0);
    }
    ScanProgressScope(const ScanProgressScope&) = delete;
    ScanProgressScope& operator=(const ScanProgressScope&) = delete;
    ~ScanProgressScope() {
        EndBatch();
        ::SetCursor(previousCursor_ != nullptr ? previousCursor_ : ::LoadCursorW(nullptr, IDC_ARROW));
        ::SetWindowTextW(form_.hwnd_, L"Orvane");
        ::SendMessageW(form_.hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(form_.appIcon_));
        ::SendMessageW(form_.hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(form_.appIcon_));
        form_.progressIcon_.reset();
    }

    void Show(const std::wstring& path) {
        ::SetWindowTextW(form_.hwnd_, (L"Orvane - " + path).c_str());
        ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
    }
    // The window shows the icon of the shortcut being read; it keeps a copy of its own.
    void ShowIcon(HICON icon) {
        UniqueIcon copy(::CopyIcon(icon));
        if (!copy) {
            return;
        }
        ::SendMessageW(form_.hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(copy.get()));
        ::SendMessageW(form_.hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(copy.get()));
        form_.progressIcon_ = std::move(copy);
    }
    void EndBatch() {
        if (batch_) {
            batch_ = false;
            form_.RefreshListView();
            ::SendMessageW(form_.ListView, WM_SETREDRAW, TRUE, 0);
            ::InvalidateRect(form_.ListView, nullptr, TRUE);
        }
    }

private:
    TMainForm& form_;
    HCURSOR previousCursor_ = nullptr;
    bool batch_ = true;
};

void TMainForm::CollectShortcuts(bool exeOnly) {
    ::SetWindowTextW(hwnd_, L"Orvane");
    ClearSelection();
    list_.Clear();
    ListView_SetItemCountEx(ListView, 0, 0);
    ::ImageList_RemoveAll(ImageListS.get());
    ::ImageList_RemoveAll(ImageListL.get());
    {
        ScanProgressScope progress(*this);
        ScanCallbacks callbacks;
        callbacks.progress = [&](const std::wstring& path) { progress.Show(path); };
        callbacks.addRow = [&](ShortcutRow row, UniqueIcon icon) {
            row.imageIndex = -1;
            if (icon) {
                int small = ::ImageList_AddIcon(ImageListS.get(), icon.get());
                if (small >= 0 && ::ImageList_AddIcon(ImageListL.get(), icon.get()) >= 0) {
                    row.imageIndex = ::ImageList_GetImageCount(ImageListS.get()) - 1;
                } else if (small >= 0) {
                    // Both lists must keep the same count, so one index is valid in both.
                    ::ImageList_Remove(ImageListS.get(), small);
                }
                progress.ShowIcon(icon.get());
            }
            list_.Add(std::move(row));
        };
        ScanStartMenus(*MakeShortCuts, callbacks);
        progress.EndBatch();
        if (exeOnly) {
            // The images of removed rows stay, so the remaining indexes stay valid.
            list_.RemoveNonExeRows();
            RefreshListView();
        }
    }
    list_.MListViewSort = 0;
    ListViewColumnClick(0);
}

void TMainForm::TBGetClick() {
    CollectShortcuts(false);
    ListViewClick();
}

void TMainForm::TBGetExeClick() {
    CollectShortcuts(true);
    ListViewClick();
}

} // namespace orvane
