#include "store/component_stream.h"

#include "system/text_codec.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>

namespace orvane {
namespace {

constexpr std::uint8_t kSignature[] = {'T', 'P', 'F', '0'};
// No writer nests lists, collections or components this deep; a deeper stream is damaged, and the
// bound keeps the recursive reader's stack small.
constexpr int kMaxDepth = 64;
constexpr std::uint8_t kPrefixMark = 0xF0;
constexpr std::uint8_t kChildPositionFlag = 0x02;

bool IsAscii(std::wstring_view text) {
    for (wchar_t c : text) {
        if (static_cast<unsigned>(c) >= 0x80) {
            return false;
        }
    }
    return true;
}

// ---------------------------------------------------------------------------------------------
// Writer

class Writer {
public:
    std::vector<std::uint8_t> Finish() { return std::move(out_.bytes()); }

    void Component(const StreamComponent& c, int depth) {
        CheckDepth(depth);
        if (c.className.empty()) {
            // An empty class name is the zero byte that ends the parent's children.
            throw std::invalid_argument("a component without a class name");
        }
        if (c.flags > 0x0F) {
            throw std::invalid_argument("component flags do not fit the prefix byte");
        }
        // A class name of 240 bytes or more has a length byte that reads as a prefix, so it gets a
        // prefix of its own (0xF0 when there are no flags).
        if (c.flags != 0 || c.className.size() >= kPrefixMark) {
            out_.U8(static_cast<std::uint8_t>(kPrefixMark | c.flags));
            if (c.flags & kChildPositionFlag) {
                Value(StreamValue::Integer(c.childPosition), depth + 1);
            }
        }
        ShortString(c.className);
        ShortString(c.objectName);
        Properties(c.properties, depth + 1);
        for (const StreamComponent& child : c.children) {
            Component(child, depth + 1);
        }
        out_.U8(0);
    }

private:
    static void CheckDepth(int depth) {
        if (depth > kMaxDepth) {
            throw std::invalid_argument("values nested too deeply");
        }
    }

    void ShortString(std::string_view bytes) {
        if (bytes.size() > 255) {
            throw std::invalid_argument("a name longer than 255 bytes");
        }
        out_.U8(static_cast<std::uint8_t>(bytes.size()));
        out_.Append(bytes);
    }

    void Properties(const std::vector<StreamProperty>& properties, int depth) {
        for (const StreamProperty& p : properties) {
            if (p.name.empty()) {
                throw std::invalid_argument("a property without a name");
            }
            ShortString(p.name);
            Value(p.value, depth);
        }
        out_.U8(0);
    }

    void Kind(ValueKind kind) { out_.U8(static_cast<std::uint8_t>(kind)); }

    static void CheckRange(std::int64_t v, std::int64_t low, std::int64_t high) {
        if (v < low || v > high) {
            throw std::invalid_argument("an integer outside its value kind");
        }
    }

    static std::uint32_t Length32(std::size_t n) {
        if (n > std::numeric_limits<std::uint32_t>::max()) {
            throw std::invalid_argument("a value longer than 4 GB");
        }
        return static_cast<std::uint32_t>(n);
    }

    void EightBit(const std::wstring& text) {
        for (wchar_t c : text) {
            if (static_cast<unsigned>(c) > 0xFF) {
                throw std::invalid_argument("an 8-bit string with a character above U+00FF");
            }
            out_.U8(static_cast<std::uint8_t>(c));
        }
    }

    void Value(const StreamValue& v, int depth) {
        CheckDepth(depth);
        Kind(v.kind);
        switch (v.kind) {
        case ValueKind::vaNull:
        case ValueKind::vaFalse:
        case ValueKind::vaTrue:
        case ValueKind::vaNil:
            break;
        case ValueKind::vaList:
            for (const StreamValue& item : v.list) {
                if (item.kind == ValueKind::vaNull) {
                    // Its type byte is the zero that ends the list.
                    throw std::invalid_argument("a null value inside a list");
                }
                Value(item, depth + 1);
            }
            out_.U8(0);
            break;
        case ValueKind::vaInt8:
            CheckRange(v.integer, INT8_MIN, INT8_MAX);
            out_.U8(static_cast<std::uint8_t>(static_cast<std::int8_t>(v.integer)));
            break;
        case ValueKind::vaInt16:
            CheckRange(v.integer, INT16_MIN, INT16_MAX);
            out_.I16(static_cast<std::int16_t>(v.integer));
            break;
        case ValueKind::vaInt32:
            CheckRange(v.integer, INT32_MIN, INT32_MAX);
            out_.I32(static_cast<std::int32_t>(v.integer));
            break;
        case ValueKind::vaInt64:
        case ValueKind::vaCurrency:
            out_.I64(v.integer);
            break;
        case ValueKind::vaExtended: {
            std::uint8_t ext[10];
            DoubleToExtended(v.number, ext);
            out_.Append(std::span<const std::uint8_t>(ext, 10));
            break;
        }
        case ValueKind::vaSingle:
            out_.U32(std::bit_cast<std::uint32_t>(static_cast<float>(v.number)));
            break;
        case ValueKind::vaDate:
            out_.I64(std::bit_cast<std::int64_t>(v.number));
            break;
        case ValueKind::vaString:
            if (v.text.size() > 255) {
                throw std::invalid_argument("a short string longer than 255 characters");
            }
            out_.U8(static_cast<std::uint8_t>(v.text.size()));
            EightBit(v.text);
            break;
        case ValueKind::vaLString:
            out_.U32(Length32(v.text.size()));
            EightBit(v.text);
            break;
        case ValueKind::vaWString: {
            std::u16string units = ToUtf16(v.text);
            out_.U32(Length32(units.size()));
            out_.Utf16(units);
            break;
        }
        case ValueKind::vaUtf8String: {
            std::string utf8 = ToUtf8(v.text);
            out_.U32(Length32(utf8.size()));
            out_.Append(utf8);
            break;
        }
        case ValueKind::vaIdent:
            ShortString(v.ident);
            break;
        case ValueKind::vaBinary: {
            // A value read in place writes the bytes where they lie.
            std::span<const std::uint8_t> bytes = v.inPlace.empty() ? std::span(v.binary) : v.inPlace;
            out_.U32(Length32(bytes.size()));
            out_.Append(bytes);
            break;
        }
        case ValueKind::vaSet:
            for (const std::string& member : v.set) {
                if (member.empty()) {
                    throw std::invalid_argument("a set member without a name");
                }
                ShortString(member);
            }
            out_.U8(0);
            break;
        case ValueKind::vaCollection:
            for (const std::vector<StreamProperty>& item : v.items) {
                Kind(ValueKind::vaList);
                Properties(item, depth + 1);
            }
            out_.U8(0);
            break;
        default:
            throw std::invalid_argument("an unknown value kind");
        }
    }

    ByteWriter out_;
};

// ---------------------------------------------------------------------------------------------
// Reader

class Reader {
public:
    // inPlace: binary values are left in bytes rather than copied.
    Reader(std::span<const std::uint8_t> bytes, bool inPlace) : in_(bytes), inPlace_(inPlace) {}

    StreamComponent Root() {
        auto signature = in_.Take(4);
        if (std::memcmp(signature.data(), kSignature, 4) != 0) {
            throw StreamError("not a component stream");
        }
        return Component(0);
    }

private:
    static void CheckDepth(int depth) {
        if (depth > kMaxDepth) {
            throw StreamError("values nested too deeply");
        }
    }

    std::string ShortString() {
        std::size_t n = in_.U8();
        auto bytes = in_.Take(n);
        return std::string(bytes.begin(), bytes.end());
    }

    std::wstring EightBit(std::size_t n) {
        auto bytes = in_.Take(n);
        std::wstring text(bytes.size(), L'\0');
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            text[i] = static_cast<wchar_t>(bytes[i]);
        }
        return text;
    }

    StreamComponent Component(int depth) {
        CheckDepth(depth);
        StreamComponent c;
        std::uint8_t first = in_.PeekU8();
        if ((first & kPrefixMark) == kPrefixMark) {
            in_.U8();
            c.flags = static_cast<std::uint8_t>(first & 0x0F);
            if (c.flags & kChildPositionFlag) {
                StreamValue position = Value(depth + 1);
                std::optional<std::int64_t> n = IntegerOf(position);
                if (!n) {
                    throw StreamError("a child position that is not an integer");
                }
                c.childPosition = *n;
            }
        }
        c.className = ShortString();
        c.objectName = ShortString();
        if (c.className.empty()) {
            throw StreamError("a component without a class name");
        }
        c.properties = Properties(depth + 1);
        while (in_.PeekU8() != 0) {
            c.children.push_back(Component(depth + 1));
        }
        in_.U8();
        return c;
    }

    std::vector<StreamProperty> Properties(int depth) {
        std::vector<StreamProperty> properties;
        while (in_.PeekU8() != 0) {
            StreamProperty p;
            p.name = ShortString();
            p.value = Value(depth);
            properties.push_back(std::move(p));
        }
        in_.U8();
        return properties;
    }

    StreamValue Value(int depth) {
        CheckDepth(depth);
        std::uint8_t code = in_.U8();
        if (code > static_cast<std::uint8_t>(ValueKind::vaUtf8String)) {
            throw StreamError("an unknown value kind");
        }
        StreamValue v;
        v.kind = static_cast<ValueKind>(code);
        switch (v.kind) {
        case ValueKind::vaNull:
        case ValueKind::vaFalse:
        case ValueKind::vaTrue:
        case ValueKind::vaNil:
            break;
        case ValueKind::vaList:
            while (in_.PeekU8() != 0) {
                v.list.push_back(Value(depth + 1));
            }
            in_.U8();
            break;
        case ValueKind::vaInt8:
            v.integer = static_cast<std::int8_t>(in_.U8());
            break;
        case ValueKind::vaInt16:
            v.integer = in_.I16();
            break;
        case ValueKind::vaInt32:
            v.integer = in_.I32();
            break;
        case ValueKind::vaInt64:
        case ValueKind::vaCurrency:
            v.integer = in_.I64();
            break;
        case ValueKind::vaExtended:
            v.number = ExtendedToDouble(in_.Take(10).data());
            break;
        case ValueKind::vaSingle:
            v.number = std::bit_cast<float>(in_.U32());
            break;
        case ValueKind::vaDate:
            v.number = std::bit_cast<double>(in_.I64());
            break;
        case ValueKind::vaString:
            v.text = EightBit(in_.U8());
            break;
        case ValueKind::vaLString:
            v.text = EightBit(in_.U32());
            break;
        case ValueKind::vaWString:
            v.text = FromUtf16(in_.Utf16(in_.U32()));
            break;
        case ValueKind::vaUtf8String: {
            auto bytes = in_.Take(in_.U32());
            v.text = FromUtf8(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
            break;
        }
        case ValueKind::vaIdent:
            v.ident = ShortString();
            break;
        case ValueKind::vaBinary: {
            auto bytes = in_.Take(in_.U32());
            if (inPlace_) {
                v.inPlace = bytes;
            } else {
                v.binary.assign(bytes.begin(), bytes.end());
            }
            break;
        }
        case ValueKind::vaSet:
            while (in_.PeekU8() != 0) {
                v.set.push_back(ShortString());
            }
            in_.U8();
            break;
        case ValueKind::vaCollection:
            while (in_.PeekU8() != 0) {
                // An item may carry its order as an integer before its list marker; it is not kept.
                std::uint8_t marker = in_.U8();
                if (marker == static_cast<std::uint8_t>(ValueKind::vaInt8) ||
                    marker == static_cast<std::uint8_t>(ValueKind::vaInt16) ||
                    marker == static_cast<std::uint8_t>(ValueKind::vaInt32)) {
                    in_.Take(marker == static_cast<std::uint8_t>(ValueKind::vaInt8)    ? 1
                             : marker == static_cast<std::uint8_t>(ValueKind::vaInt16) ? 2
                                                                                       : 4);
                    marker = in_.U8();
                }
                if (marker != static_cast<std::uint8_t>(ValueKind::vaList)) {
                    throw StreamError("a collection item without its list marker");
                }
                v.items.push_back(Properties(depth + 1));
            }
            in_.U8();
            break;
        }
        return v;
    }

    ByteReader in_;
    bool inPlace_;
};

bool SameAsciiName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto fold = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
        if (fold(a[i]) != fold(b[i])) {
            return false;
        }
    }
    return true;
}

} // namespace

// ---------------------------------------------------------------------------------------------

StreamValue StreamValue::Integer(std::int64_t value) {
    StreamValue v;
    v.kind = value >= INT8_MIN && value <= INT8_MAX     ? ValueKind::vaInt8
             : value >= INT16_MIN && value <= INT16_MAX ? ValueKind::vaInt16
             : value >= INT32_MIN && value <= INT32_MAX ? ValueKind::vaInt32
                                                        : ValueKind::vaInt64;
    v.integer = value;
    return v;
}

StreamValue StreamValue::Text(std::wstring value) {
    StreamValue v;
    v.kind = !IsAscii(value)       ? ValueKind::vaWString
             : value.size() <= 255 ? ValueKind::vaString
                                   : ValueKind::vaLString;
    v.text = std::move(value);
    return v;
}

StreamValue StreamValue::Ident(std::string name) {
    StreamValue v;
    v.kind = ValueKind::vaIdent;
    v.ident = std::move(name);
    return v;
}

StreamValue StreamValue::Bool(bool value) {
    return Of(value ? ValueKind::vaTrue : ValueKind::vaFalse);
}

StreamValue StreamValue::Binary(std::vector<std::uint8_t> bytes) {
    StreamValue v;
    v.kind = ValueKind::vaBinary;
    v.binary = std::move(bytes);
    return v;
}

StreamValue StreamValue::Of(ValueKind kind) {
    StreamValue v;
    v.kind = kind;
    return v;
}

bool StreamValue::operator==(const StreamValue& o) const {
    return kind == o.kind && integer == o.integer &&
           std::bit_cast<std::uint64_t>(number) == std::bit_cast<std::uint64_t>(o.number) && text == o.text &&
           ident == o.ident && binary == o.binary && std::ranges::equal(inPlace, o.inPlace) && set == o.set &&
           list == o.list && items == o.items;
}

bool StreamProperty::operator==(const StreamProperty& o) const {
    return name == o.name && value == o.value;
}

const StreamProperty* StreamComponent::Find(std::string_view name) const {
    for (const StreamProperty& p : properties) {
        if (SameAsciiName(p.name, name)) {
            return &p;
        }
    }
    return nullptr;
}

std::vector<std::uint8_t> WriteComponentStream(const StreamComponent& root) {
    Writer writer;
    std::vector<std::uint8_t> out(std::begin(kSignature), std::end(kSignature));
    writer.Component(root, 0);
    std::vector<std::uint8_t> body = writer.Finish();
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

StreamComponent ReadComponentStream(std::span<const std::uint8_t> bytes) {
    return Reader(bytes, false).Root();
}

StreamComponent ReadComponentStreamInPlace(std::span<const std::uint8_t> bytes) {
    return Reader(bytes, true).Root();
}

std::optional<std::wstring> TextOf(const StreamValue& value) {
    switch (value.kind) {
    case ValueKind::vaString:
    case ValueKind::vaLString:
    case ValueKind::vaWString:
    case ValueKind::vaUtf8String:
        return value.text;
    default:
        return std::nullopt;
    }
}

std::optional<std::string> IdentOf(const StreamValue& value) {
    if (value.kind == ValueKind::vaIdent) {
        return value.ident;
    }
    std::optional<std::wstring> text = TextOf(value);
    if (!text || !IsAscii(*text)) {
        return std::nullopt;
    }
    return std::string(text->begin(), text->end());
}

std::optional<std::int64_t> IntegerOf(const StreamValue& value) {
    switch (value.kind) {
    case ValueKind::vaInt8:
    case ValueKind::vaInt16:
    case ValueKind::vaInt32:
    case ValueKind::vaInt64:
        return value.integer;
    default:
        return std::nullopt;
    }
}

std::optional<bool> BoolOf(const StreamValue& value) {
    if (value.kind == ValueKind::vaTrue) {
        return true;
    }
    if (value.kind == ValueKind::vaFalse) {
        return false;
    }
    return std::nullopt;
}

void DoubleToExtended(double value, std::uint8_t out[10]) {
    const auto bits = std::bit_cast<std::uint64_t>(value);
    const bool negative = (bits >> 63) != 0;
    const auto exponent = static_cast<int>((bits >> 52) & 0x7FF);
    const std::uint64_t fraction = bits & ((std::uint64_t{1} << 52) - 1);
    std::uint64_t mantissa = 0;
    int biased = 0;
    if (exponent == 0x7FF) {
        // Infinity or NaN: all exponent bits set, the explicit integer bit set.
        biased = 0x7FFF;
        mantissa = (std::uint64_t{1} << 63) | (fraction << 11);
    } else if (exponent == 0) {
        if (fraction != 0) {
            // A subnormal double is a normal extended number.
            int top = static_cast<int>(std::bit_width(fraction)) - 1;
            mantissa = fraction << (63 - top);
            biased = top - 1074 + 16383;
        }
    } else {
        mantissa = (std::uint64_t{1} << 63) | (fraction << 11);
        biased = exponent - 1023 + 16383;
    }
    for (int i = 0; i < 8; ++i) {
        out[i] = static_cast<std::uint8_t>(mantissa >> (8 * i));
    }
    auto top = static_cast<unsigned>(biased) | (negative ? 0x8000u : 0u);
    out[8] = static_cast<std::uint8_t>(top & 0xFF);
    out[9] = static_cast<std::uint8_t>(top >> 8);
}

double ExtendedToDouble(const std::uint8_t in[10]) {
    std::uint64_t mantissa = 0;
    for (int i = 7; i >= 0; --i) {
        mantissa = (mantissa << 8) | in[i];
    }
    const unsigned top = in[8] | (in[9] << 8);
    const bool negative = (top & 0x8000) != 0;
    const int biased = static_cast<int>(top & 0x7FFF);
    double magnitude = 0;
    if (biased == 0x7FFF) {
        magnitude = (mantissa << 1) == 0 ? std::numeric_limits<double>::infinity()
                                         : std::numeric_limits<double>::quiet_NaN();
    } else if (mantissa != 0) {
        magnitude = std::ldexp(static_cast<double>(mantissa), biased - 16383 - 63);
    }
    return negative ? -magnitude : magnitude;
}

} // namespace orvane
