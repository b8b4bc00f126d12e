// For the tests: expected bytes written out by hand, little-endian.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string_view>
#include <vector>

namespace orvane::test {

struct ByteBuilder {
    std::vector<std::uint8_t> b;

    ByteBuilder& u8(std::initializer_list<int> values) {
        for (int v : values) {
            b.push_back(static_cast<std::uint8_t>(v));
        }
        return *this;
    }
    ByteBuilder& u32(std::uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
        }
        return *this;
    }
    ByteBuilder& i32(std::int32_t v) { return u32(static_cast<std::uint32_t>(v)); }
    ByteBuilder& zeros(std::size_t n) {
        b.insert(b.end(), n, 0);
        return *this;
    }
    ByteBuilder& raw(std::string_view s) {
        b.insert(b.end(), s.begin(), s.end());
        return *this;
    }
    // A length byte and the bytes, as names are stored.
    ByteBuilder& shortString(std::string_view s) {
        b.push_back(static_cast<std::uint8_t>(s.size()));
        return raw(s);
    }
    // A length byte and UTF-16LE code units of an ASCII text, as "Items.ItemData" stores texts.
    ByteBuilder& itemText(std::string_view s) {
        b.push_back(static_cast<std::uint8_t>(s.size()));
        for (char c : s) {
            u8({c, 0});
        }
        return *this;
    }
    ByteBuilder& append(const std::vector<std::uint8_t>& more) {
        b.insert(b.end(), more.begin(), more.end());
        return *this;
    }
};

} // namespace orvane::test
