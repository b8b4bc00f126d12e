// Text files of the program: the encoding taken from a byte-order mark, the system's ANSI code page
// through functions the caller passes in, and lines ending at CR LF, CR or LF.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

enum class TextEncoding {
    teAnsi,    // the system's ANSI code page, no byte-order mark
    teUtf8,    // EF BB BF
    teUtf16Le, // FF FE
    teUtf16Be, // FE FF
};

// Conversions between the system's ANSI code page and text; supplied by the platform layer.
using AnsiDecoder = std::function<std::wstring(std::string_view bytes)>;
using AnsiEncoder = std::function<std::string(std::wstring_view text)>;
struct AnsiCodec {
    AnsiDecoder decode; // when empty, bytes are taken as Latin-1
    AnsiEncoder encode; // when empty, characters above U+00FF become "?"
};

struct DecodedText {
    TextEncoding encoding = TextEncoding::teAnsi;
    std::wstring text; // without the byte-order mark
};

// Decodes a whole file: the byte-order mark decides the encoding, else the ANSI decoder is used.
// An odd byte at the end of a UTF-16 file is dropped.
DecodedText DecodeText(std::span<const std::uint8_t> bytes, const AnsiDecoder& ansi);

// Encodes text in the given encoding, with its byte-order mark (none for teAnsi).
std::vector<std::uint8_t> EncodeText(std::wstring_view text, TextEncoding encoding, const AnsiEncoder& ansi);

// The lines of a text; each ends at CR LF, CR or LF. A line break at the very end does not begin
// another line, so "a\r\n" is one line and "" is none.
std::vector<std::wstring> SplitLines(std::wstring_view text);

} // namespace orvane
