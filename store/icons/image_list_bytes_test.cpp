#include "store/icons/image_list_bytes.h"

#include <gtest/gtest.h>

#include <functional>

namespace orvane {
namespace {

using Bytes = std::vector<std::uint8_t>;

void Put(Bytes& b, std::uint32_t v, int size) {
    for (int i = 0; i < size; ++i) {
        b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }
}

// A bitmap file whose colour table is 0x5A and each row of pixels the byte rowByte gives for it, rows
// counted from the top; a negative height stores the rows top-down.
void Bitmap(
    Bytes& b, std::int32_t width, std::int32_t height, int bits,
    const std::function<std::uint8_t(int)>& rowByte = [](int) { return std::uint8_t{0x5A}; }) {
    std::uint32_t palette = bits <= 8 ? (1u << bits) * 4 : 0;
    std::uint32_t stride = ((static_cast<std::uint32_t>(width) * bits + 31) / 32) * 4;
    std::uint32_t pixels = stride * static_cast<std::uint32_t>(height < 0 ? -height : height);
    b.push_back('B');
    b.push_back('M');
    Put(b, 14 + 40 + palette + pixels, 4);
    Put(b, 0, 4);
    Put(b, 14 + 40 + palette, 4);
    Put(b, 40, 4);
    Put(b, static_cast<std::uint32_t>(width), 4);
    Put(b, static_cast<std::uint32_t>(height), 4);
    Put(b, 1, 2);
    Put(b, static_cast<std::uint32_t>(bits), 2);
    b.insert(b.end(), 4 * 6, 0); // compression, image size, resolution, colours
    b.insert(b.end(), palette, 0x5A);
    const int rows = height < 0 ? -height : height;
    for (int stored = 0; stored < rows; ++stored) {
        b.insert(b.end(), stride, rowByte(height < 0 ? stored : rows - 1 - stored));
    }
}

// The header of a list of count images cx x 32 with room for capacity, with or without a mask.
Bytes Header(int count, int capacity, bool mask, int cx = 32) {
    Bytes b = {'I', 'L'};
    Put(b, 0x0101, 2);
    Put(b, static_cast<std::uint32_t>(count), 2);
    Put(b, static_cast<std::uint32_t>(capacity), 2);
    Put(b, 4, 2);
    Put(b, static_cast<std::uint32_t>(cx), 2);
    Put(b, 32, 2);
    Put(b, 0xFFFFFFFF, 4);
    Put(b, mask ? 0x21 : 0x20, 2);
    Put(b, 0xFFFFFFFF, 4);
    Put(b, 0xFFFFFFFF, 4);
    return b;
}

// The stream of a 32 x 32 list holding count images, four to a row, with or without a mask.
Bytes Stream(int count, bool mask, int cx = 32) {
    Bytes b = Header(count, count + 1, mask, cx);
    int rows = (count + 1 + 3) / 4;
    Bitmap(b, 128, 32 * rows, 32);
    if (mask) {
        Bitmap(b, 128, 32 * rows, 1);
    }
    return b;
}

TEST(ImageListBytes, WholeStreamsPassAndEveryCutFails) {
    for (bool mask : {false, true}) {
        Bytes whole = Stream(5, mask);
        EXPECT_EQ(CheckImageListStream(whole), ImageListStreamCheck::ilsComplete);
        for (std::size_t n = 0; n < whole.size(); ++n) {
            ASSERT_EQ(CheckImageListStream(std::span(whole.data(), n)), ImageListStreamCheck::ilsDamaged)
                << "mask " << mask << ", cut at " << n;
        }
        whole.push_back(0);
        EXPECT_EQ(CheckImageListStream(whole), ImageListStreamCheck::ilsComplete);
    }
}

TEST(ImageListBytes, SizesThatCannotBeRightAreDamage) {
    EXPECT_EQ(CheckImageListStream(Stream(1, false, 0)), ImageListStreamCheck::ilsDamaged);
    EXPECT_EQ(CheckImageListStream(Stream(1, false, 0x7FFF)), ImageListStreamCheck::ilsDamaged);
    EXPECT_EQ(CheckImageListStream(Stream(1, false, -32)), ImageListStreamCheck::ilsDamaged);
    // More images than the bitmap holds: seven 48-wide images, two to a row, do not fit 128 x 64.
    Bytes tooMany = Stream(7, false);
    tooMany[10] = 48;
    EXPECT_EQ(CheckImageListStream(tooMany), ImageListStreamCheck::ilsDamaged);
    Bytes count = Stream(3, false);
    count[4] = 0xFF;
    EXPECT_EQ(CheckImageListStream(count), ImageListStreamCheck::ilsDamaged);
    // A bitmap header that claims a huge picture.
    Bytes huge = Stream(1, false);
    huge[28 + 14 + 8] = 0xFF;
    huge[28 + 14 + 9] = 0xFF;
    EXPECT_EQ(CheckImageListStream(huge), ImageListStreamCheck::ilsDamaged);
    Bytes depth = Stream(1, false);
    depth[28 + 14 + 14] = 7;
    EXPECT_EQ(CheckImageListStream(depth), ImageListStreamCheck::ilsDamaged);
    Bytes noBitmap = Stream(1, false);
    noBitmap[28] = 'X';
    EXPECT_EQ(CheckImageListStream(noBitmap), ImageListStreamCheck::ilsDamaged);
    EXPECT_EQ(CheckImageListStream(Bytes{'B', 'M', 1, 1}), ImageListStreamCheck::ilsDamaged);
}

// The system's reader walks the image bitmap in bands of four pictures, cy rows each, and the mask
// with the image bitmap's geometry; a stream laid out otherwise makes it read past its buffers.
TEST(ImageListBytes, OnlyFourPicturesToARowAsEveryWriterLaysThemOut) {
    auto stream = [](int count, int capacity, bool mask, int width, int height, int maskWidth,
                     int maskHeight) {
        Bytes b = Header(count, capacity, mask);
        Bitmap(b, width, height, 32);
        if (mask) {
            Bitmap(b, maskWidth, maskHeight, 1);
        }
        return b;
    };
    auto check = [&](auto... form) { return CheckImageListStream(stream(form...)); };
    constexpr auto complete = ImageListStreamCheck::ilsComplete;
    constexpr auto damaged = ImageListStreamCheck::ilsDamaged;
    // Sixteen pictures eight to a row: two rows of 256 pixels hold them, but four bands of four do not.
    EXPECT_EQ(check(16, 16, false, 256, 64, 0, 0), damaged);
    EXPECT_EQ(check(16, 16, true, 256, 64, 256, 64), damaged);
    const Bytes eights = stream(16, 16, false, 256, 64, 0, 0);
    EXPECT_FALSE(SamePictures(eights, eights));
    EXPECT_EQ(check(3, 3, false, 96, 32, 0, 0), damaged);    // three to a row
    EXPECT_EQ(check(1, 1, false, 64, 32, 0, 0), damaged);    // narrower than four pictures
    EXPECT_EQ(check(16, 16, false, 128, 96, 0, 0), damaged); // rows for twelve of sixteen
    // A mask of another width, or shorter than the image bitmap whose height places it.
    EXPECT_EQ(check(5, 8, true, 128, 64, 256, 64), damaged);
    EXPECT_EQ(check(5, 8, true, 128, 64, 96, 64), damaged);
    EXPECT_EQ(check(3, 8, true, 128, 64, 128, 32), damaged);
    // More pictures than the room the reader makes for them.
    EXPECT_EQ(check(9, 4, false, 128, 96, 0, 0), damaged);

    // What the writers write: room for more than the count, no pictures at all, a list that is full.
    EXPECT_EQ(check(16, 16, false, 128, 128, 0, 0), complete);
    EXPECT_EQ(check(16, 16, true, 128, 128, 128, 128), complete);
    EXPECT_EQ(check(6, 27, true, 128, 224, 128, 224), complete);
    EXPECT_EQ(check(0, 1, false, 128, 32, 0, 0), complete);
    EXPECT_EQ(check(0, 4, true, 128, 32, 128, 32), complete);
    EXPECT_EQ(check(5, 8, true, 128, -64, 128, -64), complete);
}

// A masked list of count 32 x 32 images with room for capacity, each row of the image and mask bitmaps
// the byte rowByte gives for it.
Bytes Pictures(int count, int capacity, bool topDown, const std::function<std::uint8_t(int)>& rowByte) {
    Bytes b = Header(count, capacity, true);
    b[8] = static_cast<std::uint8_t>(capacity); // growth
    const int height = 32 * ((capacity + 3) / 4);
    Bitmap(b, 128, topDown ? -height : height, 32, rowByte);
    Bitmap(b, 128, topDown ? -height : height, 1, rowByte);
    return b;
}

TEST(ImageListBytes, SamePicturesWhateverTheCapacityButNothingElse) {
    auto byRow = [](int row) { return static_cast<std::uint8_t>(row * 7 + 1); };
    // Six images fill two rows of four: rows 0 to 63 hold images.
    const Bytes list = Pictures(6, 8, false, byRow);
    EXPECT_TRUE(SamePictures(list, list));
    // A copy written with another capacity and growth, or stored top-down, or with other bytes in the
    // room after the last image row.
    EXPECT_TRUE(SamePictures(list, Pictures(6, 13, false, byRow)));
    EXPECT_TRUE(SamePictures(list, Pictures(6, 8, true, byRow)));
    EXPECT_TRUE(SamePictures(
        list, Pictures(6, 13, true, [&](int row) { return row < 64 ? byRow(row) : std::uint8_t{0xEE}; })));

    // A byte of any image row, of the colour or the mask bitmap, differs.
    for (int changed : {0, 31, 32, 63}) {
        EXPECT_FALSE(SamePictures(
            list,
            Pictures(6, 8, false, [&](int row) { return row == changed ? std::uint8_t{0xEE} : byRow(row); })))
            << "row " << changed;
    }
    Bytes mask = list;
    mask.back() ^= 1; // the mask's last stored row is its top row
    EXPECT_FALSE(SamePictures(list, mask));
    // The count, size, background, flags or an overlay differ.
    for (std::size_t at :
         {std::size_t{4}, std::size_t{10}, std::size_t{14}, std::size_t{18}, std::size_t{27}}) {
        Bytes other = list;
        other[at] ^= 1;
        EXPECT_FALSE(SamePictures(list, other)) << "header byte " << at;
    }
    EXPECT_FALSE(SamePictures(list, Pictures(5, 8, false, byRow)));
    // Damaged streams and other versions are never the same.
    EXPECT_FALSE(SamePictures(list, std::span(list.data(), list.size() - 1)));
    Bytes version = list;
    version[3] = 0x06;
    EXPECT_FALSE(SamePictures(version, version));

    // The pairs to compare lie within the streams they come from, which is how a reader finds them in
    // two files; rows stored in the same order come as one pair a bitmap.
    const Bytes copy = Pictures(6, 13, false, byRow);
    const auto pairs = PicturePairs(list, copy);
    ASSERT_TRUE(pairs.has_value());
    EXPECT_EQ(pairs->size(), 2u);
    auto within = [](std::span<const std::uint8_t> part, const Bytes& whole) {
        return part.data() >= whole.data() && part.data() + part.size() <= whole.data() + whole.size();
    };
    for (const auto& [first, second] : *pairs) {
        EXPECT_EQ(first.size(), second.size());
        EXPECT_TRUE(within(first, list) && within(second, copy));
    }
    EXPECT_FALSE(PicturePairs(list, Pictures(5, 8, false, byRow)).has_value());
}

TEST(ImageListBytes, OtherVersionsAreLeftToTheSystem) {
    Bytes other = Stream(1, false);
    other[3] = 0x06;
    EXPECT_EQ(CheckImageListStream(other), ImageListStreamCheck::ilsOtherVersion);
}

} // namespace
} // namespace orvane
