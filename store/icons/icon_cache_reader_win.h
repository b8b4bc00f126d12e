// Reads "IconS.lst" and then "IconL.lst", the files of the two image lists, which hold the same pictures
// at the same size. When a file's pictures are those of the file read before it (SamePictures: the same
// bytes in every image, whatever capacity each list was written with), as when the program wrote both
// lists at one close, the earlier list serves for it as well instead of being read a second time;
// when they differ, each is read. The pictures are read and compared through the files, not their
// mappings, so that they are in the process's memory once, in the image list.
#pragma once

#include "store/file_view_win.h"
#include "system/handles_win.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

namespace orvane {

// A cache file opened and its pictures found in it, not yet read.
struct OpenedIconCache {
    std::unique_ptr<FileView> file;
    // Where the pictures lie in the file; empty for a damaged file or one without pictures.
    std::span<const std::uint8_t> pictures;
    bool damaged = false;
};
// Throws ComError when the file cannot be read.
OpenedIconCache OpenIconCache(const std::wstring& path);
// Whether the two files' pictures are the same (SamePictures), compared through the files a piece at a
// time.
bool SameIconCachePictures(const OpenedIconCache& a, const OpenedIconCache& b);
// The image list of the file's pictures; null for a damaged file or one without pictures. Throws
// ComError when the file cannot be read.
SharedImageList LoadIconCache(const OpenedIconCache& cache);

class IconCacheReader {
public:
    // The image list of a cache file, or null for a damaged file or one without pictures, as
    // ReadImageListFile gives; earlier is the list that the file read before gave, and is given back
    // when this file holds its pictures. Throws ComError when the file cannot be read.
    SharedImageList Read(const std::wstring& path, const SharedImageList& earlier);

private:
    // The file read before, while it gave a list.
    std::optional<OpenedIconCache> previous_;
};

} // namespace orvane
