// "File.lst": the list view's component stream (class "TListView", object "ListView") holding its
// columns, view style, own font, image-list references and rows.
#pragma once

#include "catalogue/shortcut_row.h"
#include "store/stream/component_stream.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace orvane {

inline constexpr wchar_t kListCacheFileName[] = L"File.lst";
inline constexpr char kListViewClass[] = "TListView";
inline constexpr char kListViewObject[] = "ListView";
// Texts of "Items.ItemData" are cut to this many UTF-16 code units.
inline constexpr std::size_t kItemTextLimit = 255;
// The system colour "window text" as a stored colour value.
inline constexpr std::uint32_t kWindowTextColor = 0xFF000008;

enum class ColumnAlignment { taLeftJustify, taRightJustify };
enum class ListViewStyle { vsReport, vsList };

struct ListColumn {
    std::wstring caption; // as shown, sort marker included
    int width = 50;
    ColumnAlignment alignment = ColumnAlignment::taLeftJustify;

    bool operator==(const ListColumn&) const = default;
};

struct ListFont {
    std::wstring name;
    int size = 9;                           // points; stored as "Font.Height", pixels at 96 per inch
    std::uint32_t color = kWindowTextColor; // 0x00BBGGRR, or 0xFF000000 | index of a system colour

    bool operator==(const ListFont&) const = default;
};

struct ListCache {
    std::vector<ListColumn> columns;
    ListViewStyle viewStyle = ListViewStyle::vsReport;
    std::optional<ListFont> font; // only when the list has a font of its own
    std::string smallImages;      // "SmallImages": the name of the small image list, empty for none
    std::string largeImages;      // "LargeImages"
    std::vector<ShortcutRow> rows;

    bool operator==(const ListCache&) const = default;
};

// The whole "File.lst". The rows go to "Items.ItemData"; every caption or sub-item longer than 255
// code units is stored whole in "Items.LongText" as well, which is written only when there is one.
std::vector<std::uint8_t> WriteListCache(const ListCache& list);

// Reads "File.lst" over the present state of the list: the rows are always replaced (none when the
// stream holds none), the other fields only when the stream holds them. Image indexes are given as
// stored, to be drawn through UsableImageIndex. Throws StreamError for a damaged stream or one of another
// class, and when memory runs out while reading; the caller then empties the list.
ListCache ReadListCache(std::span<const std::uint8_t> bytes, const ListCache& current);

// The content of "Items.ItemData" (format version 6), and back. Rows with fewer than six sub-items
// are filled with empty texts; further sub-items are dropped. Decoding throws StreamError when the data
// ends early, its version is not 6, or memory runs out.
std::vector<std::uint8_t> EncodeItemData(const std::vector<ShortcutRow>& rows);
std::vector<ShortcutRow> DecodeItemData(std::span<const std::uint8_t> data);

// The content of "Items.LongText": the whole texts of the rows' long captions and sub-items; empty when
// no text is longer than 255 code units. Applying it restores each whole text whose first 255 code
// units are what the row holds; it throws StreamError when the data is damaged.
std::vector<std::uint8_t> EncodeLongTexts(const std::vector<ShortcutRow>& rows);
void ApplyLongTexts(std::span<const std::uint8_t> data, std::vector<ShortcutRow>& rows);

// The index itself when an image list holding imageCount images can draw it; else -1 (no image).
int UsableImageIndex(int index, int imageCount);

} // namespace orvane
