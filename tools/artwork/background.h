// The window background: a dark abstract picture of light ribbons and glows,
// stored as a baseline JFIF JPEG.
#pragma once
#include "base/text.h"
#include "raster.h"

namespace corvalin::artwork {

inline constexpr int kBackgroundWidth = 480;
inline constexpr int kBackgroundHeight = 320;

// Opaque pixels of the picture before compression.
Raster BackgroundPicture();
// JFIF 1.01, 96 dpi, three 8-bit components, baseline.
Bytes EncodeJpeg(const Raster& raster, int quality);

}  // namespace corvalin::artwork
