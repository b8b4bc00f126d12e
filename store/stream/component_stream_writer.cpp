// Writing a tree of components as a component stream.
#include "store/stream/component_stream.h"

#include "system/text_codec.h"

#include <bit>
#include <limits>
#include <stdexcept>

namespace orvane {
namespace {

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
        if (c.flags != 0 || c.className.size() >= kComponentPrefixMark) {
            out_.U8(static_cast<std::uint8_t>(kComponentPrefixMark | c.flags));
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
        if (depth > kMaxStreamDepth) {
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

} // namespace

std::vector<std::uint8_t> WriteComponentStream(const StreamComponent& root) {
    Writer writer;
    std::vector<std::uint8_t> out(std::begin(kStreamSignature), std::end(kStreamSignature));
    writer.Component(root, 0);
    std::vector<std::uint8_t> body = writer.Finish();
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

} // namespace orvane
