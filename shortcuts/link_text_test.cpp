#include "shortcuts/link_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>
#include <vector>

namespace orvane {
namespace {

// A text of the given length whose characters differ along its length, so a cut or a shift shows.
std::wstring Sample(std::size_t length) {
    std::wstring text(length, L'\0');
    for (std::size_t i = 0; i < length; ++i) {
        text[i] = static_cast<wchar_t>(L'A' + i % 26);
    }
    return text;
}

// Copies a stored text the way the shell link object does: at most capacity - 1 characters and a
// NUL, reporting success even when the text was cut. Records each capacity it was offered.
struct CuttingSource {
    std::wstring stored;
    std::vector<int> capacities;
    bool buffersWereClear = true;
    LinkTextFill fill() {
        return [this](wchar_t* buffer, int capacity) {
            capacities.push_back(capacity);
            buffersWereClear = buffersWereClear &&
                               std::all_of(buffer, buffer + capacity, [](wchar_t c) { return c == L'\0'; });
            const auto count = std::min(stored.size(), static_cast<std::size_t>(capacity - 1));
            std::wmemcpy(buffer, stored.data(), count);
            buffer[count] = L'\0';
            return true;
        };
    }
};

TEST(LinkText, ShortTextsTakeOneRead) {
    for (std::size_t length : {std::size_t{0}, std::size_t{1}, std::size_t{254}, std::size_t{258}}) {
        CuttingSource source{Sample(length), {}};
        EXPECT_EQ(ReadWholeText(source.fill()), source.stored) << length;
        EXPECT_EQ(source.capacities, std::vector<int>{kLinkTextFirstCapacity}) << length;
    }
}

TEST(LinkText, TextThatFillsTheBufferIsReadAgainWithALargerOne) {
    // 259 characters fill the first buffer exactly, so they may have been cut: one more read tells.
    CuttingSource exact{Sample(259), {}};
    EXPECT_EQ(ReadWholeText(exact.fill()), exact.stored);
    EXPECT_EQ(exact.capacities, (std::vector<int>{260, 520}));

    for (std::size_t length : {std::size_t{260}, std::size_t{300}, std::size_t{1039}, std::size_t{5000}}) {
        CuttingSource source{Sample(length), {}};
        EXPECT_EQ(ReadWholeText(source.fill()), source.stored) << length;
        EXPECT_TRUE(source.buffersWereClear) << length;
    }
}

TEST(LinkText, GrowthStopsAtTheBound) {
    CuttingSource longest{Sample(kLinkTextMaxCapacity - 1), {}};
    EXPECT_EQ(ReadWholeText(longest.fill()), longest.stored);

    CuttingSource tooLong{Sample(40000), {}};
    const std::wstring text = ReadWholeText(tooLong.fill());
    EXPECT_EQ(text, tooLong.stored.substr(0, kLinkTextMaxCapacity - 1));
    EXPECT_EQ(tooLong.capacities.back(), kLinkTextMaxCapacity);
    EXPECT_LE(tooLong.capacities.size(), 8u);
}

TEST(LinkText, FailedReadIsRetriedLargerAndNothingOfItIsKept) {
    // A source that refuses a buffer too small for its text, after scribbling into it.
    const std::wstring stored = Sample(700);
    int calls = 0;
    const std::wstring text = ReadWholeText([&](wchar_t* buffer, int capacity) {
        ++calls;
        if (static_cast<std::size_t>(capacity) <= stored.size()) {
            buffer[0] = L'!';
            return false;
        }
        std::wmemcpy(buffer, stored.data(), stored.size());
        return true;
    });
    EXPECT_EQ(text, stored);
    EXPECT_EQ(calls, 3);
}

TEST(LinkText, MisbehavingSourcesStayBounded) {
    int calls = 0;
    EXPECT_EQ(ReadWholeText([&](wchar_t*, int) {
                  ++calls;
                  return false;
              }),
              L"");
    EXPECT_GE(calls, 2);
    EXPECT_LE(calls, 8);

    // A source that writes no NUL is read to the bound; the text never reaches past the buffer.
    EXPECT_EQ(ReadWholeText([](wchar_t* buffer, int capacity) {
                  std::wmemset(buffer, L'x', static_cast<std::size_t>(capacity));
                  return true;
              }),
              std::wstring(kLinkTextMaxCapacity - 1, L'x'));
}

} // namespace
} // namespace orvane
