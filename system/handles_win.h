// Small owners for the Windows handles the program uses; each closes its handle exactly once.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <shtypes.h>

#include <memory>
#include <type_traits>
#include <utility>

namespace orvane {

// Owns one handle of kind T and releases it with Close when it goes out of scope.
template <typename T, typename Traits> class UniqueHandleOf {
public:
    UniqueHandleOf() noexcept = default;
    explicit UniqueHandleOf(T handle) noexcept : handle_(handle) {}
    UniqueHandleOf(const UniqueHandleOf&) = delete;
    UniqueHandleOf& operator=(const UniqueHandleOf&) = delete;
    UniqueHandleOf(UniqueHandleOf&& other) noexcept : handle_(other.release()) {}
    UniqueHandleOf& operator=(UniqueHandleOf&& other) noexcept {
        if (this != &other) {
            reset(other.release());
        }
        return *this;
    }
    ~UniqueHandleOf() { reset(); }

    T get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return Traits::valid(handle_); }
    T release() noexcept { return std::exchange(handle_, Traits::invalid()); }
    void reset(T handle = Traits::invalid()) noexcept {
        T old = std::exchange(handle_, handle);
        if (Traits::valid(old)) {
            Traits::close(old);
        }
    }
    // For APIs that return a handle through an out parameter; the old handle is released first.
    T* put() noexcept {
        reset();
        return &handle_;
    }

private:
    T handle_ = Traits::invalid();
};

struct KernelHandleTraits {
    static HANDLE invalid() noexcept { return nullptr; }
    static bool valid(HANDLE h) noexcept { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void close(HANDLE h) noexcept { ::CloseHandle(h); }
};
struct FileHandleTraits {
    static HANDLE invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static bool valid(HANDLE h) noexcept { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void close(HANDLE h) noexcept { ::CloseHandle(h); }
};
struct FindHandleTraits {
    static HANDLE invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static bool valid(HANDLE h) noexcept { return h != INVALID_HANDLE_VALUE && h != nullptr; }
    static void close(HANDLE h) noexcept { ::FindClose(h); }
};
struct RegKeyTraits {
    static HKEY invalid() noexcept { return nullptr; }
    static bool valid(HKEY h) noexcept { return h != nullptr; }
    static void close(HKEY h) noexcept { ::RegCloseKey(h); }
};
struct IconTraits {
    static HICON invalid() noexcept { return nullptr; }
    static bool valid(HICON h) noexcept { return h != nullptr; }
    static void close(HICON h) noexcept { ::DestroyIcon(h); }
};
struct MenuTraits {
    static HMENU invalid() noexcept { return nullptr; }
    static bool valid(HMENU h) noexcept { return h != nullptr; }
    static void close(HMENU h) noexcept { ::DestroyMenu(h); }
};
struct ImageListTraits {
    static HIMAGELIST invalid() noexcept { return nullptr; }
    static bool valid(HIMAGELIST h) noexcept { return h != nullptr; }
    static void close(HIMAGELIST h) noexcept { ::ImageList_Destroy(h); }
};
template <typename G> struct GdiTraits {
    static G invalid() noexcept { return nullptr; }
    static bool valid(G h) noexcept { return h != nullptr; }
    static void close(G h) noexcept { ::DeleteObject(h); }
};
struct PidlTraits {
    static PIDLIST_ABSOLUTE invalid() noexcept { return nullptr; }
    static bool valid(PIDLIST_ABSOLUTE h) noexcept { return h != nullptr; }
    static void close(PIDLIST_ABSOLUTE h) noexcept { ::CoTaskMemFree(h); }
};

using UniqueHandle = UniqueHandleOf<HANDLE, KernelHandleTraits>;
using UniqueFile = UniqueHandleOf<HANDLE, FileHandleTraits>;
using UniqueFind = UniqueHandleOf<HANDLE, FindHandleTraits>;
using UniqueKey = UniqueHandleOf<HKEY, RegKeyTraits>;
using UniqueIcon = UniqueHandleOf<HICON, IconTraits>;
using UniqueMenu = UniqueHandleOf<HMENU, MenuTraits>;
using UniqueImageList = UniqueHandleOf<HIMAGELIST, ImageListTraits>;
using UniqueFont = UniqueHandleOf<HFONT, GdiTraits<HFONT>>;
using UniqueBrush = UniqueHandleOf<HBRUSH, GdiTraits<HBRUSH>>;
using UniqueBitmap = UniqueHandleOf<HBITMAP, GdiTraits<HBITMAP>>;
using UniquePidl = UniqueHandleOf<PIDLIST_ABSOLUTE, PidlTraits>;

// An image list held by more than one owner (the list view's small and large lists when they hold the
// same pictures), destroyed with the last of them.
using SharedImageList = std::shared_ptr<std::remove_pointer_t<HIMAGELIST>>;
inline SharedImageList ShareImageList(UniqueImageList list) {
    if (!list) {
        return {};
    }
    return SharedImageList(list.release(), &ImageListTraits::close);
}

// Sets the critical-error mode for one scope and always restores the previous mode. The mode is the
// calling thread's: the process's mode, shared by every thread, would be restored wrongly when two
// threads' scopes overlap (the start-up's cache reader runs beside the window's thread).
class ErrorModeScope {
public:
    explicit ErrorModeScope(DWORD mode) noexcept { ::SetThreadErrorMode(mode, &previous_); }
    ErrorModeScope(const ErrorModeScope&) = delete;
    ErrorModeScope& operator=(const ErrorModeScope&) = delete;
    ~ErrorModeScope() { ::SetThreadErrorMode(previous_, nullptr); }

private:
    DWORD previous_ = 0;
};

// Initialises COM for this thread as a single-threaded apartment for one scope.
class ComApartment {
public:
    ComApartment() noexcept : result_(::OleInitialize(nullptr)) {}
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    ~ComApartment() {
        if (SUCCEEDED(result_)) {
            ::OleUninitialize();
        }
    }
    HRESULT result() const noexcept { return result_; }

private:
    HRESULT result_;
};

} // namespace orvane
