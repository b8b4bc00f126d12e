#include "store/image_list_stream_win.h"

#include "store/image_list_bytes.h"
#include "store/image_list_cache.h"
#include "store/span_stream_win.h"
#include "system/com_error_win.h"
#include "system/com_object_win.h"
#include "system/late_libraries_win.h"

#include <wrl/client.h>

#include <climits>

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
    // A damaged stream never reaches the system's reader, which may trust its sizes.
    if (CheckImageListStream(bytes) == ImageListStreamCheck::ilsDamaged) {
        return {};
    }
    // Read where the bytes lie: a copy into a memory stream would cost as much again.
    ComPtr<IStream> stream = ReadOnlyStream(bytes);
    return UniqueImageList(::ImageList_Read(stream.Get()));
}

UniqueImageList LoadImageListStream(const FileView& file, std::span<const std::uint8_t> part) {
    // The check reads the headers only; the pictures come from the file as the reader asks for them.
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
