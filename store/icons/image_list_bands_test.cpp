#include "store/icons/image_list_bands.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace orvane {
namespace {

// A bitmap of `count` images cx by cy, four to a row, stored bottom-up or top-down; pixel (x, y) of
// image i is Value(i, x, y): at 32 bits all of it, at 1 bit its lowest bit.
struct TestBitmap {
    ImageListBitmap bitmap;
    std::vector<std::uint8_t> bytes;
};

std::uint32_t Value(int image, int x, int y) {
    return static_cast<std::uint32_t>(image * 7919 + x * 31 + y * 131 + 1) * 2654435761u;
}

bool BitAt(const std::uint8_t* row, std::size_t bit) {
    return (row[bit / 8] & (0x80u >> (bit % 8))) != 0;
}

TestBitmap MakeBitmap(int count, int cx, int cy, std::uint32_t bits, bool bottomUp) {
    TestBitmap made;
    ImageListBitmap& b = made.bitmap;
    b.width = static_cast<std::int64_t>(kImagesPerRow) * cx;
    b.height = static_cast<std::int64_t>((count + kImagesPerRow - 1) / kImagesPerRow) * cy + cy; // spare room
    b.bottomUp = bottomUp;
    b.bits = bits;
    b.stride = (static_cast<std::uint64_t>(b.width) * bits + 31) / 32 * 4;
    made.bytes.assign(static_cast<std::size_t>(b.stride * static_cast<std::uint64_t>(b.height)), 0);
    for (int i = 0; i < count; ++i) {
        for (int y = 0; y < cy; ++y) {
            const std::int64_t top = static_cast<std::int64_t>(i / kImagesPerRow) * cy + y;
            const std::int64_t stored = bottomUp ? b.height - 1 - top : top;
            std::uint8_t* row = made.bytes.data() + static_cast<std::size_t>(stored) * b.stride;
            for (int x = 0; x < cx; ++x) {
                const std::size_t pixel = static_cast<std::size_t>((i % kImagesPerRow) * cx + x);
                const std::uint32_t v = Value(i, x, y);
                if (bits == 32) {
                    for (int k = 0; k < 4; ++k) {
                        row[pixel * 4 + static_cast<std::size_t>(k)] =
                            static_cast<std::uint8_t>(v >> (8 * k));
                    }
                } else if ((v & 1) != 0) {
                    row[pixel / 8] |= static_cast<std::uint8_t>(0x80u >> (pixel % 8));
                }
            }
        }
    }
    b.pixels = made.bytes;
    return made;
}

// Takes images [first, first + count) out through a band and checks every pixel of the strip.
void ExpectStrip(const TestBitmap& made, int cx, int cy, int first, int count) {
    const ImageListBitmap& b = made.bitmap;
    const std::span<const std::uint8_t> band = BandBytes(b, cy, first, count);
    const std::vector<std::uint8_t> read(band.begin(), band.end()); // as read from the file
    const std::size_t stride = StripStride(b, cx, count);
    std::vector<std::uint8_t> strip(stride * static_cast<std::size_t>(cy), 0xA5);
    CopyBandToStrip(b, cx, cy, first, count, read, strip);
    for (int k = 0; k < count; ++k) {
        for (int y = 0; y < cy; ++y) {
            const std::uint8_t* row = strip.data() + static_cast<std::size_t>(y) * stride;
            for (int x = 0; x < cx; ++x) {
                const std::size_t pixel = static_cast<std::size_t>(k * cx + x);
                const std::uint32_t v = Value(first + k, x, y);
                if (b.bits == 32) {
                    const std::uint32_t got = row[pixel * 4] | (row[pixel * 4 + 1] << 8) |
                                              (row[pixel * 4 + 2] << 16) |
                                              (static_cast<std::uint32_t>(row[pixel * 4 + 3]) << 24);
                    ASSERT_EQ(got, v) << "image " << first + k << " at " << x << "," << y;
                } else {
                    ASSERT_EQ(BitAt(row, pixel), (v & 1) != 0)
                        << "image " << first + k << " at " << x << "," << y;
                }
            }
        }
    }
}

TEST(ImageListBands, ImagesComeOutSideBySideWhicheverWayTheRowsAreStored) {
    for (bool bottomUp : {true, false}) {
        SCOPED_TRACE(bottomUp ? "bottom-up" : "top-down");
        // Colour pictures of 32 x 32, and their masks at one bit a pixel.
        const TestBitmap colour = MakeBitmap(23, 32, 32, 32, bottomUp);
        ExpectStrip(colour, 32, 32, 0, 23);
        ExpectStrip(colour, 32, 32, 8, 9);
        ExpectStrip(colour, 32, 32, 20, 3); // the last band, a row not full
        const TestBitmap mask = MakeBitmap(23, 32, 32, 1, bottomUp);
        ExpectStrip(mask, 32, 32, 4, 19);
        // A width whose rows do not end on a byte: each image's bits are moved one by one.
        const TestBitmap odd = MakeBitmap(11, 3, 5, 1, bottomUp);
        ExpectStrip(odd, 3, 5, 0, 11);
        ExpectStrip(odd, 3, 5, 4, 7);
    }
}

TEST(ImageListBands, ABandIsWholeRowsOfTheBitmapAndStaysWithinIt) {
    const TestBitmap made = MakeBitmap(10, 32, 32, 32, true);
    const ImageListBitmap& b = made.bitmap;
    // Images 4 to 9 are rows 32 to 95 from the top; bottom-up, they are stored first.
    const std::span<const std::uint8_t> band = BandBytes(b, 32, 4, 6);
    EXPECT_EQ(band.size(), 64 * b.stride);
    EXPECT_EQ(band.data(), b.pixels.data() + (b.height - 96) * static_cast<std::int64_t>(b.stride));
    EXPECT_THROW(BandBytes(b, 32, 2, 4), std::invalid_argument);
    EXPECT_THROW(BandBytes(b, 32, 8, 12), std::out_of_range);
    std::vector<std::uint8_t> small(10);
    EXPECT_THROW(CopyBandToStrip(b, 32, 32, 4, 6, band, small), std::out_of_range);
}

} // namespace
} // namespace orvane
