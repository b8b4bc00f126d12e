#include "store/icons/image_list_cache.h"

namespace orvane {

std::vector<std::uint8_t> WriteImageListCache(const ImageListCache& list) {
    StreamComponent c;
    c.className = kImageListClass;
    c.objectName = list.name;
    c.properties.push_back({"Height", StreamValue::Integer(list.height)});
    c.properties.push_back({"Width", StreamValue::Integer(list.width)});
    if (!list.bitmap.empty()) {
        c.properties.push_back({"Bitmap", StreamValue::Binary(list.bitmap)});
    }
    return WriteComponentStream(c);
}

namespace {

ImageListCacheView ReadView(std::span<const std::uint8_t> bytes, const ImageListCache& current) {
    StreamComponent c = ReadComponentStreamInPlace(bytes);
    if (c.className != kImageListClass) {
        throw StreamError("not the stream of an image list");
    }
    ImageListCacheView list{c.objectName, current.height, current.width, {}};
    auto size = [](const StreamValue& v, int fallback) {
        std::optional<std::int64_t> n = IntegerOf(v);
        return n && *n > 0 && *n <= 256 ? static_cast<int>(*n) : fallback;
    };
    for (const StreamProperty& p : c.properties) {
        if (p.name == "Height") {
            list.height = size(p.value, list.height);
        } else if (p.name == "Width") {
            list.width = size(p.value, list.width);
        } else if (p.name == "Bitmap") {
            if (p.value.kind != ValueKind::vaBinary) {
                throw StreamError("\"Bitmap\" is not binary");
            }
            list.bitmap = p.value.inPlace;
        }
    }
    return list;
}

} // namespace

ImageListCacheView ReadImageListCacheView(std::span<const std::uint8_t> bytes,
                                          const ImageListCache& current) {
    return ReadOrDamaged([&] { return ReadView(bytes, current); });
}

ImageListCache ReadImageListCache(std::span<const std::uint8_t> bytes, const ImageListCache& current) {
    return ReadOrDamaged([&] {
        ImageListCacheView view = ReadView(bytes, current);
        ImageListCache list = current;
        list.name = std::move(view.name);
        list.height = view.height;
        list.width = view.width;
        list.bitmap.assign(view.bitmap.begin(), view.bitmap.end());
        return list;
    });
}

} // namespace orvane
