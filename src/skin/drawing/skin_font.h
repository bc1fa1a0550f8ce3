// GDI+ fonts and font families. Names cross to UTF-16 from the ANSI code page;
// family names come back through the OEM code page.
#pragma once
#include <string>
#include "skin/drawing/drawing_object.h"

namespace corvalin {

class SkinFontFamily : public DrawingObject<Gdiplus::GpFontFamily, gdip::GdipDeleteFontFamily> {
public:
    bool Create(const std::string& name);
    // The platform's generic sans-serif family.
    bool CreateSansSerif();
    // The family name, empty when nothing is held.
    std::string Name() const;
    friend class SkinFont;
};

class SkinFont : public DrawingObject<Gdiplus::GpFont, gdip::GdipDeleteFont> {
public:
    // Family by name (the generic sans-serif one when the name is not
    // installed), then the font; the family is released again.
    bool Create(const std::string& familyName, float emSize, int style, Gdiplus::Unit unit);
    // The font selected in the device context, or the given font handle when
    // it describes a font.
    bool Create(HDC dc, HFONT font = nullptr);
    bool GetFamily(SkinFontFamily& family) const;
    int Style() const;
    float Size() const;
};

}  // namespace corvalin
