// The system's ANSI code page, for the portable readers of files without a byte-order mark.
#pragma once

#include "store/text_encoding.h"

#include <string>
#include <string_view>

namespace orvane {

// Bytes in the ANSI code page as text (MultiByteToWideChar with CP_ACP).
std::wstring DecodeAnsi(std::string_view bytes);
// Text in the ANSI code page; characters it lacks become the code page's default character.
std::string EncodeAnsi(std::wstring_view text);
// Both, to pass to IniFile and ReadFindHistory.
AnsiCodec SystemAnsiCodec();

} // namespace orvane
