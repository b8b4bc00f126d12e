#include "ui/controls/collation_win.h"
#include "ui/model/generated_rows_test.h"
#include "ui/form/idle_steps_win.h"
#include "ui/form/list_keys_win.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace orvane {
namespace {

// Beyond the shared pieces: hyphens and apostrophes, which the collation weighs apart from other
// signs, a soft hyphen and a zero-width space, which it ignores, and a combining accent.
std::vector<std::wstring> CollationPieces() {
    std::vector<std::wstring> pieces = test::kTextPieces;
    for (const wchar_t* piece : {L"co-op", L"coop", L"'", L"\u00AD", L"\u200B", L"e\u0301", L"ß", L"ss"}) {
        pieces.push_back(piece);
    }
    return pieces;
}

int Sign(int value) {
    return value < 0 ? -1 : value > 0 ? 1 : 0;
}

TEST(ListKeys, SortKeysCompareAsCompareStringWForEveryPairOfTexts) {
    std::set<std::wstring> distinct;
    for (const ShortcutRow& row : test::GeneratedRows(60, 11, CollationPieces())) {
        distinct.insert(row.caption);
        distinct.insert(row.subItems.begin(), row.subItems.end());
    }
    const std::vector<std::wstring> texts(distinct.begin(), distinct.end());
    std::vector<std::string> keys(texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i) {
        MakeSortKeyUserDefault(texts[i], keys[i]);
    }
    int differing = 0;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        for (std::size_t j = 0; j < texts.size(); ++j) {
            if (Sign(keys[i].compare(keys[j])) != CollateUserDefault(texts[i], texts[j]) &&
                ++differing <= 5) {
                ADD_FAILURE() << "the keys of two texts compare otherwise than CompareStringW (text lengths "
                              << texts[i].size() << " and " << texts[j].size() << ")";
            }
        }
    }
    EXPECT_EQ(differing, 0) << "of " << texts.size() * texts.size() << " pairs";
}

TEST(ListKeys, EveryColumnSortsAsTheComparisonWithCompareStringW) {
    ShortcutList list;
    list.Assign(test::GeneratedRows(300, 12, CollationPieces()));
    for (int column : {0, 1, 2, 3, 4, 5, 6}) {
        for (int direction = 0; direction < 2; ++direction) {
            std::vector<ShortcutRow> expected = list.Rows();
            list.ColumnClick(column, MakeSortKeyUserDefault);
            std::stable_sort(expected.begin(), expected.end(),
                             [&](const ShortcutRow& a, const ShortcutRow& b) {
                                 return list.ListViewCompare(a, b, CollateUserDefault) < 0;
                             });
            EXPECT_EQ(list.Rows(), expected) << "column " << column << ", sort state " << list.MListViewSort;
        }
    }
}

TEST(ListKeys, UpperCasedCopiesGiveTheHitsOfTheCurrentSearch) {
    ShortcutList list;
    list.Assign(test::GeneratedRows(200, 13, CollationPieces()));
    list.ColumnClick(1, MakeSortKeyUserDefault);
    const std::vector<std::wstring> texts = {L"abc",  L"ABC", L"ａｂ", L"ＢＣ", L"ｱｲ",      L"アイ", L"あい",
                                             L"日本", L"é",   L"É",    L"e",    L"ss",      L"ß",    L"co-op",
                                             L"1",    L"２",  L" ",    L"-\\",  L"program", L"none"};
    for (const std::wstring& text : texts) {
        for (std::size_t start = 0; start <= list.Count(); ++start) {
            ASSERT_EQ(list.FindNext(start, text, UpperCaseText),
                      FindNextRow(list.Rows(), start, text, UpperCaseText))
                << "start " << start;
        }
    }
}

TEST(ListKeys, IdleStepsMakeEveryKeyWhenTheWindowIsIdleAndStopWhenDone) {
    HWND window =
        ::CreateWindowExW(0, L"STATIC", L"idle", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    ShortcutList list;
    list.Assign(test::GeneratedRows(50, 14));
    IdleSteps steps;
    PrepareListKeysWhenIdle(steps, window, list);
    EXPECT_TRUE(steps.Running());
    MSG message{};
    for (DWORD start = ::GetTickCount(); steps.Running() && ::GetTickCount() - start < 10000;) {
        if (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::DispatchMessageW(&message);
        } else {
            ::Sleep(1);
        }
    }
    EXPECT_FALSE(steps.Running());
    // Everything is made: no sort makes a key now.
    int keysMade = 0;
    for (int column = 0; column < kColumnCount; ++column) {
        list.ColumnClick(column, [&](std::wstring_view text, std::string& key) {
            ++keysMade;
            MakeSortKeyUserDefault(text, key);
        });
    }
    EXPECT_EQ(keysMade, 0);
    ::DestroyWindow(window);
}

} // namespace
} // namespace orvane
