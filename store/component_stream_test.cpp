#include "store/component_stream.h"

#include "store/byte_builder_test.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace orvane {
namespace {

using Bytes = std::vector<std::uint8_t>;

using Hand = test::ByteBuilder;

StreamValue Kind(ValueKind kind) {
    return StreamValue::Of(kind);
}

StreamValue Number(ValueKind kind, double value) {
    StreamValue v = StreamValue::Of(kind);
    v.number = value;
    return v;
}

StreamValue TextKind(ValueKind kind, std::wstring text) {
    StreamValue v = StreamValue::Of(kind);
    v.text = std::move(text);
    return v;
}

StreamValue IntegerKind(ValueKind kind, std::int64_t value) {
    StreamValue v = StreamValue::Of(kind);
    v.integer = value;
    return v;
}

StreamComponent EveryKind() {
    StreamComponent c;
    c.className = "TThing";
    c.objectName = "Thing1";
    auto& p = c.properties;
    p.push_back({"Null", Kind(ValueKind::vaNull)});
    p.push_back({"I8", StreamValue::Integer(-128)});
    p.push_back({"I16", StreamValue::Integer(300)});
    p.push_back({"I32", StreamValue::Integer(-70000)});
    p.push_back({"I64", StreamValue::Integer(std::int64_t{1} << 40)});
    p.push_back({"WideI32", IntegerKind(ValueKind::vaInt32, 5)});
    p.push_back({"Ext", Number(ValueKind::vaExtended, -1234.5625)});
    p.push_back({"ExtTiny", Number(ValueKind::vaExtended, std::numeric_limits<double>::denorm_min())});
    p.push_back({"ExtInf", Number(ValueKind::vaExtended, std::numeric_limits<double>::infinity())});
    p.push_back({"Str", StreamValue::Text(L"plain")});
    p.push_back({"Latin", TextKind(ValueKind::vaString, L"caf\u00E9")});
    p.push_back({"LStr", StreamValue::Text(std::wstring(300, L'x'))});
    p.push_back({"WStr", StreamValue::Text(L"\u65E5\u672C\U0001F600")});
    p.push_back({"U8Str", TextKind(ValueKind::vaUtf8String, L"\u00FCber \u65E5")});
    p.push_back({"Ident", StreamValue::Ident("vsReport")});
    p.push_back({"F", StreamValue::Bool(false)});
    p.push_back({"T", StreamValue::Bool(true)});
    p.push_back({"Bin", StreamValue::Binary({0, 1, 2, 255})});
    p.push_back({"EmptyBin", StreamValue::Binary({})});
    StreamValue set = Kind(ValueKind::vaSet);
    set.set = {"fsBold", "fsItalic"};
    p.push_back({"Font.Style", set});
    p.push_back({"EmptySet", Kind(ValueKind::vaSet)});
    p.push_back({"Nil", Kind(ValueKind::vaNil)});
    StreamValue list = Kind(ValueKind::vaList);
    list.list = {StreamValue::Integer(1), StreamValue::Text(L"two"), Kind(ValueKind::vaList)};
    list.list[2].list = {StreamValue::Bool(true)};
    p.push_back({"List", list});
    StreamValue collection = Kind(ValueKind::vaCollection);
    collection.items = {{{"Caption", StreamValue::Text(L"A")}, {"Width", StreamValue::Integer(120)}}, {}};
    p.push_back({"Columns", collection});
    p.push_back({"Single", Number(ValueKind::vaSingle, 0.25)});
    p.push_back({"Currency", IntegerKind(ValueKind::vaCurrency, 123456789)});
    p.push_back({"Date", Number(ValueKind::vaDate, 45123.75)});
    StreamComponent child;
    child.className = "TChild";
    child.objectName = "Inner";
    child.flags = 0x02;
    child.childPosition = 3;
    child.properties.push_back({"Tag", StreamValue::Integer(1)});
    StreamComponent grandchild;
    grandchild.className = "TLeaf";
    grandchild.flags = 0x01;
    child.children.push_back(grandchild);
    c.children.push_back(child);
    return c;
}

TEST(ComponentStream, EveryValueKindRoundTrips) {
    StreamComponent original = EveryKind();
    Bytes bytes = WriteComponentStream(original);
    StreamComponent back = ReadComponentStream(bytes);
    EXPECT_EQ(back, original);
    EXPECT_EQ(WriteComponentStream(back), bytes);

    // The integer writer picks the smallest kind.
    EXPECT_EQ(back.Find("I8")->value.kind, ValueKind::vaInt8);
    EXPECT_EQ(back.Find("I16")->value.kind, ValueKind::vaInt16);
    EXPECT_EQ(back.Find("I32")->value.kind, ValueKind::vaInt32);
    EXPECT_EQ(back.Find("I64")->value.kind, ValueKind::vaInt64);
    EXPECT_EQ(back.Find("LStr")->value.kind, ValueKind::vaLString);
    EXPECT_EQ(back.Find("WStr")->value.kind, ValueKind::vaWString);
    EXPECT_EQ(back.Find("str"), back.Find("Str"));
    EXPECT_EQ(back.Find("Missing"), nullptr);
}

TEST(ComponentStream, ReadInPlaceLeavesBinaryBytesWhereTheyLie) {
    StreamComponent original = EveryKind();
    StreamValue nested = Kind(ValueKind::vaList);
    nested.list = {StreamValue::Binary({9, 8, 7})};
    original.properties.push_back({"NestedBin", nested});
    Bytes bytes = WriteComponentStream(original);
    StreamComponent inPlace = ReadComponentStreamInPlace(bytes);
    const auto& bin = inPlace.Find("Bin")->value;
    EXPECT_TRUE(bin.binary.empty());
    ASSERT_EQ(bin.inPlace.size(), 4u);
    EXPECT_GE(bin.inPlace.data(), bytes.data());
    EXPECT_LE(bin.inPlace.data() + bin.inPlace.size(), bytes.data() + bytes.size());
    EXPECT_EQ(Bytes(bin.inPlace.begin(), bin.inPlace.end()), (Bytes{0, 1, 2, 255}));
    EXPECT_EQ(Bytes(inPlace.Find("NestedBin")->value.list[0].inPlace.begin(),
                    inPlace.Find("NestedBin")->value.list[0].inPlace.end()),
              (Bytes{9, 8, 7}));
    // Everything else reads as the copying reader reads it, and writes back the same bytes.
    EXPECT_EQ(WriteComponentStream(inPlace), bytes);
    for (std::size_t n = 0; n < bytes.size(); ++n) {
        EXPECT_THROW(ReadComponentStreamInPlace(std::span(bytes.data(), n)), StreamError) << n;
    }
}

TEST(ComponentStream, ValuesHaveTheirDocumentedBytes) {
    StreamComponent c;
    c.className = "TA";
    c.objectName = "B";
    c.properties = {{"i", StreamValue::Integer(-2)},       {"j", StreamValue::Integer(0x1234)},
                    {"k", StreamValue::Integer(0x123456)}, {"e", Number(ValueKind::vaExtended, 1.0)},
                    {"w", StreamValue::Text(L"\u00E9")},   {"s", StreamValue::Text(L"ab")},
                    {"b", StreamValue::Binary({7})},       {"c", Kind(ValueKind::vaCollection)}};
    c.properties.back().value.items = {{{"x", StreamValue::Bool(true)}}};
    Hand h;
    h.raw("TPF0").shortString("TA").shortString("B");
    h.shortString("i").u8({2, 0xFE});
    h.shortString("j").u8({3, 0x34, 0x12});
    h.shortString("k").u8({4, 0x56, 0x34, 0x12, 0x00});
    h.shortString("e").u8({5, 0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F});
    h.shortString("w").u8({18}).u32(1).u8({0xE9, 0x00});
    h.shortString("s").u8({6, 2}).raw("ab");
    h.shortString("b").u8({10}).u32(1).u8({7});
    h.shortString("c").u8({14, 1}).shortString("x").u8({9, 0, 0});
    h.u8({0, 0});
    EXPECT_EQ(WriteComponentStream(c), h.b);

    StreamComponent prefixed;
    prefixed.flags = 0x02;
    prefixed.childPosition = 5;
    prefixed.className = "T";
    EXPECT_EQ(WriteComponentStream(prefixed),
              Hand().raw("TPF0").u8({0xF2, 2, 5}).shortString("T").u8({0, 0, 0}).b);
}

TEST(ComponentStream, ExtendedFloatsConvertExactly) {
    std::uint8_t ext[10];
    for (double value :
         {0.0, -0.0, 1.0, -2.5, 1e300, -1e-300, 3.141592653589793, std::numeric_limits<double>::denorm_min(),
          std::numeric_limits<double>::max(), -std::numeric_limits<double>::infinity()}) {
        DoubleToExtended(value, ext);
        double back = ExtendedToDouble(ext);
        EXPECT_EQ(back, value) << value;
        EXPECT_EQ(std::signbit(back), std::signbit(value)) << value;
    }
    DoubleToExtended(std::numeric_limits<double>::quiet_NaN(), ext);
    EXPECT_TRUE(std::isnan(ExtendedToDouble(ext)));
    // 10.0 is 1.25 * 2^3: mantissa A0 00 .. 00, exponent 16386.
    DoubleToExtended(10.0, ext);
    const std::uint8_t ten[10] = {0, 0, 0, 0, 0, 0, 0, 0xA0, 0x02, 0x40};
    EXPECT_TRUE(std::equal(ext, ext + 10, ten));
}

TEST(ComponentStream, EveryStringKindReadsAsText) {
    // "Name" = "Ab\u00E9" stored as each of the four string kinds.
    std::vector<Hand> values(4);
    values[0].u8({6, 3}).raw("Ab\xE9");
    values[1].u8({12}).u32(3).raw("Ab\xE9");
    values[2].u8({18}).u32(3).u8({'A', 0, 'b', 0, 0xE9, 0});
    values[3].u8({20}).u32(4).raw("Ab\xC3\xA9");
    for (const Hand& value : values) {
        Hand h;
        h.raw("TPF0").shortString("T").shortString("O").shortString("Name");
        h.b.insert(h.b.end(), value.b.begin(), value.b.end());
        h.u8({0, 0});
        StreamComponent c = ReadComponentStream(h.b);
        ASSERT_NE(c.Find("Name"), nullptr);
        EXPECT_EQ(TextOf(c.Find("Name")->value), L"Ab\u00E9") << int(value.b[0]);
        EXPECT_FALSE(IntegerOf(c.Find("Name")->value));
    }
    EXPECT_EQ(IdentOf(StreamValue::Text(L"vsList")), "vsList");
    EXPECT_FALSE(IdentOf(StreamValue::Text(L"\u00E9")));
    EXPECT_FALSE(TextOf(StreamValue::Ident("x")));
    EXPECT_FALSE(BoolOf(StreamValue::Integer(1)));
    EXPECT_EQ(BoolOf(StreamValue::Bool(true)), true);
}

TEST(ComponentStream, CollectionItemsMayCarryAnOrderValue) {
    Hand h;
    h.raw("TPF0").shortString("T").shortString("O").shortString("Columns").u8({14});
    h.u8({2, 0, 1}).shortString("Width").u8({2, 10, 0});
    h.u8({3, 1, 0, 1}).shortString("Width").u8({2, 20, 0});
    h.u8({0, 0, 0});
    StreamComponent c = ReadComponentStream(h.b);
    const StreamValue& columns = c.Find("Columns")->value;
    ASSERT_EQ(columns.items.size(), 2u);
    EXPECT_EQ(columns.items[1][0].value.integer, 20);
}

TEST(ComponentStream, LongClassNamesKeepTheirPrefixByte) {
    // Class names of 240 bytes and more have a length byte that reads as a prefix, so their stream
    // carries an empty prefix (0xF0) before them; writing one back must keep it.
    const std::string rootClass(240, 'R');
    const std::string childClass(255, 'C');
    Hand h;
    h.raw("TPF0").u8({0xF0}).shortString(rootClass).shortString("O").u8({0});
    h.u8({0xF0}).shortString(childClass).shortString("").u8({0, 0});
    h.u8({0});
    StreamComponent c = ReadComponentStream(h.b);
    EXPECT_EQ(c.flags, 0);
    EXPECT_EQ(c.className, rootClass);
    ASSERT_EQ(c.children.size(), 1u);
    EXPECT_EQ(c.children[0].className, childClass);

    Bytes written = WriteComponentStream(c);
    EXPECT_EQ(written, h.b);
    EXPECT_EQ(ReadComponentStream(written), c);

    // With flags the prefix carries them as before; below 240 bytes no prefix is written.
    c.flags = 0x01;
    c.children[0].className = std::string(239, 'C');
    written = WriteComponentStream(c);
    EXPECT_EQ(written[4], 0xF1);
    EXPECT_EQ(written[4 + 1 + 241 + 2 + 1], 239);
    EXPECT_EQ(ReadComponentStream(written), c);
}

TEST(ComponentStream, CutAnywhereIsDamaged) {
    Bytes bytes = WriteComponentStream(EveryKind());
    for (std::size_t n = 0; n < bytes.size(); ++n) {
        EXPECT_THROW(ReadComponentStream(std::span(bytes.data(), n)), StreamError) << "cut at " << n;
    }
    // Bytes after the root component are not read.
    bytes.push_back(0x42);
    EXPECT_NO_THROW(ReadComponentStream(bytes));
}

TEST(ComponentStream, DamagedStreamsAreReportedNotReadPastTheirEnd) {
    auto stream = [](const Hand& value) {
        Hand h;
        h.raw("TPF0").shortString("T").shortString("O").shortString("P");
        h.b.insert(h.b.end(), value.b.begin(), value.b.end());
        return h.u8({0, 0, 0, 0, 0, 0, 0, 0}).b;
    };
    const std::vector<Hand> bad = {
        Hand().u8({10}).u32(0xFFFFFFFF),              // binary longer than the stream
        Hand().u8({12}).u32(0x7FFFFFFF).raw("abc"),   // long string
        Hand().u8({18}).u32(0x80000000).u8({'a', 0}), // wide string whose byte count overflows 32 bits
        Hand().u8({20}).u32(0xFFFFFFF0).raw("x"),     // UTF-8 string
        Hand().u8({6, 200}).raw("short"),             // short string
        Hand().u8({21}),                              // no such value kind
        Hand().u8({0xFF}),                            // no such value kind
        Hand().u8({14, 5}),                           // collection item without its list marker
    };
    for (std::size_t i = 0; i < bad.size(); ++i) {
        EXPECT_THROW(ReadComponentStream(stream(bad[i])), StreamError) << "case " << i;
    }
    EXPECT_THROW(ReadComponentStream(Hand().raw("TPF1").shortString("T").u8({0, 0, 0}).b), StreamError);
    EXPECT_THROW(ReadComponentStream(Hand().raw("tpf0").shortString("T").u8({0, 0, 0}).b), StreamError);
    EXPECT_THROW(ReadComponentStream(Bytes{}), StreamError);
    // A child position that is not an integer, and a component without a class name.
    EXPECT_THROW(
        ReadComponentStream(Hand().raw("TPF0").u8({0xF2, 6, 1}).raw("x").shortString("T").u8({0, 0, 0}).b),
        StreamError);
    EXPECT_THROW(ReadComponentStream(Hand().raw("TPF0").u8({0, 0, 0, 0}).b), StreamError);
}

TEST(ComponentStream, NestingDeeperThanAnyWriterIsDamaged) {
    Hand lists;
    lists.raw("TPF0").shortString("T").shortString("O").shortString("P");
    lists.b.insert(lists.b.end(), 100000, 1);
    lists.b.insert(lists.b.end(), 100003, 0);
    EXPECT_THROW(ReadComponentStream(lists.b), StreamError);

    Hand children;
    children.raw("TPF0");
    for (int i = 0; i < 100000; ++i) {
        children.shortString("T").shortString("O").u8({0});
    }
    children.b.insert(children.b.end(), 100000, 0);
    EXPECT_THROW(ReadComponentStream(children.b), StreamError);

    // Moderate nesting is fine.
    StreamValue nested = StreamValue::Integer(7);
    for (int i = 0; i < 20; ++i) {
        StreamValue outer = Kind(ValueKind::vaList);
        outer.list.push_back(nested);
        nested = outer;
    }
    StreamComponent c;
    c.className = "T";
    c.properties.push_back({"Deep", nested});
    EXPECT_EQ(ReadComponentStream(WriteComponentStream(c)), c);
}

TEST(ComponentStream, WriterRefusesWhatTheFormatCannotHold) {
    auto write = [](StreamProperty p) {
        StreamComponent c;
        c.className = "T";
        c.properties.push_back(std::move(p));
        return WriteComponentStream(c);
    };
    EXPECT_THROW(write({std::string(256, 'n'), StreamValue::Integer(1)}), std::invalid_argument);
    EXPECT_THROW(write({"", StreamValue::Integer(1)}), std::invalid_argument);
    EXPECT_THROW(write({"p", IntegerKind(ValueKind::vaInt8, 128)}), std::invalid_argument);
    EXPECT_THROW(write({"p", IntegerKind(ValueKind::vaInt16, -40000)}), std::invalid_argument);
    EXPECT_THROW(write({"p", TextKind(ValueKind::vaString, std::wstring(256, L'a'))}), std::invalid_argument);
    EXPECT_THROW(write({"p", TextKind(ValueKind::vaLString, L"\u65E5")}), std::invalid_argument);
    EXPECT_THROW(write({"p", StreamValue::Ident(std::string(300, 'i'))}), std::invalid_argument);
    EXPECT_THROW(write({"p", StreamValue::Of(static_cast<ValueKind>(42))}), std::invalid_argument);
    // A vaNull item would end its list early.
    StreamValue list = Kind(ValueKind::vaList);
    list.list = {StreamValue::Integer(1), Kind(ValueKind::vaNull)};
    EXPECT_THROW(write({"p", list}), std::invalid_argument);
    // An empty class name would end the parent's children (or the stream) early.
    StreamComponent parent;
    parent.className = "T";
    parent.children.emplace_back();
    EXPECT_THROW(WriteComponentStream(parent), std::invalid_argument);
    EXPECT_THROW(WriteComponentStream(StreamComponent{}), std::invalid_argument);
    StreamComponent flagged;
    flagged.className = "T";
    flagged.flags = 0x10;
    EXPECT_THROW(WriteComponentStream(flagged), std::invalid_argument);
}

} // namespace
} // namespace orvane
