#include "app/data_folder_win.h"

#include "system/folders_win.h"
#include "tests/support/test_support_win.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

constexpr wchar_t kUserShellFolders[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

// Points the user's roaming application data folder at a temporary folder for one test.
class DataFolderTest : public ::testing::Test {
protected:
    test::TempDir appData;
    test::RegistryValueOverride redirect{HKEY_CURRENT_USER, kUserShellFolders, L"AppData", appData.path(),
                                         REG_EXPAND_SZ};
    std::wstring Base() const { return appData / L"Norrow Project"; }
};

TEST_F(DataFolderTest, ShellFolderPathHasNoTrailingSeparator) {
    EXPECT_EQ(GetShellFolderPath(1), appData.path());
    EXPECT_EQ(GetShellFolderPath(-1), L"");
    EXPECT_EQ(GetShellFolderPath(6), L"");
}

TEST_F(DataFolderTest, FirstStartCreatesBothFolders) {
    ASSERT_TRUE(PrepareDataFolder(L"Orvane", false));
    EXPECT_EQ(DataFolder, Base() + L"\\Orvane\\");
    EXPECT_TRUE(Norrow::IsExistingDir(Base()));
    EXPECT_TRUE(Norrow::IsExistingDir(Base() + L"\\Orvane"));
    EXPECT_EQ(DataFolder.back(), L'\\');
}

TEST_F(DataFolderTest, OnlyTheInnerFolderIsCreatedWhenTheOuterExists) {
    ASSERT_TRUE(::CreateDirectoryW(Base().c_str(), nullptr));
    test::WriteFileBytes(Base() + L"\\keep.txt", "kept");
    ASSERT_TRUE(PrepareDataFolder(L"Orvane", false));
    EXPECT_TRUE(Norrow::IsExistingDir(Base() + L"\\Orvane"));
    EXPECT_EQ(test::ReadFileBytes(Base() + L"\\keep.txt"), "kept");
}

TEST_F(DataFolderTest, AFileInThePlaceOfTheFolderFails) {
    ASSERT_TRUE(::CreateDirectoryW(Base().c_str(), nullptr));
    test::WriteFileBytes(Base() + L"\\Orvane", "not a folder");
    EXPECT_FALSE(PrepareDataFolder(L"Orvane", false));
    EXPECT_TRUE(Norrow::IsExistingFile(Base() + L"\\Orvane"));
}

TEST_F(DataFolderTest, AllUsersFillsOnlyTheCommonFolder) {
    test::TempDir common;
    test::RegistryValueOverride commonRedirect{HKEY_LOCAL_MACHINE, kUserShellFolders, L"Common AppData",
                                               common.path(), REG_EXPAND_SZ};
    DataFolder = L"unchanged";
    ASSERT_TRUE(PrepareDataFolder(L"Orvane", true));
    EXPECT_EQ(CommonDataFolder, common / L"Norrow Project\\Orvane\\");
    EXPECT_EQ(DataFolder, L"unchanged");
}

} // namespace
} // namespace orvane
