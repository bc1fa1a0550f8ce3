// JPEG pictures decoded by libjpeg into 32-bit top-down DIB sections: the
// shell's picture boxes and the page engine's images both draw from these.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "base/unique.h"

namespace corvalin {

// A 32-bit top-down DIB section of `width` × `height` (its pixels at `*bits`).
HBITMAP CreateTopDownBitmap(long width, long height, void** bits);

struct DecodedJpeg {
    UniqueBitmap bitmap;   // opaque BGRA, alpha 255; null when the bytes do not decode
    const void* bits = nullptr;   // the bitmap's pixels, top-down rows of width × 4 bytes
    long width = 0;
    long height = 0;
};

bool LooksLikeJpeg(const std::uint8_t* data, std::size_t size);
DecodedJpeg DecodeJpeg(const std::uint8_t* data, std::size_t size);

}  // namespace corvalin
