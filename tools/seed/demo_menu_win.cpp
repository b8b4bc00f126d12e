// Fills a fresh Wine prefix's Start Menus with a demo set of shortcuts, written by the program's own
// shortcut writer, so a newcomer sees a full list after the first scan.
//   orvane_demo_menu.exe
#include "shortcuts/make_shortcuts_win.h"
#include "system/folders_win.h"
#include "system/handles_win.h"

#include <windows.h>
#include <shlobj.h>

#include <cstdio>
#include <cstring>
#include <string>

using namespace orvane;

namespace {

std::wstring KnownFolder(int csidl) {
    wchar_t path[MAX_PATH + 1] = {};
    ::SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

std::wstring Trimmed(std::wstring folder) {
    while (!folder.empty() && folder.back() == L'\\') {
        folder.pop_back();
    }
    return folder;
}

void MakeFolders(const std::wstring& path) {
    ::SHCreateDirectoryExW(nullptr, path.c_str(), nullptr);
}

int written = 0;

void Link(const std::wstring& folder, const std::wstring& name, const std::wstring& target,
          const std::wstring& description, const std::wstring& arguments = L"") {
    MakeFolders(folder);
    TMakeShortCuts writer;
    writer.FFileName = folder + L"\\" + name + L".lnk";
    writer.FExecFile = target;
    writer.FDescription = description;
    writer.FArguments = arguments;
    std::size_t slash = target.find_last_of(L'\\');
    writer.FWorkDir = slash == std::wstring::npos ? L"" : target.substr(0, slash);
    writer.SCSave();
    written += Norrow::IsExistingFile(writer.FFileName) ? 1 : 0;
}

void WriteText(const std::wstring& path, const char* text) {
    UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD done = 0;
    if (file) {
        ::WriteFile(file.get(), text, static_cast<DWORD>(std::strlen(text)), &done, nullptr);
    }
}

} // namespace

int wmain() {
    ComApartment apartment;
    const std::wstring user = Trimmed(Norrow::GetUserShellFolder(8));
    std::wstring common = Trimmed(Norrow::GetCommonShellFolder(3));
    if (user.empty()) {
        std::fprintf(stderr, "no Start Menu folder\n");
        return 1;
    }
    if (common.empty()) {
        common = Trimmed(KnownFolder(CSIDL_COMMON_STARTMENU));
    }
    const std::wstring windows = Norrow::GetWindowsDir();
    const std::wstring system = windows + L"\\system32";
    const std::wstring documents = KnownFolder(CSIDL_PERSONAL);
    MakeFolders(documents);
    const std::wstring readme = documents + L"\\はじめにお読みください.txt";
    WriteText(readme, "Orvane demo: a document that a shortcut points at.\r\n");
    const std::wstring notes = documents + L"\\Meeting notes.txt";
    WriteText(notes, "Notes.\r\n");

    const std::wstring programs = user + L"\\Programs";
    Link(programs, L"メモ帳", system + L"\\notepad.exe", L"テキストファイルを編集します");
    Link(programs + L"\\アクセサリ", L"電卓", system + L"\\calc.exe", L"計算をします");
    Link(programs + L"\\アクセサリ", L"ワードパッド", windows + L"\\write.exe", L"文書を作成します");
    Link(programs + L"\\アクセサリ\\システム ツール", L"コマンド プロンプト", system + L"\\cmd.exe",
         L"コマンドを実行します");
    Link(programs + L"\\アクセサリ\\システム ツール", L"レジストリ エディター", windows + L"\\regedit.exe",
         L"レジストリを編集します");
    Link(programs + L"\\Tools", L"Wine Configuration", system + L"\\winecfg.exe", L"Configure Wine");
    Link(programs + L"\\Tools", L"Task Manager", system + L"\\taskmgr.exe", L"Processes and performance");
    Link(programs + L"\\Tools", L"Explorer", windows + L"\\explorer.exe", L"Browse files and folders");
    Link(programs + L"\\ドキュメント", L"はじめにお読みください", readme, L"デモ用の文書");
    Link(programs + L"\\ドキュメント", L"Meeting notes", notes, L"A text document");
    Link(programs + L"\\ドキュメント", L"ドキュメント フォルダー", documents, L"文書のフォルダー");
    Link(user, L"Windows フォルダー", windows, L"The Windows folder");
    Link(common + L"\\Programs", L"Internet Explorer", L"C:\\Program Files\\Internet Explorer\\iexplore.exe",
         L"Browse the web");
    Link(common + L"\\Programs\\管理ツール", L"イベント ビューアー", system + L"\\eventvwr.exe",
         L"イベントログを表示します");
    Link(common + L"\\Programs\\管理ツール", L"サービス", system + L"\\services.exe", L"Services");
    Link(common + L"\\Programs\\Games", L"Minesweeper", system + L"\\winemine.exe", L"Find the mines");
    std::printf("%d demo shortcuts written\n", written);
    return written > 0 ? 0 : 1;
}
