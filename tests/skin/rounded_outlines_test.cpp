// The rounded outlines the control painters stroke, read back as pixels: GDI+
// under Wine strokes a thin pen without anti-aliasing, and a corner whose arc
// misses the edge by a pixel shows a notch in the line.
#include <windows.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "skin/drawing/drawing_objects.h"
#include "skin/families/family_painting.h"
#include "skin/skin_surface.h"

namespace corvalin {
namespace {

// The 8 x 8 corner of a stroked outline, turned so that its first column is
// the outline's side and its first row the outline's top or bottom: the line
// runs unbroken round the corner when the side's pixel of the last row
// reaches the top's pixel of the last column through line pixels (8-connected).
bool CornerIsClosed(const std::vector<bool>& line, int w, int h, bool right, bool bottom) {
    auto at = [&](int column, int row) {
        if (column < 0 || column >= 8 || row < 0 || row >= 8) return false;
        const int x = right ? w - 1 - column : column, y = bottom ? h - 1 - row : row;
        return static_cast<bool>(line[static_cast<std::size_t>(y) * w + x]);
    };
    bool seen[8][8] = {};
    std::vector<std::pair<int, int>> open;
    if (at(0, 7)) open.emplace_back(0, 7);
    while (!open.empty()) {
        const auto [column, row] = open.back();
        open.pop_back();
        if (column == 7 && row == 0) return true;
        for (int dc = -1; dc <= 1; ++dc)
            for (int dr = -1; dr <= 1; ++dr)
                if (at(column + dc, row + dr) && !seen[column + dc][row + dr]) {
                    seen[column + dc][row + dr] = true;
                    open.emplace_back(column + dc, row + dr);
                }
    }
    return false;
}

// The radii the control painters stroke with, on sizes of both parities.
TEST(RoundedOutlinesTest, StrokedOutlinesRunUnbrokenRoundEveryCorner) {
    for (int radius = 1; radius <= 6; ++radius)
        for (int w : {40, 41})
            for (int h : {20, 21}) {
                SCOPED_TRACE(std::to_string(w) + " x " + std::to_string(h) + ", radius " + std::to_string(radius));
                SkinMemorySurface surface;
                void* bits = nullptr;
                ASSERT_TRUE(surface.CreateDib(w, h, &bits));
                {
                    SkinGraphics graphics(surface.dc());
                    graphics.Clear(0xFFFFFFFF);
                    StrokeRoundRect(graphics, 0, 0, static_cast<float>(w - 1), static_cast<float>(h - 1),
                                    static_cast<float>(radius), 0xFF000000);
                }
                GdiFlush();
                const auto* pixels = static_cast<const std::uint32_t*>(bits);
                std::vector<bool> line(static_cast<std::size_t>(w) * h);
                for (int y = 0; y < h; ++y)   // the DIB's rows run bottom-up
                    for (int x = 0; x < w; ++x) line[static_cast<std::size_t>(y) * w + x] = (pixels[(h - 1 - y) * w + x] & 0xFF) < 128;
                EXPECT_TRUE(CornerIsClosed(line, w, h, false, false)) << "top left";
                EXPECT_TRUE(CornerIsClosed(line, w, h, true, false)) << "top right";
                EXPECT_TRUE(CornerIsClosed(line, w, h, false, true)) << "bottom left";
                EXPECT_TRUE(CornerIsClosed(line, w, h, true, true)) << "bottom right";
            }
}

}  // namespace
}  // namespace corvalin
