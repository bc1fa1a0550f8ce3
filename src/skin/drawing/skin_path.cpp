#include "skin/drawing/skin_path.h"

namespace corvalin {

bool SkinPath::Create(Gdiplus::FillMode fillMode) {
    return RecordDrawStatus(gdip::GdipCreatePath(fillMode, Out()));
}
bool SkinPath::Reset() { return RecordDrawStatus(gdip::GdipResetPath(Handle())); }
bool SkinPath::AddLine(float x1, float y1, float x2, float y2) {
    return RecordDrawStatus(gdip::GdipAddPathLine(Handle(), x1, y1, x2, y2));
}
bool SkinPath::AddArc(float x, float y, float width, float height, float startAngle, float sweepAngle) {
    return RecordDrawStatus(gdip::GdipAddPathArc(Handle(), x, y, width, height, startAngle, sweepAngle));
}
bool SkinPath::CloseFigure() { return RecordDrawStatus(gdip::GdipClosePathFigure(Handle())); }
bool SkinPath::AddRectangle(float x, float y, float width, float height) {
    return RecordDrawStatus(gdip::GdipAddPathRectangle(Handle(), x, y, width, height));
}
bool SkinPath::AddEllipse(float x, float y, float width, float height) {
    return RecordDrawStatus(gdip::GdipAddPathEllipse(Handle(), x, y, width, height));
}

}  // namespace corvalin
