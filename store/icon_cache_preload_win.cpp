#include "store/icon_cache_preload_win.h"

#include "store/icon_cache_reader_win.h"
#include "system/folders_win.h"

namespace orvane {

namespace {

void ReadIconCacheFile(IconCacheReader& reader, const std::wstring& path, const SharedImageList& earlier,
                       IconCacheFile& file) {
    if (!Norrow::IsExistingFile(path)) {
        return;
    }
    try {
        file.list = reader.Read(path, earlier);
    } catch (...) {
        file.error = std::current_exception();
    }
}

} // namespace

IconCacheLists ReadIconCacheFiles(const std::wstring& smallPath, const std::wstring& largePath) {
    IconCacheLists lists;
    IconCacheReader reader;
    ReadIconCacheFile(reader, smallPath, nullptr, lists.small);
    // The large list's file usually holds the small one's pictures: then it is that list.
    ReadIconCacheFile(reader, largePath, lists.small.list ? *lists.small.list : SharedImageList(),
                      lists.large);
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
