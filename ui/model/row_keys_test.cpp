#include "ui/model/row_keys.h"
#include "ui/model/generated_rows_test.h"
#include "ui/model/shortcut_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace orvane {
namespace {

// Upper-cases ASCII, Latin-1 and full-width letters, as the platform does for these.
std::wstring Upper(std::wstring_view text) {
    std::wstring out(text);
    for (auto& c : out) {
        if ((c >= L'a' && c <= L'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7) ||
            (c >= 0xFF41 && c <= 0xFF5A)) {
            c = static_cast<wchar_t>(c - 0x20);
        }
    }
    return out;
}

// A collation that ignores case, so that many texts compare equal and the sort's stability shows, and
// the keys that go with it: the upper-cased code units, four bytes each, high byte first. Bytes of 0x80
// and above make a comparison of signed bytes give another order.
int FoldedCompare(std::wstring_view a, std::wstring_view b) {
    return Upper(a).compare(Upper(b));
}
void FoldedKey(std::wstring_view text, std::string& key) {
    key.clear();
    for (wchar_t c : Upper(text)) {
        auto unit = static_cast<std::uint32_t>(c);
        for (int shift = 24; shift >= 0; shift -= 8) {
            key.push_back(static_cast<char>((unit >> shift) & 0xFF));
        }
    }
}

ShortcutList ListOf(std::vector<ShortcutRow> rows) {
    ShortcutList list;
    list.Assign(std::move(rows));
    return list;
}

// The rows sorted by the comparison itself, under the sort state the list has after a click.
std::vector<ShortcutRow> ComparisonSorted(std::vector<ShortcutRow> rows, const ShortcutList& state) {
    std::stable_sort(rows.begin(), rows.end(), [&](const ShortcutRow& a, const ShortcutRow& b) {
        return state.ListViewCompare(a, b, FoldedCompare) < 0;
    });
    return rows;
}

// Clicks a column and checks the order against the comparison's, from the order before the click.
void ExpectClickOrdersAsTheComparison(ShortcutList& list, int column, const SortKeyMaker& makeKey) {
    std::vector<ShortcutRow> before = list.Rows();
    list.ColumnClick(column, makeKey);
    EXPECT_EQ(list.Rows(), ComparisonSorted(before, list))
        << "column " << column << ", sort state " << list.MListViewSort;
}

TEST(RowKeys, KeyedSortOrdersAsTheComparisonInEveryColumnAndDirection) {
    ShortcutList list = ListOf(test::GeneratedRows(400, 1));
    // Each column ascending and then descending, every column after another's reordering.
    for (int column : {0, 1, 2, 3, 4, 5, 6, 3, 0}) {
        ExpectClickOrdersAsTheComparison(list, column, FoldedKey);
        ExpectClickOrdersAsTheComparison(list, column, FoldedKey);
    }
}

// The texts a column holds, each once.
std::size_t DistinctTexts(const ShortcutList& list, std::initializer_list<int> columns) {
    std::set<std::wstring> texts;
    for (const ShortcutRow& row : list.Rows()) {
        for (int column : columns) {
            texts.insert(ShortcutList::CellText(row, column));
        }
    }
    return texts.size();
}

TEST(RowKeys, KeysAreMadeOncePerTextOfAColumnAndDroppedWhenTheRowsChange) {
    std::size_t keysMade = 0;
    SortKeyMaker counting = [&](std::wstring_view text, std::string& key) {
        ++keysMade;
        FoldedKey(text, key);
    };
    ShortcutList list = ListOf(test::GeneratedRows(200, 2));
    // Rows share texts: each distinct text of a column gets one key.
    ASSERT_LT(DistinctTexts(list, {3}), 200u);
    ExpectClickOrdersAsTheComparison(list, 3, counting);
    EXPECT_EQ(keysMade, DistinctTexts(list, {3}));
    ExpectClickOrdersAsTheComparison(list, 0, counting);
    ExpectClickOrdersAsTheComparison(list, 3, counting);
    ExpectClickOrdersAsTheComparison(list, 3, counting);
    EXPECT_EQ(keysMade, DistinctTexts(list, {3}) + DistinctTexts(list, {0}));

    // Every change of the rows other than a sort: the keys made before would belong to other rows.
    std::vector<std::function<void()>> changes = {
        [&] { list.Add(test::GeneratedRows(1, 3).front()); },
        [&] { list.Erase(0); },
        [&] {
            auto rows = list.Rows();
            std::reverse(rows.begin(), rows.end());
            list.Assign(rows);
        },
        [&] { list.RemoveNonExeRows(); },
    };
    for (const auto& change : changes) {
        change();
        ASSERT_GT(list.Count(), 10u);
        keysMade = 0;
        ExpectClickOrdersAsTheComparison(list, 0, counting);
        EXPECT_EQ(keysMade, DistinctTexts(list, {0}));
    }

    // Prepared in steps, one column at a time: afterwards no sort makes a key.
    list.Assign(test::GeneratedRows(100, 4));
    int steps = 1;
    while (list.PrepareNextKeys(counting, Upper)) {
        ++steps;
    }
    EXPECT_EQ(steps, kColumnCount + 1); // seven columns, then the search texts
    keysMade = 0;
    for (int column = 0; column < kColumnCount; ++column) {
        ExpectClickOrdersAsTheComparison(list, column, counting);
    }
    EXPECT_EQ(keysMade, 0u);
}

TEST(RowKeys, PreparedSearchFindsWhatThePlainWalkFinds) {
    std::size_t upperCalls = 0;
    UpperCaser counting = [&](std::wstring_view text) {
        ++upperCalls;
        return Upper(text);
    };
    ShortcutList list = ListOf(test::GeneratedRows(150, 5));
    const std::vector<std::wstring> texts = {L"abc",
                                             L"ABC",
                                             L"b",
                                             L"ｂｃ",
                                             L"ＢＣ",
                                             L"bc",
                                             L"アイ",
                                             L"あい",
                                             L"本",
                                             L"1",
                                             L"0",
                                             L" ",
                                             L"é",
                                             L"É",
                                             L"e",
                                             L"-\\",
                                             L"x",
                                             L"ー２",
                                             L"日本語日本語日本語"};
    auto expectSameHits = [&] {
        for (const std::wstring& text : texts) {
            for (std::size_t start = 0; start <= list.Count() + 1; ++start) {
                ASSERT_EQ(list.FindNext(start, text, counting), FindNextRow(list.Rows(), start, text, Upper))
                    << "text " << static_cast<int>(text[0]) << ", start " << start;
            }
        }
    };
    expectSameHits();
    // Each distinct caption, path and target once, and the search text once a step.
    const std::size_t steps = texts.size() * (list.Count() + 2);
    EXPECT_EQ(upperCalls, DistinctTexts(list, {0, 1, 2}) + steps);

    // The texts follow the rows through sorts, and are made anew when the rows change.
    list.ColumnClick(2, FoldedKey);
    list.ColumnClick(2, FoldedKey);
    expectSameHits();
    list.Add(test::GeneratedRows(1, 6).front());
    list.ColumnClick(0, FoldedKey);
    expectSameHits();
    EXPECT_EQ(list.FindNext(0, L"", counting), std::nullopt);
}

} // namespace
} // namespace orvane
