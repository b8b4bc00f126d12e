// The values of the component stream: their constructors, comparisons and typed views, and the
// 10-byte extended float. Shared by the stream's reader and writer.
#include "store/stream/component_stream.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>

namespace orvane {
namespace {

bool IsAscii(std::wstring_view text) {
    for (wchar_t c : text) {
        if (static_cast<unsigned>(c) >= 0x80) {
            return false;
        }
    }
    return true;
}

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
