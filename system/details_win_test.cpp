#include "system/details_win.h"

#include "system/folders_win.h"
#include "system/handles_win.h"
#include "tests/support/test_support_win.h"

#include <gtest/gtest.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <wrl/client.h>

#include <cstdint>
#include <vector>

namespace Norrow {
namespace {

using orvane::test::TempDir;

std::wstring LocaleSeparator(LCTYPE type) {
    wchar_t buffer[16] = {};
    ::GetLocaleInfoW(LOCALE_USER_DEFAULT, type, buffer, 16);
    return buffer;
}

// The file time (UTC) of a local date and time, through the reverse of the conversion under test.
FILETIME LocalToFileTime(WORD year, WORD month, WORD day, WORD hour, WORD minute) {
    SYSTEMTIME fields{};
    fields.wYear = year;
    fields.wMonth = month;
    fields.wDay = day;
    fields.wHour = hour;
    fields.wMinute = minute;
    FILETIME local{};
    FILETIME utc{};
    EXPECT_TRUE(::SystemTimeToFileTime(&fields, &local));
    EXPECT_TRUE(::LocalFileTimeToFileTime(&local, &utc));
    return utc;
}

FILETIME FileTimeOf(std::uint64_t ticks) {
    return FILETIME{static_cast<DWORD>(ticks & 0xFFFFFFFFu), static_cast<DWORD>(ticks >> 32)};
}

void SetTimes(const std::wstring& path, const FILETIME& created, const FILETIME& written) {
    orvane::UniqueFile file(::CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                                          OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    ASSERT_TRUE(static_cast<bool>(file));
    ASSERT_TRUE(::SetFileTime(file.get(), &created, nullptr, &written));
}

TEST(FileDates, TextsAreLocalTimesWithTheLocaleSeparators) {
    TempDir dir;
    const std::wstring link = dir / L"Tool.lnk";
    orvane::test::WriteFileBytes(link, "not really a link");
    const FILETIME createdTime = LocalToFileTime(2021, 10, 4, 9, 5);
    SetTimes(link, createdTime, LocalToFileTime(2021, 10, 5, 18, 30));

    const std::wstring d = LocaleSeparator(LOCALE_SDATE);
    const std::wstring t = LocaleSeparator(LOCALE_STIME);
    std::wstring modified;
    std::wstring created;
    GetFileDateTexts(link, modified, created);
    EXPECT_EQ(modified, L"2021" + d + L"10" + d + L"05 18" + t + L"30");

    // The path is a search pattern: the first entry that matches gives the times.
    std::wstring matched;
    GetFileDateTexts(dir / L"T*.lnk", matched, created);
    EXPECT_EQ(matched, modified);

    WIN32_FILE_ATTRIBUTE_DATA stored{};
    ASSERT_TRUE(::GetFileAttributesExW(link.c_str(), GetFileExInfoStandard, &stored));
    if (::CompareFileTime(&stored.ftCreationTime, &createdTime) != 0 && orvane::test::IsRunningOnWine()) {
        GTEST_SKIP() << "Wine keeps no creation time on a Linux file system; SetFileTime cannot set it";
    }
    EXPECT_EQ(created, L"2021" + d + L"10" + d + L"04 09" + t + L"05");
}

TEST(FileDates, PathThatMatchesNothingLeavesBothTexts) {
    TempDir dir;
    std::wstring modified = L"kept modified";
    std::wstring created = L"kept created";
    GetFileDateTexts(dir / L"missing.lnk", modified, created);
    GetFileDateTexts(dir / L"missing\\deeper.lnk", modified, created);
    GetFileDateTexts(L"", modified, created);
    EXPECT_EQ(modified, L"kept modified");
    EXPECT_EQ(created, L"kept created");
}

TEST(FileDates, LocalDateTimeKeepsEveryFieldAndFallsBackToDayZero) {
    SYSTEMTIME fields{};
    fields.wYear = 2021;
    fields.wMonth = 10;
    fields.wDay = 4;
    fields.wHour = 9;
    fields.wMinute = 5;
    fields.wSecond = 7;
    fields.wMilliseconds = 123;
    FILETIME local{};
    FILETIME utc{};
    ASSERT_TRUE(::SystemTimeToFileTime(&fields, &local));
    ASSERT_TRUE(::LocalFileTimeToFileTime(&local, &utc));
    EXPECT_EQ(FileTimeToLocalDateTime(utc), (DateTime{2021, 10, 4, 9, 5, 7, 123}));

    // Two days into the year 10000, whatever the time zone: no date value holds it.
    EXPECT_EQ(FileTimeToLocalDateTime(FileTimeOf(0x24C85BF125FB2A00ull)), kDayZero);
    // A time the system cannot even turn into calendar fields.
    EXPECT_EQ(FileTimeToLocalDateTime(FileTimeOf(0xFFFFFFFFFFFFFFFFull)), kDayZero);
}

std::wstring Fixture(const wchar_t* name) {
    return orvane::test::ExeFolder() + L"\\" + name;
}

TEST(VersionText, FileVersionComesBackWholeWithItsBuildNote) {
    const std::wstring exe = Fixture(L"sys_fixture_version_note.exe");
    ASSERT_TRUE(IsExistingFile(exe));
    EXPECT_EQ(GetFileVersionText(exe), L"10.0.19041.1 (WinBuild.160101.0800)");

    // Lines follow the order of the names, not the order of the resource, and keep Japanese text.
    std::vector<std::wstring> lines = {L"earlier line"};
    ASSERT_TRUE(GetVersionInfoLines(exe, lines));
    const std::vector<std::wstring> expected = {
        L"earlier line",
        L"CompanyName     \uFF1A\u30CE\u30ED\u30A6\u5DE5\u623F",
        L"FileDescription \uFF1A\u7248\u6570\u306E\u8A66\u9A13",
        L"FileVersion     \uFF1A10.0.19041.1 (WinBuild.160101.0800)",
        L"InternalName    \uFF1Anote",
        L"OriginalFilename\uFF1Anote.exe",
        L"ProductName     \uFF1AOrvane Fixture",
        L"ProductVersion  \uFF1A10.0",
        L"Sample-Number   \uFF1A42",
    };
    EXPECT_EQ(lines, expected);
}

TEST(VersionText, OnlyTheFirstListedLanguageIsUsed) {
    const std::wstring exe = Fixture(L"sys_fixture_version_languages.exe");
    ASSERT_TRUE(IsExistingFile(exe));
    EXPECT_EQ(GetFileVersionText(exe), L"1.5.0.0 English");
    std::vector<std::wstring> lines;
    ASSERT_TRUE(GetVersionInfoLines(exe, lines));
    EXPECT_EQ(lines, (std::vector<std::wstring>{L"CompanyName     \uFF1AEnglish Company",
                                                L"FileVersion     \uFF1A1.5.0.0 English"}));
}

TEST(VersionText, MissingFileVersionGivesEmptyTextWhateverElseIsThere) {
    const std::wstring exe = Fixture(L"sys_fixture_version_without_file_version.exe");
    ASSERT_TRUE(IsExistingFile(exe));
    std::vector<std::wstring> lines;
    ASSERT_TRUE(GetVersionInfoLines(exe, lines));
    EXPECT_EQ(lines, (std::vector<std::wstring>{L"CompanyName     \uFF1ANorrow Project",
                                                L"ProductName     \uFF1ANo File Version",
                                                L"ProductVersion  \uFF1A3.1",
                                                L"Comments        \uFF1AFileVersion is missing on purpose"}));
    EXPECT_EQ(GetFileVersionText(exe), L"");
}

TEST(VersionText, FirstTranslationWithoutItsOwnTableGivesNoLines) {
    const std::wstring exe = Fixture(L"sys_fixture_version_other_code_page.exe");
    ASSERT_TRUE(IsExistingFile(exe));
    std::vector<std::wstring> lines;
    // The file has version information with a language entry, but no table under 041104B0.
    EXPECT_TRUE(GetVersionInfoLines(exe, lines));
    EXPECT_TRUE(lines.empty());
    EXPECT_EQ(GetFileVersionText(exe), L"");
}

TEST(VersionText, FilesWithoutVersionInformationGiveEmptyText) {
    TempDir dir;
    const std::wstring text = dir / L"notes.txt";
    orvane::test::WriteFileBytes(text, "FileVersion 1.0\r\n");
    for (const std::wstring& path : {text, dir.path(), std::wstring(), dir / L"missing.exe"}) {
        SCOPED_TRACE(testing::Message() << "path: " << path);
        std::vector<std::wstring> lines = {L"kept"};
        EXPECT_FALSE(GetVersionInfoLines(path, lines));
        EXPECT_EQ(lines, std::vector<std::wstring>{L"kept"});
        EXPECT_EQ(GetFileVersionText(path), L"");
    }
}

// Width, height and colour pixels of an icon; width 0 when it cannot be read.
struct IconImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};

IconImage ReadIcon(HICON icon) {
    IconImage image;
    ICONINFO info{};
    if (icon == nullptr || !::GetIconInfo(icon, &info)) {
        return image;
    }
    orvane::UniqueBitmap color(info.hbmColor);
    orvane::UniqueBitmap mask(info.hbmMask);
    BITMAP bitmap{};
    if (!color || ::GetObjectW(color.get(), sizeof bitmap, &bitmap) == 0) {
        return image;
    }
    image.width = bitmap.bmWidth;
    image.height = bitmap.bmHeight;
    BITMAPINFO header{};
    header.bmiHeader.biSize = sizeof header.bmiHeader;
    header.bmiHeader.biWidth = bitmap.bmWidth;
    header.bmiHeader.biHeight = -bitmap.bmHeight;
    header.bmiHeader.biPlanes = 1;
    header.bmiHeader.biBitCount = 32;
    header.bmiHeader.biCompression = BI_RGB;
    image.pixels.resize(static_cast<std::size_t>(bitmap.bmWidth) * static_cast<std::size_t>(bitmap.bmHeight));
    HDC screen = ::GetDC(nullptr);
    ::GetDIBits(screen, color.get(), 0, static_cast<UINT>(bitmap.bmHeight), image.pixels.data(), &header,
                DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    return image;
}

void WriteLink(const std::wstring& linkPath, const std::wstring& target) {
    Microsoft::WRL::ComPtr<IShellLinkW> link;
    ASSERT_HRESULT_SUCCEEDED(
        ::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&link)));
    ASSERT_HRESULT_SUCCEEDED(link->SetPath(target.c_str()));
    Microsoft::WRL::ComPtr<IPersistFile> file;
    ASSERT_HRESULT_SUCCEEDED(link.As(&file));
    ASSERT_HRESULT_SUCCEEDED(file->Save(linkPath.c_str(), TRUE));
}

std::wstring NativeSystemDir() {
    wchar_t buffer[MAX_PATH + 1] = {};
    ::GetSystemDirectoryW(buffer, MAX_PATH);
    return buffer;
}

TEST(FileIcon, ShortcutGivesTheShellsThirtyTwoPixelIcon) {
    TempDir dir;
    const std::wstring link = dir / L"Echo.lnk";
    WriteLink(link, Fixture(L"sys_fixture_echo.exe"));
    orvane::UniqueIcon icon(GetFileIcon(link));
    ASSERT_TRUE(static_cast<bool>(icon));
    const IconImage image = ReadIcon(icon.get());
    EXPECT_EQ(image.width, 32);
    EXPECT_EQ(image.height, 32);
}

TEST(FileIcon, ExtractionTakesTheNumberedIconOfALibrary) {
    const std::wstring shell32 = NativeSystemDir() + L"\\shell32.dll";
    orvane::UniqueIcon second(ExtractIconAt(shell32, 2));
    orvane::UniqueIcon first(ExtractIconAt(shell32, 0));
    ASSERT_TRUE(static_cast<bool>(second));
    ASSERT_TRUE(static_cast<bool>(first));
    const IconImage image = ReadIcon(second.get());
    EXPECT_EQ(image.width, 32);
    EXPECT_EQ(image.height, 32);
    EXPECT_NE(image.pixels, ReadIcon(first.get()).pixels);
}

TEST(FileIcon, FilesWithoutSuchAnIconGiveNull) {
    TempDir dir;
    const std::wstring text = dir / L"plain.txt";
    orvane::test::WriteFileBytes(text, "no icons here");
    // ExtractIconW itself answers 1 for a file that is no executable, library or icon file.
    EXPECT_EQ(ExtractIconAt(text, 0), nullptr);
    EXPECT_EQ(ExtractIconAt(dir / L"missing.dll", 0), nullptr);
    EXPECT_EQ(ExtractIconAt(NativeSystemDir() + L"\\shell32.dll", 100000), nullptr);
    // A negative number would ask for the icon count or a resource identifier, not for an icon.
    EXPECT_EQ(ExtractIconAt(NativeSystemDir() + L"\\shell32.dll", -1), nullptr);
}

TEST(FileIcon, WithoutAShellIconTheSystemLibrarysIconTwoIsUsed) {
    TempDir dir;
    const std::wstring missing = dir / L"gone.lnk";
    const std::wstring fallbackLibrary = GetSystemDir() + L"\\Shell32.dll";
    orvane::UniqueIcon icon(GetFileIcon(missing));
    if (orvane::test::IsRunningOnWine() && !IsExistingFile(fallbackLibrary)) {
        // The shell gives nothing for a missing file, and the fallback library is not there either.
        EXPECT_FALSE(static_cast<bool>(icon));
        GTEST_SKIP() << "a wine64-only prefix has an empty syswow64, so there is no fallback Shell32.dll";
    }
    ASSERT_TRUE(static_cast<bool>(icon));
    orvane::UniqueIcon expected(ExtractIconAt(fallbackLibrary, 2));
    ASSERT_TRUE(static_cast<bool>(expected));
    const IconImage image = ReadIcon(icon.get());
    EXPECT_EQ(image.width, ReadIcon(expected.get()).width);
    EXPECT_EQ(image.pixels, ReadIcon(expected.get()).pixels);
}

} // namespace
} // namespace Norrow
