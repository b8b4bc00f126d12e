// The icon caches as a start reads them: each file on its own, the large list taken from the small one
// only when their pictures agree, and a small file laid out as no writer lays it out read as damaged.
#include "store/icons/icon_cache_preload_win.h"
#include "store/icons/icon_cache_reader_win.h"
#include "store/icons/image_list_bytes.h"
#include "store/icons/image_list_cache.h"
#include "store/icons/image_list_pictures_win_test.h"
#include "store/icons/image_list_stream_win.h"
#include "tests/support/test_support_win.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orvane {
namespace {

using namespace pictures_test;

TEST(IconCaches, OfTheSamePicturesGiveTheSameListsAsReadingEach) {
    test::TempDir folder;
    auto write = [&](const wchar_t* name, HIMAGELIST list, const char* object) {
        std::vector<std::uint8_t> bytes = WriteImageListFile(list, object);
        test::WriteFileBytes(folder / name, std::string(bytes.begin(), bytes.end()));
        return folder / name;
    };
    UniqueImageList icons = IconList();
    UniqueImageList alpha = AlphaList();
    // A copy of a list, written with another capacity: its file differs from the list's, but not in
    // its pictures.
    UniqueImageList copy(::ImageList_Duplicate(icons.get()));
    EXPECT_TRUE(SamePictures(SaveImageListStream(icons.get()), SaveImageListStream(copy.get())));
    EXPECT_FALSE(SamePictures(SaveImageListStream(icons.get()), SaveImageListStream(alpha.get())));
    const std::wstring small = write(L"IconS.lst", icons.get(), kSmallImageListName);
    const std::wstring large = write(L"IconL.lst", copy.get(), kLargeImageListName);
    const std::wstring other = write(L"Other.lst", alpha.get(), kLargeImageListName);
    const std::wstring damaged = folder / L"Damaged.lst";
    test::WriteFileBytes(damaged, "TPF0");

    {
        // The same pictures: the large file gives the small file's list, which outlives the reader.
        SharedImageList first;
        SharedImageList second;
        {
            IconCacheReader reader;
            first = reader.Read(small, nullptr);
            ExpectSamePictures(icons.get(), first.get());
            second = reader.Read(large, first);
        }
        EXPECT_EQ(second, first);
        first.reset();
        ExpectSamePictures(icons.get(), second.get());
        EXPECT_EQ(::ImageList_GetBkColor(second.get()), ::ImageList_GetBkColor(icons.get()));
    }
    {
        // Other pictures are read as they are.
        IconCacheReader reader;
        SharedImageList first = reader.Read(small, nullptr);
        SharedImageList second = reader.Read(other, first);
        EXPECT_NE(second, first);
        ExpectSamePictures(alpha.get(), second.get());
    }
    {
        // After a damaged file nothing is shared; a damaged second file gives no list.
        IconCacheReader reader;
        EXPECT_FALSE(reader.Read(damaged, nullptr));
        SharedImageList unrelated = ShareImageList(AlphaList());
        ExpectSamePictures(icons.get(), reader.Read(large, unrelated).get());
        SharedImageList first = reader.Read(small, nullptr);
        EXPECT_FALSE(reader.Read(damaged, first));
    }
    IconCacheReader reader;
    EXPECT_THROW(reader.Read(folder / L"missing.lst", nullptr), ComError);

    // Read on a worker while the window is created, the two files give what reading them in turn
    // gives.
    {
        IconCacheLists lists = IconCachePreload(small, large).Take();
        EXPECT_FALSE(lists.small.error || lists.large.error);
        ASSERT_TRUE(lists.small.list && lists.large.list);
        ExpectSamePictures(icons.get(), lists.small.list->get());
        EXPECT_EQ(*lists.large.list, *lists.small.list);
    }
    {
        // Without the small file the large one is read as it is.
        IconCacheLists lists = IconCachePreload(folder / L"missing.lst", other).Take();
        EXPECT_FALSE(lists.small.error || lists.large.error);
        EXPECT_FALSE(lists.small.list);
        ASSERT_TRUE(lists.large.list);
        ExpectSamePictures(alpha.get(), lists.large.list->get());
    }
    {
        // A small file that another program holds without sharing is not read, and the error reaches
        // the taker; the large file is still read, as it is.
        UniqueFile lock(::CreateFileW(small.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(static_cast<bool>(lock));
        IconCacheLists lists = IconCachePreload(small, other).Take();
        EXPECT_FALSE(lists.small.list);
        ASSERT_TRUE(lists.small.error);
        EXPECT_THROW(std::rethrow_exception(lists.small.error), ComError);
        EXPECT_FALSE(lists.large.error);
        ASSERT_TRUE(lists.large.list);
        ExpectSamePictures(alpha.get(), lists.large.list->get());
    }
    {
        // A small file whose pictures lie eight to a row, as no writer lays them out, has rows for
        // half the bands of four that the system's reader walks through: it would read past the
        // bitmap (on the worker, at every start; 256 pictures take it off the mapped memory). It gives
        // no list, and the large file beside it is still read. The same pictures four to a row are read.
        test::TempDir data;
        auto cache = [&](const std::vector<std::uint8_t>& pictures) {
            ImageListCache list;
            list.name = kSmallImageListName;
            list.bitmap = pictures;
            std::vector<std::uint8_t> bytes = WriteImageListCache(list);
            test::WriteFileBytes(data / L"IconS.lst", std::string(bytes.begin(), bytes.end()));
        };
        const std::wstring genuine = data / L"IconL.lst";
        std::vector<std::uint8_t> alphaFile = WriteImageListFile(alpha.get(), kLargeImageListName);
        test::WriteFileBytes(genuine, std::string(alphaFile.begin(), alphaFile.end()));
        for (int count : {16, 256}) {
            cache(PicturesPerRow(count, 4));
            IconCacheLists lists = IconCachePreload(data / L"IconS.lst", genuine).Take();
            EXPECT_FALSE(lists.small.error);
            ASSERT_TRUE(lists.small.list && *lists.small.list);
            EXPECT_EQ(::ImageList_GetImageCount(lists.small.list->get()), count);

            cache(PicturesPerRow(count, 8));
            lists = IconCachePreload(data / L"IconS.lst", genuine).Take();
            EXPECT_FALSE(lists.small.error || lists.large.error);
            ASSERT_TRUE(lists.small.list && lists.large.list);
            EXPECT_FALSE(*lists.small.list) << count << " pictures eight to a row";
            ExpectSamePictures(alpha.get(), lists.large.list->get());
        }
    }
}

TEST(IconCaches, AListThatDiffersOnlyPastItsFirstMegabyteOfPicturesIsReadAsItIs) {
    // The two files are compared a megabyte at a time. The middle one of 600 pictures of 4 KB lies in
    // the second megabyte whichever way the bitmap's rows are stored.
    constexpr int kCount = 600;
    auto make = [](std::uint32_t middleColour) {
        UniqueImageList list(::ImageList_Create(kSize, kSize, ILC_COLOR32, kCount, 16));
        for (int i = 0; i < kCount; ++i) {
            UniqueBitmap picture = Picture(i == kCount / 2 ? middleColour : 0x00C08040u, i);
            EXPECT_EQ(::ImageList_Add(list.get(), picture.get(), nullptr), i);
        }
        return list;
    };
    UniqueImageList icons = make(0x00C08040u);
    UniqueImageList copy(::ImageList_Duplicate(icons.get()));
    UniqueImageList other = make(0x0000FF00u);
    test::TempDir folder;
    auto write = [&](const wchar_t* name, HIMAGELIST list) {
        std::vector<std::uint8_t> bytes = WriteImageListFile(list, kSmallImageListName);
        ASSERT_GT(bytes.size(), std::size_t{1} << 20);
        test::WriteFileBytes(folder / name, std::string(bytes.begin(), bytes.end()));
    };
    write(L"IconS.lst", icons.get());
    write(L"IconL.lst", copy.get());
    write(L"Other.lst", other.get());
    {
        IconCacheReader reader;
        SharedImageList first = reader.Read(folder / L"IconS.lst", nullptr);
        ASSERT_TRUE(first);
        EXPECT_EQ(reader.Read(folder / L"IconL.lst", first), first);
    }
    IconCacheReader reader;
    SharedImageList first = reader.Read(folder / L"IconS.lst", nullptr);
    SharedImageList second = reader.Read(folder / L"Other.lst", first);
    ASSERT_TRUE(second);
    EXPECT_NE(second, first);
    EXPECT_EQ(::ImageList_GetImageCount(second.get()), kCount);
    EXPECT_EQ(StoredBits(second.get(), kCount / 2), StoredBits(other.get(), kCount / 2));
    EXPECT_NE(StoredBits(second.get(), kCount / 2), StoredBits(first.get(), kCount / 2));
}

} // namespace
} // namespace orvane
