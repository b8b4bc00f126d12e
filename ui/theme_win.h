// Paints the main window's controls in one of the three colour schemes. "Windows" leaves every
// control to the system; "Light" and "Dark" colour the list, draw the tool bar, the list's header,
// the search box, the status bar and the colour menu themselves, and ask Windows for its dark title
// bar and dark scroll bars in "Dark".
#pragma once

#include "system/handles_win.h"
#include "ui/theme.h"

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

namespace orvane {

// The live system colours, for the "Windows" palette.
SystemColors CurrentSystemColors();

// Asks the window manager for a dark (or the default) title bar; Windows 10 1809 and later know
// it. False when the system refused.
bool SetDarkTitleBar(HWND window, bool dark);

// Whether `procedure` subclasses `window` under `id`, with its reference data. comctl32 exports the
// lookup by ordinal only on some systems, so it is taken at run time.
bool FindWindowSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id, DWORD_PTR* data);

class ColorSchemeController {
public:
    ColorSchemeController() = default;
    ColorSchemeController(const ColorSchemeController&) = delete;
    ColorSchemeController& operator=(const ColorSchemeController&) = delete;
    // Gives every control its system look back.
    ~ColorSchemeController();

    // The controls to paint: the form, its tool bar, the search combo box on the tool bar, the list
    // view (its header is found through it) and the status bar. Changes nothing until Apply.
    void Attach(HWND form, HWND toolBar, HWND searchBox, HWND list, HWND statusBar);
    // The colour drop-down menu, drawn in the palette's colours under Light and Dark.
    void AttachMenu(HMENU colorMenu);
    // Restores the system look and forgets the controls.
    void Detach();

    // Applies scheme 0, 1 or 2 (anything else counts as 0) for the window's DPI. Call it again on
    // WM_SYSCOLORCHANGE, WM_THEMECHANGED and WM_DPICHANGED. Scheme 0 restores what the controller
    // changed: system colours (the list on the button face, as the window), default themes, the
    // default title bar, no subclass.
    void Apply(int scheme, UINT dpi);
    int Scheme() const noexcept { return scheme_; }
    bool IsDark() const noexcept { return palette_.dark && scheme_ != csWindows; }
    const Palette& Colors() const noexcept { return palette_; }
    // Whether the window manager took the dark title bar of the last Apply.
    bool HasDarkTitleBar() const noexcept { return titleBarDark_; }

    // Hooks the form's window procedure calls first. Each returns true when it handled the message,
    // with the message's result in `result`.
    // NM_CUSTOMDRAW of the tool bar, the list and the list's header (the header's reaches the
    // controller through the list's subclass as well).
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
    enum Role : UINT_PTR { rlToolBar = 1, rlList, rlStatusBar, rlSearchBox };

    struct MenuItem {
        UINT id;
        UINT type;
        std::wstring caption;
    };

    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR role,
                                         DWORD_PTR self);
    LRESULT OnSubclassMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, Role role);

    void StyleControls();
    void RestoreSystemLook();
    void SetSystemListColors();
    void SetThemes(bool dark);
    void UseDarkToolbarImages(bool dark);
    void InstallSubclasses();
    void RemoveSubclasses();
    void OwnerDrawMenu();
    void RestoreMenu();
    void RedrawAll();
    void Forget(HWND window);

    LRESULT ToolBarCustomDraw(NMTBCUSTOMDRAW& draw);
    void DrawToolButton(NMTBCUSTOMDRAW& draw);
    void DrawToolSeparators(HDC dc);
    LRESULT ListCustomDraw(NMLVCUSTOMDRAW& draw);
    void DrawGridLines(HDC dc);
    LRESULT HeaderCustomDraw(NMCUSTOMDRAW& draw);
    void DrawHeaderItem(NMCUSTOMDRAW& draw);
    void FillHeaderRest(HDC dc);
    void PaintStatusBar(HDC dc);
    void ReadStatusText();
    void PaintSearchBox(HDC dc);
    void PaintListBorder();

    int Scale(int value) const { return ::MulDiv(value, static_cast<int>(dpi_), USER_DEFAULT_SCREEN_DPI); }

    HWND form_ = nullptr;
    HWND toolBar_ = nullptr;
    HWND searchBox_ = nullptr;
    HWND searchEdit_ = nullptr;
    HWND searchList_ = nullptr;
    HWND list_ = nullptr;
    HWND header_ = nullptr;
    HWND statusBar_ = nullptr;
    HMENU menu_ = nullptr;

    ColorScheme scheme_ = csWindows;
    Palette palette_ = PaletteFor(csWindows);
    UINT dpi_ = USER_DEFAULT_SCREEN_DPI;

    // What Light or Dark changed and scheme 0 gives back.
    bool styled_ = false;
    bool listHadGridLines_ = false;
    bool titleBarDark_ = false;
    bool menuOwnerDrawn_ = false;
    HBRUSH menuOriginalBrush_ = nullptr;
    std::vector<MenuItem> menuItems_;
    HIMAGELIST formToolbarImages_ = nullptr;
    UniqueImageList darkToolbarImages_;
    UINT darkToolbarImagesDpi_ = 0;

    // The status bar's simple text, kept as it is set while the status bar is subclassed.
    std::wstring statusText_;

    UniqueBrush windowBrush_;
    UniqueBrush surfaceBrush_;
    UniqueBrush editBrush_;
    UniqueBrush menuBrush_;
    UniqueBrush gridBrush_;
    UniqueBrush borderBrush_;
    UniqueFont menuFont_;
};

} // namespace orvane
