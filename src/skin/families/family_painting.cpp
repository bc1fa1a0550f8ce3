#include "skin/families/family_painting.h"

#include "skin/drawing/drawing_objects.h"

namespace corvalin {

void DrawGlyph(SkinGraphics& graphics, const BuiltinImage& glyph, float x, float y) {
    SkinImage image;
    if (!image.LoadFromBytes(glyph.data, glyph.size)) return;   // undecodable: the painter carries on
    graphics.DrawImage(image, x, y);
}

void DeleteControlColorObjects(HWND control) {
    // The stock null brush may sit here too; deleting a stock object is a no-op.
    if (HGDIOBJ brush = reinterpret_cast<HGDIOBJ>(GetPropValue(control, kPropColorBrush))) DeleteObject(brush);
    if (HGDIOBJ bitmap = reinterpret_cast<HGDIOBJ>(GetPropValue(control, kPropColorBrushBitmap)))
        DeleteObject(bitmap);
    SetPropValue(control, kPropColorBrush, 0);
    SetPropValue(control, kPropColorBrushBitmap, 0);
}

HBRUSH PlainControlColor(HWND control, HDC dc) {
    SetTextColor(dc, static_cast<COLORREF>(GetPropValue(control, kPropTextColor)));
    SetBkMode(dc, TRANSPARENT);
    if (HGDIOBJ brush = reinterpret_cast<HGDIOBJ>(GetPropValue(control, kPropColorBrush))) DeleteObject(brush);
    HBRUSH none = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    SetPropValue(control, kPropColorBrush, reinterpret_cast<INT_PTR>(none));
    return none;
}

HBRUSH StaticControlColor(HWND control, HDC dc) {
    SetTextColor(dc, static_cast<COLORREF>(GetPropValue(control, kPropTextColor)));
    SetBkMode(dc, TRANSPARENT);
    DeleteControlColorObjects(control);
    HBITMAP veiled = MakeVeiledBackground(control);
    HBRUSH brush = veiled ? CreatePatternBrush(veiled) : nullptr;
    SetPropValue(control, kPropColorBrush, reinterpret_cast<INT_PTR>(brush));
    SetPropValue(control, kPropColorBrushBitmap, reinterpret_cast<INT_PTR>(veiled));
    return brush;
}

bool HasWindowClass(HWND window, const char* className) {
    char name[64] = {};
    if (!window || !GetClassNameA(window, name, sizeof name)) return false;
    return lstrcmpiA(name, className) == 0;
}

}  // namespace corvalin
