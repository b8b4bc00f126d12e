#include "shortcuts/shortcut_name.h"

#include <gtest/gtest.h>

#include <vector>

namespace orvane {
namespace {

// Answers from a fixed folder and records which values were asked for.
struct FolderTable {
    std::wstring folder;
    std::vector<std::wstring> asked;
    ShellFolderReader reader() {
        return [this](const std::wstring& valueName) {
            asked.push_back(valueName);
            return folder;
        };
    }
};

TEST(ShortcutName, DesktopAndStartMenuPrefixTheirShellFolder) {
    FolderTable table{L"C:\\Users\\u\\Desktop", {}};
    EXPECT_EQ(FormShortcutName(tpDesktop, L"a.lnk", table.reader()), L"C:\\Users\\u\\Desktop\\a.lnk");
    table.folder = L"D:\\Menu";
    EXPECT_EQ(FormShortcutName(tpStartMenu, L"Sub\\Tool.lnk", table.reader()), L"D:\\Menu\\Sub\\Tool.lnk");
    EXPECT_EQ(table.asked, (std::vector<std::wstring>{L"Desktop", L"Start Menu"}));
}

TEST(ShortcutName, BlankAndUnknownBasesTakeTheNameUnchangedWithoutReading) {
    FolderTable table{L"C:\\never", {}};
    EXPECT_EQ(FormShortcutName(tpBlank, L"C:\\Links\\x.lnk", table.reader()), L"C:\\Links\\x.lnk");
    EXPECT_EQ(FormShortcutName(tpBlank, L"relative.lnk", table.reader()), L"relative.lnk");
    EXPECT_EQ(FormShortcutName(static_cast<TSysPath>(3), L"x.lnk", table.reader()), L"x.lnk");
    EXPECT_EQ(FormShortcutName(static_cast<TSysPath>(200), L"", table.reader()), L"");
    EXPECT_TRUE(table.asked.empty());
}

TEST(ShortcutName, NothingIsRepairedInTheJoin) {
    FolderTable table{L"", {}};
    EXPECT_EQ(FormShortcutName(tpDesktop, L"a.lnk", table.reader()), L"\\a.lnk");
    table.folder = L"C:\\Desk\\";
    EXPECT_EQ(FormShortcutName(tpDesktop, L"a.lnk", table.reader()), L"C:\\Desk\\\\a.lnk");
    table.folder = L"C:\\Desk";
    EXPECT_EQ(FormShortcutName(tpStartMenu, L"\\a.lnk", table.reader()), L"C:\\Desk\\\\a.lnk");
    EXPECT_EQ(FormShortcutName(tpStartMenu, L"", table.reader()), L"C:\\Desk\\");
}

} // namespace
} // namespace orvane
