// The Start Menu scan: walks both Start Menu folders and turns every shortcut file into a row and an icon.
// It knows nothing of the window; the caller receives progress, rows and icons through callbacks.
#pragma once

#include "catalogue/link_walk.h"
#include "catalogue/scan_memo.h"
#include "catalogue/shortcut_row.h"
#include "system/handles_win.h"

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace orvane {

class TMakeShortCuts;

// The entries of a folder as the file system lists them, hidden and system entries included.
std::vector<DirEntry> ListFolder(const std::wstring& folder);

// The user's Start Menu folder; empty when it is missing or the lookup gave the separator alone.
std::wstring UserStartMenuFolder();
// The all-users Start Menu folder, or its fallback under "ALLUSERSPROFILE"; empty when neither exists.
std::wstring CommonStartMenuFolder();

// Reads one shortcut file into a row (all but the image index) with the shared reader. With a memo,
// each target's version text is read once per scan.
ShortcutRow ReadShortcutRow(TMakeShortCuts& reader, const std::wstring& path,
                            ScanMemo<std::wstring>* versions = nullptr);

// The shell's icon of the shortcut the reader has just loaded from path, or null. Shortcuts with the
// same icon source share one request to the shell and one icon, which the memo owns; an icon of a
// shortcut without a source is owned by `unshared`. Either stays valid while both live.
HICON ReadShortcutIcon(const TMakeShortCuts& reader, const std::wstring& path, ScanMemo<UniqueIcon>& icons,
                       UniqueIcon& unshared);

struct ScanCallbacks {
    // Called once before the first row with the number of shortcut files found; may be empty.
    std::function<void(std::size_t count)> expect;
    // Called before each file is read, with its path.
    std::function<void(const std::wstring& path)> progress;
    // Receives each row in order with the shortcut's icon (null when none could be had), lent for the
    // call; the receiver sets the row's image index and keeps the row.
    std::function<void(ShortcutRow row, HICON icon)> addRow;
    // Asked before each file, may be empty: true ends the scan there (the window was closed meanwhile).
    std::function<bool()> stopped;
};

// Scans the user's Start Menu and then the all-users Start Menu, depth first.
void ScanStartMenus(TMakeShortCuts& reader, const ScanCallbacks& callbacks);

} // namespace orvane
