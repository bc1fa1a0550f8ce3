// Rectangle arithmetic between controls, their windows and the skinned
// top-level window they sit in.
#pragma once
#include <windows.h>

namespace corvalin {

// Where the control's client area lies inside its window rectangle; each
// scroll bar counts 17 pixels.
RECT ClientRectInWindow(HWND control);
// b's window rectangle relative to a's window rectangle.
RECT RectRelativeTo(HWND reference, HWND window);
// The control's window rectangle relative to its root window.
RECT RectInRootWindow(HWND control);
// The control's window rectangle relative to its owning registered window or
// the registered container of it met first; all zero for a registered window.
RECT ControlOffsetInWindow(HWND control);
// Number, in window w's container list, of the first ancestor of the control
// that is registered there with its container flag set; 0 at stop or when the
// chain ends.
int FindContainerAncestor(int windowNumber, HWND control, HWND stop);

}  // namespace corvalin
