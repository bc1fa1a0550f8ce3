#include "skin/drawing/skin_pen.h"
#include "skin/drawing/skin_brush.h"

namespace corvalin {

bool SkinPen::Create(Gdiplus::ARGB color, float width, Gdiplus::Unit unit) {
    return RecordDrawStatus(gdip::GdipCreatePen1(color, width, unit, Out()));
}
bool SkinPen::Create(const SkinBrush& brush, float width, Gdiplus::Unit unit) {
    return RecordDrawStatus(gdip::GdipCreatePen2(brush.Handle(), width, unit, Out()));
}
bool SkinPen::SetWidth(float width) { return RecordDrawStatus(gdip::GdipSetPenWidth(Handle(), width)); }

}  // namespace corvalin
