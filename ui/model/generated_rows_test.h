// Rows for the tests that prove the prepared sort keys and search texts equal to what they replace:
// texts joined from pieces at random, so that many rows share prefixes, letters differ only in case or
// width, and some texts are empty.
#pragma once

#include "catalogue/shortcut_row.h"

#include <random>
#include <string>
#include <vector>

namespace orvane::test {

// Japanese, full-width and half-width letters, mixed case, digits, accents, signs and empty texts.
inline const std::vector<std::wstring> kTextPieces = {
    L"",       L"abc",    L"ABC", L"Abc", L"ａｂｃ", L"ＡＢＣ",  L"ｱｲｳ", L"アイウ",
    L"あいう", L"日本語", L"1",   L"10",  L"9",      L"２",      L"é",   L"É",
    L"z",      L" ",      L"-",   L"\\",  L"ー",     L"Program", L".exe"};

// count rows of up to three pieces a text; the image index numbers the rows, so rows with equal texts
// stay apart.
inline std::vector<ShortcutRow> GeneratedRows(std::size_t count, unsigned seed,
                                              const std::vector<std::wstring>& pieces = kTextPieces) {
    std::mt19937 random(seed);
    auto text = [&] {
        std::wstring t;
        for (unsigned n = random() % 4; n > 0; --n) {
            t += pieces[random() % pieces.size()];
        }
        return t;
    };
    std::vector<ShortcutRow> rows(count);
    for (std::size_t i = 0; i < count; ++i) {
        rows[i].caption = text();
        rows[i].imageIndex = static_cast<int>(i);
        for (auto& sub : rows[i].subItems) {
            sub = text();
        }
    }
    return rows;
}

} // namespace orvane::test
