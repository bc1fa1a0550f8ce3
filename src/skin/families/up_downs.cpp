// Up-down controls keep their behaviour; the skin paints them whole: two
// rounded halves along the long side, each with its arrow centred, the half
// under the mouse highlighted and the pressed one darker.
#include "skin/families/control_families.h"

#include <commctrl.h>

#include "skin/drawing/drawing_objects.h"
#include "skin/families/family_painting.h"
#include "skin/skin_color.h"
#include "skin/skin_settings.h"

namespace corvalin {
namespace {

constexpr COLORREF kWhite = 0xFFFFFF;

// The arrow glyphs: 7 x 4 pointing up or down, 4 x 7 pointing left or right.
constexpr int kArrowLong = 7;
constexpr int kArrowShort = 4;


SIZE WindowSize(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

// The two halves in window coordinates; the second takes the odd pixel.
void SplitHalves(SIZE size, bool horizontal, RECT& first, RECT& second) {
    if (horizontal) {
        first = RECT{0, 0, size.cx / 2, size.cy};
        second = RECT{size.cx / 2, 0, size.cx, size.cy};
    } else {
        first = RECT{0, 0, size.cx, size.cy / 2};
        second = RECT{0, size.cy / 2, size.cx, size.cy};
    }
}

void PaintHalf(SkinGraphics& graphics, const RECT& r, bool hot, bool pressed, const BuiltinImage& glyph,
               int glyphWidth, int glyphHeight) {
    const float x = static_cast<float>(r.left), y = static_cast<float>(r.top);
    const float w = static_cast<float>(r.right - r.left - 1), h = static_cast<float>(r.bottom - r.top - 1);
    Gdiplus::ARGB from = ColorToArgb(kWhite, 130, 1), to = ColorToArgb(SkinAccentColor, 40, 1);
    Gdiplus::ARGB outline = ColorToArgb(SkinAccentColor, 150, 1);
    if (pressed) {
        from = ColorToArgb(SkinAccentColor, 120, 1);
        to = ColorToArgb(0, 60, 1);
        outline = ColorToArgb(SkinAccentColor, 255, 1);
    } else if (hot) {
        from = ColorToArgb(kWhite, 160, 1);
        to = ColorToArgb(SkinAccentColor, 150, 1);
        outline = ColorToArgb(SkinAccentColor, 255, 1);
    }
    FillRoundRectGradient(graphics, x, y, w, h, 2, from, to);
    StrokeRoundRect(graphics, x, y, w, h, 2, outline);
    DrawGlyphCentred(graphics, glyph, glyphWidth, glyphHeight, r);
}

}  // namespace

void SkinUpDowns(int windowNumber, HWND parent) {
    if (!SkinTransparentControls || !IsSkinWindowNumber(windowNumber)) return;
    for (HWND u = FindWindowExA(parent, nullptr, UPDOWN_CLASSA, nullptr); u;
         u = FindWindowExA(parent, u, UPDOWN_CLASSA, nullptr)) {
        auto& list = WindowRecord(windowNumber).upDowns;
        const int number = RegisterControl(list, windowNumber, u, SkinUpDownProc);
        if (number) list[number].horizontal = (GetWindowLongA(u, GWL_STYLE) & UDS_HORZ) ? 1 : 0;
    }
}

int UpDownPartAt(int windowNumber, int upDownNumber, LPARAM position) {
    if (!IsSkinWindowNumber(windowNumber)) return 1;
    auto& list = WindowRecord(windowNumber).upDowns;
    if (!list.Valid(upDownNumber) || !list[upDownNumber].window) return 1;
    const SIZE size = WindowSize(list[upDownNumber].window);
    const int x = static_cast<short>(LOWORD(position)), y = static_cast<short>(HIWORD(position));
    if (list[upDownNumber].horizontal) return x < size.cx / 2 ? 1 : 2;
    return y < size.cy / 2 ? 1 : 2;
}

void PaintUpDown(int windowNumber, int upDownNumber) {
    if (!IsSkinWindowNumber(windowNumber)) return;
    auto& list = WindowRecord(windowNumber).upDowns;
    if (!list.Valid(upDownNumber) || !list[upDownNumber].window) return;
    const SkinUpDownRecord record = list[upDownNumber];
    const SIZE size = WindowSize(record.window);
    const int pressedPart = record.pressed ? UpDownPartAt(windowNumber, upDownNumber, record.pressPosition) : 0;
    ComposedBackground background(record.window, RECT{0, 0, size.cx, size.cy});
    if (!background) return;
    {
        SkinGraphics graphics(background.dc());
        graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
        RECT first{}, second{};
        const bool horizontal = record.horizontal != 0;
        SplitHalves(size, horizontal, first, second);
        if (horizontal) {
            PaintHalf(graphics, first, record.hotPart == 1, pressedPart == 1, ArrowLeftGlyph(), kArrowShort, kArrowLong);
            PaintHalf(graphics, second, record.hotPart == 2, pressedPart == 2, ArrowRightGlyph(), kArrowShort, kArrowLong);
        } else {
            PaintHalf(graphics, first, record.hotPart == 1, pressedPart == 1, ArrowUpGlyph(), kArrowLong, kArrowShort);
            PaintHalf(graphics, second, record.hotPart == 2, pressedPart == 2, ArrowDownGlyph(), kArrowLong, kArrowShort);
        }
    }
    WholeWindowDc target(record.window);
    BitBlt(target.get(), 0, 0, size.cx, size.cy, background.dc(), 0, 0, SRCCOPY);
}

LRESULT CALLBACK SkinUpDownProc(HWND upDown, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto member = FindFamilyMember(upDown, &SkinWindowRecord::upDowns);
    if (!member) return CallPreviousProc(upDown, message, wParam, lParam);
    SkinUpDownRecord* record = member.element;
    const WNDPROC previous = record->previousProc;
    const int n = member.window, u = member.number;

    switch (message) {
    case WM_MOVE:
        PaintUpDown(n, u);
        break;
    case WM_PAINT: {
        // Validated (and erased) first, so nothing is laid over the skin's picture.
        { PaintScope paint(upDown); }
        PaintUpDown(n, u);
        return 0;
    }
    case WM_ERASEBKGND:
        SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
        break;
    case WM_NCPAINT:
        return 1;
    case WM_MOUSEMOVE: {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, upDown, 0};
        TrackMouseEvent(&track);
        const int part = UpDownPartAt(n, u, lParam);
        if (part != record->hotPart) {
            record->hotPart = part;
            PaintUpDown(n, u);
        }
        break;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
        record->pressed = message == WM_LBUTTONDOWN ? 1 : 0;
        record->pressPosition = lParam;
        break;
    case WM_MOUSELEAVE:
        record->hotPart = 0;
        PaintUpDown(n, u);
        break;
    default:
        break;
    }
    return CallPreviousProc(previous, upDown, message, wParam, lParam);
}

}  // namespace corvalin
