#include "system/path_text.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

TEST(PathText, FolderPartKeepsTheSeparatorOfARootOnly) {
    EXPECT_EQ(FolderPart(L"C:\\Tools\\x.lnk"), L"C:\\Tools");
    EXPECT_EQ(FolderPart(L"C:\\x.lnk"), L"C:\\");
    EXPECT_EQ(FolderPart(L"D:\\a.lnk"), L"D:\\");
    EXPECT_EQ(FolderPart(L"C:x.lnk"), L"C:");
    EXPECT_EQ(FolderPart(L"\\\\server\\share\\x.lnk"), L"\\\\server\\share");
    EXPECT_EQ(FolderPart(L"\\x.lnk"), L"\\");
    EXPECT_EQ(FolderPart(L"\\\\x"), L"\\\\");
    EXPECT_EQ(FolderPart(L"x.lnk"), L"");
    EXPECT_EQ(FolderPart(L""), L"");
    EXPECT_EQ(FolderPart(L"C:\\Tools\\"), L"C:\\Tools");
}

TEST(PathText, NamePartIsTheTextAfterTheLastSeparator) {
    EXPECT_EQ(NamePart(L"C:\\Tools\\x.lnk"), L"x.lnk");
    EXPECT_EQ(NamePart(L"C:x.lnk"), L"x.lnk");
    EXPECT_EQ(NamePart(L"x.lnk"), L"x.lnk");
    EXPECT_EQ(NamePart(L"C:\\Tools\\"), L"");
}

TEST(PathText, ExeTestLowersAsciiLettersOnly) {
    EXPECT_TRUE(ContainsExeText(L"C:\\App\\TOOL.EXE"));
    EXPECT_TRUE(ContainsExeText(L"C:\\x\\y.exec\\z.txt"));
    EXPECT_FALSE(ContainsExeText(L"C:\\App\\tool.com"));
    EXPECT_FALSE(ContainsExeText(L""));
    // Full-width letters are not ASCII and stay as they are.
    EXPECT_FALSE(ContainsExeText(L"C:\\App\\tool.ＥＸＥ"));
    EXPECT_EQ(AsciiLower(L"ÄBC.Exe"), L"Äbc.exe");
}

} // namespace
} // namespace orvane
