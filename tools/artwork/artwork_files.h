// Every file the artwork generator writes, by path relative to the source tree.
#pragma once
#include <string>
#include <vector>
#include "base/text.h"
#include "raster.h"

namespace corvalin::artwork {

struct ArtworkFile {
    std::string path;   // with forward slashes
    Bytes bytes;
};

inline constexpr int kBackgroundQuality = 92;

// The glyphs, the background, the program icon and the picture of them all
// for the documentation.
std::vector<ArtworkFile> GenerateArtwork();

// All glyphs enlarged on a checkerboard above the background picture.
Raster ArtworkSheet();

}  // namespace corvalin::artwork
