#include "store/ini_file.h"

#include <gtest/gtest.h>

#include <string>

namespace orvane {
namespace {

std::vector<std::uint8_t> Bytes(std::string_view text) {
    return {text.begin(), text.end()};
}

std::string Text(const std::vector<std::uint8_t>& bytes) {
    return {bytes.begin(), bytes.end()};
}

std::vector<std::uint8_t> Utf16Le(std::u16string_view text, bool bom = true) {
    std::vector<std::uint8_t> out;
    if (bom) {
        out = {0xFF, 0xFE};
    }
    for (char16_t c : text) {
        out.push_back(static_cast<std::uint8_t>(c & 0xFF));
        out.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    return out;
}

// A stand-in for a code page: byte 0xE9 is "é" and every other byte is ASCII; what it cannot encode
// becomes "?".
AnsiCodec FakeCodePage() {
    return {[](std::string_view bytes) {
                std::wstring out;
                for (char c : bytes) {
                    out.push_back(static_cast<unsigned char>(c) == 0xE9 ? L'\u00E9'
                                                                        : static_cast<wchar_t>(c));
                }
                return out;
            },
            [](std::wstring_view text) {
                std::string out;
                for (wchar_t c : text) {
                    out.push_back(c == L'\u00E9' ? '\xE9' : c < 0x80 ? static_cast<char>(c) : '?');
                }
                return out;
            }};
}

TEST(IniFile, IntegersInDecimalAndHexadecimal) {
    IniFile ini = IniFile::Parse(Bytes("[S]\r\nhex=0x0E\r\ndollar=$10\r\nupper=0X1f\r\nneg=-42\r\n"
                                       "plus=+7\r\nspaced =  12  \r\nall=$FFFFFFFF\r\nmax=2147483647\r\n"
                                       "min=-2147483648\r\n"));
    EXPECT_EQ(ini.ReadInteger(L"S", L"hex", 0), 14);
    EXPECT_EQ(ini.ReadInteger(L"S", L"dollar", 0), 16);
    EXPECT_EQ(ini.ReadInteger(L"S", L"upper", 0), 31);
    EXPECT_EQ(ini.ReadInteger(L"S", L"neg", 0), -42);
    EXPECT_EQ(ini.ReadInteger(L"S", L"plus", 0), 7);
    EXPECT_EQ(ini.ReadInteger(L"S", L"spaced", 0), 12);
    EXPECT_EQ(ini.ReadInteger(L"S", L"all", 0), -1);
    EXPECT_EQ(ini.ReadInteger(L"S", L"max", 0), 2147483647);
    EXPECT_EQ(ini.ReadInteger(L"S", L"min", 0), -2147483647 - 1);
}

TEST(IniFile, MissingOrNonNumericValuesGiveTheDefault) {
    IniFile ini = IniFile::Parse(Bytes("[S]\r\nword=abc\r\ntail=12abc\r\nempty=\r\nprefix=0x\r\nsign=-\r\n"
                                       "big=2147483648\r\nwide=$100000000\r\nfloat=1.5\r\n"));
    for (const wchar_t* key :
         {L"word", L"tail", L"empty", L"prefix", L"sign", L"big", L"wide", L"float", L"missing"}) {
        EXPECT_EQ(ini.ReadInteger(L"S", key, 77), 77) << key;
    }
    EXPECT_EQ(ini.ReadInteger(L"Other", L"word", 5), 5);
    EXPECT_EQ(ini.ReadString(L"S", L"word", L"d"), L"abc");
    EXPECT_EQ(ini.ReadString(L"S", L"empty", L"d"), L"");
    EXPECT_EQ(ini.ReadString(L"S", L"missing", L"d"), L"d");
}

TEST(IniFile, BooleansAreIntegersAndAnyNonZeroIsTrue) {
    IniFile ini = IniFile::Parse(Bytes("[S]\nzero=0\none=1\ntwo=2\nneg=-1\nhex=$0\nword=yes\n"));
    EXPECT_FALSE(ini.ReadBool(L"S", L"zero", true));
    EXPECT_TRUE(ini.ReadBool(L"S", L"one", false));
    EXPECT_TRUE(ini.ReadBool(L"S", L"two", false));
    EXPECT_TRUE(ini.ReadBool(L"S", L"neg", false));
    EXPECT_FALSE(ini.ReadBool(L"S", L"hex", true));
    EXPECT_TRUE(ini.ReadBool(L"S", L"word", true));
    EXPECT_FALSE(ini.ReadBool(L"S", L"word", false));
    EXPECT_TRUE(ini.ReadBool(L"S", L"missing", true));
}

TEST(IniFile, SectionsAndKeysIgnoreCase) {
    IniFile ini = IniFile::Parse(Bytes("[window]\r\nfontsize=11\r\n"));
    EXPECT_EQ(ini.ReadInteger(L"WINDOW", L"FontSize", 0), 11);
    ini.WriteInteger(L"Window", L"FONTSIZE", 12);
    ini.WriteBool(L"WiNdOw", L"Max", true);
    // The existing spelling stays; nothing is added twice.
    EXPECT_EQ(Text(ini.Serialize()), "[window]\r\nfontsize=12\r\nMax=1\r\n");
}

TEST(IniFile, UnknownSectionsKeysAndCommentsSurviveInTheirPlaces) {
    const std::string original = "; written by hand\r\n"
                                 "[Window]\r\n"
                                 "Extra=keep me\r\n"
                                 "Top=5\r\n"
                                 "\r\n"
                                 "[Plugins]\r\n"
                                 "a=1\r\n"
                                 "b\r\n"
                                 "\r\n"
                                 "[View]\r\n"
                                 "Report=0\r\n";
    IniFile ini = IniFile::Parse(Bytes(original));
    ini.WriteInteger(L"Window", L"Top", 9);
    ini.WriteInteger(L"Window", L"Left", 3);
    ini.WriteBool(L"View", L"Report", true);
    ini.WriteString(L"New", L"k", L"v");
    EXPECT_EQ(Text(ini.Serialize()), "; written by hand\r\n"
                                     "[Window]\r\n"
                                     "Extra=keep me\r\n"
                                     "Top=9\r\n"
                                     "Left=3\r\n"
                                     "\r\n"
                                     "[Plugins]\r\n"
                                     "a=1\r\n"
                                     "b\r\n"
                                     "\r\n"
                                     "[View]\r\n"
                                     "Report=1\r\n"
                                     "\r\n"
                                     "[New]\r\n"
                                     "k=v\r\n");
}

TEST(IniFile, LinesEndInCrLfWhateverTheyEndedInBefore) {
    IniFile ini = IniFile::Parse(Bytes("[A]\nx=1\r[B]\r\ny=2"));
    EXPECT_EQ(ini.ReadInteger(L"A", L"x", 0), 1);
    EXPECT_EQ(ini.ReadInteger(L"B", L"y", 0), 2);
    EXPECT_EQ(Text(ini.Serialize()), "[A]\r\nx=1\r\n[B]\r\ny=2\r\n");
}

TEST(IniFile, Utf16FileStaysUtf16) {
    IniFile ini = IniFile::Parse(Utf16Le(u"[Window]\r\nName=\u65E5\u672C\r\n"));
    EXPECT_EQ(ini.encoding(), TextEncoding::teUtf16Le);
    EXPECT_EQ(ini.ReadString(L"Window", L"Name", L""), L"\u65E5\u672C");
    ini.WriteInteger(L"Window", L"Max", 0);
    EXPECT_EQ(ini.Serialize(), Utf16Le(u"[Window]\r\nName=\u65E5\u672C\r\nMax=0\r\n"));

    std::vector<std::uint8_t> big = {0xFE, 0xFF};
    for (char16_t c : std::u16string_view(u"[V]\r\nK=\u00E9\r\n")) {
        big.push_back(static_cast<std::uint8_t>(c >> 8));
        big.push_back(static_cast<std::uint8_t>(c & 0xFF));
    }
    IniFile be = IniFile::Parse(big);
    EXPECT_EQ(be.encoding(), TextEncoding::teUtf16Be);
    EXPECT_EQ(be.ReadString(L"V", L"K", L""), L"\u00E9");
    EXPECT_EQ(be.Serialize(), big);

    const std::string utf8 = "\xEF\xBB\xBF[V]\r\nK=\xE6\x97\xA5\r\n";
    IniFile u8 = IniFile::Parse(Bytes(utf8));
    EXPECT_EQ(u8.encoding(), TextEncoding::teUtf8);
    EXPECT_EQ(u8.ReadString(L"V", L"K", L""), L"\u65E5");
    EXPECT_EQ(Text(u8.Serialize()), utf8);
}

TEST(IniFile, WithoutByteOrderMarkTheAnsiCodePageIsUsedBothWays) {
    IniFile ini = IniFile::Parse(Bytes("[S]\r\nName=caf\xE9\r\n"), FakeCodePage());
    EXPECT_EQ(ini.encoding(), TextEncoding::teAnsi);
    EXPECT_EQ(ini.ReadString(L"S", L"Name", L""), L"caf\u00E9");
    ini.WriteString(L"S", L"Other", L"\u00E9\u65E5");
    EXPECT_EQ(Text(ini.Serialize()), "[S]\r\nName=caf\xE9\r\nOther=\xE9?\r\n");

    IniFile fresh(FakeCodePage());
    fresh.WriteString(L"S", L"K", L"\u00E9");
    EXPECT_EQ(fresh.encoding(), TextEncoding::teAnsi);
    EXPECT_EQ(Text(fresh.Serialize()), "[S]\r\nK=\xE9\r\n");
}

TEST(IniFile, LinesTheProgramDidNotWriteComeBackAsTheyWere) {
    // ANSI files whose first key, once the blanks before it are gone, reads as a byte-order mark: written
    // without those blanks, the file would come back as UTF-16 or UTF-8 text with other keys.
    for (const std::string& original : {std::string(" \xFF\xFE=x\r\n[S]\r\nk=1\r\n"),
                                        std::string("\t\xEF\xBB\xBF=1\r\n"), std::string(" \xFE\xFF=\r\n")}) {
        IniFile ini = IniFile::Parse(Bytes(original));
        EXPECT_EQ(Text(ini.Serialize()), original);
        IniFile again = IniFile::Parse(ini.Serialize());
        EXPECT_EQ(again.encoding(), TextEncoding::teAnsi);
        EXPECT_EQ(again.Outline(), ini.Outline());
    }
    // Spacing typed by hand stays until the program writes that key.
    IniFile ini = IniFile::Parse(Bytes("\t[ Window ] ; main\r\n  Top = 5 \r\nLeft =1\r\n"));
    EXPECT_EQ(ini.ReadInteger(L"Window", L"Top", 0), 5);
    ini.WriteInteger(L"Window", L"Left", 2);
    EXPECT_EQ(Text(ini.Serialize()), "\t[ Window ] ; main\r\n  Top = 5 \r\nLeft=2\r\n");
}

TEST(IniFile, KeyAddedToASectionWithoutKeysGoesRightAfterItsHeader) {
    IniFile ini = IniFile::Parse(Bytes("[Empty]\r\n\r\n[Next]\r\nz=1\r\n"));
    ini.WriteInteger(L"Empty", L"a", 1);
    EXPECT_EQ(Text(ini.Serialize()), "[Empty]\r\na=1\r\n\r\n[Next]\r\nz=1\r\n");
}

} // namespace
} // namespace orvane
