// TMainForm: window class, creation of the controls, layout, and the message dispatcher.
#include "ui/form/main_form_win.h"

#include "contextmenu/pl_context_menu_win.h"
#include "shortcuts/make_shortcuts_win.h"
#include "system/launch_win.h"
#include "system/placement_win.h"
#include "ui/controls/accessible_name_win.h"
#include "ui/controls/error_report_win.h"

#include <stdexcept>
#include <utility>

namespace orvane {
namespace {

constexpr wchar_t kApplicationTitle[] = L"Orvane";
constexpr int kMainIconId = 1;
constexpr int kStatusBarHeight = 21;

// A control of the window, which exists once FormCreate made it.
template <typename Control> Control& Created(std::optional<Control>& control) {
    if (!control) {
        throw std::logic_error("The window's controls were not created");
    }
    return *control;
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

TMainForm::TMainForm(HINSTANCE instance, std::wstring dataFolder)
    : instance_(instance), dataFolder_(std::move(dataFolder)),
      MakeShortCuts(std::make_unique<TMakeShortCuts>()), plContextMenu(std::make_unique<TplContextMenu>()) {
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
    const bool first = !shown_;
    if (first) {
        // The list takes its restored view before anything is drawn: the window's first picture is
        // its final one.
        shown_ = true;
        RunGuarded(hwnd_, [this] { FormShow(); });
    }
    ::ShowWindow(hwnd_, startMaximised_ ? SW_SHOWMAXIMIZED : showCommand);
    ::UpdateWindow(hwnd_);
    if (first) {
        RunGuarded(hwnd_, [this] { AwaitIconCaches(); });
    }
    if (first && list_.Empty()) {
        // With nothing to show, the window is on screen before it asks for a scan.
        ::MessageBoxW(hwnd_, L"データを取得してください。", kApplicationTitle, MB_OK | MB_ICONWARNING);
    }
}

ToolBar& TMainForm::Tools() {
    return Created(toolBar_);
}

const ToolBar& TMainForm::Tools() const {
    return const_cast<TMainForm*>(this)->Tools();
}

ShortcutListView& TMainForm::Rows() {
    return Created(listView_);
}

const ShortcutListView& TMainForm::Rows() const {
    return const_cast<TMainForm*>(this)->Rows();
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
    // The administrator button exists only where Windows knows elevation.
    Tools().ShowCommand(idTBAdmin, Norrow::IsOSVistaOrLater());

    // Each file of the data folder is read on its own: one that cannot be read is reported, and the
    // others are still read and applied.
    ReadStoreFile(StoreFile::sfSettings, [this] { ReadSettings(); });
    // The list takes its restored view before it takes its rows: in list view, some list controls
    // (Wine's) measure every row's text when the rows are set.
    Rows().SetStyle(Tools().IsReportDown());
    Rows().RebuildHeader();
    LoadCaches();
    // The window takes its size once: the saved rectangle, or the design size where there is none
    // (also the size a maximised window returns to).
    if (!startMaximised_ && hasRestoredBounds_) {
        // On a monitor of another scale the move brings WM_DPICHANGED, whose suggested rectangle is
        // this one scaled: the saved rectangle is what the window had, and it stays.
        placing_ = true;
        ::SetWindowPos(hwnd_, nullptr, restoredBounds_.left, restoredBounds_.top,
                       restoredBounds_.right - restoredBounds_.left,
                       restoredBounds_.bottom - restoredBounds_.top, SWP_NOZORDER | SWP_NOACTIVATE);
        placing_ = false;
    } else {
        const SIZE design = DesignFrameSize();
        ::SetWindowPos(hwnd_, nullptr, 0, 0, design.cx, design.cy,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    OnSize();
    Norrow::KeepWindowOnScreen(hwnd_);
}

void TMainForm::FormShow() {
    if (list_.Empty()) {
        // The request to scan follows once the window is on screen (Show).
        list_.Clear();
        Rows().Refresh();
        Rows().ClearImages();
    }
    // Through the list view and back, so the restored view lays its rows out from scratch; the list
    // draws nothing until the restored view is in place.
    Rows().SetRedraw(false);
    // Without its rows meanwhile: in the list view, some list controls (Wine's) measure every row's text.
    ListView_SetItemCountEx(Rows().Handle(), 0, 0);
    Rows().SetStyle(false);
    Rows().SetStyle(true);
    Rows().Refresh();
    ApplyViewMode();
    Rows().SetRedraw(true);
    Rows().RebuildHeader();
}

void TMainForm::TakeIconFont() {
    fontInfo_ = {};
    if (!::SystemParametersInfoForDpi(SPI_GETICONTITLELOGFONT, sizeof fontInfo_, &fontInfo_, 0, dpi_)) {
        ::SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof fontInfo_, &fontInfo_, 0);
    }
    font_.reset(::CreateFontIndirectW(&fontInfo_));
    HWND controls[] = {hwnd_, toolBar_ ? toolBar_->Handle() : nullptr,
                       toolBar_ ? toolBar_->SearchBox() : nullptr, listView_ ? listView_->Handle() : nullptr,
                       StatusBar};
    for (HWND control : controls) {
        if (control != nullptr) {
            ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
        }
    }
    if (listView_) {
        listView_->TakeWindowFont(font_.get(), fontInfo_, dpi_);
    }
}

void TMainForm::CreateControls() {
    CreateColorMenu();
    toolBar_.emplace(hwnd_, instance_, dpi_, static_cast<ToolBarEvents&>(*this));
    listView_.emplace(hwnd_, instance_, dpi_, list_, static_cast<ShortcutListViewEvents&>(*this),
                      [this] { return SchemeTextColor(); });
    StatusBar = ::CreateWindowExW(0, STATUSCLASSNAMEW, nullptr, WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0,
                                  0, 0, hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(idStatusBar)),
                                  instance_, nullptr);
    ::SendMessageW(StatusBar, SB_SIMPLE, TRUE, 0);
    ::SendMessageW(StatusBar, SB_SETMINHEIGHT, ::MulDiv(kStatusBarHeight, static_cast<int>(dpi_), 96), 0);
    TakeIconFont();
    Tools().LayoutSearchBox();
    HWND list = Rows().Handle();
    HWND search = Tools().SearchBox();
    theme_.Attach(hwnd_, Tools().Handle(), search, list, StatusBar);
    // Names for assistive tools where a control shows none: the tool-bar buttons have their captions.
    SetAccessibleName(list, L"ショートカット一覧");
    SetAccessibleName(search, L"検索");
    // The keyboard focus sits in the box's edit field, which answers for itself.
    COMBOBOXINFO box{};
    box.cbSize = sizeof box;
    if (::GetComboBoxInfo(search, &box) && box.hwndItem != nullptr) {
        SetAccessibleName(box.hwndItem, L"検索");
    }
    theme_.AttachMenu(PPMenuColor.get());
    theme_.AttachListHint(Rows().HintWindow());
    // The list is first in the tab order and starts with the focus, which is always drawn.
    ::SetWindowPos(list, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ShowFocusCues();
    ::SetFocus(list);
}

void TMainForm::OnDpiChanged(UINT dpi, const RECT& suggested) {
    const UINT oldDpi = dpi_;
    if (dpi != 0 && dpi != oldDpi && toolBar_ && listView_) {
        // What stays the same at any scale: the list font's points, the columns' design widths, and
        // every command's state.
        const bool ownFont = Rows().HasOwnFont();
        const int listPoints = ownFont ? Rows().FontSize() : 0;
        std::array<int, kColumnCount> widths{};
        for (int column = 0; column < kColumnCount; ++column) {
            widths[static_cast<std::size_t>(column)] = Rows().ColumnWidth(column);
        }
        dpi_ = dpi;
        Tools().Rebuild(dpi_);
        TakeIconFont();
        Rows().SetDpi(dpi_);
        if (ownFont) {
            Rows().SetFontSize(listPoints);
        } else {
            Rows().ApplyFont();
        }
        for (int column = 0; column < kColumnCount; ++column) {
            Rows().SetColumnWidth(column, ::MulDiv(widths[static_cast<std::size_t>(column)],
                                                   static_cast<int>(dpi), static_cast<int>(oldDpi)));
        }
        ::SendMessageW(StatusBar, SB_SETMINHEIGHT, ::MulDiv(kStatusBarHeight, static_cast<int>(dpi_), 96), 0);
        theme_.Apply(scheme_, dpi_);
    }
    if (!placing_) {
        ::SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                       suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    OnSize();
    if (toolBar_) {
        toolBar_->LayoutSearchBox();
    }
    ::InvalidateRect(hwnd_, nullptr, TRUE);
}

SIZE TMainForm::DesignFrameSize() const {
    RECT frame{0, 0, ::MulDiv(kDesignClientWidth, static_cast<int>(dpi_), 96),
               ::MulDiv(kDesignClientHeight, static_cast<int>(dpi_), 96)};
    auto style = static_cast<DWORD>(::GetWindowLongPtrW(hwnd_, GWL_STYLE));
    auto exStyle = static_cast<DWORD>(::GetWindowLongPtrW(hwnd_, GWL_EXSTYLE));
    ::AdjustWindowRectExForDpi(&frame, style, FALSE, exStyle, dpi_);
    return SIZE{frame.right - frame.left, frame.bottom - frame.top};
}

void TMainForm::OnSize() {
    if (!toolBar_ || !listView_) {
        return;
    }
    RECT client{};
    ::GetClientRect(hwnd_, &client);
    toolBar_->AutoSize();
    ::SendMessageW(StatusBar, WM_SIZE, 0, 0);
    RECT status{};
    ::GetWindowRect(StatusBar, &status);
    int top = toolBar_->Height();
    int bottom = client.bottom - (status.bottom - status.top);
    ::MoveWindow(listView_->Handle(), 0, top, client.right, bottom > top ? bottom - top : 0, TRUE);
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
    case kFillSearchHistory:
        FillSearchHistory();
        return 0;
    case WM_TIMER:
        if (wParam == kHintReshowTimer && listView_) {
            listView_->OnHintTimer();
        }
        return 0;
    case WM_COMMAND:
        // Tool-bar buttons; their drop-down and the keyboard come through the tool bar's events.
        ToolBarCommand(LOWORD(wParam));
        return 0;
    case WM_NOTIFY:
        return OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
    case WM_ACTIVATE:
        OnActivate(wParam);
        return ::DefWindowProcW(hwnd_, message, wParam, lParam);
    case WM_SETFOCUS:
        RestoreFocus();
        return 0;
    case WM_QUERYENDSESSION:
        // Logging off, shutting down or an installer's request to close: never refused.
        return TRUE;
    case WM_ENDSESSION:
        OnEndSession(wParam != FALSE, lParam);
        return 0;
    case WM_CLOSE:
        OnClose();
        return 0;
    case WM_DESTROY:
        theme_.Detach();
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

void TMainForm::OnActivate(WPARAM wParam) {
    if (LOWORD(wParam) == WA_INACTIVE) {
        // Switching away: the control with the focus gets it back when the window is active again.
        HWND focus = ::GetFocus();
        lastFocus_ = focus != nullptr && ::IsChild(hwnd_, focus) ? focus : nullptr;
    }
}

void TMainForm::RestoreFocus() {
    HWND focus = lastFocus_;
    if (focus == nullptr || !::IsChild(hwnd_, focus) || !::IsWindowVisible(focus) ||
        !::IsWindowEnabled(focus)) {
        focus = listView_ ? listView_->Handle() : nullptr;
    }
    if (focus != nullptr) {
        ::SetFocus(focus);
    }
}

void TMainForm::ToolBarCommand(int id) {
    // Each command and the handler it runs.
    struct Command {
        int id;
        void (TMainForm::*handler)();
    };
    static constexpr Command kCommands[] = {
        {idTBGet, &TMainForm::TBGetClick},       {idTBGetExe, &TMainForm::TBGetExeClick},
        {idTBFind, &TMainForm::TBFindClick},     {idTBClose, &TMainForm::TBCloseClick},
        {idTBExe, &TMainForm::ListViewDblClick}, {idTBAdmin, &TMainForm::TBAdminClick},
        {idTBDir, &TMainForm::TBDirClick},       {idTBLink, &TMainForm::TBLinkClick},
        {idTBReport, &TMainForm::TBReportClick}, {idTBIcon, &TMainForm::TBIconClick},
        {idTBColor, &TMainForm::ShowColorMenu},
    };
    for (const Command& command : kCommands) {
        if (command.id == id) {
            (this->*command.handler)();
            return;
        }
    }
    if (id >= idPPColor0 && id <= idPPColor2) {
        PPColorClick(id - idPPColor0);
    }
}

void TMainForm::SearchTextChanged() {
    CBFindChange();
}

LRESULT TMainForm::OnNotify(const NMHDR& header) {
    if (listView_ && header.hwndFrom == listView_->Handle()) {
        return listView_->OnNotify(header);
    }
    LRESULT result = 0;
    if (toolBar_ && toolBar_->OnNotify(header, result)) {
        return result;
    }
    if (header.code == TTN_GETDISPINFOW) {
        auto& info = *reinterpret_cast<NMTTDISPINFOW*>(const_cast<NMHDR*>(&header));
        if (listView_ && header.hwndFrom == listView_->HintWindow()) {
            ApplicationShowHint(listView_->Handle(), hintText_);
            info.lpszText = hintText_.data();
        } else {
            info.lpszText = const_cast<wchar_t*>(ToolBar::HintOf(header.idFrom));
        }
    }
    return 0;
}

} // namespace orvane
