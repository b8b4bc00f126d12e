// The rules of the shell context menu that need no system call: option flags, the verb table, the
// separator tidy-up, the New-menu caption test and how a chosen command ID is routed.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

// Options of the context menu; the ordinal of each flag is its bit in the set.
enum TplContextShowFlag : std::uint8_t {
    csf_NORMAL,
    csf_DEFAULTONLY,
    csf_EXPLORE,
    csf_CANRENAME,
    csf_CREATENEW,
};

// A set of TplContextShowFlag held in one byte; bit n is the flag of ordinal n.
class TplContextShowFlags {
public:
    constexpr TplContextShowFlags() noexcept = default;
    constexpr TplContextShowFlags(std::initializer_list<TplContextShowFlag> flags) noexcept {
        for (TplContextShowFlag flag : flags) {
            Include(flag);
        }
    }
    static constexpr TplContextShowFlags FromBits(std::uint8_t bits) noexcept {
        TplContextShowFlags flags;
        flags.bits_ = bits;
        return flags;
    }

    constexpr bool Contains(TplContextShowFlag flag) const noexcept { return (bits_ & Bit(flag)) != 0; }
    constexpr void Include(TplContextShowFlag flag) noexcept {
        bits_ = static_cast<std::uint8_t>(bits_ | Bit(flag));
    }
    constexpr void Exclude(TplContextShowFlag flag) noexcept {
        bits_ = static_cast<std::uint8_t>(bits_ & ~Bit(flag));
    }
    constexpr bool Empty() const noexcept { return bits_ == 0; }
    constexpr std::uint8_t Bits() const noexcept { return bits_; }
    friend constexpr bool operator==(TplContextShowFlags, TplContextShowFlags) noexcept = default;

private:
    static constexpr std::uint8_t Bit(TplContextShowFlag flag) noexcept {
        return static_cast<std::uint8_t>(1u << static_cast<unsigned>(flag));
    }
    std::uint8_t bits_ = 0;
};

// The uFlags of the item menu's QueryContextMenu for a set of options (CMF_DEFAULTONLY 0x1,
// CMF_EXPLORE 0x4, CMF_CANRENAME 0x10; csf_NORMAL and csf_CREATENEW add nothing).
std::uint32_t QueryContextMenuFlags(TplContextShowFlags options) noexcept;

// The options are exactly [csf_CREATENEW]: only the shell's New menu is wanted.
bool IsNewMenuOnly(TplContextShowFlags options) noexcept;

// Whether a popup asks the shell for its New submenu: only for the folder itself (no names), never
// for a class-identifier path (one holding "::"), and only with csf_CREATENEW.
bool WantsNewMenu(bool namesEmpty, std::wstring_view directory, TplContextShowFlags options) noexcept;

// The verb that InvokeCommand runs for a command number (510 "preview" ... 610 "find"); none for
// a number outside the table.
std::optional<std::string> VerbOfCommand(int cmdIdNo);

// Windows 5.0 and 5.1 have the older New-menu behaviour; 5.2 and every later version do not.
bool IsOSBeforeVistaVersion(unsigned major, unsigned minor) noexcept;

// The caption of the shell's New submenu entry: it contains "新規作成(&W)" or "新規作成(&X)".
bool IsNewMenuCaption(std::wstring_view caption) noexcept;

// Which separators the tidy-up removes from a menu whose entries (top to bottom) are given as
// separator or not. The walk runs from the bottom up: a separator goes when the entry below it was
// a separator too or when it is the top entry; afterwards a separator left at the bottom or at the
// top goes, so a run of separators at either edge vanishes whole.
// `deletions` are positions, each valid at the moment of its deletion, in the order to apply them.
// The last `ownCount` entries are the component's own items; `ownRemaining` is how many of them
// are still there afterwards, so the shell's entries can be told from them.
struct SeparatorTidyPlan {
    std::vector<int> deletions;
    int ownRemaining = 0;
};
SeparatorTidyPlan PlanSeparatorTidy(const std::vector<bool>& isSeparator, int ownCount);

// The command ID ranges of one popup. Own items carry IDs 1 to ownCount. The New menu, when it was
// added, holds [newFirst, newEnd); the item menu, when it was added, begins at itemFirst and runs to
// the end of the range.
struct CommandRanges {
    int ownCount = 0;
    bool hasItemMenu = true;
    int itemFirst = 1;
    int newFirst = 0;
    int newEnd = 0;
};

enum class ChosenKind { None, OwnItem, ItemMenu, NewMenu };

// The owner of a chosen ID and the index inside it: the own item's position, or the offset from
// the first ID of the shell menu that added it.
struct ChosenCommand {
    ChosenKind kind = ChosenKind::None;
    int index = 0;
    friend bool operator==(const ChosenCommand&, const ChosenCommand&) = default;
};
ChosenCommand ResolveChosenCommand(int chosenId, const CommandRanges& ranges) noexcept;

// The first command ID of the New menu: one past the own items, or two past on Windows 5.0/5.1.
int NewMenuFirstId(int ownCount, bool osBeforeVista) noexcept;

} // namespace orvane
