// A GDI+ graphics object over a device context or an image: what every skin
// painter draws with. Texts are ANSI (GBK) and cross to UTF-16 here.
#pragma once
#include <string>
#include "skin/drawing/drawing_object.h"

namespace corvalin {

class SkinPen;
class SkinBrush;
class SkinPath;
class SkinFont;
class SkinStringFormat;
class SkinImage;

struct SkinRectF {
    float x = 0, y = 0, width = 0, height = 0;
};

class SkinGraphics : public DrawingObject<Gdiplus::GpGraphics, gdip::GdipDeleteGraphics> {
public:
    SkinGraphics() = default;
    explicit SkinGraphics(HDC dc) { Create(dc); }

    bool Create(HDC dc, HANDLE device = nullptr);
    bool Create(const SkinImage& image);

    bool SetCompositingQuality(Gdiplus::CompositingQuality mode);
    bool SetInterpolationMode(Gdiplus::InterpolationMode mode);
    bool SetSmoothingMode(Gdiplus::SmoothingMode mode);
    bool SetPixelOffsetMode(Gdiplus::PixelOffsetMode mode);
    bool Clear(Gdiplus::ARGB color);

    bool DrawLine(const SkinPen& pen, float x1, float y1, float x2, float y2);
    bool DrawRectangle(const SkinPen& pen, float x, float y, float width, float height);
    bool DrawPath(const SkinPen& pen, const SkinPath& path);
    bool FillRectangle(const SkinBrush& brush, float x, float y, float width, float height);
    bool FillPath(const SkinBrush& brush, const SkinPath& path);

    bool DrawString(const std::string& text, const SkinFont& font, const SkinRectF& layout,
                    const SkinStringFormat& format, const SkinBrush& brush);
    // The bounding box of the text; all zero on failure.
    SkinRectF MeasureString(const std::string& text, const SkinFont& font, const SkinRectF& layout,
                            const SkinStringFormat& format);

    bool DrawImage(const SkinImage& image, float x, float y);
    // The whole image stretched into the destination rectangle.
    bool DrawImage(const SkinImage& image, float x, float y, float width, float height,
                   Gdiplus::Unit sourceUnit = Gdiplus::UnitPixel);

    bool SetClip(const SkinPath& path, Gdiplus::CombineMode mode = Gdiplus::CombineModeReplace);
    bool SetClip(float x, float y, float width, float height, Gdiplus::CombineMode mode = Gdiplus::CombineModeReplace);
    bool ResetClip();
};

}  // namespace corvalin
