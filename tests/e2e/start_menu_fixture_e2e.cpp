#include "tests/e2e/start_menu_fixture_e2e.h"

#include "catalogue/link_walk.h"
#include "shortcuts/make_shortcuts_win.h"
#include "system/folders_win.h"
#include "tests/e2e/orvane_process_e2e.h"

#include <windows.h>

#include <functional>
#include <stdexcept>

namespace orvane::e2e {
namespace {

std::wstring MakeFolder(const std::wstring& path) {
    ::CreateDirectoryW(path.c_str(), nullptr);
    return path;
}

void WalkFolder(const std::wstring& folder, std::vector<std::wstring>& out) {
    WIN32_FIND_DATAW data{};
    UniqueFind find(::FindFirstFileW((folder + L"\\*").c_str(), &data));
    if (!find) {
        return;
    }
    do {
        std::wstring name = data.cFileName;
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            if (name != L"." && name != L"..") {
                WalkFolder(folder + L"\\" + name, out);
            }
        } else if (IsLinkFileName(name)) {
            out.push_back(folder + L"\\" + name);
        }
    } while (::FindNextFileW(find.get(), &data));
}

} // namespace

StartMenuFixture::StartMenuFixture()
    : userMenu_(MakeFolder(root_ / L"User Start Menu")),
      commonMenu_(MakeFolder(root_ / L"Common Start Menu")),
      userStartMenu_(HKEY_CURRENT_USER, Norrow::kShellFoldersKey, L"Start Menu", userMenu_),
      commonStartMenu_(HKEY_LOCAL_MACHINE, Norrow::kShellFoldersKey, L"Common Start Menu", commonMenu_) {
    MakeFolder(folderPath());
    test::WriteFileBytes(documentPath(), "a document");
    MakeFolder(root_ / L"docs\\report.exec");
    test::WriteFileBytes(root_ / L"docs\\report.exec\\readme.txt", "not a program");
    const std::wstring program = OrvaneExePath();

    const std::wstring programs = MakeFolder(userMenu_ + L"\\Programs");
    const std::wstring nested = MakeFolder(programs + L"\\Nested");
    Write(userMenu_, L"Alpha Tool.lnk", program, L"the first tool");
    Write(programs, L"Bravo Document.lnk", documentPath(), L"a report");
    Write(nested, L"Charlie Folder.lnk", folderPath(), L"documents folder");
    Write(userMenu_, L"Delta Needle.lnk", L"", L"points nowhere");
    Write(userMenu_, L"ECHO UPPER.LNK", program, L"upper-case extension");
    Write(programs, L"Foxtrot Hidden.lnk", documentPath(), L"hidden file", true);
    Write(userMenu_, L"Golf Exec.lnk", root_ / L"docs\\report.exec\\readme.txt", L"not really a program");
    Write(programs, L"日本語のツール.lnk", program, L"日本語の説明");
    test::WriteFileBytes(userMenu_ + L"\\readme.txt", "not a shortcut");

    const std::wstring sub = MakeFolder(commonMenu_ + L"\\Sub");
    Write(commonMenu_, L"Hotel Common.lnk", program, L"for all users");
    Write(sub, L"India Needle.lnk", documentPath(), L"second hit");
}

void StartMenuFixture::Write(const std::wstring& folder, const std::wstring& name, const std::wstring& target,
                             const std::wstring& description, bool hidden, const std::wstring& arguments,
                             const std::wstring& workDir) {
    TMakeShortCuts writer;
    writer.FFileName = folder + L"\\" + name;
    writer.FExecFile = target;
    writer.FDescription = description;
    writer.FArguments = arguments;
    writer.FWorkDir = workDir.empty() ? folder : workDir;
    writer.SCSave();
    if (!Norrow::IsExistingFile(writer.FFileName)) {
        throw std::runtime_error("the shortcut writer wrote no file");
    }
    if (hidden) {
        ::SetFileAttributesW(writer.FFileName.c_str(), FILE_ATTRIBUTE_HIDDEN);
    }
    shortcuts_.push_back({writer.FFileName, target, description});
}

const FixtureShortcut& StartMenuFixture::Find(const std::wstring& caption) const {
    for (const FixtureShortcut& shortcut : shortcuts_) {
        std::wstring name = shortcut.path.substr(shortcut.path.find_last_of(L'\\') + 1);
        if (name.substr(0, name.find_last_of(L'.')) == caption) {
            return shortcut;
        }
    }
    throw std::runtime_error("no such fixture shortcut");
}

std::vector<std::wstring> StartMenuFixture::WalkOrder() const {
    std::vector<std::wstring> order;
    WalkFolder(userMenu_, order);
    WalkFolder(commonMenu_, order);
    return order;
}

} // namespace orvane::e2e
