// Which shortcut files a scan reads, and in which order.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

struct DirEntry {
    std::wstring name;
    bool isDirectory = false;
};

// Lists a folder's entries in the order the file system gives them, hidden and system entries
// included ("." and ".." may be among them).
using DirLister = std::function<std::vector<DirEntry>(const std::wstring& folder)>;

// True when the name matches "*.lnk" without regard to case.
bool IsLinkFileName(std::wstring_view name);

// The folder joined with a name; a separator goes between them only when the folder does not end in one.
std::wstring JoinPath(std::wstring_view folder, std::wstring_view name);

// Every "*.lnk" file in the folder and all its subfolders, depth first: a subfolder's files stand at
// the place of the subfolder's entry.
std::vector<std::wstring> CollectLinkFiles(const std::wstring& folder, const DirLister& list);

// A Start Menu folder the scan may walk: a lookup that found no entry gives "\" alone, which would
// name the root of the current drive, so that and empty text are not walked.
bool IsScannableFolder(std::wstring_view folder);

} // namespace orvane
