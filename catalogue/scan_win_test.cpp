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

TEST_F(ScanMemoTest, VersionTextsAreReadOncePerTargetAndEqualTheDirectRead) {
    ScanMemo<std::wstring> versions;
    ShortcutRow first = ReadShortcutRow(reader_, dir_ / L"one.lnk", &versions);
    ShortcutRow second = ReadShortcutRow(reader_, dir_ / L"two.lnk", &versions);
    ShortcutRow direct = ReadShortcutRow(reader_, dir_ / L"one.lnk");
    EXPECT_EQ(first.subItems[siVersion], direct.subItems[siVersion]);
    EXPECT_EQ(second.subItems[siVersion], direct.subItems[siVersion]);
    ReadShortcutRow(reader_, dir_ / L"document.lnk", &versions);
    EXPECT_EQ(versions.Size(), 2u);
    // The rest of each row is its own.
    EXPECT_EQ(first.caption, L"one");
    EXPECT_EQ(second.caption, L"two");
}

} // namespace
} // namespace orvane
