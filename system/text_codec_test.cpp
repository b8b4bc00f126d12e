#include "system/text_codec.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

TEST(TextCodec, JapaneseAndAstralTextSurviveUtf8AndUtf16) {
    const std::wstring text = L"取得 EXEのみ \U0001F600 end";
    EXPECT_EQ(FromUtf8(ToUtf8(text)), text);
    EXPECT_EQ(FromUtf16(ToUtf16(text)), text);
    // The astral character takes a surrogate pair in UTF-16 and four bytes in UTF-8.
    std::u16string units = ToUtf16(L"\U0001F600");
    ASSERT_EQ(units.size(), 2u);
    EXPECT_EQ(units[0], 0xD83D);
    EXPECT_EQ(units[1], 0xDE00);
    EXPECT_EQ(ToUtf8(L"\U0001F600"), "\xF0\x9F\x98\x80");
    EXPECT_EQ(ToUtf8(L"取"), "\xE5\x8F\x96");
}

TEST(TextCodec, MalformedUtf8BecomesReplacementCharacters) {
    EXPECT_EQ(FromUtf8("a\xFF"
                       "b"),
              L"a\uFFFDb");
    EXPECT_EQ(FromUtf8("\xE5\x8F"), L"\uFFFD\uFFFD");           // cut short
    EXPECT_EQ(FromUtf8("\xC0\xAF"), L"\uFFFD\uFFFD");           // overlong "/"
    EXPECT_EQ(FromUtf8("\xED\xA0\x80"), L"\uFFFD\uFFFD\uFFFD"); // encoded surrogate
}

TEST(TextCodec, Utf16LittleEndianBytes) {
    std::vector<std::uint8_t> bytes;
    AppendUtf16Le(bytes, L"A取");
    EXPECT_EQ(bytes, (std::vector<std::uint8_t>{0x41, 0x00, 0xD6, 0x53}));
}

} // namespace
} // namespace orvane
