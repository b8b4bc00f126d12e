// The five files of the data folder, and which of them could not be read at start. Such a file is still
// the user's: at close it is written only over content this run made for it, and "Orvane.ini" not at all,
// since it may hold choices this run never saw. The icon files belong to the rows of "File.lst": while
// those rows could not be read, the icons stay as they are too.
#pragma once

#include <bitset>
#include <cstddef>

namespace orvane {

enum class StoreFile { sfSettings, sfList, sfSmallIcons, sfLargeIcons, sfHistory };

class UnreadFiles {
public:
    // The file exists but could not be opened or read.
    void MarkUnread(StoreFile file) noexcept { unread_.set(Bit(file)); }
    // This run made new content for the file: a scan for the three lists, a new search for the history.
    void MarkRenewed(StoreFile file) noexcept { renewed_.set(Bit(file)); }
    bool IsUnread(StoreFile file) const noexcept { return unread_.test(Bit(file)); }
    // Whether closing may write the file.
    bool MayWrite(StoreFile file) const noexcept {
        if ((file == StoreFile::sfSmallIcons || file == StoreFile::sfLargeIcons) &&
            !MayWrite(StoreFile::sfList)) {
            return false;
        }
        return !IsUnread(file) || (file != StoreFile::sfSettings && renewed_.test(Bit(file)));
    }

private:
    static constexpr std::size_t Bit(StoreFile file) noexcept { return static_cast<std::size_t>(file); }

    std::bitset<5> unread_;
    std::bitset<5> renewed_;
};

} // namespace orvane
