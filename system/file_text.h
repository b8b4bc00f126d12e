// Norrow: the text rules behind a row's caption, its time columns and its Version column.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The common dialog header maps GetFileTitle to GetFileTitleW; this module's function keeps its name.
#ifdef GetFileTitle
#undef GetFileTitle
#endif

namespace Norrow {

// A local date and time as calendar fields.
struct DateTime {
    int year = 1899;
    int month = 12;
    int day = 30;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;

    friend bool operator==(const DateTime&, const DateTime&) = default;
};

// Day zero, 1899-12-30 00:00: what a time stands for that no date value can hold.
inline constexpr DateTime kDayZero{};

// True when the fields make a real date and time from year 1 to year 9999.
bool IsValidDateTime(const DateTime& value);

// The fields as a date value, or day zero when they make none (a year after 9999, for example).
DateTime MakeDateTime(int year, int month, int day, int hour, int minute, int second, int millisecond);

// "yyyy/mm/dd hh:nn" with the given date and time separators in place of "/" and ":"; fields that make
// no date (a year after 9999) read as day zero, 1899/12/30 00:00.
std::wstring FormatTimeText(int year, int month, int day, int hour, int minute,
                            std::wstring_view dateSeparator, std::wstring_view timeSeparator);
std::wstring FormatTimeText(const DateTime& value, std::wstring_view dateSeparator,
                            std::wstring_view timeSeparator);

// The file-name part of a path (after the last "\" or ":") without its last extension.
//   C:\x\My.App.lnk -> My.App   C:\x\README -> README   C:\x\.lnk -> (empty)
std::wstring GetFileTitle(std::wstring_view path);

// The text up to, not including, its first NUL; the whole text when it holds none.
std::wstring TrimAtNul(std::wstring_view text);

// The names of the version strings read from a file, in the order of the lines.
const std::vector<std::wstring>& VersionStringNames();

// "\StringFileInfo\" + language and code page as eight upper-case hexadecimal digits + "\".
std::wstring StringTablePrefix(std::uint16_t language, std::uint16_t codePage);

// One version line: the name filled with blanks to 16 characters, the full-width colon U+FF1A, then the
// value up to its first NUL.
std::wstring FormatVersionLine(std::wstring_view name, std::wstring_view value);

// The value of the "FileVersion" line (from its 18th character), or empty text when no line has that name.
std::wstring FileVersionFromLines(const std::vector<std::wstring>& lines);

} // namespace Norrow
