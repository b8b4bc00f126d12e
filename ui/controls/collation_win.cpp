#include "ui/controls/collation_win.h"

#include <windows.h>

namespace orvane {

int CollateUserDefault(std::wstring_view a, std::wstring_view b) {
    int result = ::CompareStringW(LOCALE_USER_DEFAULT, 0, a.data(), static_cast<int>(a.size()), b.data(),
                                  static_cast<int>(b.size()));
    return result == 0 ? 0 : result - CSTR_EQUAL;
}

void MakeSortKeyUserDefault(std::wstring_view text, std::string& key) {
    // An empty text is passed as an empty C string: a length of 0 is refused as an invalid parameter.
    const wchar_t* source = text.empty() ? L"" : text.data();
    const int length = text.empty() ? -1 : static_cast<int>(text.size());
    auto map = [&](std::size_t capacity) {
        return ::LCMapStringEx(LOCALE_NAME_USER_DEFAULT, LCMAP_SORTKEY, source, length,
                               reinterpret_cast<LPWSTR>(key.data()), static_cast<int>(capacity), nullptr,
                               nullptr, 0);
    };
    // Most keys take a few bytes a character; a larger one is measured first.
    key.resize(text.size() * 4 + 32);
    int written = map(key.size());
    if (written == 0 && ::GetLastError() == ERROR_INSUFFICIENT_BUFFER) {
        key.resize(static_cast<std::size_t>(::LCMapStringEx(LOCALE_NAME_USER_DEFAULT, LCMAP_SORTKEY, source,
                                                            length, nullptr, 0, nullptr, nullptr, 0)));
        written = map(key.size());
    }
    // A text the system cannot map gets the empty key, which sorts first.
    key.resize(written > 0 ? static_cast<std::size_t>(written) : 0);
    if (!key.empty() && key.back() == '\0') {
        key.pop_back();
    }
}

std::wstring UpperCaseText(std::wstring_view text) {
    std::wstring upper(text);
    if (!upper.empty()) {
        ::CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));
    }
    return upper;
}

bool EqualsIgnoringCase(std::wstring_view a, std::wstring_view b) {
    return ::CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()),
                            b.data(), static_cast<int>(b.size())) == CSTR_EQUAL;
}

} // namespace orvane
