#include "ui/controls/error_report_win.h"

#include "system/text_codec.h"

#include <new>

namespace orvane {

void ShowGeneralErrorReport(HWND owner) noexcept {
    try {
        std::wstring text;
        try {
            throw;
        } catch (const std::exception& error) {
            text = FromUtf8(error.what());
        } catch (...) {
            text = L"Unknown error";
        }
        ::MessageBoxW(owner, text.c_str(), L"Orvane", MB_OK | MB_ICONERROR);
    } catch (...) {
        // Out of memory while reporting: nothing more can be said.
        ::MessageBoxW(owner, L"Out of memory", L"Orvane", MB_OK | MB_ICONERROR);
    }
}

} // namespace orvane
