#include "store/settings.h"

#include <string>

namespace orvane {
namespace {

std::wstring ColumnKey(int index) {
    return L"Column" + std::to_wstring(index);
}

int InRangeOrZero(int value, int count) {
    return value >= 0 && value < count ? value : 0;
}

} // namespace

Settings Settings::Read(const IniFile& ini, const Settings& defaults) {
    Settings s = defaults;
    s.style = InRangeOrZero(ini.ReadInteger(kWindowSection, L"Style", defaults.style), kSchemeCount);
    s.report = ini.ReadBool(kViewSection, L"Report", defaults.report);
    for (int i = 0; i < kSettingsColumnCount; ++i) {
        auto at = static_cast<std::size_t>(i);
        s.columnWidths[at] = ini.ReadInteger(kWindowSection, ColumnKey(i), defaults.columnWidths[at]);
    }
    s.columnSort = ini.ReadInteger(kWindowSection, L"ColumnSort", defaults.columnSort);
    s.columnIndex = InRangeOrZero(ini.ReadInteger(kWindowSection, L"ColumnIndex", defaults.columnIndex),
                                  kSettingsColumnCount);
    s.fontSize = ini.ReadInteger(kWindowSection, L"FontSize", defaults.fontSize);
    s.maximised = ini.ReadBool(kWindowSection, L"Max", defaults.maximised);
    if (!s.maximised) {
        s.top = ini.ReadInteger(kWindowSection, L"Top", defaults.top);
        s.left = ini.ReadInteger(kWindowSection, L"Left", defaults.left);
        s.height = ini.ReadInteger(kWindowSection, L"Height", defaults.height);
        s.width = ini.ReadInteger(kWindowSection, L"Width", defaults.width);
    }
    return s;
}

void Settings::Write(IniFile& ini) const {
    ini.WriteBool(kWindowSection, L"Max", maximised);
    if (!maximised) {
        ini.WriteInteger(kWindowSection, L"Top", top);
        ini.WriteInteger(kWindowSection, L"Left", left);
        ini.WriteInteger(kWindowSection, L"Height", height);
        ini.WriteInteger(kWindowSection, L"Width", width);
    }
    ini.WriteBool(kViewSection, L"Report", report);
    for (int i = 0; i < kSettingsColumnCount; ++i) {
        ini.WriteInteger(kWindowSection, ColumnKey(i), columnWidths[static_cast<std::size_t>(i)]);
    }
    ini.WriteInteger(kWindowSection, L"ColumnSort", columnSort);
    ini.WriteInteger(kWindowSection, L"ColumnIndex", columnIndex);
    ini.WriteInteger(kWindowSection, L"FontSize", fontSize);
    ini.WriteInteger(kWindowSection, L"Style", InRangeOrZero(style, kSchemeCount));
}

} // namespace orvane
