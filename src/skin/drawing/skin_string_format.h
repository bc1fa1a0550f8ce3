// A GDI+ string format: alignment, line alignment and trimming of drawn text.
#pragma once
#include "skin/drawing/drawing_object.h"

namespace corvalin {

class SkinStringFormat : public DrawingObject<Gdiplus::GpStringFormat, gdip::GdipDeleteStringFormat> {
public:
    bool Create(int formatFlags = 0, LANGID language = 0);
    bool SetAlignment(Gdiplus::StringAlignment alignment);
    bool SetLineAlignment(Gdiplus::StringAlignment alignment);
    bool SetTrimming(Gdiplus::StringTrimming trimming);
};

}  // namespace corvalin
