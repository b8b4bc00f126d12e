// System DLLs that the window's first paint does not need, loaded on first use from the system folder
// only (LoadLibraryExW with LOAD_LIBRARY_SEARCH_SYSTEM32) and kept until the process ends. The program
// does not import them, so a start does not load them: accessibility, the dark title bar, version
// information and the shell's string helpers come when first asked for. Each function behaves as the
// system function of its name; when the DLL or the function is missing it fails as the comment says.
#pragma once

#include <windows.h>
#include <objidl.h>
#include <oleauto.h>
#include <shtypes.h>

namespace orvane {

// Owns one DLL loaded from the system folder.
class SystemLibrary {
public:
    explicit SystemLibrary(const wchar_t* name) noexcept;
    SystemLibrary(const SystemLibrary&) = delete;
    SystemLibrary& operator=(const SystemLibrary&) = delete;
    ~SystemLibrary();

    bool Loaded() const noexcept { return module_ != nullptr; }
    // The exported function of that name as a pointer of the given function type; null when missing.
    template <typename Function> Function* Find(const char* name) const noexcept {
        if (module_ == nullptr) {
            return nullptr;
        }
        return reinterpret_cast<Function*>(reinterpret_cast<void*>(::GetProcAddress(module_, name)));
    }

private:
    HMODULE module_;
};

namespace late {

// dwmapi.dll; E_NOTIMPL when missing.
HRESULT DwmSetWindowAttribute(HWND window, DWORD attribute, LPCVOID value, DWORD size);
// oleacc.dll; E_NOTIMPL, and 0, when missing.
HRESULT CreateStdAccessibleObject(HWND window, LONG object, REFIID iid, void** accessible);
LRESULT LresultFromObject(REFIID iid, WPARAM wParam, LPUNKNOWN object);
// oleaut32.dll; null when missing.
BSTR SysAllocStringLen(const OLECHAR* text, UINT length);
// version.dll; 0 or FALSE when missing.
DWORD GetFileVersionInfoSizeW(LPCWSTR path, LPDWORD handle);
BOOL GetFileVersionInfoW(LPCWSTR path, DWORD handle, DWORD size, LPVOID data);
BOOL VerQueryValueW(LPCVOID block, LPCWSTR subBlock, LPVOID* value, PUINT length);
// shlwapi.dll; null, and E_NOTIMPL, when missing.
IStream* SHCreateMemStream(const BYTE* data, UINT size);
HRESULT StrRetToStrW(STRRET* source, PCUITEMID_CHILD item, LPWSTR* text);

} // namespace late
} // namespace orvane
