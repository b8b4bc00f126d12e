// An ini document held in memory: read from a file's bytes once, read and written in memory, and
// turned back into bytes in one go.
//
// Sections and keys are compared without regard to the case of ASCII letters. Lines the program does
// not know (other sections, other keys, comments, blank lines) stay where they were, in their order, and
// every line the program has not written is written back as it was read, spacing included.
// The bytes are written back in the encoding they were read in, with its byte-order mark; a new
// document uses the ANSI code page. Every line ends in CR LF.
#pragma once

#include "store/text_encoding.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orvane {

class IniFile {
public:
    // An empty document, as for a file that does not exist yet.
    explicit IniFile(AnsiCodec ansi = {});
    // A document read from a file's bytes.
    static IniFile Parse(std::span<const std::uint8_t> bytes, AnsiCodec ansi = {});

    // The whole document, encoded, ready to be written to the file.
    std::vector<std::uint8_t> Serialize() const;
    TextEncoding encoding() const noexcept { return encoding_; }

    // One section of the document as read: its name and its keys with their values, in file order and
    // duplicates included. The lines before the first section header form a section without a header.
    struct OutlineSection {
        bool hasHeader = false;
        std::wstring name;
        std::vector<std::pair<std::wstring, std::wstring>> values;
        bool operator==(const OutlineSection&) const = default;
    };
    std::vector<OutlineSection> Outline() const;

    bool HasValue(std::wstring_view section, std::wstring_view key) const;
    // The value of the key, or the default when the section or the key is missing.
    std::wstring ReadString(std::wstring_view section, std::wstring_view key,
                            std::wstring_view defaultValue) const;
    // Decimal, or hexadecimal after "$" or "0x", with an optional sign; the default when the key is
    // missing or its value is not such a number within 32 bits.
    int ReadInteger(std::wstring_view section, std::wstring_view key, int defaultValue) const;
    // An integer; any value but 0 is true.
    bool ReadBool(std::wstring_view section, std::wstring_view key, bool defaultValue) const;

    // Replaces the key's value where it stands, or adds the key at the end of its section (the section
    // at the end of the document when it is new).
    void WriteString(std::wstring_view section, std::wstring_view key, std::wstring_view value);
    void WriteInteger(std::wstring_view section, std::wstring_view key, int value);
    // Written as "0" or "1".
    void WriteBool(std::wstring_view section, std::wstring_view key, bool value);

private:
    struct Line {
        bool isValue = false; // "key=value"
        std::wstring key;
        std::wstring value;
        std::wstring raw; // the line as read; empty for a key line the program has written
    };
    struct Section {
        bool hasHeader = false; // false only for the lines before the first section header
        std::wstring name;
        std::wstring header; // the header line as read; empty for a section the program added
        std::vector<Line> lines;
    };

    static bool IsBlankLine(const Line& line);
    const Line* Find(std::wstring_view section, std::wstring_view key) const;

    AnsiCodec ansi_;
    TextEncoding encoding_ = TextEncoding::teAnsi;
    std::vector<Section> sections_;
};

// Parses an integer as ReadInteger does; false when the text is not such a number.
bool ParseIniInteger(std::wstring_view text, int& value);

} // namespace orvane
