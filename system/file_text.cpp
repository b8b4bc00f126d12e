#include "system/file_text.h"

#include <array>

namespace Norrow {
namespace {

constexpr wchar_t kFullWidthColon = L'\uFF1A';
constexpr std::size_t kVersionNameWidth = 16;

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    constexpr std::array<int, 12> days = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : days[static_cast<std::size_t>(month - 1)];
}

// Appends the number with leading zeros to the given width.
void AppendPadded(std::wstring& out, int value, std::size_t width) {
    std::wstring digits = std::to_wstring(value);
    if (digits.size() < width) {
        out.append(width - digits.size(), L'0');
    }
    out += digits;
}

} // namespace

bool IsValidDateTime(const DateTime& value) {
    if (value.year < 1 || value.year > 9999 || value.month < 1 || value.month > 12) {
        return false;
    }
    if (value.day < 1 || value.day > DaysInMonth(value.year, value.month)) {
        return false;
    }
    return value.hour >= 0 && value.hour <= 23 && value.minute >= 0 && value.minute <= 59 &&
           value.second >= 0 && value.second <= 59 && value.millisecond >= 0 && value.millisecond <= 999;
}

DateTime MakeDateTime(int year, int month, int day, int hour, int minute, int second, int millisecond) {
    DateTime value{year, month, day, hour, minute, second, millisecond};
    return IsValidDateTime(value) ? value : kDayZero;
}

std::wstring FormatTimeText(const DateTime& value, std::wstring_view dateSeparator,
                            std::wstring_view timeSeparator) {
    const DateTime shown = IsValidDateTime(value) ? value : kDayZero;
    std::wstring text;
    AppendPadded(text, shown.year, 4);
    text += dateSeparator;
    AppendPadded(text, shown.month, 2);
    text += dateSeparator;
    AppendPadded(text, shown.day, 2);
    text += L' ';
    AppendPadded(text, shown.hour, 2);
    text += timeSeparator;
    AppendPadded(text, shown.minute, 2);
    return text;
}

std::wstring FormatTimeText(int year, int month, int day, int hour, int minute,
                            std::wstring_view dateSeparator, std::wstring_view timeSeparator) {
    return FormatTimeText(DateTime{year, month, day, hour, minute, 0, 0}, dateSeparator, timeSeparator);
}

std::wstring GetFileTitle(std::wstring_view path) {
    std::size_t separator = path.find_last_of(L"\\:");
    std::wstring_view name = separator == std::wstring_view::npos ? path : path.substr(separator + 1);
    std::size_t dot = name.rfind(L'.');
    return std::wstring(dot == std::wstring_view::npos ? name : name.substr(0, dot));
}

std::wstring TrimAtNul(std::wstring_view text) {
    return std::wstring(text.substr(0, text.find(L'\0')));
}

const std::vector<std::wstring>& VersionStringNames() {
    static const std::vector<std::wstring> names = {
        L"CompanyName",     L"FileDescription",  L"FileVersion",  L"InternalName",   L"LegalCopyright",
        L"LegalTrademarks", L"OriginalFilename", L"ProductName",  L"ProductVersion", L"Comments",
        L"SpecialBuild",    L"PrivateBuild",     L"Sample-Number"};
    return names;
}

std::wstring StringTablePrefix(std::uint16_t language, std::uint16_t codePage) {
    constexpr wchar_t kHex[] = L"0123456789ABCDEF";
    std::wstring prefix = L"\\StringFileInfo\\";
    for (std::uint16_t word : {language, codePage}) {
        for (int shift = 12; shift >= 0; shift -= 4) {
            prefix += kHex[(word >> shift) & 0xF];
        }
    }
    prefix += L'\\';
    return prefix;
}

std::wstring FormatVersionLine(std::wstring_view name, std::wstring_view value) {
    std::wstring line(name);
    if (line.size() < kVersionNameWidth) {
        line.append(kVersionNameWidth - line.size(), L' ');
    }
    line += kFullWidthColon;
    line += value.substr(0, value.find(L'\0'));
    return line;
}

std::wstring FileVersionFromLines(const std::vector<std::wstring>& lines) {
    const std::wstring head = FormatVersionLine(L"FileVersion", L"");
    for (const std::wstring& line : lines) {
        if (line.starts_with(head)) {
            return line.substr(head.size());
        }
    }
    return {};
}

} // namespace Norrow
