#include "program_icon.h"
#include <algorithm>
#include <cmath>

namespace corvalin::artwork {

namespace {

void Put32(Bytes& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
void Put16(Bytes& out, std::uint16_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

}  // namespace

Raster IconEmblem(int size) {
    Raster raster(size, size);
    const double s = size;
    // A dark rounded tile.
    auto tile = [s](double x, double y) -> std::optional<Rgba> {
        const double r = s * 0.22, half = s / 2 - 0.5;
        const double dx = std::max(std::abs(x - s / 2) - (half - r), 0.0);
        const double dy = std::max(std::abs(y - s / 2) - (half - r), 0.0);
        if (std::hypot(dx, dy) > r) return std::nullopt;
        const double t = y / s;
        return Rgba{static_cast<std::uint8_t>(std::lround(22 - 10 * t)), static_cast<std::uint8_t>(std::lround(38 - 14 * t)),
                    static_cast<std::uint8_t>(std::lround(56 - 18 * t)), 0xFF};
    };
    Paint(raster, tile);
    // An accent ring open to the right, like a C, with the dot of an account kept online.
    auto ring = [s](double x, double y) -> std::optional<Rgba> {
        const double cx = s * 0.47, cy = s * 0.5, radius = s * 0.27, half = std::max(0.9, s * 0.075);
        const double angle = std::atan2(y - cy, x - cx);
        const double d = std::abs(std::hypot(x - cx, y - cy) - radius);
        if (d <= half && std::abs(angle) > 0.75) return Rgba{34, 202, 221, 0xFF};
        if (std::hypot(x - (cx + radius * 0.95), y - cy) <= std::max(1.0, s * 0.09)) return Rgba{220, 248, 252, 0xFF};
        return std::nullopt;
    };
    Paint(raster, ring);
    return raster;
}

Bytes EncodeIcon(const std::vector<Raster>& images) {
    Bytes out;
    Put16(out, 0);
    Put16(out, 1);   // icon
    Put16(out, static_cast<std::uint16_t>(images.size()));
    std::vector<Bytes> bodies;
    for (const Raster& image : images) {
        Bytes body;
        const int w = image.width, h = image.height;
        const int maskStride = ((w + 31) / 32) * 4;
        Put32(body, 40);
        Put32(body, static_cast<std::uint32_t>(w));
        Put32(body, static_cast<std::uint32_t>(h * 2));   // colour and mask
        Put16(body, 1);
        Put16(body, 32);
        Put32(body, 0);   // BI_RGB
        Put32(body, static_cast<std::uint32_t>(w * h * 4 + maskStride * h));
        Put32(body, 0);
        Put32(body, 0);
        Put32(body, 0);
        Put32(body, 0);
        for (int y = h - 1; y >= 0; --y)
            for (int x = 0; x < w; ++x) {
                const Rgba& p = image.At(x, y);
                body.insert(body.end(), {p.b, p.g, p.r, p.a});
            }
        for (int y = h - 1; y >= 0; --y) {
            Bytes row(static_cast<std::size_t>(maskStride), 0);
            for (int x = 0; x < w; ++x)
                if (image.At(x, y).a == 0) row[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
            body.insert(body.end(), row.begin(), row.end());
        }
        bodies.push_back(std::move(body));
    }
    std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        out.push_back(static_cast<std::uint8_t>(images[i].width));
        out.push_back(static_cast<std::uint8_t>(images[i].height));
        out.push_back(0);   // no palette
        out.push_back(0);
        Put16(out, 1);
        Put16(out, 32);
        Put32(out, static_cast<std::uint32_t>(bodies[i].size()));
        Put32(out, offset);
        offset += static_cast<std::uint32_t>(bodies[i].size());
    }
    for (const Bytes& body : bodies) out.insert(out.end(), body.begin(), body.end());
    return out;
}

}  // namespace corvalin::artwork
