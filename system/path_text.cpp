#include "system/path_text.h"

namespace orvane {
namespace {

std::size_t LastSeparator(std::wstring_view path) {
    return path.find_last_of(L"\\:");
}

} // namespace

std::wstring FolderPart(std::wstring_view path) {
    std::size_t p = LastSeparator(path);
    if (p == std::wstring_view::npos) {
        return {};
    }
    bool keepSeparator = path[p] == L':' || p == 0 || path[p - 1] == L'\\' || path[p - 1] == L':';
    return std::wstring(path.substr(0, keepSeparator ? p + 1 : p));
}

std::wstring NamePart(std::wstring_view path) {
    std::size_t p = LastSeparator(path);
    return std::wstring(p == std::wstring_view::npos ? path : path.substr(p + 1));
}

std::wstring AsciiLower(std::wstring_view text) {
    std::wstring lowered(text);
    for (wchar_t& c : lowered) {
        if (c >= L'A' && c <= L'Z') {
            c = static_cast<wchar_t>(c - L'A' + L'a');
        }
    }
    return lowered;
}

bool ContainsExeText(std::wstring_view text) {
    return AsciiLower(text).find(L".exe") != std::wstring::npos;
}

} // namespace orvane
