#include "store/icon_cache_preload_win.h"

#include "store/icon_cache_reader_win.h"
#include "system/folders_win.h"

#include <mutex>

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

// What the worker tells when it is done: an event to wait on, and the window to post to.
struct IconCachePreload::Done {
    UniqueHandle event{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    std::mutex lock;
    bool read = false;
    HWND window = nullptr;
    UINT message = 0;

    void Tell() {
        const std::lock_guard<std::mutex> hold(lock);
        read = true;
        ::SetEvent(event.get());
        if (window != nullptr) {
            ::PostMessageW(window, message, 0, 0);
        }
    }
};

IconCachePreload::IconCachePreload(std::wstring smallPath, std::wstring largePath)
    : done_(std::make_shared<Done>()),
      lists_(std::async(std::launch::async,
                        [small = std::move(smallPath), large = std::move(largePath), done = done_] {
                            IconCacheLists lists = ReadIconCacheFiles(small, large);
                            done->Tell();
                            return lists;
                        })) {}

HANDLE IconCachePreload::Ready() const noexcept {
    return done_->event.get();
}

bool IconCachePreload::IsRead() const noexcept {
    return ::WaitForSingleObject(Ready(), 0) == WAIT_OBJECT_0;
}

void IconCachePreload::PostWhenRead(HWND window, UINT message) {
    const std::lock_guard<std::mutex> hold(done_->lock);
    if (done_->read) {
        ::PostMessageW(window, message, 0, 0);
        return;
    }
    done_->window = window;
    done_->message = message;
}

IconCacheLists IconCachePreload::Take() {
    return lists_.get();
}

} // namespace orvane
