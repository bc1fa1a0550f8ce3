#include "hang-service/captcha_picture.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <jpeglib.h>

namespace corvalin::hang {

namespace {

struct Glyph {
    char c;
    std::uint8_t rows[7];
};

// clang-format off
const Glyph kGlyphs[] = {
    {'2', {0b01110, 0b10001, 0b00001, 0b00010, 0b00100, 0b01000, 0b11111}},
    {'3', {0b11111, 0b00010, 0b00100, 0b00010, 0b00001, 0b10001, 0b01110}},
    {'4', {0b00010, 0b00110, 0b01010, 0b10010, 0b11111, 0b00010, 0b00010}},
    {'5', {0b11111, 0b10000, 0b11110, 0b00001, 0b00001, 0b10001, 0b01110}},
    {'6', {0b00110, 0b01000, 0b10000, 0b11110, 0b10001, 0b10001, 0b01110}},
    {'7', {0b11111, 0b00001, 0b00010, 0b00100, 0b01000, 0b01000, 0b01000}},
    {'8', {0b01110, 0b10001, 0b10001, 0b01110, 0b10001, 0b10001, 0b01110}},
    {'9', {0b01110, 0b10001, 0b10001, 0b01111, 0b00001, 0b00010, 0b01100}},
    {'A', {0b01110, 0b10001, 0b10001, 0b11111, 0b10001, 0b10001, 0b10001}},
    {'B', {0b11110, 0b10001, 0b10001, 0b11110, 0b10001, 0b10001, 0b11110}},
    {'C', {0b01110, 0b10001, 0b10000, 0b10000, 0b10000, 0b10001, 0b01110}},
    {'D', {0b11100, 0b10010, 0b10001, 0b10001, 0b10001, 0b10010, 0b11100}},
    {'E', {0b11111, 0b10000, 0b10000, 0b11110, 0b10000, 0b10000, 0b11111}},
    {'F', {0b11111, 0b10000, 0b10000, 0b11110, 0b10000, 0b10000, 0b10000}},
    {'G', {0b01110, 0b10001, 0b10000, 0b10111, 0b10001, 0b10001, 0b01111}},
    {'H', {0b10001, 0b10001, 0b10001, 0b11111, 0b10001, 0b10001, 0b10001}},
    {'J', {0b00111, 0b00010, 0b00010, 0b00010, 0b00010, 0b10010, 0b01100}},
    {'K', {0b10001, 0b10010, 0b10100, 0b11000, 0b10100, 0b10010, 0b10001}},
    {'L', {0b10000, 0b10000, 0b10000, 0b10000, 0b10000, 0b10000, 0b11111}},
    {'M', {0b10001, 0b11011, 0b10101, 0b10101, 0b10001, 0b10001, 0b10001}},
    {'N', {0b10001, 0b10001, 0b11001, 0b10101, 0b10011, 0b10001, 0b10001}},
    {'P', {0b11110, 0b10001, 0b10001, 0b11110, 0b10000, 0b10000, 0b10000}},
    {'Q', {0b01110, 0b10001, 0b10001, 0b10001, 0b10101, 0b10010, 0b01101}},
    {'R', {0b11110, 0b10001, 0b10001, 0b11110, 0b10100, 0b10010, 0b10001}},
    {'S', {0b01111, 0b10000, 0b10000, 0b01110, 0b00001, 0b00001, 0b11110}},
    {'T', {0b11111, 0b00100, 0b00100, 0b00100, 0b00100, 0b00100, 0b00100}},
    {'U', {0b10001, 0b10001, 0b10001, 0b10001, 0b10001, 0b10001, 0b01110}},
    {'V', {0b10001, 0b10001, 0b10001, 0b10001, 0b10001, 0b01010, 0b00100}},
    {'W', {0b10001, 0b10001, 0b10001, 0b10101, 0b10101, 0b10101, 0b01010}},
    {'X', {0b10001, 0b10001, 0b01010, 0b00100, 0b01010, 0b10001, 0b10001}},
    {'Y', {0b10001, 0b10001, 0b01010, 0b00100, 0b00100, 0b00100, 0b00100}},
    {'Z', {0b11111, 0b00001, 0b00010, 0b00100, 0b01000, 0b10000, 0b11111}},
};
// clang-format on

// Each font bit becomes a block of this many pixels.
constexpr int kDotWidth = 4;
constexpr int kDotHeight = 5;
constexpr int kGlyphWidth = 5 * kDotWidth;
constexpr int kGlyphHeight = 7 * kDotHeight;
constexpr int kAdvance = 27;

void Plot(RgbRaster& raster, int x, int y, const std::uint8_t colour[3]) {
    if (x < 0 || y < 0 || x >= raster.width || y >= raster.height) return;
    std::memcpy(raster.At(x, y), colour, 3);
}

void Line(RgbRaster& raster, int x0, int y0, int x1, int y1, const std::uint8_t colour[3]) {
    const int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
    const int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
    for (int error = dx + dy;;) {
        Plot(raster, x0, y0, colour);
        if (x0 == x1 && y0 == y1) break;
        const int twice = 2 * error;
        if (twice >= dy) error += dy, x0 += sx;
        if (twice <= dx) error += dx, y0 += sy;
    }
}

}  // namespace

const std::uint8_t* CaptchaGlyph(char c) {
    for (const Glyph& glyph : kGlyphs)
        if (glyph.c == c) return glyph.rows;
    return nullptr;
}

std::string RandomCaptchaText(std::mt19937_64& random) {
    std::uniform_int_distribution<int> pick(0, static_cast<int>(sizeof kCaptchaAlphabet) - 2);
    std::string text;
    for (int i = 0; i < kCaptchaLength; ++i) text += kCaptchaAlphabet[pick(random)];
    return text;
}

RgbRaster DrawCaptcha(const std::string& text, std::uint64_t seed) {
    std::mt19937_64 random(seed);
    auto between = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    RgbRaster raster(kCaptchaWidth, kCaptchaHeight);

    // A pale background with a faint vertical gradient.
    const int baseR = between(215, 245), baseG = between(215, 245), baseB = between(215, 245);
    for (int y = 0; y < raster.height; ++y)
        for (int x = 0; x < raster.width; ++x) {
            std::uint8_t* p = raster.At(x, y);
            p[0] = static_cast<std::uint8_t>(baseR - y / 4);
            p[1] = static_cast<std::uint8_t>(baseG - y / 5);
            p[2] = static_cast<std::uint8_t>(baseB - y / 6);
        }
    for (int i = 0; i < 4; ++i) {
        const std::uint8_t colour[3] = {static_cast<std::uint8_t>(between(120, 200)),
                                        static_cast<std::uint8_t>(between(120, 200)),
                                        static_cast<std::uint8_t>(between(120, 200))};
        Line(raster, between(0, 20), between(0, raster.height - 1), between(110, 129),
             between(0, raster.height - 1), colour);
    }

    const int left = (raster.width - (kCaptchaLength - 1) * kAdvance - kGlyphWidth) / 2;
    for (std::size_t i = 0; i < text.size() && i < static_cast<std::size_t>(kCaptchaLength); ++i) {
        const std::uint8_t* rows = CaptchaGlyph(text[i]);
        if (!rows) continue;
        const std::uint8_t ink[3] = {static_cast<std::uint8_t>(between(10, 110)),
                                     static_cast<std::uint8_t>(between(10, 90)),
                                     static_cast<std::uint8_t>(between(20, 120))};
        const int x0 = left + static_cast<int>(i) * kAdvance + between(-2, 2);
        const int y0 = between(4, raster.height - kGlyphHeight - 4);
        const int slant = between(-1, 1);   // pixels of shift per font row
        for (int row = 0; row < 7; ++row)
            for (int column = 0; column < 5; ++column) {
                if (!(rows[row] & (0x10 >> column))) continue;
                for (int dy = 0; dy < kDotHeight; ++dy)
                    for (int dx = 0; dx < kDotWidth; ++dx)
                        Plot(raster, x0 + column * kDotWidth + dx + slant * (3 - row),
                             y0 + row * kDotHeight + dy, ink);
            }
    }

    // Speckles over everything.
    for (int i = 0; i < 160; ++i) {
        const std::uint8_t colour[3] = {static_cast<std::uint8_t>(between(0, 255)),
                                        static_cast<std::uint8_t>(between(0, 255)),
                                        static_cast<std::uint8_t>(between(0, 255))};
        Plot(raster, between(0, raster.width - 1), between(0, raster.height - 1), colour);
    }
    return raster;
}

Bytes EncodeJpeg(const RgbRaster& raster, int quality) {
    if (raster.width <= 0 || raster.height <= 0) return {};
    jpeg_compress_struct compress{};
    jpeg_error_mgr errors{};
    compress.err = jpeg_std_error(&errors);
    // The library's default error exit ends the process; a raster we drew
    // ourselves cannot make it fail, so the default stays.
    jpeg_create_compress(&compress);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&compress, &buffer, &size);
    compress.image_width = static_cast<JDIMENSION>(raster.width);
    compress.image_height = static_cast<JDIMENSION>(raster.height);
    compress.input_components = 3;
    compress.in_color_space = JCS_RGB;
    jpeg_set_defaults(&compress);
    jpeg_set_quality(&compress, quality, TRUE);
    jpeg_start_compress(&compress, TRUE);
    while (compress.next_scanline < compress.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(raster.At(0, static_cast<int>(compress.next_scanline)));
        jpeg_write_scanlines(&compress, &row, 1);
    }
    jpeg_finish_compress(&compress);
    Bytes bytes(buffer, buffer + size);
    jpeg_destroy_compress(&compress);
    std::free(buffer);
    return bytes;
}

}  // namespace corvalin::hang
