#include "system/late_libraries_win.h"

#include "tests/support/test_support_win.h"

#include <dwmapi.h>
#include <gtest/gtest.h>

namespace orvane {
namespace {

TEST(LateLibraries, LoadOnlyFromTheSystemFolder) {
    SystemLibrary dwm(L"dwmapi.dll");
    ASSERT_TRUE(dwm.Loaded());
    EXPECT_NE(dwm.Find<decltype(::DwmSetWindowAttribute)>("DwmSetWindowAttribute"), nullptr);
    EXPECT_EQ(dwm.Find<decltype(::DwmSetWindowAttribute)>("NoSuchFunction"), nullptr);

    // A module beside the program, which the ordinary search order would load, is not taken.
    const wchar_t* planted = L"sys_fixture_echo.exe";
    ASSERT_TRUE(::GetFileAttributesW((test::ExeFolder() + L"\\" + planted).c_str()) !=
                INVALID_FILE_ATTRIBUTES);
    HMODULE ordinary = ::LoadLibraryExW(planted, nullptr, 0);
    EXPECT_NE(ordinary, nullptr);
    if (ordinary != nullptr) {
        ::FreeLibrary(ordinary);
    }
    EXPECT_FALSE(SystemLibrary(planted).Loaded());
    EXPECT_FALSE(SystemLibrary(L"no_such_library.dll").Loaded());
    EXPECT_EQ(SystemLibrary(L"no_such_library.dll").Find<decltype(::DwmSetWindowAttribute)>("X"), nullptr);
}

} // namespace
} // namespace orvane
