// GDI+ brushes: one base for the delete, clone and type operations, and the
// three kinds the skin paints with.
#pragma once
#include <vector>
#include "skin/drawing/drawing_object.h"

namespace corvalin {

class SkinPath;

class SkinBrush : public DrawingObject<Gdiplus::GpBrush, gdip::GdipDeleteBrush> {
public:
    // A brush of the same kind and settings, owned by the caller.
    bool CloneInto(SkinBrush& copy) const;
    // Gdiplus::BrushType, or -1 when nothing is held.
    int Type() const;
};

class SkinSolidBrush : public SkinBrush {
public:
    SkinSolidBrush() = default;
    explicit SkinSolidBrush(Gdiplus::ARGB color) { Create(color); }
    bool Create(Gdiplus::ARGB color);
};

class SkinLinearBrush : public SkinBrush {
public:
    bool Create(float x1, float y1, float x2, float y2, Gdiplus::ARGB startColor, Gdiplus::ARGB endColor,
                Gdiplus::WrapMode wrapMode = Gdiplus::WrapModeTile);
    // Colours at the given positions (0 to 1); both arrays of the same length.
    bool SetPresetBlend(const std::vector<Gdiplus::ARGB>& colors, const std::vector<float>& positions);
    bool SetLinearBlend(float focus, float scale);
private:
    Gdiplus::GpLineGradient* Line() const { return static_cast<Gdiplus::GpLineGradient*>(Handle()); }
};

class SkinPathBrush : public SkinBrush {
public:
    bool Create(const SkinPath& path);
    bool SetCenterColor(Gdiplus::ARGB color);
    bool SetSurroundColors(const std::vector<Gdiplus::ARGB>& colors);
private:
    Gdiplus::GpPathGradient* Gradient() const { return static_cast<Gdiplus::GpPathGradient*>(Handle()); }
};

}  // namespace corvalin
