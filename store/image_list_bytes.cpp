#include "store/image_list_bytes.h"

#include "store/byte_io.h"

namespace orvane {
namespace {

constexpr std::uint16_t kVersion = 0x0101;
constexpr std::uint16_t kMaskFlag = 0x0001; // ILC_MASK
constexpr int kLargestImage = 256;
// Image lists keep four images a row, so 10,000 icons of 32 pixels make a bitmap 80,000 pixels high.
constexpr std::int64_t kLargestBitmapSide = 1 << 22;
constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiBitfields = 3;

struct BitmapSize {
    std::int64_t width = 0;
    std::int64_t height = 0;
};

// Walks one bitmap file; StreamError when any part of it is missing or impossible.
BitmapSize SkipBitmap(ByteReader& in) {
    auto magic = in.Take(2);
    if (magic[0] != 'B' || magic[1] != 'M') {
        throw StreamError("no bitmap where one belongs");
    }
    in.Take(12); // file size, reserved, offset of the bits
    std::uint32_t infoSize = in.U32();
    if (infoSize < 40 || infoSize > 124) {
        throw StreamError("an unknown bitmap header");
    }
    std::int64_t width = in.I32();
    std::int64_t height = in.I32();
    in.Take(2); // planes
    std::uint32_t bits = static_cast<std::uint16_t>(in.I16());
    std::uint32_t compression = in.U32();
    in.Take(12); // image size, resolution
    std::uint32_t colorsUsed = in.U32();
    in.Take(4 + (infoSize - 40));
    if (height < 0) {
        height = -height;
    }
    if (width <= 0 || height == 0 || width > kLargestBitmapSide || height > kLargestBitmapSide) {
        throw StreamError("a bitmap of impossible size");
    }
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) {
        throw StreamError("a bitmap of an unknown depth");
    }
    if (compression != kBiRgb && compression != kBiBitfields) {
        throw StreamError("a compressed bitmap");
    }
    std::uint64_t palette = 0;
    if (bits <= 8) {
        palette = colorsUsed != 0 ? colorsUsed : (1u << bits);
        if (palette > (1u << bits)) {
            throw StreamError("a colour table larger than its depth");
        }
    }
    std::uint64_t tableBytes = palette * 4 + (compression == kBiBitfields && infoSize == 40 ? 12 : 0);
    std::uint64_t stride = ((static_cast<std::uint64_t>(width) * bits + 31) / 32) * 4;
    std::uint64_t pixelBytes = stride * static_cast<std::uint64_t>(height);
    if (tableBytes > in.remaining() || pixelBytes > in.remaining() - tableBytes) {
        throw StreamError("a bitmap cut short");
    }
    in.Take(static_cast<std::size_t>(tableBytes + pixelBytes));
    return {width, height};
}

} // namespace

ImageListStreamCheck CheckImageListStream(std::span<const std::uint8_t> bytes) {
    try {
        ByteReader in(bytes);
        auto magic = in.Take(2);
        if (magic[0] != 'I' || magic[1] != 'L') {
            return ImageListStreamCheck::ilsDamaged;
        }
        if (static_cast<std::uint16_t>(in.I16()) != kVersion) {
            return ImageListStreamCheck::ilsOtherVersion;
        }
        std::int64_t count = static_cast<std::uint16_t>(in.I16());
        in.Take(4); // capacity, growth
        std::int64_t cx = in.I16();
        std::int64_t cy = in.I16();
        in.Take(4); // background colour
        auto flags = static_cast<std::uint16_t>(in.I16());
        in.Take(8); // overlay indexes
        if (cx <= 0 || cy <= 0 || cx > kLargestImage || cy > kLargestImage) {
            return ImageListStreamCheck::ilsDamaged;
        }
        BitmapSize image = SkipBitmap(in);
        std::int64_t perRow = image.width / cx;
        if (perRow == 0 || (count + perRow - 1) / perRow * cy > image.height) {
            return ImageListStreamCheck::ilsDamaged;
        }
        if (flags & kMaskFlag) {
            BitmapSize mask = SkipBitmap(in);
            if (mask.width < image.width || mask.height < (count + perRow - 1) / perRow * cy) {
                return ImageListStreamCheck::ilsDamaged;
            }
        }
        return ImageListStreamCheck::ilsComplete;
    } catch (const StreamError&) {
        return ImageListStreamCheck::ilsDamaged;
    }
}

} // namespace orvane
