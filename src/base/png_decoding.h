// PNG pictures of the common kind (8 bits a sample, grey or RGB, with or
// without alpha, not interlaced) decoded with zlib. Under Wine the platform's
// decoder loads its PNG library on first use, which costs a starting program
// tens of milliseconds for the few small glyphs it draws; anything else is
// left to the platform (`DecodePng` then fails).
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace corvalin {

struct DecodedPng {
    long width = 0;
    long height = 0;
    std::vector<std::uint32_t> pixels;   // top-down rows of straight-alpha ARGB (0xAARRGGBB)
};

bool LooksLikePng(const std::uint8_t* data, std::size_t size);
// False (and `out` empty) for bytes that are not such a PNG or are damaged.
bool DecodePng(const std::uint8_t* data, std::size_t size, DecodedPng& out);

}  // namespace corvalin
