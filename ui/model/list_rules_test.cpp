#include "ui/model/list_rules.h"

#include <gtest/gtest.h>

#include <set>

namespace orvane {
namespace {

// A file system of the listed files and folders, which remembers what was asked.
struct FakeDisk {
    std::set<std::wstring> files;
    std::set<std::wstring> folders;
    PathProbe Probe() {
        return {[this](const std::wstring& path) { return files.count(path) > 0; },
                [this](const std::wstring& path) { return folders.count(path) > 0; }};
    }
};

ShortcutRow Row(std::wstring path, std::wstring target, std::wstring description = L"") {
    ShortcutRow row;
    row.subItems[siFullPath] = std::move(path);
    row.subItems[siTarget] = std::move(target);
    row.subItems[siDescription] = std::move(description);
    return row;
}

TEST(RowCommands, EachCommandNeedsItsOwnFileOrFolder) {
    FakeDisk disk;
    disk.files = {L"C:\\Menu\\Tool.lnk", L"C:\\Menu\\Notes.lnk"};
    disk.folders = {L"C:\\Menu", L"C:\\Apps"};
    const PathProbe probe = disk.Probe();

    ShortcutRow program = Row(L"C:\\Menu\\Tool.lnk", L"C:\\Apps\\tool.EXE", L"A tool");
    RowCommands tool = CommandsForRow(&program, probe);
    EXPECT_EQ(tool.status, L"C:\\Apps\\tool.EXE A tool");
    EXPECT_TRUE(tool.run);
    EXPECT_TRUE(tool.runAsAdmin);
    EXPECT_TRUE(tool.openFolder);
    EXPECT_TRUE(tool.openTargetFolder);

    // A document: it runs, but not as administrator; its folder is gone.
    ShortcutRow notes = Row(L"C:\\Menu\\Notes.lnk", L"D:\\Gone\\notes.txt");
    RowCommands document = CommandsForRow(&notes, probe);
    EXPECT_TRUE(document.run);
    EXPECT_FALSE(document.runAsAdmin);
    EXPECT_TRUE(document.openFolder);
    EXPECT_FALSE(document.openTargetFolder);

    // A shortcut deleted since the scan: nothing runs, though its target is a program.
    ShortcutRow deleted = Row(L"C:\\Menu\\Old.lnk", L"C:\\Apps\\old.exe");
    RowCommands stale = CommandsForRow(&deleted, probe);
    EXPECT_FALSE(stale.run);
    EXPECT_FALSE(stale.runAsAdmin);
    EXPECT_TRUE(stale.openFolder);
    EXPECT_TRUE(stale.openTargetFolder);
}

TEST(RowCommands, NoRowAllowsNothingAndClearsTheStatus) {
    FakeDisk disk;
    disk.files = {L""};
    disk.folders = {L""};
    RowCommands none = CommandsForRow(nullptr, disk.Probe());
    EXPECT_EQ(none.status, L"");
    EXPECT_FALSE(none.run || none.runAsAdmin || none.openFolder || none.openTargetFolder);
}

std::wstring Upper(std::wstring_view text) {
    std::wstring out(text);
    for (auto& c : out) {
        if (c >= L'a' && c <= L'z') {
            c = static_cast<wchar_t>(c - 0x20);
        }
    }
    return out;
}

TEST(TypeAhead, GoesToTheNextCaptionStartingWithTheTextAndWrapsRound) {
    std::vector<ShortcutRow> rows(4);
    rows[0].caption = L"Alpha";
    rows[1].caption = L"beta";
    rows[2].caption = L"Bravo";
    rows[3].caption = L"Charlie";
    EXPECT_EQ(FindRowByTypedText(rows, 0, L"b", Upper), 1u);
    EXPECT_EQ(FindRowByTypedText(rows, 2, L"B", Upper), 2u);
    EXPECT_EQ(FindRowByTypedText(rows, 3, L"b", Upper), 1u) << "wraps round past the end";
    EXPECT_EQ(FindRowByTypedText(rows, 9, L"al", Upper), 0u) << "a start past the end counts round";
    EXPECT_EQ(FindRowByTypedText(rows, 0, L"br", Upper), 2u);
    EXPECT_EQ(FindRowByTypedText(rows, 0, L"rav", Upper), std::nullopt) << "only the start of a caption";
    EXPECT_EQ(FindRowByTypedText({}, 0, L"a", Upper), std::nullopt);
}

} // namespace
} // namespace orvane
