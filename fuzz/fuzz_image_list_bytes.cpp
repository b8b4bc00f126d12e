// Any bytes given to the check that guards the system's image-list reader: a verdict, never a crash.
// A stream found complete is read again here, from its bytes, for what the system's reader trusts:
// the image bitmap four images wide with rows for every image, a mask of the image bitmap's size, no
// more images than room for them; and only a complete stream gives pictures to compare.
#include "store/icons/image_list_bytes.h"

#include <cstdlib>

namespace {

std::uint32_t Le(std::span<const std::uint8_t> data, std::size_t at, int size) {
    std::uint32_t v = 0;
    for (int i = 0; i < size; ++i) {
        v |= static_cast<std::uint32_t>(data[at + static_cast<std::size_t>(i)]) << (8 * i);
    }
    return v;
}

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// A bitmap file of the stream: its width, rows, bytes a row, and where the part after it begins.
struct Form {
    std::int64_t width = 0;
    std::int64_t rows = 0;
    std::uint64_t stride = 0;
    std::uint64_t end = 0;
};

Form BitmapAt(std::span<const std::uint8_t> data, std::size_t at) {
    const std::size_t info = at + 14;
    const std::uint32_t infoSize = Le(data, info, 4);
    const auto height = static_cast<std::int32_t>(Le(data, info + 8, 4));
    const std::uint32_t bits = Le(data, info + 14, 2);
    const std::uint32_t used = Le(data, info + 32, 4);
    Form form;
    form.width = static_cast<std::int32_t>(Le(data, info + 4, 4));
    form.rows = height < 0 ? -static_cast<std::int64_t>(height) : height;
    form.stride = (static_cast<std::uint64_t>(form.width) * bits + 31) / 32 * 4;
    std::uint64_t table = bits <= 8 ? (used != 0 ? used : 1u << bits) * 4u : 0;
    if (Le(data, info + 16, 4) == 3 && infoSize == 40) {
        table += 12; // the colour masks of BI_BITFIELDS
    }
    form.end = info + infoSize + table + form.stride * static_cast<std::uint64_t>(form.rows);
    return form;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    if (orvane::CheckImageListStream(bytes) != orvane::ImageListStreamCheck::ilsComplete) {
        Require(!orvane::SamePictures(bytes, bytes));
        return 0;
    }
    const std::int64_t count = Le(bytes, 4, 2);
    const std::int64_t capacity = Le(bytes, 6, 2);
    const std::int64_t cx = Le(bytes, 10, 2);
    const std::int64_t cy = Le(bytes, 12, 2);
    const std::int64_t rows = (count + 3) / 4 * cy;
    const Form image = BitmapAt(bytes, 28);
    Require(count <= capacity);
    Require(image.width == 4 * cx && image.rows >= rows);
    std::uint64_t pictureBytes = image.stride * static_cast<std::uint64_t>(rows);
    if (Le(bytes, 18, 2) & 1) {
        const Form mask = BitmapAt(bytes, static_cast<std::size_t>(image.end));
        Require(mask.width == image.width && mask.rows == image.rows && mask.end <= size);
        pictureBytes += mask.stride * static_cast<std::uint64_t>(rows);
    } else {
        Require(image.end <= size);
    }

    // The pictures of a complete stream are its rows that hold images, within the stream.
    Require(orvane::SamePictures(bytes, bytes));
    const auto pairs = orvane::PicturePairs(bytes, bytes);
    Require(pairs.has_value());
    std::uint64_t paired = 0;
    for (const auto& [first, second] : *pairs) {
        Require(first.size() == second.size() && first.data() >= data &&
                first.data() + first.size() <= data + size);
        paired += first.size();
    }
    Require(paired == pictureBytes);
    return 0;
}
