// The pictures of an image list as bytes: the common controls image-list stream (beginning "IL"), and
// the whole "IconS.lst" / "IconL.lst" files built on it.
#pragma once

// The image-list stream functions of commctrl.h are declared only once IStream is.
#include <windows.h>
#include <objidl.h>

#include "store/icons/image_list_cache.h"
#include "system/handles_win.h"

#include <cstdint>
#include <span>
#include <vector>

namespace orvane {

// The list's image-list stream, written with ImageList_WriteEx(ILP_DOWNLEVEL) where comctl32 has it,
// else ImageList_Write. Throws ComError when the list cannot be written.
std::vector<std::uint8_t> SaveImageListStream(HIMAGELIST list);

// A new image list read from such a stream (ImageList_Read); null when the bytes are not one or are
// damaged (checked by CheckImageListStream first).
UniqueImageList LoadImageListStream(std::span<const std::uint8_t> bytes);

class FileView;

// The same for a stream that is part of a file's bytes, read from the file rather than its mapping.
UniqueImageList LoadImageListStream(const FileView& file, std::span<const std::uint8_t> part);

// What the cache file of an image list holds: its name ("ImageListS" or "ImageListL"), image size and
// pictures; an empty list has no pictures. Throws ComError as SaveImageListStream does.
ImageListCache ImageListCacheOf(HIMAGELIST list, const char* name);

// The whole cache file of an image list, WriteImageListCache(ImageListCacheOf(list, name)).
std::vector<std::uint8_t> WriteImageListFile(HIMAGELIST list, const char* name);

// The image list of a cache file; null when the file is damaged, is not an image list's, or holds no
// pictures. The caller puts the returned list in place of its own (or empties its own for null).
UniqueImageList ReadImageListFile(std::span<const std::uint8_t> bytes);

} // namespace orvane
