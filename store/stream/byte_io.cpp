#include "store/stream/byte_io.h"

namespace orvane {

std::span<const std::uint8_t> ByteReader::Take(std::size_t n) {
    if (n > remaining()) {
        throw StreamError("the data ends before its end");
    }
    auto part = data_.subspan(pos_, n);
    pos_ += n;
    return part;
}

std::uint8_t ByteReader::PeekU8() const {
    if (AtEnd()) {
        throw StreamError("the data ends before its end");
    }
    return data_[pos_];
}

std::uint8_t ByteReader::U8() {
    return Take(1)[0];
}

namespace {
std::uint64_t LittleEndian(std::span<const std::uint8_t> bytes) {
    std::uint64_t v = 0;
    for (std::size_t i = bytes.size(); i-- > 0;) {
        v = (v << 8) | bytes[i];
    }
    return v;
}
} // namespace

std::int16_t ByteReader::I16() {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(LittleEndian(Take(2))));
}

std::int32_t ByteReader::I32() {
    return static_cast<std::int32_t>(U32());
}

std::uint32_t ByteReader::U32() {
    return static_cast<std::uint32_t>(LittleEndian(Take(4)));
}

std::int64_t ByteReader::I64() {
    return static_cast<std::int64_t>(LittleEndian(Take(8)));
}

std::u16string ByteReader::Utf16(std::size_t units) {
    if (units > remaining() / 2) {
        throw StreamError("the data ends before its end");
    }
    auto bytes = Take(units * 2);
    std::u16string text(units, u'\0');
    for (std::size_t i = 0; i < units; ++i) {
        text[i] = static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    }
    return text;
}

void ByteWriter::Utf16(std::u16string_view units) {
    for (char16_t unit : units) {
        bytes_.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        bytes_.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
}

} // namespace orvane
