// Labels, picture boxes, drawing boards and shape boxes over the skin: the
// control paints itself, then its own face colour is keyed out so that only
// its text and drawing land on the window's skin.
#include "skin/families/control_families.h"

#include "skin/control_rects.h"
#include "skin/drawing/drawing_objects.h"
#include "skin/families/family_painting.h"
#include "skin/skin_color.h"
#include "skin/skin_engine.h"
#include "skin/skin_settings.h"

namespace corvalin {
namespace {

SkinStaticRecord* FindStatic(HWND control) {
    const int window = static_cast<int>(GetPropValue(control, kPropStaticOwnerId));
    const int number = static_cast<int>(GetPropValue(control, kPropStaticListId));
    if (!IsSkinWindowNumber(window)) return nullptr;
    auto& list = WindowRecord(window).statics;
    if (!list.Valid(number) || list[number].window != control) return nullptr;
    return &list[number];
}

// Common controls that paint into the device context passed in wParam.
bool PaintsIntoGivenDc(HWND control) {
    for (const char* name : {"SysMonthCal32", "SysTabControl32", "ToolbarWindow32", "msctls_statusbar32", "Button",
                             "msctls_trackbar32"})
        if (HasWindowClass(control, name)) return true;
    return false;
}

LRESULT PaintCommonControl(HWND control, COLORREF key, WPARAM wParam, LPARAM lParam) {
    const RECT area = ClientRectInWindow(control);
    ComposedBackground drawn(control, area);
    if (!drawn) return CallPreviousStaticProc(control, WM_PAINT, wParam, lParam);
    PaintScope paint(control);
    const LRESULT result = CallPreviousStaticProc(control, WM_PAINT, reinterpret_cast<WPARAM>(drawn.dc()), 0);
    ComposedBackground veiled(control, area);
    if (veiled) {
        {
            SkinGraphics graphics(veiled.dc());
            SkinSolidBrush veil(ColorToArgb(0xFFFFFF, SkinVeilAlpha, 1));
            graphics.FillRectangle(veil, 0, 0, static_cast<float>(veiled.width()), static_cast<float>(veiled.height()));
        }
        TransparentBlt(veiled.dc(), 0, 0, veiled.width(), veiled.height(), drawn.dc(), 0, 0, drawn.width(),
                       drawn.height(), key);
        BitBlt(paint.get(), 0, 0, veiled.width(), veiled.height(), veiled.dc(), 0, 0, SRCCOPY);
    }
    return result;
}

LRESULT PaintOverSkin(HWND control, COLORREF key, WPARAM wParam, LPARAM lParam) {
    RECT rect{};
    if (!GetUpdateRect(control, &rect, FALSE)) return CallPreviousStaticProc(control, WM_PAINT, wParam, lParam);
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    WindowDc dc(control);
    LRESULT result = 0;
    {
        ComposedBackground background(control, rect);
        // The control's client point (rect.left, rect.top) lands on the
        // surface's origin, and so does its colour brush's pattern.
        POINT viewport{}, brush{};
        SetViewportOrgEx(background.dc(), -rect.left, -rect.top, &viewport);
        SetBrushOrgEx(background.dc(), -rect.left, -rect.top, &brush);
        result = CallPreviousStaticProc(control, WM_PAINT, reinterpret_cast<WPARAM>(background.dc()), 0);
        SetViewportOrgEx(background.dc(), viewport.x, viewport.y, nullptr);
        SetBrushOrgEx(background.dc(), brush.x, brush.y, nullptr);
        // A control that paints into the DC it is given (the system's static
        // control) leaves its update region and its screen alone: its picture
        // is on the surface already, and its pixels on the screen are stale.
        // One that paints with BeginPaint is taken from the screen.
        const bool paintedGivenDc = GetUpdateRect(control, nullptr, FALSE) != FALSE;
        if (background) {
            if (!paintedGivenDc)
                TransparentBlt(background.dc(), 0, 0, w, h, dc.get(), rect.left, rect.top, w, h, key);
            BitBlt(dc.get(), rect.left, rect.top, w, h, background.dc(), 0, 0, SRCCOPY);
        }
    }
    // A control that painted only into the given DC leaves its update region
    // behind; without this it would be asked to paint again at once, forever.
    ValidateRect(control, nullptr);
    for (HWND child = GetWindow(control, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (IsWindowVisible(child)) InvalidateRect(child, nullptr, TRUE);
    return result;
}

}  // namespace

int SkinEngine::SkinStaticControl(HWND control, std::optional<COLORREF> keyColor, COLORREF panelColor,
                                  int panelOpacity) {
    if (!control) return 0;
    const int n = FindOwnerRecord(control);
    if (n == 0) return 0;
    const int number = RegisterStaticControl(WindowRecord(n).statics, n, control, SkinStaticProc);
    if (number) WindowRecord(n).statics[number].keyColor = keyColor.value_or(GetSysColor(COLOR_BTNFACE));
    // It relays its children's messages, but is neither painted by the skin
    // nor a container ancestor of them.
    if (FindWindowExA(control, nullptr, nullptr, nullptr))
        return SkinContainer(control, 0, panelColor, panelOpacity, std::nullopt);
    return 0;
}

LRESULT CALLBACK SkinStaticProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    SkinStaticRecord* record = FindStatic(control);
    if (!record) return CallPreviousStaticProc(control, message, wParam, lParam);
    const WNDPROC previous = record->previousProc;
    switch (message) {
    case WM_MOVE:
        if (SkinVeilOn) InvalidateRect(control, nullptr, FALSE);
        break;
    case WM_ERASEBKGND:
        if (!SkinVeilOn) break;
        SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
        return 1;
    case WM_HSCROLL:
    case WM_VSCROLL:
        if (HasWindowClass(control, "RichEdit20A")) InvalidateRect(control, nullptr, FALSE);
        break;
    case WM_PAINT:
        if (!SkinTransparentControls) break;
        if (PaintsIntoGivenDc(control)) return PaintCommonControl(control, record->keyColor, wParam, lParam);
        return PaintOverSkin(control, record->keyColor, wParam, lParam);
    default:
        break;
    }
    return CallPreviousProc(previous, control, message, wParam, lParam);
}

}  // namespace corvalin
