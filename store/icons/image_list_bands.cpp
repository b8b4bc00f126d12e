#include "store/icons/image_list_bands.h"

#include <cstring>
#include <stdexcept>

namespace orvane {
namespace {

std::size_t Rows(int cy, int count) {
    return static_cast<std::size_t>((count + kImagesPerRow - 1) / kImagesPerRow) *
           static_cast<std::size_t>(cy);
}

// Copies bits [from, from + length) of source to bit `to` of target; bits run from each byte's high bit
// down, as in every bitmap row.
void CopyBits(const std::uint8_t* source, std::size_t from, std::uint8_t* target, std::size_t to,
              std::size_t length) {
    if (from % 8 == 0 && to % 8 == 0 && length % 8 == 0) {
        std::memcpy(target + to / 8, source + from / 8, length / 8);
        return;
    }
    for (std::size_t i = 0; i < length; ++i) {
        const std::size_t s = from + i;
        const std::size_t t = to + i;
        const auto bit = static_cast<std::uint8_t>(0x80u >> (t % 8));
        if ((source[s / 8] & (0x80u >> (s % 8))) != 0) {
            target[t / 8] |= bit;
        } else {
            target[t / 8] &= static_cast<std::uint8_t>(~bit);
        }
    }
}

} // namespace

std::span<const std::uint8_t> BandBytes(const ImageListBitmap& bitmap, int cy, int first, int count) {
    if (first % kImagesPerRow != 0) {
        throw std::invalid_argument("a band that does not begin a row of images");
    }
    const std::size_t top = Rows(cy, first);
    const std::size_t rows = Rows(cy, count);
    if (top + rows > static_cast<std::size_t>(bitmap.height)) {
        throw std::out_of_range("a band below the bitmap");
    }
    const std::size_t stored = bitmap.bottomUp ? static_cast<std::size_t>(bitmap.height) - top - rows : top;
    return bitmap.pixels.subspan(stored * bitmap.stride, rows * bitmap.stride);
}

std::size_t StripStride(const ImageListBitmap& bitmap, int cx, int count) {
    const auto bits = static_cast<std::size_t>(cx) * static_cast<std::size_t>(count) * bitmap.bits;
    return (bits + 31) / 32 * 4;
}

void CopyBandToStrip(const ImageListBitmap& bitmap, int cx, int cy, int first, int count,
                     std::span<const std::uint8_t> band, std::span<std::uint8_t> strip) {
    const std::size_t rows = Rows(cy, count);
    const std::size_t stride = StripStride(bitmap, cx, count);
    if (band.size() < rows * bitmap.stride || strip.size() < static_cast<std::size_t>(cy) * stride) {
        throw std::out_of_range("a band or strip too small for its images");
    }
    const std::size_t width = static_cast<std::size_t>(cx) * bitmap.bits;
    for (int k = 0; k < count; ++k) {
        const int row = k / kImagesPerRow; // images of the band begin a row: first is a multiple of four
        const int column = (first + k) % kImagesPerRow;
        for (int y = 0; y < cy; ++y) {
            const std::size_t fromTop =
                static_cast<std::size_t>(row) * static_cast<std::size_t>(cy) + static_cast<std::size_t>(y);
            const std::size_t stored = bitmap.bottomUp ? rows - 1 - fromTop : fromTop;
            CopyBits(band.data() + stored * bitmap.stride, static_cast<std::size_t>(column) * width,
                     strip.data() + static_cast<std::size_t>(y) * stride, static_cast<std::size_t>(k) * width,
                     width);
        }
    }
}

} // namespace orvane
