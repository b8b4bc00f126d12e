#include "contextmenu/context_menu_rules.h"

#include <array>
#include <utility>

namespace orvane {
namespace {

constexpr std::uint32_t kCmfDefaultOnly = 0x1;
constexpr std::uint32_t kCmfExplore = 0x4;
constexpr std::uint32_t kCmfCanRename = 0x10;

constexpr std::array<std::pair<int, const char*>, 11> kVerbs = {{
    {510, "preview"},
    {520, "print"},
    {530, "edit"},
    {540, "cut"},
    {550, "copy"},
    {560, "paste"},
    {570, "delete"},
    {580, "properties"},
    {590, "explore"},
    {600, "open"},
    {610, "find"},
}};

} // namespace

std::uint32_t QueryContextMenuFlags(TplContextShowFlags options) noexcept {
    std::uint32_t flags = 0;
    if (options.Contains(csf_DEFAULTONLY)) {
        flags |= kCmfDefaultOnly;
    }
    if (options.Contains(csf_EXPLORE)) {
        flags |= kCmfExplore;
    }
    if (options.Contains(csf_CANRENAME)) {
        flags |= kCmfCanRename;
    }
    return flags;
}

bool IsNewMenuOnly(TplContextShowFlags options) noexcept {
    return options == TplContextShowFlags{csf_CREATENEW};
}

bool WantsNewMenu(bool namesEmpty, std::wstring_view directory, TplContextShowFlags options) noexcept {
    return namesEmpty && directory.find(L"::") == std::wstring_view::npos && options.Contains(csf_CREATENEW);
}

std::optional<std::string> VerbOfCommand(int cmdIdNo) {
    for (const auto& [number, verb] : kVerbs) {
        if (number == cmdIdNo) {
            return std::string(verb);
        }
    }
    return std::nullopt;
}

bool IsOSBeforeVistaVersion(unsigned major, unsigned minor) noexcept {
    return major <= 5 && minor <= 1;
}

bool IsNewMenuCaption(std::wstring_view caption) noexcept {
    return caption.find(L"新規作成(&W)") != std::wstring_view::npos ||
           caption.find(L"新規作成(&X)") != std::wstring_view::npos;
}

SeparatorTidyPlan PlanSeparatorTidy(const std::vector<bool>& isSeparator, int ownCount) {
    SeparatorTidyPlan plan;
    std::vector<bool> entries = isSeparator;
    const int total = static_cast<int>(entries.size());
    plan.ownRemaining = ownCount < 0 ? 0 : (ownCount > total ? total : ownCount);
    // Own items sit at the bottom; a deletion at a position inside that block removes one of them.
    auto remove = [&](int position) {
        const int size = static_cast<int>(entries.size());
        if (position >= size - plan.ownRemaining) {
            --plan.ownRemaining;
        }
        entries.erase(entries.begin() + position);
        plan.deletions.push_back(position);
    };
    bool belowWasSeparator = false;
    for (int position = total - 1; position >= 0; --position) {
        const bool separator = entries[static_cast<std::size_t>(position)];
        if (separator && (belowWasSeparator || position == 0)) {
            remove(position);
        }
        belowWasSeparator = separator;
    }
    if (!entries.empty() && entries.back()) {
        remove(static_cast<int>(entries.size()) - 1);
    }
    // The walk keeps the lowest separator of a run, so a run that begins at the top leaves one there.
    if (!entries.empty() && entries.front()) {
        remove(0);
    }
    return plan;
}

ChosenCommand ResolveChosenCommand(int chosenId, const CommandRanges& ranges) noexcept {
    if (chosenId <= 0) {
        return {};
    }
    if (chosenId <= ranges.ownCount) {
        return {ChosenKind::OwnItem, chosenId - 1};
    }
    if (ranges.newEnd > ranges.newFirst && chosenId >= ranges.newFirst && chosenId < ranges.newEnd) {
        return {ChosenKind::NewMenu, chosenId - ranges.newFirst};
    }
    if (ranges.hasItemMenu && chosenId >= ranges.itemFirst) {
        return {ChosenKind::ItemMenu, chosenId - ranges.itemFirst};
    }
    return {};
}

int NewMenuFirstId(int ownCount, bool osBeforeVista) noexcept {
    return ownCount + (osBeforeVista ? 2 : 1);
}

} // namespace orvane
