#include "store/ansi_code_page_win.h"

#include <windows.h>

#include <climits>
#include <stdexcept>

namespace orvane {
namespace {

int CheckedLength(std::size_t size) {
    if (size > static_cast<std::size_t>(INT_MAX)) {
        throw std::length_error("text too long for the ANSI code page conversion");
    }
    return static_cast<int>(size);
}

} // namespace

std::wstring DecodeAnsi(std::string_view bytes) {
    if (bytes.empty()) {
        return {};
    }
    int length = CheckedLength(bytes.size());
    int units = ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, nullptr, 0);
    std::wstring text(static_cast<std::size_t>(units), L'\0');
    if (units > 0) {
        ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, text.data(), units);
    }
    return text;
}

std::string EncodeAnsi(std::wstring_view text) {
    if (text.empty()) {
        return {};
    }
    int length = CheckedLength(text.size());
    int size = ::WideCharToMultiByte(CP_ACP, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    if (size > 0) {
        ::WideCharToMultiByte(CP_ACP, 0, text.data(), length, bytes.data(), size, nullptr, nullptr);
    }
    return bytes;
}

AnsiCodec SystemAnsiCodec() {
    return {DecodeAnsi, EncodeAnsi};
}

} // namespace orvane
