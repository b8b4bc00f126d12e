// Applies the main window's colour schemes and gives the system look back. "Windows" leaves every
// control to the system; "Light" and "Dark" colour the list, hand the tool bar, the list and its
// header, the search box, the status bar and the colour menu to their painters, and ask Windows for
// its dark title bar and dark scroll bars in "Dark". The controller owns the palette, the brushes and
// the subclasses the painters are called through.
#pragma once

#include "system/handles_win.h"
#include "ui/paint/gdi_paint_win.h"
#include "ui/paint/theme.h"
#include "ui/controls/window_subclass_win.h"

#include <windows.h>
#include <commctrl.h>

#include <array>
#include <cstddef>
#include <map>
#include <memory>

namespace orvane {

class ToolBarPainter;
class ListPainter;
class StatusBarPainter;
class SearchBoxPainter;
class ColorMenuPainter;

// The live system colours, for the "Windows" palette.
SystemColors CurrentSystemColors();

// Asks the window manager for a dark (or the default) title bar; Windows 10 1809 and later know
// it. False when the system refused.
bool SetDarkTitleBar(HWND window, bool dark);

class ColorSchemeController {
public:
    ColorSchemeController();
    ColorSchemeController(const ColorSchemeController&) = delete;
    ColorSchemeController& operator=(const ColorSchemeController&) = delete;
    // Gives every control its system look back.
    ~ColorSchemeController();

    // The controls to paint: the form, its tool bar, the search combo box on the tool bar, the list
    // view (its header is found through it) and the status bar. Changes nothing until Apply.
    void Attach(HWND form, HWND toolBar, HWND searchBox, HWND list, HWND statusBar);
    // The colour drop-down menu, drawn in the palette's colours under Light and Dark.
    void AttachMenu(HMENU colorMenu);
    // The list's own hint window (the row hint, apart from the list view's tooltips), given the dark
    // theme in "Dark" as the tooltips are.
    void AttachListHint(HWND hint);
    // Restores the system look and forgets the controls.
    void Detach();

    // Applies scheme 0, 1 or 2 (anything else counts as 0) for the window's DPI. Call it again on
    // WM_SYSCOLORCHANGE, WM_THEMECHANGED and WM_DPICHANGED. Scheme 0 restores what the controller
    // changed: system colours (the list on the button face, as the window), default themes, the
    // default title bar, no subclass.
    void Apply(int scheme, UINT dpi);
    int Scheme() const noexcept { return scheme_; }
    bool IsDark() const noexcept { return paint_.palette.dark && scheme_ != csWindows; }
    const Palette& Colors() const noexcept { return paint_.palette; }
    // Whether the window manager took the dark title bar of the last Apply.
    bool HasDarkTitleBar() const noexcept { return titleBarDark_; }
    // The window theme last asked for `window` (SetWindowTheme's application name), null for the
    // default. Windows draws the dark ones dark; Wine ignores them, so this is what tests can see.
    const wchar_t* ThemeAskedFor(HWND window) const;

    // Hooks the form's window procedure calls first. Each returns true when it handled the message,
    // with the message's result in `result`.
    // NM_CUSTOMDRAW of the tool bar, the list and the list's header (the header's reaches the list's
    // painter through the list's subclass as well).
    bool OnNotify(const NMHDR& header, LRESULT& result);
    // WM_CTLCOLOREDIT, WM_CTLCOLORLISTBOX, WM_CTLCOLORSTATIC: the search box and any other control.
    bool OnCtlColor(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // WM_ERASEBKGND of the form; true when the background was painted.
    bool OnEraseBackground(HDC dc);
    // WM_MEASUREITEM and WM_DRAWITEM of the colour menu's items.
    bool OnMeasureItem(MEASUREITEMSTRUCT& item);
    bool OnDrawItem(const DRAWITEMSTRUCT& item);

    // Whether the controller's subclass is installed on `window`.
    static bool IsSubclassed(HWND window);

private:
    // The subclass ids of the painted controls: a range of the theme's own, apart from other owners'.
    enum Role : UINT_PTR { rlToolBar = 0x7E01, rlList, rlStatusBar, rlSearchBox };
    static constexpr std::size_t kRoles = 4;

    void StyleControls();
    void RestoreSystemLook();
    void SetSystemListColors();
    void SetThemes(bool dark);
    void SetThemeOf(HWND window, const wchar_t* theme);
    void UseDarkToolbarImages(bool dark);
    void InstallSubclasses();
    void Subclass(Role role, HWND window, WindowSubclass::Handler painter);
    void RemoveSubclasses();
    void OwnerDrawMenu();
    void RestoreMenu();
    void RedrawAll();
    void Forget(HWND window);

    HWND form_ = nullptr;
    HWND toolBar_ = nullptr;
    HWND searchBox_ = nullptr;
    HWND searchEdit_ = nullptr;
    HWND searchList_ = nullptr;
    HWND list_ = nullptr;
    HWND header_ = nullptr;
    HWND statusBar_ = nullptr;
    HMENU menu_ = nullptr;
    HWND listHint_ = nullptr;

    ColorScheme scheme_ = csWindows;
    // The palette of the scheme, its brushes (under Light and Dark) and the DPI.
    SchemePaint paint_;

    // What Light or Dark changed and scheme 0 gives back.
    bool styled_ = false;
    bool listHadGridLines_ = false;
    bool titleBarDark_ = false;
    HIMAGELIST formToolbarImages_ = nullptr;
    UniqueImageList darkToolbarImages_;
    UINT darkToolbarImagesDpi_ = 0;
    std::map<HWND, const wchar_t*> themesAsked_;

    // The painters of Light and Dark, each called for its own control; none under Windows. Each is
    // shared with its control's subclass, so that one switched off during a message of its control
    // (Windows chosen from the tool bar's colour menu) lasts to the end of that message.
    std::shared_ptr<ToolBarPainter> toolBarPainter_;
    std::shared_ptr<ListPainter> listPainter_;
    std::shared_ptr<StatusBarPainter> statusBarPainter_;
    std::shared_ptr<SearchBoxPainter> searchBoxPainter_;
    std::unique_ptr<ColorMenuPainter> menuPainter_;
    // The subclasses through which the painters see their controls' messages, by role. They go
    // before the painters they call.
    std::array<std::unique_ptr<WindowSubclass>, kRoles> subclasses_;
};

} // namespace orvane
