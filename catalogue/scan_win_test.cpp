#include "catalogue/scan_win.h"

#include "shortcuts/make_shortcuts_win.h"
#include "system/details_win.h"
#include "system/folders_win.h"
#include "tests/support/test_support_win.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

// Shortcuts in one folder: two to the same program, one to it with an icon of its own, one to a
// document.
class ScanMemoTest : public ::testing::Test {
protected:
    void SetUp() override {
        program_ = test::ExeFolder() + L"\\sys_fixture_echo.exe";
        document_ = dir_ / L"notes.txt";
        test::WriteFileBytes(document_, "notes");
        Write(L"one.lnk", program_, L"", 0);
        Write(L"two.lnk", program_, L"", 0);
        Write(L"own icon.lnk", program_, Norrow::GetSystemDir() + L"\\shell32.dll", 3);
        Write(L"document.lnk", document_, L"", 0);
    }
    void Write(const wchar_t* name, const std::wstring& target, const std::wstring& iconFile, int iconIndex) {
        TMakeShortCuts writer;
        writer.FFileName = dir_ / name;
        writer.FExecFile = target;
        writer.FIconFile = iconFile;
        writer.FIconIdx = iconIndex;
        writer.SCSave();
    }
    HICON IconOf(const wchar_t* name, UniqueIcon& unshared) {
        reader_.FFileName = dir_ / name;
        reader_.SCLoad();
        return ReadShortcutIcon(reader_, reader_.FFileName, icons_, unshared);
    }

    test::TempDir dir_;
    std::wstring program_;
    std::wstring document_;
    TMakeShortCuts reader_;
    ScanMemo<UniqueIcon> icons_;
};

TEST_F(ScanMemoTest, ShortcutsToOneProgramShareOneIconAndOthersGetTheirOwn) {
    UniqueIcon a;
    UniqueIcon b;
    UniqueIcon c;
    UniqueIcon d;
    HICON one = IconOf(L"one.lnk", a);
    HICON two = IconOf(L"two.lnk", b);
    HICON own = IconOf(L"own icon.lnk", c);
    HICON document = IconOf(L"document.lnk", d);
    ASSERT_NE(one, nullptr);
    EXPECT_EQ(one, two) << "the shell was asked twice for one program's icon";
    EXPECT_NE(own, one);
    EXPECT_NE(document, one);
    EXPECT_NE(document, own);
    EXPECT_EQ(icons_.Size(), 3u);
    // Shared icons belong to the memo, never to the caller.
    EXPECT_FALSE(a);
    EXPECT_FALSE(b);
}

TEST_F(ScanMemoTest, VersionTextsAreReadOncePerTarget) {
    // A program with a version resource, copied so that it can be swapped for another one.
    const std::wstring app = dir_ / L"app.exe";
    const std::wstring note = test::ExeFolder() + L"\\sys_fixture_version_note.exe";
    const std::wstring english = test::ExeFolder() + L"\\sys_fixture_version_languages.exe";
    ASSERT_TRUE(::CopyFileW(note.c_str(), app.c_str(), FALSE));
    Write(L"app one.lnk", app, L"", 0);
    Write(L"app two.lnk", app, L"", 0);

    ScanMemo<std::wstring> versions;
    ShortcutRow first = ReadShortcutRow(reader_, dir_ / L"app one.lnk", &versions);
    EXPECT_EQ(first.subItems[siVersion], L"10.0.19041.1 (WinBuild.160101.0800)");

    // The program changes under the scan: a fresh read sees the new version, the scan's memo does not.
    ASSERT_TRUE(::CopyFileW(english.c_str(), app.c_str(), FALSE));
    ASSERT_EQ(ReadShortcutRow(reader_, dir_ / L"app two.lnk").subItems[siVersion], L"1.5.0.0 English");
    ShortcutRow second = ReadShortcutRow(reader_, dir_ / L"app two.lnk", &versions);
    EXPECT_EQ(second.subItems[siVersion], L"10.0.19041.1 (WinBuild.160101.0800)")
        << "the version was read a second time for the same target";

    ReadShortcutRow(reader_, dir_ / L"document.lnk", &versions);
    EXPECT_EQ(versions.Size(), 2u);
    // The rest of each row is its own.
    EXPECT_EQ(first.caption, L"app one");
    EXPECT_EQ(second.caption, L"app two");
}

} // namespace
} // namespace orvane
