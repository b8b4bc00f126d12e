// Reads the two icon cache files on a worker thread, so that the window goes on drawing itself and
// answering what other threads send it meanwhile. The files are read exactly as IconCacheReader reads
// them one after the other ("IconS.lst", then "IconL.lst", which may give the first one's list again);
// the window takes the lists once they are read. Each file is read on its own: one that cannot be read
// does not keep the other from being read.
#pragma once

#include "system/handles_win.h"

#include <windows.h>

#include <exception>
#include <future>
#include <optional>
#include <string>

namespace orvane {

struct IconCacheFile {
    // Empty where the file does not exist or could not be read; a null list where it was damaged.
    std::optional<SharedImageList> list;
    // Why the file could not be read, if it could not.
    std::exception_ptr error;
};

struct IconCacheLists {
    IconCacheFile small;
    IconCacheFile large;
};

class IconCachePreload {
public:
    IconCachePreload(std::wstring smallPath, std::wstring largePath);
    IconCachePreload(IconCachePreload&&) noexcept = default;
    IconCachePreload& operator=(IconCachePreload&&) noexcept = default;
    // Waits for the worker: the lists it made are released with it.
    ~IconCachePreload() = default;

    // Signalled once both files are read, when Take no longer waits.
    HANDLE Ready() const noexcept { return ready_.get(); }
    bool IsRead() const noexcept { return ::WaitForSingleObject(ready_.get(), 0) == WAIT_OBJECT_0; }

    // Waits until both files are read; once only.
    IconCacheLists Take();

private:
    // Declared before the future, whose end waits for the worker that signals it.
    UniqueHandle ready_;
    std::future<IconCacheLists> lists_;
};

// Reads both files on the calling thread, in order.
IconCacheLists ReadIconCacheFiles(const std::wstring& smallPath, const std::wstring& largePath);

} // namespace orvane
