#include "store/image_list_bytes.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

using Bytes = std::vector<std::uint8_t>;

void Put(Bytes& b, std::uint32_t v, int size) {
    for (int i = 0; i < size; ++i) {
        b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }
}

void Bitmap(Bytes& b, std::int32_t width, std::int32_t height, int bits) {
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
    b.insert(b.end(), palette + pixels, 0x5A);
}

// The stream of a 32 x 32 list holding count images, four to a row, with or without a mask.
Bytes Stream(int count, bool mask, int cx = 32) {
    Bytes b = {'I', 'L'};
    Put(b, 0x0101, 2);
    Put(b, static_cast<std::uint32_t>(count), 2);
    Put(b, static_cast<std::uint32_t>(count + 1), 2);
    Put(b, 4, 2);
    Put(b, static_cast<std::uint32_t>(cx), 2);
    Put(b, 32, 2);
    Put(b, 0xFFFFFFFF, 4);
    Put(b, mask ? 0x21 : 0x20, 2);
    Put(b, 0xFFFFFFFF, 4);
    Put(b, 0xFFFFFFFF, 4);
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

TEST(ImageListBytes, OtherVersionsAreLeftToTheSystem) {
    Bytes other = Stream(1, false);
    other[3] = 0x06;
    EXPECT_EQ(CheckImageListStream(other), ImageListStreamCheck::ilsOtherVersion);
}

} // namespace
} // namespace orvane
