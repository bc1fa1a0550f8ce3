// The program's icon: a small emblem in the skin's colours, as an .ico file
// with 16 x 16, 32 x 32 and 48 x 48 images in 32-bit colour.
#pragma once
#include "base/text.h"
#include "raster.h"

namespace corvalin::artwork {

Raster IconEmblem(int size);
Bytes EncodeIcon(const std::vector<Raster>& images);

}  // namespace corvalin::artwork
