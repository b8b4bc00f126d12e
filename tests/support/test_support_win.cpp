#include "tests/support/test_support_win.h"

#include "system/handles_win.h"

#include <shellapi.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>
#include <vector>

namespace orvane::test {
namespace {

std::atomic<unsigned> tempCounter{0};

bool QueryValue(HKEY root, const std::wstring& key, const std::wstring& name, DWORD& type,
                std::string& data) {
    UniqueKey handle;
    if (::RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, handle.put()) != ERROR_SUCCESS) {
        return false;
    }
    DWORD size = 0;
    if (::RegQueryValueExW(handle.get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
        return false;
    }
    data.assign(size, '\0');
    return ::RegQueryValueExW(handle.get(), name.c_str(), nullptr, &type,
                              reinterpret_cast<BYTE*>(data.data()), &size) == ERROR_SUCCESS;
}

void SetValue(HKEY root, const std::wstring& key, const std::wstring& name, const BYTE* data, DWORD size,
              DWORD type) {
    UniqueKey handle;
    if (::RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, handle.put(), nullptr) !=
        ERROR_SUCCESS) {
        throw std::runtime_error("cannot open a registry key for a test");
    }
    ::RegSetValueExW(handle.get(), name.c_str(), 0, type, data, size);
}

void DeleteValue(HKEY root, const std::wstring& key, const std::wstring& name) {
    UniqueKey handle;
    if (::RegOpenKeyExW(root, key.c_str(), 0, KEY_ALL_ACCESS, handle.put()) == ERROR_SUCCESS) {
        ::RegDeleteValueW(handle.get(), name.c_str());
    }
}

} // namespace

TempDir::TempDir() {
    wchar_t base[MAX_PATH + 1] = {};
    ::GetTempPathW(MAX_PATH, base);
    std::wstring folder(base);
    if (!folder.empty() && folder.back() == L'\\') {
        folder.pop_back();
    }
    for (;;) {
        path_ = folder + L"\\orvane-test-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                std::to_wstring(tempCounter++);
        if (::CreateDirectoryW(path_.c_str(), nullptr)) {
            return;
        }
        if (::GetLastError() != ERROR_ALREADY_EXISTS) {
            throw std::runtime_error("cannot create a temporary folder");
        }
    }
}

TempDir::~TempDir() {
    RemoveTree(path_);
}

void RemoveTree(const std::wstring& path) {
    WIN32_FIND_DATAW data{};
    UniqueFind find(::FindFirstFileW((path + L"\\*").c_str(), &data));
    if (find) {
        do {
            std::wstring name = data.cFileName;
            if (name == L"." || name == L"..") {
                continue;
            }
            std::wstring child = path + L"\\" + name;
            ::SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
                RemoveTree(child);
            } else {
                ::DeleteFileW(child.c_str());
            }
        } while (::FindNextFileW(find.get(), &data));
    }
    find.reset();
    ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::RemoveDirectoryW(path.c_str());
}

void WriteFileBytes(const std::wstring& path, const std::string& bytes) {
    UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        throw std::runtime_error("cannot create a test file");
    }
    DWORD written = 0;
    if (!bytes.empty() &&
        (!::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
         written != bytes.size())) {
        throw std::runtime_error("cannot write a test file");
    }
}

std::string ReadFileBytes(const std::wstring& path) {
    UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, 0, nullptr));
    if (!file) {
        return {};
    }
    std::string bytes;
    char chunk[65536];
    DWORD read = 0;
    while (::ReadFile(file.get(), chunk, sizeof chunk, &read, nullptr) && read > 0) {
        bytes.append(chunk, read);
    }
    return bytes;
}

RegistryValueOverride::RegistryValueOverride(HKEY root, std::wstring key, std::wstring name,
                                             const std::wstring& value, DWORD type)
    : root_(root), key_(std::move(key)), name_(std::move(name)) {
    Save();
    Write(reinterpret_cast<const BYTE*>(value.c_str()),
          static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)), type);
}

RegistryValueOverride::RegistryValueOverride(HKEY root, std::wstring key, std::wstring name, const BYTE* data,
                                             DWORD size, DWORD type)
    : root_(root), key_(std::move(key)), name_(std::move(name)) {
    Save();
    Write(data, size, type);
}

void RegistryValueOverride::Save() {
    hadValue_ = QueryValue(root_, key_, name_, oldType_, oldData_);
}

void RegistryValueOverride::Write(const BYTE* data, DWORD size, DWORD type) {
    SetValue(root_, key_, name_, data, size, type);
}

RegistryValueOverride::~RegistryValueOverride() {
    if (hadValue_) {
        SetValue(root_, key_, name_, reinterpret_cast<const BYTE*>(oldData_.data()),
                 static_cast<DWORD>(oldData_.size()), oldType_);
    } else {
        DeleteValue(root_, key_, name_);
    }
}

RegistryValueRemoval::RegistryValueRemoval(HKEY root, std::wstring key, std::wstring name)
    : root_(root), key_(std::move(key)), name_(std::move(name)) {
    hadValue_ = QueryValue(root_, key_, name_, oldType_, oldData_);
    DeleteValue(root_, key_, name_);
}

RegistryValueRemoval::~RegistryValueRemoval() {
    if (hadValue_) {
        SetValue(root_, key_, name_, reinterpret_cast<const BYTE*>(oldData_.data()),
                 static_cast<DWORD>(oldData_.size()), oldType_);
    }
}

bool IsRunningOnWine() {
    HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

std::wstring ExeFolder() {
    wchar_t buffer[MAX_PATH + 1] = {};
    ::GetModuleFileNameW(nullptr, buffer, MAX_PATH);
    std::wstring path(buffer);
    return path.substr(0, path.find_last_of(L'\\'));
}

HWND WaitForForeignWindow(const std::wstring& text, DWORD except, DWORD timeoutMs) {
    struct Search {
        const std::wstring* text;
        DWORD except;
        HWND found;
    };
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    for (;;) {
        Search search{&text, except, nullptr};
        ::EnumWindows(
            [](HWND hwnd, LPARAM param) -> BOOL {
                auto* s = reinterpret_cast<Search*>(param);
                DWORD pid = 0;
                ::GetWindowThreadProcessId(hwnd, &pid);
                if (pid == s->except || pid == ::GetCurrentProcessId() || !::IsWindowVisible(hwnd)) {
                    return TRUE;
                }
                wchar_t title[512] = {};
                ::GetWindowTextW(hwnd, title, 512);
                if (std::wstring(title).find(*s->text) != std::wstring::npos) {
                    s->found = hwnd;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr || ::GetTickCount64() > deadline) {
            return search.found;
        }
        ::Sleep(100);
    }
}

void CloseForeignWindow(HWND window) {
    DWORD pid = 0;
    ::GetWindowThreadProcessId(window, &pid);
    ::PostMessageW(window, WM_CLOSE, 0, 0);
    const ULONGLONG deadline = ::GetTickCount64() + 10000;
    while (::IsWindow(window) && ::GetTickCount64() < deadline) {
        ::Sleep(100);
    }
    if (::IsWindow(window) && pid != 0) {
        UniqueHandle process(::OpenProcess(PROCESS_TERMINATE, FALSE, pid));
        if (process) {
            ::TerminateProcess(process.get(), 1);
        }
    }
}

bool SaveWindowBitmap(HWND window, const std::wstring& path) {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0) {
        return false;
    }
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    UniqueBitmap bitmap(::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    HGDIOBJ old = ::SelectObject(memory, bitmap.get());
    ::BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);

    DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    DWORD imageSize = stride * static_cast<DWORD>(height);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info.bmiHeader;
    file.bfSize = file.bfOffBits + imageSize;
    UniqueFile out(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    if (!out) {
        return false;
    }
    DWORD written = 0;
    return ::WriteFile(out.get(), &file, sizeof file, &written, nullptr) &&
           ::WriteFile(out.get(), &info.bmiHeader, sizeof info.bmiHeader, &written, nullptr) &&
           ::WriteFile(out.get(), bits, imageSize, &written, nullptr);
}

BoxSeen AnswerTheBoxOf(HWND window, const std::function<void()>& action) {
    const DWORD thread = ::GetCurrentThreadId();
    BoxSeen result;
    std::atomic<bool> done{false};
    std::thread user([&] {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!done && std::chrono::steady_clock::now() < deadline) {
            HWND box = nullptr;
            ::EnumThreadWindows(
                thread,
                [](HWND hwnd, LPARAM data) -> BOOL {
                    wchar_t name[16] = {};
                    ::GetClassNameW(hwnd, name, 16);
                    if (::lstrcmpW(name, L"#32770") == 0 && ::IsWindowVisible(hwnd)) {
                        *reinterpret_cast<HWND*>(data) = hwnd;
                        return FALSE;
                    }
                    return TRUE;
                },
                reinterpret_cast<LPARAM>(&box));
            if (box != nullptr && !result.seen) {
                result.owner = ::GetWindow(box, GW_OWNER);
                result.ownerEnabled = ::IsWindowEnabled(window) != FALSE;
                // The message box shows its text in a static control of id 0xFFFF.
                wchar_t text[512] = {};
                ::GetDlgItemTextW(box, 0xFFFF, text, 512);
                result.text = text;
                result.seen = true;
                ::PostMessageW(box, WM_COMMAND, IDOK, 0);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    });
    action();
    done = true;
    user.join();
    return result;
}

} // namespace orvane::test
