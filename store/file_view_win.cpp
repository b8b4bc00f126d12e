#include "store/file_view_win.h"

#include "store/atomic_file_win.h"
#include "system/com_error_win.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

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

void FileView::Read(std::span<const std::uint8_t> part, std::span<std::uint8_t> buffer) const {
    if (part.data() < bytes_.data() || part.size() > bytes_.size() ||
        static_cast<std::size_t>(part.data() - bytes_.data()) > bytes_.size() - part.size()) {
        throw std::out_of_range("a part outside the file's bytes");
    }
    const std::size_t count = std::min(part.size(), buffer.size());
    if (count == 0) {
        return;
    }
    if (view_ == nullptr) {
        std::memcpy(buffer.data(), part.data(), count);
        return;
    }
    auto offset = static_cast<std::uint64_t>(part.data() - bytes_.data());
    for (std::size_t done = 0; done < count;) {
        OVERLAPPED at{};
        at.Offset = static_cast<DWORD>(offset & 0xFFFFFFFFu);
        at.OffsetHigh = static_cast<DWORD>(offset >> 32);
        DWORD read = 0;
        const auto ask = static_cast<DWORD>(std::min<std::size_t>(count - done, 1u << 30));
        if (!::ReadFile(file_.get(), buffer.data() + done, ask, &read, &at) || read == 0) {
            const DWORD error = ::GetLastError();
            throw ComError(HRESULT_FROM_WIN32(error != ERROR_SUCCESS ? error : ERROR_HANDLE_EOF),
                           "ReadFile of a mapped file");
        }
        done += read;
        offset += read;
    }
}

FileView::~FileView() {
    if (view_ != nullptr) {
        ::UnmapViewOfFile(view_);
    }
}

} // namespace orvane
