#include "skin/families/control_frame.h"

#include "skin/control_rects.h"
#include "skin/drawing/drawing_objects.h"
#include "skin/families/control_families.h"
#include "skin/families/family_painting.h"
#include "skin/skin_color.h"

namespace corvalin {

bool HasBorder(HWND control) {
    const LONG style = GetWindowLongA(control, GWL_STYLE);
    const LONG exStyle = GetWindowLongA(control, GWL_EXSTYLE);
    return (style & (WS_BORDER | WS_DLGFRAME)) != 0 ||
           (exStyle & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE | WS_EX_WINDOWEDGE | WS_EX_DLGMODALFRAME)) != 0;
}

bool BorderInsideClient(HWND control) {
    RECT window{}, client{};
    GetWindowRect(control, &window);
    GetClientRect(control, &client);
    if (window.right - window.left != client.right || window.bottom - window.top != client.bottom) return false;
    if (HasBorder(control)) return true;
    // Wine's edit box takes WS_BORDER out of its style and draws the line
    // itself; its text then starts inside that line.
    if (!HasWindowClass(control, "Edit") || HasWindowClass(GetParent(control), "ComboBox")) return false;
    RECT text{};
    SendMessageA(control, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&text));
    return text.left >= 1 && text.top >= 1;
}

int VisibleScrollBars(HWND window, RECT (&bars)[2]) {
    int count = 0;
    for (LONG object : {OBJID_HSCROLL, OBJID_VSCROLL}) {
        SCROLLBARINFO info{};
        info.cbSize = sizeof info;
        if (!GetScrollBarInfo(window, object, &info)) continue;
        if (info.rgstate[0] & (STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN)) continue;
        if (IsRectEmpty(&info.rcScrollBar)) continue;
        bars[count++] = info.rcScrollBar;
    }
    return count;
}

bool HasScrollBars(HWND window) {
    return (GetWindowLongA(window, GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL)) != 0;
}

UniqueRegion ScrollBarRegion(HWND window) {
    UniqueRegion region(CreateRectRgn(0, 0, 0, 0));
    RECT bars[2];
    const int count = VisibleScrollBars(window, bars);
    for (int i = 0; i < count; ++i) {
        UniqueRegion bar(CreateRectRgnIndirect(&bars[i]));
        CombineRgn(region.get(), region.get(), bar.get(), RGN_OR);
    }
    return region;
}

void PaintControlFrame(HWND control, const ControlFrameLook& look) {
    RECT window{};
    GetWindowRect(control, &window);
    const int w = window.right - window.left, h = window.bottom - window.top;
    ComposedBackground background(control, RECT{0, 0, w, h});
    if (!background) return;
    {
        SkinGraphics graphics(background.dc());
        SkinSolidBrush veil(ColorToArgb(0xFFFFFF, look.clearAlpha, 1));
        graphics.FillRectangle(veil, 0, 0, static_cast<float>(w), static_cast<float>(h));
        if (look.bordered) {
            SkinPen pen(ColorToArgb(look.color, look.alpha, 1), static_cast<float>(look.penWidth));
            if (look.penWidth >= 2)
                graphics.DrawRectangle(pen, 1, 1, static_cast<float>(w - 2), static_cast<float>(h - 2));
            else
                graphics.DrawRectangle(pen, 0, 0, static_cast<float>(w - 1), static_cast<float>(h - 1));
        }
    }
    WholeWindowDc target(control);
    if (BorderInsideClient(control)) {
        // The control draws its own border in its client area: cover it.
        ExcludeClipRect(target.get(), kFrameInsideClient, kFrameInsideClient, w - kFrameInsideClient,
                        h - kFrameInsideClient);
    } else {
        // Only the border is replaced: the client area and the scroll bars
        // keep what the control and the system paint there.
        const RECT client = ClientRectInWindow(control);
        ExcludeClipRect(target.get(), client.left, client.top, client.right, client.bottom);
        RECT bars[2];
        const int count = VisibleScrollBars(control, bars);
        for (int i = 0; i < count; ++i)
            ExcludeClipRect(target.get(), bars[i].left - window.left, bars[i].top - window.top,
                            bars[i].right - window.left, bars[i].bottom - window.top);
    }
    BitBlt(target.get(), 0, 0, w, h, background.dc(), 0, 0, SRCCOPY);
}

}  // namespace corvalin
