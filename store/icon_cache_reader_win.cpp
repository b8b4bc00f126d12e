#include "store/icon_cache_reader_win.h"

#include "store/image_list_bytes.h"
#include "store/image_list_cache.h"
#include "store/image_list_stream_win.h"

namespace orvane {

SharedImageList IconCacheReader::Read(const std::wstring& path, const SharedImageList& earlier) {
    auto file = std::make_unique<FileView>(path);
    ImageListCacheView cache;
    try {
        cache = ReadImageListCacheView(file->bytes(), ImageListCache{});
    } catch (const StreamError&) {
        return {};
    }
    if (earlier && previous_ && SamePictures(cache.bitmap, previousPictures_)) {
        return earlier;
    }
    SharedImageList list = ShareImageList(LoadImageListStream(cache.bitmap));
    previous_.reset();
    previousPictures_ = {};
    if (list) {
        previous_ = std::move(file);
        previousPictures_ = cache.bitmap;
    }
    return list;
}

} // namespace orvane
