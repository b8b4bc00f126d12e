#include "store/icon_cache_reader_win.h"

#include "store/image_list_bytes.h"
#include "store/image_list_cache.h"
#include "store/image_list_stream_win.h"

namespace orvane {

UniqueImageList IconCacheReader::Read(const std::wstring& path, HIMAGELIST earlier) {
    auto file = std::make_unique<FileView>(path);
    ImageListCacheView cache;
    try {
        cache = ReadImageListCacheView(file->bytes(), ImageListCache{});
    } catch (const StreamError&) {
        return {};
    }
    if (earlier != nullptr && previous_ && SamePictures(cache.bitmap, previousPictures_)) {
        if (UniqueImageList copy{::ImageList_Duplicate(earlier)}) {
            return copy;
        }
    }
    UniqueImageList list = LoadImageListStream(cache.bitmap);
    previous_.reset();
    previousPictures_ = {};
    if (list) {
        previous_ = std::move(file);
        previousPictures_ = cache.bitmap;
    }
    return list;
}

} // namespace orvane
