// Conversions between std::wstring and encoded bytes, correct whether wchar_t holds 16 or 32 bits.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

// UTF-16 code units of a text (surrogate pairs where wchar_t is 32 bits wide).
std::u16string ToUtf16(std::wstring_view text);
// A text from UTF-16 code units; unpaired surrogates become U+FFFD where wchar_t is 32 bits wide.
std::wstring FromUtf16(std::u16string_view units);

// UTF-8 bytes of a text.
std::string ToUtf8(std::wstring_view text);
// A text from UTF-8 bytes; malformed sequences become U+FFFD.
std::wstring FromUtf8(std::string_view bytes);

// Appends the text as UTF-16 little-endian bytes.
void AppendUtf16Le(std::vector<std::uint8_t>& out, std::wstring_view text);

} // namespace orvane
