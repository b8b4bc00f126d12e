// The scheme controller: what it applies and gives back, the hooks the form calls, the subclasses
// it installs and removes, and the whole window in Light and in the system look.
#include "ui/controls/theme_win.h"

#include "system/handles_win.h"
#include "tests/support/test_support_win.h"
#include "tests/support/themed_form_win.h"
#include "ui/controls/toolbar_images_win.h"
#include "ui/controls/window_subclass_win.h"

#include <gtest/gtest.h>

#include <dwmapi.h>

#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace orvane {
namespace {

using namespace test;

using ColorSchemeControl = test::ThemedFormTest;

TEST_F(ColorSchemeControl, ListTakesThePaletteAndGetsTheSystemColoursBack) {
    TestForm& f = *form_;
    f.Apply(csDark);
    Palette dark = PaletteFor(csDark);
    EXPECT_EQ(f.controller.Scheme(), csDark);
    EXPECT_TRUE(f.controller.IsDark());
    EXPECT_EQ(ListView_GetBkColor(f.list), dark.listBackground);
    EXPECT_EQ(ListView_GetTextBkColor(f.list), dark.listBackground);
    EXPECT_EQ(ListView_GetTextColor(f.list), 0xFFFFFFu);
    // The list's own grid lines are light; the controller draws its own instead.
    EXPECT_EQ(ListView_GetExtendedListViewStyle(f.list) & LVS_EX_GRIDLINES, 0u);

    f.Apply(csLight);
    EXPECT_FALSE(f.controller.IsDark());
    EXPECT_EQ(ListView_GetBkColor(f.list), 0xFFFFFFu);
    EXPECT_EQ(ListView_GetTextColor(f.list), PaletteFor(csLight).listText);

    f.Apply(csWindows);
    EXPECT_EQ(f.controller.Scheme(), csWindows);
    EXPECT_EQ(ListView_GetBkColor(f.list), ::GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(ListView_GetTextBkColor(f.list), ::GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(ListView_GetTextColor(f.list), ::GetSysColor(COLOR_WINDOWTEXT));
    EXPECT_NE(ListView_GetExtendedListViewStyle(f.list) & LVS_EX_GRIDLINES, 0u);
    // The other extended styles were never touched.
    EXPECT_NE(ListView_GetExtendedListViewStyle(f.list) & LVS_EX_FULLROWSELECT, 0u);

    // An index outside the menu (a hand-edited settings file) gives the system look.
    f.Apply(csDark);
    f.Apply(7);
    EXPECT_EQ(f.controller.Scheme(), csWindows);
    EXPECT_EQ(ListView_GetBkColor(f.list), ::GetSysColor(COLOR_BTNFACE));
    EXPECT_FALSE(ColorSchemeController::IsSubclassed(f.list));
}

TEST_F(ColorSchemeControl, WindowsSchemeRemovesEverySubclassAndKeepsTheFormsOwn) {
    TestForm& f = *form_;
    const HWND controls[] = {f.toolBar, f.list, f.statusBar, f.searchBox};
    std::vector<LONG_PTR> procedures;
    for (HWND control : controls) {
        procedures.push_back(::GetWindowLongPtrW(control, GWLP_WNDPROC));
        EXPECT_FALSE(ColorSchemeController::IsSubclassed(control));
    }
    f.Apply(csDark);
    for (HWND control : controls) {
        EXPECT_TRUE(ColorSchemeController::IsSubclassed(control));
    }
    // A subclass of its own replaces the procedures of the status bar and the search box.
    EXPECT_NE(::GetWindowLongPtrW(f.statusBar, GWLP_WNDPROC), procedures[2]);
    EXPECT_NE(::GetWindowLongPtrW(f.searchBox, GWLP_WNDPROC), procedures[3]);
    f.Apply(csLight);
    f.Apply(csDark);
    f.Apply(csWindows);
    for (std::size_t i = 0; i < std::size(controls); ++i) {
        EXPECT_FALSE(ColorSchemeController::IsSubclassed(controls[i])) << i;
        EXPECT_EQ(::GetWindowLongPtrW(controls[i], GWLP_WNDPROC), procedures[i]) << i;
    }
    EXPECT_TRUE(WindowSubclass::IsInstalled(f.toolBar, test::kFormSubclassId));
}

TEST_F(ColorSchemeControl, DetachGivesTheSystemLookBack) {
    TestForm& f = *form_;
    f.Apply(csDark);
    f.controller.Detach();
    EXPECT_FALSE(ColorSchemeController::IsSubclassed(f.list));
    EXPECT_FALSE(ColorSchemeController::IsSubclassed(f.statusBar));
    EXPECT_EQ(ListView_GetBkColor(f.list), ::GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(reinterpret_cast<HIMAGELIST>(::SendMessageW(f.toolBar, TB_GETIMAGELIST, 0, 0)),
              f.toolbarImages.get());
    // Hooks of a detached controller handle nothing.
    NMHDR header{f.toolBar, kToolBarId, static_cast<UINT>(NM_CUSTOMDRAW)};
    LRESULT result = 0;
    EXPECT_FALSE(f.controller.OnNotify(header, result));
}

// Windows draws a tooltip with the DarkMode_Explorer theme dark; Wine ignores that theme and draws
// every tooltip light, so what is checked is the theme the controller asked for.
TEST_F(ColorSchemeControl, TooltipsAndTheRowHintAskForTheDarkThemeOnlyInDark) {
    TestForm& f = *form_;
    auto askedFor = [&](HWND window) {
        const wchar_t* theme = f.controller.ThemeAskedFor(window);
        return std::wstring(theme != nullptr ? theme : L"(default)");
    };
    f.Apply(csDark);
    // A row hint as the list view makes its own, owned by the form (which destroys it); attached while
    // Dark shows.
    HWND hint = ::CreateWindowExW(
        WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, f.hwnd(), nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(hint, nullptr);
    f.controller.AttachListHint(hint);
    EXPECT_EQ(askedFor(hint), L"DarkMode_Explorer");
    const HWND tips[] = {hint, reinterpret_cast<HWND>(::SendMessageW(f.toolBar, TB_GETTOOLTIPS, 0, 0)),
                         ListView_GetToolTips(f.list)};
    for (int scheme : {csLight, csDark, csWindows}) {
        f.Apply(scheme);
        for (std::size_t i = 0; i < std::size(tips); ++i) {
            ASSERT_NE(tips[i], nullptr) << i;
            EXPECT_EQ(askedFor(tips[i]), scheme == csDark ? L"DarkMode_Explorer" : L"(default)")
                << "scheme " << scheme << ", tooltip " << i;
        }
    }
}

TEST_F(ColorSchemeControl, ControlDestroyedWhileStyledTakesItsSubclassWithIt) {
    TestForm& f = *form_;
    f.Apply(csDark);
    ::DestroyWindow(f.statusBar);
    f.statusBar = nullptr;
    Pump();
    // Switching back must not touch the destroyed control, and everything else is restored.
    f.Apply(csWindows);
    EXPECT_FALSE(ColorSchemeController::IsSubclassed(f.list));
    EXPECT_EQ(ListView_GetBkColor(f.list), ::GetSysColor(COLOR_BTNFACE));
}

TEST_F(ColorSchemeControl, CustomDrawIsAnsweredOnlyOutsideTheSystemLook) {
    TestForm& f = *form_;
    auto prepaint = [&](HWND from) {
        NMTBCUSTOMDRAW draw{};
        draw.nmcd.hdr.hwndFrom = from;
        draw.nmcd.hdr.idFrom = static_cast<UINT_PTR>(::GetDlgCtrlID(from));
        draw.nmcd.hdr.code = static_cast<UINT>(NM_CUSTOMDRAW);
        draw.nmcd.dwDrawStage = CDDS_PREPAINT;
        LRESULT result = -1;
        bool handled = f.controller.OnNotify(draw.nmcd.hdr, result);
        return std::make_pair(handled, result);
    };
    for (HWND control : {f.toolBar, f.list, f.Header()}) {
        auto [handled, result] = prepaint(control);
        EXPECT_FALSE(handled);
        EXPECT_EQ(result, -1);
    }
    for (int scheme : {csDark, csLight}) {
        f.Apply(scheme);
        for (HWND control : {f.toolBar, f.list, f.Header()}) {
            auto [handled, result] = prepaint(control);
            EXPECT_TRUE(handled) << scheme;
            EXPECT_NE(result & CDRF_NOTIFYITEMDRAW, 0) << scheme;
        }
        // Other notifications and other senders are the form's.
        NMHDR click{f.list, kListId, static_cast<UINT>(NM_CLICK)};
        LRESULT result = 0;
        EXPECT_FALSE(f.controller.OnNotify(click, result));
        auto [handled, ignored] = prepaint(f.statusBar);
        EXPECT_FALSE(handled);
        (void)ignored;
    }
    f.Apply(csWindows);
    auto [handled, result] = prepaint(f.toolBar);
    EXPECT_FALSE(handled);
}

TEST_F(ColorSchemeControl, DarkSchemeSwapsInTheDarkToolbarImagesAndGivesTheFormsBack) {
    TestForm& f = *form_;
    auto current = [&] {
        return reinterpret_cast<HIMAGELIST>(::SendMessageW(f.toolBar, TB_GETIMAGELIST, 0, 0));
    };
    f.Apply(csDark);
    HIMAGELIST dark = current();
    ASSERT_NE(dark, nullptr);
    EXPECT_NE(dark, f.toolbarImages.get());
    EXPECT_EQ(::ImageList_GetImageCount(dark), kToolbarImageCount);
    int width = 0;
    int height = 0;
    ::ImageList_GetIconSize(dark, &width, &height);
    EXPECT_EQ(width, ToolbarImageSize(f.dpi()));
    f.Apply(csDark);
    EXPECT_EQ(current(), dark) << "a second Apply keeps the images it made";
    f.Apply(csLight);
    EXPECT_EQ(current(), f.toolbarImages.get());
    f.Apply(csDark);
    f.Apply(csWindows);
    EXPECT_EQ(current(), f.toolbarImages.get());
}

TEST_F(ColorSchemeControl, SearchBoxAndBackgroundColoursComeFromThePalette) {
    TestForm& f = *form_;
    UniqueBitmap bitmap(::CreateBitmap(8, 8, 1, 32, nullptr));
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    ::ReleaseDC(nullptr, screen);
    HGDIOBJ old = ::SelectObject(dc, bitmap.get());
    LRESULT result = 0;
    EXPECT_FALSE(f.controller.OnCtlColor(WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                                         reinterpret_cast<LPARAM>(f.SearchEdit()), result));
    EXPECT_FALSE(f.controller.OnEraseBackground(dc));

    f.Apply(csDark);
    Palette dark = PaletteFor(csDark);
    for (UINT message : {WM_CTLCOLOREDIT, WM_CTLCOLORLISTBOX}) {
        result = 0;
        ASSERT_TRUE(f.controller.OnCtlColor(message, reinterpret_cast<WPARAM>(dc),
                                            reinterpret_cast<LPARAM>(f.SearchEdit()), result));
        EXPECT_EQ(::GetTextColor(dc), dark.editText);
        EXPECT_EQ(::GetBkColor(dc), dark.editBackground);
        LOGBRUSH brush{};
        ASSERT_EQ(::GetObjectW(reinterpret_cast<HBRUSH>(result), sizeof brush, &brush),
                  static_cast<int>(sizeof brush));
        EXPECT_EQ(brush.lbColor, dark.editBackground);
    }
    EXPECT_FALSE(f.controller.OnCtlColor(WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc), 0, result));
    // The form's background: the hook paints it and says so.
    EXPECT_TRUE(f.controller.OnEraseBackground(dc));
    EXPECT_EQ(::GetPixel(dc, 3, 3), dark.window);
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
}

TEST_F(ColorSchemeControl, DarkTitleBarIsAskedForAndGivenBack) {
    TestForm& f = *form_;
    if (test::IsRunningOnWine()) {
        GTEST_SKIP() << "Wine's DwmSetWindowAttribute accepts DWMWA_USE_IMMERSIVE_DARK_MODE without effect: "
                        "Wine draws no dark title bar";
    }
    f.Apply(csDark);
    EXPECT_TRUE(f.controller.HasDarkTitleBar()) << "Windows 10 1809 and later know the dark title bar";
    BOOL value = FALSE;
    if (SUCCEEDED(::DwmGetWindowAttribute(f.hwnd(), 20, &value, sizeof value))) {
        EXPECT_TRUE(value);
    }
    f.Apply(csLight);
    EXPECT_FALSE(f.controller.HasDarkTitleBar());
    if (SUCCEEDED(::DwmGetWindowAttribute(f.hwnd(), 20, &value, sizeof value))) {
        EXPECT_FALSE(value);
    }
}

TEST_F(ColorSchemeControl, SwitchingSchemesFreesWhatItMade) {
    TestForm& f = *form_;
    f.controller.AttachMenu(f.colorMenu.get());
    HDC screen = ::GetDC(nullptr);
    f.Apply(csDark);
    LRESULT result = 0;
    ASSERT_TRUE(f.controller.OnCtlColor(WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(screen), 0, result));
    auto darkBrush = reinterpret_cast<HBRUSH>(result);
    f.Apply(csLight);
    ASSERT_TRUE(f.controller.OnCtlColor(WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(screen), 0, result));
    auto lightBrush = reinterpret_cast<HBRUSH>(result);
    ::ReleaseDC(nullptr, screen);
    f.Apply(csWindows);
    // The brushes of both schemes are gone.
    LOGBRUSH info{};
    EXPECT_EQ(::GetObjectW(darkBrush, sizeof info, &info), 0);
    EXPECT_EQ(::GetObjectW(lightBrush, sizeof info, &info), 0);

    DWORD start = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
    if (start == 0 && test::IsRunningOnWine()) {
        GTEST_SKIP() << "Wine does not count a process's GDI objects (GetGuiResources returns 0)";
    }
    for (int round = 0; round < 5; ++round) {
        for (int scheme : {csDark, csLight, csWindows}) {
            f.Apply(scheme);
            CaptureClient(f.hwnd());
        }
    }
    DWORD end = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
    EXPECT_LE(end, start + 4) << "GDI objects before " << start << ", after " << end;
}

TEST_F(ColorSchemeControl, LightAndWindowsLookTheirPart) {
    TestForm& f = *form_;
    Palette light = PaletteFor(csLight);
    for (DWORD view : {static_cast<DWORD>(LV_VIEW_DETAILS), static_cast<DWORD>(LV_VIEW_LIST)}) {
        Capture shot = CheckedShot(f, csLight, view);
        ASSERT_FALSE(shot.pixels.empty());
        EXPECT_EQ(Hex(Examine(shot, RectIn(f.hwnd(), f.toolBar)).common), Hex(light.surface));
        EXPECT_EQ(Hex(Examine(shot, RectIn(f.hwnd(), f.statusBar)).common), Hex(light.surface));
        RECT rows = RectIn(f.hwnd(), f.list);
        if (view == LV_VIEW_DETAILS) {
            rows.top = RectIn(f.hwnd(), f.Header()).bottom;
            EXPECT_EQ(Hex(Examine(shot, RectIn(f.hwnd(), f.Header())).common), Hex(light.surface));
        }
        ::InflateRect(&rows, -3, -3);
        EXPECT_EQ(Hex(Examine(shot, rows).common), Hex(light.listBackground));
        EXPECT_GT(Examine(shot, rows).Count(light.selection), 100);
    }
    for (DWORD view : {static_cast<DWORD>(LV_VIEW_DETAILS), static_cast<DWORD>(LV_VIEW_LIST)}) {
        Capture shot = CheckedShot(f, csWindows, view);
        ASSERT_FALSE(shot.pixels.empty());
        // The system draws: nothing of the dark palette is left, the list lies on the button face.
        RECT rows = RectIn(f.hwnd(), f.list);
        if (view == LV_VIEW_DETAILS) {
            rows.top = RectIn(f.hwnd(), f.Header()).bottom;
            Region header = Examine(shot, RectIn(f.hwnd(), f.Header()));
            EXPECT_GT(RelativeLuminance(header.common), 0.5) << Hex(header.common);
        }
        ::InflateRect(&rows, -3, -3);
        EXPECT_EQ(Hex(Examine(shot, rows).common), Hex(::GetSysColor(COLOR_BTNFACE)));
        Region bar = Examine(shot, RectIn(f.hwnd(), f.toolBar));
        EXPECT_GT(RelativeLuminance(bar.common), 0.5) << Hex(bar.common);
        EXPECT_EQ(bar.Count(PaletteFor(csDark).surface), 0);
    }
}

} // namespace
} // namespace orvane
