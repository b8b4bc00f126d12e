// Norrow: handing files, folders and programs to the shell.
#pragma once

#include <windows.h>

#include <string>

namespace Norrow {

// Opens the file with its default action through the shell (a shortcut runs its target, a folder opens in
// Explorer), owned by the application's main window. Texts of any length are passed whole. Gives what
// ShellExecuteW returned: greater than 32 on success, otherwise the shell's error code.
int ShellOpen(const std::wstring& file, const std::wstring& parameters, const std::wstring& directory,
              int show);

// Starts the file elevated ("runas") after the system's consent prompt, with the shell's own error dialogs
// suppressed. True when the shell started it.
bool ShellRunAsAdmin(HWND window, const std::wstring& file, const std::wstring& parameters);

// True when the Windows major version is 6 (Vista) or higher.
bool IsOSVistaOrLater();

// The first top-level window of this process whose class is className, or null.
HWND FindOwnTopLevelWindow(const std::wstring& className);

// The application's main window: the top-level window of this process of class "TMainForm", or null.
HWND FindMainFormWindow();

} // namespace Norrow
