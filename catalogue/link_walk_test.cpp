#include "catalogue/link_walk.h"

#include <gtest/gtest.h>

#include <map>

namespace orvane {
namespace {

// A folder tree in memory; entries keep the order they are listed in.
struct FakeTree {
    std::map<std::wstring, std::vector<DirEntry>> folders;
    std::vector<std::wstring> visited;
    DirLister Lister() {
        return [this](const std::wstring& folder) {
            visited.push_back(folder);
            auto it = folders.find(folder);
            return it == folders.end() ? std::vector<DirEntry>{} : it->second;
        };
    }
};

TEST(LinkWalk, DepthFirstInListingOrderWithSubfoldersInPlace) {
    FakeTree tree;
    tree.folders[L"C:\\Menu\\"] = {{L".", true},     {L"..", true},     {L"b.lnk", false},
                                   {L"Tools", true}, {L"a.LNK", false}, {L"readme.txt", false},
                                   {L"Empty", true}, {L"z.lnk", false}};
    tree.folders[L"C:\\Menu\\Tools"] = {{L"x.lnk", false}, {L"Deep", true}, {L"y.Lnk", false}};
    tree.folders[L"C:\\Menu\\Tools\\Deep"] = {{L"日本語.lnk", false}};

    auto files = CollectLinkFiles(L"C:\\Menu\\", tree.Lister());
    EXPECT_EQ(files, (std::vector<std::wstring>{
                         L"C:\\Menu\\b.lnk", L"C:\\Menu\\Tools\\x.lnk", L"C:\\Menu\\Tools\\Deep\\日本語.lnk",
                         L"C:\\Menu\\Tools\\y.Lnk", L"C:\\Menu\\a.LNK", L"C:\\Menu\\z.lnk"}));
    // "." and ".." are never entered.
    EXPECT_EQ(tree.visited.size(), 4u);
}

TEST(LinkWalk, SeparatorOnlyWhenTheFolderLacksOne) {
    EXPECT_EQ(JoinPath(L"C:\\Menu", L"a.lnk"), L"C:\\Menu\\a.lnk");
    EXPECT_EQ(JoinPath(L"C:\\Menu\\", L"a.lnk"), L"C:\\Menu\\a.lnk");
    EXPECT_EQ(JoinPath(L"C:\\", L"a.lnk"), L"C:\\a.lnk");
}

TEST(LinkWalk, PatternIgnoresCaseAndNeedsTheWholeExtension) {
    EXPECT_TRUE(IsLinkFileName(L"a.lnk"));
    EXPECT_TRUE(IsLinkFileName(L"A.LNK"));
    EXPECT_TRUE(IsLinkFileName(L".lnk"));
    EXPECT_FALSE(IsLinkFileName(L"a.lnk.txt"));
    EXPECT_FALSE(IsLinkFileName(L"alnk"));
    EXPECT_FALSE(IsLinkFileName(L"lnk"));
    EXPECT_FALSE(IsLinkFileName(L"a.ｌｎｋ"));
}

TEST(LinkWalk, TheSeparatorAloneIsNeverWalked) {
    EXPECT_FALSE(IsScannableFolder(L"\\"));
    EXPECT_FALSE(IsScannableFolder(L""));
    EXPECT_TRUE(IsScannableFolder(L"C:\\Menu\\"));
}

} // namespace
} // namespace orvane
