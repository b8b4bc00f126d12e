#include "store/image_list_stream_win.h"

#include "store/icon_cache_preload_win.h"
#include "store/icon_cache_reader_win.h"
#include "store/image_list_bytes.h"
#include "store/image_list_cache.h"
#include "system/com_error_win.h"
#include "system/com_object_win.h"
#include "system/late_libraries_win.h"
#include "tests/support/test_support_win.h"

#include <gtest/gtest.h>
#include <wrl/client.h>

#include <array>
#include <cstring>

namespace orvane {
namespace {

constexpr int kSize = 32;
using Pixels = std::vector<std::uint32_t>;

BITMAPINFO TopDown32(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

// A 32 x 32 picture with premultiplied alpha: opaque stripes of the colour, a half-transparent band and
// a fully transparent corner, so every image of a test differs and the alpha channel matters.
UniqueBitmap Picture(std::uint32_t rgb, int seed) {
    BITMAPINFO info = TopDown32(kSize, kSize);
    void* bits = nullptr;
    UniqueBitmap bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap) {
        throw ComError(E_FAIL, "CreateDIBSection");
    }
    auto* px = static_cast<std::uint32_t*>(bits);
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            std::uint32_t alpha = (x + y < 6) ? 0 : ((y + seed) % 8 < 3 ? 0x80 : 0xFF);
            std::uint32_t colour = ((x / 4 + seed) % 2 == 0) ? rgb : (rgb ^ 0x00FFFFFF);
            auto channel = [&](int shift) { return (((colour >> shift) & 0xFF) * alpha / 255) << shift; };
            px[y * kSize + x] = (alpha << 24) | channel(16) | channel(8) | channel(0);
        }
    }
    return bitmap;
}

// Image i of the list drawn over a plain background.
Pixels Drawn(HIMAGELIST list, int index, std::uint32_t background) {
    BITMAPINFO info = TopDown32(kSize, kSize);
    void* bits = nullptr;
    UniqueBitmap target(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    ::ReleaseDC(nullptr, screen);
    HGDIOBJ old = ::SelectObject(dc, target.get());
    auto* px = static_cast<std::uint32_t*>(bits);
    std::fill(px, px + kSize * kSize, background);
    ::ImageList_Draw(list, index, dc, 0, 0, ILD_NORMAL);
    ::GdiFlush();
    Pixels out(px, px + kSize * kSize);
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    return out;
}

// The stored colour and alpha bits of image i.
Pixels StoredBits(HIMAGELIST list, int index) {
    IMAGEINFO image{};
    if (!::ImageList_GetImageInfo(list, index, &image)) {
        return {};
    }
    BITMAP bm{};
    ::GetObjectW(image.hbmImage, sizeof bm, &bm);
    Pixels all(static_cast<std::size_t>(bm.bmWidth) * bm.bmHeight);
    BITMAPINFO info = TopDown32(bm.bmWidth, bm.bmHeight);
    HDC screen = ::GetDC(nullptr);
    ::GetDIBits(screen, image.hbmImage, 0, static_cast<UINT>(bm.bmHeight), all.data(), &info, DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    Pixels out;
    for (LONG y = image.rcImage.top; y < image.rcImage.bottom; ++y) {
        for (LONG x = image.rcImage.left; x < image.rcImage.right; ++x) {
            out.push_back(all[static_cast<std::size_t>(y) * bm.bmWidth + x]);
        }
    }
    return out;
}

UniqueImageList AlphaList() {
    UniqueImageList list(::ImageList_Create(kSize, kSize, ILC_COLOR32, 4, 4));
    const std::array<std::uint32_t, 3> colours = {0x00C08040, 0x00102030, 0x0000FF00};
    for (int i = 0; i < 3; ++i) {
        UniqueBitmap picture = Picture(colours[static_cast<std::size_t>(i)], i);
        EXPECT_EQ(::ImageList_Add(list.get(), picture.get(), nullptr), i);
    }
    return list;
}

UniqueImageList IconList() {
    UniqueImageList list(::ImageList_Create(kSize, kSize, ILC_COLOR32 | ILC_MASK, 4, 4));
    for (int i = 0; i < 3; ++i) {
        UniqueBitmap colour = Picture(0x00336699u + static_cast<std::uint32_t>(i) * 0x00221100u, i + 3);
        UniqueBitmap mask(::CreateBitmap(kSize, kSize, 1, 1, nullptr));
        ICONINFO info{TRUE, 0, 0, mask.get(), colour.get()};
        UniqueIcon icon(::CreateIconIndirect(&info));
        EXPECT_EQ(::ImageList_ReplaceIcon(list.get(), -1, icon.get()), i);
    }
    return list;
}

// The stream of count opaque 32 x 32 pictures of a list without a mask (ILC_COLOR32), laid out perRow
// to a row of a bottom-up bitmap just tall enough for them. Every writer lays them out four to a row.
std::vector<std::uint8_t> PicturesPerRow(int count, int perRow) {
    std::vector<std::uint8_t> b = {'I', 'L'};
    auto put = [&](std::uint32_t v, int size) {
        for (int i = 0; i < size; ++i) {
            b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
        }
    };
    const auto width = static_cast<std::uint32_t>(kSize * perRow);
    const auto height = static_cast<std::uint32_t>(kSize * ((count + perRow - 1) / perRow));
    put(0x0101, 2);
    put(static_cast<std::uint32_t>(count), 2); // images
    put(static_cast<std::uint32_t>(count), 2); // room for them
    put(4, 2);                                 // growth
    put(kSize, 2);
    put(kSize, 2);
    put(CLR_NONE, 4);
    put(ILC_COLOR32, 2);
    for (int overlay = 0; overlay < 4; ++overlay) {
        put(0xFFFF, 2);
    }
    put('B' | ('M' << 8), 2);
    put(14 + 40 + width * height * 4, 4);
    put(0, 4);
    put(14 + 40, 4);
    put(40, 4);
    put(width, 4);
    put(height, 4);
    put(1, 2);
    put(32, 2);
    b.insert(b.end(), 24, 0); // BI_RGB, image size, resolution, colours
    for (std::uint32_t i = 0; i < width * height; ++i) {
        put(0xFF000000u | (i * 2654435761u >> 8), 4);
    }
    return b;
}

void ExpectSamePictures(HIMAGELIST original, HIMAGELIST copy) {
    ASSERT_NE(copy, nullptr);
    ASSERT_EQ(::ImageList_GetImageCount(copy), ::ImageList_GetImageCount(original));
    int cx = 0;
    int cy = 0;
    ASSERT_TRUE(::ImageList_GetIconSize(copy, &cx, &cy));
    EXPECT_EQ(cx, kSize);
    EXPECT_EQ(cy, kSize);
    for (int i = 0; i < ::ImageList_GetImageCount(original); ++i) {
        Pixels stored = StoredBits(original, i);
        ASSERT_EQ(stored.size(), static_cast<std::size_t>(kSize * kSize));
        EXPECT_EQ(StoredBits(copy, i), stored) << "image " << i;
        for (std::uint32_t background : {0x00000000u, 0x00FFFFFFu}) {
            EXPECT_EQ(Drawn(copy, i, background), Drawn(original, i, background)) << "image " << i;
        }
    }
    // The pictures differ from each other, so a list that lost or mixed them up would not pass.
    EXPECT_NE(Drawn(original, 0, 0), Drawn(original, 1, 0));
    EXPECT_NE(StoredBits(original, 0), StoredBits(original, 1));
}

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

TEST(ImageListStream, IconCachesOfTheSamePicturesGiveTheSameListsAsReadingEach) {
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

TEST(ImageListStream, AListThatDiffersOnlyPastItsFirstMegabyteOfPicturesIsReadAsItIs) {
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
