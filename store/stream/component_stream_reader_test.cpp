#include "store/stream/component_stream.h"

#include "store/stream/byte_builder_test.h"
#include "store/stream/stream_values_test.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace orvane {
namespace {

using Bytes = std::vector<std::uint8_t>;

using Hand = test::ByteBuilder;

TEST(ComponentStream, ReadInPlaceLeavesBinaryBytesWhereTheyLie) {
    StreamComponent original = test::EveryKind();
    StreamValue nested = test::Kind(ValueKind::vaList);
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

TEST(ComponentStream, CutAnywhereIsDamaged) {
    Bytes bytes = WriteComponentStream(test::EveryKind());
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
        StreamValue outer = test::Kind(ValueKind::vaList);
        outer.list.push_back(nested);
        nested = outer;
    }
    StreamComponent c;
    c.className = "T";
    c.properties.push_back({"Deep", nested});
    EXPECT_EQ(ReadComponentStream(WriteComponentStream(c)), c);
}

TEST(ComponentStream, WhatWasReadWritesBackIntoAStreamThatReadsAgain) {
    // Reading may build only so much for the bytes read. Bytes the writer drops (an empty prefix, a
    // child position in a longer kind than needed, the order values of collection items) must not pay
    // for values: a stream read at the very edge of what its bytes allow writes back into one that
    // reads again.
    auto stream = [](std::size_t nils) {
        Hand h;
        h.raw("TPF0").shortString("T").shortString("O").u8({0});
        for (std::uint32_t i = 0; i < 1000; ++i) {
            h.u8({0xF0}).shortString("C").shortString("").u8({0, 0});
            h.u8({0xF2, 19}).u32(i).u32(0).shortString("C").shortString("").u8({0, 0});
        }
        h.shortString("C").shortString("Last").shortString("Items").u8({14});
        for (std::uint32_t i = 0; i < 1000; ++i) {
            h.u8({4}).u32(i).u8({1, 0});
        }
        h.u8({0}).shortString("Nils").u8({1}).zeros(nils);
        std::fill(h.b.end() - static_cast<std::ptrdiff_t>(nils), h.b.end(), 13);
        return h.u8({0, 0, 0, 0}).b;
    };
    auto reads = [&](std::size_t nils) {
        try {
            ReadComponentStream(stream(nils));
            return true;
        } catch (const StreamError&) {
            return false;
        }
    };
    // The most nil values the stream can carry.
    std::size_t most = 0;
    std::size_t refused = 1'000'000;
    ASSERT_FALSE(reads(refused));
    while (refused - most > 1) {
        std::size_t middle = most + (refused - most) / 2;
        (reads(middle) ? most : refused) = middle;
    }
    ASSERT_GT(most, 1000u);
    StreamComponent read = ReadComponentStream(stream(most));
    ASSERT_EQ(read.children.back().Find("Nils")->value.list.size(), most);
    Bytes written = WriteComponentStream(read);
    EXPECT_LT(written.size() + 9000, stream(most).size());
    StreamComponent again;
    EXPECT_NO_THROW(again = ReadComponentStream(written));
    EXPECT_EQ(again, read);
}

} // namespace
} // namespace orvane
