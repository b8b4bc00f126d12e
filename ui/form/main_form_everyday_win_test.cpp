// The main window in this process as people meet it on an ordinary day: the tool bar as built, a scan
// after another sort or one that fails half way, the wheel over each part of the window, the colour
// schemes and the list's font, switching away and back, the pointer leaving the list, and a shortcut
// that cannot be read while another program is in front.
#include "tests/support/main_form_fixture_win.h"

#include "system/launch_win.h"
#include "ui/controls/window_subclass_win.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>
#include <utility>
#include <vector>

namespace orvane {
namespace {

using namespace std::chrono_literals;

int ImageCount(HWND list, int which) {
    return ::ImageList_GetImageCount(ListView_GetImageList(list, which));
}

// The list's font size in points, as the user sees it.
int ListFontPoints(HWND list) {
    LOGFONTW font{};
    ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(list, WM_GETFONT, 0, 0)), sizeof font, &font);
    return ::MulDiv(font.lfHeight < 0 ? -font.lfHeight : font.lfHeight, 72, 96);
}

// The form's row hint: the tooltip whose tool is the list.
HWND RowHintOf(HWND form, HWND list) {
    struct Search {
        HWND form, list, hint;
    } search{form, list, nullptr};
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND window, LPARAM context) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(context);
            TTTOOLINFOW tool{};
            tool.cbSize = sizeof tool;
            tool.hwnd = s.form;
            tool.uId = reinterpret_cast<UINT_PTR>(s.list);
            wchar_t name[32] = {};
            ::GetClassNameW(window, name, 32);
            if (std::wstring(name) == TOOLTIPS_CLASSW &&
                ::SendMessageW(window, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&tool))) {
                s.hint = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.hint;
}

// A top-level window of "another program" that takes the foreground.
class OtherWindow {
public:
    OtherWindow()
        : hwnd_(::CreateWindowExW(0, L"STATIC", L"another program", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40,
                                  300, 200, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr)) {
        ::SetForegroundWindow(hwnd_);
        Pump();
    }
    OtherWindow(const OtherWindow&) = delete;
    OtherWindow& operator=(const OtherWindow&) = delete;
    ~OtherWindow() { ::DestroyWindow(hwnd_); }
    HWND get() const { return hwnd_; }

private:
    HWND hwnd_;
};

TEST_F(MainFormTest, ToolBarHoldsItsItemsInOrderWithTheirImagesAndStatesOnTwoRows) {
    struct Item {
        int id;
        int image; // -1 for a separator
        const wchar_t* caption;
        BYTE state; // after a scan, with no row selected and no search text
    };
    const BYTE on = TBSTATE_ENABLED;
    const BYTE admin = Norrow::IsOSVistaOrLater() ? 0 : TBSTATE_HIDDEN;
    const std::vector<Item> expected = {
        {idTBGet, 0, L"取得", on},
        {idTBGetExe, 0, L"EXEのみ取得", on},
        {0, -1, nullptr, 0},
        {idTBReport, 1, L"詳細", on | TBSTATE_CHECKED},
        {idTBIcon, 2, L"リスト", on},
        {idCBFind, -1, nullptr, 0},
        {idTBFind, 3, L"検索", 0},
        {0, -1, nullptr, on | TBSTATE_WRAP}, // a break must be enabled too, else Windows may skip it
        {idTBExe, 5, L"実行", 0},
        {idTBAdmin, 7, L"管理者として実行", admin},
        {0, -1, nullptr, 0},
        {idTBDir, 6, L"フォルダを開く", 0},
        {idTBLink, 6, L"リンク先フォルダを開く", 0},
        {0, -1, nullptr, 0},
        {idTBClose, 4, L"終了", on},
        {0, -1, nullptr, 0},
        {idTBColor, 8, L"ウィンドウカラー", on},
    };
    ASSERT_EQ(::SendMessageW(toolBar_, TB_BUTTONCOUNT, 0, 0), static_cast<LRESULT>(expected.size()));
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        TBBUTTON button{};
        ASSERT_TRUE(::SendMessageW(toolBar_, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button)));
        const Item& item = expected[i];
        EXPECT_EQ(button.idCommand, item.id);
        const BYTE shownState = TBSTATE_ENABLED | TBSTATE_CHECKED | TBSTATE_HIDDEN | TBSTATE_WRAP;
        EXPECT_EQ(button.fsState & shownState, item.state);
        if (item.image < 0) {
            EXPECT_NE(button.fsStyle & BTNS_SEP, 0);
            continue;
        }
        EXPECT_EQ(button.fsStyle & BTNS_SEP, 0);
        EXPECT_EQ(button.iBitmap, item.image);
        wchar_t caption[64] = {};
        ::SendMessageW(toolBar_, TB_GETBUTTONTEXTW, static_cast<WPARAM>(item.id),
                       reinterpret_cast<LPARAM>(caption));
        EXPECT_STREQ(caption, item.caption);
    }
    EXPECT_EQ(::SendMessageW(toolBar_, TB_GETSTATE, idTBReport, 0) & TBSTATE_CHECKED, TBSTATE_CHECKED);
    TBBUTTONINFOW color{};
    color.cbSize = sizeof color;
    color.dwMask = TBIF_STYLE;
    ::SendMessageW(toolBar_, TB_GETBUTTONINFOW, idTBColor, reinterpret_cast<LPARAM>(&color));
    EXPECT_EQ(color.fsStyle & BTNS_WHOLEDROPDOWN, BTNS_WHOLEDROPDOWN);
    TBBUTTONINFOW report{};
    report.cbSize = sizeof report;
    report.dwMask = TBIF_STYLE;
    ::SendMessageW(toolBar_, TB_GETBUTTONINFOW, idTBIcon, reinterpret_cast<LPARAM>(&report));
    EXPECT_EQ(report.fsStyle & BTNS_CHECKGROUP, BTNS_CHECKGROUP);
    // Nine pictures; two rows, the second starting with "実行".
    EXPECT_EQ(::ImageList_GetImageCount(
                  reinterpret_cast<HIMAGELIST>(::SendMessageW(toolBar_, TB_GETIMAGELIST, 0, 0))),
              9);
    // The buttons stand in two rows: those up to "検索", then from "実行" on.
    std::vector<LONG> tops;
    for (const Item& item : expected) {
        RECT rect{};
        if (item.image >= 0 && (item.state & TBSTATE_HIDDEN) == 0 &&
            ::SendMessageW(toolBar_, TB_GETRECT, static_cast<WPARAM>(item.id),
                           reinterpret_cast<LPARAM>(&rect))) {
            tops.push_back(rect.top);
        }
    }
    ASSERT_EQ(tops.size(), Norrow::IsOSVistaOrLater() ? 11u : 10u);
    const LONG firstRow = tops.front();
    const auto inFirst = std::count(tops.begin(), tops.end(), firstRow);
    EXPECT_EQ(inFirst, 5);
    EXPECT_TRUE(std::all_of(tops.begin() + 5, tops.end(), [&](LONG top) { return top == tops[5]; }));
    EXPECT_GT(tops[5], firstRow);
}

TEST_F(MainFormTest, AScanAfterADescendingSortComesBackByNameWithImagesFromZeroAndTheProgramsIcons) {
    form_->ListViewColumnClick(3);
    form_->ListViewColumnClick(3);
    ASSERT_EQ(HeaderCaption(list_, 3), L"説明 ▼");
    ASSERT_EQ(form_->List().Row(0).caption, L"Charlie");

    form_->TBGetClick();
    Pump();
    EXPECT_EQ(HeaderCaption(list_, 0), L"名前 ▲");
    EXPECT_EQ(HeaderCaption(list_, 3), L"説明");
    std::vector<std::wstring> names;
    std::vector<int> images;
    for (const ShortcutRow& row : form_->List().Rows()) {
        names.push_back(row.caption);
        images.push_back(row.imageIndex);
    }
    EXPECT_EQ(names, (std::vector<std::wstring>{L"Alpha", L"Bravo", L"Charlie"}));
    std::sort(images.begin(), images.end());
    EXPECT_EQ(images, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(ImageCount(list_, LVSIL_SMALL), 3);
    EXPECT_EQ(ListView_GetImageList(list_, LVSIL_NORMAL), ListView_GetImageList(list_, LVSIL_SMALL))
        << "the same pictures are kept once for both views";
    // The caption and both window icons are the program's own again, the small one not the large one
    // shrunk.
    wchar_t caption[64] = {};
    ::GetWindowTextW(window_, caption, 64);
    EXPECT_STREQ(caption, L"Orvane");
    EXPECT_EQ(::SendMessageW(window_, WM_GETICON, ICON_BIG, 0), ::GetClassLongPtrW(window_, GCLP_HICON));
    EXPECT_EQ(::SendMessageW(window_, WM_GETICON, ICON_SMALL, 0), ::GetClassLongPtrW(window_, GCLP_HICONSM));
}

TEST_F(MainFormTest, AScanThatFailsHalfWayLeavesBothImageListsAlike) {
    // The all-users lookup fails after the user's three shortcuts were read: a value that is not text.
    const DWORD notText = 1;
    common_.reset();
    common_.emplace(HKEY_LOCAL_MACHINE, Norrow::kShellFoldersKey, L"Common Start Menu",
                    reinterpret_cast<const BYTE*>(&notText), DWORD{sizeof notText}, DWORD{REG_DWORD});
    EXPECT_ANY_THROW(form_->TBGetClick());
    Pump();
    EXPECT_EQ(form_->List().Count(), 3u);
    EXPECT_EQ(ListView_GetItemCount(list_), 3);
    EXPECT_EQ(ImageCount(list_, LVSIL_SMALL), 3);
    EXPECT_EQ(ImageCount(list_, LVSIL_NORMAL), 3) << "icon view and the next start would lose the icons";
    EXPECT_EQ(::SendMessageW(window_, WM_GETICON, ICON_SMALL, 0), ::GetClassLongPtrW(window_, GCLP_HICONSM));
}

TEST_F(MainFormTest, CtrlWheelOverAnyPartOfTheWindowSizesTheListFontWithinEightToTwentyFour) {
    COMBOBOXINFO box{};
    box.cbSize = sizeof box;
    ASSERT_TRUE(::GetComboBoxInfo(search_, &box));
    // A wheel turn as the message loop gets it: posted to the control under the pointer or with the focus.
    auto wheel = [&](HWND target, bool control, int delta) {
        MSG message{};
        message.hwnd = target;
        message.message = WM_MOUSEWHEEL;
        message.wParam = MAKEWPARAM(control ? MK_CONTROL : 0, delta);
        if (!form_->PreTranslateMessage(message)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
        Pump();
    };
    const int start = ListFontPoints(list_);
    ASSERT_GE(start, 8);
    ASSERT_LT(start, 20);
    int expected = start;
    for (HWND part : {list_, toolBar_, status_, box.hwndItem, window_}) {
        wheel(part, true, WHEEL_DELTA);
        EXPECT_EQ(ListFontPoints(list_), ++expected) << "no change over window " << part;
    }
    // Without Ctrl the wheel only scrolls.
    wheel(list_, false, WHEEL_DELTA);
    wheel(toolBar_, false, -WHEEL_DELTA);
    EXPECT_EQ(ListFontPoints(list_), expected);
    for (int i = 0; i < 30; ++i) {
        wheel(list_, true, WHEEL_DELTA);
    }
    EXPECT_EQ(ListFontPoints(list_), 24);
    for (int i = 0; i < 30; ++i) {
        wheel(status_, true, -WHEEL_DELTA);
    }
    EXPECT_EQ(ListFontPoints(list_), 8);
    wheel(list_, true, 0); // a zero turn counts as down
    EXPECT_EQ(ListFontPoints(list_), 8);
}

TEST_F(MainFormTest, DarkKeepsTheWheelSizeAndLightGivesTheListTheWindowsFontAgain) {
    const HFONT windowFont = reinterpret_cast<HFONT>(::SendMessageW(toolBar_, WM_GETFONT, 0, 0));
    const int start = ListFontPoints(list_);
    form_->FormMouseWheel(MK_CONTROL, WHEEL_DELTA);
    form_->FormMouseWheel(MK_CONTROL, WHEEL_DELTA);
    ASSERT_EQ(ListFontPoints(list_), start + 2);
    // The row hint's theme changes both ways (SetWindowTheme sends WM_THEMECHANGED): dark in Dark, its
    // own in Light. Wine draws it light regardless; the theme asked for is checked in theme_win_test.
    const HWND hint = RowHintOf(window_, list_);
    ASSERT_NE(hint, nullptr);
    int themeChanges = 0;
    WindowSubclass counter(hint, 0x7E57, [&](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        themeChanges += message == WM_THEMECHANGED ? 1 : 0;
        return ::DefSubclassProc(hwnd, message, wParam, lParam);
    });

    form_->PPColorClick(2);
    EXPECT_GT(std::exchange(themeChanges, 0), 0);
    EXPECT_EQ(ListFontPoints(list_), start + 2);
    EXPECT_EQ(::SendMessageW(list_, LVM_GETTEXTCOLOR, 0, 0), static_cast<LRESULT>(RGB(255, 255, 255)));
    LOGFONTW icon{};
    ::SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof icon, &icon, 0);
    LOGFONTW dark{};
    ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(list_, WM_GETFONT, 0, 0)), sizeof dark, &dark);
    EXPECT_STREQ(dark.lfFaceName, icon.lfFaceName);

    form_->PPColorClick(1);
    EXPECT_GT(themeChanges, 0);
    EXPECT_EQ(::SendMessageW(list_, WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(windowFont));
    EXPECT_EQ(ListFontPoints(list_), start);
    EXPECT_NE(::SendMessageW(list_, LVM_GETTEXTCOLOR, 0, 0), static_cast<LRESULT>(RGB(255, 255, 255)));
}

TEST_F(MainFormTest, SwitchingAwayAndBackReturnsTheFocusToTheControlThatHadIt) {
    ::SetFocus(search_);
    ::SetWindowTextW(search_, L"half-typed");
    ASSERT_TRUE(SearchHasFocus());
    {
        OtherWindow other;
        ASSERT_EQ(::GetForegroundWindow(), other.get());
        EXPECT_FALSE(SearchHasFocus());
        ::SetForegroundWindow(window_);
        Pump();
    }
    EXPECT_TRUE(SearchHasFocus()) << "the focus went to another control";
    // And from the tool bar.
    ::SetFocus(toolBar_);
    {
        OtherWindow other;
        ::SetForegroundWindow(window_);
        Pump();
    }
    EXPECT_EQ(::GetFocus(), toolBar_);
}

std::wstring StatusText(HWND status) {
    wchar_t text[512] = {};
    // Windows keeps the simple panel's text under SB_SIMPLEID; Wine keeps it as part 0.
    ::SendMessageW(status, SB_GETTEXTW, test::IsRunningOnWine() ? 0 : SB_SIMPLEID,
                   reinterpret_cast<LPARAM>(text));
    return text;
}

TEST_F(MainFormTest, HoverFollowsThePointerAfterASortAndEmptySpaceClearsTheStatusBar) {
    RECT first{};
    ListView_GetItemRect(list_, 0, &first, LVIR_LABEL);
    const POINT over{first.left + 4, (first.top + first.bottom) / 2};
    auto moveTo = [&](POINT at) {
        ::SendMessageW(list_, WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y));
        return StatusText(status_);
    };
    auto shown = [&](std::size_t row) {
        const ShortcutRow& r = form_->List().Row(row);
        return r.subItems[siTarget] + L" " + r.subItems[siDescription];
    };
    EXPECT_EQ(moveTo(over), shown(0));
    ASSERT_EQ(form_->List().Row(0).caption, L"Alpha");
    // Sorted the other way under the resting pointer: the next move shows the row that is there now.
    form_->ListViewColumnClick(0);
    ASSERT_EQ(form_->List().Row(0).caption, L"Charlie");
    EXPECT_EQ(moveTo(over), shown(0));
    EXPECT_NE(shown(0), shown(2));

    // Empty space below the last of the three rows, twice, with a row between.
    RECT last{};
    ListView_GetItemRect(list_, 2, &last, LVIR_BOUNDS);
    RECT client{};
    ::GetClientRect(list_, &client);
    const POINT below{over.x, last.bottom + 20};
    ASSERT_LT(below.y, client.bottom);
    EXPECT_EQ(moveTo(below), L"");
    EXPECT_EQ(moveTo(over), shown(0));
    EXPECT_EQ(moveTo(below), L"");
}

TEST_F(MainFormTest, TheHintIsNoLongerLookedAtOnceThePointerLeavesTheList) {
    RECT row{};
    ListView_GetItemRect(list_, 1, &row, LVIR_LABEL);
    POINT over{row.left + 4, (row.top + row.bottom) / 2};
    POINT screen = over;
    ::ClientToScreen(list_, &screen);
    ::SetCursorPos(screen.x, screen.y);
    ::SendMessageW(list_, WM_MOUSEMOVE, 0, MAKELPARAM(over.x, over.y));
    std::wstring hint;
    form_->ApplicationShowHint(list_, hint);
    EXPECT_EQ(hint, form_->List().Row(1).subItems[siFullPath]);
    // The probe sees the running re-look: stopping it succeeds once.
    ASSERT_TRUE(::KillTimer(window_, kHintReshowTimer));
    form_->ApplicationShowHint(list_, hint);

    // The pointer goes to the status bar; the system tells the list it left.
    RECT status{};
    ::GetWindowRect(status_, &status);
    ::SetCursorPos((status.left + status.right) / 2, (status.top + status.bottom) / 2);
    Pump();
    ::SendMessageW(list_, WM_MOUSELEAVE, 0, 0);
    Pump();
    EXPECT_FALSE(::KillTimer(window_, kHintReshowTimer)) << "the hint is still looked at every 250 ms";
}

TEST_F(MainFormTest, ShortcutLoadErrorIsModalToTheWindowEvenWithAnotherProgramInFront) {
    // A shortcut whose stored show command (at offset 0x3C) the reader does not know: 2, minimised.
    const std::wstring odd = menu_ + L"\\Delta.lnk";
    TMakeShortCuts writer;
    writer.FFileName = odd;
    writer.FExecFile = test::ExeFolder() + L"\\sys_fixture_echo.exe";
    writer.SCSave();
    std::string bytes = test::ReadFileBytes(odd);
    ASSERT_GT(bytes.size(), 0x40u);
    bytes[0x3C] = 2;
    test::WriteFileBytes(odd, bytes);

    OtherWindow other;
    ASSERT_NE(::GetActiveWindow(), window_);
    test::BoxSeen box = test::AnswerTheBoxOf(window_, [&] { form_->TBGetClick(); });
    EXPECT_EQ(form_->List().Count(), 4u);
    if (!box.seen && test::IsRunningOnWine()) {
        // Wine's link object reports show command 1 after every load, so its scan raises no notice;
        // the form's answer to the reader's notice is shown as the scan would show it.
        box = test::AnswerTheBoxOf(window_,
                                   [&] { form_->MakeShortCutsLoadError(L"Error:致命的エラー(Load)"); });
    }
    ASSERT_TRUE(box.seen) << "no message box";
    EXPECT_EQ(box.owner, window_);
    EXPECT_FALSE(box.ownerEnabled) << "commands could run while the box was up";
    EXPECT_TRUE(::IsWindowEnabled(window_));
}

} // namespace
} // namespace orvane
