// The platform's text rules that the list model takes as parameters.
#pragma once

#include <string>
#include <string_view>

namespace orvane {

// CompareStringW under the user's default locale with no flags: -1, 0 or 1.
int CollateUserDefault(std::wstring_view a, std::wstring_view b);
// The sort key of a text under the same locale and flags (LCMapStringEx, LCMAP_SORTKEY): keys compared
// as bytes order their texts as CollateUserDefault does. The closing zero byte is left out.
void MakeSortKeyUserDefault(std::wstring_view text, std::string& key);
// The whole text upper-cased by CharUpperBuffW.
std::wstring UpperCaseText(std::wstring_view text);
// Equal ignoring case, as the combo box's exact-match lookup compares.
bool EqualsIgnoringCase(std::wstring_view a, std::wstring_view b);

} // namespace orvane
