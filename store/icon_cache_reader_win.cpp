#include "store/icon_cache_reader_win.h"

#include "store/image_list_bytes.h"
#include "store/image_list_cache.h"
#include "store/image_list_stream_win.h"

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

SharedImageList IconCacheReader::Read(const std::wstring& path, const SharedImageList& earlier) {
    auto file = std::make_unique<FileView>(path);
    ImageListCacheView cache;
    try {
        cache = ReadImageListCacheView(file->bytes(), ImageListCache{});
    } catch (const StreamError&) {
        return {};
    }
    if (earlier && previous_) {
        const std::optional<BytePairs> pairs = PicturePairs(cache.bitmap, previousPictures_);
        if (pairs && SameBytes(*file, *previous_, *pairs)) {
            return earlier;
        }
    }
    SharedImageList list = ShareImageList(LoadImageListStream(*file, cache.bitmap));
    previous_.reset();
    previousPictures_ = {};
    if (list) {
        previous_ = std::move(file);
        previousPictures_ = cache.bitmap;
    }
    return list;
}

} // namespace orvane
