// A check of the common controls image-list stream ("IL") before it is handed to the system: a
// damaged stream must give no image list, and some system readers trust its sizes.
#pragma once

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
