// A check of the common controls image-list stream ("IL") before it is handed to the system: a
// damaged stream must give no image list, and some system readers trust its sizes.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <utility>
#include <vector>

namespace orvane {

enum class ImageListStreamCheck {
    ilsComplete,     // a version 0x101 stream whose header and bitmaps are all there and agree
    ilsDamaged,      // cut short, or sizes that cannot be right
    ilsOtherVersion, // "IL" with another version: only the system can judge it
};

// The version 0x101 stream (what ImageList_Write and ImageList_WriteEx with ILP_DOWNLEVEL write): a
// 28-byte header (magic, version, image count, capacity, growth, image width and height, background
// colour, flags, four overlay indexes), then the image bitmap and, for a list with a mask (flag
// ILC_MASK), the mask bitmap, each as a bitmap file (file header, info header, colour table, bits).
// As every writer lays them out, the images lie four to a row: the image bitmap is exactly four images
// wide and has rows for every image the header counts, the mask is the image bitmap's size, and the
// count is within the capacity. The system's reader trusts all of that; anything else is damage.
ImageListStreamCheck CheckImageListStream(std::span<const std::uint8_t> bytes);

// One bitmap file of a stream: its form and where its colour table and bits lie in the stream's bytes.
struct ImageListBitmap {
    std::int64_t width = 0;
    std::int64_t height = 0; // rows, whichever way they are stored
    bool bottomUp = true;
    std::uint32_t bits = 0;
    std::uint32_t compression = 0;
    std::uint64_t stride = 0;
    std::uint32_t infoSize = 40;
    std::span<const std::uint8_t> extra;   // the fields of a larger header after the first 40 bytes
    std::span<const std::uint8_t> colours; // colour table, or the colour masks of BI_BITFIELDS
    std::span<const std::uint8_t> pixels;

    // The bytes of row y counted from the top.
    std::span<const std::uint8_t> Row(std::int64_t y) const {
        const std::int64_t stored = bottomUp ? height - 1 - y : y;
        return pixels.subspan(static_cast<std::size_t>(stored) * stride, static_cast<std::size_t>(stride));
    }
    // The bytes of the top rows, which lie together in either order.
    std::span<const std::uint8_t> TopRows(std::int64_t rows) const {
        const std::int64_t first = bottomUp ? height - rows : 0;
        return pixels.subspan(static_cast<std::size_t>(first) * stride,
                              static_cast<std::size_t>(rows) * stride);
    }
};

// A complete version 0x101 stream taken apart: the header's fields and both bitmaps.
struct ImageListLayout {
    int count = 0;
    int grow = 0;
    int cx = 0;
    int cy = 0;
    std::uint32_t background = 0;
    std::uint16_t flags = 0;
    std::array<std::int16_t, 4> overlays{};
    ImageListBitmap image;
    std::optional<ImageListBitmap> mask;
};
// None unless CheckImageListStream finds the stream complete.
std::optional<ImageListLayout> DescribeImageListStream(std::span<const std::uint8_t> bytes);

// Whether two complete version 0x101 streams give the same image list: the same image count, size,
// background colour, flags and overlays, and bitmaps of the same form whose rows holding images are the
// same bytes. The capacity and growth a list was written with, and the rows of unused capacity after
// the last image, do not count: a list and its copy (ImageList_Duplicate) are written with different
// capacities. False for anything else, damaged streams included.
bool SamePictures(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b);

// What SamePictures compares byte for byte once everything else agrees: pairs of equal length, the first
// of each within a and the second within b (the rows holding images of each bitmap). None where
// SamePictures is false for anything but those bytes. A caller can so compare the bulk of two streams
// without holding both in memory.
using BytePairs = std::vector<std::pair<std::span<const std::uint8_t>, std::span<const std::uint8_t>>>;
std::optional<BytePairs> PicturePairs(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b);

} // namespace orvane
