#include "store/text_encoding.h"

#include "system/text_codec.h"

namespace orvane {
namespace {

bool StartsWith(std::span<const std::uint8_t> bytes, std::initializer_list<std::uint8_t> mark) {
    if (bytes.size() < mark.size()) {
        return false;
    }
    std::size_t i = 0;
    for (std::uint8_t b : mark) {
        if (bytes[i++] != b) {
            return false;
        }
    }
    return true;
}

std::wstring DecodeUtf16(std::span<const std::uint8_t> bytes, bool bigEndian) {
    std::u16string units;
    units.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        unsigned first = bytes[i];
        unsigned second = bytes[i + 1];
        units.push_back(static_cast<char16_t>(bigEndian ? (first << 8) | second : (second << 8) | first));
    }
    return FromUtf16(units);
}

std::string AsLatin1(std::wstring_view text) {
    std::string out;
    out.reserve(text.size());
    for (wchar_t c : text) {
        out.push_back(static_cast<unsigned>(c) <= 0xFF ? static_cast<char>(c) : '?');
    }
    return out;
}

std::wstring FromLatin1(std::string_view bytes) {
    std::wstring out;
    out.reserve(bytes.size());
    for (char c : bytes) {
        out.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
    }
    return out;
}

} // namespace

DecodedText DecodeText(std::span<const std::uint8_t> bytes, const AnsiDecoder& ansi) {
    if (StartsWith(bytes, {0xEF, 0xBB, 0xBF})) {
        auto body = bytes.subspan(3);
        return {TextEncoding::teUtf8,
                FromUtf8(std::string_view(reinterpret_cast<const char*>(body.data()), body.size()))};
    }
    if (StartsWith(bytes, {0xFF, 0xFE})) {
        return {TextEncoding::teUtf16Le, DecodeUtf16(bytes.subspan(2), false)};
    }
    if (StartsWith(bytes, {0xFE, 0xFF})) {
        return {TextEncoding::teUtf16Be, DecodeUtf16(bytes.subspan(2), true)};
    }
    std::string_view raw(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return {TextEncoding::teAnsi, ansi ? ansi(raw) : FromLatin1(raw)};
}

std::vector<std::uint8_t> EncodeText(std::wstring_view text, TextEncoding encoding, const AnsiEncoder& ansi) {
    std::vector<std::uint8_t> out;
    switch (encoding) {
    case TextEncoding::teUtf8: {
        out = {0xEF, 0xBB, 0xBF};
        std::string utf8 = ToUtf8(text);
        out.insert(out.end(), utf8.begin(), utf8.end());
        break;
    }
    case TextEncoding::teUtf16Le:
        out = {0xFF, 0xFE};
        AppendUtf16Le(out, text);
        break;
    case TextEncoding::teUtf16Be:
        out = {0xFE, 0xFF};
        for (char16_t unit : ToUtf16(text)) {
            out.push_back(static_cast<std::uint8_t>(unit >> 8));
            out.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        }
        break;
    case TextEncoding::teAnsi: {
        std::string bytes = ansi ? ansi(text) : AsLatin1(text);
        out.assign(bytes.begin(), bytes.end());
        break;
    }
    }
    return out;
}

std::vector<std::wstring> SplitLines(std::wstring_view text) {
    std::vector<std::wstring> lines;
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        wchar_t c = text[i];
        if (c == L'\r' || c == L'\n') {
            lines.emplace_back(text.substr(start, i - start));
            i += (c == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ? 2 : 1;
            start = i;
        } else {
            ++i;
        }
    }
    if (start < text.size()) {
        lines.emplace_back(text.substr(start));
    }
    return lines;
}

} // namespace orvane
