// TMainForm: the settings file and the four cache files, read once while the window is created and
// written once when it closes.
#include "ui/form/main_form_win.h"

#include "store/ansi_code_page_win.h"
#include "store/atomic_file_win.h"
#include "store/find_history.h"
#include "store/icons/icon_cache_preload_win.h"
#include "store/icons/image_list_cache.h"
#include "store/icons/image_list_stream_win.h"
#include "store/list_cache.h"
#include "store/settings.h"
#include "system/folders_win.h"
#include "system/placement_win.h"
#include "ui/controls/error_report_win.h"
#include "ui/form/list_keys_win.h"

#include <new>
#include <stdexcept>
#include <utility>

namespace orvane {
namespace {

constexpr std::uint32_t kSystemColorFlag = 0xFF000000;

IniFile OpenSettings(const std::wstring& path) {
    if (!Norrow::IsExistingFile(path)) {
        return IniFile(SystemAnsiCodec());
    }
    std::vector<std::uint8_t> bytes = ReadWholeFile(path);
    return IniFile::Parse(bytes, SystemAnsiCodec());
}

} // namespace

std::wstring TMainForm::DataFile(const wchar_t* name) const {
    return dataFolder_ + name;
}

void TMainForm::ReadSettings() {
    // What a missing key keeps: the window's place as the system gave it, at the design size.
    RECT window{};
    ::GetWindowRect(hwnd_, &window);
    const SIZE design = DesignFrameSize();
    Settings defaults;
    defaults.fontSize = Rows().FontSize();
    defaults.left = window.left;
    defaults.top = window.top;
    defaults.width = design.cx;
    defaults.height = design.cy;

    const Settings settings = Settings::Read(OpenSettings(DataFile(kSettingsFileName)), defaults);

    ::CheckMenuRadioItem(PPMenuColor.get(), idPPColor0, idPPColor2,
                         MPPColor[static_cast<std::size_t>(settings.style)], MF_BYCOMMAND);
    ApplyColorScheme(settings.style);
    Tools().SetReportDown(settings.report);
    for (int column = 0; column < kColumnCount; ++column) {
        Rows().SetColumnWidth(column, settings.columnWidths[static_cast<std::size_t>(column)]);
    }
    list_.MListViewSort = settings.columnSort;
    list_.MColumnIndex = settings.columnIndex;
    list_.Normalize();
    Rows().SetFontSize(settings.fontSize);
    startMaximised_ = settings.maximised;
    if (!settings.maximised) {
        restoredBounds_ =
            RECT{settings.left, settings.top, settings.left + settings.width, settings.top + settings.height};
        hasRestoredBounds_ = true;
    }
}

void TMainForm::ReadStoreFile(StoreFile file, const std::function<void()>& read) {
    try {
        read();
    } catch (...) {
        // Reported as the general error report; the other files are still read, and this one is left
        // as it is at close unless this run makes new content for it.
        unread_.MarkUnread(file);
        ShowGeneralErrorReport(hwnd_);
    }
}

void TMainForm::LoadCaches() {
    // The rows show before their pictures, which are read once the rows are on screen
    // (AwaitIconCaches).
    ReadStoreFile(StoreFile::sfList, [this] { ReadListFile(); });
    ShowCachedRows();
    ReadStoreFile(StoreFile::sfHistory, [this] { ReadHistoryFile(); });
}

void TMainForm::ReadListFile() {
    const std::wstring path = DataFile(kListCacheFileName);
    if (!Norrow::IsExistingFile(path)) {
        return;
    }
    // Read through ReadFile rather than a mapping: a disk or network folder that fails mid-read gives
    // a read error, not a fault in a mapped page.
    const std::vector<std::uint8_t> bytes = ReadWholeFile(path);
    try {
        ApplyListCache(ReadListCache(bytes, CurrentListCache()));
    } catch (const StreamError&) {
        // A damaged cache gives an empty list; the window then asks for a scan.
        list_.Clear();
    } catch (const std::bad_alloc&) {
        // So does one whose content would take more memory than there is.
        list_.Clear();
    }
}

void TMainForm::ReadHistoryFile() {
    const std::wstring path = DataFile(kFindHistoryFileName);
    if (!Norrow::IsExistingFile(path)) {
        return;
    }
    history_ = ReadFindHistory(ReadWholeFile(path), DecodeAnsi);
    // The box's list is not part of the first picture, and filling it costs a message per entry: it is
    // filled once the window is on screen, and still before any input, which the message loop hands
    // out only after posted messages.
    ::PostMessageW(hwnd_, kFillSearchHistory, 0, 0);
}

void TMainForm::ShowCachedRows() {
    Rows().Refresh();
    PrepareListKeysWhenIdle(keySteps_, hwnd_, list_);
}

void TMainForm::TakeIconCaches() {
    if (!iconCachesPending_) {
        return;
    }
    iconCachesPending_ = false;
    IconCacheLists icons = iconsAhead_ ? iconsAhead_->Take()
                                       : ReadIconCacheFiles(DataFile(kSmallIconCacheFileName),
                                                            DataFile(kLargeIconCacheFileName));
    iconsAhead_.reset();
    // A list without rows has no pictures: the window cleared both lists when it was first shown.
    if (!list_.Empty()) {
        if (icons.small.list) {
            Rows().ReplaceImages(LVSIL_SMALL, std::move(*icons.small.list));
        }
        if (icons.large.list) {
            Rows().ReplaceImages(LVSIL_NORMAL, std::move(*icons.large.list));
        }
        Rows().Refresh();
    }
    for (auto [file, error] : {std::pair{StoreFile::sfSmallIcons, icons.small.error},
                               std::pair{StoreFile::sfLargeIcons, icons.large.error}}) {
        if (error) {
            ReadStoreFile(file, [&error] { std::rethrow_exception(error); });
        }
    }
}

void TMainForm::AwaitIconCaches() {
    if (!iconCachesPending_) {
        return;
    }
    // Read while the window's creation and first picture run, the pictures took the processor from
    // them: the rows showed later than the rows and their pictures do now one after the other.
    iconsAhead_.emplace(DataFile(kSmallIconCacheFileName), DataFile(kLargeIconCacheFileName));
    // Only what draws the window and what other threads send to it is handled meanwhile: input waits
    // in the queue until the pictures are in place.
    while (!iconsAhead_->IsRead() && hwnd_ != nullptr) {
        HANDLE ready = iconsAhead_->Ready();
        ::MsgWaitForMultipleObjects(1, &ready, FALSE, INFINITE, QS_SENDMESSAGE | QS_PAINT);
        MSG message{};
        while (hwnd_ != nullptr && ::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE | PM_QS_PAINT)) {
            ::DispatchMessageW(&message);
        }
    }
    TakeIconCaches();
}

ListCache TMainForm::CurrentListCache() const {
    ListCache cache;
    auto captions = list_.HeaderCaptions();
    for (int column = 0; column < kColumnCount; ++column) {
        ListColumn entry;
        entry.caption = captions[static_cast<std::size_t>(column)];
        entry.width = Rows().ColumnWidth(column);
        entry.alignment = kColumnRightAligned[static_cast<std::size_t>(column)]
                              ? ColumnAlignment::taRightJustify
                              : ColumnAlignment::taLeftJustify;
        cache.columns.push_back(entry);
    }
    cache.viewStyle = Tools().IsReportDown() ? ListViewStyle::vsReport : ListViewStyle::vsList;
    if (Rows().HasOwnFont()) {
        ListFont font;
        font.name = Rows().OwnFont().lfFaceName;
        font.size = Rows().FontSize();
        const COLORREF color = Rows().OwnFontColor();
        font.color = color == CLR_DEFAULT ? kWindowTextColor : static_cast<std::uint32_t>(color);
        cache.font = font;
    }
    cache.smallImages = kSmallImageListName;
    cache.largeImages = kLargeImageListName;
    cache.rows = list_.Rows();
    return cache;
}

void TMainForm::ApplyListCache(ListCache cache) {
    // The widths saved with the list replace those of the settings file; the captions are written anew
    // when the window is shown.
    for (std::size_t column = 0; column < cache.columns.size() && column < kColumnCount; ++column) {
        Rows().SetColumnWidth(static_cast<int>(column), cache.columns[column].width);
    }
    if (cache.font) {
        Rows().TakeFont(cache.font->name, cache.font->size,
                        (cache.font->color & kSystemColorFlag) != 0
                            ? CLR_DEFAULT
                            : static_cast<COLORREF>(cache.font->color));
    }
    list_.Assign(std::move(cache.rows));
}

void TMainForm::SaveSettings() {
    if (!unread_.MayWrite(StoreFile::sfSettings)) {
        return;
    }
    IniFile ini = OpenSettings(DataFile(kSettingsFileName));
    Settings settings;
    // A minimised window keeps the rectangle it returns to, not the parked icon's.
    Norrow::RestoredPlacement placement;
    if (!Norrow::GetRestoredPlacement(hwnd_, placement)) {
        throw std::runtime_error("The window's placement cannot be read");
    }
    settings.maximised = placement.maximised;
    if (!settings.maximised) {
        settings.left = placement.bounds.left;
        settings.top = placement.bounds.top;
        settings.width = placement.bounds.right - placement.bounds.left;
        settings.height = placement.bounds.bottom - placement.bounds.top;
    }
    settings.report = Tools().IsReportDown();
    for (int column = 0; column < kColumnCount; ++column) {
        settings.columnWidths[static_cast<std::size_t>(column)] = Rows().ColumnWidth(column);
    }
    settings.columnSort = list_.MListViewSort;
    settings.columnIndex = list_.MColumnIndex;
    settings.fontSize = Rows().FontSize();
    settings.style = CheckedScheme();
    settings.Write(ini);
    WriteFileAtomically(DataFile(kSettingsFileName), ini.Serialize());
}

void TMainForm::SaveCaches() {
    // Pictures still being read are the caches' as well: they are written, not an empty list.
    TakeIconCaches();
    if (unread_.MayWrite(StoreFile::sfList)) {
        WriteFileAtomically(DataFile(kListCacheFileName), WriteListCache(CurrentListCache()));
    }
    const bool small = unread_.MayWrite(StoreFile::sfSmallIcons);
    const bool large = unread_.MayWrite(StoreFile::sfLargeIcons);
    // During a scan (a session that ends while the reader's notice is up) the large list gets the
    // small one's pictures only at the scan's end; the rows' indexes are the small list's already.
    const HIMAGELIST largeImages = scanning_ ? Rows().SmallImages() : Rows().LargeImages();
    std::optional<ImageListCache> icons;
    if (small) {
        icons = ImageListCacheOf(Rows().SmallImages(), kSmallImageListName);
        WriteFileAtomically(DataFile(kSmallIconCacheFileName), WriteImageListCache(*icons));
    }
    if (large) {
        // The large list is usually the small one itself: its pictures are then taken from the list once.
        if (!icons || largeImages != Rows().SmallImages()) {
            icons = ImageListCacheOf(largeImages, kLargeImageListName);
        }
        icons->name = kLargeImageListName;
        WriteFileAtomically(DataFile(kLargeIconCacheFileName), WriteImageListCache(*icons));
    }
    if (unread_.MayWrite(StoreFile::sfHistory)) {
        WriteFileAtomically(DataFile(kFindHistoryFileName), WriteFindHistory(history_));
    }
}

} // namespace orvane
