// Combo boxes drawn entirely by the skin: veiled background, frame, the
// drop-down button with its arrow glyph and the selected text.
#include "skin/families/control_families.h"

#include "skin/control_rects.h"
#include "skin/drawing/drawing_objects.h"
#include "skin/families/family_painting.h"
#include "skin/rounded_paths.h"
#include "skin/skin_color.h"
#include "skin/skin_settings.h"

namespace corvalin {
namespace {

constexpr float kArrowWidth = 7;
constexpr float kArrowHeight = 4;


bool IsEditRepaintNotification(WORD code) {
    return code == EN_VSCROLL || code == EN_HSCROLL || code == EN_CHANGE || code == EN_UPDATE;
}

void DrawComboText(SkinGraphics& graphics, HWND combo, const SkinRectF& layout) {
    char text[512] = {};
    GetWindowTextA(combo, text, sizeof text);
    if (!text[0]) return;
    const SkinControlFont controlFont = GetControlFont(combo);
    SkinFont font;
    if (!font.Create(controlFont.name, static_cast<float>(controlFont.size), controlFont.style, Gdiplus::UnitPoint))
        return;
    SkinStringFormat format;
    format.Create(Gdiplus::StringFormatFlagsNoWrap);
    format.SetAlignment(Gdiplus::StringAlignmentNear);
    format.SetLineAlignment(Gdiplus::StringAlignmentCenter);
    SkinSolidBrush brush(ColorToArgb(static_cast<COLORREF>(GetPropValue(combo, kPropTextColor)), 255, 1));
    graphics.DrawString(text, font, layout, format, brush);
}

}  // namespace

void PaintCombo(int windowNumber, int comboNumber, bool focused, bool hot) {
    if (!IsSkinWindowNumber(windowNumber)) return;
    auto& combos = WindowRecord(windowNumber).combos;
    if (!combos.Valid(comboNumber) || !combos[comboNumber].window) return;
    const HWND combo = combos[comboNumber].window;

    RECT window{};
    GetWindowRect(combo, &window);
    const int w = window.right - window.left, h = window.bottom - window.top;
    const RECT client = ClientRectInWindow(combo);
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    const bool hasInfo = GetComboBoxInfo(combo, &info) != FALSE;
    RECT button = hasInfo ? info.rcButton : RECT{w - 18, 0, w, h};
    OffsetRect(&button, client.left, client.top);
    InflateRect(&button, -1, -1);

    ComposedBackground background(combo, RECT{0, 0, w, h});
    if (!background) return;
    {
        SkinGraphics graphics(background.dc());
        SkinSolidBrush veil(ColorToArgb(0xFFFFFF, SkinVeilOn ? SkinVeilAlpha : 255, 1));
        graphics.FillRectangle(veil, 0, 0, static_cast<float>(w), static_cast<float>(h));

        SkinPen frame(ColorToArgb(hot || focused ? SkinAccentColor : 0, hot || focused ? 200 : 80, 1), 1);
        if (GetWindowLongA(combo, GWL_STYLE) & 0x2) {
            SkinPath outline;
            outline.Create();
            AddEvenRoundRect(outline, 0, 0, static_cast<float>(w - 1), static_cast<float>(h - 1), 4);
            graphics.DrawPath(frame, outline);
        } else {
            graphics.DrawRectangle(frame, 0, 0, static_cast<float>(w - 1), static_cast<float>(h - 1));
        }

        if (!IsRectEmpty(&button)) {
            const float bx = static_cast<float>(button.left), by = static_cast<float>(button.top);
            const float bw = static_cast<float>(button.right - button.left);
            const float bh = static_cast<float>(button.bottom - button.top);
            SkinPath face;
            face.Create();
            AddRoundRect(face, bx, by, bw, bh, 1);
            SkinLinearBrush shade;
            if (shade.Create(0, by, 0, by + bh, ColorToArgb(0xFFFFFF, 100, 1),
                             ColorToArgb(SkinAccentColor, hot ? 150 : 30, 1)))
                graphics.FillPath(shade, face);
            DrawGlyph(graphics, ArrowDownGlyph(), bx + (bw - kArrowWidth) / 2, by + (bh - kArrowHeight) / 2);
        }
        const float textLeft = static_cast<float>(client.left + 3);
        DrawComboText(graphics, combo,
                      SkinRectF{textLeft, 0, static_cast<float>(button.left) - textLeft, static_cast<float>(h)});
    }

    WholeWindowDc target(combo);
    // The inner edit and a list inside the box paint their own areas.
    for (HWND child = GetWindow(combo, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowVisible(child)) continue;
        RECT r{};
        GetWindowRect(child, &r);
        OffsetRect(&r, -window.left, -window.top);
        if (HasWindowClass(child, "ComboLBox")) InflateRect(&r, -2, -2);
        ExcludeClipRect(target.get(), r.left, r.top, r.right, r.bottom);
    }
    BitBlt(target.get(), 0, 0, w, h, background.dc(), 0, 0, SRCCOPY);
}

LRESULT CALLBACK SkinComboProc(HWND combo, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto member = FindFamilyMember(combo, &SkinWindowRecord::combos);
    if (!member) return CallPreviousProc(combo, message, wParam, lParam);
    SkinComboRecord* record = member.element;
    SkinWindowRecord* owner = &member.owner();
    const WNDPROC previous = record->previousProc;
    const int n = member.window, c = member.number;

    switch (message) {
    case WM_MOVE:
        PaintCombo(n, c, false, false);
        break;
    case WM_SETFOCUS:
        record->focused = 1;
        PaintCombo(n, c, true, false);
        break;
    case WM_KILLFOCUS:
        record->focused = 0;
        PaintCombo(n, c, false, false);
        break;
    case WM_SETTEXT:
        if (HWND inner = FindWindowExA(combo, nullptr, "Edit", nullptr)) InvalidateRect(inner, nullptr, TRUE);
        break;
    case WM_PAINT: {
        const bool focused = record->focused != 0;
        {
            PaintScope paint(combo);
            PaintCombo(n, c, focused, false);
        }
        return 0;
    }
    case WM_ERASEBKGND:
        SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
        return 1;
    case WM_NCPAINT:
        PaintCombo(n, c, record->focused != 0, false);
        return DefWindowProcA(combo, message, wParam, lParam);
    case WM_COMMAND: {
        const HWND sender = reinterpret_cast<HWND>(lParam);
        if (sender && HasWindowClass(sender, "Edit") && IsEditRepaintNotification(HIWORD(wParam)))
            InvalidateRect(sender, nullptr, TRUE);
        break;
    }
    case WM_CTLCOLOREDIT:
        if (SkinTransparentControls && SkinVeilOn)
            return reinterpret_cast<LRESULT>(
                StaticControlColor(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam)));
        break;
    case WM_MOUSEMOVE: {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, combo, 0};
        TrackMouseEvent(&track);
        owner->mouseOverControl = c;
        if (owner->hotControl != c || owner->hoverTaken) {
            PaintCombo(n, c, record->focused != 0, true);
            if ((owner = OwningRecord(combo))) {
                owner->hotControl = c;
                owner->hoverTaken = 0;
            }
        }
        break;
    }
    case WM_MOUSELEAVE:
        GiveUpHover(*owner, c);
        PaintCombo(n, c, record->focused != 0, false);
        break;
    default:
        break;
    }
    return CallPreviousProc(previous, combo, message, wParam, lParam);
}

}  // namespace corvalin
