#include "store/icons/icon_cache_reader_win.h"

#include "store/icons/image_list_bytes.h"
#include "store/icons/image_list_cache.h"
#include "store/icons/image_list_stream_win.h"

#include <algorithm>
#include <vector>

namespace orvane {
namespace {

// Whether each pair of parts, the first of a's bytes and the second of b's, holds the same bytes, read
// from the two files a piece at a time: megabytes of pictures compared once need not stay in memory.
bool SameBytes(const FileView& a, const FileView& b, const BytePairs& pairs) {
    // A quarter of a megabyte a piece: the system's allocator hands the same memory back for each.
    constexpr std::size_t kPiece = std::size_t{1} << 18;
    std::vector<std::uint8_t> x;
    std::vector<std::uint8_t> y;
    for (const auto& [first, second] : pairs) {
        for (std::size_t at = 0; at < first.size(); at += kPiece) {
            const std::size_t size = std::min(kPiece, first.size() - at);
            x.resize(size);
            y.resize(size);
            a.Read(first.subspan(at, size), x);
            b.Read(second.subspan(at, size), y);
            if (x != y) {
                return false;
            }
        }
    }
    return true;
}

} // namespace

OpenedIconCache OpenIconCache(const std::wstring& path) {
    OpenedIconCache cache;
    cache.file = std::make_unique<FileView>(path);
    try {
        cache.pictures = ReadImageListCacheView(cache.file->bytes(), ImageListCache{}).bitmap;
    } catch (const StreamError&) {
        cache.damaged = true;
    }
    return cache;
}

bool SameIconCachePictures(const OpenedIconCache& a, const OpenedIconCache& b) {
    if (a.damaged || b.damaged) {
        return false;
    }
    const std::optional<BytePairs> pairs = PicturePairs(a.pictures, b.pictures);
    return pairs && SameBytes(*a.file, *b.file, *pairs);
}

SharedImageList LoadIconCache(const OpenedIconCache& cache) {
    if (cache.damaged) {
        return {};
    }
    return ShareImageList(LoadImageListStream(*cache.file, cache.pictures));
}

SharedImageList IconCacheReader::Read(const std::wstring& path, const SharedImageList& earlier) {
    OpenedIconCache cache = OpenIconCache(path);
    if (earlier && previous_ && SameIconCachePictures(cache, *previous_)) {
        return earlier;
    }
    SharedImageList list = LoadIconCache(cache);
    previous_.reset();
    if (list) {
        previous_ = std::move(cache);
    }
    return list;
}

} // namespace orvane
