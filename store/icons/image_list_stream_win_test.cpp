// Image-list streams: the pictures written and read back pixel for pixel, damaged streams, the cache
// file around a stream, and the band reader beside the system's reader.
#include "store/icons/image_list_stream_win.h"

#include "store/icons/image_list_bytes.h"
#include "store/icons/image_list_cache.h"
#include "store/icons/image_list_pictures_win_test.h"
#include "store/stream/component_stream.h"
#include "system/com_object_win.h"
#include "system/late_libraries_win.h"

#include <gtest/gtest.h>
#include <wrl/client.h>

#include <span>

namespace orvane {
namespace {

using namespace pictures_test;

TEST(ImageListStream, AlphaPicturesRoundTripPixelForPixel) {
    UniqueImageList list = AlphaList();
    std::vector<std::uint8_t> bytes = SaveImageListStream(list.get());
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes[0], 'I');
    EXPECT_EQ(bytes[1], 'L');
    UniqueImageList back = LoadImageListStream(bytes);
    ExpectSamePictures(list.get(), back.get());
    // The half-transparent band keeps its alpha.
    EXPECT_EQ(StoredBits(back.get(), 0)[32 * 1 + 10] >> 24, 0x80u);
}

TEST(ImageListStream, IconsWithMasksRoundTripPixelForPixel) {
    UniqueImageList list = IconList();
    UniqueImageList back = LoadImageListStream(SaveImageListStream(list.get()));
    ExpectSamePictures(list.get(), back.get());
}

TEST(ImageListStream, DamagedStreamGivesNoList) {
    EXPECT_FALSE(LoadImageListStream({}));
    const std::uint8_t junk[] = {'I', 'L', 1, 1, 0xFF, 0x7F, 0xFF, 0x7F, 4, 0, 0xFF, 0x7F, 0xFF, 0x7F, 0, 0};
    EXPECT_FALSE(LoadImageListStream(junk));
    const std::uint8_t other[] = {'B', 'M', 0, 0, 0, 0};
    EXPECT_FALSE(LoadImageListStream(other));

    UniqueImageList list = AlphaList();
    std::vector<std::uint8_t> bytes = SaveImageListStream(list.get());
    for (std::size_t n = 1; n < bytes.size(); n += (n < 200 ? 1 : 509)) {
        EXPECT_FALSE(LoadImageListStream(std::span(bytes.data(), n))) << "cut at " << n;
    }
    // A corrupted header that claims an enormous image.
    std::vector<std::uint8_t> huge = bytes;
    huge[10] = 0xFF;
    huge[11] = 0x7F;
    EXPECT_FALSE(LoadImageListStream(huge));
}

TEST(ImageListStream, CacheFileHoldsTheListAndItsSize) {
    UniqueImageList list = IconList();
    std::vector<std::uint8_t> file = WriteImageListFile(list.get(), kLargeImageListName);
    StreamComponent stream = ReadComponentStream(file);
    EXPECT_EQ(stream.className, "TImageList");
    EXPECT_EQ(stream.objectName, "ImageListL");
    EXPECT_EQ(stream.Find("Height")->value.integer, 32);
    EXPECT_EQ(stream.Find("Width")->value.integer, 32);
    ASSERT_NE(stream.Find("Bitmap"), nullptr);
    EXPECT_EQ(stream.Find("Bitmap")->value.binary[0], 'I');
    UniqueImageList back = ReadImageListFile(file);
    ExpectSamePictures(list.get(), back.get());

    // Damaged or empty files give no list, for the caller to empty its own.
    for (std::size_t n : {std::size_t{0}, std::size_t{3}, file.size() / 2, file.size() - 1}) {
        EXPECT_FALSE(ReadImageListFile(std::span(file.data(), n))) << "cut at " << n;
    }
    UniqueImageList empty(::ImageList_Create(kSize, kSize, ILC_COLOR32, 0, 4));
    std::vector<std::uint8_t> emptyFile = WriteImageListFile(empty.get(), kSmallImageListName);
    EXPECT_EQ(ReadComponentStream(emptyFile).Find("Bitmap"), nullptr);
    EXPECT_FALSE(ReadImageListFile(emptyFile));
}

// The system's own reader of the stream, which the program's band reader stands in for.
UniqueImageList SystemRead(const std::vector<std::uint8_t>& bytes) {
    Microsoft::WRL::ComPtr<IStream> stream =
        Adopt(late::SHCreateMemStream(bytes.data(), static_cast<UINT>(bytes.size())));
    return UniqueImageList(::ImageList_Read(stream.Get()));
}

TEST(ImageListStream, PicturesReadInBandsAreThoseTheSystemsReaderGives) {
    // 600 pictures with masks of their own take three bands, the last one not full.
    constexpr int kCount = 600;
    UniqueImageList masked(::ImageList_Create(kSize, kSize, ILC_COLOR32 | ILC_MASK, kCount, 16));
    for (int i = 0; i < kCount; ++i) {
        UniqueBitmap picture = Picture(0x00102030u * static_cast<std::uint32_t>(i % 7 + 1), i);
        std::array<std::uint8_t, kSize * kSize / 8> bits{};
        for (std::size_t b = 0; b < bits.size(); ++b) {
            bits[b] = static_cast<std::uint8_t>((b * 37 + static_cast<std::size_t>(i) * 11) & 0xF3);
        }
        UniqueBitmap mask(::CreateBitmap(kSize, kSize, 1, 1, bits.data()));
        ASSERT_EQ(::ImageList_Add(masked.get(), picture.get(), mask.get()), i);
    }
    UniqueImageList alpha = AlphaList();
    UniqueImageList icons = IconList();
    for (HIMAGELIST list : {alpha.get(), icons.get(), masked.get()}) {
        const std::vector<std::uint8_t> bytes = SaveImageListStream(list);
        UniqueImageList system = SystemRead(bytes);
        UniqueImageList bands = LoadImageListStream(bytes);
        ASSERT_TRUE(system && bands);
        ASSERT_EQ(::ImageList_GetImageCount(bands.get()), ::ImageList_GetImageCount(system.get()));
        EXPECT_EQ(::ImageList_GetBkColor(bands.get()), ::ImageList_GetBkColor(system.get()));
        // Written again, the band reader's list holds the very pictures of the stream.
        EXPECT_TRUE(SamePictures(SaveImageListStream(bands.get()), bytes));
        const int count = ::ImageList_GetImageCount(system.get());
        for (int i = 0; i < count; i += (count > 8 ? 37 : 1)) {
            for (int image : {i, count - 1 - i}) {
                EXPECT_EQ(StoredBits(bands.get(), image), StoredBits(system.get(), image))
                    << "image " << image;
                for (std::uint32_t background : {0x00000000u, 0x00FFFFFFu}) {
                    EXPECT_EQ(Drawn(bands.get(), image, background), Drawn(system.get(), image, background))
                        << "image " << image;
                }
            }
        }
    }
}

TEST(ImageListStream, TenThousandIconsComeBack) {
    // Four images a row: 10,000 icons of 32 pixels make a bitmap 80,000 pixels high, which a size
    // check must not mistake for damage.
    UniqueImageList list(::ImageList_Create(32, 32, ILC_COLOR32 | ILC_MASK, 10000, 256));
    auto icon =
        static_cast<HICON>(::LoadImageW(nullptr, MAKEINTRESOURCEW(32512), IMAGE_ICON, 32, 32, LR_SHARED));
    ASSERT_NE(icon, nullptr);
    for (int i = 0; i < 10000; ++i) {
        ASSERT_EQ(::ImageList_AddIcon(list.get(), icon), i);
    }
    UniqueImageList back = ReadImageListFile(WriteImageListFile(list.get(), kSmallImageListName));
    ASSERT_TRUE(static_cast<bool>(back));
    EXPECT_EQ(::ImageList_GetImageCount(back.get()), 10000);
}

} // namespace
} // namespace orvane
