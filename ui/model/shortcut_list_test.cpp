#include "ui/model/shortcut_list.h"

#include <gtest/gtest.h>

#include <cwctype>

namespace orvane {
namespace {

// Ordinal order stands in for the platform's collation where the test does not depend on it.
int Ordinal(std::wstring_view a, std::wstring_view b) {
    return a.compare(b);
}
// The sort keys of ordinal order: each code unit as four bytes, high byte first.
void OrdinalKey(std::wstring_view text, std::string& key) {
    key.clear();
    for (wchar_t c : text) {
        for (int shift = 24; shift >= 0; shift -= 8) {
            key.push_back(static_cast<char>((static_cast<std::uint32_t>(c) >> shift) & 0xFF));
        }
    }
}

ShortcutRow MakeRow(std::wstring caption, std::wstring description = L"", std::wstring version = L"") {
    ShortcutRow row;
    row.caption = std::move(caption);
    row.subItems[siFullPath] = L"C:\\Menu\\" + row.caption + L".lnk";
    row.subItems[siDescription] = std::move(description);
    row.subItems[siVersion] = std::move(version);
    return row;
}

std::vector<std::wstring> Captions(const ShortcutList& list) {
    std::vector<std::wstring> out;
    for (const auto& row : list.Rows()) {
        out.push_back(row.caption);
    }
    return out;
}

TEST(ShortcutList, HeaderClicksSortFlipAndMoveTheMarker) {
    ShortcutList list;
    list.Add(MakeRow(L"b", L"z"));
    list.Add(MakeRow(L"c", L"x"));
    list.Add(MakeRow(L"a", L"y"));

    list.ColumnClick(0, OrdinalKey);
    EXPECT_EQ(list.MListViewSort, 1);
    EXPECT_EQ(Captions(list), (std::vector<std::wstring>{L"a", L"b", L"c"}));
    EXPECT_EQ(list.HeaderCaptions()[0], L"名前 ▲");

    // "説明" while sorted by name: ascending by description, marker moves.
    list.ColumnClick(3, OrdinalKey);
    EXPECT_EQ(list.MListViewSort, 4);
    EXPECT_EQ(list.MColumnIndex, 3);
    EXPECT_EQ(Captions(list), (std::vector<std::wstring>{L"c", L"a", L"b"}));
    auto captions = list.HeaderCaptions();
    EXPECT_EQ(captions[0], L"名前");
    EXPECT_EQ(captions[3], L"説明 ▲");

    list.ColumnClick(3, OrdinalKey);
    EXPECT_EQ(list.MListViewSort, -4);
    EXPECT_EQ(Captions(list), (std::vector<std::wstring>{L"b", L"a", L"c"}));
    EXPECT_EQ(list.HeaderCaptions()[3], L"説明 ▼");

    list.ColumnClick(0, OrdinalKey);
    EXPECT_EQ(list.MListViewSort, 1);
    EXPECT_EQ(list.HeaderCaptions()[0], L"名前 ▲");
    EXPECT_EQ(list.HeaderCaptions()[3], L"説明");
}

TEST(ShortcutList, SavedDescendingStateFlipsToAscendingOnTheFirstClick) {
    ShortcutList list;
    list.MListViewSort = -4;
    list.MColumnIndex = 3;
    EXPECT_EQ(list.HeaderCaptions()[3], L"説明 ▼");
    list.ColumnClick(3, OrdinalKey);
    EXPECT_EQ(list.MListViewSort, 4);
}

TEST(ShortcutList, EmptyListStillUpdatesTheState) {
    ShortcutList list;
    EXPECT_EQ(list.HeaderCaptions()[0], L"名前 ▲"); // no sort key yet: the ascending marker
    list.ColumnClick(5, OrdinalKey);
    EXPECT_EQ(list.MListViewSort, 6);
    EXPECT_EQ(list.MColumnIndex, 5);
    EXPECT_EQ(list.HeaderCaptions()[5], L"作成日付 ▲");
}

TEST(ShortcutList, ComparisonUsesTheInjectedCollationAndNegatesWhenDescending) {
    ShortcutList list;
    // A collation that ignores case, to show the model does not compare on its own.
    auto folding = [](std::wstring_view a, std::wstring_view b) {
        std::wstring x(a), y(b);
        for (auto* s : {&x, &y}) {
            for (auto& c : *s) {
                c = static_cast<wchar_t>(std::towlower(c));
            }
        }
        return x.compare(y);
    };
    ShortcutRow upper = MakeRow(L"ABC"), lower = MakeRow(L"abc"), other = MakeRow(L"abd");
    list.MListViewSort = 0;
    EXPECT_EQ(list.ListViewCompare(upper, other, folding), 0); // no sort key: everything equal
    list.MListViewSort = 1;
    EXPECT_EQ(list.ListViewCompare(upper, lower, folding), 0);
    EXPECT_EQ(list.ListViewCompare(upper, other, folding), -1);
    list.MListViewSort = -1;
    EXPECT_EQ(list.ListViewCompare(upper, other, folding), 1);
    // |s| = 7 compares the version sub-item; versions compare as text, empty first.
    list.MListViewSort = 7;
    EXPECT_EQ(
        list.ListViewCompare(MakeRow(L"x", L"", L"10.0.19041.1"), MakeRow(L"y", L"", L"9.0.0.1"), Ordinal),
        -1);
    EXPECT_EQ(list.ListViewCompare(MakeRow(L"x", L"", L""), MakeRow(L"y", L"", L"1"), Ordinal), -1);
}

TEST(ShortcutList, DescendingPutsEmptyVersionsLastAndSortIsStable) {
    ShortcutList list;
    list.Add(MakeRow(L"first", L"", L""));
    list.Add(MakeRow(L"v1", L"", L"1.0"));
    list.Add(MakeRow(L"second", L"", L""));
    list.ColumnClick(6, OrdinalKey);
    list.ColumnClick(6, OrdinalKey);
    EXPECT_EQ(Captions(list), (std::vector<std::wstring>{L"v1", L"first", L"second"}));
}

TEST(ShortcutList, ColumnClickReportsWhereEachRowWent) {
    ShortcutList list;
    list.Add(MakeRow(L"c"));
    list.Add(MakeRow(L"a"));
    list.Add(MakeRow(L"b"));
    auto moved = list.ColumnClick(0, OrdinalKey);
    EXPECT_EQ(moved, (std::vector<std::size_t>{2, 0, 1}));
}

TEST(ShortcutList, ExeFilterKeepsRowsWhoseTargetContainsExe) {
    ShortcutList list;
    const std::vector<std::pair<std::wstring, bool>> targets = {
        {L"C:\\Tools\\App.EXE", true},    {L"C:\\Data\\report.exec\\readme.txt", true},
        {L"C:\\Docs\\letter.txt", false}, {L"", false},
        {L"C:\\Program Files", false},    {L"C:\\App\\tool.com", false},
    };
    for (const auto& [target, kept] : targets) {
        ShortcutRow row = MakeRow(target);
        row.subItems[siTarget] = target;
        row.imageIndex = static_cast<int>(list.Count());
        list.Add(row);
    }
    list.RemoveNonExeRows();
    ASSERT_EQ(list.Count(), 2u);
    EXPECT_EQ(list.Row(0).subItems[siTarget], L"C:\\Tools\\App.EXE");
    EXPECT_EQ(list.Row(0).imageIndex, 0); // the remaining rows keep their images
    EXPECT_EQ(list.Row(1).imageIndex, 1);
}

TEST(ShortcutList, OutOfRangeStateIsBroughtIntoRange) {
    ShortcutList list;
    list.MColumnIndex = 9;
    list.MListViewSort = -12;
    // Even before normalising, the marker never lands past the seventh column.
    EXPECT_EQ(list.HeaderCaptions()[0], L"名前 ▼");
    list.Normalize();
    EXPECT_EQ(list.MColumnIndex, 0);
    EXPECT_EQ(list.MListViewSort, 0);
    list.MListViewSort = -7;
    list.Normalize();
    EXPECT_EQ(list.MListViewSort, -7);
}

} // namespace
} // namespace orvane
