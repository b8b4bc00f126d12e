// The binary component stream of the ".lst" caches: "TPF0", then one component with its class name,
// object name, typed properties and child components.
//
// The stream is read into a tree and written from one. Names (classes, objects, properties,
// identifiers, set members) are the stored bytes, ASCII in practice; nested property names are one
// dotted name ("Items.ItemData"). Texts are decoded: 8-bit strings as Latin-1, wide strings as UTF-16LE,
// UTF-8 strings as UTF-8.
#pragma once

#include "store/stream/byte_io.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

// The type byte that begins every value.
enum class ValueKind : std::uint8_t {
    vaNull = 0,
    vaList = 1,
    vaInt8 = 2,
    vaInt16 = 3,
    vaInt32 = 4,
    vaExtended = 5, // 10-byte x87 float
    vaString = 6,   // length byte, 8-bit characters
    vaIdent = 7,    // enumeration value or reference to another component
    vaFalse = 8,
    vaTrue = 9,
    vaBinary = 10, // 32-bit length, bytes
    vaSet = 11,
    vaLString = 12, // 32-bit length, 8-bit characters
    vaNil = 13,
    vaCollection = 14,
    vaSingle = 15,
    vaCurrency = 16, // 64-bit integer in ten-thousandths
    vaDate = 17,     // 8-byte double
    vaWString = 18,  // 32-bit count, UTF-16LE
    vaInt64 = 19,
    vaUtf8String = 20, // 32-bit byte count, UTF-8
};

// What the reader and the writer agree on besides the values.
inline constexpr std::uint8_t kStreamSignature[] = {'T', 'P', 'F', '0'};
// No writer nests lists, collections or components this deep; a deeper stream is damaged, and the
// bound keeps the recursive reader's stack small.
inline constexpr int kMaxStreamDepth = 64;
// A first byte of 0xF0 | flags before a component's class name carries its filer flags.
inline constexpr std::uint8_t kComponentPrefixMark = 0xF0;
inline constexpr std::uint8_t kChildPositionFlag = 0x02;

struct StreamProperty;

// One typed value; the fields that kind does not use stay empty.
struct StreamValue {
    ValueKind kind = ValueKind::vaNull;
    std::int64_t integer = 0;                       // integer kinds, vaCurrency
    double number = 0;                              // vaExtended, vaSingle, vaDate
    std::wstring text;                              // vaString, vaLString, vaWString, vaUtf8String
    std::string ident;                              // vaIdent
    std::vector<std::uint8_t> binary;               // vaBinary
    std::span<const std::uint8_t> inPlace;          // vaBinary read in place: the bytes where they lie
    std::vector<std::string> set;                   // vaSet
    std::vector<StreamValue> list;                  // vaList
    std::vector<std::vector<StreamProperty>> items; // vaCollection: the properties of each item

    // The smallest integer kind that holds the value.
    static StreamValue Integer(std::int64_t value);
    // vaString (or vaLString when longer than 255) for ASCII text, else vaWString.
    static StreamValue Text(std::wstring value);
    static StreamValue Ident(std::string name);
    static StreamValue Bool(bool value);
    static StreamValue Binary(std::vector<std::uint8_t> bytes);
    static StreamValue Of(ValueKind kind);

    bool operator==(const StreamValue& other) const;
};

struct StreamProperty {
    std::string name;
    StreamValue value;

    bool operator==(const StreamProperty& other) const;
};

struct StreamComponent {
    // Filer flags (1 inherited, 2 child position, 4 inline); when non-zero the component begins with
    // the byte 0xF0 | flags, and with flag 2 an integer value (the child position) follows it. A class
    // name of 240 bytes or more is written after a prefix byte even without flags, since its length
    // byte would read as one.
    std::uint8_t flags = 0;
    std::int64_t childPosition = 0;
    std::string className;
    std::string objectName;
    std::vector<StreamProperty> properties;
    std::vector<StreamComponent> children;

    // The first property of that name (ASCII case ignored), or null.
    const StreamProperty* Find(std::string_view name) const;

    bool operator==(const StreamComponent&) const = default;
};

// The whole stream, "TPF0" first. Throws std::invalid_argument for what the format cannot hold (a name
// longer than 255 bytes, an empty class or property name, a vaNull inside a list, an integer outside
// its kind, an 8-bit string with a character above U+00FF).
std::vector<std::uint8_t> WriteComponentStream(const StreamComponent& root);

// Reads a whole stream. Throws StreamError for a damaged one: a wrong signature, an unknown value
// kind, a length past the end, nesting deeper than any writer goes, bytes missing anywhere, or more
// values than the bytes read so far can stand for (the tree may take 8 bytes of memory for each byte
// read, beyond a fixed megabyte; a genuine cache takes about one). Running out of memory counts as
// damage too. Bytes after the root component are ignored. Nothing is allocated for a claimed length
// before the bytes are known to be there.
StreamComponent ReadComponentStream(std::span<const std::uint8_t> bytes);
// Reads a stream as ReadComponentStream does but leaves the bytes of binary values where they lie: each
// such value's `binary` stays empty and `inPlace` shows its bytes inside `bytes`, which must outlive the
// result. For megabytes of pictures that are handed on as they are.
StreamComponent ReadComponentStreamInPlace(std::span<const std::uint8_t> bytes);

// Typed views that accept every kind which can stand for the value; empty for any other kind.
std::optional<std::wstring> TextOf(const StreamValue& value); // vaString, vaLString, vaWString, vaUtf8String
std::optional<std::string> IdentOf(const StreamValue& value); // vaIdent, or ASCII text of a string kind
std::optional<std::int64_t> IntegerOf(const StreamValue& value); // vaInt8, vaInt16, vaInt32, vaInt64
std::optional<bool> BoolOf(const StreamValue& value);            // vaFalse, vaTrue

// The 10-byte x87 extended format of a double, and back (rounded to the nearest double).
void DoubleToExtended(double value, std::uint8_t out[10]);
double ExtendedToDouble(const std::uint8_t in[10]);

} // namespace orvane
