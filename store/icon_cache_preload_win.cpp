#include "store/icon_cache_preload_win.h"

#include "store/icon_cache_reader_win.h"
#include "system/folders_win.h"

namespace orvane {

IconCacheLists ReadIconCacheFiles(const std::wstring& smallPath, const std::wstring& largePath) {
    IconCacheLists lists;
    try {
        IconCacheReader reader;
        if (Norrow::IsExistingFile(smallPath)) {
            lists.small = reader.Read(smallPath, nullptr);
        }
        if (Norrow::IsExistingFile(largePath)) {
            // The large list's file usually holds the small one's pictures: then it is that list.
            lists.large = reader.Read(largePath, lists.small ? *lists.small : SharedImageList());
        }
    } catch (...) {
        lists.error = std::current_exception();
    }
    return lists;
}

IconCachePreload::IconCachePreload(std::wstring smallPath, std::wstring largePath)
    : lists_(std::async(std::launch::async, [small = std::move(smallPath), large = std::move(largePath)] {
          return ReadIconCacheFiles(small, large);
      })) {}

IconCacheLists IconCachePreload::Take() {
    return lists_.get();
}

} // namespace orvane
