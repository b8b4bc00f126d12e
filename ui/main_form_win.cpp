// TMainForm: window class, creation of the controls, layout, and the message dispatcher.
#include "ui/main_form_win.h"

#include "contextmenu/pl_context_menu_win.h"
#include "shortcuts/make_shortcuts_win.h"
#include "system/launch_win.h"
#include "system/placement_win.h"
#include "ui/accessible_name_win.h"
#include "ui/error_report_win.h"
#include "ui/toolbar_images_win.h"

#include <windowsx.h>

#include <stdexcept>
#include <utility>

namespace orvane {
namespace {

constexpr wchar_t kApplicationTitle[] = L"Orvane";
constexpr int kMainIconId = 1;
constexpr int kSearchBoxWidth = 150;
constexpr int kSeparatorWidth = 8;
constexpr int kButtonHeight = 34;
constexpr int kStatusBarHeight = 21;
// Posted when an entry was picked from the search history, once the edit field shows it.
constexpr UINT kSearchTextPicked = WM_APP + 1;
// Sent by the tool bar when the pointer left it while it has the focus: the keyboard's item shows again.
constexpr UINT kToolBarKeyItemLost = WM_APP + 2;

// One item of the tool bar, in display order.
struct ToolItem {
    int id;     // command, or 0 for a separator
    int image;  // index into the tool-bar images
    BYTE style; // BTNS_*
    BYTE state; // TBSTATE_*
    const wchar_t* caption;
};

constexpr BYTE kEnabled = TBSTATE_ENABLED;
constexpr BYTE kButton = BTNS_BUTTON | BTNS_AUTOSIZE | BTNS_SHOWTEXT;

// ToolButton5 ends the first row; the search box takes the place of a separator as wide as it is.
constexpr int kSearchBoxSlot = -1;
const ToolItem kToolItems[] = {
    {idTBGet, 0, kButton, kEnabled, L"取得"},
    {idTBGetExe, 0, kButton, kEnabled, L"EXEのみ取得"},
    {0, 0, BTNS_SEP, 0, nullptr}, // ToolButton1
    {idTBReport, 1, BTNS_CHECKGROUP | BTNS_AUTOSIZE | BTNS_SHOWTEXT, kEnabled | TBSTATE_CHECKED, L"詳細"},
    {idTBIcon, 2, BTNS_CHECKGROUP | BTNS_AUTOSIZE | BTNS_SHOWTEXT, kEnabled, L"リスト"},
    {kSearchBoxSlot, 0, BTNS_SEP, 0, nullptr}, // CBFind
    {idTBFind, 3, kButton, 0, L"検索"},
    {0, 0, BTNS_SEP, TBSTATE_WRAP, nullptr}, // ToolButton5
    {idTBExe, 5, kButton, 0, L"実行"},
    {idTBAdmin, 7, kButton, TBSTATE_HIDDEN, L"管理者として実行"},
    {0, 0, BTNS_SEP, 0, nullptr}, // ToolButton3
    {idTBDir, 6, kButton, 0, L"フォルダを開く"},
    {idTBLink, 6, kButton, 0, L"リンク先フォルダを開く"},
    {0, 0, BTNS_SEP, 0, nullptr}, // ToolButton4
    {idTBClose, 4, kButton, kEnabled, L"終了"},
    {0, 0, BTNS_SEP, 0, nullptr}, // ToolButton6
    {idTBColor, 8, BTNS_WHOLEDROPDOWN | BTNS_AUTOSIZE | BTNS_SHOWTEXT, kEnabled, L"ウィンドウカラー"},
};

// The tool bar passes its children's commands on to the main window.
LRESULT CALLBACK ToolBarSubclass(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                 DWORD_PTR owner) {
    if (message == WM_COMMAND || message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX) {
        return ::SendMessageW(reinterpret_cast<HWND>(owner), message, wParam, lParam);
    }
    if (message == WM_KILLFOCUS) {
        // The keyboard's item is shown only while the tool bar has the focus.
        ::SendMessageW(hwnd, TB_SETHOTITEM, static_cast<WPARAM>(-1), 0);
    }
    LRESULT result = ::DefSubclassProc(hwnd, message, wParam, lParam);
    if (message == WM_MOUSELEAVE && ::GetFocus() == hwnd) {
        ::SendMessageW(reinterpret_cast<HWND>(owner), kToolBarKeyItemLost, 0, 0);
    }
    return result;
}

// The list tells the window about right presses and the pointer's moves over it and out of it.
LRESULT CALLBACK ListViewSubclass(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                  DWORD_PTR data) {
    auto* form = reinterpret_cast<TMainForm*>(data);
    if (message == WM_RBUTTONDOWN) {
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
        bool shift = (wParam & MK_SHIFT) != 0;
        RunGuarded(::GetParent(hwnd), [&] {
            POINT at{};
            ::GetCursorPos(&at);
            form->ListViewMouseDown(shift, at);
        });
        return result;
    }
    if (message == WM_MOUSEMOVE) {
        POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        RunGuarded(::GetParent(hwnd), [&] { form->ListViewMouseMove(at); });
    } else if (message == WM_MOUSELEAVE) {
        RunGuarded(::GetParent(hwnd), [&] { form->ListViewMouseLeave(); });
    }
    return ::DefSubclassProc(hwnd, message, wParam, lParam);
}

} // namespace

void RegisterMainFormClass(HINSTANCE instance) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = &TMainForm::WindowProc;
    wc.hInstance = instance;
    wc.hIcon =
        static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(kMainIconId), IMAGE_ICON,
                                        ::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON), 0));
    wc.hIconSm =
        static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(kMainIconId), IMAGE_ICON,
                                        ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON), 0));
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = TMainForm::kWindowClass;
    if (::RegisterClassExW(&wc) == 0) {
        throw std::runtime_error("RegisterClassExW failed");
    }
}

TMainForm::TMainForm(HINSTANCE instance)
    : instance_(instance), MakeShortCuts(std::make_unique<TMakeShortCuts>()),
      plContextMenu(std::make_unique<TplContextMenu>()) {
    // The menu opens only when asked, with the explorer's entries and nothing else.
    plContextMenu->SetMenuOptions({csf_EXPLORE});
    MakeShortCuts->SetErrorNotice([this](const std::wstring& message) { MakeShortCutsLoadError(message); });
}

void TMainForm::MakeShortCutsLoadError(const std::wstring& message) {
    // Owned by this window even when another program is in front: the window takes no input, so no
    // second scan can start inside the one that is reading.
    ::MessageBoxW(hwnd_, message.c_str(), kApplicationTitle, MB_OK);
}

TMainForm::~TMainForm() {
    if (hwnd_ != nullptr) {
        ::DestroyWindow(hwnd_);
    }
}

void TMainForm::Create() {
    // WS_EX_APPWINDOW gives the window its own task-bar button.
    hwnd_ = ::CreateWindowExW(WS_EX_APPWINDOW, kWindowClass, kApplicationTitle,
                              WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance_, this);
    if (hwnd_ == nullptr) {
        throw std::runtime_error("CreateWindowExW failed for the main window");
    }
}

void TMainForm::Show(int showCommand) {
    ::ShowWindow(hwnd_, startMaximised_ ? SW_SHOWMAXIMIZED : showCommand);
    ::UpdateWindow(hwnd_);
    if (!shown_) {
        // The first showing: the window is on screen before it asks for a scan.
        shown_ = true;
        RunGuarded(hwnd_, [this] { FormShow(); });
    }
}

void TMainForm::FormCreate() {
    CreateControls();
    // The three scheme items, bound by position; each item's tag is its index.
    for (int i = 0; i < 3; ++i) {
        MPPColor[static_cast<std::size_t>(i)] = idPPColor0 + i;
    }
    ::SetWindowTextW(hwnd_, kApplicationTitle);
    appIcon_ = reinterpret_cast<HICON>(::GetClassLongPtrW(hwnd_, GCLP_HICON));
    appIconSmall_ = reinterpret_cast<HICON>(::GetClassLongPtrW(hwnd_, GCLP_HICONSM));
    TakeIconFont();
    ApplyDesignClientSize();
    OnSize();
    // The administrator button exists only where Windows knows elevation.
    ::SendMessageW(ToolBar1, TB_HIDEBUTTON, idTBAdmin, MAKELPARAM(!Norrow::IsOSVistaOrLater(), 0));

    ReadSettings();
    // The window is first drawn in its restored view with its sort marker, also behind the request to
    // scan that an empty list brings when it is shown.
    SetListViewStyle(IsReportDown());
    RebuildHeader();
    LoadCaches();
    if (!startMaximised_ && hasRestoredBounds_) {
        ::SetWindowPos(hwnd_, nullptr, restoredBounds_.left, restoredBounds_.top,
                       restoredBounds_.right - restoredBounds_.left,
                       restoredBounds_.bottom - restoredBounds_.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    Norrow::KeepWindowOnScreen(hwnd_);
}

void TMainForm::FormShow() {
    if (list_.Empty()) {
        list_.Clear();
        RefreshListView();
        ::ImageList_RemoveAll(ImageListS.get());
        ::ImageList_RemoveAll(ImageListL.get());
        ::MessageBoxW(hwnd_, L"データを取得してください。", kApplicationTitle, MB_OK | MB_ICONWARNING);
    }
    // Through the list view and back, so the restored view lays its rows out from scratch; the list
    // draws nothing until the restored view is in place.
    ::SendMessageW(ListView, WM_SETREDRAW, FALSE, 0);
    // Without its rows meanwhile: in the list view, some list controls (Wine's) measure every row's text.
    ListView_SetItemCountEx(ListView, 0, 0);
    SetListViewStyle(false);
    SetListViewStyle(true);
    RefreshListView();
    ApplyViewMode();
    ::SendMessageW(ListView, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(ListView, nullptr, TRUE);
    RebuildHeader();
}

bool TMainForm::FormCloseQuery() {
    // A failure while writing reaches the general error report and the window stays open; the next
    // close tries the whole sequence again.
    SaveSettings();
    SaveCaches();
    return true;
}

void TMainForm::RestoreFocus() {
    HWND focus = lastFocus_;
    if (focus == nullptr || !::IsChild(hwnd_, focus) || !::IsWindowVisible(focus) ||
        !::IsWindowEnabled(focus)) {
        focus = ListView;
    }
    if (focus != nullptr) {
        ::SetFocus(focus);
    }
}

void TMainForm::TBCloseClick() {
    ::PostMessageW(hwnd_, WM_CLOSE, 0, 0);
}

void TMainForm::TakeIconFont() {
    fontInfo_ = {};
    if (!::SystemParametersInfoForDpi(SPI_GETICONTITLELOGFONT, sizeof fontInfo_, &fontInfo_, 0, dpi_)) {
        ::SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof fontInfo_, &fontInfo_, 0);
    }
    font_.reset(::CreateFontIndirectW(&fontInfo_));
    for (HWND control : {hwnd_, ToolBar1, CBFind, ListView, StatusBar}) {
        if (control != nullptr) {
            ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
        }
    }
}

void TMainForm::CreateColorMenu() {
    PPMenuColor.reset(::CreatePopupMenu());
    const wchar_t* captions[] = {L"Windows", L"Light", L"Dark"};
    for (int i = 0; i < 3; ++i) {
        MENUITEMINFOW item{};
        item.cbSize = sizeof item;
        item.fMask = MIIM_ID | MIIM_STRING | MIIM_FTYPE | MIIM_DATA;
        item.fType = MFT_RADIOCHECK;
        item.wID = static_cast<UINT>(idPPColor0 + i);
        item.dwItemData = static_cast<ULONG_PTR>(i); // the item's tag: its scheme index
        item.dwTypeData = const_cast<wchar_t*>(captions[i]);
        ::InsertMenuItemW(PPMenuColor.get(), static_cast<UINT>(i), TRUE, &item);
    }
}

void TMainForm::CreateControls() {
    CreateColorMenu();
    CreateImageLists();
    CreateToolBar();
    CreateListView();
    CreateStatusBar();
    CreateHints();
    TakeIconFont();
    LayoutSearchBox();
    theme_.Attach(hwnd_, ToolBar1, CBFind, ListView, StatusBar);
    // Names for assistive tools where a control shows none: the tool-bar buttons have their captions.
    SetAccessibleName(ListView, L"ショートカット一覧");
    SetAccessibleName(CBFind, L"検索");
    // The keyboard focus sits in the box's edit field, which answers for itself.
    COMBOBOXINFO box{};
    box.cbSize = sizeof box;
    if (::GetComboBoxInfo(CBFind, &box) && box.hwndItem != nullptr) {
        SetAccessibleName(box.hwndItem, L"検索");
    }
    theme_.AttachMenu(PPMenuColor.get());
    // The list is first in the tab order and starts with the focus, which is always drawn.
    ::SetWindowPos(ListView, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ShowFocusCues();
    ::SetFocus(ListView);
}

void TMainForm::CreateImageLists() {
    ImageListS.reset(::ImageList_Create(32, 32, ILC_COLOR32 | ILC_MASK, 0, 64));
    ImageListL.reset(::ImageList_Create(32, 32, ILC_COLOR32 | ILC_MASK, 0, 64));
    ImageListtoolbar = CreateToolbarImages(dpi_, false);
}

void TMainForm::CreateToolBar() {
    ToolBar1 = ::CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr,
                                 WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | TBSTYLE_FLAT |
                                     TBSTYLE_LIST | TBSTYLE_TOOLTIPS | CCS_TOP | CCS_NODIVIDER,
                                 0, 0, 0, 0, hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(idToolBar1)),
                                 instance_, nullptr);
    ::SendMessageW(ToolBar1, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    ::SendMessageW(ToolBar1, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
    ::SendMessageW(ToolBar1, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(ImageListtoolbar.get()));

    AddToolButtons({});

    CBFind =
        ::CreateWindowExW(0, WC_COMBOBOXW, nullptr,
                          WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL, 0,
                          0, Scale(kSearchBoxWidth), Scale(300), ToolBar1,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(idCBFind)), instance_, nullptr);
    ::SetWindowSubclass(ToolBar1, ToolBarSubclass, 1, reinterpret_cast<DWORD_PTR>(hwnd_));
}

void TMainForm::AddToolButtons(const std::vector<BYTE>& states) {
    std::vector<TBBUTTON> buttons;
    for (const ToolItem& item : kToolItems) {
        TBBUTTON button{};
        bool separator = (item.style & BTNS_SEP) != 0;
        button.idCommand = item.id == kSearchBoxSlot ? idCBFind : item.id;
        // A separator's width is its image number; the search box's slot is as wide as the box.
        button.iBitmap =
            separator ? Scale(item.id == kSearchBoxSlot ? kSearchBoxWidth : kSeparatorWidth) : item.image;
        button.fsStyle = item.style;
        button.fsState = buttons.size() < states.size() ? states[buttons.size()] : item.state;
        button.iString = item.caption != nullptr ? reinterpret_cast<INT_PTR>(item.caption) : -1;
        buttons.push_back(button);
    }
    ::SendMessageW(ToolBar1, TB_ADDBUTTONSW, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
    ::SendMessageW(ToolBar1, TB_SETBUTTONSIZE, 0, MAKELPARAM(0, Scale(kButtonHeight)));
    ::SendMessageW(ToolBar1, TB_AUTOSIZE, 0, 0);
}

void TMainForm::OnDpiChanged(UINT dpi, const RECT& suggested) {
    const UINT oldDpi = dpi_;
    if (dpi != 0 && dpi != oldDpi && ToolBar1 != nullptr) {
        // What stays the same at any scale: the list font's points, the columns' design widths, and
        // every command's state.
        const int listPoints = listHasOwnFont_ ? ListFontSize() : 0;
        std::array<int, kColumnCount> widths{};
        for (int column = 0; column < kColumnCount; ++column) {
            widths[static_cast<std::size_t>(column)] = ColumnWidth(column);
        }
        std::vector<BYTE> states;
        const int count = static_cast<int>(::SendMessageW(ToolBar1, TB_BUTTONCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            TBBUTTON button{};
            ::SendMessageW(ToolBar1, TB_GETBUTTON, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&button));
            states.push_back(button.fsState);
        }
        dpi_ = dpi;

        // Pictures drawn for the new scale, never stretched; the tool bar holds the new list before
        // the old one goes.
        UniqueImageList images = CreateToolbarImages(dpi_, false);
        ::SendMessageW(ToolBar1, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images.get()));
        ImageListtoolbar = std::move(images);
        // The buttons again, with separators and the search box's slot at the new scale.
        while (::SendMessageW(ToolBar1, TB_BUTTONCOUNT, 0, 0) > 0) {
            ::SendMessageW(ToolBar1, TB_DELETEBUTTON, 0, 0);
        }
        AddToolButtons(states);
        ::SetWindowPos(CBFind, nullptr, 0, 0, Scale(kSearchBoxWidth), Scale(300),
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

        TakeIconFont();
        if (listHasOwnFont_) {
            SetListFontSize(listPoints);
        } else {
            ApplyListFont();
        }
        for (int column = 0; column < kColumnCount; ++column) {
            SetColumnWidth(column, ::MulDiv(widths[static_cast<std::size_t>(column)], static_cast<int>(dpi),
                                            static_cast<int>(oldDpi)));
        }
        ::SendMessageW(StatusBar, SB_SETMINHEIGHT, Scale(kStatusBarHeight), 0);
        ::SendMessageW(hintWindow_, TTM_SETMAXTIPWIDTH, 0, Scale(800));
        theme_.Apply(scheme_, dpi_);
    }
    ::SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                   suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    OnSize();
    LayoutSearchBox();
    ::InvalidateRect(hwnd_, nullptr, TRUE);
}

void TMainForm::LayoutSearchBox() {
    RECT slot{};
    ::SendMessageW(ToolBar1, TB_GETRECT, idCBFind, reinterpret_cast<LPARAM>(&slot));
    RECT box{};
    ::GetWindowRect(CBFind, &box);
    int height = box.bottom - box.top;
    ::SetWindowPos(CBFind, nullptr, slot.left, slot.top + (slot.bottom - slot.top - height) / 2,
                   slot.right - slot.left, Scale(300), SWP_NOZORDER | SWP_NOACTIVATE);
}

void TMainForm::CreateListView() {
    ListView = ::CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, nullptr,
                                 WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS | LVS_REPORT |
                                     LVS_SINGLESEL | LVS_OWNERDATA | LVS_SHAREIMAGELISTS,
                                 0, 0, 0, 0, hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(idListView)),
                                 instance_, nullptr);
    ListView_SetExtendedListViewStyle(ListView, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT |
                                                    LVS_EX_DOUBLEBUFFER | LVS_EX_FLATSB);
    ::SetWindowSubclass(ListView, ListViewSubclass, 1, reinterpret_cast<DWORD_PTR>(this));
    ListView_SetImageList(ListView, ImageListS.get(), LVSIL_SMALL);
    ListView_SetImageList(ListView, ImageListL.get(), LVSIL_NORMAL);
    COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    ListView_SetBkColor(ListView, face);
    ListView_SetTextBkColor(ListView, face);

    for (int column = 0; column < kColumnCount; ++column) {
        LVCOLUMNW lvc{};
        lvc.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
        lvc.fmt = kColumnRightAligned[column] ? LVCFMT_RIGHT : LVCFMT_LEFT;
        lvc.cx = Scale(300);
        lvc.pszText = const_cast<wchar_t*>(kColumnCaptions[column].c_str());
        lvc.iSubItem = column;
        ListView_InsertColumn(ListView, column, &lvc);
    }
}

void TMainForm::CreateStatusBar() {
    StatusBar = ::CreateWindowExW(0, STATUSCLASSNAMEW, nullptr, WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0,
                                  0, 0, hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(idStatusBar)),
                                  instance_, nullptr);
    ::SendMessageW(StatusBar, SB_SIMPLE, TRUE, 0);
    ::SendMessageW(StatusBar, SB_SETMINHEIGHT, Scale(kStatusBarHeight), 0);
}

void TMainForm::ApplyDesignClientSize() {
    RECT frame{0, 0, Scale(kDesignClientWidth), Scale(kDesignClientHeight)};
    auto style = static_cast<DWORD>(::GetWindowLongPtrW(hwnd_, GWL_STYLE));
    auto exStyle = static_cast<DWORD>(::GetWindowLongPtrW(hwnd_, GWL_EXSTYLE));
    ::AdjustWindowRectExForDpi(&frame, style, FALSE, exStyle, dpi_);
    ::SetWindowPos(hwnd_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TMainForm::OnSize() {
    if (ToolBar1 == nullptr) {
        return;
    }
    RECT client{};
    ::GetClientRect(hwnd_, &client);
    ::SendMessageW(ToolBar1, TB_AUTOSIZE, 0, 0);
    ::SendMessageW(StatusBar, WM_SIZE, 0, 0);
    RECT bar{};
    ::GetWindowRect(ToolBar1, &bar);
    RECT status{};
    ::GetWindowRect(StatusBar, &status);
    int top = bar.bottom - bar.top;
    int bottom = client.bottom - (status.bottom - status.top);
    ::MoveWindow(ListView, 0, top, client.right, bottom > top ? bottom - top : 0, TRUE);
}

LRESULT CALLBACK TMainForm::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        auto* form = static_cast<TMainForm*>(create->lpCreateParams);
        form->hwnd_ = hwnd;
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    }
    auto* form = reinterpret_cast<TMainForm*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (form == nullptr) {
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
    // No exception may cross the window procedure: it becomes the general error report.
    LRESULT result = 0;
    bool handled = false;
    RunGuarded(hwnd, [&] {
        result = form->Dispatch(message, wParam, lParam);
        handled = true;
    });
    return handled ? result : ::DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT TMainForm::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    // The colour scheme draws first where it draws at all.
    LRESULT themed = 0;
    switch (message) {
    case WM_NOTIFY:
        if (theme_.OnNotify(*reinterpret_cast<const NMHDR*>(lParam), themed)) {
            return themed;
        }
        break;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        if (theme_.OnCtlColor(message, wParam, lParam, themed)) {
            return themed;
        }
        break;
    case WM_ERASEBKGND:
        if (theme_.OnEraseBackground(reinterpret_cast<HDC>(wParam))) {
            return 1;
        }
        break;
    case WM_MEASUREITEM:
        if (theme_.OnMeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam))) {
            return TRUE;
        }
        break;
    case WM_DRAWITEM:
        if (theme_.OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) {
            return TRUE;
        }
        break;
    case WM_SYSCOLORCHANGE:
    case WM_THEMECHANGED:
        theme_.Apply(scheme_, dpi_);
        break;
    default:
        break;
    }
    switch (message) {
    case WM_CREATE:
        dpi_ = ::GetDpiForWindow(hwnd_);
        // A failing creation step is reported, and the window still opens.
        RunGuarded(hwnd_, [this] { FormCreate(); });
        return 0;
    case WM_SIZE:
        OnSize();
        return 0;
    case WM_DPICHANGED:
        // The window moves to a monitor of another scale: everything is laid out again at it.
        OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_TIMER:
        if (wParam == kHintReshowTimer) {
            OnHintReshowTimer();
        }
        return 0;
    case kSearchTextPicked:
        CBFindChange();
        return 0;
    case kToolBarKeyItemLost:
        MoveToolBarHotItem(0, false);
        return 0;
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_NOTIFY:
        return OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            // Switching away: the control with the focus gets it back when the window is active again.
            HWND focus = ::GetFocus();
            lastFocus_ = focus != nullptr && ::IsChild(hwnd_, focus) ? focus : nullptr;
        }
        return ::DefWindowProcW(hwnd_, message, wParam, lParam);
    case WM_SETFOCUS:
        RestoreFocus();
        return 0;
    case WM_QUERYENDSESSION:
        // Logging off or shutting down is a close that cannot be refused.
        return TRUE;
    case WM_ENDSESSION:
        // The process ends right after this message: settings and caches are written now, once.
        if (wParam != FALSE && !closeWritten_) {
            closeWritten_ = true;
            RunGuarded(hwnd_, [this] { FormCloseQuery(); });
        }
        return 0;
    case WM_CLOSE: {
        bool canClose = closeWritten_;
        if (!canClose) {
            RunGuarded(hwnd_, [&] { canClose = FormCloseQuery(); });
        }
        if (canClose) {
            ::DestroyWindow(hwnd_);
        }
        return 0;
    }
    case WM_DESTROY:
        theme_.Detach();
        ::RemoveWindowSubclass(ToolBar1, ToolBarSubclass, 1);
        ::RemoveWindowSubclass(ListView, ListViewSubclass, 1);
        ::PostQuitMessage(0);
        return 0;
    case WM_NCDESTROY: {
        HWND self = std::exchange(hwnd_, nullptr);
        ::SetWindowLongPtrW(self, GWLP_USERDATA, 0);
        return ::DefWindowProcW(self, message, wParam, lParam);
    }
    default:
        return ::DefWindowProcW(hwnd_, message, wParam, lParam);
    }
}

void TMainForm::OnCommand(int id, int code, HWND control) {
    if (control != nullptr && control == CBFind) {
        if (code == CBN_EDITCHANGE) {
            CBFindChange();
        } else if (code == CBN_SELCHANGE) {
            // The edit field takes the picked entry only after this notification.
            ::PostMessageW(hwnd_, kSearchTextPicked, 0, 0);
        }
        return;
    }
    switch (id) {
    case idTBGet:
        TBGetClick();
        break;
    case idTBGetExe:
        TBGetExeClick();
        break;
    case idTBFind:
        TBFindClick();
        break;
    case idTBClose:
        TBCloseClick();
        break;
    case idTBExe:
        ListViewDblClick();
        break;
    case idTBAdmin:
        TBAdminClick();
        break;
    case idTBDir:
        TBDirClick();
        break;
    case idTBLink:
        TBLinkClick();
        break;
    case idTBReport:
        TBReportClick();
        break;
    case idTBIcon:
        TBIconClick();
        break;
    case idTBColor:
        ShowColorMenu();
        break;
    case idPPColor0:
    case idPPColor1:
    case idPPColor2:
        PPColorClick(id - idPPColor0);
        break;
    default:
        break;
    }
}

LRESULT TMainForm::OnNotify(const NMHDR& header) {
    if (header.hwndFrom == ListView) {
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
                ListViewSelectItem();
            }
            return 0;
        }
        case LVN_ODSTATECHANGED:
            ListViewSelectItem();
            return 0;
        case NM_CLICK:
            ListViewClick();
            return 0;
        case NM_SETFOCUS:
            ListViewEnter();
            return 0;
        case NM_DBLCLK:
            ListViewDblClick();
            return 0;
        case LVN_KEYDOWN:
            ListViewKeyDown(reinterpret_cast<const NMLVKEYDOWN*>(&header)->wVKey);
            return 0;
        case LVN_COLUMNCLICK:
            if (headerClicks_) {
                ListViewColumnClick(reinterpret_cast<const NMLISTVIEW*>(&header)->iSubItem);
            }
            return 0;
        default:
            return 0;
        }
    }
    if (header.hwndFrom == ToolBar1 && header.code == TBN_DROPDOWN) {
        ShowColorMenu();
        return TBDDRET_DEFAULT;
    }
    if (header.code == TTN_GETDISPINFOW) {
        auto& info = *reinterpret_cast<NMTTDISPINFOW*>(const_cast<NMHDR*>(&header));
        if (header.hwndFrom == hintWindow_) {
            ApplicationShowHint(ListView, hintText_);
            info.lpszText = hintText_.data();
        } else {
            // Of the tool bar, only the close button has a hint.
            info.lpszText = const_cast<wchar_t*>(header.idFrom == idTBClose ? L"終了" : L"");
        }
        return 0;
    }
    return 0;
}

} // namespace orvane
