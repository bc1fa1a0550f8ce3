// Decoding a JPEG into RGB pixels, to compare what a program drew or showed
// with the picture it was given.
#pragma once
#include <cstdint>
#include <optional>
#include <vector>

#include "base/text.h"

namespace corvalin::testing {

struct DecodedPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;   // rows top to bottom, 3 bytes per pixel
};

// Nothing for bytes that are not a JPEG libjpeg can read.
std::optional<DecodedPicture> DecodeJpeg(const Bytes& bytes);

}  // namespace corvalin::testing
