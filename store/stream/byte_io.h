// Little-endian reading and writing of the cache formats. The reader checks every length against the
// bytes that are there before it takes or allocates anything.
#pragma once

#include <cstdint>
#include <new>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

// A damaged cache: it ends early, claims more bytes than it holds, or holds what no writer writes.
class StreamError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Runs a reader. Running out of memory on the way counts as damaged data, which the caller answers as it
// answers any damaged cache.
template <typename Read> auto ReadOrDamaged(Read read) -> decltype(read()) {
    try {
        return read();
    } catch (const std::bad_alloc&) {
        throw StreamError("the data does not fit in memory");
    }
}

class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> data) noexcept : data_(data) {}

    std::size_t remaining() const noexcept { return data_.size() - pos_; }
    std::size_t position() const noexcept { return pos_; }
    bool AtEnd() const noexcept { return pos_ == data_.size(); }

    // The next n bytes; StreamError when fewer remain.
    std::span<const std::uint8_t> Take(std::size_t n);
    std::uint8_t PeekU8() const;
    std::uint8_t U8();
    std::int16_t I16();
    std::int32_t I32();
    std::uint32_t U32();
    std::int64_t I64();
    // n UTF-16LE code units.
    std::u16string Utf16(std::size_t units);

private:
    std::span<const std::uint8_t> data_;
    std::size_t pos_ = 0;
};

class ByteWriter {
public:
    void U8(std::uint8_t v) { bytes_.push_back(v); }
    void I16(std::int16_t v) { Fixed(static_cast<std::uint16_t>(v), 2); }
    void I32(std::int32_t v) { Fixed(static_cast<std::uint32_t>(v), 4); }
    void U32(std::uint32_t v) { Fixed(v, 4); }
    void I64(std::int64_t v) { Fixed(static_cast<std::uint64_t>(v), 8); }
    void Append(std::span<const std::uint8_t> bytes) {
        bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
    }
    void Append(std::string_view bytes) { bytes_.insert(bytes_.end(), bytes.begin(), bytes.end()); }
    void Utf16(std::u16string_view units);

    std::vector<std::uint8_t>& bytes() noexcept { return bytes_; }

private:
    void Fixed(std::uint64_t v, int size) {
        for (int i = 0; i < size; ++i) {
            bytes_.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
        }
    }
    std::vector<std::uint8_t> bytes_;
};

} // namespace orvane
