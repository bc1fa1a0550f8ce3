// Edit boxes keep their own text drawing; their background becomes the skin
// behind them under the white veil, and their border a thin frame drawn by the
// skin that takes the accent colour while the box has the focus or the mouse.
#include "skin/families/control_families.h"

#include "skin/control_rects.h"
#include "skin/families/control_frame.h"
#include "skin/drawing/drawing_objects.h"
#include "skin/families/family_painting.h"
#include "skin/skin_color.h"
#include "skin/skin_settings.h"

namespace corvalin {
namespace {

SkinEditRecord* FindEdit(HWND edit) { return FindFamilyElement(edit, &SkinWindowRecord::edits); }

bool InsideCombo(HWND edit) { return HasWindowClass(GetParent(edit), "ComboBox"); }

void InvalidateWhenVeiled(HWND edit) {
    if (SkinVeilOn) InvalidateRect(edit, nullptr, TRUE);
}

}  // namespace

void SkinEditControls(int windowNumber, HWND parent) {
    if (!SkinTransparentControls || !IsSkinWindowNumber(windowNumber)) return;
    auto registerEdit = [windowNumber](HWND edit) {
        if (RegisterControl(WindowRecord(windowNumber).edits, windowNumber, edit, SkinEditProc))
            SetPropValue(edit, kPropTextColor, 0);   // black text on the veil
    };
    for (HWND e = FindWindowExA(parent, nullptr, "Edit", nullptr); e; e = FindWindowExA(parent, e, "Edit", nullptr))
        registerEdit(e);
    for (HWND c = FindWindowExA(parent, nullptr, "ComboBox", nullptr); c;
         c = FindWindowExA(parent, c, "ComboBox", nullptr)) {
        if (WindowRecord(windowNumber).combos.Find(c)) continue;
        const LRESULT selection = SendMessageA(c, CB_GETCURSEL, 0, 0);
        if (selection >= 0) {
            const LRESULT length = SendMessageA(c, CB_GETLBTEXTLEN, selection, 0);
            if (length >= 0) {
                std::string text(static_cast<std::size_t>(length) + 1, '\0');
                SendMessageA(c, CB_GETLBTEXT, selection, reinterpret_cast<LPARAM>(text.data()));
                SendMessageA(c, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
            }
        }
        RegisterControl(WindowRecord(windowNumber).combos, windowNumber, c, SkinComboProc);
        if (SkinVeilOn)
            if (HWND inner = FindWindowExA(c, nullptr, "Edit", nullptr)) registerEdit(inner);
    }
}

LRESULT CALLBACK SkinEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto member = FindFamilyMember(edit, &SkinWindowRecord::edits);
    if (!member) return CallPreviousProc(edit, message, wParam, lParam);
    SkinEditRecord* record = member.element;
    SkinWindowRecord* owner = &member.owner();
    const WNDPROC previous = record->previousProc;
    const int number = member.number;

    switch (message) {
    case WM_DESTROY:
        DeleteControlColorObjects(edit);
        break;
    case WM_MOVE:
    case WM_HSCROLL:
    case WM_VSCROLL:
        InvalidateWhenVeiled(edit);
        break;
    case WM_SETFOCUS:
        record->focused = 1;
        break;
    case WM_KILLFOCUS:
        record->focused = 0;
        if (InsideCombo(edit)) PaintEditFrame(edit, false, false);
        else InvalidateRect(edit, nullptr, TRUE);
        break;
    case WM_PAINT: {
        PaintEditFrame(edit, false, false);   // before the edit paints its text
        if (!BorderInsideClient(edit)) break;
        // The edit draws its border in its client area: the frame goes over it
        // afterwards, in the look the box has now.
        const LRESULT result = CallPreviousProc(edit, message, wParam, lParam);
        if ((owner = OwningRecord(edit)) && (record = FindEdit(edit))) {
            const bool hot = owner->hotControl == number && owner->hoverTaken == 1 &&
                             owner->hotEditParent == GetParent(edit);
            PaintEditFrame(edit, record->focused != 0, hot);
        }
        return result;
    }
    case WM_ERASEBKGND:
        if (SkinVeilOn) {
            SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
            PaintEditBackground(edit, reinterpret_cast<HDC>(wParam), true);
            return 1;
        }
        break;
    case WM_NCPAINT:
        PaintEditFrame(edit, false, false);
        if (HasScrollBars(edit)) {
            // Only the scroll bars are left to the system.
            UniqueRegion bars = ScrollBarRegion(edit);
            return DefWindowProcA(edit, WM_NCPAINT, reinterpret_cast<WPARAM>(bars.get()), lParam);
        }
        return DefWindowProcA(edit, WM_NCPAINT, static_cast<WPARAM>(-1), lParam);
    case WM_KEYDOWN:
        if (!HasScrollBars(edit)) InvalidateWhenVeiled(edit);
        break;
    case WM_MOUSEMOVE: {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, edit, 0};
        TrackMouseEvent(&track);
        owner->mouseOverControl = number;
        const HWND parent = GetParent(edit);
        if (owner->hotControl != number || (owner->hoverTaken == 1 && owner->hotEditParent != parent)) {
            PaintEditFrame(edit, false, true);
            owner = OwningRecord(edit);
            record = FindEdit(edit);
            if (!owner || !record) break;
            owner->hotControl = owner->mouseOverControl;
            owner->hoverTaken = 1;
            owner->hotEditParent = parent;
        }
        // A drag selection scrolls the text over the transparent background.
        if (record->selecting && !HasScrollBars(edit)) InvalidateRect(edit, nullptr, TRUE);
        break;
    }
    case WM_LBUTTONDOWN:
        record->selecting = 1;
        if (!HasScrollBars(edit)) InvalidateWhenVeiled(edit);
        break;
    case WM_LBUTTONUP:
        record->selecting = 0;
        break;
    case WM_MOUSELEAVE:
        GiveUpHover(*owner, number, GetParent(edit));
        PaintEditFrame(edit, record->focused != 0, false);
        break;
    default:
        break;
    }
    return CallPreviousProc(previous, edit, message, wParam, lParam);
}

void PaintEditFrame(HWND edit, bool focused, bool hot) {
    ControlFrameLook look;
    look.penWidth = hot ? 2 : 1;
    look.color = hot || focused ? SkinAccentColor : 0;
    look.alpha = hot || focused ? 180 : 80;
    look.clearAlpha = SkinVeilOn ? SkinVeilAlpha : 255;
    PaintControlFrame(edit, look);
}

void PaintEditBackground(HWND edit, HDC dc, bool toClient) {
    const RECT r = ClientRectInWindow(edit);
    ComposedBackground background(edit, r);
    if (!background) return;
    {
        SkinGraphics graphics(background.dc());
        SkinSolidBrush veil(ColorToArgb(0xFFFFFF, SkinVeilAlpha, 1));
        graphics.FillRectangle(veil, 0, 0, static_cast<float>(background.width()),
                               static_cast<float>(background.height()));
    }
    if (toClient) {
        BitBlt(dc, 0, 0, background.width(), background.height(), background.dc(), 0, 0, SRCCOPY);
    } else {
        WholeWindowDc target(edit);
        BitBlt(target.get(), r.left, r.top, background.width(), background.height(), background.dc(), 0, 0, SRCCOPY);
    }
}

}  // namespace corvalin
