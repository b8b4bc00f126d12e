#include "store/icons/image_list_stream_win.h"

#include "store/file_view_win.h"
#include "store/icons/image_list_bands.h"
#include "store/icons/image_list_bytes.h"
#include "store/icons/image_list_cache.h"
#include "store/stream/span_stream_win.h"
#include "system/com_error_win.h"
#include "system/com_object_win.h"
#include "system/late_libraries_win.h"

#include <wrl/client.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <optional>

namespace orvane {
namespace {

using Microsoft::WRL::ComPtr;
using WriteExFunction = HRESULT(WINAPI*)(HIMAGELIST, DWORD, IStream*);

// ImageList_WriteEx of the comctl32 that the program's own image-list calls go to (version 6 under
// the program's manifest); mingw's import library lacks it, so it is looked up by name.
WriteExFunction FindWriteEx() {
    HMODULE comctl = nullptr;
    if (!::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                  GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                              reinterpret_cast<LPCWSTR>(&::ImageList_Write), &comctl)) {
        return nullptr;
    }
    return reinterpret_cast<WriteExFunction>(
        reinterpret_cast<void*>(::GetProcAddress(comctl, "ImageList_WriteEx")));
}

ComPtr<IStream> EmptyMemoryStream() {
    ComPtr<IStream> stream = Adopt(late::SHCreateMemStream(nullptr, 0));
    if (!stream) {
        throw ComError(E_OUTOFMEMORY, "Creating a memory stream");
    }
    return stream;
}

// Images a band. At 32 x 32 pixels a band's rows and its strip take 256 KB each, small enough for the
// system's allocator to hand the same memory back for every band (a megabyte a band took fresh pages
// each time and made the reading slower than the system's reader).
constexpr int kBandImages = 64;

// A DIB section of count images side by side, one image high, top row first, in the depth and colours
// of the stream's bitmap; its bits through `bits`.
UniqueBitmap StripBitmap(const ImageListBitmap& bitmap, int cx, int cy, int count, void** bits) {
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colours[256];
    } info{};
    info.header.biSize = sizeof info.header;
    info.header.biWidth = cx * count;
    info.header.biHeight = -cy;
    info.header.biPlanes = 1;
    info.header.biBitCount = static_cast<WORD>(bitmap.bits);
    info.header.biCompression = bitmap.compression;
    const std::size_t table = std::min(bitmap.colours.size(), sizeof info.colours);
    std::memcpy(info.colours, bitmap.colours.data(), table);
    info.header.biClrUsed = bitmap.bits <= 8 ? static_cast<DWORD>(table / sizeof(RGBQUAD)) : 0;
    return UniqueBitmap(
        ::CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, bits, nullptr, 0));
}

// One of the stream's bitmaps taken out a band at a time: the band's rows as read, and the strip the
// band's images are laid out in, kept from band to band while the bands are full.
class StripMaker {
public:
    StripMaker(const ImageListLayout& layout, const ImageListBitmap& bitmap)
        : layout_(layout), bitmap_(bitmap) {}

    // The strip of images [first, first + count), null where the system gives no bitmap.
    template <typename Read> HBITMAP Make(int first, int count, const Read& read) {
        const std::span<const std::uint8_t> band = BandBytes(bitmap_, layout_.cy, first, count);
        rows_.resize(band.size());
        read(band, rows_);
        if (!strip_ || count != count_) {
            strip_ = StripBitmap(bitmap_, layout_.cx, layout_.cy, count, &bits_);
            count_ = count;
        }
        if (!strip_ || bits_ == nullptr) {
            return nullptr;
        }
        const std::size_t size =
            StripStride(bitmap_, layout_.cx, count) * static_cast<std::size_t>(layout_.cy);
        ::GdiFlush();
        CopyBandToStrip(bitmap_, layout_.cx, layout_.cy, first, count, rows_,
                        std::span(static_cast<std::uint8_t*>(bits_), size));
        return strip_.get();
    }

private:
    const ImageListLayout& layout_;
    const ImageListBitmap& bitmap_;
    std::vector<std::uint8_t> rows_;
    UniqueBitmap strip_;
    void* bits_ = nullptr;
    int count_ = 0;
};

// The list of a complete stream whose bitmaps have plain 40-byte headers (what every writer writes),
// built from its header and its pictures added a band at a time with ImageList_Add: the whole bitmap
// is never in memory besides the list. None for any other stream, which is left to the system's reader;
// a null list where the system refuses a step. read(part, buffer) copies a part of the stream.
template <typename Read>
std::optional<UniqueImageList> LoadInBands(std::span<const std::uint8_t> stream, const Read& read) {
    const std::optional<ImageListLayout> layout = DescribeImageListStream(stream);
    if (!layout || layout->image.infoSize != sizeof(BITMAPINFOHEADER) ||
        (layout->mask && layout->mask->infoSize != sizeof(BITMAPINFOHEADER))) {
        return std::nullopt;
    }
    UniqueImageList list(
        ::ImageList_Create(layout->cx, layout->cy, layout->flags, layout->count, layout->grow));
    if (!list) {
        return UniqueImageList();
    }
    ::ImageList_SetBkColor(list.get(), layout->background);
    StripMaker images(*layout, layout->image);
    std::optional<StripMaker> masks;
    if (layout->mask) {
        masks.emplace(*layout, *layout->mask);
    }
    for (int first = 0; first < layout->count; first += kBandImages) {
        const int count = std::min(kBandImages, layout->count - first);
        HBITMAP image = images.Make(first, count, read);
        HBITMAP mask = masks ? masks->Make(first, count, read) : nullptr;
        if (image == nullptr || (masks && mask == nullptr) ||
            ::ImageList_Add(list.get(), image, mask) != first) {
            return UniqueImageList();
        }
    }
    for (std::size_t i = 0; i < layout->overlays.size(); ++i) {
        if (layout->overlays[i] >= 0) {
            ::ImageList_SetOverlayImage(list.get(), layout->overlays[i], static_cast<int>(i) + 1);
        }
    }
    return list;
}

} // namespace

std::vector<std::uint8_t> SaveImageListStream(HIMAGELIST list) {
    ComPtr<IStream> stream = EmptyMemoryStream();
    if (WriteExFunction writeEx = FindWriteEx()) {
        ThrowIfFailed(writeEx(list, ILP_DOWNLEVEL, stream.Get()), "Writing an image list");
    } else if (!::ImageList_Write(list, stream.Get())) {
        throw ComError(E_FAIL, "Writing an image list");
    }
    ULARGE_INTEGER end{};
    ThrowIfFailed(stream->Seek(LARGE_INTEGER{}, STREAM_SEEK_CUR, &end), "Writing an image list");
    ThrowIfFailed(stream->Seek(LARGE_INTEGER{}, STREAM_SEEK_SET, nullptr), "Writing an image list");
    if (end.QuadPart > UINT_MAX) {
        throw ComError(E_OUTOFMEMORY, "Writing an image list");
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(end.QuadPart));
    ULONG read = 0;
    ThrowIfFailed(stream->Read(bytes.data(), static_cast<ULONG>(bytes.size()), &read),
                  "Writing an image list");
    bytes.resize(read);
    return bytes;
}

UniqueImageList LoadImageListStream(std::span<const std::uint8_t> bytes) {
    if (std::optional<UniqueImageList> list =
            LoadInBands(bytes, [](std::span<const std::uint8_t> part, std::span<std::uint8_t> buffer) {
                std::memcpy(buffer.data(), part.data(), std::min(part.size(), buffer.size()));
            })) {
        return std::move(*list);
    }
    // A damaged stream never reaches the system's reader, which may trust its sizes.
    if (CheckImageListStream(bytes) == ImageListStreamCheck::ilsDamaged) {
        return {};
    }
    // Read where the bytes lie: a copy into a memory stream would cost as much again.
    ComPtr<IStream> stream = ReadOnlyStream(bytes);
    return UniqueImageList(::ImageList_Read(stream.Get()));
}

UniqueImageList LoadImageListStream(const FileView& file, std::span<const std::uint8_t> part) {
    // The layout is read from the headers only; the pictures come from the file a band at a time.
    if (std::optional<UniqueImageList> list =
            LoadInBands(part, [&file](std::span<const std::uint8_t> from, std::span<std::uint8_t> to) {
                file.Read(from, to);
            })) {
        return std::move(*list);
    }
    if (CheckImageListStream(part) == ImageListStreamCheck::ilsDamaged) {
        return {};
    }
    ComPtr<IStream> stream = ReadOnlyStream(file, part);
    return UniqueImageList(::ImageList_Read(stream.Get()));
}

ImageListCache ImageListCacheOf(HIMAGELIST list, const char* name) {
    ImageListCache cache;
    cache.name = name;
    int cx = 0;
    int cy = 0;
    if (::ImageList_GetIconSize(list, &cx, &cy)) {
        cache.width = cx;
        cache.height = cy;
    }
    if (::ImageList_GetImageCount(list) > 0) {
        cache.bitmap = SaveImageListStream(list);
    }
    return cache;
}

std::vector<std::uint8_t> WriteImageListFile(HIMAGELIST list, const char* name) {
    return WriteImageListCache(ImageListCacheOf(list, name));
}

UniqueImageList ReadImageListFile(std::span<const std::uint8_t> bytes) {
    ImageListCacheView cache;
    try {
        cache = ReadImageListCacheView(bytes, ImageListCache{});
    } catch (const StreamError&) {
        return {};
    }
    return LoadImageListStream(cache.bitmap);
}

} // namespace orvane
