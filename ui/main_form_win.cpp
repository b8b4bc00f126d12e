#include "ui/main_form_win.h"

#include "ui/error_report_win.h"

#include <stdexcept>
#include <utility>

namespace orvane {
namespace {

constexpr wchar_t kApplicationTitle[] = L"Orvane";
constexpr int kMainIconId = 1;

int Scale(int value, UINT dpi) {
    return ::MulDiv(value, static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI);
}

} // namespace

void RegisterMainFormClass(HINSTANCE instance) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = &TMainForm::WindowProc;
    wc.hInstance = instance;
    wc.hIcon =
        static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(kMainIconId), IMAGE_ICON,
                                        ::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON), 0));
    wc.hIconSm =
        static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(kMainIconId), IMAGE_ICON,
                                        ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON), 0));
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = TMainForm::kWindowClass;
    if (::RegisterClassExW(&wc) == 0) {
        throw std::runtime_error("RegisterClassExW failed");
    }
}

TMainForm::TMainForm(HINSTANCE instance) : instance_(instance) {}

TMainForm::~TMainForm() {
    if (hwnd_ != nullptr) {
        ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        ::DestroyWindow(hwnd_);
    }
}

void TMainForm::Create() {
    // WS_EX_APPWINDOW gives the window its own task-bar button.
    hwnd_ = ::CreateWindowExW(WS_EX_APPWINDOW, kWindowClass, kApplicationTitle, WS_OVERLAPPEDWINDOW,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                              instance_, this);
    if (hwnd_ == nullptr) {
        throw std::runtime_error("CreateWindowExW failed for the main window");
    }
}

void TMainForm::Show(int showCommand) {
    if (!shown_) {
        shown_ = true;
        RunGuarded(hwnd_, [this] { FormShow(); });
    }
    ::ShowWindow(hwnd_, showCommand);
    ::UpdateWindow(hwnd_);
}

void TMainForm::FormCreate() {
    ::SetWindowTextW(hwnd_, kApplicationTitle);
    TakeIconFont();
    ApplyDesignClientSize();
}

void TMainForm::FormShow() {}

bool TMainForm::FormCloseQuery() {
    return true;
}

void TMainForm::TakeIconFont() {
    fontInfo_ = {};
    if (!::SystemParametersInfoForDpi(SPI_GETICONTITLELOGFONT, sizeof fontInfo_, &fontInfo_, 0, dpi_)) {
        ::SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof fontInfo_, &fontInfo_, 0);
    }
    font_.reset(::CreateFontIndirectW(&fontInfo_));
    ::SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
}

void TMainForm::ApplyDesignClientSize() {
    RECT frame{0, 0, Scale(kDesignClientWidth, dpi_), Scale(kDesignClientHeight, dpi_)};
    auto style = static_cast<DWORD>(::GetWindowLongPtrW(hwnd_, GWL_STYLE));
    auto exStyle = static_cast<DWORD>(::GetWindowLongPtrW(hwnd_, GWL_EXSTYLE));
    ::AdjustWindowRectExForDpi(&frame, style, FALSE, exStyle, dpi_);
    ::SetWindowPos(hwnd_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CALLBACK TMainForm::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        auto* form = static_cast<TMainForm*>(create->lpCreateParams);
        form->hwnd_ = hwnd;
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    }
    auto* form = reinterpret_cast<TMainForm*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (form == nullptr) {
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
    // No exception may cross the window procedure.
    LRESULT result = 0;
    bool handled = false;
    RunGuarded(hwnd, [&] {
        result = form->Dispatch(message, wParam, lParam);
        handled = true;
    });
    return handled ? result : ::DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT TMainForm::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        dpi_ = ::GetDpiForWindow(hwnd_);
        // A failing creation step is reported, and the window still opens.
        RunGuarded(hwnd_, [this] { FormCreate(); });
        return 0;
    case WM_CLOSE: {
        bool canClose = true;
        RunGuarded(hwnd_, [&] { canClose = FormCloseQuery(); });
        if (canClose) {
            ::DestroyWindow(hwnd_);
        }
        return 0;
    }
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    case WM_NCDESTROY: {
        HWND self = std::exchange(hwnd_, nullptr);
        ::SetWindowLongPtrW(self, GWLP_USERDATA, 0);
        return ::DefWindowProcW(self, message, wParam, lParam);
    }
    case WM_DPICHANGED: {
        dpi_ = HIWORD(wParam);
        const auto* suggested = reinterpret_cast<const RECT*>(lParam);
        ::SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                       suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
        TakeIconFont();
        return 0;
    }
    default:
        return ::DefWindowProcW(hwnd_, message, wParam, lParam);
    }
}

} // namespace orvane
