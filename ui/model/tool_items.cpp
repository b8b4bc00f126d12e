#include "ui/model/tool_items.h"

#include "ui/model/command_ids.h"
#include "ui/glyphs/glyphs.h"

namespace orvane {
namespace {

constexpr ToolItem Command(int id, int image, const wchar_t* caption, bool enabled = false) {
    return {id, image, ToolItemKind::Button, enabled, false, false, caption};
}
constexpr ToolItem Gap(ToolItemKind kind) {
    return {0, 0, kind, false, false, false, nullptr};
}

const ToolItem kToolItems[] = {
    Command(idTBGet, tiScan, L"取得", true),
    Command(idTBGetExe, tiScan, L"EXEのみ取得", true),
    Gap(ToolItemKind::Separator), // ToolButton1
    {idTBReport, tiDetails, ToolItemKind::CheckGroup, true, true, false, L"詳細"},
    {idTBIcon, tiList, ToolItemKind::CheckGroup, true, false, false, L"リスト"},
    {idCBFind, 0, ToolItemKind::SearchBoxSlot, false, false, false, nullptr}, // CBFind
    Command(idTBFind, tiSearch, L"検索"),
    // ToolButton5 ends the first row; the common controls want a wrapping item enabled as well.
    {0, 0, ToolItemKind::RowEnd, true, false, false, nullptr},
    Command(idTBExe, tiRun, L"実行"),
    {idTBAdmin, tiAdmin, ToolItemKind::Button, false, false, true, L"管理者として実行"},
    Gap(ToolItemKind::Separator), // ToolButton3
    Command(idTBDir, tiFolder, L"フォルダを開く"),
    Command(idTBLink, tiFolder, L"リンク先フォルダを開く"),
    Gap(ToolItemKind::Separator), // ToolButton4
    Command(idTBClose, tiClose, L"終了", true),
    Gap(ToolItemKind::Separator), // ToolButton6
    {idTBColor, tiColor, ToolItemKind::DropDown, true, false, false, L"ウィンドウカラー"},
};

} // namespace

std::span<const ToolItem> ToolItems() {
    return kToolItems;
}

int NextUsableItem(const std::vector<bool>& usable, int from, bool backwards) {
    const int count = static_cast<int>(usable.size());
    if (count == 0) {
        return -1;
    }
    if (from < 0 || from >= count) {
        from = backwards ? 0 : count - 1;
    }
    const int step = backwards ? count - 1 : 1;
    for (int i = 1; i <= count; ++i) {
        int at = (from + step * i) % count;
        if (usable[static_cast<std::size_t>(at)]) {
            return at;
        }
    }
    return -1;
}

bool IsGap(ToolItemKind kind) {
    return kind == ToolItemKind::Separator || kind == ToolItemKind::SearchBoxSlot ||
           kind == ToolItemKind::RowEnd;
}

int NextKeyboardItem(const std::vector<bool>& usable, int hot, int lastShown, int direction, bool toEnd) {
    if (toEnd) {
        return NextUsableItem(usable, -1, direction < 0);
    }
    if (direction == 0) {
        const bool lastUsable = lastShown >= 0 && static_cast<std::size_t>(lastShown) < usable.size() &&
                                usable[static_cast<std::size_t>(lastShown)];
        return lastUsable ? lastShown : NextUsableItem(usable, -1, false);
    }
    return NextUsableItem(usable, hot >= 0 ? hot : lastShown, direction < 0);
}

const wchar_t* ToolHintOf(int id) {
    return id == idTBClose ? L"終了" : L"";
}

} // namespace orvane
