#include "ui/controls/theme_win.h"

#include "system/late_libraries_win.h"
#include "ui/paint/color_menu_painter_win.h"
#include "ui/paint/list_painter_win.h"
#include "ui/paint/search_box_painter_win.h"
#include "ui/paint/status_bar_painter_win.h"
#include "ui/paint/tool_bar_painter_win.h"
#include "ui/controls/toolbar_images_win.h"

#include <dwmapi.h>
#include <uxtheme.h>

#include <memory>
#include <utility>

namespace orvane {
namespace {

// The window manager's dark title bar; Windows 10 before 20H1 knew it under the number 19.
constexpr DWORD kImmersiveDarkMode = 20;
constexpr DWORD kImmersiveDarkModeBefore20H1 = 19;

// Window themes that give Windows' own controls their dark parts (scroll bars, the combo box's
// frame, tooltips); no name puts the default theme back.
constexpr wchar_t kDarkExplorerTheme[] = L"DarkMode_Explorer";
constexpr wchar_t kDarkComboTheme[] = L"DarkMode_CFD";

bool IsAlive(HWND window) {
    return window != nullptr && ::IsWindow(window);
}

// A subclass handler that passes its control's messages to `painter`, and holds it while it does.
template <typename Painter> WindowSubclass::Handler Calling(std::shared_ptr<Painter> painter) {
    return [painter = std::move(painter)](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        return painter->OnMessage(hwnd, message, wParam, lParam);
    };
}

} // namespace

SystemColors CurrentSystemColors() {
    SystemColors s{};
    s.window = ::GetSysColor(COLOR_WINDOW);
    s.windowText = ::GetSysColor(COLOR_WINDOWTEXT);
    s.buttonFace = ::GetSysColor(COLOR_BTNFACE);
    s.buttonText = ::GetSysColor(COLOR_BTNTEXT);
    s.buttonShadow = ::GetSysColor(COLOR_BTNSHADOW);
    s.grayText = ::GetSysColor(COLOR_GRAYTEXT);
    s.highlight = ::GetSysColor(COLOR_HIGHLIGHT);
    s.highlightText = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
    s.menu = ::GetSysColor(COLOR_MENU);
    s.menuText = ::GetSysColor(COLOR_MENUTEXT);
    return s;
}

bool SetDarkTitleBar(HWND window, bool dark) {
    BOOL value = dark ? TRUE : FALSE;
    if (SUCCEEDED(late::DwmSetWindowAttribute(window, kImmersiveDarkMode, &value, sizeof value))) {
        return true;
    }
    return SUCCEEDED(late::DwmSetWindowAttribute(window, kImmersiveDarkModeBefore20H1, &value, sizeof value));
}

ColorSchemeController::ColorSchemeController() = default;

ColorSchemeController::~ColorSchemeController() {
    Detach();
}

void ColorSchemeController::Attach(HWND form, HWND toolBar, HWND searchBox, HWND list, HWND statusBar) {
    Detach();
    form_ = form;
    toolBar_ = toolBar;
    searchBox_ = searchBox;
    list_ = list;
    statusBar_ = statusBar;
    header_ = list != nullptr ? ListView_GetHeader(list) : nullptr;
    COMBOBOXINFO parts{};
    parts.cbSize = sizeof parts;
    if (searchBox != nullptr && ::GetComboBoxInfo(searchBox, &parts)) {
        searchEdit_ = parts.hwndItem;
        searchList_ = parts.hwndList;
    }
}

void ColorSchemeController::AttachMenu(HMENU colorMenu) {
    RestoreMenu();
    menu_ = colorMenu;
    if (styled_) {
        OwnerDrawMenu();
    }
}

void ColorSchemeController::AttachListHint(HWND hint) {
    listHint_ = hint;
    if (styled_ && paint_.palette.dark) {
        SetThemeOf(listHint_, kDarkExplorerTheme);
    }
}

void ColorSchemeController::Detach() {
    if (styled_) {
        RestoreSystemLook();
    }
    form_ = toolBar_ = searchBox_ = searchEdit_ = searchList_ = list_ = header_ = statusBar_ = listHint_ =
        nullptr;
    menu_ = nullptr;
    themesAsked_.clear();
}

void ColorSchemeController::Apply(int scheme, UINT dpi) {
    scheme_ = SchemeFromIndex(scheme);
    paint_.dpi = dpi != 0 ? dpi : USER_DEFAULT_SCREEN_DPI;
    paint_.palette = PaletteFor(scheme_, CurrentSystemColors());
    if (form_ == nullptr) {
        return;
    }
    if (scheme_ == csWindows) {
        RestoreSystemLook();
    } else {
        StyleControls();
    }
    RedrawAll();
}

void ColorSchemeController::StyleControls() {
    const Palette& palette = paint_.palette;
    paint_.MakeBrushes();
    if (list_ != nullptr) {
        if (!styled_) {
            // The list's grid is drawn in the palette's colour; the list's own lines cannot be coloured.
            listHadGridLines_ = (ListView_GetExtendedListViewStyle(list_) & LVS_EX_GRIDLINES) != 0;
            ListView_SetExtendedListViewStyleEx(list_, LVS_EX_GRIDLINES, 0);
        }
        ListView_SetBkColor(list_, Ref(palette.listBackground));
        ListView_SetTextBkColor(list_, Ref(palette.listBackground));
        ListView_SetTextColor(list_, Ref(palette.listText));
    }
    SetThemes(palette.dark);
    UseDarkToolbarImages(palette.dark);
    InstallSubclasses();
    styled_ = true;
    OwnerDrawMenu();
    if (palette.dark || titleBarDark_) {
        titleBarDark_ = SetDarkTitleBar(form_, palette.dark) && palette.dark;
    }
}

void ColorSchemeController::RestoreSystemLook() {
    SetSystemListColors();
    if (!styled_) {
        return;
    }
    if (IsAlive(list_) && listHadGridLines_) {
        ListView_SetExtendedListViewStyleEx(list_, LVS_EX_GRIDLINES, LVS_EX_GRIDLINES);
    }
    SetThemes(false);
    UseDarkToolbarImages(false);
    RemoveSubclasses();
    RestoreMenu();
    if (titleBarDark_ && IsAlive(form_)) {
        SetDarkTitleBar(form_, false);
    }
    titleBarDark_ = false;
    styled_ = false;
    paint_.FreeBrushes();
}

void ColorSchemeController::SetSystemListColors() {
    if (!IsAlive(list_)) {
        return;
    }
    // The list lies on the button face, as the window does.
    COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    ListView_SetBkColor(list_, face);
    ListView_SetTextBkColor(list_, face);
    ListView_SetTextColor(list_, ::GetSysColor(COLOR_WINDOWTEXT));
}

void ColorSchemeController::SetThemes(bool dark) {
    const wchar_t* explorer = dark ? kDarkExplorerTheme : nullptr;
    for (HWND window : {list_, searchList_, listHint_}) {
        if (IsAlive(window)) {
            SetThemeOf(window, explorer);
        }
    }
    if (IsAlive(searchBox_)) {
        SetThemeOf(searchBox_, dark ? kDarkComboTheme : nullptr);
    }
    if (IsAlive(toolBar_)) {
        SetThemeOf(reinterpret_cast<HWND>(::SendMessageW(toolBar_, TB_GETTOOLTIPS, 0, 0)), explorer);
    }
    if (IsAlive(list_)) {
        SetThemeOf(ListView_GetToolTips(list_), explorer);
    }
}

void ColorSchemeController::SetThemeOf(HWND window, const wchar_t* theme) {
    if (window != nullptr) {
        ::SetWindowTheme(window, theme, nullptr);
        themesAsked_[window] = theme;
    }
}

const wchar_t* ColorSchemeController::ThemeAskedFor(HWND window) const {
    const auto asked = themesAsked_.find(window);
    return asked != themesAsked_.end() ? asked->second : nullptr;
}

void ColorSchemeController::UseDarkToolbarImages(bool dark) {
    if (!IsAlive(toolBar_)) {
        darkToolbarImages_.reset();
        return;
    }
    auto current = reinterpret_cast<HIMAGELIST>(::SendMessageW(toolBar_, TB_GETIMAGELIST, 0, 0));
    if (dark) {
        if (current != darkToolbarImages_.get() || current == nullptr) {
            formToolbarImages_ = current;
        }
        if (!darkToolbarImages_ || darkToolbarImagesDpi_ != paint_.dpi) {
            UniqueImageList images = CreateToolbarImages(paint_.dpi, true);
            if (!images) {
                return;
            }
            ::SendMessageW(toolBar_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images.get()));
            darkToolbarImages_ = std::move(images);
            darkToolbarImagesDpi_ = paint_.dpi;
        } else if (current != darkToolbarImages_.get()) {
            ::SendMessageW(toolBar_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(darkToolbarImages_.get()));
        }
    } else if (darkToolbarImages_) {
        if (current == darkToolbarImages_.get()) {
            ::SendMessageW(toolBar_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(formToolbarImages_));
        }
        darkToolbarImages_.reset();
        darkToolbarImagesDpi_ = 0;
    }
}

void ColorSchemeController::InstallSubclasses() {
    // Painters made under Light stay for Dark: they paint with `paint_`, which follows the scheme.
    if (IsAlive(toolBar_) && !toolBarPainter_) {
        toolBarPainter_ = std::make_shared<ToolBarPainter>(toolBar_, paint_);
        Subclass(rlToolBar, toolBar_, Calling(toolBarPainter_));
    }
    if (IsAlive(list_) && !listPainter_) {
        listPainter_ = std::make_shared<ListPainter>(list_, paint_, listHadGridLines_);
        Subclass(rlList, list_, Calling(listPainter_));
    }
    if (IsAlive(statusBar_) && !statusBarPainter_) {
        statusBarPainter_ = std::make_shared<StatusBarPainter>(statusBar_, paint_);
        Subclass(rlStatusBar, statusBar_, Calling(statusBarPainter_));
    }
    if (IsAlive(searchBox_) && !searchBoxPainter_) {
        searchBoxPainter_ = std::make_shared<SearchBoxPainter>(searchBox_, searchEdit_, paint_);
        Subclass(rlSearchBox, searchBox_, Calling(searchBoxPainter_));
    }
    if (statusBarPainter_ && IsAlive(statusBar_)) {
        statusBarPainter_->ReadText();
    }
}

void ColorSchemeController::Subclass(Role role, HWND window, WindowSubclass::Handler painter) {
    subclasses_[role - rlToolBar] = std::make_unique<WindowSubclass>(
        window, role,
        [this, painter = std::move(painter)](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
            if (message == WM_NCDESTROY) {
                // The control is going: nothing may touch it or its parts again.
                Forget(hwnd);
                return ::DefSubclassProc(hwnd, message, wParam, lParam);
            }
            return painter(hwnd, message, wParam, lParam);
        });
}

void ColorSchemeController::RemoveSubclasses() {
    for (auto& subclass : subclasses_) {
        subclass.reset();
    }
    toolBarPainter_.reset();
    listPainter_.reset();
    statusBarPainter_.reset();
    searchBoxPainter_.reset();
}

bool ColorSchemeController::IsSubclassed(HWND window) {
    for (UINT_PTR role : {rlToolBar, rlList, rlStatusBar, rlSearchBox}) {
        if (WindowSubclass::IsInstalled(window, role)) {
            return true;
        }
    }
    return false;
}

void ColorSchemeController::OwnerDrawMenu() {
    if (menu_ == nullptr || !styled_) {
        return;
    }
    if (!menuPainter_) {
        menuPainter_ = std::make_unique<ColorMenuPainter>(menu_, paint_);
    }
    menuPainter_->Update();
}

void ColorSchemeController::RestoreMenu() {
    menuPainter_.reset();
}

void ColorSchemeController::RedrawAll() {
    if (IsAlive(form_)) {
        ::RedrawWindow(form_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    }
}

void ColorSchemeController::Forget(HWND window) {
    // A control's parts go with it.
    if (window == list_) {
        header_ = nullptr;
    }
    if (window == searchBox_) {
        searchEdit_ = searchList_ = nullptr;
    }
    for (HWND* handle :
         {&form_, &toolBar_, &searchBox_, &searchEdit_, &searchList_, &list_, &header_, &statusBar_}) {
        if (*handle == window) {
            *handle = nullptr;
        }
    }
}

// --- messages --------------------------------------------------------------------------------------

bool ColorSchemeController::OnNotify(const NMHDR& header, LRESULT& result) {
    if (!styled_ || header.code != NM_CUSTOMDRAW || header.hwndFrom == nullptr) {
        return false;
    }
    // Custom-draw notifications are the sender's to be filled in: colours and states go back through
    // them.
    auto& mutableHeader = const_cast<NMHDR&>(header);
    if (header.hwndFrom == toolBar_ && toolBarPainter_) {
        result = toolBarPainter_->CustomDraw(reinterpret_cast<NMTBCUSTOMDRAW&>(mutableHeader));
        return true;
    }
    if (header.hwndFrom == list_ && listPainter_) {
        result = listPainter_->CustomDraw(reinterpret_cast<NMLVCUSTOMDRAW&>(mutableHeader));
        return true;
    }
    if (header.hwndFrom == header_ && listPainter_) {
        result = listPainter_->HeaderCustomDraw(reinterpret_cast<NMCUSTOMDRAW&>(mutableHeader));
        return true;
    }
    return false;
}

bool ColorSchemeController::OnCtlColor(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (!styled_ ||
        (message != WM_CTLCOLOREDIT && message != WM_CTLCOLORLISTBOX && message != WM_CTLCOLORSTATIC)) {
        return false;
    }
    result = reinterpret_cast<LRESULT>(
        EditColors(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam), paint_));
    return true;
}

bool ColorSchemeController::OnEraseBackground(HDC dc) {
    if (!styled_ || !IsAlive(form_)) {
        return false;
    }
    RECT client{};
    ::GetClientRect(form_, &client);
    Fill(dc, client, paint_.window.get(), paint_.palette.window);
    return true;
}

bool ColorSchemeController::OnMeasureItem(MEASUREITEMSTRUCT& item) {
    return menuPainter_ && menuPainter_->OnMeasureItem(item);
}

bool ColorSchemeController::OnDrawItem(const DRAWITEMSTRUCT& item) {
    return menuPainter_ && menuPainter_->OnDrawItem(item);
}

} // namespace orvane
