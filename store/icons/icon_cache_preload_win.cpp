#include "store/icons/icon_cache_preload_win.h"

#include "store/icons/icon_cache_reader_win.h"
#include "system/folders_win.h"

#include <optional>

namespace orvane {

namespace {

// Runs one step of reading a file; an exception is the file's error, and ends its reading.
template <typename Step> void ReadStep(IconCacheFile& file, const Step& step) {
    if (file.error) {
        return;
    }
    try {
        step();
    } catch (...) {
        file.error = std::current_exception();
    }
}

} // namespace

IconCacheLists ReadIconCacheFiles(const std::wstring& smallPath, const std::wstring& largePath) {
    IconCacheLists lists;
    std::optional<OpenedIconCache> small;
    std::optional<OpenedIconCache> large;
    if (Norrow::IsExistingFile(smallPath)) {
        ReadStep(lists.small, [&] { small = OpenIconCache(smallPath); });
    }
    if (Norrow::IsExistingFile(largePath)) {
        ReadStep(lists.large, [&] { large = OpenIconCache(largePath); });
    }
    // The large list's file usually holds the small one's pictures: then it is that list. The files are
    // compared before either list is made, so the comparison's buffers never come on top of pictures.
    bool same = false;
    if (small && large) {
        ReadStep(lists.large, [&] { same = SameIconCachePictures(*small, *large); });
    }
    // Each file lets go of its mapped pages as soon as it is done with: the headers read through the
    // mapping keep about a megabyte of it in memory.
    if (same) {
        large.reset();
    }
    if (small) {
        ReadStep(lists.small, [&] { lists.small.list = LoadIconCache(*small); });
        small.reset();
    }
    if (same && lists.small.list && *lists.small.list) {
        lists.large.list = *lists.small.list;
    } else if (same || large) {
        // The large file, let go while the small list was made, is opened again when it must give a list
        // of its own after all.
        ReadStep(lists.large, [&] {
            if (!large) {
                large = OpenIconCache(largePath);
            }
            lists.large.list = LoadIconCache(*large);
        });
    }
    return lists;
}

IconCachePreload::IconCachePreload(std::wstring smallPath, std::wstring largePath)
    : ready_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      lists_(std::async(std::launch::async,
                        [small = std::move(smallPath), large = std::move(largePath), ready = ready_.get()] {
                            IconCacheLists lists = ReadIconCacheFiles(small, large);
                            ::SetEvent(ready);
                            return lists;
                        })) {}

IconCacheLists IconCachePreload::Take() {
    return lists_.get();
}

} // namespace orvane
