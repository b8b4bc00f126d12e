// The settings kept in "Orvane.ini": window placement, view mode, column widths, sort state, font size
// and colour scheme. Read once while the main window is created, written once when it closes.
#pragma once

#include "store/ini_file.h"

#include <array>

namespace orvane {

inline constexpr wchar_t kSettingsFileName[] = L"Orvane.ini";
inline constexpr wchar_t kWindowSection[] = L"Window";
inline constexpr wchar_t kViewSection[] = L"View";
inline constexpr int kSettingsColumnCount = 7;
inline constexpr int kDefaultColumnWidth = 300;
inline constexpr int kSchemeCount = 3;

struct Settings {
    int style = 0;      // colour scheme index, 0..2 ("Style")
    bool report = true; // details view; false for list view ("Report" in "View")
    std::array<int, kSettingsColumnCount> columnWidths{
        kDefaultColumnWidth, kDefaultColumnWidth, kDefaultColumnWidth, kDefaultColumnWidth,
        kDefaultColumnWidth, kDefaultColumnWidth, kDefaultColumnWidth}; // "Column0".."Column6"
    int columnSort = 0;  // MListViewSort: 0 none, +k ascending by column k - 1, -k descending
    int columnIndex = 0; // MColumnIndex: the column that carries the sort marker, 0..6
    int fontSize = 9;    // the list's font size in points
    bool maximised = false;
    int top = 0;
    int left = 0;
    int height = 0;
    int width = 0;

    // Reads every key in the order the window applies them: "Style", "Report", the column widths,
    // "ColumnSort", "ColumnIndex", "FontSize", "Max" and, only when not maximised, "Top", "Left",
    // "Height", "Width". A missing or non-numeric value takes its field in defaults (which should hold
    // the window's present state: its rectangle and the icon font's size). A "Style" outside 0..2 or a
    // "ColumnIndex" outside 0..6 is read as 0, so neither can index past the scheme items or columns.
    static Settings Read(const IniFile& ini, const Settings& defaults);

    // Writes "Max", then (only when not maximised) "Top", "Left", "Height", "Width", then "Report",
    // the seven column widths, "ColumnSort", "ColumnIndex", "FontSize" and "Style". Keys not written
    // (the rectangle while maximised) keep what the file had.
    void Write(IniFile& ini) const;

    bool operator==(const Settings&) const = default;
};

} // namespace orvane
