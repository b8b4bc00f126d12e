// The main window in this process: keyboard operation, accessible names, and a change of scale.
#include "tests/support/main_form_fixture_win.h"

#include <gtest/gtest.h>
#include <oleacc.h>
#include <wrl/client.h>

#include <algorithm>
#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace orvane {
namespace {

using Microsoft::WRL::ComPtr;

TEST_F(MainFormTest, TabGoesRoundListSearchBoxAndToolBarAndBack) {
    ::SetFocus(list_);
    ASSERT_EQ(::GetFocus(), list_);
    EXPECT_TRUE(Key(VK_TAB));
    EXPECT_TRUE(SearchHasFocus());
    EXPECT_TRUE(Key(VK_TAB));
    EXPECT_EQ(::GetFocus(), toolBar_);
    // The tool bar shows its first command as the keyboard's place.
    EXPECT_EQ(HotCaption(), L"取得");
    EXPECT_TRUE(Key(VK_TAB));
    EXPECT_EQ(::GetFocus(), list_);
    // Shift+Tab goes the other way round.
    SetShift(true);
    EXPECT_TRUE(Key(VK_TAB));
    EXPECT_EQ(::GetFocus(), toolBar_);
    EXPECT_TRUE(Key(VK_TAB));
    EXPECT_TRUE(SearchHasFocus());
    SetShift(false);
    // Escape leaves the search box for the list.
    EXPECT_TRUE(Key(VK_ESCAPE));
    EXPECT_EQ(::GetFocus(), list_);
}

TEST_F(MainFormTest, ArrowKeysStepOverSeparatorsAndDisabledCommandsAndEnterRunsOne) {
    ::SetFocus(list_);
    Key(VK_TAB);
    Key(VK_TAB);
    ASSERT_EQ(HotCaption(), L"取得");
    Key(VK_RIGHT);
    EXPECT_EQ(HotCaption(), L"EXEのみ取得");
    Key(VK_RIGHT);
    EXPECT_EQ(HotCaption(), L"詳細"); // past the separator
    Key(VK_RIGHT);
    EXPECT_EQ(HotCaption(), L"リスト");
    // No row is selected: "実行" and the folder commands are disabled, and "検索" has no text.
    Key(VK_RIGHT);
    EXPECT_EQ(HotCaption(), L"終了");
    Key(VK_END);
    EXPECT_EQ(HotCaption(), L"ウィンドウカラー");
    Key(VK_RIGHT);
    EXPECT_EQ(HotCaption(), L"取得"); // round to the start
    Key(VK_LEFT);
    EXPECT_EQ(HotCaption(), L"ウィンドウカラー");
    Key(VK_HOME);
    EXPECT_EQ(HotCaption(), L"取得");

    // Enter on "リスト" switches the view as a click does, checking its button.
    Key(VK_RIGHT);
    Key(VK_RIGHT);
    Key(VK_RIGHT);
    ASSERT_EQ(HotCaption(), L"リスト");
    const std::wstring folder = test::ExeFolder() + L"\\..\\screenshots";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    ::RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    EXPECT_TRUE(test::SaveWindowBitmap(window_, folder + L"\\keyboard-tool-bar.bmp"));
    Key(VK_RETURN);
    EXPECT_EQ(::SendMessageW(list_, LVM_GETVIEW, 0, 0), LV_VIEW_LIST);
    EXPECT_NE(::SendMessageW(toolBar_, TB_GETSTATE, idTBIcon, 0) & TBSTATE_CHECKED, 0);
    EXPECT_EQ(::SendMessageW(toolBar_, TB_GETSTATE, idTBReport, 0) & TBSTATE_CHECKED, 0);
    // Space on "詳細" switches back.
    Key(VK_LEFT);
    Key(VK_SPACE);
    EXPECT_EQ(::SendMessageW(list_, LVM_GETVIEW, 0, 0), LV_VIEW_DETAILS);
    // Leaving the tool bar takes its keyboard mark with it.
    Key(VK_ESCAPE);
    EXPECT_EQ(::GetFocus(), list_);
    EXPECT_EQ(HotItem(), -1);
}

TEST_F(MainFormTest, SearchBoxEnterFindsTheNextHitAndTheListShowsItsFocus) {
    // Focus rectangles are drawn from the start, not only after a first key.
    EXPECT_EQ(::SendMessageW(list_, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS, 0);
    ::SetFocus(search_);
    ::SetFocus(list_);
    EXPECT_EQ(ListView_GetNextItem(list_, -1, LVNI_FOCUSED), 0) << "no row shows the focus";

    ::SetWindowTextW(search_, L"bravo");
    form_->CBFindChange();
    Key(VK_TAB, list_);
    ASSERT_TRUE(SearchHasFocus());
    EXPECT_TRUE(Key(VK_RETURN));
    EXPECT_EQ(ListView_GetNextItem(list_, -1, LVNI_SELECTED), 1);
    EXPECT_EQ(::GetFocus(), list_);
}

TEST_F(MainFormTest, ASearchWithoutAHitLeavesTheTypedTextAndCaretAsTheyWere) {
    ::SetFocus(search_);
    COMBOBOXINFO box{};
    box.cbSize = sizeof box;
    ASSERT_TRUE(::GetComboBoxInfo(search_, &box));
    auto type = [&](const char* keys) {
        for (const char* key = keys; *key != '\0'; ++key) {
            Key(static_cast<WORD>(*key), box.hwndItem);
        }
    };
    auto text = [&] {
        wchar_t typed[64] = {};
        ::GetWindowTextW(search_, typed, 64);
        return std::wstring(typed);
    };
    type("ZZQQ");
    ASSERT_EQ(text(), L"zzqq");
    EXPECT_TRUE(Key(VK_RETURN));
    ASSERT_TRUE(SearchHasFocus());
    // Typing on goes on where the caret was.
    type("X");
    EXPECT_EQ(text(), L"zzqqx");
    wchar_t first[64] = {};
    ::SendMessageW(search_, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(first));
    EXPECT_STREQ(first, L"zzqq");

    // A hundred searches more: the newest is at the top, and the oldest goes.
    for (int i = 0; i < 100; ++i) {
        ::SetWindowTextW(search_, (L"entry " + std::to_wstring(i)).c_str());
        form_->TBFindClick();
    }
    EXPECT_EQ(::SendMessageW(search_, CB_GETCOUNT, 0, 0), 100);
    ::SendMessageW(search_, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(first));
    EXPECT_STREQ(first, L"entry 99");
    EXPECT_EQ(::SendMessageW(search_, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                             reinterpret_cast<LPARAM>(L"zzqq")),
              CB_ERR);
}

// The control's name and role as an assistive tool asks for them, or as the system's standard object
// for the control gives them.
std::wstring AccessibleName(HWND control, LONG* role, bool standard = false) {
    ComPtr<IAccessible> object;
    HRESULT result =
        standard ? ::CreateStdAccessibleObject(control, OBJID_CLIENT, IID_IAccessible,
                                               reinterpret_cast<void**>(object.GetAddressOf()))
                 : ::AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                                reinterpret_cast<void**>(object.GetAddressOf()));
    if (FAILED(result)) {
        return L"(no object)";
    }
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    std::wstring text;
    if (SUCCEEDED(object->get_accName(self, &name)) && name != nullptr) {
        text.assign(name, ::SysStringLen(name));
        ::SysFreeString(name);
    }
    VARIANT value{};
    if (role != nullptr && SUCCEEDED(object->get_accRole(self, &value)) && value.vt == VT_I4) {
        *role = value.lVal;
    }
    return text;
}

TEST_F(MainFormTest, ListAndSearchBoxHaveAccessibleNamesAndKeepTheirRoles) {
    LONG listRole = 0;
    LONG searchRole = 0;
    EXPECT_EQ(AccessibleName(list_, &listRole), L"ショートカット一覧");
    EXPECT_EQ(AccessibleName(search_, &searchRole), L"検索");
    // Everything but the name still comes from the system's own object for the control: on Windows
    // a list and a combo box; Wine's standard objects call both a client area.
    LONG standardListRole = -1;
    LONG standardSearchRole = -1;
    AccessibleName(list_, &standardListRole, true);
    AccessibleName(search_, &standardSearchRole, true);
    EXPECT_EQ(listRole, standardListRole);
    EXPECT_EQ(searchRole, standardSearchRole);
    if (!test::IsRunningOnWine()) {
        EXPECT_EQ(listRole, ROLE_SYSTEM_LIST);
        EXPECT_EQ(searchRole, ROLE_SYSTEM_COMBOBOX);
    }
    // The edit field, where the focus goes, has the name too; typing changes the value, never the name.
    HWND edit = ::FindWindowExW(search_, nullptr, L"Edit", nullptr);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(AccessibleName(edit, nullptr), L"検索");
    ::SetWindowTextW(search_, L"needle");
    EXPECT_EQ(AccessibleName(search_, nullptr), L"検索");
    EXPECT_EQ(AccessibleName(edit, nullptr), L"検索");
}

TEST_F(MainFormTest, ToolBarButtonsAreNamedByTheirCaptions) {
    if (test::IsRunningOnWine()) {
        // Wine's standard object for a tool bar is a bare client area without the buttons as children;
        // Windows names each button by its text, which every button here has.
        GTEST_SKIP() << "Wine gives tool-bar buttons no accessible objects";
    }
    ComPtr<IAccessible> object;
    ASSERT_HRESULT_SUCCEEDED(::AccessibleObjectFromWindow(toolBar_, static_cast<DWORD>(OBJID_CLIENT),
                                                          IID_IAccessible,
                                                          reinterpret_cast<void**>(object.GetAddressOf())));
    std::vector<std::wstring> names;
    LONG count = 0;
    ASSERT_HRESULT_SUCCEEDED(object->get_accChildCount(&count));
    for (LONG child = 1; child <= count; ++child) {
        VARIANT id{};
        id.vt = VT_I4;
        id.lVal = child;
        BSTR name = nullptr;
        if (SUCCEEDED(object->get_accName(id, &name)) && name != nullptr) {
            names.emplace_back(name, ::SysStringLen(name));
            ::SysFreeString(name);
        }
    }
    for (const wchar_t* caption :
         {L"取得", L"EXEのみ取得", L"詳細", L"リスト", L"検索", L"実行", L"フォルダを開く",
          L"リンク先フォルダを開く", L"終了", L"ウィンドウカラー"}) {
        EXPECT_NE(std::find(names.begin(), names.end(), caption), names.end())
            << "no button named " << caption;
    }
}

// Sizes that follow the scale.
struct Measures {
    int imageSize;
    int fontHeight;
    int firstColumn;
    int statusHeight;
    int searchWidth;
    int buttonHeight;
};

Measures Measure(HWND toolBar, HWND list, HWND status, HWND search) {
    Measures m{};
    int cx = 0;
    int cy = 0;
    ::ImageList_GetIconSize(reinterpret_cast<HIMAGELIST>(::SendMessageW(toolBar, TB_GETIMAGELIST, 0, 0)), &cx,
                            &cy);
    m.imageSize = cx;
    LOGFONTW font{};
    ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(toolBar, WM_GETFONT, 0, 0)), sizeof font, &font);
    m.fontHeight = font.lfHeight < 0 ? -font.lfHeight : font.lfHeight;
    m.firstColumn = ListView_GetColumnWidth(list, 0);
    RECT rect{};
    ::GetWindowRect(status, &rect);
    m.statusHeight = rect.bottom - rect.top;
    ::GetWindowRect(search, &rect);
    m.searchWidth = rect.right - rect.left;
    m.buttonHeight = HIWORD(::SendMessageW(toolBar, TB_GETBUTTONSIZE, 0, 0));
    return m;
}

TEST_F(MainFormTest, ScaleChangeRedrawsImagesAndRescalesFontsAndLayout) {
    RECT before{};
    ::GetWindowRect(window_, &before);
    const Measures at96 = Measure(toolBar_, list_, status_, search_);
    ASSERT_EQ(at96.imageSize, 20);
    std::wstring folder = test::ExeFolder() + L"\\..\\screenshots";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    ::RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Pump();
    EXPECT_TRUE(test::SaveWindowBitmap(window_, folder + L"\\dpi-96.bmp"));

    // The system suggests a rectangle for the new scale; here one that fits the test screen.
    RECT suggested{0, 0, (before.right - before.left) * 5 / 4, (before.bottom - before.top) * 5 / 4};
    ::SendMessageW(window_, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    Pump();
    const Measures at144 = Measure(toolBar_, list_, status_, search_);
    // New pictures drawn at 30 pixels, not the 20-pixel ones stretched.
    EXPECT_EQ(at144.imageSize, 30);
    EXPECT_NEAR(at144.fontHeight, at96.fontHeight * 3 / 2, 1);
    EXPECT_EQ(at144.firstColumn, at96.firstColumn * 3 / 2);
    EXPECT_EQ(at144.searchWidth, 225);
    EXPECT_GE(at144.statusHeight, 31);
    // The buttons grow with their pictures.
    EXPECT_GT(at144.buttonHeight, at96.buttonHeight);
    EXPECT_GE(at144.buttonHeight, at144.imageSize + 4);
    RECT after{};
    ::GetWindowRect(window_, &after);
    EXPECT_EQ(after.right - after.left, suggested.right - suggested.left);
    EXPECT_EQ(after.bottom - after.top, suggested.bottom - suggested.top);
    // The commands keep their states and the search box stays in its slot.
    EXPECT_NE(::SendMessageW(toolBar_, TB_GETSTATE, idTBReport, 0) & TBSTATE_CHECKED, 0);
    EXPECT_EQ(::SendMessageW(toolBar_, TB_ISBUTTONENABLED, idTBExe, 0), 0);
    RECT slot{};
    ::SendMessageW(toolBar_, TB_GETRECT, idCBFind, reinterpret_cast<LPARAM>(&slot));
    RECT box{};
    ::GetWindowRect(search_, &box);
    ::MapWindowPoints(nullptr, toolBar_, reinterpret_cast<POINT*>(&box), 2);
    EXPECT_EQ(box.left, slot.left);
    EXPECT_EQ(box.right, slot.right);
    ::RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Pump();
    EXPECT_TRUE(test::SaveWindowBitmap(window_, folder + L"\\dpi-144.bmp"));

    // And back: the 96-dpi sizes return exactly.
    ::SendMessageW(window_, WM_DPICHANGED, MAKEWPARAM(96, 96), reinterpret_cast<LPARAM>(&before));
    Pump();
    const Measures again = Measure(toolBar_, list_, status_, search_);
    EXPECT_EQ(again.imageSize, at96.imageSize);
    EXPECT_EQ(again.fontHeight, at96.fontHeight);
    EXPECT_EQ(again.firstColumn, at96.firstColumn);
    EXPECT_EQ(again.searchWidth, at96.searchWidth);
}

// The saved rectangle, and the rectangle the system suggests when moving onto it brings the window onto
// a monitor at 150 %: the saved one scaled.
constexpr RECT kSavedRect{120, 100, 720, 500};
bool scaleChangeSent = false;

LRESULT CALLBACK ScaleChangeOnPlacement(int code, WPARAM wParam, LPARAM lParam) {
    const auto& call = *reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && call.message == WM_WINDOWPOSCHANGED && !scaleChangeSent) {
        const auto& pos = *reinterpret_cast<const WINDOWPOS*>(call.lParam);
        wchar_t name[32] = {};
        ::GetClassNameW(call.hwnd, name, 32);
        if (std::wstring(name) == TMainForm::kWindowClass && pos.x == kSavedRect.left &&
            pos.y == kSavedRect.top && pos.cx == kSavedRect.right - kSavedRect.left &&
            pos.cy == kSavedRect.bottom - kSavedRect.top) {
            scaleChangeSent = true;
            RECT suggested{kSavedRect.left, kSavedRect.top, kSavedRect.left + pos.cx * 3 / 2,
                           kSavedRect.top + pos.cy * 3 / 2};
            ::SendMessageW(call.hwnd, WM_DPICHANGED, MAKEWPARAM(144, 144),
                           reinterpret_cast<LPARAM>(&suggested));
        }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(MainFormTest, TheSavedRectangleComesBackExactlyOnAMonitorOfAnotherScale) {
    form_.reset();
    Pump();
    test::WriteFileBytes(root_ / L"Orvane.ini",
                         "[Window]\r\nMax=0\r\nTop=100\r\nLeft=120\r\nHeight=400\r\nWidth=600\r\n");
    scaleChangeSent = false;
    {
        ThreadHook hook(WH_CALLWNDPROCRET, &ScaleChangeOnPlacement);
        ASSERT_TRUE(hook);
        form_ = std::make_unique<TMainForm>(::GetModuleHandleW(nullptr), DataFolder());
        form_->Create();
    }
    ASSERT_TRUE(scaleChangeSent) << "the window never moved onto its saved rectangle";
    RECT rect{};
    ::GetWindowRect(form_->Handle(), &rect);
    EXPECT_EQ(rect.left, kSavedRect.left);
    EXPECT_EQ(rect.top, kSavedRect.top);
    EXPECT_EQ(rect.right - rect.left, kSavedRect.right - kSavedRect.left) << "the window grew with the scale";
    EXPECT_EQ(rect.bottom - rect.top, kSavedRect.bottom - kSavedRect.top);
    // The controls took the monitor's scale all the same.
    HWND toolBar = ::FindWindowExW(form_->Handle(), nullptr, TOOLBARCLASSNAMEW, nullptr);
    int cx = 0;
    int cy = 0;
    ::ImageList_GetIconSize(reinterpret_cast<HIMAGELIST>(::SendMessageW(toolBar, TB_GETIMAGELIST, 0, 0)), &cx,
                            &cy);
    EXPECT_EQ(cx, 30);
}

} // namespace
} // namespace orvane
