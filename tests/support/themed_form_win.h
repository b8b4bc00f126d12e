// A window laid out like the main window, with the tool bar, search box, list and status bar the
// colour schemes paint, for the tests of the scheme controller and its painters.
#pragma once

#include "system/handles_win.h"
#include "tests/support/screen_capture_win.h"
#include "ui/model/shortcut_list.h"
#include "ui/controls/theme_win.h"
#include "ui/controls/toolbar_images_win.h"
#include "ui/controls/window_subclass_win.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

namespace orvane::test {

inline constexpr wchar_t kTestFormClass[] = L"OrvaneThemeTestForm";
inline constexpr int kToolBarId = 301;
inline constexpr int kSearchBoxId = 302;
inline constexpr int kListId = 303;
inline constexpr int kStatusBarId = 304;
inline constexpr int kRowCount = 40;
inline constexpr int kSelectedRow = 2;
inline constexpr wchar_t kStatusText[] =
    L"C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Accessories\\Notepad.lnk";

// The tool bar of the main window: captions, images, kinds and states, with the search box in the
// place of a wide separator and a separator that ends the first row.
struct TestButton {
    int id;
    int image;
    BYTE style;
    BYTE state;
    const wchar_t* caption;
};
inline constexpr BYTE kPlain = BTNS_BUTTON | BTNS_AUTOSIZE | BTNS_SHOWTEXT;
inline constexpr BYTE kCheck = BTNS_CHECKGROUP | BTNS_AUTOSIZE | BTNS_SHOWTEXT;
inline const TestButton kButtons[] = {
    {101, tiScan, kPlain, TBSTATE_ENABLED, L"取得"},
    {102, tiScan, kPlain, TBSTATE_ENABLED, L"EXEのみ取得"},
    {0, 0, BTNS_SEP, 0, nullptr},
    {103, tiDetails, kCheck, TBSTATE_ENABLED | TBSTATE_CHECKED, L"詳細"},
    {104, tiList, kCheck, TBSTATE_ENABLED, L"リスト"},
    {kSearchBoxId, 150, BTNS_SEP, 0, nullptr},
    {105, tiSearch, kPlain, 0, L"検索"},
    {0, 0, BTNS_SEP, TBSTATE_ENABLED | TBSTATE_WRAP, nullptr},
    {106, tiRun, kPlain, 0, L"実行"},
    {0, 0, BTNS_SEP, 0, nullptr},
    {108, tiFolder, kPlain, 0, L"フォルダを開く"},
    {109, tiFolder, kPlain, 0, L"リンク先フォルダを開く"},
    {0, 0, BTNS_SEP, 0, nullptr},
    {110, tiClose, kPlain, TBSTATE_ENABLED, L"終了"},
    {0, 0, BTNS_SEP, 0, nullptr},
    {111, tiColor, BTNS_WHOLEDROPDOWN | BTNS_AUTOSIZE | BTNS_SHOWTEXT, TBSTATE_ENABLED, L"ウィンドウカラー"},
};

// The id of the form's own subclass of its tool bar, as the main window's.
inline constexpr UINT_PTR kFormSubclassId = 1;

// A window laid out like the main window, whose procedure calls the controller's hooks first, as
// the main window's does.
class TestForm {
public:
    TestForm() {
        RegisterClassOnce();
        hwnd_ = ::CreateWindowExW(0, kTestFormClass, L"Orvane", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0,
                                  1000, 560, nullptr, nullptr, ::GetModuleHandleW(nullptr), this);
        if (hwnd_ == nullptr) {
            ADD_FAILURE() << "CreateWindowExW failed: " << ::GetLastError();
            return;
        }
        dpi_ = ::GetDpiForWindow(hwnd_);
        CreateControls();
        RECT frame{0, 0, Scale(989), Scale(467)};
        ::AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, 0);
        ::SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                       SWP_NOACTIVATE);
        Layout();
        ::ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
        ::UpdateWindow(hwnd_);
        controller.Attach(hwnd_, toolBar, searchBox, list, statusBar);
        Pump();
    }
    TestForm(const TestForm&) = delete;
    TestForm& operator=(const TestForm&) = delete;
    ~TestForm() {
        controller.Detach();
        if (hwnd_ != nullptr) {
            ::DestroyWindow(hwnd_);
        }
        Pump();
    }

    HWND hwnd() const { return hwnd_; }
    UINT dpi() const { return dpi_; }
    HWND Header() const { return ListView_GetHeader(list); }
    HWND SearchEdit() const {
        COMBOBOXINFO parts{};
        parts.cbSize = sizeof parts;
        ::GetComboBoxInfo(searchBox, &parts);
        return parts.hwndItem;
    }
    int Scale(int value) const { return ::MulDiv(value, static_cast<int>(dpi_), USER_DEFAULT_SCREEN_DPI); }

    void Apply(int scheme) {
        controller.Apply(scheme, dpi_);
        Pump();
    }
    void SetView(DWORD view) {
        ListView_SetView(list, view);
        Pump();
    }
    void SelectRow(int row) {
        ListView_SetItemState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
        ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        ::SetFocus(list);
        Pump();
    }

    ColorSchemeController controller;
    HWND toolBar = nullptr;
    HWND searchBox = nullptr;
    HWND list = nullptr;
    HWND statusBar = nullptr;
    UniqueImageList toolbarImages;
    UniqueImageList rowImages;
    UniqueMenu colorMenu;
    // The form's own subclass of its tool bar: it passes the search box's colour requests on.
    std::unique_ptr<WindowSubclass> toolBarForwarding;

private:
    static void RegisterClassOnce() {
        static bool registered = [] {
            INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
            ::InitCommonControlsEx(&controls);
            WNDCLASSEXW wc{};
            wc.cbSize = sizeof wc;
            wc.lpfnWndProc = &TestForm::WindowProc;
            wc.hInstance = ::GetModuleHandleW(nullptr);
            wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
            wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
            wc.lpszClassName = kTestFormClass;
            return ::RegisterClassExW(&wc) != 0;
        }();
        (void)registered;
    }

    void CreateControls() {
        HINSTANCE instance = ::GetModuleHandleW(nullptr);
        toolbarImages = CreateToolbarImages(dpi_, false);
        toolBar = ::CreateWindowExW(
            0, TOOLBARCLASSNAMEW, nullptr,
            WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | TBSTYLE_FLAT | TBSTYLE_LIST |
                TBSTYLE_TOOLTIPS | CCS_TOP | CCS_NODIVIDER,
            0, 0, 0, 0, hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kToolBarId)), instance, nullptr);
        ::SendMessageW(toolBar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
        ::SendMessageW(toolBar, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
        ::SendMessageW(toolBar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(toolbarImages.get()));
        std::vector<TBBUTTON> buttons;
        for (const TestButton& item : kButtons) {
            TBBUTTON button{};
            bool separator = (item.style & BTNS_SEP) != 0;
            button.idCommand = item.id;
            button.iBitmap = separator ? Scale(item.id == kSearchBoxId ? item.image : 8) : item.image;
            button.fsStyle = item.style;
            button.fsState = item.state;
            button.iString = item.caption != nullptr ? reinterpret_cast<INT_PTR>(item.caption) : -1;
            buttons.push_back(button);
        }
        ::SendMessageW(toolBar, TB_ADDBUTTONSW, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
        ::SendMessageW(toolBar, TB_SETBUTTONSIZE, 0, MAKELPARAM(0, Scale(34)));
        searchBox = ::CreateWindowExW(
            0, WC_COMBOBOXW, nullptr,
            WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL, 0, 0,
            Scale(150), Scale(300), toolBar, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kSearchBoxId)),
            instance, nullptr);
        ::SendMessageW(searchBox, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"メモ帳"));
        ::SetWindowTextW(searchBox, L"Note");
        toolBarForwarding = std::make_unique<WindowSubclass>(
            toolBar, kFormSubclassId, [form = hwnd_](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
                if (message == WM_COMMAND || message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX) {
                    return ::SendMessageW(form, message, wParam, lParam);
                }
                return ::DefSubclassProc(hwnd, message, wParam, lParam);
            });

        list = ::CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, nullptr,
                                 WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS | LVS_REPORT |
                                     LVS_SINGLESEL | LVS_OWNERDATA | LVS_SHAREIMAGELISTS,
                                 0, 0, 0, 0, hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kListId)),
                                 instance, nullptr);
        ListView_SetExtendedListViewStyle(list, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT |
                                                    LVS_EX_DOUBLEBUFFER | LVS_EX_FLATSB);
        rowImages.reset(::ImageList_Create(32, 32, ILC_COLOR32 | ILC_MASK, 0, 4));
        ::ImageList_AddIcon(rowImages.get(), ::LoadIconW(nullptr, IDI_APPLICATION));
        ::ImageList_AddIcon(rowImages.get(), ::LoadIconW(nullptr, IDI_INFORMATION));
        ListView_SetImageList(list, rowImages.get(), LVSIL_SMALL);
        ListView_SetImageList(list, rowImages.get(), LVSIL_NORMAL);
        COLORREF face = ::GetSysColor(COLOR_BTNFACE);
        ListView_SetBkColor(list, face);
        ListView_SetTextBkColor(list, face);
        for (int column = 0; column < kColumnCount; ++column) {
            LVCOLUMNW lvc{};
            lvc.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
            lvc.fmt = kColumnRightAligned[column] ? LVCFMT_RIGHT : LVCFMT_LEFT;
            lvc.cx = Scale(column == 0 ? 180 : 150);
            std::wstring caption = kColumnCaptions[column] + (column == 0 ? L" ▲" : L"");
            lvc.pszText = caption.data();
            lvc.iSubItem = column;
            ListView_InsertColumn(list, column, &lvc);
        }
        ListView_SetItemCountEx(list, kRowCount, 0);

        statusBar = ::CreateWindowExW(
            0, STATUSCLASSNAMEW, nullptr, WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0, hwnd_,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(kStatusBarId)), instance, nullptr);
        ::SendMessageW(statusBar, SB_SIMPLE, TRUE, 0);
        ::SendMessageW(statusBar, SB_SETMINHEIGHT, Scale(21), 0);
        ::SendMessageW(statusBar, SB_SETTEXTW, SB_SIMPLEID, reinterpret_cast<LPARAM>(kStatusText));

        colorMenu.reset(::CreatePopupMenu());
        const wchar_t* captions[] = {L"Windows", L"Light", L"Dark"};
        for (UINT i = 0; i < 3; ++i) {
            MENUITEMINFOW item{};
            item.cbSize = sizeof item;
            item.fMask = MIIM_ID | MIIM_STRING | MIIM_FTYPE | MIIM_DATA;
            item.fType = MFT_RADIOCHECK;
            item.wID = 201 + i;
            item.dwItemData = i;
            item.dwTypeData = const_cast<wchar_t*>(captions[i]);
            ::InsertMenuItemW(colorMenu.get(), i, TRUE, &item);
        }
        ::CheckMenuRadioItem(colorMenu.get(), 201, 203, 203, MF_BYCOMMAND);
    }

    void Layout() {
        RECT client{};
        ::GetClientRect(hwnd_, &client);
        ::SendMessageW(toolBar, TB_AUTOSIZE, 0, 0);
        ::SendMessageW(statusBar, WM_SIZE, 0, 0);
        RECT slot{};
        int index = static_cast<int>(::SendMessageW(toolBar, TB_COMMANDTOINDEX, kSearchBoxId, 0));
        ::SendMessageW(toolBar, TB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&slot));
        RECT box{};
        ::GetWindowRect(searchBox, &box);
        ::SetWindowPos(searchBox, nullptr, slot.left,
                       slot.top + (slot.bottom - slot.top - (box.bottom - box.top)) / 2,
                       slot.right - slot.left, Scale(300), SWP_NOZORDER | SWP_NOACTIVATE);
        RECT bar{};
        ::GetWindowRect(toolBar, &bar);
        RECT status{};
        ::GetWindowRect(statusBar, &status);
        int top = bar.bottom - bar.top;
        int bottom = client.bottom - (status.bottom - status.top);
        ::MoveWindow(list, 0, top, client.right, bottom - top, TRUE);
    }

    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE) {
            auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
            ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        }
        auto* form = reinterpret_cast<TestForm*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (form != nullptr && form->hwnd_ == hwnd) {
            LRESULT result = 0;
            if (form->Dispatch(message, wParam, lParam, result)) {
                return result;
            }
        }
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }

    bool Dispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
        switch (message) {
        case WM_NOTIFY: {
            const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
            if (controller.OnNotify(header, result)) {
                return true;
            }
            if (header.hwndFrom == list && header.code == LVN_GETDISPINFOW) {
                auto& info = *reinterpret_cast<NMLVDISPINFOW*>(lParam);
                if ((info.item.mask & LVIF_TEXT) != 0) {
                    texts_ = RowText(info.item.iItem, info.item.iSubItem);
                    info.item.pszText = texts_.data();
                }
                if ((info.item.mask & LVIF_IMAGE) != 0) {
                    info.item.iImage = info.item.iItem % 2;
                }
                result = 0;
                return true;
            }
            return false;
        }
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORSTATIC:
            return controller.OnCtlColor(message, wParam, lParam, result);
        case WM_ERASEBKGND:
            if (controller.OnEraseBackground(reinterpret_cast<HDC>(wParam))) {
                result = 1;
                return true;
            }
            return false;
        case WM_MEASUREITEM:
            result = TRUE;
            return controller.OnMeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
        case WM_DRAWITEM:
            result = TRUE;
            return controller.OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        default:
            return false;
        }
    }

    static std::wstring RowText(int row, int column) {
        static const wchar_t* names[] = {L"メモ帳", L"Calculator", L"ペイント", L"Command Prompt",
                                         L"ワードパッド"};
        static const wchar_t* columns[] = {L"",
                                           L"C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\",
                                           L"C:\\Windows\\system32\\tool",
                                           L"Tool number ",
                                           L"2024/05/01 12:",
                                           L"2024/05/09 08:",
                                           L"10.0.19041."};
        return columns[column] + (column == 0 ? std::wstring(names[row % 5]) : L"") + std::to_wstring(row);
    }

    HWND hwnd_ = nullptr;
    UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
    std::wstring texts_;
};

// A fresh form for every test.
class ThemedFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        form_ = std::make_unique<TestForm>();
        ASSERT_NE(form_->hwnd(), nullptr);
    }
    void TearDown() override { form_.reset(); }

    std::unique_ptr<TestForm> form_;
};

// The pixel checks of one scheme in one view, with a screenshot when asked for.
inline Capture CheckedShot(TestForm& f, int scheme, DWORD view) {
    f.Apply(scheme);
    f.SetView(view);
    f.SelectRow(kSelectedRow);
    Capture shot = CaptureClient(f.hwnd());
    static const wchar_t* names[] = {L"windows", L"light", L"dark"};
    SaveShot(shot,
             std::wstring(L"theme-") + names[scheme] + (view == LV_VIEW_DETAILS ? L"-details" : L"-list"));
    return shot;
}

} // namespace orvane::test
