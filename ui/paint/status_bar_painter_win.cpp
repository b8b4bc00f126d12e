#include "ui/paint/status_bar_painter_win.h"

#include "ui/paint/paint_rules.h"

#include <commctrl.h>

#include <algorithm>
#include <cwchar>

namespace orvane {

LRESULT StatusBarPainter::OnMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == SB_SETTEXTW && LOBYTE(LOWORD(wParam)) == SB_SIMPLEID) {
        text_ = lParam != 0 ? reinterpret_cast<const wchar_t*>(lParam) : L"";
        LRESULT result = ::DefSubclassProc(hwnd, message, wParam, lParam);
        ::InvalidateRect(hwnd, nullptr, FALSE);
        return result;
    }
    if (message == WM_ERASEBKGND) {
        return 1;
    }
    if (PaintMessage(hwnd, message, wParam, [this](HDC dc) { Paint(dc); })) {
        return 0;
    }
    return ::DefSubclassProc(hwnd, message, wParam, lParam);
}

void StatusBarPainter::Paint(HDC target) const {
    RECT client{};
    ::GetClientRect(statusBar_, &client);
    BufferedCanvas canvas(target, client);
    HDC dc = canvas.dc();
    Fill(dc, client, paint_.surface.get(), paint_.palette.surface);
    Fill(dc, RECT{client.left, client.top, client.right, client.top + 1}, paint_.border.get(),
         paint_.palette.border);

    bool grip = (::GetWindowLongPtrW(statusBar_, GWL_STYLE) & SBARS_SIZEGRIP) != 0 &&
                !::IsZoomed(::GetParent(statusBar_));
    int gripWidth = grip ? ::GetSystemMetricsForDpi(SM_CXVSCROLL, paint_.dpi) : 0;

    const std::wstring& text = text_;
    if (!text.empty()) {
        RECT label{client.left + paint_.Scale(6), client.top + 1, client.right - gripWidth - paint_.Scale(2),
                   client.bottom};
        SelectScope font(dc, FontOf(statusBar_));
        ::SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(dc, Ref(paint_.palette.text));
        ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &label,
                    DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
    if (grip) {
        for (const Box& dot :
             SizeGripDots(Box{client.left, client.top, client.right, client.bottom}, paint_.dpi)) {
            Fill(dc, RECT{dot.left, dot.top, dot.right, dot.bottom}, paint_.palette.secondaryText);
        }
    }
}

void StatusBarPainter::ReadText() {
    auto read = [this](WPARAM part) {
        auto length = LOWORD(::SendMessageW(statusBar_, SB_GETTEXTLENGTHW, part, 0));
        std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
        ::SendMessageW(statusBar_, SB_GETTEXTW, part, reinterpret_cast<LPARAM>(text.data()));
        text.resize(wcsnlen(text.c_str(), text.size()));
        return text;
    };
    text_ = read(SB_SIMPLEID);
    // Wine answers the simple text only as part 0.
    if (text_.empty() && ::SendMessageW(statusBar_, SB_ISSIMPLE, 0, 0) != 0) {
        text_ = read(0);
    }
}

} // namespace orvane
