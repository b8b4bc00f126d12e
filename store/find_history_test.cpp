#include "store/find_history.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Raw(std::string_view s) {
    return {s.begin(), s.end()};
}

Bytes Utf16(std::u16string_view text, bool bigEndian) {
    Bytes out = bigEndian ? Bytes{0xFE, 0xFF} : Bytes{0xFF, 0xFE};
    for (char16_t c : text) {
        auto high = static_cast<std::uint8_t>(c >> 8);
        auto low = static_cast<std::uint8_t>(c & 0xFF);
        out.push_back(bigEndian ? high : low);
        out.push_back(bigEndian ? low : high);
    }
    return out;
}

TEST(FindHistory, WrittenAsUtf16WithByteOrderMarkAndCrLfAfterEveryEntry) {
    EXPECT_EQ(WriteFindHistory({}), (Bytes{0xFF, 0xFE}));
    EXPECT_EQ(WriteFindHistory({L"ab", L"\u65E5"}), Utf16(u"ab\r\n\u65E5\r\n", false));
    EXPECT_TRUE(ReadFindHistory(WriteFindHistory({}), {}).empty());
}

TEST(FindHistory, JapaneseEntriesRoundTrip) {
    const std::vector<std::wstring> entries = {
        L"\u30E1\u30E2\u5E33", L"\u96FB\u5353", L"Excel 2016", L"\U00020B9F\u8A66\u3057", L"", L"  spaced  "};
    EXPECT_EQ(ReadFindHistory(WriteFindHistory(entries), {}), entries);
}

TEST(FindHistory, ByteOrderMarkDecidesTheEncoding) {
    const std::vector<std::wstring> expected = {L"\u65E5\u672C", L"abc"};
    EXPECT_EQ(ReadFindHistory(Raw("\xEF\xBB\xBF\xE6\x97\xA5\xE6\x9C\xAC\r\nabc\r\n"), {}), expected);
    EXPECT_EQ(ReadFindHistory(Utf16(u"\u65E5\u672C\r\nabc\r\n", true), {}), expected);
    EXPECT_EQ(ReadFindHistory(Utf16(u"\u65E5\u672C\r\nabc", false), {}), expected);
    // An odd byte left at the end of UTF-16 text is dropped.
    Bytes odd = Utf16(u"\u65E5\u672C\nabc", false);
    odd.push_back('x');
    EXPECT_EQ(ReadFindHistory(odd, {}), expected);
}

TEST(FindHistory, LinesEndAtCrLfCrOrLf) {
    EXPECT_EQ(ReadFindHistory(Utf16(u"a\r\nb\rc\nd\n\ne", false), {}),
              (std::vector<std::wstring>{L"a", L"b", L"c", L"d", L"", L"e"}));
    EXPECT_EQ(ReadFindHistory(Utf16(u"a\r", false), {}), (std::vector<std::wstring>{L"a"}));
    EXPECT_EQ(ReadFindHistory(Utf16(u"\r\n", false), {}), (std::vector<std::wstring>{L""}));
}

TEST(FindHistory, WithoutByteOrderMarkTheAnsiDecoderReadsIt) {
    // A stand-in for a double-byte code page: 0x93 0xFA is one character.
    AnsiDecoder decoder = [](std::string_view bytes) {
        std::wstring out;
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            if (static_cast<unsigned char>(bytes[i]) == 0x93 && i + 1 < bytes.size()) {
                out.push_back(L'\u65E5');
                ++i;
            } else {
                out.push_back(static_cast<wchar_t>(static_cast<unsigned char>(bytes[i])));
            }
        }
        return out;
    };
    EXPECT_EQ(ReadFindHistory(Raw("\x93\xFA\r\nx\ny"), decoder),
              (std::vector<std::wstring>{L"\u65E5", L"x", L"y"}));
    // A file that merely looks like text in another encoding is still read through the decoder.
    EXPECT_EQ(ReadFindHistory(Raw("\xE6\x97\xA5"), decoder),
              (std::vector<std::wstring>{L"\u00E6\u0097\u00A5"}));
}

} // namespace
} // namespace orvane
