#include "store/atomic_file_win.h"

#include "system/com_error_win.h"
#include "system/handles_win.h"
#include "system/text_codec.h"

#include <algorithm>
#include <atomic>
#include <cstdio>

namespace orvane {
namespace {

// Largest file the program reads whole; its caches are far smaller.
constexpr LONGLONG kMaxReadSize = LONGLONG{1} << 30;
constexpr DWORD kChunk = 1u << 20;

std::atomic<unsigned> tempCounter{0};

[[noreturn]] void ThrowSystemError(DWORD error, const char* action, const std::wstring& path) {
    throw ComError(HRESULT_FROM_WIN32(error), std::string(action) + " \"" + ToUtf8(path) + "\"");
}

// Removes the temporary file when the write does not reach its end.
class TempFileGuard {
public:
    explicit TempFileGuard(std::wstring path) : path_(std::move(path)) {}
    TempFileGuard(const TempFileGuard&) = delete;
    TempFileGuard& operator=(const TempFileGuard&) = delete;
    ~TempFileGuard() {
        if (!path_.empty()) {
            ::DeleteFileW(path_.c_str());
        }
    }
    void Release() noexcept { path_.clear(); }

private:
    std::wstring path_;
};

// A new, empty file beside path: "<path>.<process>-<n>.tmp".
UniqueFile CreateTempBeside(const std::wstring& path, std::wstring& tempPath) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        wchar_t suffix[40];
        std::swprintf(suffix, 40, L".%lx-%x.tmp", static_cast<unsigned long>(::GetCurrentProcessId()),
                      tempCounter++);
        tempPath = path + suffix;
        UniqueFile file(::CreateFileW(tempPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file) {
            return file;
        }
        DWORD error = ::GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) {
            ThrowSystemError(error, "Writing", path);
        }
    }
    ThrowSystemError(ERROR_FILE_EXISTS, "Writing", path);
}

} // namespace

void WriteFileAtomically(const std::wstring& path, std::span<const std::uint8_t> bytes) {
    std::wstring tempPath;
    UniqueFile file = CreateTempBeside(path, tempPath);
    TempFileGuard guard(tempPath);
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD part = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, kChunk));
        DWORD written = 0;
        if (!::WriteFile(file.get(), bytes.data() + done, part, &written, nullptr)) {
            ThrowSystemError(::GetLastError(), "Writing", path);
        }
        if (written == 0) {
            ThrowSystemError(ERROR_WRITE_FAULT, "Writing", path);
        }
        done += written;
    }
    if (!::FlushFileBuffers(file.get())) {
        ThrowSystemError(::GetLastError(), "Writing", path);
    }
    file.reset();
    if (!::MoveFileExW(tempPath.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        ThrowSystemError(::GetLastError(), "Replacing", path);
    }
    guard.Release();
}

std::vector<std::uint8_t> ReadWholeFile(const std::wstring& path) {
    UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        ThrowSystemError(::GetLastError(), "Reading", path);
    }
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.get(), &size)) {
        ThrowSystemError(::GetLastError(), "Reading", path);
    }
    if (size.QuadPart > kMaxReadSize) {
        ThrowSystemError(ERROR_FILE_TOO_LARGE, "Reading", path);
    }
    // Read straight into the result, and on to the end rather than to the size seen before, in case the
    // file changes meanwhile: a byte more than the size asks whether it grew.
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size.QuadPart) + 1);
    std::size_t filled = 0;
    for (;;) {
        if (filled == bytes.size()) {
            if (static_cast<LONGLONG>(filled) > kMaxReadSize) {
                ThrowSystemError(ERROR_FILE_TOO_LARGE, "Reading", path);
            }
            bytes.resize(std::min<std::size_t>(filled + kChunk, static_cast<std::size_t>(kMaxReadSize) + 1));
        }
        DWORD read = 0;
        const auto ask = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - filled, kChunk));
        if (!::ReadFile(file.get(), bytes.data() + filled, ask, &read, nullptr)) {
            ThrowSystemError(::GetLastError(), "Reading", path);
        }
        if (read == 0) {
            break;
        }
        filled += read;
    }
    bytes.resize(filled);
    return bytes;
}

} // namespace orvane
