#include "skin/drawing/skin_graphics.h"
#include "skin/drawing/gdiplus_text.h"
#include "skin/drawing/skin_brush.h"
#include "skin/drawing/skin_font.h"
#include "skin/drawing/skin_image.h"
#include "skin/drawing/skin_path.h"
#include "skin/drawing/skin_pen.h"
#include "skin/drawing/skin_string_format.h"

namespace corvalin {

bool SkinGraphics::Create(HDC dc, HANDLE device) {
    return RecordDrawStatus(device ? gdip::GdipCreateFromHDC2(dc, device, Out()) : gdip::GdipCreateFromHDC(dc, Out()));
}

bool SkinGraphics::Create(const SkinImage& image) {
    return RecordDrawStatus(gdip::GdipGetImageGraphicsContext(image.Handle(), Out()));
}

bool SkinGraphics::SetCompositingQuality(Gdiplus::CompositingQuality mode) {
    return RecordDrawStatus(gdip::GdipSetCompositingQuality(Handle(), mode));
}
bool SkinGraphics::SetInterpolationMode(Gdiplus::InterpolationMode mode) {
    return RecordDrawStatus(gdip::GdipSetInterpolationMode(Handle(), mode));
}
bool SkinGraphics::SetSmoothingMode(Gdiplus::SmoothingMode mode) {
    return RecordDrawStatus(gdip::GdipSetSmoothingMode(Handle(), mode));
}
bool SkinGraphics::SetPixelOffsetMode(Gdiplus::PixelOffsetMode mode) {
    return RecordDrawStatus(gdip::GdipSetPixelOffsetMode(Handle(), mode));
}
bool SkinGraphics::Clear(Gdiplus::ARGB color) { return RecordDrawStatus(gdip::GdipGraphicsClear(Handle(), color)); }

bool SkinGraphics::DrawLine(const SkinPen& pen, float x1, float y1, float x2, float y2) {
    return RecordDrawStatus(gdip::GdipDrawLine(Handle(), pen.Handle(), x1, y1, x2, y2));
}
bool SkinGraphics::DrawRectangle(const SkinPen& pen, float x, float y, float width, float height) {
    return RecordDrawStatus(gdip::GdipDrawRectangle(Handle(), pen.Handle(), x, y, width, height));
}
bool SkinGraphics::DrawPath(const SkinPen& pen, const SkinPath& path) {
    return RecordDrawStatus(gdip::GdipDrawPath(Handle(), pen.Handle(), path.Handle()));
}
bool SkinGraphics::FillRectangle(const SkinBrush& brush, float x, float y, float width, float height) {
    return RecordDrawStatus(gdip::GdipFillRectangle(Handle(), brush.Handle(), x, y, width, height));
}
bool SkinGraphics::FillPath(const SkinBrush& brush, const SkinPath& path) {
    return RecordDrawStatus(gdip::GdipFillPath(Handle(), brush.Handle(), path.Handle()));
}

bool SkinGraphics::DrawString(const std::string& text, const SkinFont& font, const SkinRectF& layout,
                              const SkinStringFormat& format, const SkinBrush& brush) {
    const std::wstring wide = ToGdiplusText(text);
    const Gdiplus::RectF rect(layout.x, layout.y, layout.width, layout.height);
    return RecordDrawStatus(gdip::GdipDrawString(Handle(), wide.c_str(), static_cast<INT>(wide.size()), font.Handle(),
                                                 &rect, format.Handle(), brush.Handle()));
}

SkinRectF SkinGraphics::MeasureString(const std::string& text, const SkinFont& font, const SkinRectF& layout,
                                      const SkinStringFormat& format) {
    const std::wstring wide = ToGdiplusText(text);
    const Gdiplus::RectF rect(layout.x, layout.y, layout.width, layout.height);
    Gdiplus::RectF box;
    if (!RecordDrawStatus(gdip::GdipMeasureString(Handle(), wide.c_str(), static_cast<INT>(wide.size()),
                                                  font.Handle(), &rect, format.Handle(), &box, nullptr, nullptr)))
        return {};
    return {box.X, box.Y, box.Width, box.Height};
}

bool SkinGraphics::DrawImage(const SkinImage& image, float x, float y) {
    return RecordDrawStatus(gdip::GdipDrawImage(Handle(), image.Handle(), x, y));
}

bool SkinGraphics::DrawImage(const SkinImage& image, float x, float y, float width, float height,
                             Gdiplus::Unit sourceUnit) {
    const float sourceWidth = static_cast<float>(image.Width());
    const float sourceHeight = static_cast<float>(image.Height());
    return RecordDrawStatus(gdip::GdipDrawImageRectRect(Handle(), image.Handle(), x, y, width, height, 0, 0,
                                                        sourceWidth, sourceHeight, sourceUnit, nullptr, nullptr,
                                                        nullptr));
}

bool SkinGraphics::SetClip(const SkinPath& path, Gdiplus::CombineMode mode) {
    return RecordDrawStatus(gdip::GdipSetClipPath(Handle(), path.Handle(), mode));
}
bool SkinGraphics::SetClip(float x, float y, float width, float height, Gdiplus::CombineMode mode) {
    return RecordDrawStatus(gdip::GdipSetClipRect(Handle(), x, y, width, height, mode));
}
bool SkinGraphics::ResetClip() { return RecordDrawStatus(gdip::GdipResetClip(Handle())); }

}  // namespace corvalin
