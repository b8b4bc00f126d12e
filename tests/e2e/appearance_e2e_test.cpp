// The three colour schemes in both views, as a user sees them; the screenshots land in build/.
#include "tests/e2e/orvane_process_e2e.h"
#include "tests/e2e/remote_controls_e2e.h"
#include "tests/e2e/start_menu_fixture_e2e.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <string>

namespace orvane::e2e {
namespace {

struct Look {
    int scheme;
    const char* name;
    bool report;
};

int Luminance(COLORREF c) {
    return (GetRValue(c) * 299 + GetGValue(c) * 587 + GetBValue(c) * 114) / 1000;
}

// A pixel of the screen, inside a window.
COLORREF PixelAt(HWND hwnd, int x, int y) {
    POINT at{x, y};
    ::ClientToScreen(hwnd, &at);
    HDC screen = ::GetDC(nullptr);
    COLORREF c = ::GetPixel(screen, at.x, at.y);
    ::ReleaseDC(nullptr, screen);
    return c;
}

class AppearanceTest : public ::testing::TestWithParam<Look> {};

TEST_P(AppearanceTest, SchemeAndViewAfterAScan) {
    const Look look = GetParam();
    IsolatedProfile profile;
    StartMenuFixture menus;
    ::CreateDirectoryW((profile.appData() + L"\\Norrow Project").c_str(), nullptr);
    ::CreateDirectoryW(profile.dataFolder().c_str(), nullptr);
    test::WriteFileBytes(profile.dataFolder() + L"Orvane.ini",
                         "[Window]\r\nStyle=" + std::to_string(look.scheme) +
                             "\r\n[View]\r\nReport=" + (look.report ? "1" : "0") + "\r\n");
    OrvaneProcess orvane;
    HWND window = orvane.WaitForMainWindowPastPrompt();
    ASSERT_NE(window, nullptr);
    auto ui = FindControls(window);
    PressToolButton(ui.toolBar, L"取得");
    ClickRow(ui.list, 2);
    Sync(window);
    ::Sleep(300);

    COLORREF listBack = static_cast<COLORREF>(::SendMessageW(ui.list, LVM_GETBKCOLOR, 0, 0));
    COLORREF listText = static_cast<COLORREF>(::SendMessageW(ui.list, LVM_GETTEXTCOLOR, 0, 0));
    RECT bar{};
    ::GetClientRect(ui.toolBar, &bar);
    COLORREF toolBack = PixelAt(ui.toolBar, bar.right - 4, bar.bottom - 4);
    RECT status{};
    ::GetClientRect(ui.statusBar, &status);
    COLORREF statusBack = PixelAt(ui.statusBar, status.right / 2, status.bottom / 2);
    if (look.scheme == 2) {
        EXPECT_LT(Luminance(listBack), 64);
        EXPECT_EQ(listText, RGB(255, 255, 255));
        EXPECT_LT(Luminance(toolBack), 64) << "the tool bar stays light";
        EXPECT_LT(Luminance(statusBack), 64) << "the status bar stays light";
    } else {
        EXPECT_GT(Luminance(listBack), 180);
        EXPECT_GT(Luminance(toolBack), 180);
        EXPECT_LT(Luminance(listText), 100);
    }
    EXPECT_EQ(::SendMessageW(ui.list, LVM_GETVIEW, 0, 0), look.report ? LV_VIEW_DETAILS : LV_VIEW_LIST);
    std::wstring name(look.name, look.name + std::char_traits<char>::length(look.name));
    std::wstring folder = test::ExeFolder() + L"\\..\\screenshots";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    SaveWindowBitmap(window, folder + L"\\scheme-" + name + (look.report ? L"-details" : L"-list") + L".bmp");
    EXPECT_TRUE(orvane.Close());
}

INSTANTIATE_TEST_SUITE_P(Schemes, AppearanceTest,
                         ::testing::Values(Look{0, "windows", true}, Look{0, "windows", false},
                                           Look{1, "light", true}, Look{1, "light", false},
                                           Look{2, "dark", true}, Look{2, "dark", false}),
                         [](const ::testing::TestParamInfo<Look>& param) {
                             return std::string(param.param.name) + (param.param.report ? "Details" : "List");
                         });

} // namespace
} // namespace orvane::e2e
