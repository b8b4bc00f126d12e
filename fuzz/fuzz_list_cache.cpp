// Any bytes given to the "File.lst" readers: rows or StreamError, never a crash; rows that were read
// encode into data that decodes as the same rows.
#include "store/list_cache.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    try {
        orvane::ReadListCache(bytes, orvane::ListCache{});
    } catch (const orvane::StreamError&) {
    }
    try {
        std::vector<orvane::ShortcutRow> rows = orvane::DecodeItemData(bytes);
        if (orvane::DecodeItemData(orvane::EncodeItemData(rows)) != rows) {
            std::abort();
        }
    } catch (const orvane::StreamError&) {
    }
    try {
        // Rows whose texts are cut, as long texts may continue them.
        std::vector<orvane::ShortcutRow> rows(3);
        for (orvane::ShortcutRow& row : rows) {
            row.caption.assign(orvane::kItemTextLimit, L'a');
            row.subItems[0].assign(orvane::kItemTextLimit, L'a');
        }
        orvane::ApplyLongTexts(bytes, rows);
    } catch (const orvane::StreamError&) {
    }
    return 0;
}
