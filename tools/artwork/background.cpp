#include "background.h"
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>

namespace corvalin::artwork {

namespace {

struct Colour {
    double r, g, b;
};

Colour Mix(const Colour& a, const Colour& b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

// A deterministic grain: a hash of the pixel position, -1 to 1.
double Grain(int x, int y) {
    std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393u + static_cast<std::uint32_t>(y) * 668265263u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return (h & 0xFFFF) / 32767.5 - 1.0;
}

}  // namespace

Raster BackgroundPicture() {
    Raster raster(kBackgroundWidth, kBackgroundHeight);
    const Colour deep{9, 13, 24}, teal{7, 38, 50}, accent{34, 202, 221}, violet{92, 58, 150};
    struct Glow {
        double x, y, radius, strength;
        Colour colour;
    };
    const Glow glows[] = {{380, 70, 150, 0.30, accent}, {90, 260, 170, 0.22, violet}, {250, 180, 90, 0.10, accent}};
    for (int y = 0; y < kBackgroundHeight; ++y) {
        for (int x = 0; x < kBackgroundWidth; ++x) {
            const double fx = x / static_cast<double>(kBackgroundWidth), fy = y / static_cast<double>(kBackgroundHeight);
            Colour c = Mix(deep, teal, std::clamp(0.15 + 0.6 * fx * (1 - 0.4 * fy) + 0.25 * fy, 0.0, 1.0));
            for (const Glow& glow : glows) {
                const double d = std::hypot(x - glow.x, y - glow.y) / glow.radius;
                c = Mix(c, glow.colour, glow.strength * std::exp(-d * d * 2.2));
            }
            // Flowing ribbons: bright cores with a soft falloff.
            for (int ribbon = 0; ribbon < 5; ++ribbon) {
                const double phase = ribbon * 0.9;
                const double centre = kBackgroundHeight * (0.30 + 0.09 * ribbon) +
                                      28 * std::sin(fx * 5.2 + phase) + 14 * std::sin(fx * 11.0 - phase * 1.7);
                const double distance = std::abs(y - centre) / (2.2 + ribbon * 0.8 + 3.0 * fx);
                const double light = std::exp(-distance * distance) * (0.16 + 0.05 * ribbon) * (0.35 + 0.65 * fx);
                c = Mix(c, ribbon % 2 ? accent : Colour{170, 235, 245}, light);
            }
            // Soft motes of light drifting along the ribbons.
            for (int mote = 0; mote < 28; ++mote) {
                const double mx = 20 + std::fmod(mote * 157.3, 440.0);
                const double my = kBackgroundHeight * (0.32 + 0.09 * (mote % 5)) + 28 * std::sin(mx / kBackgroundWidth * 5.2 + (mote % 5) * 0.9) +
                                  std::fmod(mote * 37.7, 30.0) - 15;
                const double size = 1.5 + std::fmod(mote * 0.77, 3.5);
                const double d = std::hypot(x - mx, y - my) / size;
                if (d < 3) c = Mix(c, Colour{200, 245, 250}, 0.35 * std::exp(-d * d) * (0.4 + 0.6 * mx / kBackgroundWidth));
            }
            // A vignette keeps the corners dark behind the caption and frame.
            const double vx = fx - 0.5, vy = fy - 0.45;
            const double vignette = 1.0 - 0.55 * std::min(1.0, (vx * vx + vy * vy) * 1.6);
            const double grain = 1.6 * Grain(x, y);
            auto channel = [&](double v) {
                return static_cast<std::uint8_t>(std::clamp(std::lround(v * vignette + grain), 0L, 255L));
            };
            raster.At(x, y) = {channel(c.r), channel(c.g), channel(c.b), 0xFF};
        }
    }
    return raster;
}

Bytes EncodeJpeg(const Raster& raster, int quality) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(raster.width);
    info.image_height = static_cast<JDIMENSION>(raster.height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    info.write_JFIF_header = TRUE;
    info.JFIF_major_version = 1;
    info.JFIF_minor_version = 1;
    info.density_unit = 1;   // dots per inch
    info.X_density = 96;
    info.Y_density = 96;
    jpeg_start_compress(&info, TRUE);
    std::vector<unsigned char> row(static_cast<std::size_t>(raster.width) * 3);
    while (info.next_scanline < info.image_height) {
        const int y = static_cast<int>(info.next_scanline);
        for (int x = 0; x < raster.width; ++x) {
            const Rgba& p = raster.At(x, y);
            row[x * 3] = p.r;
            row[x * 3 + 1] = p.g;
            row[x * 3 + 2] = p.b;
        }
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    Bytes bytes(buffer, buffer + size);
    jpeg_destroy_compress(&info);
    free(buffer);
    return bytes;
}

}  // namespace corvalin::artwork
