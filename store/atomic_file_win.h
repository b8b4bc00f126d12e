// Whole-file reading and writing of the settings and cache files.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace orvane {

// Writes the bytes to a new temporary file beside path, flushes it to the disk and moves it over path,
// so that a failure or a crash leaves the previous file whole. Throws ComError (the system error as an
// HRESULT, the path in its text) when the file cannot be written or replaced; the temporary file is
// removed then.
void WriteFileAtomically(const std::wstring& path, std::span<const std::uint8_t> bytes);

// The whole content of a file. Throws ComError when it cannot be opened or read.
std::vector<std::uint8_t> ReadWholeFile(const std::wstring& path);

} // namespace orvane
