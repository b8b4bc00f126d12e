// The main window in this process at its start and at the end of a session: the view and sort it
// restores before it is first shown, the search history and the icon caches it reads, and a session
// that ends in the middle of a scan.
#include "tests/support/main_form_fixture_win.h"

#include "store/find_history.h"
#include "store/icons/image_list_stream_win.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {
namespace {

// The session ends while a scan reads (the reader's notice runs a message loop, and the system's
// WM_ENDSESSION arrives in it): here delivered when the scan shows its second shortcut's path.
int scanCaptions = 0;

LRESULT CALLBACK EndSessionInTheScan(int code, WPARAM wParam, LPARAM lParam) {
    const auto& call = *reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call.message == WM_SETTEXT && call.lParam != 0 &&
        std::wstring_view(reinterpret_cast<const wchar_t*>(call.lParam)).starts_with(L"Orvane - ")) {
        if (++scanCaptions == 1) {
            // The caption changes at most four times a second: the next shortcut's path shows.
            ::Sleep(300);
        } else if (scanCaptions == 2) {
            ::SendMessageW(call.hwnd, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
        }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

// The rows of the list view whose image index is none, as "row N" texts.
std::vector<std::wstring> RowsWithoutPicture(HWND list, std::size_t count) {
    std::vector<std::wstring> rows;
    for (int row = 0; row < static_cast<int>(count); ++row) {
        LVITEMW item{};
        item.mask = LVIF_IMAGE;
        item.iItem = row;
        if (!ListView_GetItem(list, &item) || item.iImage < 0) {
            rows.push_back(L"row " + std::to_wstring(row));
        }
    }
    return rows;
}

TEST_F(MainFormTest, ASessionThatEndsInTheMiddleOfAScanKeepsTheIconsOfTheRowsItWrites) {
    scanCaptions = 0;
    {
        ThreadHook hook(WH_CALLWNDPROC, &EndSessionInTheScan);
        ASSERT_TRUE(hook);
        form_->TBGetClick();
    }
    ASSERT_GE(scanCaptions, 2) << "the scan never showed its second shortcut";
    // The process would end here; the next start reads what was written.
    form_.reset();
    Pump();
    const std::string large = test::ReadFileBytes(root_ / L"IconL.lst");
    EXPECT_GT(
        ::ImageList_GetImageCount(
            ReadImageListFile(std::span(reinterpret_cast<const std::uint8_t*>(large.data()), large.size()))
                .get()),
        0)
        << "the large list's file was written without the pictures";
    form_ = std::make_unique<TMainForm>(::GetModuleHandleW(nullptr), DataFolder());
    form_->Create();
    form_->Show(SW_SHOWNORMAL);
    HWND list = ::FindWindowExW(form_->Handle(), nullptr, WC_LISTVIEWW, nullptr);
    ASSERT_GE(form_->List().Count(), 1u);
    EXPECT_EQ(RowsWithoutPicture(list, form_->List().Count()), std::vector<std::wstring>())
        << "rows lost their icons";
}

TEST_F(MainFormTest, TheCachedPicturesAreInPlaceBeforeTheFirstKeyIsHandled) {
    // The scan of the set-up, written at the close.
    ::PostMessageW(window_, WM_CLOSE, 0, 0);
    Pump();
    ASSERT_FALSE(::IsWindow(window_));
    form_ = std::make_unique<TMainForm>(::GetModuleHandleW(nullptr), DataFolder());
    form_->Create();
    HWND list = ::FindWindowExW(form_->Handle(), nullptr, WC_LISTVIEWW, nullptr);
    // A key pressed while the window opens waits until the rows show their pictures.
    ::PostMessageW(list, WM_KEYDOWN, VK_DOWN, 1);
    form_->Show(SW_SHOWNORMAL);
    MSG key{};
    EXPECT_TRUE(::PeekMessageW(&key, list, WM_KEYDOWN, WM_KEYDOWN, PM_NOREMOVE))
        << "a key went before the pictures";
    ASSERT_EQ(form_->List().Count(), 3u);
    EXPECT_EQ(RowsWithoutPicture(list, 3), std::vector<std::wstring>()) << "rows without a picture yet";
}

TEST_F(MainFormTest, TheWindowIsInItsRestoredViewAndSortBeforeItIsFirstShown) {
    form_.reset();
    Pump();
    test::WriteFileBytes(root_ / L"Orvane.ini",
                         "[Window]\r\nColumnSort=-2\r\nColumnIndex=1\r\n[View]\r\nReport=0\r\n");
    form_ = std::make_unique<TMainForm>(::GetModuleHandleW(nullptr), DataFolder());
    form_->Create();
    HWND created = form_->Handle();
    HWND list = ::FindWindowExW(created, nullptr, WC_LISTVIEWW, nullptr);
    ASSERT_FALSE(::IsWindowVisible(created));
    // Its first picture already shows the list view and the marker: no change of view after it shows.
    EXPECT_EQ(::SendMessageW(list, LVM_GETVIEW, 0, 0), LV_VIEW_LIST);
    EXPECT_EQ(HeaderCaption(list, 1), L"フルパス ▼");
}

TEST_F(MainFormTest, TheLastSearchesReachTheBoxWithoutLosingASearchMadeAsTheWindowOpens) {
    form_.reset();
    Pump();
    const std::vector<std::uint8_t> bytes = WriteFindHistory({L"Charlie", L"検索"});
    test::WriteFileBytes(root_ / L"Find.lst", std::string(bytes.begin(), bytes.end()));
    form_ = std::make_unique<TMainForm>(::GetModuleHandleW(nullptr), DataFolder());
    form_->Create();
    HWND window = form_->Handle();
    HWND search = ::FindWindowExW(::FindWindowExW(window, nullptr, TOOLBARCLASSNAMEW, nullptr), nullptr,
                                  WC_COMBOBOXW, nullptr);
    ASSERT_NE(search, nullptr);
    auto entries = [search] {
        std::vector<std::wstring> items;
        const auto count = ::SendMessageW(search, CB_GETCOUNT, 0, 0);
        for (WPARAM i = 0; i < static_cast<WPARAM>(count > 0 ? count : 0); ++i) {
            wchar_t text[64] = {};
            ::SendMessageW(search, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
            items.emplace_back(text);
        }
        return items;
    };
    // A search as the window opens, and then whatever the window still had to do for its start.
    ::ShowWindow(window, SW_SHOWNORMAL);
    ::SetWindowTextW(search, L"delta");
    form_->TBFindClick();
    Pump();
    EXPECT_EQ(entries(), (std::vector<std::wstring>{L"delta", L"Charlie", L"検索"}));
    wchar_t typed[64] = {};
    ::GetWindowTextW(search, typed, 64);
    EXPECT_STREQ(typed, L"delta") << "the searched text left the box";
    // An entry of the last run, in another case, keeps its place.
    ::SetWindowTextW(search, L"CHARLIE");
    form_->TBFindClick();
    Pump();
    EXPECT_EQ(entries(), (std::vector<std::wstring>{L"delta", L"Charlie", L"検索"}));
}

} // namespace
} // namespace orvane
