#include "ui/model/search.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

// Upper-cases like the platform: ASCII, Latin-1 and full-width letters.
std::wstring Upper(std::wstring_view text) {
    std::wstring out(text);
    for (auto& c : out) {
        if ((c >= L'a' && c <= L'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) {
            c = static_cast<wchar_t>(c - 0x20);
        } else if (c >= 0xFF41 && c <= 0xFF5A) {
            c = static_cast<wchar_t>(c - 0x20);
        }
    }
    return out;
}

bool EqualsIgnoringCase(std::wstring_view a, std::wstring_view b) {
    return Upper(a) == Upper(b);
}

ShortcutRow Row(std::wstring caption, std::wstring path = L"", std::wstring target = L"",
                std::wstring description = L"") {
    ShortcutRow row;
    row.caption = std::move(caption);
    row.subItems[siFullPath] = std::move(path);
    row.subItems[siTarget] = std::move(target);
    row.subItems[siDescription] = std::move(description);
    return row;
}

TEST(SearchHistory, ExistingEntryIgnoringCaseStaysWhereItIs) {
    std::vector<std::wstring> history = {L"note", L"Word", L"x"};
    EXPECT_FALSE(AddToHistory(history, L"word", EqualsIgnoringCase));
    EXPECT_EQ(history, (std::vector<std::wstring>{L"note", L"Word", L"x"}));
    EXPECT_TRUE(AddToHistory(history, L"new", EqualsIgnoringCase));
    EXPECT_EQ(history.front(), L"new");
}

TEST(SearchHistory, AHundredAndFirstEntryDropsTheLast) {
    std::vector<std::wstring> history;
    for (int i = 0; i < 100; ++i) {
        history.push_back(L"entry" + std::to_wstring(i));
    }
    AddToHistory(history, L"fresh", EqualsIgnoringCase);
    ASSERT_EQ(history.size(), 100u);
    EXPECT_EQ(history.front(), L"fresh");
    EXPECT_EQ(history.back(), L"entry98");
}

TEST(SearchWalk, StepsThroughHitsWithoutWrapping) {
    std::vector<ShortcutRow> rows(10, Row(L"other"));
    rows[3] = Row(L"Setup");
    rows[8] = Row(L"x", L"C:\\SETUP\\x.lnk");
    EXPECT_EQ(FindNextRow(rows, 0, L"setup", Upper), 3u);
    EXPECT_EQ(FindNextRow(rows, 4, L"setup", Upper), 8u);
    EXPECT_EQ(FindNextRow(rows, 9, L"setup", Upper), std::nullopt);
    EXPECT_EQ(FindNextRow(rows, 10, L"setup", Upper), std::nullopt);
}

TEST(SearchWalk, SearchesNameShortcutPathAndTargetOnly) {
    std::vector<ShortcutRow> rows = {Row(L"a", L"", L"", L"only in the description: note"),
                                     Row(L"b", L"", L"C:\\Notes\\n.exe"), Row(L"NOTE pad")};
    EXPECT_EQ(FindNextRow(rows, 0, L"note", Upper), 1u);
    EXPECT_EQ(FindNextRow(rows, 2, L"Note", Upper), 2u);
    EXPECT_EQ(FindNextRow(rows, 0, L"", Upper), std::nullopt);
    EXPECT_EQ(FindNextRow({}, 0, L"x", Upper), std::nullopt);
    // A text of spaces is searched like any other.
    EXPECT_EQ(FindNextRow(rows, 0, L" ", Upper), 2u);
}

TEST(SearchWalk, NoFoldingBeyondUpperCasing) {
    std::vector<ShortcutRow> rows = {Row(L"ＮＯＴＥ"), Row(L"のーと"), Row(L"café")};
    EXPECT_EQ(FindNextRow(rows, 0, L"note", Upper), std::nullopt);   // full width stays distinct
    EXPECT_EQ(FindNextRow(rows, 0, L"ノート", Upper), std::nullopt); // hiragana is not katakana
    EXPECT_EQ(FindNextRow(rows, 0, L"cafe", Upper), std::nullopt);   // accents stay
    EXPECT_EQ(FindNextRow(rows, 0, L"ｎｏｔｅ", Upper), 0u);         // full width upper-cased
}

} // namespace
} // namespace orvane
