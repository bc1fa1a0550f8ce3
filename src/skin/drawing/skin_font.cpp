#include "skin/drawing/skin_font.h"
#include "skin/drawing/gdiplus_text.h"

namespace corvalin {

bool SkinFontFamily::Create(const std::string& name) {
    const std::wstring wide = ToGdiplusText(name);
    return RecordDrawStatus(gdip::GdipCreateFontFamilyFromName(wide.c_str(), nullptr, Out()));
}

std::string SkinFontFamily::Name() const {
    WCHAR name[LF_FACESIZE] = {};
    if (!RecordDrawStatus(gdip::GdipGetFamilyName(Handle(), name, 0))) return {};
    return FromGdiplusText(name);
}

bool SkinFontFamily::CreateSansSerif() {
    if (RecordDrawStatus(gdip::GdipGetGenericFontFamilySansSerif(Out()))) return true;
    return Create("Tahoma");
}

bool SkinFont::Create(const std::string& familyName, float emSize, int style, Gdiplus::Unit unit) {
    // A prefix that maps no Chinese face still shows the text, in the generic face.
    SkinFontFamily family;
    if (!family.Create(familyName) && !family.CreateSansSerif()) {
        Destroy();
        return false;
    }
    const Gdiplus::Status status = gdip::GdipCreateFont(family.Handle(), emSize, style, unit, Out());
    family.Destroy();
    return RecordDrawStatus(status);
}

bool SkinFont::Create(HDC dc, HFONT font) {
    LOGFONTA logFont{};
    if (font && GetObjectA(font, sizeof(logFont), &logFont) == sizeof(logFont))
        return RecordDrawStatus(gdip::GdipCreateFontFromLogfontA(dc, &logFont, Out()));
    return RecordDrawStatus(gdip::GdipCreateFontFromDC(dc, Out()));
}

bool SkinFont::GetFamily(SkinFontFamily& family) const {
    return RecordDrawStatus(gdip::GdipGetFamily(Handle(), family.Out()));
}

int SkinFont::Style() const {
    INT style = 0;
    RecordDrawStatus(gdip::GdipGetFontStyle(Handle(), &style));
    return style;
}

float SkinFont::Size() const {
    Gdiplus::REAL size = 0;
    RecordDrawStatus(gdip::GdipGetFontSize(Handle(), &size));
    return size;
}

}  // namespace corvalin
