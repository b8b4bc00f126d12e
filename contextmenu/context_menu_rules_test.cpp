#include "contextmenu/context_menu_rules.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

TEST(ContextMenuRules, OptionsGiveQueryFlagsAndTheNewMenuModes) {
    static_assert(sizeof(TplContextShowFlags) == 1);
    EXPECT_EQ((TplContextShowFlags{csf_EXPLORE, csf_CREATENEW}).Bits(), 0x14);
    EXPECT_EQ(QueryContextMenuFlags({}), 0u);
    EXPECT_EQ(QueryContextMenuFlags({csf_NORMAL, csf_CREATENEW}), 0u);
    EXPECT_EQ(QueryContextMenuFlags({csf_EXPLORE}), 0x4u);
    EXPECT_EQ(QueryContextMenuFlags({csf_DEFAULTONLY, csf_EXPLORE, csf_CANRENAME, csf_CREATENEW}), 0x15u);

    EXPECT_TRUE(IsNewMenuOnly({csf_CREATENEW}));
    EXPECT_FALSE(IsNewMenuOnly({csf_CREATENEW, csf_NORMAL}));
    EXPECT_FALSE(IsNewMenuOnly({}));

    const TplContextShowFlags withNew{csf_EXPLORE, csf_CREATENEW};
    EXPECT_TRUE(WantsNewMenu(true, L"C:\\Temp", withNew));
    EXPECT_TRUE(WantsNewMenu(true, L"", withNew));
    EXPECT_TRUE(WantsNewMenu(true, L"D:", withNew));
    EXPECT_FALSE(WantsNewMenu(false, L"C:\\Temp", withNew));
    EXPECT_FALSE(WantsNewMenu(true, L"C:\\Temp", {csf_EXPLORE}));
    EXPECT_FALSE(WantsNewMenu(true, L"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}", withNew));
}

TEST(ContextMenuRules, VerbTableCoversTheElevenNumbersOnly) {
    const std::pair<int, const char*> table[] = {
        {510, "preview"}, {520, "print"},      {530, "edit"},    {540, "cut"},  {550, "copy"}, {560, "paste"},
        {570, "delete"},  {580, "properties"}, {590, "explore"}, {600, "open"}, {610, "find"}};
    for (const auto& [number, verb] : table) {
        EXPECT_EQ(VerbOfCommand(number), verb);
    }
    for (int number : {0, 500, 509, 511, 545, 620, -580}) {
        EXPECT_FALSE(VerbOfCommand(number).has_value()) << number;
    }
}

TEST(ContextMenuRules, SystemVersionAndNewMenuCaption) {
    EXPECT_TRUE(IsOSBeforeVistaVersion(5, 1));
    EXPECT_FALSE(IsOSBeforeVistaVersion(5, 2));
    EXPECT_FALSE(IsOSBeforeVistaVersion(6, 0));
    EXPECT_FALSE(IsOSBeforeVistaVersion(10, 0));
    EXPECT_TRUE(IsNewMenuCaption(L"新規作成(&W)"));
    EXPECT_TRUE(IsNewMenuCaption(L" 新規作成(&X)\tCtrl+N"));
    EXPECT_FALSE(IsNewMenuCaption(L"新規作成(&N)"));
    EXPECT_FALSE(IsNewMenuCaption(L"Ne&w"));
}

// A menu as text, one letter per entry and "-" for a separator, after the tidy-up.
std::string Tidied(const std::string& menu, int ownCount = 0, int* ownRemaining = nullptr) {
    std::vector<bool> separators;
    for (char c : menu) {
        separators.push_back(c == '-');
    }
    const SeparatorTidyPlan plan = PlanSeparatorTidy(separators, ownCount);
    std::string result = menu;
    for (int position : plan.deletions) {
        result.erase(static_cast<std::size_t>(position), 1);
    }
    if (ownRemaining != nullptr) {
        *ownRemaining = plan.ownRemaining;
    }
    return result;
}

TEST(ContextMenuRules, SeparatorTidyRemovesDoublesAndEdgesAndCountsOwnItems) {
    const std::pair<std::string, std::string> cases[] = {
        {"", ""},     {"A-B", "A-B"},   {"-A", "A"},
        {"A-", "A"},  {"A---B", "A-B"}, {"--A-B", "A-B"},
        {"A--", "A"}, {"---", ""},      {"-A--B-C---", "A-B-C"},
    };
    for (const auto& [menu, expected] : cases) {
        EXPECT_EQ(Tidied(menu), expected) << menu;
    }
    int own = 0;
    // Own items "-X" below shell entries "A-B-": the doubled separator that goes is the shell's.
    EXPECT_EQ(Tidied("A-B--X", 2, &own), "A-B-X");
    EXPECT_EQ(own, 2);
    EXPECT_EQ(Tidied("A-BX-", 2, &own), "A-BX");
    EXPECT_EQ(own, 1);
    EXPECT_EQ(Tidied("AB", 5, &own), "AB");
    EXPECT_EQ(own, 2);
}

TEST(ContextMenuRules, ChosenIdsAreRoutedToTheMenuThatAddedThem) {
    // Two own items, New menu 3..5, item menu from 6 on.
    const CommandRanges both{2, true, 6, 3, 6};
    EXPECT_EQ(ResolveChosenCommand(0, both), ChosenCommand{});
    EXPECT_EQ(ResolveChosenCommand(2, both), (ChosenCommand{ChosenKind::OwnItem, 1}));
    EXPECT_EQ(ResolveChosenCommand(3, both), (ChosenCommand{ChosenKind::NewMenu, 0}));
    EXPECT_EQ(ResolveChosenCommand(5, both), (ChosenCommand{ChosenKind::NewMenu, 2}));
    EXPECT_EQ(ResolveChosenCommand(6, both), (ChosenCommand{ChosenKind::ItemMenu, 0}));
    // Offsets above 500 are shell commands like any other.
    EXPECT_EQ(ResolveChosenCommand(700, both), (ChosenCommand{ChosenKind::ItemMenu, 694}));
    // The New menu alone, two past the own items as on Windows 5.1: the gap is nobody's.
    const CommandRanges newOnly{1, false, 0, NewMenuFirstId(1, true), 10};
    EXPECT_EQ(ResolveChosenCommand(2, newOnly), ChosenCommand{});
    EXPECT_EQ(ResolveChosenCommand(3, newOnly), (ChosenCommand{ChosenKind::NewMenu, 0}));
    EXPECT_EQ(ResolveChosenCommand(10, newOnly), ChosenCommand{});
}

} // namespace
} // namespace orvane
