// Window states a shortcut starts its target in, and their values in a shortcut file.
#pragma once

#include <cstdint>
#include <optional>

namespace orvane {

enum TShowMode : std::uint8_t { tsNormal, tsMax, tsMin };

// Show-window values as the shell link object stores them.
inline constexpr int kShowNormal = 1;      // SW_SHOWNORMAL
inline constexpr int kShowMaximized = 3;   // SW_SHOWMAXIMIZED
inline constexpr int kShowShow = 5;        // SW_SHOW
inline constexpr int kShowMinNoActive = 7; // SW_SHOWMINNOACTIVE

// The state a stored value stands for; only 1, 3 and 7 are accepted, anything else gives none.
std::optional<TShowMode> ShowModeFromStored(int stored);

// The value written for a state; a value outside the three states is written as SW_SHOW (5).
int StoredShowCmd(TShowMode mode);

} // namespace orvane
