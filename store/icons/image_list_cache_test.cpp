#include "store/icons/image_list_cache.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

TEST(ImageListCache, RoundTripsWithTheImageSizeAndPictures) {
    ImageListCache large;
    large.name = kLargeImageListName;
    large.bitmap = {'I', 'L', 1, 1, 0, 0, 255};
    std::vector<std::uint8_t> bytes = WriteImageListCache(large);
    StreamComponent c = ReadComponentStream(bytes);
    EXPECT_EQ(c.className, "TImageList");
    EXPECT_EQ(c.objectName, "ImageListL");
    EXPECT_EQ(c.Find("Height")->value.integer, 32);
    EXPECT_EQ(c.Find("Width")->value.integer, 32);
    EXPECT_EQ(c.Find("Bitmap")->value.binary, large.bitmap);
    EXPECT_EQ(ReadImageListCache(bytes, ImageListCache{}), large);
}

TEST(ImageListCache, NoPicturesNoBitmapAndReadingReplacesThem) {
    ImageListCache empty;
    std::vector<std::uint8_t> bytes = WriteImageListCache(empty);
    EXPECT_EQ(ReadComponentStream(bytes).Find("Bitmap"), nullptr);
    ImageListCache current;
    current.bitmap = {1, 2, 3};
    current.height = 16;
    EXPECT_TRUE(ReadImageListCache(bytes, current).bitmap.empty());
    EXPECT_EQ(ReadImageListCache(bytes, current).height, 32);

    // Sizes that cannot be an image's keep the present ones.
    StreamComponent odd;
    odd.className = kImageListClass;
    odd.properties = {{"Height", StreamValue::Integer(0)}, {"Width", StreamValue::Integer(100000)}};
    ImageListCache read = ReadImageListCache(WriteComponentStream(odd), current);
    EXPECT_EQ(read.height, 16);
    EXPECT_EQ(read.width, 32);
}

TEST(ImageListCache, DamagedOrForeignStreamsAreErrors) {
    ImageListCache list;
    list.bitmap.assign(100, 7);
    std::vector<std::uint8_t> bytes = WriteImageListCache(list);
    for (std::size_t n = 0; n < bytes.size(); ++n) {
        EXPECT_THROW(ReadImageListCache(std::span(bytes.data(), n), list), StreamError) << n;
    }
    StreamComponent other;
    other.className = "TListView";
    EXPECT_THROW(ReadImageListCache(WriteComponentStream(other), list), StreamError);
    StreamComponent textBitmap;
    textBitmap.className = kImageListClass;
    textBitmap.properties = {{"Bitmap", StreamValue::Text(L"IL")}};
    EXPECT_THROW(ReadImageListCache(WriteComponentStream(textBitmap), list), StreamError);
}

} // namespace
} // namespace orvane
