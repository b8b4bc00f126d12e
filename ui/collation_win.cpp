#include "ui/collation_win.h"

#include <windows.h>

namespace orvane {

int CollateUserDefault(std::wstring_view a, std::wstring_view b) {
    int result = ::CompareStringW(LOCALE_USER_DEFAULT, 0, a.data(), static_cast<int>(a.size()), b.data(),
                                  static_cast<int>(b.size()));
    return result == 0 ? 0 : result - CSTR_EQUAL;
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
