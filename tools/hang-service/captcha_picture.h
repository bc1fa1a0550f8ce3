// The captcha picture: four characters in a small bitmap font over a noisy
// background, encoded as JPEG.
#pragma once
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "base/text.h"

namespace corvalin::hang {

inline constexpr int kCaptchaWidth = 130;
inline constexpr int kCaptchaHeight = 53;
inline constexpr int kCaptchaLength = 4;
// No 0/O, 1/I: characters a person cannot tell apart are left out.
inline constexpr char kCaptchaAlphabet[] = "23456789ABCDEFGHJKLMNPQRSTUVWXYZ";

struct RgbRaster {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;   // rows top to bottom, 3 bytes per pixel (R, G, B)

    RgbRaster(int w, int h) : width(w), height(h), pixels(static_cast<std::size_t>(w) * h * 3) {}
    std::uint8_t* At(int x, int y) { return &pixels[(static_cast<std::size_t>(y) * width + x) * 3]; }
    const std::uint8_t* At(int x, int y) const { return &pixels[(static_cast<std::size_t>(y) * width + x) * 3]; }
};

std::string RandomCaptchaText(std::mt19937_64& random);

// Draws `text` (characters of kCaptchaAlphabet; others are left blank) with
// jitter, colours and noise taken from `seed`.
RgbRaster DrawCaptcha(const std::string& text, std::uint64_t seed);

// Baseline JPEG of the raster; empty bytes when the encoder fails.
Bytes EncodeJpeg(const RgbRaster& raster, int quality = 85);

// The 5 x 7 glyph of `c`, one row of 5 bits per entry (bit 4 = leftmost); nullptr for no glyph.
const std::uint8_t* CaptchaGlyph(char c);

}  // namespace corvalin::hang
