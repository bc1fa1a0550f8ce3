#include "skin/rounded_paths.h"
#include <algorithm>
#include "skin/drawing/skin_graphics.h"
#include "skin/drawing/skin_path.h"
#include "skin/drawing/skin_pen.h"
#include "skin/skin_color.h"

namespace corvalin {

void AddRoundRect(SkinPath& path, float x, float y, float width, float height, float radius) {
    const float r = std::clamp(radius, 1.0f, 100.0f);
    path.AddArc(x + width - r, y, r, r, 270, 90);
    // One pixel larger and further up-left: the bottom-right corner meets the
    // stroke the way the other three do.
    path.AddArc(x + width - r - 1, y + height - r - 1, r + 1, r + 1, 0, 90);
    path.AddArc(x, y + height - r, r, r, 90, 90);
    path.AddArc(x, y, r, r, 180, 90);
    path.CloseFigure();
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
