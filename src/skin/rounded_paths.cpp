#include "skin/rounded_paths.h"
#include <algorithm>
#include <cmath>
#include "skin/drawing/skin_graphics.h"
#include "skin/drawing/skin_path.h"
#include "skin/drawing/skin_pen.h"
#include "skin/skin_color.h"

namespace corvalin {

namespace {

// `shiftLeft` moves the bottom-right arc alone, by a fraction of a pixel.
void AddRoundFigure(SkinPath& path, float x, float y, float width, float height, float radius, float bottomRightGrowth,
                    float shiftLeft) {
    const float r = std::clamp(radius, 1.0f, 100.0f);
    const float g = bottomRightGrowth;
    path.AddArc(x + width - r, y, r, r, 270, 90);
    path.AddArc(x + width - r - g - shiftLeft, y + height - r - g, r + g, r + g, 0, 90);
    path.AddArc(x, y + height - r, r, r, 90, 90);
    path.AddArc(x, y, r, r, 180, 90);
    path.CloseFigure();
}

}  // namespace

void AddRoundRect(SkinPath& path, float x, float y, float width, float height, float radius) {
    AddRoundFigure(path, x, y, width, height, radius, 1, 0);
}

void AddEvenRoundRect(SkinPath& path, float x, float y, float width, float height, float radius) {
    // Thin strokes are rasterised with half pixels rounded up: the
    // bottom-right arc, stepping down and left at once, lands a pixel off the
    // right edge and leaves a gap there, except when its bounding square is
    // 2, 6, 10... pixels wide (measured, radius 1 to 7). A quarter pixel to the
    // left closes the gap without moving the edges.
    const float r = std::clamp(radius, 1.0f, 100.0f);
    const float shiftLeft = std::fmod(r, 4.0f) == 2.0f ? 0.0f : 0.25f;
    AddRoundFigure(path, x, y, width, height, radius, 0, shiftLeft);
}

void AddTopRoundedPath(SkinPath& path, float x, float y, float width, float height, float radius) {
    const float r = radius;
    path.AddLine(x, y + height, x, y + r);
    path.AddArc(x, y, r, r, 180, 90);
    path.AddLine(x + r, y, x + width - r, y);
    path.AddArc(x + width - r, y, r, r, 270, 90);
    path.AddLine(x + width, y + r, x + width, y + height);
}

void DrawGlow(SkinGraphics& graphics, const SkinPath& path, int rings, COLORREF color, int alpha) {
    SkinPen pen(ColorToArgb(color, alpha, 1), 1);
    for (int i = 1; i <= rings; ++i) {
        pen.SetWidth(static_cast<float>(i));
        graphics.DrawPath(pen, path);
    }
}

}  // namespace corvalin
