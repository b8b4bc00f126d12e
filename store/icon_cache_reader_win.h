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
#include <span>
#include <string>

namespace orvane {

class IconCacheReader {
public:
    // The image list of a cache file, or null for a damaged file or one without pictures, as
    // ReadImageListFile gives; earlier is the list that the file read before gave, and is given back
    // when this file holds its pictures. Throws ComError when the file cannot be read.
    SharedImageList Read(const std::wstring& path, const SharedImageList& earlier);

private:
    // The file read before and its pictures, while they gave a list.
    std::unique_ptr<FileView> previous_;
    std::span<const std::uint8_t> previousPictures_;
};

} // namespace orvane
