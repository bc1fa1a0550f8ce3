// A small RGBA raster with straight alpha and the anti-aliased shapes the
// artwork is drawn from: every pixel is the average of 4 x 4 samples.
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace corvalin::artwork {

struct Rgba {
    std::uint8_t r = 0, g = 0, b = 0, a = 0;
    bool operator==(const Rgba&) const = default;
};

struct Raster {
    int width = 0;
    int height = 0;
    std::vector<Rgba> pixels;

    Raster() = default;
    Raster(int w, int h) : width(w), height(h), pixels(static_cast<std::size_t>(w) * h) {}
    Rgba& At(int x, int y) { return pixels[static_cast<std::size_t>(y) * width + x]; }
    const Rgba& At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// Source-over of a straight-alpha colour onto a straight-alpha pixel.
Rgba Over(const Rgba& top, const Rgba& bottom);

// What a shape paints at a point (pixel centres are at x + 0.5), or nothing.
using SampleFunction = std::function<std::optional<Rgba>(double x, double y)>;

// Composites the shape over the raster, each pixel covered by the average of
// its samples; opacity scales the whole shape.
void Paint(Raster& raster, const SampleFunction& shape, double opacity = 1.0);

struct Segment {
    double x1, y1, x2, y2;
};

double DistanceToSegment(double x, double y, const Segment& s);
double DistanceToSegments(double x, double y, const std::vector<Segment>& segments);

// Strokes of the given half-width in `fill`, edged by an outline band of the
// given width in `outline`.
SampleFunction OutlinedStrokes(std::vector<Segment> segments, double halfWidth, double outlineWidth, Rgba fill,
                               Rgba outline);

// The four edges of a rectangle as segments.
std::vector<Segment> RectangleEdges(double left, double top, double right, double bottom);

}  // namespace corvalin::artwork
