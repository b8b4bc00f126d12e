// A second floor of start-up: a window with the same kinds of controls as Orvane's and nothing of the
// program: a tool bar of nine captioned buttons with a search box in it, a details list of seven
// columns with N rows given on request, and a status bar. No settings, caches, fonts of its own,
// theme or layout rules. N is the first argument (default 1,000).
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <string>

namespace {

constexpr int kIdToolBar = 1;
constexpr int kIdSearch = 2;
constexpr int kIdList = 3;
constexpr int kIdStatus = 4;

int rowCount = 1000;
HWND toolBar = nullptr;
HWND list = nullptr;
HWND status = nullptr;

void CreateControls(HWND hwnd, HINSTANCE instance) {
    toolBar =
        ::CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr,
                          WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_LIST | TBSTYLE_TOOLTIPS | CCS_TOP, 0,
                          0, 0, 0, hwnd, reinterpret_cast<HMENU>(kIdToolBar), instance, nullptr);
    ::SendMessageW(toolBar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    HIMAGELIST images = ::ImageList_Create(20, 20, ILC_COLOR32, 9, 0);
    ::ImageList_SetImageCount(images, 9);
    ::SendMessageW(toolBar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
    const wchar_t* captions[] = {L"取得", L"EXEのみ取得",      L"詳細",           L"リスト", L"検索",
                                 L"実行", L"管理者として実行", L"フォルダを開く", L"終了"};
    TBBUTTON buttons[9] = {};
    for (int i = 0; i < 9; ++i) {
        buttons[i].iBitmap = i;
        buttons[i].idCommand = 100 + i;
        buttons[i].fsState = static_cast<BYTE>(TBSTATE_ENABLED | (i == 4 ? TBSTATE_WRAP : 0));
        buttons[i].fsStyle = BTNS_AUTOSIZE | BTNS_SHOWTEXT;
        buttons[i].iString = reinterpret_cast<INT_PTR>(captions[i]);
    }
    ::SendMessageW(toolBar, TB_ADDBUTTONSW, 9, reinterpret_cast<LPARAM>(buttons));
    ::SendMessageW(toolBar, TB_AUTOSIZE, 0, 0);
    ::CreateWindowExW(0, WC_COMBOBOXW, nullptr, WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWN, 420, 2,
                      150, 300, toolBar, reinterpret_cast<HMENU>(kIdSearch), instance, nullptr);

    list = ::CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, nullptr,
                             WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SINGLESEL | LVS_OWNERDATA, 0, 0, 0, 0,
                             hwnd, reinterpret_cast<HMENU>(kIdList), instance, nullptr);
    ListView_SetExtendedListViewStyle(list, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
    const wchar_t* columns[] = {L"名前",     L"フルパス", L"リンク先",  L"説明",
                                L"更新日時", L"作成日時", L"バージョン"};
    for (int i = 0; i < 7; ++i) {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.cx = 150;
        column.pszText = const_cast<wchar_t*>(columns[i]);
        ListView_InsertColumn(list, i, &column);
    }
    ListView_SetItemCountEx(list, rowCount, 0);

    status = ::CreateWindowExW(0, STATUSCLASSNAMEW, nullptr, WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0,
                               0, hwnd, reinterpret_cast<HMENU>(kIdStatus), instance, nullptr);
    ::SendMessageW(status, SB_SIMPLE, TRUE, 0);
    ::SendMessageW(status, SB_SETTEXTW, SB_SIMPLEID, reinterpret_cast<LPARAM>(L"ショートカット"));
}

void Layout(HWND hwnd) {
    RECT client{};
    ::GetClientRect(hwnd, &client);
    ::SendMessageW(toolBar, TB_AUTOSIZE, 0, 0);
    ::SendMessageW(status, WM_SIZE, 0, 0);
    RECT bar{};
    RECT foot{};
    ::GetWindowRect(toolBar, &bar);
    ::GetWindowRect(status, &foot);
    const int top = bar.bottom - bar.top;
    const int bottom = client.bottom - (foot.bottom - foot.top);
    ::MoveWindow(list, 0, top, client.right, bottom - top, TRUE);
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        CreateControls(hwnd, reinterpret_cast<CREATESTRUCTW*>(lParam)->hInstance);
        return 0;
    case WM_SIZE:
        if (list != nullptr) {
            Layout(hwnd);
        }
        return 0;
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (header->idFrom == kIdList && header->code == LVN_GETDISPINFOW) {
            auto* info = reinterpret_cast<NMLVDISPINFOW*>(lParam);
            if ((info->item.mask & LVIF_TEXT) != 0 && info->item.cchTextMax > 0) {
                const std::wstring text = L"ショートカット " + std::to_wstring(info->item.iItem) + L"-" +
                                          std::to_wstring(info->item.iSubItem);
                ::lstrcpynW(info->item.pszText, text.c_str(), info->item.cchTextMax);
            }
            return 0;
        }
        break;
    }
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int show) {
    if (commandLine != nullptr && *commandLine != L'\0') {
        rowCount = std::max(0, _wtoi(commandLine));
    }
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);
    WNDCLASSW wc{};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = L"ControlsWindow";
    ::RegisterClassW(&wc);
    HWND hwnd = ::CreateWindowW(L"ControlsWindow", L"Controls", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                                CW_USEDEFAULT, CW_USEDEFAULT, 989, 467, nullptr, nullptr, instance, nullptr);
    ::ShowWindow(hwnd, show);
    ::UpdateWindow(hwnd);
    MSG message{};
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return 0;
}
