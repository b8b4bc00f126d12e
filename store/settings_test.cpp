#include "store/settings.h"

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

// The window's state before the file is read: its design rectangle and the icon font's size.
Settings WindowDefaults() {
    Settings s;
    s.fontSize = 9;
    s.top = 100;
    s.left = 200;
    s.height = 480;
    s.width = 640;
    return s;
}

TEST(Settings, EmptyFileGivesTheDefaults) {
    Settings s = Settings::Read(IniFile(), WindowDefaults());
    EXPECT_EQ(s, WindowDefaults());
    EXPECT_EQ(s.style, 0);
    EXPECT_TRUE(s.report);
    for (int width : s.columnWidths) {
        EXPECT_EQ(width, 300);
    }
    EXPECT_EQ(s.columnSort, 0);
    EXPECT_EQ(s.columnIndex, 0);
    EXPECT_FALSE(s.maximised);
}

TEST(Settings, ReadsEveryStoredValue) {
    IniFile ini = IniFile::Parse(Bytes("[Window]\r\nStyle=2\r\nColumn0=10\r\nColumn6=$20\r\nColumnSort=-3\r\n"
                                       "ColumnIndex=2\r\nFontSize=0x0E\r\nMax=0\r\nTop=-5\r\nLeft=6\r\n"
                                       "Height=700\r\nWidth=900\r\n[View]\r\nReport=0\r\n"));
    Settings s = Settings::Read(ini, WindowDefaults());
    EXPECT_EQ(s.style, 2);
    EXPECT_FALSE(s.report);
    EXPECT_EQ(s.columnWidths[0], 10);
    EXPECT_EQ(s.columnWidths[1], 300);
    EXPECT_EQ(s.columnWidths[6], 32);
    EXPECT_EQ(s.columnSort, -3);
    EXPECT_EQ(s.columnIndex, 2);
    EXPECT_EQ(s.fontSize, 14);
    EXPECT_EQ(s.top, -5);
    EXPECT_EQ(s.left, 6);
    EXPECT_EQ(s.height, 700);
    EXPECT_EQ(s.width, 900);
}

TEST(Settings, OutOfRangeStyleAndColumnIndexReadAsZero) {
    for (const char* bad : {"7", "-1", "99", "$FFFFFFFF"}) {
        std::string text = std::string("[Window]\r\nStyle=") + bad + "\r\nColumnIndex=" + bad + "\r\n";
        Settings s = Settings::Read(IniFile::Parse(Bytes(text)), WindowDefaults());
        EXPECT_EQ(s.style, 0) << bad;
        EXPECT_EQ(s.columnIndex, 0) << bad;
    }
    Settings s =
        Settings::Read(IniFile::Parse(Bytes("[Window]\r\nColumnIndex=3\r\nStyle=3\r\n")), WindowDefaults());
    EXPECT_EQ(s.columnIndex, 3);
    EXPECT_EQ(s.style, 0);
    s = Settings::Read(IniFile::Parse(Bytes("[Window]\r\nColumnIndex=6\r\n")), WindowDefaults());
    EXPECT_EQ(s.columnIndex, 6);
}

TEST(Settings, NewFileHoldsTheKeysInWritingOrder) {
    Settings s = WindowDefaults();
    s.columnWidths = {1, 2, 3, 4, 5, 6, 7};
    s.columnSort = 2;
    s.columnIndex = 1;
    s.style = 1;
    s.report = false;
    IniFile ini;
    s.Write(ini);
    EXPECT_EQ(Text(ini.Serialize()), "[Window]\r\nMax=0\r\nTop=100\r\nLeft=200\r\nHeight=480\r\nWidth=640\r\n"
                                     "Column0=1\r\nColumn1=2\r\nColumn2=3\r\nColumn3=4\r\nColumn4=5\r\n"
                                     "Column5=6\r\nColumn6=7\r\nColumnSort=2\r\nColumnIndex=1\r\n"
                                     "FontSize=9\r\nStyle=1\r\n\r\n[View]\r\nReport=0\r\n");
    EXPECT_EQ(Settings::Read(IniFile::Parse(ini.Serialize()), Settings{}), s);
}

TEST(Settings, MaximisedWindowNeitherReadsNorWritesTheRectangle) {
    const std::string file = "[Window]\r\nMax=1\r\nTop=11\r\nLeft=22\r\nHeight=333\r\nWidth=444\r\n";
    IniFile ini = IniFile::Parse(Bytes(file));
    Settings s = Settings::Read(ini, WindowDefaults());
    EXPECT_TRUE(s.maximised);
    EXPECT_EQ(s.top, 100);
    EXPECT_EQ(s.left, 200);
    EXPECT_EQ(s.height, 480);
    EXPECT_EQ(s.width, 640);

    // Closed while maximised, with another rectangle in memory: the file's rectangle stays.
    s.top = 1;
    s.width = 2;
    s.Write(ini);
    Settings again = Settings::Read(ini, WindowDefaults());
    EXPECT_TRUE(again.maximised);
    EXPECT_EQ(ini.ReadInteger(kWindowSection, L"Top", 0), 11);
    EXPECT_EQ(ini.ReadInteger(kWindowSection, L"Width", 0), 444);
    EXPECT_EQ(Text(ini.Serialize())
                  .rfind("[Window]\r\nMax=1\r\nTop=11\r\nLeft=22\r\nHeight=333\r\nWidth=444\r\n"
                         "Column0=300\r\n",
                         0),
              0u);

    // Closed in the normal state: the rectangle is written again.
    s.maximised = false;
    s.Write(ini);
    EXPECT_EQ(ini.ReadInteger(kWindowSection, L"Max", 9), 0);
    EXPECT_EQ(ini.ReadInteger(kWindowSection, L"Top", 0), 1);
    EXPECT_EQ(ini.ReadInteger(kWindowSection, L"Width", 0), 2);
}

} // namespace
} // namespace orvane
