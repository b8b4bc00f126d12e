// The colour menu under Light and Dark: owner-drawn in the palette on screen, and given back as it
// was under the system look.
#include "ui/paint/color_menu_painter_win.h"

#include "tests/support/themed_form_win.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace orvane {
namespace {

using namespace test;
using ColorMenuPainterTest = test::ThemedFormTest;

// The colour menu as it shows on screen: opened from the form, captured once it is up, then closed.
Capture OpenMenuShot(TestForm& f) {
    static Capture shot;
    shot = Capture{};
    ::SetTimer(f.hwnd(), 1, 300, [](HWND, UINT, UINT_PTR id, DWORD) {
        HWND popup = ::FindWindowW(L"#32768", nullptr);
        if (popup != nullptr && ::IsWindowVisible(popup)) {
            RECT rect{};
            ::GetWindowRect(popup, &rect);
            HDC screen = ::GetDC(nullptr);
            shot = CaptureFrom(screen, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
            ::ReleaseDC(nullptr, screen);
        }
        ::KillTimer(nullptr, id);
        ::EndMenu();
    });
    RECT anchor{};
    ::GetWindowRect(f.list, &anchor);
    ::SetForegroundWindow(f.hwnd());
    ::TrackPopupMenuEx(f.colorMenu.get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD, anchor.left + 40,
                       anchor.top + 40, f.hwnd(), nullptr);
    ::KillTimer(f.hwnd(), 1);
    Pump();
    return shot;
}

TEST_F(ColorMenuPainterTest, ColourMenuOpensInThePaletteAndIsGivenBack) {
    TestForm& f = *form_;
    HMENU menu = f.colorMenu.get();
    f.controller.AttachMenu(menu);
    auto item = [&](UINT id) {
        static wchar_t text[64];
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = 64;
        ::GetMenuItemInfoW(menu, id, FALSE, &info);
        return std::make_pair(info.fType, std::wstring(text));
    };
    MENUINFO info{};
    info.cbSize = sizeof info;
    info.fMask = MIM_BACKGROUND;
    for (int scheme : {csDark, csLight}) {
        f.Apply(scheme);
        Palette palette = PaletteFor(scheme);
        EXPECT_NE(item(202).first & MFT_OWNERDRAW, 0u);
        EXPECT_NE(item(202).first & MFT_RADIOCHECK, 0u);
        Capture shot = OpenMenuShot(f);
        ASSERT_FALSE(shot.pixels.empty()) << "the menu did not open";
        SaveShot(shot, scheme == csDark ? L"theme-dark-menu" : L"theme-light-menu");
        Region region = Examine(shot, RECT{0, 0, shot.width, shot.height});
        EXPECT_EQ(Hex(region.common), Hex(palette.menuBackground));
        if (palette.dark) {
            EXPECT_GT(region.lightPixels, 40) << "captions in light text";
        } else {
            EXPECT_GT(region.pixels - region.lightPixels, 40) << "captions in dark text";
        }
    }
    // Another menu's items are not the controller's.
    DRAWITEMSTRUCT other{};
    other.CtlType = ODT_MENU;
    other.itemID = 203;
    other.hwndItem = reinterpret_cast<HWND>(::GetSystemMenu(f.hwnd(), FALSE));
    EXPECT_FALSE(f.controller.OnDrawItem(other));

    f.Apply(csWindows);
    const wchar_t* captions[] = {L"Windows", L"Light", L"Dark"};
    for (UINT i = 0; i < 3; ++i) {
        auto [type, caption] = item(201 + i);
        EXPECT_EQ(type & MFT_OWNERDRAW, 0u) << i;
        EXPECT_NE(type & MFT_RADIOCHECK, 0u) << i;
        EXPECT_EQ(caption, captions[i]);
    }
    ::GetMenuInfo(menu, &info);
    EXPECT_EQ(info.hbrBack, nullptr);
    EXPECT_EQ(::GetMenuState(menu, 203, MF_BYCOMMAND) & MF_CHECKED, static_cast<UINT>(MF_CHECKED));
}

} // namespace
} // namespace orvane
