#include "ui/theme_win.h"

#include "system/handles_win.h"
#include "tests/support/test_support_win.h"
#include "ui/shortcut_list.h"
#include "ui/toolbar_images_win.h"

#include <gtest/gtest.h>

#include <dwmapi.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace orvane {
namespace {

constexpr wchar_t kTestFormClass[] = L"OrvaneThemeTestForm";
constexpr int kToolBarId = 301;
constexpr int kSearchBoxId = 302;
constexpr int kListId = 303;
constexpr int kStatusBarId = 304;
constexpr int kRowCount = 40;
constexpr int kSelectedRow = 2;
constexpr wchar_t kStatusText[] =
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
constexpr BYTE kPlain = BTNS_BUTTON | BTNS_AUTOSIZE | BTNS_SHOWTEXT;
constexpr BYTE kCheck = BTNS_CHECKGROUP | BTNS_AUTOSIZE | BTNS_SHOWTEXT;
const TestButton kButtons[] = {
    {101, tiScan, kPlain, TBSTATE_ENABLED, L"取得"},
    {102, tiScan, kPlain, TBSTATE_ENABLED, L"EXEのみ取得"},
    {0, 0, BTNS_SEP, 0, nullptr},
    {103, tiDetails, kCheck, TBSTATE_ENABLED | TBSTATE_CHECKED, L"詳細"},
    {104, tiList, kCheck, TBSTATE_ENABLED, L"リスト"},
    {kSearchBoxId, 150, BTNS_SEP, 0, nullptr},
    {105, tiSearch, kPlain, 0, L"検索"},
    {0, 0, BTNS_SEP, TBSTATE_WRAP, nullptr},
    {106, tiRun, kPlain, 0, L"実行"},
    {0, 0, BTNS_SEP, 0, nullptr},
    {108, tiFolder, kPlain, 0, L"フォルダを開く"},
    {109, tiFolder, kPlain, 0, L"リンク先フォルダを開く"},
    {0, 0, BTNS_SEP, 0, nullptr},
    {110, tiClose, kPlain, TBSTATE_ENABLED, L"終了"},
    {0, 0, BTNS_SEP, 0, nullptr},
    {111, tiColor, BTNS_WHOLEDROPDOWN | BTNS_AUTOSIZE | BTNS_SHOWTEXT, TBSTATE_ENABLED, L"ウィンドウカラー"},
};

// The form's own subclass of its tool bar: it passes the search box's colour requests on.
LRESULT CALLBACK ForwardingSubclass(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                    DWORD_PTR owner) {
    if (message == WM_COMMAND || message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX) {
        return ::SendMessageW(reinterpret_cast<HWND>(owner), message, wParam, lParam);
    }
    return ::DefSubclassProc(hwnd, message, wParam, lParam);
}

void Pump() {
    MSG message{};
    for (int round = 0; round < 4; ++round) {
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
        ::Sleep(10);
    }
}

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
        ::SetWindowSubclass(toolBar, ForwardingSubclass, 1, reinterpret_cast<DWORD_PTR>(hwnd_));

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

// --- pixels ----------------------------------------------------------------------------------------

// The client area of a window as 0x00BBGGRR colours, row by row.
struct Capture {
    int width = 0;
    int height = 0;
    std::vector<Color> pixels;

    Color At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// A rectangle of what `source` shows.
Capture CaptureFrom(HDC source, int left, int top, int width, int height) {
    Capture capture;
    BITMAPINFO header{};
    header.bmiHeader.biSize = sizeof header.bmiHeader;
    header.bmiHeader.biWidth = width;
    header.bmiHeader.biHeight = -height;
    header.bmiHeader.biPlanes = 1;
    header.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    UniqueBitmap bitmap(::CreateDIBSection(nullptr, &header, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap) {
        return capture;
    }
    HDC memory = ::CreateCompatibleDC(source);
    HGDIOBJ old = ::SelectObject(memory, bitmap.get());
    ::BitBlt(memory, 0, 0, width, height, source, left, top, SRCCOPY);
    ::GdiFlush();
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    // The DIB holds 0x00RRGGBB; the system's colours are 0x00BBGGRR.
    const auto* rgb = static_cast<const std::uint32_t*>(bits);
    capture.width = width;
    capture.height = height;
    for (int i = 0; i < width * height; ++i) {
        capture.pixels.push_back(MakeColor(static_cast<int>(rgb[i] >> 16), static_cast<int>(rgb[i] >> 8),
                                           static_cast<int>(rgb[i])));
    }
    return capture;
}

Capture CaptureClient(HWND window) {
    ::RedrawWindow(window, nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump();
    RECT client{};
    ::GetClientRect(window, &client);
    HDC source = ::GetDC(window);
    Capture capture = CaptureFrom(source, 0, 0, client.right, client.bottom);
    ::ReleaseDC(window, source);
    return capture;
}

static_assert(sizeof(BITMAPFILEHEADER) == 14, "the file header is packed");

// Writes the capture as a top-down 32-bit BMP when ORVANE_THEME_SHOTS names a folder.
void SaveShot(const Capture& capture, const std::wstring& name) {
    const wchar_t* folder = _wgetenv(L"ORVANE_THEME_SHOTS");
    if (folder == nullptr || *folder == 0 || capture.pixels.empty()) {
        return;
    }
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = capture.width;
    info.biHeight = -capture.height;
    info.biPlanes = 1;
    info.biBitCount = 32;
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = static_cast<DWORD>(file.bfOffBits + capture.pixels.size() * 4);
    std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
    bytes.append(reinterpret_cast<const char*>(&info), sizeof info);
    for (Color c : capture.pixels) {
        const char pixel[4] = {static_cast<char>(BlueOf(c)), static_cast<char>(GreenOf(c)),
                               static_cast<char>(RedOf(c)), 0};
        bytes.append(pixel, 4);
    }
    test::WriteFileBytes(std::wstring(folder) + L"\\" + name + L".bmp", bytes);
}

// A rectangle of `child` in the form's client coordinates.
RECT RectIn(HWND form, HWND child) {
    RECT rect{};
    ::GetWindowRect(child, &rect);
    ::MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// What a region of a capture holds: its commonest colour and how many of its pixels are light.
struct Region {
    Color common = 0;
    double commonShare = 0;
    int lightPixels = 0;
    int pixels = 0;
    std::map<Color, int> counts;

    int Count(Color c) const {
        auto found = counts.find(c);
        return found != counts.end() ? found->second : 0;
    }
};

Region Examine(const Capture& capture, RECT rect) {
    Region region;
    rect.left = std::max<LONG>(rect.left, 0);
    rect.top = std::max<LONG>(rect.top, 0);
    rect.right = std::min<LONG>(rect.right, capture.width);
    rect.bottom = std::min<LONG>(rect.bottom, capture.height);
    for (int y = rect.top; y < rect.bottom; ++y) {
        for (int x = rect.left; x < rect.right; ++x) {
            Color c = capture.At(x, y);
            ++region.counts[c];
            ++region.pixels;
            region.lightPixels += RelativeLuminance(c) > 0.6 ? 1 : 0;
        }
    }
    int best = 0;
    for (const auto& [colour, count] : region.counts) {
        if (count > best) {
            best = count;
            region.common = colour;
        }
    }
    region.commonShare = region.pixels > 0 ? static_cast<double>(best) / region.pixels : 0;
    return region;
}

std::string Hex(Color c) {
    char text[16];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", RedOf(c), GreenOf(c), BlueOf(c));
    return text;
}

// --- tests -----------------------------------------------------------------------------------------

class ColorSchemeControl : public ::testing::Test {
protected:
    void SetUp() override {
        form_ = std::make_unique<TestForm>();
        ASSERT_NE(form_->hwnd(), nullptr);
    }
    void TearDown() override { form_.reset(); }

    std::unique_ptr<TestForm> form_;
};

TEST_F(ColorSchemeControl, ListTakesThePaletteAndGetsTheSystemColoursBack) {
    TestForm& f = *form_;
    f.Apply(csDark);
    Palette dark = PaletteFor(csDark);
    EXPECT_EQ(f.controller.Scheme(), csDark);
    EXPECT_TRUE(f.controller.IsDark());
    EXPECT_EQ(ListView_GetBkColor(f.list), dark.listBackground);
    EXPECT_EQ(ListView_GetTextBkColor(f.list), dark.listBackground);
    EXPECT_EQ(ListView_GetTextColor(f.list), 0xFFFFFFu);
    // The list's own grid lines are light; the controller draws its own instead.
    EXPECT_EQ(ListView_GetExtendedListViewStyle(f.list) & LVS_EX_GRIDLINES, 0u);

    f.Apply(csLight);
    EXPECT_FALSE(f.controller.IsDark());
    EXPECT_EQ(ListView_GetBkColor(f.list), 0xFFFFFFu);
    EXPECT_EQ(ListView_GetTextColor(f.list), PaletteFor(csLight).listText);

    f.Apply(csWindows);
    EXPECT_EQ(f.controller.Scheme(), csWindows);
    EXPECT_EQ(ListView_GetBkColor(f.list), ::GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(ListView_GetTextBkColor(f.list), ::GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(ListView_GetTextColor(f.list), ::GetSysColor(COLOR_WINDOWTEXT));
    EXPECT_NE(ListView_GetExtendedListViewStyle(f.list) & LVS_EX_GRIDLINES, 0u);
    // The other extended styles were never touched.
    EXPECT_NE(ListView_GetExtendedListViewStyle(f.list) & LVS_EX_FULLROWSELECT, 0u);

    // An index outside the menu (a hand-edited settings file) gives the system look.
    f.Apply(csDark);
    f.Apply(7);
    EXPECT_EQ(f.controller.Scheme(), csWindows);
    EXPECT_EQ(ListView_GetBkColor(f.list), ::GetSysColor(COLOR_BTNFACE));
    EXPECT_FALSE(ColorSchemeController::IsSubclassed(f.list));
}

TEST_F(ColorSchemeControl, WindowsSchemeRemovesEverySubclassAndKeepsTheFormsOwn) {
    TestForm& f = *form_;
    const HWND controls[] = {f.toolBar, f.list, f.statusBar, f.searchBox};
    std::vector<LONG_PTR> procedures;
    for (HWND control : controls) {
        procedures.push_back(::GetWindowLongPtrW(control, GWLP_WNDPROC));
        EXPECT_FALSE(ColorSchemeController::IsSubclassed(control));
    }
    f.Apply(csDark);
    for (HWND control : controls) {
        EXPECT_TRUE(ColorSchemeController::IsSubclassed(control));
    }
    // A subclass of its own replaces the procedures of the status bar and the search box.
    EXPECT_NE(::GetWindowLongPtrW(f.statusBar, GWLP_WNDPROC), procedures[2]);
    EXPECT_NE(::GetWindowLongPtrW(f.searchBox, GWLP_WNDPROC), procedures[3]);
    f.Apply(csLight);
    f.Apply(csDark);
    f.Apply(csWindows);
    for (std::size_t i = 0; i < std::size(controls); ++i) {
        EXPECT_FALSE(ColorSchemeController::IsSubclassed(controls[i])) << i;
        EXPECT_EQ(::GetWindowLongPtrW(controls[i], GWLP_WNDPROC), procedures[i]) << i;
    }
    DWORD_PTR owner = 0;
    EXPECT_TRUE(FindWindowSubclass(f.toolBar, ForwardingSubclass, 1, &owner));
    EXPECT_EQ(owner, reinterpret_cast<DWORD_PTR>(f.hwnd()));
}

TEST_F(ColorSchemeControl, DetachGivesTheSystemLookBack) {
    TestForm& f = *form_;
    f.Apply(csDark);
    f.controller.Detach();
    EXPECT_FALSE(ColorSchemeController::IsSubclassed(f.list));
    EXPECT_FALSE(ColorSchemeController::IsSubclassed(f.statusBar));
    EXPECT_EQ(ListView_GetBkColor(f.list), ::GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(reinterpret_cast<HIMAGELIST>(::SendMessageW(f.toolBar, TB_GETIMAGELIST, 0, 0)),
              f.toolbarImages.get());
    // Hooks of a detached controller handle nothing.
    NMHDR header{f.toolBar, kToolBarId, static_cast<UINT>(NM_CUSTOMDRAW)};
    LRESULT result = 0;
    EXPECT_FALSE(f.controller.OnNotify(header, result));
}

TEST_F(ColorSchemeControl, ControlDestroyedWhileStyledTakesItsSubclassWithIt) {
    TestForm& f = *form_;
    f.Apply(csDark);
    ::DestroyWindow(f.statusBar);
    f.statusBar = nullptr;
    Pump();
    // Switching back must not touch the destroyed control, and everything else is restored.
    f.Apply(csWindows);
    EXPECT_FALSE(ColorSchemeController::IsSubclassed(f.list));
    EXPECT_EQ(ListView_GetBkColor(f.list), ::GetSysColor(COLOR_BTNFACE));
}

TEST_F(ColorSchemeControl, CustomDrawIsAnsweredOnlyOutsideTheSystemLook) {
    TestForm& f = *form_;
    auto prepaint = [&](HWND from) {
        NMTBCUSTOMDRAW draw{};
        draw.nmcd.hdr.hwndFrom = from;
        draw.nmcd.hdr.idFrom = static_cast<UINT_PTR>(::GetDlgCtrlID(from));
        draw.nmcd.hdr.code = static_cast<UINT>(NM_CUSTOMDRAW);
        draw.nmcd.dwDrawStage = CDDS_PREPAINT;
        LRESULT result = -1;
        bool handled = f.controller.OnNotify(draw.nmcd.hdr, result);
        return std::make_pair(handled, result);
    };
    for (HWND control : {f.toolBar, f.list, f.Header()}) {
        auto [handled, result] = prepaint(control);
        EXPECT_FALSE(handled);
        EXPECT_EQ(result, -1);
    }
    for (int scheme : {csDark, csLight}) {
        f.Apply(scheme);
        for (HWND control : {f.toolBar, f.list, f.Header()}) {
            auto [handled, result] = prepaint(control);
            EXPECT_TRUE(handled) << scheme;
            EXPECT_NE(result & CDRF_NOTIFYITEMDRAW, 0) << scheme;
        }
        // Other notifications and other senders are the form's.
        NMHDR click{f.list, kListId, static_cast<UINT>(NM_CLICK)};
        LRESULT result = 0;
        EXPECT_FALSE(f.controller.OnNotify(click, result));
        auto [handled, ignored] = prepaint(f.statusBar);
        EXPECT_FALSE(handled);
        (void)ignored;
    }
    f.Apply(csWindows);
    auto [handled, result] = prepaint(f.toolBar);
    EXPECT_FALSE(handled);
}

TEST_F(ColorSchemeControl, DarkSchemeSwapsInTheDarkToolbarImagesAndGivesTheFormsBack) {
    TestForm& f = *form_;
    auto current = [&] {
        return reinterpret_cast<HIMAGELIST>(::SendMessageW(f.toolBar, TB_GETIMAGELIST, 0, 0));
    };
    f.Apply(csDark);
    HIMAGELIST dark = current();
    ASSERT_NE(dark, nullptr);
    EXPECT_NE(dark, f.toolbarImages.get());
    EXPECT_EQ(::ImageList_GetImageCount(dark), kToolbarImageCount);
    int width = 0;
    int height = 0;
    ::ImageList_GetIconSize(dark, &width, &height);
    EXPECT_EQ(width, ToolbarImageSize(f.dpi()));
    f.Apply(csDark);
    EXPECT_EQ(current(), dark) << "a second Apply keeps the images it made";
    f.Apply(csLight);
    EXPECT_EQ(current(), f.toolbarImages.get());
    f.Apply(csDark);
    f.Apply(csWindows);
    EXPECT_EQ(current(), f.toolbarImages.get());
}

TEST_F(ColorSchemeControl, SearchBoxAndBackgroundColoursComeFromThePalette) {
    TestForm& f = *form_;
    UniqueBitmap bitmap(::CreateBitmap(8, 8, 1, 32, nullptr));
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    ::ReleaseDC(nullptr, screen);
    HGDIOBJ old = ::SelectObject(dc, bitmap.get());
    LRESULT result = 0;
    EXPECT_FALSE(f.controller.OnCtlColor(WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                                         reinterpret_cast<LPARAM>(f.SearchEdit()), result));
    EXPECT_FALSE(f.controller.OnEraseBackground(dc));

    f.Apply(csDark);
    Palette dark = PaletteFor(csDark);
    for (UINT message : {WM_CTLCOLOREDIT, WM_CTLCOLORLISTBOX}) {
        result = 0;
        ASSERT_TRUE(f.controller.OnCtlColor(message, reinterpret_cast<WPARAM>(dc),
                                            reinterpret_cast<LPARAM>(f.SearchEdit()), result));
        EXPECT_EQ(::GetTextColor(dc), dark.editText);
        EXPECT_EQ(::GetBkColor(dc), dark.editBackground);
        LOGBRUSH brush{};
        ASSERT_EQ(::GetObjectW(reinterpret_cast<HBRUSH>(result), sizeof brush, &brush),
                  static_cast<int>(sizeof brush));
        EXPECT_EQ(brush.lbColor, dark.editBackground);
    }
    EXPECT_FALSE(f.controller.OnCtlColor(WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc), 0, result));
    // The form's background: the hook paints it and says so.
    EXPECT_TRUE(f.controller.OnEraseBackground(dc));
    EXPECT_EQ(::GetPixel(dc, 3, 3), dark.window);
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
}

// The colour menu as it shows on screen: opened from the form, captured once it is up, then closed.
Capture OpenMenuShot(TestForm& f) {
    static Capture shot;
    shot = Capture{};
    ::SetTimer(f.hwnd(), 1, 300, [](HWND, UINT, UINT_PTR id, DWORD) {
        HWND popup = ::FindWindowW(L"#32768", nullptr);
        if (popup != nullptr && ::IsWindowVisible(popup)) {
            RECT rect{};
            ::GetWindowRect(popup, &rect);
            HDC screen = ::GetDC(nullptr);
            shot = CaptureFrom(screen, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
            ::ReleaseDC(nullptr, screen);
        }
        ::KillTimer(nullptr, id);
        ::EndMenu();
    });
    RECT anchor{};
    ::GetWindowRect(f.list, &anchor);
    ::SetForegroundWindow(f.hwnd());
    ::TrackPopupMenuEx(f.colorMenu.get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD, anchor.left + 40,
                       anchor.top + 40, f.hwnd(), nullptr);
    ::KillTimer(f.hwnd(), 1);
    Pump();
    return shot;
}

TEST_F(ColorSchemeControl, ColourMenuOpensInThePaletteAndIsGivenBack) {
    TestForm& f = *form_;
    HMENU menu = f.colorMenu.get();
    f.controller.AttachMenu(menu);
    auto item = [&](UINT id) {
        static wchar_t text[64];
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = 64;
        ::GetMenuItemInfoW(menu, id, FALSE, &info);
        return std::make_pair(info.fType, std::wstring(text));
    };
    MENUINFO info{};
    info.cbSize = sizeof info;
    info.fMask = MIM_BACKGROUND;
    for (int scheme : {csDark, csLight}) {
        f.Apply(scheme);
        Palette palette = PaletteFor(scheme);
        EXPECT_NE(item(202).first & MFT_OWNERDRAW, 0u);
        EXPECT_NE(item(202).first & MFT_RADIOCHECK, 0u);
        Capture shot = OpenMenuShot(f);
        ASSERT_FALSE(shot.pixels.empty()) << "the menu did not open";
        SaveShot(shot, scheme == csDark ? L"theme-dark-menu" : L"theme-light-menu");
        Region region = Examine(shot, RECT{0, 0, shot.width, shot.height});
        EXPECT_EQ(Hex(region.common), Hex(palette.menuBackground));
        if (palette.dark) {
            EXPECT_GT(region.lightPixels, 40) << "captions in light text";
        } else {
            EXPECT_GT(region.pixels - region.lightPixels, 40) << "captions in dark text";
        }
    }
    // Another menu's items are not the controller's.
    DRAWITEMSTRUCT other{};
    other.CtlType = ODT_MENU;
    other.itemID = 203;
    other.hwndItem = reinterpret_cast<HWND>(::GetSystemMenu(f.hwnd(), FALSE));
    EXPECT_FALSE(f.controller.OnDrawItem(other));

    f.Apply(csWindows);
    const wchar_t* captions[] = {L"Windows", L"Light", L"Dark"};
    for (UINT i = 0; i < 3; ++i) {
        auto [type, caption] = item(201 + i);
        EXPECT_EQ(type & MFT_OWNERDRAW, 0u) << i;
        EXPECT_NE(type & MFT_RADIOCHECK, 0u) << i;
        EXPECT_EQ(caption, captions[i]);
    }
    ::GetMenuInfo(menu, &info);
    EXPECT_EQ(info.hbrBack, nullptr);
    EXPECT_EQ(::GetMenuState(menu, 203, MF_BYCOMMAND) & MF_CHECKED, static_cast<UINT>(MF_CHECKED));
}

TEST_F(ColorSchemeControl, DarkTitleBarIsAskedForAndGivenBack) {
    TestForm& f = *form_;
    if (test::IsRunningOnWine()) {
        GTEST_SKIP() << "Wine's DwmSetWindowAttribute accepts DWMWA_USE_IMMERSIVE_DARK_MODE without effect: "
                        "Wine draws no dark title bar";
    }
    f.Apply(csDark);
    EXPECT_TRUE(f.controller.HasDarkTitleBar()) << "Windows 10 1809 and later know the dark title bar";
    BOOL value = FALSE;
    if (SUCCEEDED(::DwmGetWindowAttribute(f.hwnd(), 20, &value, sizeof value))) {
        EXPECT_TRUE(value);
    }
    f.Apply(csLight);
    EXPECT_FALSE(f.controller.HasDarkTitleBar());
    if (SUCCEEDED(::DwmGetWindowAttribute(f.hwnd(), 20, &value, sizeof value))) {
        EXPECT_FALSE(value);
    }
}

TEST_F(ColorSchemeControl, SwitchingSchemesFreesWhatItMade) {
    TestForm& f = *form_;
    f.controller.AttachMenu(f.colorMenu.get());
    HDC screen = ::GetDC(nullptr);
    f.Apply(csDark);
    LRESULT result = 0;
    ASSERT_TRUE(f.controller.OnCtlColor(WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(screen), 0, result));
    auto darkBrush = reinterpret_cast<HBRUSH>(result);
    f.Apply(csLight);
    ASSERT_TRUE(f.controller.OnCtlColor(WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(screen), 0, result));
    auto lightBrush = reinterpret_cast<HBRUSH>(result);
    ::ReleaseDC(nullptr, screen);
    f.Apply(csWindows);
    // The brushes of both schemes are gone.
    LOGBRUSH info{};
    EXPECT_EQ(::GetObjectW(darkBrush, sizeof info, &info), 0);
    EXPECT_EQ(::GetObjectW(lightBrush, sizeof info, &info), 0);

    DWORD start = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
    if (start == 0 && test::IsRunningOnWine()) {
        GTEST_SKIP() << "Wine does not count a process's GDI objects (GetGuiResources returns 0)";
    }
    for (int round = 0; round < 5; ++round) {
        for (int scheme : {csDark, csLight, csWindows}) {
            f.Apply(scheme);
            CaptureClient(f.hwnd());
        }
    }
    DWORD end = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
    EXPECT_LE(end, start + 4) << "GDI objects before " << start << ", after " << end;
}

// The pixel checks of one scheme in one view, with a screenshot when asked for.
Capture CheckedShot(TestForm& f, int scheme, DWORD view) {
    f.Apply(scheme);
    f.SetView(view);
    f.SelectRow(kSelectedRow);
    Capture shot = CaptureClient(f.hwnd());
    static const wchar_t* names[] = {L"windows", L"light", L"dark"};
    SaveShot(shot,
             std::wstring(L"theme-") + names[scheme] + (view == LV_VIEW_DETAILS ? L"-details" : L"-list"));
    return shot;
}

TEST_F(ColorSchemeControl, DarkLooksDarkOnScreen) {
    TestForm& f = *form_;
    Palette dark = PaletteFor(csDark);
    Capture shot = CheckedShot(f, csDark, LV_VIEW_DETAILS);
    ASSERT_FALSE(shot.pixels.empty());

    RECT bar = RectIn(f.hwnd(), f.toolBar);
    Region toolBar = Examine(shot, bar);
    EXPECT_EQ(Hex(toolBar.common), Hex(dark.surface)) << "tool bar background";
    EXPECT_GT(toolBar.lightPixels, 300) << "tool bar captions in light text";
    // The checked details button shows the accent edge.
    EXPECT_GT(toolBar.Count(dark.accent), 20);
    // The button under the mouse gets the hot surface; a disabled one never does.
    RECT hot{};
    ::SendMessageW(f.toolBar, TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&hot));
    ::MapWindowPoints(f.toolBar, f.hwnd(), reinterpret_cast<POINT*>(&hot), 2);
    EXPECT_EQ(Examine(shot, hot).Count(dark.surfaceHot), 0);
    ::SendMessageW(f.toolBar, TB_SETHOTITEM, 0, 0);
    Region hotButton = Examine(CaptureClient(f.hwnd()), hot);
    EXPECT_GT(hotButton.Count(dark.surfaceHot), hotButton.pixels / 2);
    ::SendMessageW(f.toolBar, TB_SETHOTITEM, static_cast<WPARAM>(-1), 0);

    RECT header = RectIn(f.hwnd(), f.Header());
    Region headerRegion = Examine(shot, header);
    EXPECT_EQ(Hex(headerRegion.common), Hex(dark.surface)) << "header background";
    EXPECT_GT(headerRegion.lightPixels, 100) << "header captions in light text";

    RECT status = RectIn(f.hwnd(), f.statusBar);
    Region statusRegion = Examine(shot, status);
    EXPECT_EQ(Hex(statusRegion.common), Hex(dark.surface)) << "status bar background";
    EXPECT_GT(statusRegion.lightPixels, 100) << "status text in light text";

    RECT rows = RectIn(f.hwnd(), f.list);
    rows.top = header.bottom;
    Region list = Examine(shot, rows);
    EXPECT_EQ(Hex(list.common), Hex(dark.listBackground)) << "list background";
    EXPECT_GT(list.lightPixels, 500) << "row texts in white";
    EXPECT_GT(list.Count(dark.gridLine), 500) << "grid lines in the palette's colour";
    RECT row{};
    ListView_GetItemRect(f.list, kSelectedRow, &row, LVIR_BOUNDS);
    ::MapWindowPoints(f.list, f.hwnd(), reinterpret_cast<POINT*>(&row), 2);
    Region selected = Examine(shot, row);
    EXPECT_EQ(Hex(selected.common), Hex(dark.selection)) << "selected row";
    // No light pixel of the system's grid or frame is left: light pixels are text, and text is small.
    EXPECT_LT(list.lightPixels, list.pixels / 8);

    RECT search = RectIn(f.hwnd(), f.SearchEdit());
    Region edit = Examine(shot, search);
    EXPECT_EQ(Hex(edit.common), Hex(dark.editBackground)) << "search box";
    EXPECT_GT(edit.lightPixels, 10) << "search text";
    RECT box = RectIn(f.hwnd(), f.searchBox);
    Region combo = Examine(shot, box);
    EXPECT_LT(combo.lightPixels, combo.pixels / 5) << "the search box's frame and button are dark too";
    // The focused search box shows the accent edge.
    EXPECT_EQ(combo.Count(dark.accent), 0);
    ::SetFocus(f.SearchEdit());
    Pump();
    EXPECT_GT(Examine(CaptureClient(f.hwnd()), box).Count(dark.accent), box.right - box.left);
}

TEST_F(ColorSchemeControl, DarkListViewStaysDarkWithoutGridLines) {
    TestForm& f = *form_;
    Palette dark = PaletteFor(csDark);
    Capture shot = CheckedShot(f, csDark, LV_VIEW_LIST);
    ASSERT_FALSE(shot.pixels.empty());
    RECT rows = RectIn(f.hwnd(), f.list);
    ::InflateRect(&rows, -3, -3);
    Region list = Examine(shot, rows);
    EXPECT_EQ(Hex(list.common), Hex(dark.listBackground));
    EXPECT_GT(list.lightPixels, 300);
    EXPECT_EQ(list.Count(dark.gridLine), 0) << "the list view has no grid";
    EXPECT_GT(list.Count(dark.selection), 100) << "selected item";

    // Text set while the scheme is on shows at once, in the palette's colours.
    ::SendMessageW(f.statusBar, SB_SETTEXTW, SB_SIMPLEID, reinterpret_cast<LPARAM>(L""));
    Region empty = Examine(CaptureClient(f.hwnd()), RectIn(f.hwnd(), f.statusBar));
    EXPECT_EQ(empty.lightPixels, 0);
    ::SendMessageW(f.statusBar, SB_SETTEXTW, SB_SIMPLEID, reinterpret_cast<LPARAM>(L"リンク先フォルダ"));
    Region status = Examine(CaptureClient(f.hwnd()), RectIn(f.hwnd(), f.statusBar));
    EXPECT_EQ(Hex(status.common), Hex(dark.surface));
    EXPECT_GT(status.lightPixels, 50);
}

TEST_F(ColorSchemeControl, LightAndWindowsLookTheirPart) {
    TestForm& f = *form_;
    Palette light = PaletteFor(csLight);
    for (DWORD view : {static_cast<DWORD>(LV_VIEW_DETAILS), static_cast<DWORD>(LV_VIEW_LIST)}) {
        Capture shot = CheckedShot(f, csLight, view);
        ASSERT_FALSE(shot.pixels.empty());
        EXPECT_EQ(Hex(Examine(shot, RectIn(f.hwnd(), f.toolBar)).common), Hex(light.surface));
        EXPECT_EQ(Hex(Examine(shot, RectIn(f.hwnd(), f.statusBar)).common), Hex(light.surface));
        RECT rows = RectIn(f.hwnd(), f.list);
        if (view == LV_VIEW_DETAILS) {
            rows.top = RectIn(f.hwnd(), f.Header()).bottom;
            EXPECT_EQ(Hex(Examine(shot, RectIn(f.hwnd(), f.Header())).common), Hex(light.surface));
        }
        ::InflateRect(&rows, -3, -3);
        EXPECT_EQ(Hex(Examine(shot, rows).common), Hex(light.listBackground));
        EXPECT_GT(Examine(shot, rows).Count(light.selection), 100);
    }
    for (DWORD view : {static_cast<DWORD>(LV_VIEW_DETAILS), static_cast<DWORD>(LV_VIEW_LIST)}) {
        Capture shot = CheckedShot(f, csWindows, view);
        ASSERT_FALSE(shot.pixels.empty());
        // The system draws: nothing of the dark palette is left, the list lies on the button face.
        RECT rows = RectIn(f.hwnd(), f.list);
        if (view == LV_VIEW_DETAILS) {
            rows.top = RectIn(f.hwnd(), f.Header()).bottom;
            Region header = Examine(shot, RectIn(f.hwnd(), f.Header()));
            EXPECT_GT(RelativeLuminance(header.common), 0.5) << Hex(header.common);
        }
        ::InflateRect(&rows, -3, -3);
        EXPECT_EQ(Hex(Examine(shot, rows).common), Hex(::GetSysColor(COLOR_BTNFACE)));
        Region bar = Examine(shot, RectIn(f.hwnd(), f.toolBar));
        EXPECT_GT(RelativeLuminance(bar.common), 0.5) << Hex(bar.common);
        EXPECT_EQ(bar.Count(PaletteFor(csDark).surface), 0);
    }
}

} // namespace
} // namespace orvane
