#include "ui/paint/search_box_painter_win.h"

#include <algorithm>

namespace orvane {

HBRUSH EditColors(HDC dc, HWND control, const SchemePaint& paint) {
    bool enabled = control == nullptr || ::IsWindowEnabled(control);
    ::SetTextColor(dc, Ref(enabled ? paint.palette.editText : paint.palette.disabledText));
    ::SetBkColor(dc, Ref(paint.palette.editBackground));
    return paint.edit.get();
}

LRESULT SearchBoxPainter::OnMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) const {
    if (message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX || message == WM_CTLCOLORSTATIC) {
        return reinterpret_cast<LRESULT>(
            EditColors(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam), paint_));
    }
    if (PaintMessage(hwnd, message, wParam, [this](HDC dc) { Paint(dc); })) {
        return 0;
    }
    if (message == WM_ERASEBKGND) {
        return 1;
    }
    if ((message == WM_COMMAND && (HIWORD(wParam) == EN_SETFOCUS || HIWORD(wParam) == EN_KILLFOCUS)) ||
        message == WM_SETFOCUS || message == WM_KILLFOCUS || message == WM_LBUTTONDOWN ||
        message == WM_LBUTTONUP || message == CB_SHOWDROPDOWN || message == WM_ENABLE) {
        // These change the focus edge or the button; the combo box may have drawn its own frame
        // directly, so it is painted again.
        LRESULT result = ::DefSubclassProc(hwnd, message, wParam, lParam);
        ::InvalidateRect(hwnd, nullptr, FALSE);
        return result;
    }
    return ::DefSubclassProc(hwnd, message, wParam, lParam);
}

void SearchBoxPainter::Paint(HDC dc) const {
    RECT client{};
    ::GetClientRect(searchBox_, &client);
    COMBOBOXINFO parts{};
    parts.cbSize = sizeof parts;
    ::GetComboBoxInfo(searchBox_, &parts);
    int saved = ::SaveDC(dc);
    if (::IsWindow(searchEdit_)) {
        // The edit field paints its own text; painting over it here would wipe what it shows.
        RECT edit{};
        ::GetWindowRect(searchEdit_, &edit);
        ::MapWindowPoints(nullptr, searchBox_, reinterpret_cast<POINT*>(&edit), 2);
        ::ExcludeClipRect(dc, edit.left, edit.top, edit.right, edit.bottom);
    }
    Fill(dc, client, paint_.edit.get(), paint_.palette.editBackground);
    bool dropped = ::SendMessageW(searchBox_, CB_GETDROPPEDSTATE, 0, 0) != 0;
    HWND focus = ::GetFocus();
    bool focused = focus != nullptr && (focus == searchBox_ || focus == searchEdit_);
    RECT button = parts.rcButton;
    if (button.right > button.left) {
        bool pressed = dropped || (parts.stateButton & STATE_SYSTEM_PRESSED) != 0;
        if (pressed) {
            RECT face = button;
            ::InflateRect(&face, 0, -1);
            Fill(dc, face, paint_.palette.surfacePressed);
        }
        int size = std::max(paint_.Scale(8), 6);
        DownArrow(dc, (button.left + button.right) / 2, (button.top + button.bottom) / 2, size,
                  paint_.palette.secondaryText);
    }
    Frame(dc, client, focused || dropped ? paint_.palette.accent : paint_.palette.border);
    ::RestoreDC(dc, saved);
}

} // namespace orvane
