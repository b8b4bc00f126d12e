// The main window in the test's own process, over a Start Menu of three shortcuts: the real window
// class, its real message handling, driven with the messages the system sends.
#pragma once

#include "shortcuts/make_shortcuts_win.h"
#include "system/folders_win.h"
#include "tests/support/test_support_win.h"
#include "ui/form/main_form_win.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

namespace orvane {

inline void Pump() {
    MSG message{};
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            continue; // the closed window's quit request is not the test's
        }
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

// The caption a column of the list shows.
inline std::wstring HeaderCaption(HWND list, int column) {
    wchar_t text[64] = {};
    LVCOLUMNW lvc{};
    lvc.mask = LVCF_TEXT;
    lvc.pszText = text;
    lvc.cchTextMax = 64;
    ListView_GetColumn(list, column, &lvc);
    return text;
}

// A hook on this thread's window procedures for the life of the object, through which a test plays the
// system: it sends what the system would send at the moment a given message is handled.
class ThreadHook {
public:
    ThreadHook(int kind, HOOKPROC proc)
        : hook_(::SetWindowsHookExW(kind, proc, nullptr, ::GetCurrentThreadId())) {}
    ThreadHook(const ThreadHook&) = delete;
    ThreadHook& operator=(const ThreadHook&) = delete;
    ~ThreadHook() {
        if (hook_ != nullptr) {
            ::UnhookWindowsHookEx(hook_);
        }
    }
    explicit operator bool() const noexcept { return hook_ != nullptr; }

private:
    HHOOK hook_;
};

// A form over a Start Menu of three shortcuts and an empty data folder, shown and scanned.
class MainFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        static const bool registered = [] {
            RegisterMainFormClass(::GetModuleHandleW(nullptr));
            return true;
        }();
        ASSERT_TRUE(registered);
        menu_ = root_ / L"Start Menu";
        ASSERT_TRUE(::CreateDirectoryW(menu_.c_str(), nullptr));
        const std::wstring empty = root_ / L"Empty";
        ASSERT_TRUE(::CreateDirectoryW(empty.c_str(), nullptr));
        user_.emplace(HKEY_CURRENT_USER, Norrow::kShellFoldersKey, L"Start Menu", menu_);
        common_.emplace(HKEY_LOCAL_MACHINE, Norrow::kShellFoldersKey, L"Common Start Menu", empty);
        TMakeShortCuts writer;
        for (const wchar_t* name : {L"Alpha", L"Bravo", L"Charlie"}) {
            writer.FFileName = menu_ + L"\\" + name + L".lnk";
            writer.FExecFile = test::ExeFolder() + L"\\sys_fixture_echo.exe";
            writer.FDescription = name;
            writer.SCSave();
        }
        form_ = std::make_unique<TMainForm>(::GetModuleHandleW(nullptr), DataFolder());
        form_->Create();
        window_ = form_->Handle();
        ::ShowWindow(window_, SW_SHOWNORMAL);
        ::SetForegroundWindow(window_);
        form_->TBGetClick();
        Pump();
        toolBar_ = ::FindWindowExW(window_, nullptr, TOOLBARCLASSNAMEW, nullptr);
        list_ = ::FindWindowExW(window_, nullptr, WC_LISTVIEWW, nullptr);
        status_ = ::FindWindowExW(window_, nullptr, STATUSCLASSNAMEW, nullptr);
        search_ = ::FindWindowExW(toolBar_, nullptr, WC_COMBOBOXW, nullptr);
        ASSERT_NE(toolBar_, nullptr);
        ASSERT_NE(list_, nullptr);
        ASSERT_NE(search_, nullptr);
        ASSERT_EQ(form_->List().Count(), 3u);
    }
    void TearDown() override {
        form_.reset();
        Pump();
        SetShift(false);
    }

    // Sends a key as the message loop would see it, through the window's own keys first.
    bool Key(WORD key, HWND target = nullptr) {
        MSG message{};
        message.hwnd = target != nullptr ? target : ::GetFocus();
        message.message = WM_KEYDOWN;
        message.wParam = key;
        message.lParam = 1;
        bool handled = form_->PreTranslateMessage(message);
        if (!handled) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
        Pump();
        return handled;
    }
    static void SetShift(bool down) {
        BYTE keys[256] = {};
        ::GetKeyboardState(keys);
        keys[VK_SHIFT] = down ? 0x80 : 0;
        ::SetKeyboardState(keys);
    }
    // The data folder the form reads and writes: the test's own.
    std::wstring DataFolder() const { return root_.path() + L"\\"; }
    int HotItem() const { return static_cast<int>(::SendMessageW(toolBar_, TB_GETHOTITEM, 0, 0)); }
    std::wstring HotCaption() const {
        int hot = HotItem();
        TBBUTTON button{};
        if (hot < 0 || !::SendMessageW(toolBar_, TB_GETBUTTON, static_cast<WPARAM>(hot),
                                       reinterpret_cast<LPARAM>(&button))) {
            return {};
        }
        wchar_t text[128] = {};
        ::SendMessageW(toolBar_, TB_GETBUTTONTEXTW, static_cast<WPARAM>(button.idCommand),
                       reinterpret_cast<LPARAM>(text));
        return text;
    }
    bool SearchHasFocus() const {
        HWND focus = ::GetFocus();
        return focus == search_ || ::IsChild(search_, focus);
    }

    test::TempDir root_;
    std::wstring menu_;
    std::optional<test::RegistryValueOverride> user_;
    std::optional<test::RegistryValueOverride> common_;
    std::unique_ptr<TMainForm> form_;
    HWND window_ = nullptr;
    HWND toolBar_ = nullptr;
    HWND list_ = nullptr;
    HWND status_ = nullptr;
    HWND search_ = nullptr;
};

} // namespace orvane
