// Reading a component stream into a tree of components, checking every length and nesting on the way.
#include "store/stream/component_stream.h"

#include "system/text_codec.h"

#include <bit>
#include <cstring>

namespace orvane {
namespace {

// What reading may build: the tree's values, properties, set members, collection items and components,
// each with its texts and copied bytes, may take kCostPerByte bytes of memory for each byte read, beyond
// a fixed allowance. A genuine cache keeps its rows in one binary value and costs about a byte a byte; a
// stream of one-byte values, each of which becomes a value of some 200 bytes, is damaged, and refused
// within its first megabyte of values instead of taking hundreds of times its size. Vectors' spare
// capacity is not counted: what reading holds stays within a small multiple of the count.
constexpr std::size_t kCostPerByte = 8;
constexpr std::size_t kCostAllowance = std::size_t{1} << 20;

// The bytes of an integer written in its smallest kind.
std::size_t SmallestIntegerSize(std::int64_t n) {
    switch (StreamValue::Integer(n).kind) {
    case ValueKind::vaInt8:
        return 1;
    case ValueKind::vaInt16:
        return 2;
    case ValueKind::vaInt32:
        return 4;
    default:
        return 8;
    }
}

class Reader {
public:
    // inPlace: binary values are left in bytes rather than copied.
    Reader(std::span<const std::uint8_t> bytes, bool inPlace) : in_(bytes), inPlace_(inPlace) {}

    StreamComponent Root() {
        auto signature = in_.Take(4);
        if (std::memcmp(signature.data(), kStreamSignature, 4) != 0) {
            throw StreamError("not a component stream");
        }
        return Component(0);
    }

private:
    static void CheckDepth(int depth) {
        if (depth > kMaxStreamDepth) {
            throw StreamError("values nested too deeply");
        }
    }

    // Counts what was built against the bytes read. Bytes the writer does not write back (an order
    // value of a collection item, a prefix or child position longer than needed) do not count as read,
    // so the stream written from a tree that was read reads again within the same budget. Every other
    // value is written back as long as it was read, or longer (a malformed UTF-8 byte becomes U+FFFD).
    void Charge(std::size_t bytes) {
        cost_ += bytes;
        if (cost_ > (in_.position() - uncounted_) * kCostPerByte + kCostAllowance) {
            throw StreamError("more values than a stream of this size holds");
        }
    }

    // The payload of an integer kind; nothing for another kind.
    std::optional<std::int64_t> IntegerPayload(ValueKind kind) {
        switch (kind) {
        case ValueKind::vaInt8:
            return static_cast<std::int8_t>(in_.U8());
        case ValueKind::vaInt16:
            return in_.I16();
        case ValueKind::vaInt32:
            return in_.I32();
        case ValueKind::vaInt64:
            return in_.I64();
        default:
            return std::nullopt;
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
        const std::size_t start = in_.position();
        std::uint8_t first = in_.PeekU8();
        if ((first & kComponentPrefixMark) == kComponentPrefixMark) {
            in_.U8();
            c.flags = static_cast<std::uint8_t>(first & 0x0F);
            if (c.flags & kChildPositionFlag) {
                std::optional<std::int64_t> n = IntegerPayload(static_cast<ValueKind>(in_.U8()));
                if (!n) {
                    throw StreamError("a child position that is not an integer");
                }
                c.childPosition = *n;
            }
        }
        const std::size_t prefixSize = in_.position() - start;
        c.className = ShortString();
        c.objectName = ShortString();
        if (c.className.empty()) {
            throw StreamError("a component without a class name");
        }
        // The writer writes a prefix only for flags or a long class name, and the position in its
        // smallest kind.
        std::size_t writtenPrefix = c.flags != 0 || c.className.size() >= kComponentPrefixMark ? 1 : 0;
        if (c.flags & kChildPositionFlag) {
            writtenPrefix += 1 + SmallestIntegerSize(c.childPosition);
        }
        uncounted_ += prefixSize - writtenPrefix;
        Charge(sizeof(StreamComponent) + c.className.size() + c.objectName.size());
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
            Charge(sizeof(StreamProperty) - sizeof(StreamValue) + p.name.size());
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
        Charge(sizeof(StreamValue));
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
        case ValueKind::vaInt16:
        case ValueKind::vaInt32:
        case ValueKind::vaInt64:
            v.integer = *IntegerPayload(v.kind);
            break;
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
            Charge(v.text.size() * sizeof(wchar_t));
            break;
        case ValueKind::vaLString:
            v.text = EightBit(in_.U32());
            Charge(v.text.size() * sizeof(wchar_t));
            break;
        case ValueKind::vaWString:
            v.text = FromUtf16(in_.Utf16(in_.U32()));
            Charge(v.text.size() * sizeof(wchar_t));
            break;
        case ValueKind::vaUtf8String: {
            auto bytes = in_.Take(in_.U32());
            v.text = FromUtf8(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
            Charge(v.text.size() * sizeof(wchar_t));
            break;
        }
        case ValueKind::vaIdent:
            v.ident = ShortString();
            Charge(v.ident.size());
            break;
        case ValueKind::vaBinary: {
            auto bytes = in_.Take(in_.U32());
            if (inPlace_) {
                v.inPlace = bytes;
            } else {
                Charge(bytes.size());
                v.binary.assign(bytes.begin(), bytes.end());
            }
            break;
        }
        case ValueKind::vaSet:
            while (in_.PeekU8() != 0) {
                v.set.push_back(ShortString());
                Charge(sizeof(std::string) + v.set.back().size());
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
                    const std::size_t orderStart = in_.position() - 1;
                    IntegerPayload(static_cast<ValueKind>(marker));
                    uncounted_ += in_.position() - orderStart;
                    marker = in_.U8();
                }
                if (marker != static_cast<std::uint8_t>(ValueKind::vaList)) {
                    throw StreamError("a collection item without its list marker");
                }
                Charge(sizeof(std::vector<StreamProperty>));
                v.items.push_back(Properties(depth + 1));
            }
            in_.U8();
            break;
        }
        return v;
    }

    ByteReader in_;
    bool inPlace_;
    std::size_t cost_ = 0;
    std::size_t uncounted_ = 0;
};

} // namespace

StreamComponent ReadComponentStream(std::span<const std::uint8_t> bytes) {
    return ReadOrDamaged([&] { return Reader(bytes, false).Root(); });
}

StreamComponent ReadComponentStreamInPlace(std::span<const std::uint8_t> bytes) {
    return ReadOrDamaged([&] { return Reader(bytes, true).Root(); });
}

} // namespace orvane
