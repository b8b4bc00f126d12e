// For the tests of the component stream: values of a given kind, and a component holding every kind.
#pragma once

#include "store/stream/component_stream.h"

#include <cstdint>
#include <limits>
#include <string>

namespace orvane::test {

inline StreamValue Kind(ValueKind kind) {
    return StreamValue::Of(kind);
}

inline StreamValue Number(ValueKind kind, double value) {
    StreamValue v = StreamValue::Of(kind);
    v.number = value;
    return v;
}

inline StreamValue TextKind(ValueKind kind, std::wstring text) {
    StreamValue v = StreamValue::Of(kind);
    v.text = std::move(text);
    return v;
}

inline StreamValue IntegerKind(ValueKind kind, std::int64_t value) {
    StreamValue v = StreamValue::Of(kind);
    v.integer = value;
    return v;
}

inline StreamComponent EveryKind() {
    StreamComponent c;
    c.className = "TThing";
    c.objectName = "Thing1";
    auto& p = c.properties;
    p.push_back({"Null", Kind(ValueKind::vaNull)});
    p.push_back({"I8", StreamValue::Integer(-128)});
    p.push_back({"I16", StreamValue::Integer(300)});
    p.push_back({"I32", StreamValue::Integer(-70000)});
    p.push_back({"I64", StreamValue::Integer(std::int64_t{1} << 40)});
    p.push_back({"WideI32", IntegerKind(ValueKind::vaInt32, 5)});
    p.push_back({"Ext", Number(ValueKind::vaExtended, -1234.5625)});
    p.push_back({"ExtTiny", Number(ValueKind::vaExtended, std::numeric_limits<double>::denorm_min())});
    p.push_back({"ExtInf", Number(ValueKind::vaExtended, std::numeric_limits<double>::infinity())});
    p.push_back({"Str", StreamValue::Text(L"plain")});
    p.push_back({"Latin", TextKind(ValueKind::vaString, L"caf\u00E9")});
    p.push_back({"LStr", StreamValue::Text(std::wstring(300, L'x'))});
    p.push_back({"WStr", StreamValue::Text(L"\u65E5\u672C\U0001F600")});
    p.push_back({"U8Str", TextKind(ValueKind::vaUtf8String, L"\u00FCber \u65E5")});
    p.push_back({"Ident", StreamValue::Ident("vsReport")});
    p.push_back({"F", StreamValue::Bool(false)});
    p.push_back({"T", StreamValue::Bool(true)});
    p.push_back({"Bin", StreamValue::Binary({0, 1, 2, 255})});
    p.push_back({"EmptyBin", StreamValue::Binary({})});
    StreamValue set = Kind(ValueKind::vaSet);
    set.set = {"fsBold", "fsItalic"};
    p.push_back({"Font.Style", set});
    p.push_back({"EmptySet", Kind(ValueKind::vaSet)});
    p.push_back({"Nil", Kind(ValueKind::vaNil)});
    StreamValue list = Kind(ValueKind::vaList);
    list.list = {StreamValue::Integer(1), StreamValue::Text(L"two"), Kind(ValueKind::vaList)};
    list.list[2].list = {StreamValue::Bool(true)};
    p.push_back({"List", list});
    StreamValue collection = Kind(ValueKind::vaCollection);
    collection.items = {{{"Caption", StreamValue::Text(L"A")}, {"Width", StreamValue::Integer(120)}}, {}};
    p.push_back({"Columns", collection});
    p.push_back({"Single", Number(ValueKind::vaSingle, 0.25)});
    p.push_back({"Currency", IntegerKind(ValueKind::vaCurrency, 123456789)});
    p.push_back({"Date", Number(ValueKind::vaDate, 45123.75)});
    StreamComponent child;
    child.className = "TChild";
    child.objectName = "Inner";
    child.flags = 0x02;
    child.childPosition = 3;
    child.properties.push_back({"Tag", StreamValue::Integer(1)});
    StreamComponent grandchild;
    grandchild.className = "TLeaf";
    grandchild.flags = 0x01;
    child.children.push_back(grandchild);
    c.children.push_back(child);
    return c;
}

} // namespace orvane::test
