// The one subclass type: what it sees, when it goes, and that a failing handler is reported while
// the control goes on working.
#include "ui/controls/window_subclass_win.h"

#include "tests/support/test_support_win.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>

namespace orvane {
namespace {

constexpr UINT_PTR kFirst = 0x51;
constexpr UINT_PTR kSecond = 0x52;

HWND MakeStatic() {
    return ::CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                             ::GetModuleHandleW(nullptr), nullptr);
}

std::wstring TextOf(HWND window) {
    wchar_t text[64] = {};
    ::GetWindowTextW(window, text, 64);
    return text;
}

TEST(WindowSubclass, SeesTheMessagesWhileItLivesAndTheControlWorksOnWithoutIt) {
    HWND window = MakeStatic();
    ASSERT_NE(window, nullptr);
    int seen = 0;
    int seenBySecond = 0;
    auto counting = [](int& count) {
        return [&count](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
            if (message == WM_SETTEXT) {
                ++count;
            }
            return ::DefSubclassProc(hwnd, message, wParam, lParam);
        };
    };
    auto first = std::make_unique<WindowSubclass>(window, kFirst, counting(seen));
    {
        WindowSubclass second(window, kSecond, counting(seenBySecond));
        ASSERT_TRUE(first->Installed());
        ASSERT_TRUE(second.Installed());
        ::SetWindowTextW(window, L"one");
        EXPECT_EQ(seen, 1);
        EXPECT_EQ(seenBySecond, 1);
        EXPECT_EQ(TextOf(window), L"one") << "the message did not reach the control";
    }
    // The second one went with its scope; the first stays.
    EXPECT_FALSE(WindowSubclass::IsInstalled(window, kSecond));
    EXPECT_TRUE(WindowSubclass::IsInstalled(window, kFirst));
    ::SetWindowTextW(window, L"two");
    EXPECT_EQ(seen, 2);
    EXPECT_EQ(seenBySecond, 1);
    first.reset();
    EXPECT_FALSE(WindowSubclass::IsInstalled(window, kFirst));
    ::SetWindowTextW(window, L"three");
    EXPECT_EQ(seen, 2);
    EXPECT_EQ(TextOf(window), L"three");
    ::DestroyWindow(window);
}

TEST(WindowSubclass, AWindowDestroyedFirstTakesItAndLetsTheHandlerForgetTheWindow) {
    HWND window = MakeStatic();
    ASSERT_NE(window, nullptr);
    HWND remembered = window;
    WindowSubclass subclass(window, kFirst, [&](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCDESTROY) {
            remembered = nullptr;
        }
        return ::DefSubclassProc(hwnd, message, wParam, lParam);
    });
    ASSERT_TRUE(subclass.Installed());
    ::DestroyWindow(window);
    EXPECT_EQ(remembered, nullptr);
    EXPECT_FALSE(subclass.Installed());
    EXPECT_EQ(subclass.Window(), nullptr);
    // The destructor at the end of the scope has nothing left to remove.
}

// A handler that ends its own subclass, with a probe in it that tells whether the handler is still
// there; file-scope, since after the end the handler may read nothing of its own.
bool probeAlive = false;
bool probeAliveAfterTheEnd = false;
std::unique_ptr<WindowSubclass> endingItself;

struct Probe {
    Probe() { probeAlive = true; }
    Probe(const Probe&) = delete;
    Probe& operator=(const Probe&) = delete;
    ~Probe() { probeAlive = false; }
};

TEST(WindowSubclass, AHandlerThatEndsItsOwnSubclassRunsToItsEnd) {
    HWND window = MakeStatic();
    ASSERT_NE(window, nullptr);
    endingItself = std::make_unique<WindowSubclass>(
        window, kFirst,
        [probe = std::make_shared<Probe>()](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
            if (message == WM_SETTEXT && probe != nullptr) {
                endingItself.reset();
                probeAliveAfterTheEnd = probeAlive;
            }
            return ::DefSubclassProc(hwnd, message, wParam, lParam);
        });
    ASSERT_TRUE(probeAlive);
    ::SetWindowTextW(window, L"one");
    EXPECT_TRUE(probeAliveAfterTheEnd) << "the handler was freed while it ran";
    EXPECT_FALSE(probeAlive) << "the handler outlived its message";
    EXPECT_FALSE(WindowSubclass::IsInstalled(window, kFirst));
    EXPECT_EQ(TextOf(window), L"one") << "the message did not reach the control";
    ::DestroyWindow(window);
}

TEST(WindowSubclass, OneThatBelongsToTheWindowGoesWithItHandlerAndAll) {
    HWND window = MakeStatic();
    ASSERT_NE(window, nullptr);
    auto seen = std::make_shared<int>(0);
    auto counting = [seen](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_SETTEXT) {
            ++*seen;
        }
        return ::DefSubclassProc(hwnd, message, wParam, lParam);
    };
    ASSERT_TRUE(WindowSubclass::InstallForWindowLifetime(window, kFirst, counting));
    EXPECT_TRUE(WindowSubclass::IsInstalled(window, kFirst));
    ::SetWindowTextW(window, L"one");
    EXPECT_EQ(*seen, 1);
    EXPECT_EQ(TextOf(window), L"one");
    ::DestroyWindow(window);
    EXPECT_EQ(seen.use_count(), 2) << "only this test and `counting` still hold the count";
    // A dead window takes none, and keeps nothing of it.
    EXPECT_FALSE(WindowSubclass::InstallForWindowLifetime(window, kFirst, counting));
    EXPECT_EQ(seen.use_count(), 2);
}

TEST(WindowSubclass, AHandlerThatThrowsIsReportedAndTheMessageStillReachesTheControl) {
    HWND window = MakeStatic();
    ASSERT_NE(window, nullptr);
    ::ShowWindow(window, SW_SHOWNOACTIVATE);
    WindowSubclass subclass(window, kFirst,
                            [](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
                                if (message == WM_SETTEXT) {
                                    throw std::runtime_error("the handler failed");
                                }
                                return ::DefSubclassProc(hwnd, message, wParam, lParam);
                            });
    test::BoxSeen box = test::AnswerTheBoxOf(window, [&] { ::SetWindowTextW(window, L"after"); });
    ASSERT_TRUE(box.seen) << "the failure was not reported";
    EXPECT_EQ(box.owner, window);
    EXPECT_EQ(box.text, L"the handler failed");
    EXPECT_EQ(TextOf(window), L"after");
    EXPECT_TRUE(subclass.Installed());
    ::DestroyWindow(window);
}

TEST(WindowSubclass, ANullOrDeadWindowGetsNone) {
    WindowSubclass none(nullptr, kFirst, [](HWND, UINT, WPARAM, LPARAM) -> LRESULT { return 0; });
    EXPECT_FALSE(none.Installed());
    HWND window = MakeStatic();
    ::DestroyWindow(window);
    WindowSubclass dead(window, kFirst, [](HWND, UINT, WPARAM, LPARAM) -> LRESULT { return 0; });
    EXPECT_FALSE(dead.Installed());
}

} // namespace
} // namespace orvane
