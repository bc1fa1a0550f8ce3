#include "glyphs.h"
#include <algorithm>
#include <cmath>

namespace corvalin::artwork {

namespace {

constexpr Rgba kWhite{0xFF, 0xFF, 0xFF, 0xFF};
constexpr Rgba kSlate{0x1D, 0x2C, 0x37, 0xFF};

constexpr int kTopAlpha = 0x50;
constexpr int kBottomAlpha = 0x01;
constexpr int kSeparatorExtra = 0x30;

Raster WithPictogram(Raster raster, const SampleFunction& shape, double opacity = 1.0) {
    Paint(raster, shape, opacity);
    return raster;
}

Rgba Grey(int level, int alpha = 0xFF) {
    const auto v = static_cast<std::uint8_t>(level);
    return {v, v, v, static_cast<std::uint8_t>(alpha)};
}

}  // namespace

Raster CaptionBackground(int width, int height, bool closeButton) {
    Raster raster(width, height);
    for (int y = 0; y < height; ++y) {
        const int alpha = kTopAlpha - static_cast<int>(std::lround(
                                          static_cast<double>(kTopAlpha - kBottomAlpha) * y / (height - 1)));
        for (int x = 0; x < width; ++x) {
            int a = alpha;
            if (x == 0 || (closeButton && x == width - 2)) a = std::min(0xFF, alpha + kSeparatorExtra);
            raster.At(x, y) = {0xFF, 0xFF, 0xFF, static_cast<std::uint8_t>(a)};
        }
        if (closeButton) raster.At(width - 1, y) = {0, 0, 0, 0x06};
    }
    return raster;
}

Raster CaptionHelp() {
    // A speech bubble with a pointing arrow inside, in greys, never quite opaque.
    auto bubble = [](double x, double y) -> std::optional<Rgba> {
        const double cx = 13.0, cy = 7.5, rx = 7.0, ry = 5.0;
        const double e = std::sqrt(std::pow((x - cx) / rx, 2) + std::pow((y - cy) / ry, 2));
        const double edge = (e - 1.0) * std::min(rx, ry);
        // The tail, a small triangle at the lower left of the bubble.
        auto inTail = [&](double px, double py) {
            const double ax = 8.0, ay = 10.5, bx = 6.0, by = 15.5, qx = 11.5, qy = 11.5;
            const double d1 = (bx - ax) * (py - ay) - (by - ay) * (px - ax);
            const double d2 = (qx - bx) * (py - by) - (qy - by) * (px - bx);
            const double d3 = (ax - qx) * (py - qy) - (ay - qy) * (px - qx);
            const bool neg = d1 < 0 || d2 < 0 || d3 < 0, pos = d1 > 0 || d2 > 0 || d3 > 0;
            return !(neg && pos);
        };
        const std::vector<Segment> arrow = {{9.5, 7.5, 16.0, 7.5}, {13.5, 5.0, 16.0, 7.5}, {13.5, 10.0, 16.0, 7.5}};
        if (DistanceToSegments(x, y, arrow) <= 0.7) return Grey(0x58);
        if (edge <= -0.9) return Grey(0xF4);
        if (edge <= 0.2) return Grey(0x78);
        if (inTail(x, y)) return Grey(0x90);
        return std::nullopt;
    };
    return WithPictogram(CaptionBackground(26, 18, false), bubble, 0.86);
}

Raster CaptionMenu() {
    // A sheet of paper with lines of writing and a pen at its lower right.
    auto sheet = [](double x, double y) -> std::optional<Rgba> {
        const std::vector<Segment> pen = {{20.0, 5.5, 15.0, 13.0}};
        const double penDistance = DistanceToSegments(x, y, pen);
        if (penDistance <= 0.9) {
            return DistanceToSegment(x, y, {15.8, 11.8, 15.0, 13.0}) <= 0.9 ? Grey(0x40) : Grey(0xB8);
        }
        if (penDistance <= 1.6) return Grey(0x58);
        const double left = 7.5, top = 3.5, right = 16.5, bottom = 14.5;
        if (x < left - 0.6 || x > right + 0.6 || y < top - 0.6 || y > bottom + 0.6) return std::nullopt;
        if (x < left + 0.5 || x > right - 0.5 || y < top + 0.5 || y > bottom - 0.5) return Grey(0x6C);
        for (double line : {6.5, 8.5, 10.5, 12.5})
            if (std::abs(y - line) <= 0.45 && x > 9.5 && x < (line > 11 ? 12.5 : 14.5)) return Grey(0xA8);
        return Grey(0xFA);
    };
    return WithPictogram(CaptionBackground(26, 18, false), sheet);
}

// The system-button pictograms: white lines one or two pixels wide on pixel
// boundaries, a one-pixel slate outline, and a half-covered pixel beyond it.
constexpr double kOutline = 1.5;

Raster CaptionMin() {
    return WithPictogram(CaptionBackground(26, 18, false),
                         OutlinedStrokes({{9.0, 13.0, 17.0, 13.0}}, 1.0, kOutline, kWhite, kSlate));
}

Raster CaptionMax() {
    std::vector<Segment> frame = RectangleEdges(8.5, 4.5, 17.5, 13.5);
    frame.push_back({8.5, 5.5, 17.5, 5.5});   // the thicker title bar
    return WithPictogram(CaptionBackground(26, 18, false), OutlinedStrokes(frame, 0.5, kOutline, kWhite, kSlate));
}

Raster CaptionRestore() {
    std::vector<Segment> frames = RectangleEdges(7.5, 7.5, 14.5, 13.5);
    frames.push_back({7.5, 8.5, 14.5, 8.5});
    // The window behind shows only above and to the right of the front one.
    frames.push_back({10.5, 3.5, 18.5, 3.5});
    frames.push_back({10.5, 4.5, 18.5, 4.5});
    frames.push_back({18.5, 3.5, 18.5, 10.5});
    frames.push_back({10.5, 3.5, 10.5, 7.5});
    frames.push_back({14.5, 10.5, 18.5, 10.5});
    return WithPictogram(CaptionBackground(26, 18, false), OutlinedStrokes(frames, 0.5, kOutline, kWhite, kSlate));
}

Raster CaptionClose() {
    return WithPictogram(CaptionBackground(38, 18, true),
                         OutlinedStrokes({{15.0, 5.0, 23.0, 13.0}, {15.0, 13.0, 23.0, 5.0}}, 1.45, kOutline,
                                         kWhite, kSlate));
}

const std::vector<CheckRun>& CheckMarkRuns() {
    static const std::vector<CheckRun> runs = {{3, 9, 9}, {4, 8, 9}, {5, 3, 3}, {5, 7, 9}, {6, 3, 4},
                                               {6, 6, 8}, {7, 3, 7}, {8, 4, 6}, {9, 5, 5}};
    return runs;
}

Raster CheckBox(bool checked) {
    Raster raster(13, 13);
    for (int y = 0; y < 13; ++y) {
        for (int x = 0; x < 13; ++x) {
            if (x == 0 || y == 0 || x == 12 || y == 12) {
                raster.At(x, y) = checked ? Rgba{0x18, 0x51, 0x84, 0xFF} : Rgba{3, 3, 3, 0xE6};
                continue;
            }
            // Diagonal shade from the top-left to the bottom-right of the interior.
            const double t = ((x - 1) + (y - 1)) / 20.0;
            auto lerp = [t](int from, int to) { return static_cast<std::uint8_t>(std::lround(from + (to - from) * t)); };
            raster.At(x, y) = {lerp(0xDE, 0xFD), lerp(0xDF, 0xFC), lerp(0xD6, 0xFC), 0xFF};
        }
    }
    if (checked)
        for (const CheckRun& run : CheckMarkRuns())
            for (int x = run.first; x <= run.last; ++x) raster.At(x, run.row) = {0x24, 0x6E, 0x75, 0xFF};
    return raster;
}

Raster Arrow(ArrowDirection direction) {
    const bool vertical = direction == ArrowDirection::Down || direction == ArrowDirection::Up;
    Raster raster(vertical ? 7 : 4, vertical ? 4 : 7);
    for (int step = 0; step < 4; ++step) {
        // Step 0 is the wide end: 7, 5, 3, 1 pixels, centred.
        const int line = (direction == ArrowDirection::Down || direction == ArrowDirection::Right) ? step : 3 - step;
        for (int i = step; i < 7 - step; ++i) {
            const int x = vertical ? i : line, y = vertical ? line : i;
            raster.At(x, y) = {0, 0, 0, 0xFF};
        }
    }
    return raster;
}

std::vector<Glyph> AllGlyphs() {
    return {
        {"caption_help.png", CaptionHelp()},
        {"caption_menu.png", CaptionMenu()},
        {"caption_min.png", CaptionMin()},
        {"caption_max.png", CaptionMax()},
        {"caption_restore.png", CaptionRestore()},
        {"caption_close.png", CaptionClose()},
        {"check_box.png", CheckBox(false)},
        {"check_box_checked.png", CheckBox(true)},
        {"arrow_down.png", Arrow(ArrowDirection::Down)},
        {"arrow_up.png", Arrow(ArrowDirection::Up)},
        {"arrow_left.png", Arrow(ArrowDirection::Left)},
        {"arrow_right.png", Arrow(ArrowDirection::Right)},
    };
}

}  // namespace corvalin::artwork
