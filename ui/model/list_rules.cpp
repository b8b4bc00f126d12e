#include "ui/model/list_rules.h"

#include "system/path_text.h"

namespace orvane {

RowCommands CommandsForRow(const ShortcutRow* row, const PathProbe& probe) {
    RowCommands commands;
    if (row == nullptr) {
        return commands;
    }
    const std::wstring& path = row->subItems[siFullPath];
    const std::wstring& target = row->subItems[siTarget];
    commands.status = target + L" " + row->subItems[siDescription];
    commands.run = probe.isFile(path);
    commands.runAsAdmin = commands.run && ContainsExeText(target);
    commands.openFolder = probe.isFolder(FolderPart(path));
    commands.openTargetFolder = probe.isFolder(FolderPart(target));
    return commands;
}

std::optional<std::size_t> FindRowByTypedText(const std::vector<ShortcutRow>& rows, std::size_t start,
                                              std::wstring_view typed,
                                              const std::function<std::wstring(std::wstring_view)>& upper) {
    const std::size_t count = rows.size();
    if (count == 0) {
        return std::nullopt;
    }
    const std::wstring prefix = upper(typed);
    start %= count;
    for (std::size_t step = 0; step < count; ++step) {
        const std::size_t index = (start + step) % count;
        if (upper(rows[index].caption).rfind(prefix, 0) == 0) {
            return index;
        }
    }
    return std::nullopt;
}

} // namespace orvane
