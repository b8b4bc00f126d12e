#include "store/list_cache.h"

#include "system/text_codec.h"

#include "store/stream/byte_builder_test.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

using Bytes = std::vector<std::uint8_t>;

using Hand = test::ByteBuilder;

ShortcutRow Row(std::wstring caption, int image, std::array<std::wstring, kSubItemCount> subItems) {
    ShortcutRow row;
    row.caption = std::move(caption);
    row.imageIndex = image;
    row.subItems = std::move(subItems);
    return row;
}

ListCache TinyList() {
    ListCache list;
    list.columns = {{L"Name", 120, ColumnAlignment::taLeftJustify}};
    list.smallImages = "ImageListS";
    list.largeImages = "ImageListL";
    list.rows = {Row(L"A", 0, {L"p", L"t", L"d", L"m", L"c", L"v"})};
    return list;
}

ListCache FullList() {
    ListCache list;
    list.columns = {{L"\u540D\u524D \u25B2", 300, ColumnAlignment::taLeftJustify},
                    {L"\u30D5\u30EB\u30D1\u30B9", 250, ColumnAlignment::taRightJustify},
                    {L"", 0, ColumnAlignment::taLeftJustify}};
    list.viewStyle = ListViewStyle::vsList;
    list.font = ListFont{L"Meiryo UI", 11, 0x00112233};
    list.smallImages = "ImageListS";
    list.largeImages = "ImageListL";
    list.rows = {
        Row(L"\u30E1\u30E2\u5E33", 3,
            {L"C:\\Users\\\u592A\u90CE\\Start Menu\\\u30E1\u30E2\u5E33.lnk", L"C:\\Windows\\notepad.exe", L"",
             L"2024/01/02 03:04", L"2023/12/31 23:59", L"10.0.19041.1"}),
        Row(L"", -1, {}), Row(L"x", 70000, {L"a", L"b", L"c", L"d", L"e", L"f"})};
    return list;
}

TEST(ListCache, TinyListHasTheExactLayout) {
    Hand itemData;
    itemData.u8({6}).u32(30 + 2 * 1 + 6 * (2 * 1 + 11)).u32(1);
    itemData.i32(0).i32(-1).i32(-1).i32(6).i32(-1).zeros(8).itemText("A");
    for (const char* sub : {"p", "t", "d", "m", "c", "v"}) {
        itemData.itemText(sub).zeros(8);
    }
    for (int i = 0; i < 6; ++i) {
        itemData.u8({0xFF, 0xFF});
    }
    ASSERT_EQ(itemData.b.size(), 118u);

    Hand h;
    h.raw("TPF0").shortString("TListView").shortString("ListView");
    h.shortString("Columns").u8({14, 1});
    h.shortString("Caption").u8({6}).shortString("Name").shortString("Width").u8({2, 120}).u8({0, 0});
    h.shortString("Items.ItemData").u8({10}).u32(118).append(itemData.b);
    h.shortString("LargeImages").u8({7}).shortString("ImageListL");
    h.shortString("SmallImages").u8({7}).shortString("ImageListS");
    h.shortString("ViewStyle").u8({7}).shortString("vsReport");
    h.u8({0, 0});

    EXPECT_EQ(EncodeItemData(TinyList().rows), itemData.b);
    EXPECT_EQ(WriteListCache(TinyList()), h.b);
    EXPECT_EQ(ReadListCache(h.b, ListCache{}), TinyList());
}

TEST(ListCache, EverythingRoundTrips) {
    ListCache list = FullList();
    Bytes bytes = WriteListCache(list);
    EXPECT_EQ(ReadListCache(bytes, ListCache{}), list);
    EXPECT_EQ(ReadComponentStream(bytes).Find("Items.LongText"), nullptr);
    // The columns' alignment is stored only when it is not the default.
    StreamComponent stream = ReadComponentStream(bytes);
    const StreamValue& columns = stream.Find("Columns")->value;
    EXPECT_EQ(columns.items[0].size(), 2u);
    EXPECT_EQ(columns.items[1][0].name, "Alignment");

    ListCache empty;
    EXPECT_EQ(ReadListCache(WriteListCache(empty), FullList()).rows.size(), 0u);
}

TEST(ListCache, FontSizesSurviveTheirPixelHeight) {
    for (int size = 1; size <= 72; ++size) {
        ListCache list;
        list.font = ListFont{L"Tahoma", size, kWindowTextColor};
        ASSERT_EQ(ReadListCache(WriteListCache(list), ListCache{}).font, list.font) << size;
    }
    ListCache nine;
    nine.font = ListFont{L"Tahoma", 9, kWindowTextColor};
    EXPECT_EQ(ReadComponentStream(WriteListCache(nine)).Find("Font.Height")->value.integer, -12);
}

TEST(ListCache, LongTextsComeBackWholeAndItemDataKeepsTheCut) {
    std::wstring path = L"C:\\";
    for (int i = 0; path.size() < 300; ++i) {
        path += L"\u30D5\u30A9\u30EB\u30C0" + std::to_wstring(i) + L"\\";
    }
    path.resize(296);
    path += L".lnk";
    ASSERT_EQ(path.size(), 300u);
    const std::wstring caption(400, L'c');
    ListCache list = TinyList();
    list.rows.push_back(Row(caption, 1, {path, L"short", L"", L"", L"", std::wstring(256, L'v')}));

    Bytes bytes = WriteListCache(list);
    ListCache back = ReadListCache(bytes, ListCache{});
    EXPECT_EQ(back, list);

    StreamComponent stream = ReadComponentStream(bytes);
    std::vector<ShortcutRow> cut = DecodeItemData(stream.Find("Items.ItemData")->value.binary);
    ASSERT_EQ(cut.size(), 2u);
    EXPECT_EQ(cut[0], list.rows[0]);
    EXPECT_EQ(cut[1].caption, caption.substr(0, 255));
    EXPECT_EQ(cut[1].subItems[siFullPath], path.substr(0, 255));
    EXPECT_EQ(cut[1].subItems[siTarget], L"short");
    EXPECT_EQ(cut[1].subItems[siVersion], std::wstring(255, L'v'));
    EXPECT_NE(stream.Find("Items.LongText"), nullptr);
}

TEST(ListCache, LongTextThatDoesNotContinueTheRowIsIgnored) {
    std::vector<ShortcutRow> rows = {Row(std::wstring(255, L'a'), 0, {}), Row(L"b", 0, {})};
    std::vector<ShortcutRow> other = {Row(std::wstring(300, L'z'), 0, {}),
                                      Row(std::wstring(300, L'b'), 0, {})};
    ApplyLongTexts(EncodeLongTexts(other), rows);
    EXPECT_EQ(rows[0].caption, std::wstring(255, L'a'));
    EXPECT_EQ(rows[1].caption, L"b");

    EXPECT_TRUE(EncodeLongTexts(rows).empty());
    // An entry naming a row or field that is not there is damage.
    Bytes bad = Hand().u8({1}).u32(1).u32(5).u8({0}).u32(256).zeros(512).b;
    EXPECT_THROW(ApplyLongTexts(bad, rows), StreamError);
    bad = Hand().u8({1}).u32(1).u32(0).u8({7}).u32(256).zeros(512).b;
    EXPECT_THROW(ApplyLongTexts(bad, rows), StreamError);
    bad = Hand().u8({2}).u32(0).b;
    EXPECT_THROW(ApplyLongTexts(bad, rows), StreamError);
}

TEST(ListCache, OtherSubItemCountsAreFilledOrDropped) {
    Hand data;
    data.u8({6}).u32(0).u32(2);
    data.i32(4).i32(-1).i32(-1).i32(2).i32(-1).zeros(8).itemText("two");
    data.itemText("p").zeros(8).itemText("t").zeros(8);
    data.i32(5).i32(-1).i32(-1).i32(8).i32(-1).zeros(8).itemText("eight");
    for (const char* sub : {"0", "1", "2", "3", "4", "5", "6", "7"}) {
        data.itemText(sub).zeros(8);
    }
    data.zeros(2 * 10);
    std::vector<ShortcutRow> rows = DecodeItemData(data.b);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], Row(L"two", 4, {L"p", L"t", L"", L"", L"", L""}));
    EXPECT_EQ(rows[1], Row(L"eight", 5, {L"0", L"1", L"2", L"3", L"4", L"5"}));
    // Without the sub-item images at its end the data is cut short.
    data.b.resize(data.b.size() - 1);
    EXPECT_THROW(DecodeItemData(data.b), StreamError);
}

TEST(ListCache, DamagedStreamsAreErrors) {
    Bytes bytes = WriteListCache(FullList());
    for (std::size_t n = 0; n < bytes.size(); ++n) {
        EXPECT_THROW(ReadListCache(std::span(bytes.data(), n), ListCache{}), StreamError) << "cut at " << n;
    }
    Bytes itemData = EncodeItemData(FullList().rows);
    for (std::size_t n = 0; n < itemData.size(); ++n) {
        EXPECT_THROW(DecodeItemData(std::span(itemData.data(), n)), StreamError) << "cut at " << n;
    }

    Bytes wrongSignature = bytes;
    wrongSignature[3] = '1';
    EXPECT_THROW(ReadListCache(wrongSignature, ListCache{}), StreamError);

    // A row count far larger than the data, and a text length past the end.
    Bytes manyRows = Hand().u8({6}).u32(0).u32(0xFFFFFFFF).i32(0).i32(-1).b;
    EXPECT_THROW(DecodeItemData(manyRows), StreamError);
    Bytes longText =
        Hand().u8({6}).u32(0).u32(1).i32(0).i32(-1).i32(-1).i32(0).i32(-1).zeros(8).u8({200}).raw("ab").b;
    EXPECT_THROW(DecodeItemData(longText), StreamError);
    Bytes manySubItems =
        Hand().u8({6}).u32(0).u32(1).i32(0).i32(-1).i32(-1).u32(0xFFFFFFFF).i32(-1).zeros(8).u8({0}).b;
    EXPECT_THROW(DecodeItemData(manySubItems), StreamError);
    EXPECT_THROW(DecodeItemData(Hand().u8({5}).u32(0).u32(0).b), StreamError);

    // Another class, and "Items.ItemData" of the wrong kind.
    StreamComponent other;
    other.className = "TImageList";
    EXPECT_THROW(ReadListCache(WriteComponentStream(other), ListCache{}), StreamError);
    StreamComponent wrongKind;
    wrongKind.className = kListViewClass;
    wrongKind.properties.push_back({"Items.ItemData", StreamValue::Text(L"rows")});
    EXPECT_THROW(ReadListCache(WriteComponentStream(wrongKind), ListCache{}), StreamError);
}

TEST(ListCache, ReadingKeepsWhatTheStreamDoesNotHold) {
    ListCache current = FullList();
    StreamComponent c;
    c.className = kListViewClass;
    c.objectName = kListViewObject;
    c.properties.push_back({"ViewStyle", StreamValue::Ident("vsReport")});
    c.properties.push_back({"SmallImages", StreamValue::Of(ValueKind::vaNil)});
    c.properties.push_back({"Unknown", StreamValue::Binary({1, 2, 3})});
    c.properties.push_back({"Font.Color", StreamValue::Ident("clWhite")});
    ListCache read = ReadListCache(WriteComponentStream(c), current);
    EXPECT_TRUE(read.rows.empty());
    EXPECT_EQ(read.columns, current.columns);
    EXPECT_EQ(read.viewStyle, ListViewStyle::vsReport);
    EXPECT_EQ(read.smallImages, "");
    EXPECT_EQ(read.largeImages, "ImageListL");
    ASSERT_TRUE(read.font);
    EXPECT_EQ(read.font->name, L"Meiryo UI");
    EXPECT_EQ(read.font->color, 0xFFFFFFu);

    // Texts of any string kind are accepted where text is expected.
    StreamComponent wide;
    wide.className = kListViewClass;
    StreamValue caption = StreamValue::Of(ValueKind::vaUtf8String);
    caption.text = L"\u540D\u524D";
    StreamValue columns = StreamValue::Of(ValueKind::vaCollection);
    columns.items = {{{"Caption", caption}, {"Width", StreamValue::Integer(-1)}}};
    wide.properties.push_back({"Columns", columns});
    EXPECT_EQ(ReadListCache(WriteComponentStream(wide), ListCache{}).columns,
              (std::vector<ListColumn>{{L"\u540D\u524D", -1, ColumnAlignment::taLeftJustify}}));
}

TEST(ListCache, ImageIndexesTheListsCannotDrawBecomeNone) {
    EXPECT_EQ(UsableImageIndex(0, 3), 0);
    EXPECT_EQ(UsableImageIndex(2, 3), 2);
    EXPECT_EQ(UsableImageIndex(3, 3), -1);
    EXPECT_EQ(UsableImageIndex(-1, 3), -1);
    EXPECT_EQ(UsableImageIndex(-2, 3), -1);
    EXPECT_EQ(UsableImageIndex(0, 0), -1);
}

} // namespace
} // namespace orvane
