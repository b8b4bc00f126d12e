#include "ui/theme_win.h"

#include "system/late_libraries_win.h"
#include "ui/toolbar_images_win.h"

#include <dwmapi.h>
#include <uxtheme.h>

#include <algorithm>
#include <array>
#include <iterator>
#include <utility>

namespace orvane {
namespace {

using UniquePen = UniqueHandleOf<HPEN, GdiTraits<HPEN>>;

// The window manager's dark title bar; Windows 10 before 20H1 knew it under the number 19.
constexpr DWORD kImmersiveDarkMode = 20;
constexpr DWORD kImmersiveDarkModeBefore20H1 = 19;

// Window themes that give Windows' own controls their dark parts (scroll bars, the combo box's
// frame, tooltips); no name puts the default theme back.
constexpr wchar_t kDarkExplorerTheme[] = L"DarkMode_Explorer";
constexpr wchar_t kDarkComboTheme[] = L"DarkMode_CFD";

COLORREF Ref(Color c) {
    return static_cast<COLORREF>(c);
}

// Selects a GDI object into a DC for one scope.
class SelectScope {
public:
    SelectScope(HDC dc, HGDIOBJ object)
        : dc_(dc), old_(object != nullptr ? ::SelectObject(dc, object) : nullptr) {}
    SelectScope(const SelectScope&) = delete;
    SelectScope& operator=(const SelectScope&) = delete;
    ~SelectScope() {
        if (old_ != nullptr) {
            ::SelectObject(dc_, old_);
        }
    }

private:
    HDC dc_;
    HGDIOBJ old_;
};

// An off-screen copy of a rectangle of `target`, copied back at the end of the scope; painting through
// it does not flicker.
class BufferedCanvas {
public:
    BufferedCanvas(HDC target, const RECT& area)
        : target_(target), area_(area), dc_(::CreateCompatibleDC(target)),
          bitmap_(::CreateCompatibleBitmap(target, std::max<LONG>(area.right - area.left, 1),
                                           std::max<LONG>(area.bottom - area.top, 1))) {
        if (dc_ != nullptr && bitmap_) {
            old_ = ::SelectObject(dc_, bitmap_.get());
            ::SetViewportOrgEx(dc_, -area.left, -area.top, nullptr);
        }
    }
    BufferedCanvas(const BufferedCanvas&) = delete;
    BufferedCanvas& operator=(const BufferedCanvas&) = delete;
    ~BufferedCanvas() {
        if (old_ != nullptr) {
            ::SetViewportOrgEx(dc_, 0, 0, nullptr);
            ::BitBlt(target_, area_.left, area_.top, area_.right - area_.left, area_.bottom - area_.top, dc_,
                     0, 0, SRCCOPY);
            ::SelectObject(dc_, old_);
        }
        if (dc_ != nullptr) {
            ::DeleteDC(dc_);
        }
    }
    // The DC to paint on: the buffer, or the target itself when no buffer could be made.
    HDC dc() const noexcept { return old_ != nullptr ? dc_ : target_; }

private:
    HDC target_;
    RECT area_;
    HDC dc_;
    UniqueBitmap bitmap_;
    HGDIOBJ old_ = nullptr;
};

void Fill(HDC dc, const RECT& rect, Color color) {
    UniqueBrush brush(::CreateSolidBrush(Ref(color)));
    ::FillRect(dc, &rect, brush.get());
}

void Fill(HDC dc, const RECT& rect, HBRUSH brush, Color fallback) {
    if (brush != nullptr) {
        ::FillRect(dc, &rect, brush);
    } else {
        Fill(dc, rect, fallback);
    }
}

void Frame(HDC dc, const RECT& rect, Color color) {
    UniqueBrush brush(::CreateSolidBrush(Ref(color)));
    ::FrameRect(dc, &rect, brush.get());
}

// A filled rectangle with rounded corners and an edge of its own colour.
void RoundBox(HDC dc, const RECT& rect, Color fill, Color edge, int radius) {
    UniqueBrush brush(::CreateSolidBrush(Ref(fill)));
    UniquePen pen(::CreatePen(PS_SOLID, 1, Ref(edge)));
    SelectScope useBrush(dc, brush.get());
    SelectScope usePen(dc, pen.get());
    ::RoundRect(dc, rect.left, rect.top, rect.right, rect.bottom, radius, radius);
}

// A small downward chevron centred on (x, y), `size` pixels wide.
void DownArrow(HDC dc, int x, int y, int size, Color color) {
    int half = std::max(size / 2, 2);
    POINT points[] = {{x - half, y - half / 2}, {x + half, y - half / 2}, {x, y + half / 2 + 1}};
    UniqueBrush brush(::CreateSolidBrush(Ref(color)));
    UniquePen pen(::CreatePen(PS_SOLID, 1, Ref(color)));
    SelectScope useBrush(dc, brush.get());
    SelectScope usePen(dc, pen.get());
    ::Polygon(dc, points, static_cast<int>(std::size(points)));
}

HFONT FontOf(HWND window) {
    auto font = reinterpret_cast<HFONT>(::SendMessageW(window, WM_GETFONT, 0, 0));
    return font != nullptr ? font : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
}

SIZE TextSize(HDC dc, const std::wstring& text) {
    SIZE size{};
    ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return size;
}

void SetThemeOf(HWND window, const wchar_t* theme) {
    if (window != nullptr) {
        ::SetWindowTheme(window, theme, nullptr);
    }
}

bool IsAlive(HWND window) {
    return window != nullptr && ::IsWindow(window);
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

bool FindWindowSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id, DWORD_PTR* data) {
    using Lookup = BOOL(WINAPI*)(HWND, SUBCLASSPROC, UINT_PTR, DWORD_PTR*);
    static const Lookup lookup = [] {
        HMODULE controls = ::GetModuleHandleW(L"comctl32.dll");
        if (controls == nullptr) {
            return Lookup{};
        }
        FARPROC found = ::GetProcAddress(controls, "GetWindowSubclass");
        if (found == nullptr) {
            found = ::GetProcAddress(controls, MAKEINTRESOURCEA(411));
        }
        return reinterpret_cast<Lookup>(reinterpret_cast<void*>(found));
    }();
    DWORD_PTR ignored = 0;
    return lookup != nullptr && lookup(window, procedure, id, data != nullptr ? data : &ignored) != FALSE;
}

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
    if (menuOwnerDrawn_) {
        RestoreMenu();
    }
    menu_ = colorMenu;
    if (styled_) {
        OwnerDrawMenu();
    }
}

void ColorSchemeController::Detach() {
    if (styled_) {
        RestoreSystemLook();
    }
    form_ = toolBar_ = searchBox_ = searchEdit_ = searchList_ = list_ = header_ = statusBar_ = nullptr;
    menu_ = nullptr;
}

void ColorSchemeController::Apply(int scheme, UINT dpi) {
    scheme_ = SchemeFromIndex(scheme);
    dpi_ = dpi != 0 ? dpi : USER_DEFAULT_SCREEN_DPI;
    palette_ = PaletteFor(scheme_, CurrentSystemColors());
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
    windowBrush_.reset(::CreateSolidBrush(Ref(palette_.window)));
    surfaceBrush_.reset(::CreateSolidBrush(Ref(palette_.surface)));
    editBrush_.reset(::CreateSolidBrush(Ref(palette_.editBackground)));
    menuBrush_.reset(::CreateSolidBrush(Ref(palette_.menuBackground)));
    gridBrush_.reset(::CreateSolidBrush(Ref(palette_.gridLine)));
    borderBrush_.reset(::CreateSolidBrush(Ref(palette_.border)));
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (::SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi_) ||
        ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
        menuFont_.reset(::CreateFontIndirectW(&metrics.lfMenuFont));
    }

    if (list_ != nullptr) {
        if (!styled_) {
            // The list's grid is drawn in the palette's colour; the list's own lines cannot be coloured.
            listHadGridLines_ = (ListView_GetExtendedListViewStyle(list_) & LVS_EX_GRIDLINES) != 0;
            ListView_SetExtendedListViewStyleEx(list_, LVS_EX_GRIDLINES, 0);
        }
        ListView_SetBkColor(list_, Ref(palette_.listBackground));
        ListView_SetTextBkColor(list_, Ref(palette_.listBackground));
        ListView_SetTextColor(list_, Ref(palette_.listText));
    }
    SetThemes(palette_.dark);
    UseDarkToolbarImages(palette_.dark);
    InstallSubclasses();
    styled_ = true;
    OwnerDrawMenu();
    if (palette_.dark || titleBarDark_) {
        titleBarDark_ = SetDarkTitleBar(form_, palette_.dark) && palette_.dark;
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
    windowBrush_.reset();
    surfaceBrush_.reset();
    editBrush_.reset();
    menuBrush_.reset();
    gridBrush_.reset();
    borderBrush_.reset();
    menuFont_.reset();
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
    for (HWND window : {list_, searchList_}) {
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
        if (!darkToolbarImages_ || darkToolbarImagesDpi_ != dpi_) {
            UniqueImageList images = CreateToolbarImages(dpi_, true);
            if (!images) {
                return;
            }
            ::SendMessageW(toolBar_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images.get()));
            darkToolbarImages_ = std::move(images);
            darkToolbarImagesDpi_ = dpi_;
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
    auto self = reinterpret_cast<DWORD_PTR>(this);
    const std::array<std::pair<HWND, Role>, 4> targets = {
        {{toolBar_, rlToolBar}, {list_, rlList}, {statusBar_, rlStatusBar}, {searchBox_, rlSearchBox}}};
    for (const auto& [window, role] : targets) {
        if (IsAlive(window)) {
            ::SetWindowSubclass(window, &SubclassProc, role, self);
        }
    }
    if (IsAlive(statusBar_)) {
        ReadStatusText();
    }
}

void ColorSchemeController::RemoveSubclasses() {
    const std::array<std::pair<HWND, Role>, 4> targets = {
        {{toolBar_, rlToolBar}, {list_, rlList}, {statusBar_, rlStatusBar}, {searchBox_, rlSearchBox}}};
    for (const auto& [window, role] : targets) {
        if (IsAlive(window)) {
            ::RemoveWindowSubclass(window, &SubclassProc, role);
        }
    }
}

bool ColorSchemeController::IsSubclassed(HWND window) {
    for (UINT_PTR role : {rlToolBar, rlList, rlStatusBar, rlSearchBox}) {
        if (FindWindowSubclass(window, &SubclassProc, role, nullptr)) {
            return true;
        }
    }
    return false;
}

void ColorSchemeController::OwnerDrawMenu() {
    if (menu_ == nullptr || !styled_) {
        return;
    }
    if (!menuOwnerDrawn_) {
        MENUINFO info{};
        info.cbSize = sizeof info;
        info.fMask = MIM_BACKGROUND;
        ::GetMenuInfo(menu_, &info);
        menuOriginalBrush_ = info.hbrBack;
        menuItems_.clear();
        int count = ::GetMenuItemCount(menu_);
        for (int i = 0; i < count; ++i) {
            wchar_t caption[256] = {};
            MENUITEMINFOW item{};
            item.cbSize = sizeof item;
            item.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STRING;
            item.dwTypeData = caption;
            item.cch = static_cast<UINT>(std::size(caption));
            if (!::GetMenuItemInfoW(menu_, static_cast<UINT>(i), TRUE, &item)) {
                continue;
            }
            menuItems_.push_back({item.wID, item.fType, caption});
            MENUITEMINFOW owner{};
            owner.cbSize = sizeof owner;
            owner.fMask = MIIM_FTYPE;
            owner.fType = item.fType | MFT_OWNERDRAW;
            ::SetMenuItemInfoW(menu_, static_cast<UINT>(i), TRUE, &owner);
        }
        menuOwnerDrawn_ = true;
    }
    MENUINFO info{};
    info.cbSize = sizeof info;
    info.fMask = MIM_BACKGROUND | MIM_APPLYTOSUBMENUS;
    info.hbrBack = menuBrush_.get();
    ::SetMenuInfo(menu_, &info);
}

void ColorSchemeController::RestoreMenu() {
    if (!menuOwnerDrawn_) {
        return;
    }
    menuOwnerDrawn_ = false;
    if (menu_ == nullptr || !::IsMenu(menu_)) {
        return;
    }
    int count = ::GetMenuItemCount(menu_);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOW item{};
        item.cbSize = sizeof item;
        item.fMask = MIIM_ID;
        if (!::GetMenuItemInfoW(menu_, static_cast<UINT>(i), TRUE, &item)) {
            continue;
        }
        auto known = std::find_if(menuItems_.begin(), menuItems_.end(),
                                  [&](const MenuItem& m) { return m.id == item.wID; });
        if (known == menuItems_.end()) {
            continue;
        }
        MENUITEMINFOW plain{};
        plain.cbSize = sizeof plain;
        plain.fMask = MIIM_FTYPE | MIIM_STRING;
        plain.fType = known->type & ~static_cast<UINT>(MFT_OWNERDRAW);
        plain.dwTypeData = known->caption.data();
        ::SetMenuItemInfoW(menu_, static_cast<UINT>(i), TRUE, &plain);
    }
    MENUINFO info{};
    info.cbSize = sizeof info;
    info.fMask = MIM_BACKGROUND | MIM_APPLYTOSUBMENUS;
    info.hbrBack = menuOriginalBrush_;
    ::SetMenuInfo(menu_, &info);
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
    if (header.hwndFrom == toolBar_) {
        result = ToolBarCustomDraw(reinterpret_cast<NMTBCUSTOMDRAW&>(mutableHeader));
        return true;
    }
    if (header.hwndFrom == list_) {
        result = ListCustomDraw(reinterpret_cast<NMLVCUSTOMDRAW&>(mutableHeader));
        return true;
    }
    if (header.hwndFrom == header_) {
        result = HeaderCustomDraw(reinterpret_cast<NMCUSTOMDRAW&>(mutableHeader));
        return true;
    }
    return false;
}

bool ColorSchemeController::OnCtlColor(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (!styled_ ||
        (message != WM_CTLCOLOREDIT && message != WM_CTLCOLORLISTBOX && message != WM_CTLCOLORSTATIC)) {
        return false;
    }
    auto dc = reinterpret_cast<HDC>(wParam);
    auto control = reinterpret_cast<HWND>(lParam);
    bool enabled = control == nullptr || ::IsWindowEnabled(control);
    ::SetTextColor(dc, Ref(enabled ? palette_.editText : palette_.disabledText));
    ::SetBkColor(dc, Ref(palette_.editBackground));
    result = reinterpret_cast<LRESULT>(editBrush_.get());
    return true;
}

bool ColorSchemeController::OnEraseBackground(HDC dc) {
    if (!styled_ || !IsAlive(form_)) {
        return false;
    }
    RECT client{};
    ::GetClientRect(form_, &client);
    Fill(dc, client, windowBrush_.get(), palette_.window);
    return true;
}

bool ColorSchemeController::OnMeasureItem(MEASUREITEMSTRUCT& item) {
    if (item.CtlType != ODT_MENU || !menuOwnerDrawn_) {
        return false;
    }
    auto known = std::find_if(menuItems_.begin(), menuItems_.end(),
                              [&](const MenuItem& m) { return m.id == item.itemID; });
    if (known == menuItems_.end()) {
        return false;
    }
    if ((known->type & MFT_SEPARATOR) != 0) {
        item.itemWidth = static_cast<UINT>(Scale(20));
        item.itemHeight = static_cast<UINT>(Scale(9));
        return true;
    }
    HDC screen = ::GetDC(nullptr);
    SIZE text{};
    {
        SelectScope font(screen, menuFont_.get());
        text = TextSize(screen, known->caption);
    }
    ::ReleaseDC(nullptr, screen);
    item.itemWidth = static_cast<UINT>(Scale(28) + text.cx + Scale(24));
    item.itemHeight = static_cast<UINT>(std::max<LONG>(text.cy + Scale(10), Scale(24)));
    return true;
}

bool ColorSchemeController::OnDrawItem(const DRAWITEMSTRUCT& item) {
    if (item.CtlType != ODT_MENU || !menuOwnerDrawn_ || reinterpret_cast<HMENU>(item.hwndItem) != menu_) {
        return false;
    }
    auto known = std::find_if(menuItems_.begin(), menuItems_.end(),
                              [&](const MenuItem& m) { return m.id == item.itemID; });
    if (known == menuItems_.end()) {
        return false;
    }
    HDC dc = item.hDC;
    RECT rect = item.rcItem;
    if ((known->type & MFT_SEPARATOR) != 0) {
        Fill(dc, rect, menuBrush_.get(), palette_.menuBackground);
        int y = (rect.top + rect.bottom) / 2;
        Fill(dc, RECT{rect.left + Scale(4), y, rect.right - Scale(4), y + 1}, borderBrush_.get(),
             palette_.border);
        return true;
    }
    bool grayed = (item.itemState & (ODS_GRAYED | ODS_DISABLED)) != 0;
    bool selected = (item.itemState & ODS_SELECTED) != 0 && !grayed;
    Color background = selected ? palette_.menuHighlight : palette_.menuBackground;
    Color text = grayed ? palette_.disabledText : selected ? palette_.menuHighlightText : palette_.menuText;
    Fill(dc, rect, background);
    int gutter = Scale(28);
    if ((item.itemState & ODS_CHECKED) != 0) {
        // The radio item's bullet.
        int radius = Scale(3);
        int cx = rect.left + gutter / 2;
        int cy = (rect.top + rect.bottom) / 2;
        UniqueBrush brush(::CreateSolidBrush(Ref(text)));
        UniquePen pen(::CreatePen(PS_SOLID, 1, Ref(text)));
        SelectScope useBrush(dc, brush.get());
        SelectScope usePen(dc, pen.get());
        ::Ellipse(dc, cx - radius, cy - radius, cx + radius + 1, cy + radius + 1);
    }
    RECT label{rect.left + gutter, rect.top, rect.right - Scale(8), rect.bottom};
    SelectScope font(dc, menuFont_.get());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, Ref(text));
    UINT format = DT_SINGLELINE | DT_VCENTER | DT_LEFT;
    if ((item.itemState & ODS_NOACCEL) != 0) {
        format |= DT_HIDEPREFIX;
    }
    ::DrawTextW(dc, known->caption.c_str(), static_cast<int>(known->caption.size()), &label, format);
    return true;
}

LRESULT CALLBACK ColorSchemeController::SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                                     UINT_PTR role, DWORD_PTR self) {
    auto* controller = reinterpret_cast<ColorSchemeController*>(self);
    if (message == WM_NCDESTROY) {
        ::RemoveWindowSubclass(hwnd, &SubclassProc, role);
        controller->Forget(hwnd);
        return ::DefSubclassProc(hwnd, message, wParam, lParam);
    }
    return controller->OnSubclassMessage(hwnd, message, wParam, lParam, static_cast<Role>(role));
}

LRESULT ColorSchemeController::OnSubclassMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                                 Role role) {
    switch (role) {
    case rlToolBar:
        if (message == WM_ERASEBKGND) {
            RECT client{};
            ::GetClientRect(hwnd, &client);
            Fill(reinterpret_cast<HDC>(wParam), client, surfaceBrush_.get(), palette_.surface);
            return 1;
        }
        break;
    case rlList:
        if (message == WM_NOTIFY) {
            const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
            LRESULT result = 0;
            if (header.hwndFrom == header_ && OnNotify(header, result)) {
                return result;
            }
        } else if (message == WM_NCPAINT) {
            LRESULT result = ::DefSubclassProc(hwnd, message, wParam, lParam);
            PaintListBorder();
            return result;
        }
        break;
    case rlStatusBar:
        if (message == SB_SETTEXTW && LOBYTE(LOWORD(wParam)) == SB_SIMPLEID) {
            statusText_ = lParam != 0 ? reinterpret_cast<const wchar_t*>(lParam) : L"";
            LRESULT result = ::DefSubclassProc(hwnd, message, wParam, lParam);
            ::InvalidateRect(hwnd, nullptr, FALSE);
            return result;
        }
        if (message == WM_ERASEBKGND) {
            return 1;
        }
        if (message == WM_PAINT) {
            PAINTSTRUCT paint{};
            HDC dc = ::BeginPaint(hwnd, &paint);
            PaintStatusBar(dc);
            ::EndPaint(hwnd, &paint);
            return 0;
        }
        if (message == WM_PRINTCLIENT) {
            PaintStatusBar(reinterpret_cast<HDC>(wParam));
            return 0;
        }
        break;
    case rlSearchBox:
        if (message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX || message == WM_CTLCOLORSTATIC) {
            LRESULT result = 0;
            if (OnCtlColor(message, wParam, lParam, result)) {
                return result;
            }
        } else if (message == WM_PAINT) {
            PAINTSTRUCT paint{};
            HDC dc = ::BeginPaint(hwnd, &paint);
            PaintSearchBox(dc);
            ::EndPaint(hwnd, &paint);
            return 0;
        } else if (message == WM_PRINTCLIENT) {
            PaintSearchBox(reinterpret_cast<HDC>(wParam));
            return 0;
        } else if (message == WM_ERASEBKGND) {
            return 1;
        } else if ((message == WM_COMMAND &&
                    (HIWORD(wParam) == EN_SETFOCUS || HIWORD(wParam) == EN_KILLFOCUS)) ||
                   message == WM_SETFOCUS || message == WM_KILLFOCUS || message == WM_LBUTTONDOWN ||
                   message == WM_LBUTTONUP || message == CB_SHOWDROPDOWN || message == WM_ENABLE) {
            // These change the focus edge or the button; the combo box may have drawn its own frame
            // directly, so it is painted again.
            LRESULT result = ::DefSubclassProc(hwnd, message, wParam, lParam);
            ::InvalidateRect(hwnd, nullptr, FALSE);
            return result;
        }
        break;
    }
    return ::DefSubclassProc(hwnd, message, wParam, lParam);
}

// --- tool bar --------------------------------------------------------------------------------------

LRESULT ColorSchemeController::ToolBarCustomDraw(NMTBCUSTOMDRAW& draw) {
    switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        return CDRF_NOTIFYITEMDRAW | CDRF_NOTIFYPOSTPAINT;
    case CDDS_ITEMPREPAINT:
        DrawToolButton(draw);
        return CDRF_SKIPDEFAULT;
    case CDDS_POSTPAINT:
        DrawToolSeparators(draw.nmcd.hdc);
        return CDRF_DODEFAULT;
    default:
        return CDRF_DODEFAULT;
    }
}

void ColorSchemeController::DrawToolButton(NMTBCUSTOMDRAW& draw) {
    HDC dc = draw.nmcd.hdc;
    const RECT rect = draw.nmcd.rc;
    auto id = static_cast<int>(draw.nmcd.dwItemSpec);
    wchar_t caption[256] = {};
    TBBUTTONINFOW info{};
    info.cbSize = sizeof info;
    info.dwMask = TBIF_IMAGE | TBIF_STYLE | TBIF_STATE | TBIF_TEXT;
    info.pszText = caption;
    info.cchText = static_cast<int>(std::size(caption));
    if (::SendMessageW(toolBar_, TB_GETBUTTONINFOW, static_cast<WPARAM>(id),
                       reinterpret_cast<LPARAM>(&info)) < 0) {
        return;
    }
    UINT state = draw.nmcd.uItemState;
    bool disabled = (state & (CDIS_DISABLED | CDIS_GRAYED)) != 0 || (info.fsState & TBSTATE_ENABLED) == 0;
    bool pressed = !disabled && ((state & CDIS_SELECTED) != 0 || (info.fsState & TBSTATE_PRESSED) != 0);
    bool checked = (state & CDIS_CHECKED) != 0 || (info.fsState & TBSTATE_CHECKED) != 0;
    bool hot = !disabled && (state & CDIS_HOT) != 0;

    Fill(dc, rect, surfaceBrush_.get(), palette_.surface);
    Color fill = palette_.surface;
    Color edge = palette_.surface;
    if (pressed) {
        fill = edge = palette_.surfacePressed;
    } else if (checked) {
        fill = hot ? MixColors(palette_.surfaceChecked, palette_.accent, 40) : palette_.surfaceChecked;
        edge = palette_.accent;
    } else if (hot) {
        fill = edge = palette_.surfaceHot;
    }
    RECT box = rect;
    ::InflateRect(&box, -Scale(1), -Scale(1));
    if (fill != palette_.surface || edge != palette_.surface) {
        RoundBox(dc, box, fill, edge, Scale(6));
    }

    auto images = reinterpret_cast<HIMAGELIST>(::SendMessageW(toolBar_, TB_GETIMAGELIST, 0, 0));
    int imageWidth = 0;
    int imageHeight = 0;
    if (images != nullptr && info.iImage >= 0) {
        ::ImageList_GetIconSize(images, &imageWidth, &imageHeight);
    }
    std::wstring text = caption;
    SelectScope font(dc, FontOf(toolBar_));
    SIZE textSize = text.empty() ? SIZE{} : TextSize(dc, text);
    bool dropDown = (info.fsStyle & BTNS_WHOLEDROPDOWN) != 0;
    int gap = Scale(4);
    int arrow = dropDown ? Scale(8) : 0;
    int content = imageWidth + (textSize.cx > 0 ? gap + textSize.cx : 0) + (dropDown ? gap + arrow : 0);
    int x = rect.left + std::max<int>((rect.right - rect.left - content) / 2, Scale(3));
    int shift = pressed ? 1 : 0;
    if (imageWidth > 0) {
        IMAGELISTDRAWPARAMS image{};
        image.cbSize = sizeof image;
        image.himl = images;
        image.i = info.iImage;
        image.hdcDst = dc;
        image.x = x + shift;
        image.y = rect.top + (rect.bottom - rect.top - imageHeight) / 2 + shift;
        image.rgbBk = CLR_NONE;
        image.rgbFg = CLR_NONE;
        image.fStyle = ILD_TRANSPARENT;
        if (disabled) {
            // A faded grey image for a command that is not available.
            image.fState = ILS_SATURATE | ILS_ALPHA;
            image.Frame = 110;
        }
        ::ImageList_DrawIndirect(&image);
        x += imageWidth + gap;
    }
    if (textSize.cx > 0) {
        RECT label{x + shift, rect.top + shift, rect.right - (dropDown ? arrow + gap : 0),
                   rect.bottom + shift};
        ::SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(dc, Ref(disabled ? palette_.disabledText : palette_.text));
        ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &label,
                    DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX | DT_END_ELLIPSIS);
        x += textSize.cx + gap;
    }
    if (dropDown) {
        int right = std::min<int>(x + arrow, rect.right - Scale(3));
        DownArrow(dc, right - arrow / 2, (rect.top + rect.bottom) / 2 + shift, arrow,
                  disabled ? palette_.disabledText : palette_.secondaryText);
    }
}

void ColorSchemeController::DrawToolSeparators(HDC dc) {
    auto count = static_cast<int>(::SendMessageW(toolBar_, TB_BUTTONCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        TBBUTTON button{};
        if (!::SendMessageW(toolBar_, TB_GETBUTTON, static_cast<WPARAM>(i),
                            reinterpret_cast<LPARAM>(&button)) ||
            (button.fsStyle & BTNS_SEP) == 0 || (button.fsState & TBSTATE_HIDDEN) != 0) {
            continue;
        }
        RECT rect{};
        if (!::SendMessageW(toolBar_, TB_GETITEMRECT, static_cast<WPARAM>(i),
                            reinterpret_cast<LPARAM>(&rect))) {
            continue;
        }
        // The system's separator line is light; the palette's replaces it. A separator that ends a row
        // and the slot under the search box get none.
        Fill(dc, rect, surfaceBrush_.get(), palette_.surface);
        bool slot = rect.right - rect.left > Scale(16);
        if ((button.fsState & TBSTATE_WRAP) == 0 && !slot) {
            int x = (rect.left + rect.right) / 2;
            Fill(dc, RECT{x, rect.top + Scale(7), x + 1, rect.bottom - Scale(7)}, borderBrush_.get(),
                 palette_.border);
        }
    }
}

// --- list and header -------------------------------------------------------------------------------

LRESULT ColorSchemeController::ListCustomDraw(NMLVCUSTOMDRAW& draw) {
    switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        return CDRF_NOTIFYITEMDRAW | CDRF_NOTIFYPOSTPAINT;
    case CDDS_ITEMPREPAINT: {
        auto index = static_cast<int>(draw.nmcd.dwItemSpec);
        bool selected = (ListView_GetItemState(list_, index, LVIS_SELECTED) & LVIS_SELECTED) != 0;
        // Without LVS_SHOWSELALWAYS the highlight shows only while the list has the focus.
        bool shown = selected && (::GetFocus() == list_ ||
                                  (::GetWindowLongPtrW(list_, GWL_STYLE) & LVS_SHOWSELALWAYS) != 0);
        // The list must not draw its own (themed, light) highlight: the palette's takes its place.
        draw.nmcd.uItemState &= ~static_cast<UINT>(CDIS_SELECTED | CDIS_HOT);
        if (shown) {
            draw.nmcd.uItemState &= ~static_cast<UINT>(CDIS_FOCUS);
            RECT row{};
            if (ListView_GetItemRect(list_, index, &row, LVIR_BOUNDS)) {
                Fill(draw.nmcd.hdc, row, palette_.selection);
            }
            draw.clrText = Ref(palette_.selectionText);
            draw.clrTextBk = Ref(palette_.selection);
        } else {
            draw.clrTextBk = Ref(palette_.listBackground);
        }
        return CDRF_NEWFONT;
    }
    case CDDS_POSTPAINT:
        DrawGridLines(draw.nmcd.hdc);
        return CDRF_DODEFAULT;
    default:
        return CDRF_DODEFAULT;
    }
}

void ColorSchemeController::DrawGridLines(HDC dc) {
    if (!listHadGridLines_ || ListView_GetView(list_) != LV_VIEW_DETAILS || header_ == nullptr) {
        return;
    }
    RECT client{};
    ::GetClientRect(list_, &client);
    int top = client.top;
    if (::IsWindowVisible(header_)) {
        RECT header{};
        ::GetWindowRect(header_, &header);
        ::MapWindowPoints(nullptr, list_, reinterpret_cast<POINT*>(&header), 2);
        top = std::max<int>(top, header.bottom);
    }
    // A column line at the right edge of every column, as the header places them.
    int columns = Header_GetItemCount(header_);
    int right = client.left;
    for (int i = 0; i < columns; ++i) {
        RECT item{};
        if (!Header_GetItemRect(header_, i, &item)) {
            continue;
        }
        ::MapWindowPoints(header_, list_, reinterpret_cast<POINT*>(&item), 2);
        Fill(dc, RECT{item.right - 1, top, item.right, client.bottom}, gridBrush_.get(), palette_.gridLine);
        right = std::max<int>(right, item.right);
    }
    // A row line under every row, and on below the last one to the bottom of the list.
    int count = ListView_GetItemCount(list_);
    if (count <= 0) {
        return;
    }
    RECT row{};
    if (!ListView_GetItemRect(list_, ListView_GetTopIndex(list_), &row, LVIR_BOUNDS)) {
        return;
    }
    int height = row.bottom - row.top;
    if (height <= 0) {
        return;
    }
    for (int y = row.bottom - 1; y < client.bottom; y += height) {
        Fill(dc, RECT{client.left, y, std::max<int>(right, client.right), y + 1}, gridBrush_.get(),
             palette_.gridLine);
    }
}

LRESULT ColorSchemeController::HeaderCustomDraw(NMCUSTOMDRAW& draw) {
    switch (draw.dwDrawStage) {
    case CDDS_PREPAINT: {
        RECT client{};
        ::GetClientRect(header_, &client);
        Fill(draw.hdc, client, surfaceBrush_.get(), palette_.surface);
        return CDRF_NOTIFYITEMDRAW | CDRF_NOTIFYPOSTPAINT;
    }
    case CDDS_ITEMPREPAINT:
        DrawHeaderItem(draw);
        return CDRF_SKIPDEFAULT;
    case CDDS_POSTPAINT:
        FillHeaderRest(draw.hdc);
        return CDRF_DODEFAULT;
    default:
        return CDRF_DODEFAULT;
    }
}

void ColorSchemeController::DrawHeaderItem(NMCUSTOMDRAW& draw) {
    HDC dc = draw.hdc;
    RECT rect = draw.rc;
    bool pressed = (draw.uItemState & CDIS_SELECTED) != 0;
    bool hot = (draw.uItemState & CDIS_HOT) != 0;
    Fill(dc, rect, pressed ? palette_.surfacePressed : hot ? palette_.surfaceHot : palette_.surface);
    // The divider on the right and the line that parts the header from the rows.
    Fill(dc, RECT{rect.right - 1, rect.top + Scale(4), rect.right, rect.bottom - Scale(4)},
         borderBrush_.get(), palette_.border);
    Fill(dc, RECT{rect.left, rect.bottom - 1, rect.right, rect.bottom}, borderBrush_.get(), palette_.border);

    wchar_t caption[260] = {};
    HDITEMW item{};
    item.mask = HDI_TEXT | HDI_FORMAT;
    item.pszText = caption;
    item.cchTextMax = static_cast<int>(std::size(caption));
    if (!Header_GetItem(header_, static_cast<int>(draw.dwItemSpec), &item)) {
        return;
    }
    UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;
    switch (item.fmt & HDF_JUSTIFYMASK) {
    case HDF_RIGHT:
        format |= DT_RIGHT;
        break;
    case HDF_CENTER:
        format |= DT_CENTER;
        break;
    default:
        format |= DT_LEFT;
        break;
    }
    RECT label{rect.left + Scale(6), rect.top, rect.right - Scale(6), rect.bottom - 1};
    if (pressed) {
        ::OffsetRect(&label, 1, 1);
    }
    SelectScope font(dc, FontOf(header_));
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, Ref(palette_.text));
    ::DrawTextW(dc, caption, -1, &label, format);
}

void ColorSchemeController::FillHeaderRest(HDC dc) {
    RECT client{};
    ::GetClientRect(header_, &client);
    int right = client.left;
    int count = Header_GetItemCount(header_);
    for (int i = 0; i < count; ++i) {
        RECT item{};
        if (Header_GetItemRect(header_, i, &item)) {
            right = std::max<int>(right, item.right);
        }
    }
    if (right < client.right) {
        Fill(dc, RECT{right, client.top, client.right, client.bottom}, surfaceBrush_.get(), palette_.surface);
        Fill(dc, RECT{right, client.bottom - 1, client.right, client.bottom}, borderBrush_.get(),
             palette_.border);
    }
}

void ColorSchemeController::PaintListBorder() {
    if ((::GetWindowLongPtrW(list_, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) == 0) {
        return;
    }
    HDC dc = ::GetWindowDC(list_);
    if (dc == nullptr) {
        return;
    }
    RECT frame{};
    ::GetWindowRect(list_, &frame);
    ::OffsetRect(&frame, -frame.left, -frame.top);
    // The sunken edge becomes a thin line in the border colour around the list's own background.
    Frame(dc, frame, palette_.border);
    int edge = ::GetSystemMetricsForDpi(SM_CXEDGE, dpi_);
    for (int i = 1; i < edge; ++i) {
        ::InflateRect(&frame, -1, -1);
        Frame(dc, frame, palette_.listBackground);
    }
    ::ReleaseDC(list_, dc);
}

// --- status bar and search box ---------------------------------------------------------------------

void ColorSchemeController::PaintStatusBar(HDC target) {
    RECT client{};
    ::GetClientRect(statusBar_, &client);
    BufferedCanvas canvas(target, client);
    HDC dc = canvas.dc();
    Fill(dc, client, surfaceBrush_.get(), palette_.surface);
    Fill(dc, RECT{client.left, client.top, client.right, client.top + 1}, borderBrush_.get(),
         palette_.border);

    bool grip = (::GetWindowLongPtrW(statusBar_, GWL_STYLE) & SBARS_SIZEGRIP) != 0 &&
                !::IsZoomed(::GetParent(statusBar_));
    int gripWidth = grip ? ::GetSystemMetricsForDpi(SM_CXVSCROLL, dpi_) : 0;

    const std::wstring& text = statusText_;
    if (!text.empty()) {
        RECT label{client.left + Scale(6), client.top + 1, client.right - gripWidth - Scale(2),
                   client.bottom};
        SelectScope font(dc, FontOf(statusBar_));
        ::SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(dc, Ref(palette_.text));
        ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &label,
                    DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
    if (grip) {
        // Six dots in a triangle in the bottom right corner.
        int dot = std::max(Scale(2), 2);
        int step = dot + std::max(Scale(2), 1);
        int right = client.right - Scale(3);
        int bottom = client.bottom - Scale(3);
        for (int row = 0; row < 3; ++row) {
            for (int column = 0; column <= row; ++column) {
                int x = right - (column + 1) * step + (step - dot);
                int y = bottom - (3 - row) * step + (step - dot);
                Fill(dc, RECT{x, y, x + dot, y + dot}, palette_.secondaryText);
            }
        }
    }
}

void ColorSchemeController::ReadStatusText() {
    auto read = [this](WPARAM part) {
        auto length = LOWORD(::SendMessageW(statusBar_, SB_GETTEXTLENGTHW, part, 0));
        std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
        ::SendMessageW(statusBar_, SB_GETTEXTW, part, reinterpret_cast<LPARAM>(text.data()));
        text.resize(wcsnlen(text.c_str(), text.size()));
        return text;
    };
    statusText_ = read(SB_SIMPLEID);
    // Wine answers the simple text only as part 0.
    if (statusText_.empty() && ::SendMessageW(statusBar_, SB_ISSIMPLE, 0, 0) != 0) {
        statusText_ = read(0);
    }
}

void ColorSchemeController::PaintSearchBox(HDC dc) {
    RECT client{};
    ::GetClientRect(searchBox_, &client);
    COMBOBOXINFO parts{};
    parts.cbSize = sizeof parts;
    ::GetComboBoxInfo(searchBox_, &parts);
    int saved = ::SaveDC(dc);
    if (IsAlive(searchEdit_)) {
        // The edit field paints its own text; painting over it here would wipe what it shows.
        RECT edit{};
        ::GetWindowRect(searchEdit_, &edit);
        ::MapWindowPoints(nullptr, searchBox_, reinterpret_cast<POINT*>(&edit), 2);
        ::ExcludeClipRect(dc, edit.left, edit.top, edit.right, edit.bottom);
    }
    Fill(dc, client, editBrush_.get(), palette_.editBackground);
    bool dropped = ::SendMessageW(searchBox_, CB_GETDROPPEDSTATE, 0, 0) != 0;
    HWND focus = ::GetFocus();
    bool focused = focus != nullptr && (focus == searchBox_ || focus == searchEdit_);
    RECT button = parts.rcButton;
    if (button.right > button.left) {
        bool pressed = dropped || (parts.stateButton & STATE_SYSTEM_PRESSED) != 0;
        if (pressed) {
            RECT face = button;
            ::InflateRect(&face, 0, -1);
            Fill(dc, face, palette_.surfacePressed);
        }
        int size = std::max(Scale(8), 6);
        DownArrow(dc, (button.left + button.right) / 2, (button.top + button.bottom) / 2, size,
                  palette_.secondaryText);
    }
    Frame(dc, client, focused || dropped ? palette_.accent : palette_.border);
    ::RestoreDC(dc, saved);
}

} // namespace orvane
