// A read-only stream over bytes that outlive it, for the system's stream readers (ImageList_Read): the
// bytes are read where they lie, not copied into a memory stream first.
#pragma once

#include <windows.h>
#include <objidl.h>
#include <wrl/client.h>

#include <cstdint>
#include <span>

namespace orvane {

Microsoft::WRL::ComPtr<IStream> ReadOnlyStream(std::span<const std::uint8_t> bytes);

class FileView;

// The same over part of a file's bytes, read through FileView::Read: the file's mapped pages are not
// touched. The file outlives the stream.
Microsoft::WRL::ComPtr<IStream> ReadOnlyStream(const FileView& file, std::span<const std::uint8_t> part);

} // namespace orvane
