#include "system/file_text.h"

#include <gtest/gtest.h>

namespace Norrow {
namespace {

TEST(FileTitle, DropsFolderAndLastExtensionOnly) {
    EXPECT_EQ(GetFileTitle(L"C:\\Start Menu\\Programs\\My.App.lnk"), L"My.App");
    EXPECT_EQ(GetFileTitle(L"C:\\docs\\README"), L"README");
    EXPECT_EQ(GetFileTitle(L"C:\\docs\\.lnk"), L"");
    EXPECT_EQ(GetFileTitle(L"Notepad.lnk"), L"Notepad");
    // A drive-relative name ends its folder part at the colon; dots in folders do not count.
    EXPECT_EQ(GetFileTitle(L"C:Tool.exe"), L"Tool");
    EXPECT_EQ(GetFileTitle(L"C:\\v1.2\\Setup"), L"Setup");
    EXPECT_EQ(GetFileTitle(L"C:\\x\\"), L"");
    EXPECT_EQ(GetFileTitle(L""), L"");
}

TEST(TrimAtNul, CutsAtTheFirstNul) {
    std::wstring buffer(260, L'\0');
    buffer.replace(0, 11, L"C:\\Tool.exe");
    buffer.replace(12, 5, L"stale");
    EXPECT_EQ(TrimAtNul(buffer), L"C:\\Tool.exe");
    EXPECT_EQ(TrimAtNul(buffer).size(), 11u);

    EXPECT_EQ(TrimAtNul(L"no nul here"), L"no nul here");
    EXPECT_EQ(TrimAtNul(L""), L"");
    EXPECT_EQ(TrimAtNul(std::wstring(3, L'\0')), L"");
}

TEST(TimeText, FixedWidthFieldsWithTheLocaleSeparators) {
    EXPECT_EQ(FormatTimeText(2021, 10, 4, 9, 5, L"/", L":"), L"2021/10/04 09:05");
    EXPECT_EQ(FormatTimeText(2021, 10, 5, 18, 30, L"-", L"."), L"2021-10-05 18.30");
    EXPECT_EQ(FormatTimeText(987, 1, 2, 0, 0, L"/", L":"), L"0987/01/02 00:00");
    // Separators of more than one character are taken whole.
    EXPECT_EQ(FormatTimeText(2000, 2, 29, 23, 59, L". ", L"h"), L"2000. 02. 29 23h59");
}

TEST(TimeText, DatesNoValueCanHoldReadAsDayZero) {
    EXPECT_EQ(FormatTimeText(10000, 1, 1, 0, 0, L"/", L":"), L"1899/12/30 00:00");
    EXPECT_EQ(FormatTimeText(30827, 12, 31, 23, 59, L"-", L"."), L"1899-12-30 00.00");
    EXPECT_EQ(FormatTimeText(9999, 12, 31, 23, 59, L"/", L":"), L"9999/12/31 23:59");

    EXPECT_EQ(MakeDateTime(10000, 1, 1, 0, 0, 0, 0), kDayZero);
    EXPECT_EQ(MakeDateTime(2021, 2, 29, 0, 0, 0, 0), kDayZero);
    EXPECT_EQ(MakeDateTime(2021, 10, 4, 24, 0, 0, 0), kDayZero);
    const DateTime leapDay = MakeDateTime(2024, 2, 29, 12, 1, 2, 3);
    EXPECT_EQ(leapDay, (DateTime{2024, 2, 29, 12, 1, 2, 3}));
    EXPECT_FALSE(IsValidDateTime(DateTime{1900, 2, 29, 0, 0, 0, 0}));
    EXPECT_TRUE(IsValidDateTime(kDayZero));
}

TEST(VersionLines, NamePaddedToSixteenThenFullWidthColon) {
    const std::wstring line = FormatVersionLine(L"FileVersion", L"1.2.3.4");
    EXPECT_EQ(line, L"FileVersion     \uFF1A1.2.3.4");
    EXPECT_EQ(line[16], L'\uFF1A');
    EXPECT_EQ(line.substr(17), L"1.2.3.4");
    // The value ends at its first NUL; a name of 16 characters needs no blanks.
    EXPECT_EQ(FormatVersionLine(L"OriginalFilename", std::wstring(L"a.exe\0junk", 10)),
              L"OriginalFilename\uFF1Aa.exe");
    EXPECT_EQ(FormatVersionLine(L"Comments", L""), L"Comments        \uFF1A");
}

TEST(VersionLines, EveryNameFitsTheColumn) {
    const auto& names = VersionStringNames();
    ASSERT_EQ(names.size(), 13u);
    EXPECT_EQ(names.front(), L"CompanyName");
    EXPECT_EQ(names[2], L"FileVersion");
    EXPECT_EQ(names.back(), L"Sample-Number");
    for (const auto& name : names) {
        EXPECT_EQ(FormatVersionLine(name, L"v").find(L'\uFF1A'), 16u) << name;
    }
}

TEST(VersionLines, FileVersionTakesItsLineFromTheEighteenthCharacter) {
    const std::vector<std::wstring> lines = {
        FormatVersionLine(L"CompanyName", L"Norrow FileVersion Works"),
        FormatVersionLine(L"FileVersion", L"10.0.19041.1 (WinBuild.160101.0800)"),
        FormatVersionLine(L"ProductVersion", L"10.0"),
    };
    EXPECT_EQ(FileVersionFromLines(lines), L"10.0.19041.1 (WinBuild.160101.0800)");
    // A name that only begins with "FileVersion" is another string.
    EXPECT_EQ(FileVersionFromLines(
                  {FormatVersionLine(L"FileVersionX", L"9"), FormatVersionLine(L"ProductVersion", L"1.0")}),
              L"");
    EXPECT_EQ(FileVersionFromLines({}), L"");
    EXPECT_EQ(FileVersionFromLines({FormatVersionLine(L"FileVersion", L"")}), L"");
}

TEST(VersionLines, StringTablePrefixUsesUpperCaseHex) {
    EXPECT_EQ(StringTablePrefix(0x0411, 0x04B0), L"\\StringFileInfo\\041104B0\\");
    EXPECT_EQ(StringTablePrefix(0x040c, 0x04e4), L"\\StringFileInfo\\040C04E4\\");
    EXPECT_EQ(StringTablePrefix(0, 0xFFFF), L"\\StringFileInfo\\0000FFFF\\");
}

} // namespace
} // namespace Norrow
