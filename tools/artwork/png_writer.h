// PNG files of 8-bit RGBA (colour type 6, no interlace) with physical size
// (96 dpi), an embedded sRGB-like ICC profile and its chromaticities.
#pragma once
#include "base/text.h"
#include "raster.h"

namespace corvalin::artwork {

Bytes EncodePng(const Raster& raster);

// The ICC profile the PNG files carry: a small RGB display profile with the
// sRGB primaries, a D65 white point and a 2.2 gamma curve.
Bytes DisplayProfile();

}  // namespace corvalin::artwork
