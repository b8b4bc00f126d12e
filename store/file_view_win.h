// The bytes of a whole file, for reading: the file mapped into memory rather than copied, which spares
// the megabytes of an icon cache a fresh buffer each. While mapped, the file can be read but not written
// by others; a file another program holds open for writing is read into memory instead.
#pragma once

#include "system/handles_win.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace orvane {

class FileView {
public:
    // Throws ComError, as ReadWholeFile does, when the file cannot be read.
    explicit FileView(const std::wstring& path);
    FileView(const FileView&) = delete;
    FileView& operator=(const FileView&) = delete;
    ~FileView();

    std::span<const std::uint8_t> bytes() const noexcept { return bytes_; }

    // Copies part of bytes() into buffer, from the file rather than the mapping where the file is mapped:
    // megabytes read once need not stay in the process's memory as mapped pages. Throws ComError when
    // the file cannot be read; the part must lie within bytes().
    void Read(std::span<const std::uint8_t> part, std::span<std::uint8_t> buffer) const;

private:
    UniqueFile file_;
    UniqueHandle mapping_;
    const void* view_ = nullptr;
    std::vector<std::uint8_t> copy_;
    std::span<const std::uint8_t> bytes_;
};

} // namespace orvane
