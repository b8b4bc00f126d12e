// What the Windows tests share: temporary folders, files, and registry values restored afterwards.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

namespace orvane::test {

// A fresh folder under the temporary folder, removed with everything in it at the end of the scope.
class TempDir {
public:
    TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    ~TempDir();
    // The folder, without a trailing separator.
    const std::wstring& path() const noexcept { return path_; }
    std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }

private:
    std::wstring path_;
};

// Writes bytes to a file, replacing it; throws on failure.
void WriteFileBytes(const std::wstring& path, const std::string& bytes);
// Reads a whole file; empty when it cannot be read.
std::string ReadFileBytes(const std::wstring& path);
// Removes a folder and everything in it.
void RemoveTree(const std::wstring& path);

// Sets a text value of a registry key for one scope and restores the previous state afterwards
// (the old value, or no value at all).
class RegistryValueOverride {
public:
    RegistryValueOverride(HKEY root, std::wstring key, std::wstring name, const std::wstring& value,
                          DWORD type = REG_SZ);
    RegistryValueOverride(HKEY root, std::wstring key, std::wstring name, const BYTE* data, DWORD size,
                          DWORD type);
    RegistryValueOverride(const RegistryValueOverride&) = delete;
    RegistryValueOverride& operator=(const RegistryValueOverride&) = delete;
    ~RegistryValueOverride();

private:
    void Save();
    void Write(const BYTE* data, DWORD size, DWORD type);
    HKEY root_;
    std::wstring key_;
    std::wstring name_;
    bool hadValue_ = false;
    DWORD oldType_ = 0;
    std::string oldData_;
};

// Deletes a registry value for one scope and puts it back afterwards.
class RegistryValueRemoval {
public:
    RegistryValueRemoval(HKEY root, std::wstring key, std::wstring name);
    RegistryValueRemoval(const RegistryValueRemoval&) = delete;
    RegistryValueRemoval& operator=(const RegistryValueRemoval&) = delete;
    ~RegistryValueRemoval();

private:
    HKEY root_;
    std::wstring key_;
    std::wstring name_;
    bool hadValue_ = false;
    DWORD oldType_ = 0;
    std::string oldData_;
};

// True under Wine, whose behaviour differs from Windows in places the tests name.
bool IsRunningOnWine();

// The folder that holds the running test program.
std::wstring ExeFolder();

// A visible top-level window of another process (not this one, not `except`) whose title holds
// `text`, such as the file manager's window on a folder; null when none came within the timeout.
HWND WaitForForeignWindow(const std::wstring& text, DWORD except, DWORD timeoutMs = 20000);

// Saves what the window shows on the screen as a 24-bit BMP file.
bool SaveWindowBitmap(HWND window, const std::wstring& path);

// Closes a window of another process and waits for it to go; ends that process when the window
// stays, so no helper a test started outlives the test (and holds the test runner's output open).
void CloseForeignWindow(HWND window);

// What the user saw of a message box that came up on this thread while `action` ran: its owner, its
// text and whether `window` took input meanwhile. The box is answered with OK from another thread.
struct BoxSeen {
    bool seen = false;
    HWND owner = nullptr;
    std::wstring text;
    bool ownerEnabled = true;
};
BoxSeen AnswerTheBoxOf(HWND window, const std::function<void()>& action);

} // namespace orvane::test
