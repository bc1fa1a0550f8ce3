// Pieces the control-family painters share: an owner for a composed control
// background, glyph drawing, the colour-message answers, and the family
// element of a control found through its window properties.
#pragma once
#include <windows.h>
#include <string>
#include "skin/control_background.h"
#include "skin/images/builtin_images.h"
#include "skin/memory_dc_registry.h"
#include "skin/skin_properties.h"
#include "skin/skin_window_list.h"

namespace corvalin {

class SkinGraphics;
class SkinPath;

// The memory DC MakeControlBackground made, released on every path.
class ComposedBackground {
public:
    ComposedBackground(HWND control, const RECT& rect)
        : dc_(MakeControlBackground(control, rect)),
          width_(rect.right - rect.left), height_(rect.bottom - rect.top) {}
    ComposedBackground(const ComposedBackground&) = delete;
    ComposedBackground& operator=(const ComposedBackground&) = delete;
    ~ComposedBackground() { ReleaseMemoryDC(dc_); }
    HDC dc() const { return dc_; }
    int width() const { return width_; }
    int height() const { return height_; }
    explicit operator bool() const { return dc_ != nullptr; }
    // Hands the DC over (to DcToBitmap, which releases it).
    HDC release() { HDC dc = dc_; dc_ = nullptr; return dc; }
private:
    HDC dc_;
    int width_;
    int height_;
};

// Draws the glyph (decoded once for the process) at its natural size.
void DrawGlyph(SkinGraphics& graphics, const BuiltinImage& glyph, float x, float y);
// The glyph centred on the rectangle (whole pixels, so odd sizes stay sharp).
void DrawGlyphCentred(SkinGraphics& graphics, const BuiltinImage& glyph, int glyphWidth, int glyphHeight,
                      const RECT& rect);

// Rounded rectangles of AddRoundRect: filled with a two-colour gradient that
// runs top to bottom (or left to right when `across`), and stroked with a
// 1-pixel pen.
void FillRoundRectGradient(SkinGraphics& graphics, float x, float y, float width, float height, float radius,
                           Gdiplus::ARGB from, Gdiplus::ARGB to, bool across = false);
void StrokeRoundRect(SkinGraphics& graphics, float x, float y, float width, float height, float radius,
                     Gdiplus::ARGB color);

// Hover bookkeeping shared by the families: asks for a leave notification,
// makes `number` the control under the mouse and answers whether it has just
// become the hot control (and must be repainted hot).
bool TakeHover(HWND control, SkinWindowRecord& owner, int number);
// A leave notification gives the hover up only while this control still holds
// it: a control's leave can arrive after the control the mouse went on to has
// taken the hover (Wine reports leaves from a timer), and must not take it
// away from that one. An edit holds it with the hover-taken flag and its
// parent stored (pass `editParent`); the other families without the flag.
void GiveUpHover(SkinWindowRecord& owner, int number, HWND editParent = nullptr);

// Colour messages of transparent controls. Plain: the control's Kj_Ztys text
// colour, transparent mode and the stock null brush. Static: the same with a
// pattern brush of the control's veiled background. Both remember the brush
// (and bitmap) in Kj_dxjb / Kj_wtjb, deleting the previous ones.
HBRUSH PlainControlColor(HWND control, HDC dc);
HBRUSH StaticControlColor(HWND control, HDC dc);

// Deletes the brush and bitmap a control's colour messages left behind.
void DeleteControlColorObjects(HWND control);

bool HasWindowClass(HWND window, const char* className);

// A subclassed control's place in the registry: Hw_FuID names its window,
// Hw_lbID its place in the family list. Each property read is a round trip to
// the window server, so a family procedure reads them once per message and
// passes the numbers on. The element pointer is good until a nested message
// may change the registry (a paint, a send).
template <class Element>
struct FamilyMember {
    int window = 0;
    int number = 0;
    Element* element = nullptr;
    explicit operator bool() const { return element != nullptr; }
    SkinWindowRecord& owner() const { return WindowRecord(window); }
};

// Empty when either number is out of range or names another control.
template <class Element>
FamilyMember<Element> FindFamilyMember(HWND control, SkinFamilyList<Element> SkinWindowRecord::*list) {
    const int window = static_cast<int>(GetPropValue(control, kPropOwnerId));
    const int number = static_cast<int>(GetPropValue(control, kPropListId));
    if (!IsSkinWindowNumber(window)) return {};
    auto& family = WindowRecord(window).*list;
    if (!family.Valid(number) || family[number].window != control) return {};
    return {window, number, &family[number]};
}

template <class Element>
Element* FindFamilyElement(HWND control, SkinFamilyList<Element> SkinWindowRecord::*list) {
    return FindFamilyMember(control, list).element;
}

inline SkinWindowRecord* OwningRecord(HWND control) {
    const int window = static_cast<int>(GetPropValue(control, kPropOwnerId));
    return IsSkinWindowNumber(window) ? &WindowRecord(window) : nullptr;
}

}  // namespace corvalin
