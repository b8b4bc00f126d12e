// The platform's text rules that the list model takes as parameters.
#pragma once

#include <string>
#include <string_view>

namespace orvane {

// CompareStringW under the user's default locale with no flags: -1, 0 or 1.
int CollateUserDefault(std::wstring_view a, std::wstring_view b);
// The whole text upper-cased by CharUpperBuffW.
std::wstring UpperCaseText(std::wstring_view text);
// Equal ignoring case, as the combo box's exact-match lookup compares.
bool EqualsIgnoringCase(std::wstring_view a, std::wstring_view b);

} // namespace orvane
