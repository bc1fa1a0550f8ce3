// A GDI+ path: the outlines the painters fill, stroke and clip to.
#pragma once
#include "skin/drawing/drawing_object.h"

namespace corvalin {

class SkinPath : public DrawingObject<Gdiplus::GpPath, gdip::GdipDeletePath> {
public:
    bool Create(Gdiplus::FillMode fillMode = Gdiplus::FillModeAlternate);
    bool Reset();
    bool AddLine(float x1, float y1, float x2, float y2);
    bool AddArc(float x, float y, float width, float height, float startAngle, float sweepAngle);
    bool CloseFigure();
    bool AddRectangle(float x, float y, float width, float height);
    bool AddEllipse(float x, float y, float width, float height);
};

}  // namespace corvalin
