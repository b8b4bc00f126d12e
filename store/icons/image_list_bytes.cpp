#include "store/icons/image_list_bytes.h"

#include "store/stream/byte_io.h"

#include <algorithm>
#include <array>
#include <optional>

namespace orvane {
namespace {

constexpr std::uint16_t kVersion = 0x0101;
constexpr std::uint16_t kMaskFlag = 0x0001; // ILC_MASK
constexpr int kLargestImage = 256;
constexpr std::int64_t kPerRow = 4;
// Image lists keep four images a row, so 10,000 icons of 32 pixels make a bitmap 80,000 pixels high.
constexpr std::int64_t kLargestBitmapSide = 1 << 22;
constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiBitfields = 3;

constexpr std::size_t kHeaderSize = 28;

using Bitmap = ImageListBitmap;

// Walks one bitmap file; StreamError when any part of it is missing or impossible.
Bitmap ReadBitmap(ByteReader& in) {
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
    in.Take(4); // important colours
    std::span<const std::uint8_t> extra = in.Take(infoSize - 40);
    const bool bottomUp = height > 0;
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
    std::span<const std::uint8_t> colours = in.Take(static_cast<std::size_t>(tableBytes));
    std::span<const std::uint8_t> pixels = in.Take(static_cast<std::size_t>(pixelBytes));
    return Bitmap{width, height, bottomUp, bits, compression, stride, infoSize, extra, colours, pixels};
}

// A complete version 0x101 stream taken apart; StreamError for anything else.
struct Stream {
    std::span<const std::uint8_t> header;
    std::int64_t count = 0;
    std::int64_t capacity = 0;
    std::int64_t grow = 0;
    std::int64_t cx = 0;
    std::int64_t cy = 0;
    std::uint32_t background = 0;
    std::uint16_t flags = 0;
    std::array<std::int16_t, 4> overlays{};
    Bitmap image;
    std::optional<Bitmap> mask;

    // The rows of each bitmap that hold images, from the top.
    std::int64_t ImageRows() const { return (count + kPerRow - 1) / kPerRow * cy; }
};

// Every writer lays the images out four to a row, and the system's reader trusts it: it walks the
// image bitmap in bands of four images, cy rows of the bitmap's width each, from the top, as many bands
// as the count needs; it reads the mask with the image bitmap's width and height, and keeps a flag
// for each image in room for the capacity. So the image bitmap must be exactly four images wide and
// tall enough for the count, the mask of the same size, and the count within the capacity.
Stream ReadStream(std::span<const std::uint8_t> bytes) {
    ByteReader in(bytes);
    Stream stream;
    stream.header = in.Take(kHeaderSize);
    ByteReader head(stream.header);
    auto magic = head.Take(2);
    if (magic[0] != 'I' || magic[1] != 'L') {
        throw StreamError("not an image-list stream");
    }
    if (static_cast<std::uint16_t>(head.I16()) != kVersion) {
        throw StreamError("another version");
    }
    stream.count = static_cast<std::uint16_t>(head.I16());
    stream.capacity = static_cast<std::uint16_t>(head.I16());
    stream.grow = static_cast<std::uint16_t>(head.I16());
    stream.cx = head.I16();
    stream.cy = head.I16();
    stream.background = head.U32();
    stream.flags = static_cast<std::uint16_t>(head.I16());
    for (std::int16_t& overlay : stream.overlays) {
        overlay = head.I16();
    }
    if (stream.cx <= 0 || stream.cy <= 0 || stream.cx > kLargestImage || stream.cy > kLargestImage) {
        throw StreamError("an impossible image size");
    }
    if (stream.count > stream.capacity) {
        throw StreamError("more images than room for them");
    }
    stream.image = ReadBitmap(in);
    if (stream.image.width != kPerRow * stream.cx || stream.image.height < stream.ImageRows()) {
        throw StreamError("a bitmap not laid out four images a row");
    }
    if (stream.flags & kMaskFlag) {
        stream.mask = ReadBitmap(in);
        if (stream.mask->width != stream.image.width || stream.mask->height != stream.image.height) {
            throw StreamError("a mask of another size than its images");
        }
    }
    return stream;
}

// The rows of two bitmaps that hold images, as pairs to compare; false when the bitmaps differ in form.
// Rows stored in the same order are one pair; otherwise each row is one.
bool AddRowPairs(const Bitmap& a, const Bitmap& b, std::int64_t rows, BytePairs& pairs) {
    if (a.width != b.width || a.bits != b.bits || a.compression != b.compression ||
        !std::ranges::equal(a.extra, b.extra) || !std::ranges::equal(a.colours, b.colours)) {
        return false;
    }
    if (a.bottomUp == b.bottomUp) {
        pairs.emplace_back(a.TopRows(rows), b.TopRows(rows));
        return true;
    }
    for (std::int64_t y = 0; y < rows; ++y) {
        pairs.emplace_back(a.Row(y), b.Row(y));
    }
    return true;
}

} // namespace

ImageListStreamCheck CheckImageListStream(std::span<const std::uint8_t> bytes) {
    if (bytes.size() >= 4 && bytes[0] == 'I' && bytes[1] == 'L' && (bytes[2] | (bytes[3] << 8)) != kVersion) {
        return ImageListStreamCheck::ilsOtherVersion;
    }
    try {
        ReadStream(bytes);
        return ImageListStreamCheck::ilsComplete;
    } catch (const StreamError&) {
        return ImageListStreamCheck::ilsDamaged;
    }
}

std::optional<BytePairs> PicturePairs(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b) {
    try {
        const Stream x = ReadStream(a);
        const Stream y = ReadStream(b);
        // Count, size, background, flags and overlays; capacity and growth (bytes 6 to 9) aside.
        if (!std::ranges::equal(x.header.subspan(4, 2), y.header.subspan(4, 2)) ||
            !std::ranges::equal(x.header.subspan(10), y.header.subspan(10))) {
            return std::nullopt;
        }
        const std::int64_t rows = x.ImageRows();
        BytePairs pairs;
        if (!AddRowPairs(x.image, y.image, rows, pairs) || x.mask.has_value() != y.mask.has_value() ||
            (x.mask && !AddRowPairs(*x.mask, *y.mask, rows, pairs))) {
            return std::nullopt;
        }
        return pairs;
    } catch (const StreamError&) {
        return std::nullopt;
    }
}

std::optional<ImageListLayout> DescribeImageListStream(std::span<const std::uint8_t> bytes) {
    try {
        const Stream stream = ReadStream(bytes);
        ImageListLayout layout;
        layout.count = static_cast<int>(stream.count);
        layout.grow = static_cast<int>(stream.grow);
        layout.cx = static_cast<int>(stream.cx);
        layout.cy = static_cast<int>(stream.cy);
        layout.background = stream.background;
        layout.flags = stream.flags;
        layout.overlays = stream.overlays;
        layout.image = stream.image;
        layout.mask = stream.mask;
        return layout;
    } catch (const StreamError&) {
        return std::nullopt;
    }
}

bool SamePictures(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b) {
    const std::optional<BytePairs> pairs = PicturePairs(a, b);
    return pairs && std::ranges::all_of(
                        *pairs, [](const auto& pair) { return std::ranges::equal(pair.first, pair.second); });
}

} // namespace orvane
