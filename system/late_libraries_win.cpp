#include "system/late_libraries_win.h"

#include <dwmapi.h>
#include <oleacc.h>
#include <shlwapi.h>
#include <winver.h>

namespace orvane {

SystemLibrary::SystemLibrary(const wchar_t* name) noexcept
    : module_(::LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) {}

SystemLibrary::~SystemLibrary() {
    if (module_ != nullptr) {
        ::FreeLibrary(module_);
    }
}

namespace late {
namespace {

// Each function's type is the one the system headers declare; the name is looked up on first use.

// Each DLL is loaded once, by the first call that needs it.
const SystemLibrary& Dwmapi() {
    static const SystemLibrary library(L"dwmapi.dll");
    return library;
}
const SystemLibrary& Oleacc() {
    static const SystemLibrary library(L"oleacc.dll");
    return library;
}
const SystemLibrary& Oleaut32() {
    static const SystemLibrary library(L"oleaut32.dll");
    return library;
}
const SystemLibrary& Version() {
    static const SystemLibrary library(L"version.dll");
    return library;
}
const SystemLibrary& Shlwapi() {
    static const SystemLibrary library(L"shlwapi.dll");
    return library;
}

} // namespace

HRESULT DwmSetWindowAttribute(HWND window, DWORD attribute, LPCVOID value, DWORD size) {
    static const auto function = Dwmapi().Find<decltype(::DwmSetWindowAttribute)>("DwmSetWindowAttribute");
    return function != nullptr ? function(window, attribute, value, size) : E_NOTIMPL;
}

HRESULT CreateStdAccessibleObject(HWND window, LONG object, REFIID iid, void** accessible) {
    static const auto function =
        Oleacc().Find<decltype(::CreateStdAccessibleObject)>("CreateStdAccessibleObject");
    return function != nullptr ? function(window, object, iid, accessible) : E_NOTIMPL;
}

LRESULT LresultFromObject(REFIID iid, WPARAM wParam, LPUNKNOWN object) {
    static const auto function = Oleacc().Find<decltype(::LresultFromObject)>("LresultFromObject");
    return function != nullptr ? function(iid, wParam, object) : 0;
}

BSTR SysAllocStringLen(const OLECHAR* text, UINT length) {
    static const auto function = Oleaut32().Find<decltype(::SysAllocStringLen)>("SysAllocStringLen");
    return function != nullptr ? function(text, length) : nullptr;
}

DWORD GetFileVersionInfoSizeW(LPCWSTR path, LPDWORD handle) {
    static const auto function =
        Version().Find<decltype(::GetFileVersionInfoSizeW)>("GetFileVersionInfoSizeW");
    return function != nullptr ? function(path, handle) : 0;
}

BOOL GetFileVersionInfoW(LPCWSTR path, DWORD handle, DWORD size, LPVOID data) {
    static const auto function = Version().Find<decltype(::GetFileVersionInfoW)>("GetFileVersionInfoW");
    return function != nullptr ? function(path, handle, size, data) : FALSE;
}

BOOL VerQueryValueW(LPCVOID block, LPCWSTR subBlock, LPVOID* value, PUINT length) {
    static const auto function = Version().Find<decltype(::VerQueryValueW)>("VerQueryValueW");
    return function != nullptr ? function(block, subBlock, value, length) : FALSE;
}

IStream* SHCreateMemStream(const BYTE* data, UINT size) {
    static const auto function = Shlwapi().Find<decltype(::SHCreateMemStream)>("SHCreateMemStream");
    return function != nullptr ? function(data, size) : nullptr;
}

HRESULT StrRetToStrW(STRRET* source, PCUITEMID_CHILD item, LPWSTR* text) {
    static const auto function = Shlwapi().Find<decltype(::StrRetToStrW)>("StrRetToStrW");
    return function != nullptr ? function(source, item, text) : E_NOTIMPL;
}

} // namespace late
} // namespace orvane
