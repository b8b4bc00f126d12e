// Reads a text through a call that copies it into the caller's buffer and silently cuts what does not
// fit, as the shell link object's getters do.
#pragma once

#include <functional>
#include <string>

namespace orvane {

// The first buffer offered, and the largest; the bound keeps a misbehaving call from growing it forever.
inline constexpr int kLinkTextFirstCapacity = 260;
inline constexpr int kLinkTextMaxCapacity = 32768;

// Fills a zeroed buffer of the given capacity in characters (the closing NUL included) and tells
// whether the call reported success.
using LinkTextFill = std::function<bool(wchar_t* buffer, int capacity)>;

// The text up to the buffer's first NUL. When the text fills the buffer (length capacity - 1) it may
// have been cut, and when the call failed the buffer may have been too small; either way the read is
// repeated with a buffer twice as large, up to kLinkTextMaxCapacity, whose result is then taken.
std::wstring ReadWholeText(const LinkTextFill& fill);

} // namespace orvane
