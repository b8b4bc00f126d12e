#include "ui/controls/shortcut_list_view_win.h"

#include "store/list_cache.h"
#include "ui/controls/collation_win.h"
#include "ui/model/command_ids.h"
#include "ui/model/list_rules.h"
#include "ui/controls/wait_cursor_win.h"

#include <windowsx.h>

#include <algorithm>
#include <utility>

namespace orvane {
namespace {

constexpr UINT_PTR kSubclassId = 1;
constexpr int kInitialColumnWidth = 300;
constexpr int kHintWidth = 800;

// An empty list of 32 x 32 pictures with room for that many before it grows, by 64 at a time; null
// when the room cannot be had.
SharedImageList EmptyImageList(int room = 0) {
    return ShareImageList(UniqueImageList(::ImageList_Create(32, 32, ILC_COLOR32 | ILC_MASK, room, 64)));
}

} // namespace

ShortcutListView::ShortcutListView(HWND parent, HINSTANCE instance, UINT dpi, const ShortcutList& model,
                                   ShortcutListViewEvents& events, std::function<COLORREF()> schemeTextColor)
    : model_(model), events_(events), schemeTextColor_(std::move(schemeTextColor)), dpi_(dpi),
      parent_(parent), ImageListS(EmptyImageList()), ImageListL(ImageListS) {
    ListView = ::CreateWindowExW(
        WS_EX_CLIENTEDGE, WC_LISTVIEWW, nullptr,
        WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS | LVS_REPORT | LVS_SINGLESEL | LVS_OWNERDATA |
            LVS_SHAREIMAGELISTS,
        0, 0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(idListView)), instance, nullptr);
    ListView_SetExtendedListViewStyle(ListView, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT |
                                                    LVS_EX_DOUBLEBUFFER | LVS_EX_FLATSB);
    subclass_.emplace(ListView, kSubclassId, [this](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        return OnMessage(hwnd, message, wParam, lParam);
    });
    ListView_SetImageList(ListView, ImageListS.get(), LVSIL_SMALL);
    ListView_SetImageList(ListView, ImageListL.get(), LVSIL_NORMAL);
    COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    ListView_SetBkColor(ListView, face);
    ListView_SetTextBkColor(ListView, face);
    CreateColumns();
    CreateHint(parent, instance);
}

void ShortcutListView::CreateColumns() {
    for (int column = 0; column < kColumnCount; ++column) {
        LVCOLUMNW lvc{};
        lvc.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
        lvc.fmt = kColumnRightAligned[static_cast<std::size_t>(column)] ? LVCFMT_RIGHT : LVCFMT_LEFT;
        lvc.cx = Scale(kInitialColumnWidth);
        lvc.pszText = const_cast<wchar_t*>(kColumnCaptions[static_cast<std::size_t>(column)].c_str());
        lvc.iSubItem = column;
        ListView_InsertColumn(ListView, column, &lvc);
    }
}

void ShortcutListView::CreateHint(HWND owner, HINSTANCE instance) {
    hintWindow_ = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                    WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                                    CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, instance, nullptr);
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = owner;
    tool.uId = reinterpret_cast<UINT_PTR>(ListView);
    tool.lpszText = LPSTR_TEXTCALLBACKW;
    ::SendMessageW(hintWindow_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    ::SendMessageW(hintWindow_, TTM_SETMAXTIPWIDTH, 0, Scale(kHintWidth));
    // The hints start switched off; the pointer over a row switches them on.
    ::SendMessageW(hintWindow_, TTM_ACTIVATE, FALSE, 0);
}

void ShortcutListView::SetDpi(UINT dpi) {
    dpi_ = dpi;
    ::SendMessageW(hintWindow_, TTM_SETMAXTIPWIDTH, 0, Scale(kHintWidth));
}

LRESULT ShortcutListView::OnMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_RBUTTONDOWN: {
        // The list selects the row under the pointer first; the Shift state is the press's own.
        LRESULT result = ::DefSubclassProc(hwnd, message, wParam, lParam);
        // The press selects the row under the pointer, also with Shift held (some list controls leave
        // the selection alone for Shift+right press).
        LVHITTESTINFO hit{};
        hit.pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        int row = ListView_HitTest(hwnd, &hit);
        if (row >= 0 && (hit.flags & LVHT_ONITEM) != 0 &&
            (ListView_GetItemState(hwnd, row, LVIS_SELECTED) & LVIS_SELECTED) == 0) {
            ListView_SetItemState(hwnd, -1, 0, LVIS_SELECTED);
            ListView_SetItemState(hwnd, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        }
        POINT at{};
        ::GetCursorPos(&at);
        events_.ListViewMouseDown((wParam & MK_SHIFT) != 0, at);
        return result;
    }
    case WM_MOUSEMOVE: {
        // Told when the pointer leaves the list, so the hint stops following it.
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd, 0};
        ::TrackMouseEvent(&track);
        events_.ListViewMouseMove(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        break;
    }
    case WM_MOUSELEAVE:
        events_.ListViewMouseLeave();
        break;
    case WM_NCDESTROY:
        ListView = nullptr;
        break;
    default:
        break;
    }
    return ::DefSubclassProc(hwnd, message, wParam, lParam);
}

LRESULT ShortcutListView::OnNotify(const NMHDR& header) {
    switch (header.code) {
    case LVN_GETDISPINFOW:
        OnGetDispInfo(*reinterpret_cast<NMLVDISPINFOW*>(const_cast<NMHDR*>(&header)));
        return 0;
    case LVN_ODFINDITEMW:
        return OnFindItem(*reinterpret_cast<const NMLVFINDITEMW*>(&header));
    case LVN_ITEMCHANGED: {
        const auto& change = *reinterpret_cast<const NMLISTVIEW*>(&header);
        if ((change.uChanged & LVIF_STATE) != 0 &&
            ((change.uOldState ^ change.uNewState) & LVIS_SELECTED) != 0) {
            events_.ListViewSelectItem();
        }
        return 0;
    }
    case LVN_ODSTATECHANGED:
        events_.ListViewSelectItem();
        return 0;
    case NM_CLICK:
        events_.ListViewClick();
        return 0;
    case NM_SETFOCUS:
        FocusFirstRowIfNone();
        return 0;
    case NM_DBLCLK:
        events_.ListViewDblClick();
        return 0;
    case LVN_KEYDOWN:
        events_.ListViewKeyDown(reinterpret_cast<const NMLVKEYDOWN*>(&header)->wVKey);
        return 0;
    case LVN_COLUMNCLICK:
        if (headerClicks_) {
            events_.ListViewColumnClick(reinterpret_cast<const NMLISTVIEW*>(&header)->iSubItem);
        }
        return 0;
    default:
        return 0;
    }
}

void ShortcutListView::OnGetDispInfo(NMLVDISPINFOW& info) const {
    LVITEMW& item = info.item;
    if (item.iItem < 0 || static_cast<std::size_t>(item.iItem) >= model_.Count()) {
        return;
    }
    const ShortcutRow& row = model_.Row(static_cast<std::size_t>(item.iItem));
    if ((item.mask & LVIF_TEXT) != 0 && item.pszText != nullptr && item.cchTextMax > 0) {
        const std::wstring& text = ShortcutList::CellText(row, item.iSubItem);
        std::size_t count = std::min(text.size(), static_cast<std::size_t>(item.cchTextMax - 1));
        text.copy(item.pszText, count);
        item.pszText[count] = L'\0';
    }
    if ((item.mask & LVIF_IMAGE) != 0 && item.iSubItem == 0) {
        // Both views draw from the small list. The cache files need not belong together: an index it
        // cannot draw is no image on screen, and the row keeps it for the next start.
        const int index = UsableImageIndex(row.imageIndex, ::ImageList_GetImageCount(ImageListS.get()));
        item.iImage = index >= 0 ? index : I_IMAGENONE;
    }
}

int ShortcutListView::OnFindItem(const NMLVFINDITEMW& find) const {
    // Type-ahead in the list: the next row whose caption begins with the typed text.
    if ((find.lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) == 0 || find.lvfi.psz == nullptr) {
        return -1;
    }
    std::optional<std::size_t> row =
        FindRowByTypedText(model_.Rows(), find.iStart >= 0 ? static_cast<std::size_t>(find.iStart) : 0,
                           find.lvfi.psz, UpperCaseText);
    return row ? static_cast<int>(*row) : -1;
}

void ShortcutListView::FocusFirstRowIfNone() {
    // A list that takes the focus shows where it is: with no row focused, the first one is.
    if (model_.Count() > 0 && ListView_GetNextItem(ListView, -1, LVNI_FOCUSED) < 0) {
        ListView_SetItemState(ListView, 0, LVIS_FOCUSED, LVIS_FOCUSED);
    }
}

void ShortcutListView::Refresh() {
    ListView_SetItemCountEx(ListView, static_cast<int>(model_.Count()), 0);
    ::InvalidateRect(ListView, nullptr, TRUE);
}

void ShortcutListView::SetRedraw(bool on) {
    ::SendMessageW(ListView, WM_SETREDRAW, on ? TRUE : FALSE, 0);
    if (on) {
        ::InvalidateRect(ListView, nullptr, TRUE);
    }
}

void ShortcutListView::RebuildHeader() {
    auto captions = model_.HeaderCaptions();
    for (int column = 0; column < kColumnCount; ++column) {
        LVCOLUMNW lvc{};
        lvc.mask = LVCF_TEXT;
        lvc.pszText = captions[static_cast<std::size_t>(column)].data();
        ListView_SetColumn(ListView, column, &lvc);
    }
}

int ShortcutListView::ColumnWidth(int column) const {
    // The column's own width: LVM_GETCOLUMNWIDTH would give the list view's column width instead
    // while the list is in list view.
    LVCOLUMNW lvc{};
    lvc.mask = LVCF_WIDTH;
    return ListView_GetColumn(ListView, column, &lvc) ? lvc.cx : 0;
}

void ShortcutListView::SetColumnWidth(int column, int width) {
    LVCOLUMNW lvc{};
    lvc.mask = LVCF_WIDTH;
    lvc.cx = width;
    ListView_SetColumn(ListView, column, &lvc);
}

int ShortcutListView::SelectedIndex() const {
    return ListView_GetNextItem(ListView, -1, LVNI_SELECTED);
}

void ShortcutListView::SelectRow(int index) {
    ListView_SetItemState(ListView, index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

void ShortcutListView::ClearSelection() {
    // The list selects one row at most, so only that row is told; the all-rows form of the request
    // visits every row, which made each search step cost as much as the list is long.
    const int count = ListView_GetItemCount(ListView);
    for (int i = 0; i < count; ++i) {
        const int row = SelectedIndex();
        if (row < 0) {
            break;
        }
        ListView_SetItemState(ListView, row, 0, LVIS_SELECTED);
    }
}

void ShortcutListView::MoveSelection(int from, int to) {
    if (to != from) {
        ListView_SetItemState(ListView, from, 0, LVIS_SELECTED | LVIS_FOCUSED);
        SelectRow(to);
    }
}

void ShortcutListView::ScrollRowToTop(int index) {
    ListView_EnsureVisible(ListView, index, FALSE);
    int top = ListView_GetTopIndex(ListView);
    if (top != index) {
        RECT hitRect{};
        RECT topRect{};
        ListView_GetItemRect(ListView, index, &hitRect, LVIR_BOUNDS);
        ListView_GetItemRect(ListView, top, &topRect, LVIR_BOUNDS);
        ListView_Scroll(ListView, 0, hitRect.top - topRect.top);
    }
}

POINT ShortcutListView::RowAnchor(int index) {
    ListView_EnsureVisible(ListView, index, FALSE);
    RECT row{};
    ListView_GetItemRect(ListView, index, &row, LVIR_LABEL);
    POINT at{row.left + (row.bottom - row.top) / 2, row.top + (row.bottom - row.top) / 2};
    ::ClientToScreen(ListView, &at);
    return at;
}

int ShortcutListView::RowAt(POINT client) const {
    LVHITTESTINFO hit{};
    hit.pt = client;
    int index = ListView_SubItemHitTest(ListView, &hit);
    if (index < 0 || static_cast<std::size_t>(index) >= model_.Count() || (hit.flags & LVHT_ONITEM) == 0) {
        return -1;
    }
    return index;
}

void ShortcutListView::ClearImages() {
    ::ImageList_RemoveAll(ImageListS.get());
    if (ImageListL != ImageListS) {
        ::ImageList_RemoveAll(ImageListL.get());
    }
}

void ShortcutListView::ReserveSmallImages(std::size_t count) {
    constexpr std::size_t kMostRoom = 65536; // 256 MB of pictures; beyond that the list grows as it goes
    if (count == 0 || ::ImageList_GetImageCount(ImageListS.get()) != 0) {
        return;
    }
    SharedImageList room = EmptyImageList(static_cast<int>(std::min(count, kMostRoom)));
    if (room) {
        ReplaceImages(LVSIL_SMALL, std::move(room));
    }
}

int ShortcutListView::AddSmallImage(HICON icon) {
    if (::ImageList_AddIcon(ImageListS.get(), icon) < 0) {
        return -1;
    }
    return ::ImageList_GetImageCount(ImageListS.get()) - 1;
}

void ShortcutListView::ShareSmallImagesAsLarge() {
    // Both lists hold the same pictures at the same size, so one index is valid in both; nothing
    // changes the pictures of one list alone, so one list serves as both.
    ReplaceImages(LVSIL_NORMAL, ImageListS);
}

void ShortcutListView::ReplaceImages(int which, SharedImageList images) {
    SharedImageList& target = which == LVSIL_SMALL ? ImageListS : ImageListL;
    // A list that empties is a new empty one: the old one may still serve as the other list.
    target = images ? std::move(images) : EmptyImageList();
    ListView_SetImageList(ListView, target.get(), which);
}

void ShortcutListView::SetStyle(bool report) {
    ListView_SetView(ListView, report ? LV_VIEW_DETAILS : LV_VIEW_LIST);
}

void ShortcutListView::ApplyViewMode(bool report) {
    WaitCursor wait;
    ClearSelection();
    // Changing the font size up and back makes the list lay its rows out anew for the new view.
    int size = FontSize();
    SetFontSize(size + 1);
    SetStyle(report);
    SetFontSize(size);
    ::InvalidateRect(ListView, nullptr, TRUE);
    ::UpdateWindow(ListView);
    headerClicks_ = report;
    HWND header = ListView_GetHeader(ListView);
    if (header != nullptr) {
        LONG_PTR style = ::GetWindowLongPtrW(header, GWL_STYLE);
        style = report ? (style | HDS_BUTTONS) : (style & ~static_cast<LONG_PTR>(HDS_BUTTONS));
        ::SetWindowLongPtrW(header, GWL_STYLE, style);
    }
}

void ShortcutListView::TakeWindowFont(HFONT font, const LOGFONTW& info, UINT dpi) {
    windowFont_ = font;
    windowFontInfo_ = info;
    dpi_ = dpi;
}

int ShortcutListView::FontSize() const {
    const LOGFONTW& font = hasOwnFont_ ? ownFontInfo_ : windowFontInfo_;
    int height = font.lfHeight < 0 ? -font.lfHeight : font.lfHeight;
    return ::MulDiv(height, 72, static_cast<int>(dpi_));
}

void ShortcutListView::SetFontSize(int points) {
    if (!hasOwnFont_) {
        ownFontInfo_ = windowFontInfo_;
        hasOwnFont_ = true;
    }
    ownFontInfo_.lfHeight = -::MulDiv(points, static_cast<int>(dpi_), 72);
    ApplyFont();
}

void ShortcutListView::UseOwnFont(COLORREF color) {
    int size = FontSize();
    if (!hasOwnFont_) {
        ownFontInfo_ = windowFontInfo_;
        hasOwnFont_ = true;
    }
    ::wcscpy_s(ownFontInfo_.lfFaceName, windowFontInfo_.lfFaceName);
    ownFontInfo_.lfHeight = -::MulDiv(size, static_cast<int>(dpi_), 72);
    ownFontColor_ = color;
}

void ShortcutListView::FollowWindowFont() {
    hasOwnFont_ = false;
    ownFontColor_ = CLR_DEFAULT;
}

void ShortcutListView::TakeFont(const std::wstring& name, int points, COLORREF color) {
    if (!hasOwnFont_) {
        ownFontInfo_ = windowFontInfo_;
        hasOwnFont_ = true;
    }
    if (!name.empty() && name.size() < LF_FACESIZE) {
        ::wcscpy_s(ownFontInfo_.lfFaceName, name.c_str());
    }
    ownFontInfo_.lfHeight = -::MulDiv(points, static_cast<int>(dpi_), 72);
    ownFontColor_ = color;
    ApplyFont();
}

void ShortcutListView::ApplyFont() {
    HFONT font = windowFont_;
    if (hasOwnFont_) {
        ownFont_.reset(::CreateFontIndirectW(&ownFontInfo_));
        font = ownFont_.get();
    } else {
        ownFont_.reset();
    }
    ::SendMessageW(ListView, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    COLORREF color = hasOwnFont_ && ownFontColor_ != CLR_DEFAULT ? ownFontColor_ : schemeTextColor_();
    ListView_SetTextColor(ListView, color);
    ::InvalidateRect(ListView, nullptr, TRUE);
}

void ShortcutListView::ShowHint(std::wstring text) {
    if (hint_.Show(std::move(text))) {
        ::SendMessageW(hintWindow_, TTM_ACTIVATE, TRUE, 0);
    }
}

void ShortcutListView::HideHint() {
    if (hint_.Hide()) {
        ::SendMessageW(hintWindow_, TTM_ACTIVATE, FALSE, 0);
    }
}

void ShortcutListView::EndHint() {
    HideHint();
    ::KillTimer(parent_, kHintReshowTimer);
    ::SendMessageW(hintWindow_, TTM_POP, 0, 0);
}

std::wstring ShortcutListView::TakeHintText() {
    ::SetTimer(parent_, kHintReshowTimer, kHintReshowMs, nullptr);
    return hint_.Take();
}

void ShortcutListView::OnHintTimer() {
    switch (hint_.Look()) {
    case ListHint::Recheck::Stop:
        ::KillTimer(parent_, kHintReshowTimer);
        ::SendMessageW(hintWindow_, TTM_POP, 0, 0);
        break;
    case ListHint::Recheck::Update:
        // The tip asks for its text again and shows the row now under the pointer.
        ::SendMessageW(hintWindow_, TTM_UPDATE, 0, 0);
        break;
    case ListHint::Recheck::Keep:
        break;
    }
}

} // namespace orvane
