// A GDI+ pen, from a colour or from a brush (the gradient outlines).
#pragma once
#include "skin/drawing/drawing_object.h"

namespace corvalin {

class SkinBrush;

class SkinPen : public DrawingObject<Gdiplus::GpPen, gdip::GdipDeletePen> {
public:
    SkinPen() = default;
    SkinPen(Gdiplus::ARGB color, float width) { Create(color, width); }
    bool Create(Gdiplus::ARGB color, float width, Gdiplus::Unit unit = Gdiplus::UnitWorld);
    bool Create(const SkinBrush& brush, float width, Gdiplus::Unit unit = Gdiplus::UnitWorld);
    bool SetWidth(float width);
};

}  // namespace corvalin
