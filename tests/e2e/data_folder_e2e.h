// The data folder of an isolated profile as the end-to-end tests look at it: its files, the settings
// text, the list's columns, and screenshots to look at after the run.
#pragma once

#include "tests/e2e/orvane_process_e2e.h"
#include "tests/e2e/remote_controls_e2e.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace orvane::e2e {

// The "key=value" pairs of one section of an ini text.
inline std::map<std::string, std::string> IniSection(const std::string& text, const std::string& section) {
    std::map<std::string, std::string> values;
    std::istringstream lines(text);
    std::string line;
    bool inside = false;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (!line.empty() && line.front() == '[') {
            inside = line == "[" + section + "]";
        } else if (inside && line.find('=') != std::string::npos) {
            values[line.substr(0, line.find('='))] = line.substr(line.find('=') + 1);
        }
    }
    return values;
}

// The keys of the ini text in file order.
inline std::vector<std::string> IniKeys(const std::string& text) {
    std::vector<std::string> keys;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        keys.push_back(line.find('=') != std::string::npos ? line.substr(0, line.find('=')) : line);
    }
    return keys;
}

inline std::vector<std::wstring> Column(HWND list, int column) {
    std::vector<std::wstring> texts;
    for (int row = 0; row < RowCount(list); ++row) {
        texts.push_back(CellText(list, row, column));
    }
    return texts;
}

// Saves what the screen shows, to look at after the run.
inline void SaveScreenshot(const std::wstring& name) {
    const std::wstring folder = test::ExeFolder() + L"\\..\\screenshots";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    SaveWindowBitmap(::GetDesktopWindow(), folder + L"\\" + name + L".bmp");
}

class PersistenceTest : public ::testing::Test {
protected:
    std::wstring File(const wchar_t* name) const { return profile.dataFolder() + name; }
    void WriteSettings(const std::string& text) {
        ::CreateDirectoryW((profile.appData() + L"\\Norrow Project").c_str(), nullptr);
        ::CreateDirectoryW(profile.dataFolder().c_str(), nullptr);
        test::WriteFileBytes(File(L"Orvane.ini"), text);
    }
    std::string Settings() const { return test::ReadFileBytes(File(L"Orvane.ini")); }

    IsolatedProfile profile;
};

} // namespace orvane::e2e
