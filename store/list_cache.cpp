#include "store/list_cache.h"

#include "system/text_codec.h"

#include <cmath>

namespace orvane {
namespace {

constexpr std::uint8_t kItemDataVersion = 6;
// "Items.LongText": 1 byte version (1), 32-bit entry count, then per entry a 32-bit row index, 1 byte
// field (0 the caption, k + 1 sub-item k), a 32-bit count of UTF-16 code units and those units
// (UTF-16LE). Every integer little-endian.
constexpr std::uint8_t kLongTextVersion = 1;
constexpr std::uint8_t kCaptionField = 0;
// Font heights are stored in pixels at this many per inch.
constexpr int kStoredPixelsPerInch = 96;

std::u16string Cut(const std::u16string& units) {
    return units.size() > kItemTextLimit ? units.substr(0, kItemTextLimit) : units;
}

void WriteItemText(ByteWriter& out, const std::wstring& text) {
    std::u16string units = Cut(ToUtf16(text));
    out.U8(static_cast<std::uint8_t>(units.size()));
    out.Utf16(units);
}

std::wstring ReadItemText(ByteReader& in) {
    std::size_t length = in.U8();
    return FromUtf16(in.Utf16(length));
}

int HeightFromPoints(int points) {
    return -static_cast<int>(std::lround(points * static_cast<double>(kStoredPixelsPerInch) / 72.0));
}

int PointsFromHeight(std::int64_t height) {
    double pixels = std::fabs(static_cast<double>(height));
    return static_cast<int>(std::lround(pixels * 72.0 / kStoredPixelsPerInch));
}

std::optional<std::uint32_t> ColorOf(const StreamValue& value) {
    if (std::optional<std::int64_t> n = IntegerOf(value)) {
        return static_cast<std::uint32_t>(*n);
    }
    static const struct {
        const char* name;
        std::uint32_t color;
    } kNamed[] = {{"clWindowText", kWindowTextColor},
                  {"clWindow", 0xFF000005},
                  {"clBlack", 0x000000},
                  {"clWhite", 0xFFFFFF}};
    if (std::optional<std::string> ident = IdentOf(value)) {
        for (const auto& named : kNamed) {
            if (*ident == named.name) {
                return named.color;
            }
        }
    }
    return std::nullopt;
}

int ClampToInt(std::int64_t v) {
    if (v < INT32_MIN) {
        return INT32_MIN;
    }
    if (v > INT32_MAX) {
        return INT32_MAX;
    }
    return static_cast<int>(v);
}

StreamValue ColumnsValue(const std::vector<ListColumn>& columns) {
    StreamValue value = StreamValue::Of(ValueKind::vaCollection);
    for (const ListColumn& column : columns) {
        std::vector<StreamProperty> item;
        if (column.alignment == ColumnAlignment::taRightJustify) {
            item.push_back({"Alignment", StreamValue::Ident("taRightJustify")});
        }
        item.push_back({"Caption", StreamValue::Text(column.caption)});
        item.push_back({"Width", StreamValue::Integer(column.width)});
        value.items.push_back(std::move(item));
    }
    return value;
}

std::vector<ListColumn> ReadColumns(const StreamValue& value) {
    if (value.kind != ValueKind::vaCollection) {
        throw StreamError("\"Columns\" is not a collection");
    }
    std::vector<ListColumn> columns;
    for (const std::vector<StreamProperty>& item : value.items) {
        ListColumn column;
        for (const StreamProperty& p : item) {
            if (p.name == "Caption") {
                column.caption = TextOf(p.value).value_or(column.caption);
            } else if (p.name == "Width") {
                if (std::optional<std::int64_t> n = IntegerOf(p.value)) {
                    column.width = ClampToInt(*n);
                }
            } else if (p.name == "Alignment") {
                column.alignment = IdentOf(p.value) == "taRightJustify" ? ColumnAlignment::taRightJustify
                                                                        : ColumnAlignment::taLeftJustify;
            }
        }
        columns.push_back(std::move(column));
    }
    return columns;
}

} // namespace

std::vector<std::uint8_t> EncodeItemData(const std::vector<ShortcutRow>& rows) {
    ByteWriter body;
    std::uint32_t sizeCount = 0;
    for (const ShortcutRow& row : rows) {
        body.I32(row.imageIndex);
        body.I32(-1); // state image index
        body.I32(-1); // overlay index
        body.I32(kSubItemCount);
        body.I32(-1); // group id
        body.I64(0);  // attached data
        WriteItemText(body, row.caption);
        sizeCount += 30 + 2 * static_cast<std::uint32_t>(Cut(ToUtf16(row.caption)).size());
        for (const std::wstring& sub : row.subItems) {
            WriteItemText(body, sub);
            body.I64(0); // attached object
            sizeCount += 11 + 2 * static_cast<std::uint32_t>(Cut(ToUtf16(sub)).size());
        }
    }
    for (std::size_t i = 0; i < rows.size() * kSubItemCount; ++i) {
        body.I16(-1); // sub-item image index
    }
    ByteWriter out;
    out.U8(kItemDataVersion);
    out.U32(sizeCount);
    out.U32(static_cast<std::uint32_t>(rows.size()));
    out.Append(body.bytes());
    return std::move(out.bytes());
}

namespace {

std::vector<ShortcutRow> DecodeRows(std::span<const std::uint8_t> data) {
    ByteReader in(data);
    if (in.U8() != kItemDataVersion) {
        throw StreamError("\"Items.ItemData\" of an unknown version");
    }
    in.U32(); // size count, not needed to read
    std::uint32_t count = in.U32();
    // A row takes at least 29 bytes; a larger count than the data can hold fails below, row by row.
    constexpr std::size_t kSmallestRow = 29;
    std::vector<ShortcutRow> rows;
    rows.reserve(std::min<std::size_t>(count, in.remaining() / kSmallestRow));
    std::size_t subItemTotal = 0;
    for (std::uint32_t r = 0; r < count; ++r) {
        ShortcutRow row;
        row.imageIndex = in.I32();
        in.I32(); // state image index
        in.I32(); // overlay index
        std::uint32_t subItems = in.U32();
        in.I32(); // group id
        in.Take(8);
        row.caption = ReadItemText(in);
        for (std::uint32_t s = 0; s < subItems; ++s) {
            std::wstring text = ReadItemText(in);
            in.Take(8);
            if (s < static_cast<std::uint32_t>(kSubItemCount)) {
                row.subItems[s] = std::move(text);
            }
        }
        subItemTotal += subItems;
        rows.push_back(std::move(row));
    }
    // The sub-item image indexes close the data; they are not kept.
    if (subItemTotal > in.remaining() / 2) {
        throw StreamError("\"Items.ItemData\" ends before its sub-item images");
    }
    return rows;
}

} // namespace

std::vector<ShortcutRow> DecodeItemData(std::span<const std::uint8_t> data) {
    return ReadOrDamaged([&] { return DecodeRows(data); });
}

std::vector<std::uint8_t> EncodeLongTexts(const std::vector<ShortcutRow>& rows) {
    ByteWriter entries;
    std::uint32_t count = 0;
    auto add = [&](std::size_t row, std::uint8_t field, const std::wstring& text) {
        std::u16string units = ToUtf16(text);
        if (units.size() <= kItemTextLimit) {
            return;
        }
        entries.U32(static_cast<std::uint32_t>(row));
        entries.U8(field);
        entries.U32(static_cast<std::uint32_t>(units.size()));
        entries.Utf16(units);
        ++count;
    };
    for (std::size_t r = 0; r < rows.size(); ++r) {
        add(r, kCaptionField, rows[r].caption);
        for (std::size_t s = 0; s < rows[r].subItems.size(); ++s) {
            add(r, static_cast<std::uint8_t>(s + 1), rows[r].subItems[s]);
        }
    }
    if (count == 0) {
        return {};
    }
    ByteWriter out;
    out.U8(kLongTextVersion);
    out.U32(count);
    out.Append(entries.bytes());
    return std::move(out.bytes());
}

void ApplyLongTexts(std::span<const std::uint8_t> data, std::vector<ShortcutRow>& rows) {
    ByteReader in(data);
    if (in.U8() != kLongTextVersion) {
        throw StreamError("\"Items.LongText\" of an unknown version");
    }
    std::uint32_t count = in.U32();
    for (std::uint32_t i = 0; i < count; ++i) {
        std::uint32_t row = in.U32();
        std::uint8_t field = in.U8();
        std::u16string whole = in.Utf16(in.U32());
        if (row >= rows.size() || field > kSubItemCount) {
            throw StreamError("\"Items.LongText\" names a text that is not there");
        }
        std::wstring& text = field == kCaptionField ? rows[row].caption : rows[row].subItems[field - 1u];
        // Only a whole text whose cut is what the row holds belongs to it.
        if (whole.size() > kItemTextLimit && FromUtf16(whole.substr(0, kItemTextLimit)) == text) {
            text = FromUtf16(whole);
        }
    }
}

std::vector<std::uint8_t> WriteListCache(const ListCache& list) {
    StreamComponent c;
    c.className = kListViewClass;
    c.objectName = kListViewObject;
    auto& p = c.properties;
    p.push_back({"Columns", ColumnsValue(list.columns)});
    if (list.font) {
        p.push_back({"Font.Color", StreamValue::Integer(static_cast<std::int32_t>(list.font->color))});
        p.push_back({"Font.Height", StreamValue::Integer(HeightFromPoints(list.font->size))});
        p.push_back({"Font.Name", StreamValue::Text(list.font->name)});
    }
    p.push_back({"Items.ItemData", StreamValue::Binary(EncodeItemData(list.rows))});
    if (std::vector<std::uint8_t> longTexts = EncodeLongTexts(list.rows); !longTexts.empty()) {
        p.push_back({"Items.LongText", StreamValue::Binary(std::move(longTexts))});
    }
    if (!list.largeImages.empty()) {
        p.push_back({"LargeImages", StreamValue::Ident(list.largeImages)});
    }
    if (list.font) {
        p.push_back({"ParentFont", StreamValue::Bool(false)});
    }
    if (!list.smallImages.empty()) {
        p.push_back({"SmallImages", StreamValue::Ident(list.smallImages)});
    }
    p.push_back(
        {"ViewStyle", StreamValue::Ident(list.viewStyle == ListViewStyle::vsList ? "vsList" : "vsReport")});
    return WriteComponentStream(c);
}

namespace {

ListCache ReadList(std::span<const std::uint8_t> bytes, const ListCache& current) {
    // The rows are decoded from the stream's bytes where they lie, not from a copy.
    StreamComponent c = ReadComponentStreamInPlace(bytes);
    if (c.className != kListViewClass) {
        throw StreamError("not the stream of a list view");
    }
    ListCache list = current;
    list.rows.clear();
    ListFont font = current.font.value_or(ListFont{});
    bool hasFont = current.font.has_value();
    const StreamValue* longTexts = nullptr;
    for (const StreamProperty& p : c.properties) {
        const StreamValue& v = p.value;
        if (p.name == "Columns") {
            list.columns = ReadColumns(v);
        } else if (p.name == "ViewStyle") {
            std::optional<std::string> style = IdentOf(v);
            if (style == "vsReport") {
                list.viewStyle = ListViewStyle::vsReport;
            } else if (style == "vsList") {
                list.viewStyle = ListViewStyle::vsList;
            }
        } else if (p.name == "Font.Name") {
            if (std::optional<std::wstring> name = TextOf(v)) {
                font.name = *name;
                hasFont = true;
            }
        } else if (p.name == "Font.Height" || p.name == "Font.Size") {
            if (std::optional<std::int64_t> n = IntegerOf(v)) {
                font.size = p.name == "Font.Size" ? ClampToInt(*n) : PointsFromHeight(*n);
                hasFont = true;
            }
        } else if (p.name == "Font.Color") {
            if (std::optional<std::uint32_t> color = ColorOf(v)) {
                font.color = *color;
                hasFont = true;
            }
        } else if (p.name == "SmallImages" || p.name == "LargeImages") {
            std::string& target = p.name == "SmallImages" ? list.smallImages : list.largeImages;
            target = v.kind == ValueKind::vaNil ? std::string() : IdentOf(v).value_or(target);
        } else if (p.name == "Items.ItemData") {
            if (v.kind != ValueKind::vaBinary) {
                throw StreamError("\"Items.ItemData\" is not binary");
            }
            list.rows = DecodeItemData(v.inPlace);
        } else if (p.name == "Items.LongText") {
            if (v.kind != ValueKind::vaBinary) {
                throw StreamError("\"Items.LongText\" is not binary");
            }
            longTexts = &v;
        }
    }
    if (longTexts) {
        ApplyLongTexts(longTexts->inPlace, list.rows);
    }
    if (hasFont) {
        list.font = font;
    }
    return list;
}

} // namespace

ListCache ReadListCache(std::span<const std::uint8_t> bytes, const ListCache& current) {
    return ReadOrDamaged([&] { return ReadList(bytes, current); });
}

int UsableImageIndex(int index, int imageCount) {
    return index >= -1 && index < imageCount ? index : -1;
}

} // namespace orvane
