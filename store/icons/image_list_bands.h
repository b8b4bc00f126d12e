// The pictures of an image-list stream's bitmap taken out in bands. Every writer lays the images out
// four to a row, so the rows holding a band of images lie together in the stream whichever way the
// bitmap is stored, and a band is read in one piece; its images are then laid side by side in a strip
// one image high, the form in which the system's ImageList_Add takes several images at once.
#pragma once

#include "store/icons/image_list_bytes.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace orvane {

inline constexpr int kImagesPerRow = 4;

// The bytes of the bitmap's rows that hold images [first, first + count); first is a multiple of four.
std::span<const std::uint8_t> BandBytes(const ImageListBitmap& bitmap, int cy, int first, int count);

// The bytes of one row of a strip of count images cx pixels wide, at the bitmap's depth: whole 32-bit
// words, as every bitmap row.
std::size_t StripStride(const ImageListBitmap& bitmap, int cx, int count);

// Lays images [first, first + count) out of band (what BandBytes names, as read) side by side into
// strip: cy rows of StripStride bytes, the top row first.
void CopyBandToStrip(const ImageListBitmap& bitmap, int cx, int cy, int first, int count,
                     std::span<const std::uint8_t> band, std::span<std::uint8_t> strip);

} // namespace orvane
