#include "catalogue/scan_memo.h"

#include <gtest/gtest.h>

#include <vector>

namespace orvane {
namespace {

TEST(IconSourceKey, StoredIconLocationWinsOverTheTargetAndCarriesItsIndex) {
    const std::wstring exe = L"C:\\Apps\\tool.exe";
    const std::wstring icons = L"C:\\Windows\\system32\\shell32.dll";
    // Two shortcuts to one program show one icon; a stored location gives another, per index.
    EXPECT_EQ(IconSourceKey(L"", 0, exe), IconSourceKey(L"", 5, exe));
    EXPECT_NE(IconSourceKey(icons, 3, exe), IconSourceKey(L"", 0, exe));
    EXPECT_NE(IconSourceKey(icons, 3, exe), IconSourceKey(icons, 4, exe));
    EXPECT_EQ(IconSourceKey(icons, 3, exe), IconSourceKey(icons, 3, L"C:\\Other\\app.exe"));
    // A target path that happens to look like an icon key stays a different source.
    EXPECT_NE(IconSourceKey(L"", 0, L"icon:3:" + icons), IconSourceKey(icons, 3, L""));
    // Neither a location nor a target: no key, so the icon is asked for on its own.
    EXPECT_TRUE(IconSourceKey(L"", 7, L"").empty());
}

TEST(ScanMemo, ComputesEachKeyOnceAndKeepsValuesApart) {
    std::vector<std::wstring> asked;
    ScanMemo<std::wstring> memo;
    auto get = [&](const std::wstring& key) {
        return memo.Get(key, [&] {
            asked.push_back(key);
            return L"v(" + key + L")";
        });
    };
    EXPECT_EQ(get(L"a"), L"v(a)");
    EXPECT_EQ(get(L"b"), L"v(b)");
    EXPECT_EQ(get(L"a"), L"v(a)");
    EXPECT_EQ(get(L"A"), L"v(A)"); // keys are exact: no case folding
    EXPECT_EQ(asked, (std::vector<std::wstring>{L"a", L"b", L"A"}));
    EXPECT_EQ(memo.Size(), 3u);
}

TEST(ProgressThrottle, FirstUpdateAtOnceThenOncePerInterval) {
    ProgressThrottle throttle(100);
    EXPECT_TRUE(throttle.Due(5000));
    EXPECT_FALSE(throttle.Due(5000));
    EXPECT_FALSE(throttle.Due(5099));
    EXPECT_TRUE(throttle.Due(5100));
    // The interval counts from the update that was let through, not from the refused ones.
    EXPECT_FALSE(throttle.Due(5150));
    EXPECT_FALSE(throttle.Due(5199));
    EXPECT_TRUE(throttle.Due(5350));
    // A throttle that starts at time zero still lets its first update through.
    ProgressThrottle early(100);
    EXPECT_TRUE(early.Due(0));
    EXPECT_FALSE(early.Due(99));
}

} // namespace
} // namespace orvane
