#include "store/ini_file.h"

#include <limits>

namespace orvane {
namespace {

bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t';
}

std::wstring_view Trim(std::wstring_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

wchar_t FoldAscii(wchar_t c) {
    return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

bool SameName(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldAscii(a[i]) != FoldAscii(b[i])) {
            return false;
        }
    }
    return true;
}

int DigitValue(wchar_t c, int base) {
    int digit = -1;
    if (c >= L'0' && c <= L'9') {
        digit = c - L'0';
    } else if (base == 16 && c >= L'a' && c <= L'f') {
        digit = c - L'a' + 10;
    } else if (base == 16 && c >= L'A' && c <= L'F') {
        digit = c - L'A' + 10;
    }
    return digit;
}

} // namespace

bool IniFile::IsBlankLine(const Line& line) {
    return !line.isValue && Trim(line.raw).empty();
}

bool ParseIniInteger(std::wstring_view text, int& value) {
    text = Trim(text);
    bool negative = false;
    if (!text.empty() && (text.front() == L'-' || text.front() == L'+')) {
        negative = text.front() == L'-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (!text.empty() && text.front() == L'$') {
        base = 16;
        text.remove_prefix(1);
    } else if (text.size() >= 2 && text[0] == L'0' && (text[1] == L'x' || text[1] == L'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty()) {
        return false;
    }
    // Hexadecimal covers the full 32 bits ("$FFFFFFFF" is -1); decimal must fit a signed integer.
    const std::uint64_t limit = base == 16 ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
    std::uint64_t magnitude = 0;
    for (wchar_t c : text) {
        int digit = DigitValue(c, base);
        if (digit < 0) {
            return false;
        }
        magnitude = magnitude * static_cast<unsigned>(base) + static_cast<unsigned>(digit);
        if (magnitude > limit) {
            return false;
        }
    }
    auto bits = static_cast<std::uint32_t>(negative ? (0 - magnitude) : magnitude);
    value = static_cast<int>(static_cast<std::int32_t>(bits));
    return true;
}

IniFile::IniFile(AnsiCodec ansi) : ansi_(std::move(ansi)) {}

IniFile IniFile::Parse(std::span<const std::uint8_t> bytes, AnsiCodec ansi) {
    IniFile ini(std::move(ansi));
    DecodedText decoded = DecodeText(bytes, ini.ansi_.decode);
    ini.encoding_ = decoded.encoding;
    for (std::wstring& text : SplitLines(decoded.text)) {
        std::wstring_view trimmed = Trim(text);
        if (!trimmed.empty() && trimmed.front() == L'[') {
            std::wstring_view name = trimmed.substr(1);
            std::size_t close = name.rfind(L']');
            if (close != std::wstring_view::npos) {
                name = name.substr(0, close);
            }
            ini.sections_.push_back({true, std::wstring(Trim(name)), std::move(text), {}});
            continue;
        }
        if (ini.sections_.empty()) {
            ini.sections_.push_back({});
        }
        Line line;
        std::size_t equals = trimmed.find(L'=');
        bool comment = !trimmed.empty() && (trimmed.front() == L';' || trimmed.front() == L'#');
        if (!comment && equals != std::wstring_view::npos && !Trim(trimmed.substr(0, equals)).empty()) {
            line.isValue = true;
            line.key = Trim(trimmed.substr(0, equals));
            line.value = Trim(trimmed.substr(equals + 1));
        }
        line.raw = std::move(text);
        ini.sections_.back().lines.push_back(std::move(line));
    }
    return ini;
}

std::vector<std::uint8_t> IniFile::Serialize() const {
    std::wstring text;
    for (const Section& section : sections_) {
        // Lines go back as they were read: written without the blanks before them, a first key of an
        // ANSI file could turn into a byte-order mark.
        if (section.hasHeader) {
            text += section.header.empty() ? L"[" + section.name + L"]" : section.header;
            text += L"\r\n";
        }
        for (const Line& line : section.lines) {
            text += line.isValue && line.raw.empty() ? line.key + L"=" + line.value : line.raw;
            text += L"\r\n";
        }
    }
    return EncodeText(text, encoding_, ansi_.encode);
}

std::vector<IniFile::OutlineSection> IniFile::Outline() const {
    std::vector<OutlineSection> outline;
    for (const Section& section : sections_) {
        OutlineSection& out = outline.emplace_back();
        out.hasHeader = section.hasHeader;
        out.name = section.name;
        for (const Line& line : section.lines) {
            if (line.isValue) {
                out.values.emplace_back(line.key, line.value);
            }
        }
    }
    return outline;
}

const IniFile::Line* IniFile::Find(std::wstring_view section, std::wstring_view key) const {
    for (const Section& s : sections_) {
        if (!s.hasHeader || !SameName(s.name, section)) {
            continue;
        }
        for (const Line& line : s.lines) {
            if (line.isValue && SameName(line.key, key)) {
                return &line;
            }
        }
    }
    return nullptr;
}

bool IniFile::HasValue(std::wstring_view section, std::wstring_view key) const {
    return Find(section, key) != nullptr;
}

std::wstring IniFile::ReadString(std::wstring_view section, std::wstring_view key,
                                 std::wstring_view defaultValue) const {
    const Line* line = Find(section, key);
    return std::wstring(line ? std::wstring_view(line->value) : defaultValue);
}

int IniFile::ReadInteger(std::wstring_view section, std::wstring_view key, int defaultValue) const {
    const Line* line = Find(section, key);
    int value = 0;
    return line && ParseIniInteger(line->value, value) ? value : defaultValue;
}

bool IniFile::ReadBool(std::wstring_view section, std::wstring_view key, bool defaultValue) const {
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void IniFile::WriteString(std::wstring_view section, std::wstring_view key, std::wstring_view value) {
    for (Section& s : sections_) {
        if (!s.hasHeader || !SameName(s.name, section)) {
            continue;
        }
        for (Line& line : s.lines) {
            if (line.isValue && SameName(line.key, key)) {
                line.value = value;
                line.raw.clear();
                return;
            }
        }
    }
    Line line{true, std::wstring(key), std::wstring(value), {}};
    for (Section& s : sections_) {
        if (s.hasHeader && SameName(s.name, section)) {
            // After the section's last key (or, with no key yet, after its last non-blank line), so the
            // blank lines that set it off from the next section stay last.
            std::size_t afterLastKey = 0;
            std::size_t afterLastText = 0;
            for (std::size_t i = 0; i < s.lines.size(); ++i) {
                if (s.lines[i].isValue) {
                    afterLastKey = i + 1;
                }
                if (!IsBlankLine(s.lines[i])) {
                    afterLastText = i + 1;
                }
            }
            std::size_t at = afterLastKey > 0 ? afterLastKey : afterLastText;
            s.lines.insert(s.lines.begin() + static_cast<std::ptrdiff_t>(at), std::move(line));
            return;
        }
    }
    // A new section, set off from the one before by a blank line.
    if (!sections_.empty()) {
        Section& last = sections_.back();
        bool endsBlank = !last.lines.empty() && IsBlankLine(last.lines.back());
        if (!endsBlank && (last.hasHeader || !last.lines.empty())) {
            last.lines.push_back({});
        }
    }
    sections_.push_back({true, std::wstring(section), {}, {}});
    sections_.back().lines.push_back(std::move(line));
}

void IniFile::WriteInteger(std::wstring_view section, std::wstring_view key, int value) {
    WriteString(section, key, std::to_wstring(value));
}

void IniFile::WriteBool(std::wstring_view section, std::wstring_view key, bool value) {
    WriteString(section, key, value ? L"1" : L"0");
}

} // namespace orvane
