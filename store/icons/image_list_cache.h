// "IconS.lst" and "IconL.lst": an image list's component stream (class "TImageList", objects
// "ImageListS" / "ImageListL") holding the image size and the pictures as the binary "Bitmap", whose
// bytes (the common controls image-list stream) are opaque here.
#pragma once

#include "store/stream/component_stream.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace orvane {

inline constexpr wchar_t kSmallIconCacheFileName[] = L"IconS.lst";
inline constexpr wchar_t kLargeIconCacheFileName[] = L"IconL.lst";
inline constexpr char kImageListClass[] = "TImageList";
inline constexpr char kSmallImageListName[] = "ImageListS";
inline constexpr char kLargeImageListName[] = "ImageListL";

struct ImageListCache {
    std::string name = kSmallImageListName; // the object name
    int height = 32;
    int width = 32;
    std::vector<std::uint8_t> bitmap; // the pictures; empty for a list without images

    bool operator==(const ImageListCache&) const = default;
};

// The whole file; "Bitmap" is written only when there are picture bytes.
std::vector<std::uint8_t> WriteImageListCache(const ImageListCache& list);

// Reads the file over the present state: "Height" and "Width" only when stored and within 1..256, the
// pictures always (none when "Bitmap" is missing). Throws StreamError for a damaged stream or one of another
// class, and when memory runs out while reading.
ImageListCache ReadImageListCache(std::span<const std::uint8_t> bytes, const ImageListCache& current);

// The same, with the pictures left where they lie in bytes (which must outlive the result) instead of
// copied.
struct ImageListCacheView {
    std::string name;
    int height = 32;
    int width = 32;
    std::span<const std::uint8_t> bitmap;
};
ImageListCacheView ReadImageListCacheView(std::span<const std::uint8_t> bytes, const ImageListCache& current);

} // namespace orvane
