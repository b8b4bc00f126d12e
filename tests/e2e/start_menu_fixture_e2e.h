// A prepared pair of Start Menus, written with the program's own shortcut writer, that the registry
// points the program at for the life of the object.
#pragma once

#include "tests/support/test_support_win.h"

#include <string>
#include <vector>

namespace orvane::e2e {

struct FixtureShortcut {
    std::wstring path;        // the .lnk file
    std::wstring target;      // as written
    std::wstring description; // as written
};

class StartMenuFixture {
public:
    StartMenuFixture();

    const std::wstring& userMenu() const { return userMenu_; }
    const std::wstring& commonMenu() const { return commonMenu_; }
    const std::vector<FixtureShortcut>& shortcuts() const { return shortcuts_; }
    const FixtureShortcut& Find(const std::wstring& caption) const;
    // Every .lnk file of both menus in the order a depth-first walk over the file system's listing
    // meets them: the order of the icons.
    std::vector<std::wstring> WalkOrder() const;

    // Folder and document targets.
    std::wstring documentPath() const { return root_ / L"docs\\report.txt"; }
    std::wstring folderPath() const { return root_ / L"docs"; }

    // Writes one more shortcut with the program's own shortcut writer.
    void Write(const std::wstring& folder, const std::wstring& name, const std::wstring& target,
               const std::wstring& description, bool hidden = false, const std::wstring& arguments = L"",
               const std::wstring& workDir = L"");
    std::wstring root() const { return root_.path(); }

private:
    test::TempDir root_;
    std::wstring userMenu_;
    std::wstring commonMenu_;
    std::vector<FixtureShortcut> shortcuts_;
    test::RegistryValueOverride userStartMenu_;
    test::RegistryValueOverride commonStartMenu_;
};

} // namespace orvane::e2e
