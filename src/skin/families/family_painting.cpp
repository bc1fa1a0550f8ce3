#include "skin/families/family_painting.h"

#include "skin/decoded_pictures.h"
#include "skin/drawing/drawing_objects.h"
#include "skin/rounded_paths.h"

namespace corvalin {

void DrawGlyph(SkinGraphics& graphics, const BuiltinImage& glyph, float x, float y) {
    const auto image = CachedPicture(glyph.data, glyph.size);
    if (image) graphics.DrawImage(*image, x, y);   // undecodable: the painter carries on
}

void DrawGlyphCentred(SkinGraphics& graphics, const BuiltinImage& glyph, int glyphWidth, int glyphHeight,
                      const RECT& rect) {
    const int x = rect.left + (rect.right - rect.left - glyphWidth) / 2;
    const int y = rect.top + (rect.bottom - rect.top - glyphHeight) / 2;
    DrawGlyph(graphics, glyph, static_cast<float>(x), static_cast<float>(y));
}

void FillRoundRectGradient(SkinGraphics& graphics, float x, float y, float width, float height, float radius,
                           Gdiplus::ARGB from, Gdiplus::ARGB to, bool across) {
    if (width <= 0 || height <= 0) return;
    SkinPath path;
    path.Create();
    AddRoundRect(path, x, y, width, height, radius);
    SkinLinearBrush brush;
    const bool made = across ? brush.Create(x - 1, 0, x + width + 1, 0, from, to)
                             : brush.Create(0, y - 1, 0, y + height + 1, from, to);
    if (made) graphics.FillPath(brush, path);
}

void StrokeRoundRect(SkinGraphics& graphics, float x, float y, float width, float height, float radius,
                     Gdiplus::ARGB color) {
    if (width <= 0 || height <= 0) return;
    SkinPath path;
    path.Create();
    AddEvenRoundRect(path, x, y, width, height, radius);
    SkinPen pen(color, 1);
    graphics.DrawPath(pen, path);
}

bool TakeHover(HWND control, SkinWindowRecord& owner, int number) {
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, control, 0};
    TrackMouseEvent(&track);
    owner.mouseOverControl = number;
    if (owner.hotControl == number && !owner.hoverTaken) return false;
    owner.hotControl = number;
    owner.hoverTaken = 0;
    return true;
}

void GiveUpHover(SkinWindowRecord& owner, int number, HWND editParent) {
    if (owner.hotControl != number) return;
    const bool holds = editParent ? owner.hoverTaken == 1 && owner.hotEditParent == editParent : owner.hoverTaken == 0;
    if (holds) owner.hotControl = 0;
}

void DeleteControlColorObjects(HWND control) {
    bool owned = false;
    if (const int n = FindOwnerRecord(control)) {
        // The window's list owns what the colour messages made; controls
        // already gone leave theirs too.
        auto& colors = WindowRecord(n).controlColors;
        owned = std::erase_if(colors, [control](const SkinControlColor& color) { return color.control == control; }) > 0;
        std::erase_if(colors, [](const SkinControlColor& color) { return !IsWindow(color.control); });
    }
    if (!owned) {
        // Objects put there by others; the stock null brush may sit here too
        // (deleting a stock object is a no-op).
        if (HGDIOBJ brush = reinterpret_cast<HGDIOBJ>(GetPropValue(control, kPropColorBrush))) DeleteObject(brush);
        if (HGDIOBJ bitmap = reinterpret_cast<HGDIOBJ>(GetPropValue(control, kPropColorBrushBitmap)))
            DeleteObject(bitmap);
    }
    RemovePropA(control, kPropColorBrush);
    RemovePropA(control, kPropColorBrushBitmap);
}

HBRUSH PlainControlColor(HWND control, HDC dc) {
    SetTextColor(dc, static_cast<COLORREF>(GetPropValue(control, kPropTextColor)));
    SetBkMode(dc, TRANSPARENT);
    DeleteControlColorObjects(control);
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
    if (const int n = FindOwnerRecord(control))
        WindowRecord(n).controlColors.push_back(SkinControlColor{control, UniqueGdiObject(brush), UniqueGdiObject(veiled)});
    return brush;
}

bool HasWindowClass(HWND window, const char* className) {
    char name[64] = {};
    if (!window || !GetClassNameA(window, name, sizeof name)) return false;
    return lstrcmpiA(name, className) == 0;
}

}  // namespace corvalin
