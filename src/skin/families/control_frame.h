// The thin frame the skin draws around edit boxes and list-type controls, in
// place of the border the system would draw. Most controls keep their border
// in the non-client area; some (an edit box with WS_BORDER under Wine) draw it
// inside their client area, and the frame is then painted over that.
#pragma once
#include <windows.h>

namespace corvalin {

struct ControlFrameLook {
    COLORREF color = 0;
    int alpha = 80;
    int penWidth = 1;        // 2 draws around (1, 1, w - 2, h - 2), 1 around (0, 0, w - 1, h - 1)
    int clearAlpha = 255;    // the white laid over the skin before the frame
    bool bordered = true;    // false clears the frame area only
};

// The style asks for a border (WS_BORDER, a dialog frame or an edge).
bool HasBorder(HWND control);
// The control has no non-client area but draws a border inside its client
// area, so the skin's frame must cover the outer pixels of the client.
bool BorderInsideClient(HWND control);
// Pixels of the client area the frame covers in that case.
inline constexpr int kFrameInsideClient = 2;

// Composes the skin behind the whole window, lays the white over it, draws
// the frame and copies it to the window DC, leaving the client area (or, for
// a border inside the client, all but its outer pixels) and the scroll bars
// alone.
void PaintControlFrame(HWND control, const ControlFrameLook& look);

// Window rectangles of the visible scroll bars, in screen coordinates.
int VisibleScrollBars(HWND window, RECT (&bars)[2]);

}  // namespace corvalin
