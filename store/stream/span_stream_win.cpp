#include "store/stream/span_stream_win.h"

#include "store/file_view_win.h"
#include "system/com_object_win.h"

#include <algorithm>
#include <cstring>
#include <exception>

namespace orvane {
namespace {

class SpanStream final : public ComObject<IStream, ISequentialStream> {
public:
    SpanStream(std::span<const std::uint8_t> bytes, const FileView* file) : bytes_(bytes), file_(file) {}

    HRESULT STDMETHODCALLTYPE Read(void* buffer, ULONG size, ULONG* read) override {
        if (buffer == nullptr && size != 0) {
            return STG_E_INVALIDPOINTER;
        }
        const std::size_t available = position_ < bytes_.size() ? bytes_.size() - position_ : 0;
        const auto count = static_cast<ULONG>(std::min<std::size_t>(size, available));
        if (count > 0) {
            const auto part = bytes_.subspan(position_, count);
            if (file_ == nullptr) {
                std::memcpy(buffer, part.data(), count);
            } else {
                try {
                    file_->Read(part, std::span(static_cast<std::uint8_t*>(buffer), count));
                } catch (const std::exception&) {
                    if (read != nullptr) {
                        *read = 0;
                    }
                    return STG_E_READFAULT;
                }
            }
            position_ += count;
        }
        if (read != nullptr) {
            *read = count;
        }
        return count == size ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Write(const void*, ULONG, ULONG* written) override {
        if (written != nullptr) {
            *written = 0;
        }
        return STG_E_ACCESSDENIED;
    }
    HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* newPosition) override {
        LONGLONG base = 0;
        switch (origin) {
        case STREAM_SEEK_SET:
            break;
        case STREAM_SEEK_CUR:
            base = static_cast<LONGLONG>(position_);
            break;
        case STREAM_SEEK_END:
            base = static_cast<LONGLONG>(bytes_.size());
            break;
        default:
            return STG_E_INVALIDFUNCTION;
        }
        const LONGLONG target = base + move.QuadPart;
        if (target < 0) {
            return STG_E_INVALIDFUNCTION;
        }
        position_ = static_cast<std::size_t>(target);
        if (newPosition != nullptr) {
            newPosition->QuadPart = static_cast<ULONGLONG>(target);
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Stat(STATSTG* stat, DWORD) override {
        if (stat == nullptr) {
            return STG_E_INVALIDPOINTER;
        }
        *stat = STATSTG{};
        stat->type = STGTY_STREAM;
        stat->cbSize.QuadPart = bytes_.size();
        stat->grfMode = STGM_READ;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER) override { return STG_E_ACCESSDENIED; }
    HRESULT STDMETHODCALLTYPE CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*, ULARGE_INTEGER*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Commit(DWORD) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Revert() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override {
        return STG_E_INVALIDFUNCTION;
    }
    HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override {
        return STG_E_INVALIDFUNCTION;
    }
    HRESULT STDMETHODCALLTYPE Clone(IStream**) override { return E_NOTIMPL; }

private:
    ~SpanStream() override = default;

    std::span<const std::uint8_t> bytes_;
    const FileView* file_;
    std::size_t position_ = 0;
};

} // namespace

Microsoft::WRL::ComPtr<IStream> ReadOnlyStream(std::span<const std::uint8_t> bytes) {
    return Adopt<IStream>(new SpanStream(bytes, nullptr));
}

Microsoft::WRL::ComPtr<IStream> ReadOnlyStream(const FileView& file, std::span<const std::uint8_t> part) {
    return Adopt<IStream>(new SpanStream(part, &file));
}

} // namespace orvane
