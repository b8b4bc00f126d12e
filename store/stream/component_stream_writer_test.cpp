#include "store/stream/component_stream.h"

#include "store/stream/byte_builder_test.h"
#include "store/stream/stream_values_test.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace orvane {
namespace {

using Bytes = std::vector<std::uint8_t>;

using Hand = test::ByteBuilder;
using test::EveryKind;
using test::IntegerKind;
using test::Kind;
using test::Number;
using test::TextKind;

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
