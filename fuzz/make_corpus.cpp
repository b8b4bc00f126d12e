// Writes the seed corpus of the fuzz targets with the program's own writers:
//   orvane_make_corpus <folder>   (the folder gets one subfolder per target)
#include "store/stream/component_stream.h"
#include "store/find_history.h"
#include "store/icons/image_list_cache.h"
#include "store/list_cache.h"
#include "store/settings.h"
#include "store/text_encoding.h"

#include <filesystem>
#include <fstream>
#include <iostream>

namespace {

using Bytes = std::vector<std::uint8_t>;

void Save(const std::filesystem::path& folder, const char* name, const Bytes& bytes) {
    std::filesystem::create_directories(folder);
    std::ofstream out(folder / name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + (folder / name).string());
    }
}

orvane::ShortcutRow Row(std::wstring caption, int image, std::wstring path, std::wstring target) {
    orvane::ShortcutRow row;
    row.caption = std::move(caption);
    row.imageIndex = image;
    row.subItems = {std::move(path),     std::move(target),   L"",
                    L"2024/01/02 03:04", L"2023/12/31 23:59", L"1.0"};
    return row;
}

orvane::ListCache SmallList(bool longPath) {
    orvane::ListCache list;
    list.columns = {{L"\u540D\u524D \u25B2", 300, orvane::ColumnAlignment::taLeftJustify},
                    {L"Size", 80, orvane::ColumnAlignment::taRightJustify}};
    list.font = orvane::ListFont{L"Meiryo UI", 9, orvane::kWindowTextColor};
    list.smallImages = orvane::kSmallImageListName;
    list.largeImages = orvane::kLargeImageListName;
    list.rows = {
        Row(L"\u30E1\u30E2\u5E33", 0, L"C:\\Start\\\u30E1\u30E2\u5E33.lnk", L"C:\\Windows\\notepad.exe")};
    if (longPath) {
        list.rows.push_back(Row(L"Deep", 1, L"C:\\" + std::wstring(290, L'd') + L".lnk", L"x.exe"));
    }
    return list;
}

// A tiny image-list stream: two 2 x 2 images of 32 bits with a mask.
Bytes TinyImageListStream() {
    Bytes b = {'I', 'L', 0x01, 0x01, 2, 0, 3, 0, 4, 0, 2, 0, 2, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0x21, 0};
    b.insert(b.end(), 8, 0xFF);
    auto put = [&](std::uint32_t v, int size) {
        for (int i = 0; i < size; ++i) {
            b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
        }
    };
    auto bitmap = [&](int bits) {
        std::uint32_t palette = bits == 1 ? 8 : 0;
        std::uint32_t pixels = ((8u * static_cast<std::uint32_t>(bits) + 31) / 32) * 4 * 2;
        b.push_back('B');
        b.push_back('M');
        put(14 + 40 + palette + pixels, 4);
        put(0, 4);
        put(14 + 40 + palette, 4);
        put(40, 4);
        put(8, 4);
        put(2, 4);
        put(1, 2);
        put(static_cast<std::uint32_t>(bits), 2);
        b.insert(b.end(), 24, 0);
        for (std::uint32_t i = 0; i < palette + pixels; ++i) {
            b.push_back(static_cast<std::uint8_t>(i * 37));
        }
    };
    bitmap(32);
    bitmap(1);
    return b;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: orvane_make_corpus <folder>\n";
        return 2;
    }
    const std::filesystem::path root = argv[1];
    try {
        const Bytes shortList = orvane::WriteListCache(SmallList(false));
        const Bytes longList = orvane::WriteListCache(SmallList(true));
        orvane::ImageListCache icons;
        icons.name = orvane::kLargeImageListName;
        icons.bitmap = TinyImageListStream();

        Save(root / "component_stream", "list.bin", shortList);
        Save(root / "component_stream", "icons.bin", orvane::WriteImageListCache(icons));
        orvane::StreamComponent kinds;
        kinds.className = "TThing";
        kinds.objectName = "Thing";
        kinds.flags = 0x02;
        kinds.childPosition = 1;
        orvane::StreamValue set = orvane::StreamValue::Of(orvane::ValueKind::vaSet);
        set.set = {"fsBold"};
        orvane::StreamValue list = orvane::StreamValue::Of(orvane::ValueKind::vaList);
        list.list = {orvane::StreamValue::Integer(70000), orvane::StreamValue::Of(orvane::ValueKind::vaNil)};
        orvane::StreamValue ext = orvane::StreamValue::Of(orvane::ValueKind::vaExtended);
        ext.number = 1.5;
        orvane::StreamValue utf8 = orvane::StreamValue::Of(orvane::ValueKind::vaUtf8String);
        utf8.text = L"\u00FC";
        kinds.properties = {{"A", orvane::StreamValue::Integer(-1)},
                            {"B", orvane::StreamValue::Integer(std::int64_t{1} << 40)},
                            {"C", orvane::StreamValue::Text(L"\u65E5")},
                            {"D", utf8},
                            {"E", ext},
                            {"F", set},
                            {"G", list},
                            {"H", orvane::StreamValue::Bool(true)}};
        orvane::StreamComponent child;
        child.className = "TChild";
        kinds.children.push_back(child);
        Save(root / "component_stream", "kinds.bin", orvane::WriteComponentStream(kinds));

        Save(root / "list_cache", "list.bin", shortList);
        Save(root / "list_cache", "long.bin", longList);
        Save(root / "list_cache", "itemdata.bin", orvane::EncodeItemData(SmallList(false).rows));
        Save(root / "list_cache", "longtext.bin", orvane::EncodeLongTexts(SmallList(true).rows));

        Save(root / "find_history", "utf16le.bin", orvane::WriteFindHistory({L"\u30E1\u30E2", L"word", L""}));
        Save(root / "find_history", "utf8.bin",
             orvane::EncodeText(L"\u65E5\u672C\r\nabc\nx\r", orvane::TextEncoding::teUtf8, {}));
        Save(root / "find_history", "utf16be.bin",
             orvane::EncodeText(L"ab\r\n\u00E9\r\n", orvane::TextEncoding::teUtf16Be, {}));
        Save(root / "find_history", "ansi.bin", {'a', '\r', '\n', 0xE9, 'b'});

        Save(root / "image_list_bytes", "tiny.il", TinyImageListStream());

        // "Orvane.ini" as the program writes it, and as people edit it by hand.
        orvane::Settings settings;
        settings.columnWidths = {120, 300, 250, 80, 110, 110, 60};
        settings.columnSort = -3;
        settings.columnIndex = 2;
        settings.fontSize = 11;
        settings.top = 40;
        settings.left = -1200;
        settings.height = 600;
        settings.width = 800;
        orvane::IniFile written;
        settings.Write(written);
        Save(root / "ini_file", "written.bin", written.Serialize());
        Save(root / "ini_file", "utf16le.bin",
             orvane::EncodeText(L"; \u624B\u3067\u66F8\u3044\u305F\r\n[Window]\r\nFontSize=0x0E\r\n"
                                L"Column1 = $20 \r\nName=\u65E5\u672C\r\n\r\n[View]\r\nReport=0\r\n",
                                orvane::TextEncoding::teUtf16Le, {}));
        Save(root / "ini_file", "utf8-mixed.bin",
             orvane::EncodeText(L"[window]\nMax=0\rTop=-5\r\nLeft=2147483647\n\n[Window]\nTop=7\n"
                                L"Style=$FFFFFFFF\nColumnIndex=6\nColumnSort=-2147483648\n# note\n[View\n"
                                L"Report=yes\r",
                                orvane::TextEncoding::teUtf8, {}));
        Save(root / "ini_file", "utf16be.bin",
             orvane::EncodeText(L"[Window]\r\nMax=1\r\nTop=11\r\n", orvane::TextEncoding::teUtf16Be, {}));
        const std::string ansi = "caf\xE9=1\r\n[Plugins]\r\n=x\r\nb\r\n[Window]\r\nWidth=900\r\n"
                                 "width=1\r\nHeight=0x\r\n\t[ View ] tail\r\nReport = 0\r\n";
        Save(root / "ini_file", "ansi.bin", Bytes(ansi.begin(), ansi.end()));
        // A first key that reads as a byte-order mark once the blank before it is gone.
        const std::string markLike = " \xFF\xFE=x\r\n[Window]\r\nTop=1\r\n";
        Save(root / "ini_file", "ansi-mark-like.bin", Bytes(markLike.begin(), markLike.end()));
    } catch (const std::exception& error) {
        std::cerr << error.what() << "\n";
        return 1;
    }
    return 0;
}
