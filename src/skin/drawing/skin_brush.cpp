#include "skin/drawing/skin_brush.h"
#include "skin/drawing/skin_path.h"

namespace corvalin {

bool SkinBrush::CloneInto(SkinBrush& copy) const {
    return RecordDrawStatus(gdip::GdipCloneBrush(Handle(), copy.Out()));
}

int SkinBrush::Type() const {
    Gdiplus::BrushType type = Gdiplus::BrushTypeSolidColor;
    if (!RecordDrawStatus(gdip::GdipGetBrushType(Handle(), &type))) return -1;
    return static_cast<int>(type);
}

bool SkinSolidBrush::Create(Gdiplus::ARGB color) {
    return RecordDrawStatus(
        gdip::GdipCreateSolidFill(color, reinterpret_cast<Gdiplus::GpSolidFill**>(Out())));
}

bool SkinLinearBrush::Create(float x1, float y1, float x2, float y2, Gdiplus::ARGB startColor,
                             Gdiplus::ARGB endColor, Gdiplus::WrapMode wrapMode) {
    const Gdiplus::PointF start(x1, y1), end(x2, y2);
    return RecordDrawStatus(gdip::GdipCreateLineBrush(&start, &end, startColor, endColor, wrapMode,
                                                      reinterpret_cast<Gdiplus::GpLineGradient**>(Out())));
}

bool SkinLinearBrush::SetPresetBlend(const std::vector<Gdiplus::ARGB>& colors, const std::vector<float>& positions) {
    if (colors.size() != positions.size()) return RecordDrawStatus(Gdiplus::InvalidParameter);
    return RecordDrawStatus(
        gdip::GdipSetLinePresetBlend(Line(), colors.data(), positions.data(), static_cast<INT>(colors.size())));
}

bool SkinLinearBrush::SetLinearBlend(float focus, float scale) {
    return RecordDrawStatus(gdip::GdipSetLineLinearBlend(Line(), focus, scale));
}

bool SkinPathBrush::Create(const SkinPath& path) {
    return RecordDrawStatus(gdip::GdipCreatePathGradientFromPath(
        path.Handle(), reinterpret_cast<Gdiplus::GpPathGradient**>(Out())));
}

bool SkinPathBrush::SetCenterColor(Gdiplus::ARGB color) {
    return RecordDrawStatus(gdip::GdipSetPathGradientCenterColor(Gradient(), color));
}

bool SkinPathBrush::SetSurroundColors(const std::vector<Gdiplus::ARGB>& colors) {
    INT count = static_cast<INT>(colors.size());
    return RecordDrawStatus(gdip::GdipSetPathGradientSurroundColorsWithCount(Gradient(), colors.data(), &count));
}

}  // namespace corvalin
