#include "raster.h"
#include <algorithm>
#include <cmath>
#include <limits>

namespace corvalin::artwork {

Rgba Over(const Rgba& top, const Rgba& bottom) {
    const double ta = top.a / 255.0, ba = bottom.a / 255.0;
    const double a = ta + ba * (1 - ta);
    if (a <= 0) return {};
    auto mix = [&](int t, int b) {
        return static_cast<std::uint8_t>(std::lround((t * ta + b * ba * (1 - ta)) / a));
    };
    return {mix(top.r, bottom.r), mix(top.g, bottom.g), mix(top.b, bottom.b),
            static_cast<std::uint8_t>(std::lround(a * 255))};
}

void Paint(Raster& raster, const SampleFunction& shape, double opacity) {
    constexpr int kSamples = 4;
    for (int y = 0; y < raster.height; ++y) {
        for (int x = 0; x < raster.width; ++x) {
            // Premultiplied sums, so partly covered pixels keep their colour.
            double r = 0, g = 0, b = 0, a = 0;
            for (int sy = 0; sy < kSamples; ++sy) {
                for (int sx = 0; sx < kSamples; ++sx) {
                    const auto colour = shape(x + (sx + 0.5) / kSamples, y + (sy + 0.5) / kSamples);
                    if (!colour) continue;
                    const double ca = colour->a / 255.0;
                    r += colour->r * ca;
                    g += colour->g * ca;
                    b += colour->b * ca;
                    a += ca;
                }
            }
            if (a <= 0) continue;
            const double n = kSamples * kSamples;
            Rgba top{static_cast<std::uint8_t>(std::lround(r / a)), static_cast<std::uint8_t>(std::lround(g / a)),
                     static_cast<std::uint8_t>(std::lround(b / a)),
                     static_cast<std::uint8_t>(std::lround(std::min(1.0, a / n * opacity) * 255))};
            raster.At(x, y) = Over(top, raster.At(x, y));
        }
    }
}

double DistanceToSegment(double x, double y, const Segment& s) {
    const double dx = s.x2 - s.x1, dy = s.y2 - s.y1;
    const double length2 = dx * dx + dy * dy;
    double t = length2 > 0 ? ((x - s.x1) * dx + (y - s.y1) * dy) / length2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    const double px = s.x1 + t * dx - x, py = s.y1 + t * dy - y;
    return std::sqrt(px * px + py * py);
}

double DistanceToSegments(double x, double y, const std::vector<Segment>& segments) {
    double best = std::numeric_limits<double>::infinity();
    for (const Segment& s : segments) best = std::min(best, DistanceToSegment(x, y, s));
    return best;
}

SampleFunction OutlinedStrokes(std::vector<Segment> segments, double halfWidth, double outlineWidth, Rgba fill,
                               Rgba outline) {
    return [=](double x, double y) -> std::optional<Rgba> {
        const double d = DistanceToSegments(x, y, segments);
        if (d <= halfWidth) return fill;
        if (d <= halfWidth + outlineWidth) return outline;
        return std::nullopt;
    };
}

std::vector<Segment> RectangleEdges(double left, double top, double right, double bottom) {
    return {{left, top, right, top}, {right, top, right, bottom}, {right, bottom, left, bottom},
            {left, bottom, left, top}};
}

}  // namespace corvalin::artwork
