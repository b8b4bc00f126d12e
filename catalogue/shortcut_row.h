// One row of the shortcut list.
#pragma once

#include <array>
#include <string>

namespace orvane {

// Sub-items in their fixed order; column k + 1 of the list shows sub-item k.
enum SubItem : int {
    siFullPath = 0,    // full path of the shortcut file
    siTarget = 1,      // link target path
    siDescription = 2, // description
    siModified = 3,    // modification time of the shortcut file, "yyyy/mm/dd hh:nn"
    siCreated = 4,     // creation time of the shortcut file
    siVersion = 5,     // "FileVersion" string of the link target
};
inline constexpr int kSubItemCount = 6;

struct ShortcutRow {
    std::wstring caption;                             // display name: the file name without its extension
    int imageIndex = -1;                              // index into both image lists; -1 for no image
    std::array<std::wstring, kSubItemCount> subItems; // in SubItem order

    bool operator==(const ShortcutRow&) const = default;
};

} // namespace orvane
