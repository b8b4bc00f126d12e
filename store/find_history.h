// "Find.lst": the search history, one entry per line.
#pragma once

#include "store/text_encoding.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace orvane {

inline constexpr wchar_t kFindHistoryFileName[] = L"Find.lst";

// UTF-16LE with the byte-order mark FF FE; every entry is followed by CR LF, the last one too. An
// empty history is the byte-order mark alone.
std::vector<std::uint8_t> WriteFindHistory(const std::vector<std::wstring>& entries);

// The entries of the file: the byte-order mark decides the encoding (UTF-16 in either byte order,
// UTF-8); without one the bytes are in the ANSI code page. Lines end at CR LF, CR or LF; empty lines
// between entries are kept.
std::vector<std::wstring> ReadFindHistory(std::span<const std::uint8_t> bytes, const AnsiDecoder& ansi);

} // namespace orvane
