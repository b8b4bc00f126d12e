#include "store/file_view_win.h"

#include "store/atomic_file_win.h"

namespace orvane {
namespace {

// Larger files are left to ReadWholeFile, which refuses them as it always did.
constexpr LONGLONG kLargestMapped = LONGLONG{1} << 30;

} // namespace

FileView::FileView(const std::wstring& path) {
    // Shared for reading only: no one changes the bytes while they are looked at in place.
    file_.reset(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (file_ && ::GetFileSizeEx(file_.get(), &size) && size.QuadPart <= kLargestMapped) {
        if (size.QuadPart == 0) {
            return; // nothing to map
        }
        mapping_.reset(::CreateFileMappingW(file_.get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
        if (mapping_) {
            view_ = ::MapViewOfFile(mapping_.get(), FILE_MAP_READ, 0, 0, 0);
        }
        if (view_ != nullptr) {
            bytes_ =
                std::span(static_cast<const std::uint8_t*>(view_), static_cast<std::size_t>(size.QuadPart));
            return;
        }
    }
    mapping_.reset();
    file_.reset();
    copy_ = ReadWholeFile(path);
    bytes_ = copy_;
}

FileView::~FileView() {
    if (view_ != nullptr) {
        ::UnmapViewOfFile(view_);
    }
}

} // namespace orvane
