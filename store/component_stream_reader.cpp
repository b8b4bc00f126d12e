// Reading a component stream into a tree of components, checking every length and nesting on the way.
#include "store/component_stream.h"

#include "system/text_codec.h"

#include <bit>
#include <cstring>

namespace orvane {
namespace {

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
        if ((first & kComponentPrefixMark) == kComponentPrefixMark) {
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

} // namespace

StreamComponent ReadComponentStream(std::span<const std::uint8_t> bytes) {
    return Reader(bytes, false).Root();
}

StreamComponent ReadComponentStreamInPlace(std::span<const std::uint8_t> bytes) {
    return Reader(bytes, true).Root();
}

} // namespace orvane
