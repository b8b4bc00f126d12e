// TMainForm: the settings file and the four cache files, read once while the window is created and
// written once when it closes.
#include "ui/main_form_win.h"

#include "store/ansi_code_page_win.h"
#include "store/atomic_file_win.h"
#include "store/file_view_win.h"
#include "store/find_history.h"
#include "store/icon_cache_preload_win.h"
#include "store/image_list_cache.h"
#include "store/image_list_stream_win.h"
#include "store/list_cache.h"
#include "store/settings.h"
#include "system/folders_win.h"
#include "system/placement_win.h"
#include "ui/list_keys_win.h"

#include <stdexcept>

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
    RECT window{};
    ::GetWindowRect(hwnd_, &window);
    Settings defaults;
    defaults.fontSize = Rows().FontSize();
    defaults.left = window.left;
    defaults.top = window.top;
    defaults.width = window.right - window.left;
    defaults.height = window.bottom - window.top;

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

void TMainForm::LoadCaches() {
    const std::wstring listPath = DataFile(kListCacheFileName);
    if (Norrow::IsExistingFile(listPath)) {
        const FileView file(listPath);
        try {
            ApplyListCache(ReadListCache(file.bytes(), CurrentListCache()));
        } catch (const StreamError&) {
            // A damaged cache gives an empty list; the window then asks for a scan.
            list_.Clear();
        }
    }
    IconCacheLists icons = TakeIconCaches();
    if (icons.small) {
        Rows().ReplaceImages(LVSIL_SMALL, std::move(*icons.small));
    }
    if (icons.large) {
        Rows().ReplaceImages(LVSIL_NORMAL, std::move(*icons.large));
    }
    ShowCachedRows();
    if (icons.error) {
        // An icon file that cannot be opened is reported and ends loading, but the rows already read
        // are shown.
        std::rethrow_exception(icons.error);
    }

    const std::wstring historyPath = DataFile(kFindHistoryFileName);
    if (Norrow::IsExistingFile(historyPath)) {
        history_ = ReadFindHistory(ReadWholeFile(historyPath), DecodeAnsi);
        // The box's list is not part of the first picture, and filling it costs a message per entry:
        // it is filled once the window is on screen, and still before any input, which the message
        // loop hands out only after posted messages.
        ::PostMessageW(hwnd_, kFillSearchHistory, 0, 0);
    }
}

void TMainForm::ShowCachedRows() {
    // The three files need not belong together: an index the image lists cannot show is no image.
    list_.LimitImageIndexes(Rows().ImageCount());
    Rows().Refresh();
    PrepareListKeysWhenIdle(keySteps_, hwnd_, list_);
}

void TMainForm::StartReadingIconCaches() {
    iconsAhead_.emplace(DataFile(kSmallIconCacheFileName), DataFile(kLargeIconCacheFileName));
}

IconCacheLists TMainForm::TakeIconCaches() {
    if (iconsAhead_) {
        IconCacheLists lists = iconsAhead_->Take();
        iconsAhead_.reset();
        return lists;
    }
    return ReadIconCacheFiles(DataFile(kSmallIconCacheFileName), DataFile(kLargeIconCacheFileName));
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
    WriteFileAtomically(DataFile(kListCacheFileName), WriteListCache(CurrentListCache()));
    ImageListCache icons = ImageListCacheOf(Rows().SmallImages(), kSmallImageListName);
    WriteFileAtomically(DataFile(kSmallIconCacheFileName), WriteImageListCache(icons));
    // The large list is usually the small one itself: its pictures are then taken from the list once.
    if (Rows().LargeImages() != Rows().SmallImages()) {
        icons = ImageListCacheOf(Rows().LargeImages(), kLargeImageListName);
    }
    icons.name = kLargeImageListName;
    WriteFileAtomically(DataFile(kLargeIconCacheFileName), WriteImageListCache(icons));
    WriteFileAtomically(DataFile(kFindHistoryFileName), WriteFindHistory(history_));
}

} // namespace orvane
