#include "skin/control_rects.h"
#include "skin/skin_window_list.h"

namespace corvalin {

namespace {

RECT Offset(const RECT& r, int dx, int dy) { return {r.left - dx, r.top - dy, r.right - dx, r.bottom - dy}; }

// floor of a possibly negative half.
int FloorHalf(int value) { return value >= 0 ? value / 2 : -((-value + 1) / 2); }

}  // namespace

RECT ClientRectInWindow(HWND control) {
    RECT window{}, client{};
    GetWindowRect(control, &window);
    GetClientRect(control, &client);
    const LONG_PTR style = GetWindowLongPtrA(control, GWL_STYLE);
    const int width = window.right - window.left, height = window.bottom - window.top;
    const int cw = client.right, ch = client.bottom;
    RECT r;
    r.left = FloorHalf(width - (cw + ((style & WS_VSCROLL) ? 17 : 0)));
    r.top = FloorHalf(height - (ch + ((style & WS_HSCROLL) ? 17 : 0)));
    r.right = r.left + cw;
    r.bottom = r.top + ch;
    return r;
}

RECT RectRelativeTo(HWND reference, HWND window) {
    RECT a{}, b{};
    GetWindowRect(reference, &a);
    GetWindowRect(window, &b);
    return Offset(b, a.left, a.top);
}

RECT RectInRootWindow(HWND control) { return RectRelativeTo(GetAncestor(control, GA_ROOT), control); }

RECT ControlOffsetInWindow(HWND control) {
    if (FindWindowRecord(control) != 0) return {};
    const int n = FindOwnerRecord(control);
    if (n == 0) return {};
    const SkinWindowRecord& record = WindowRecord(n);
    HWND ancestor = GetParent(control);
    while (ancestor && ancestor != record.window && record.containers.Find(ancestor) == 0)
        ancestor = GetParent(ancestor);
    if (!ancestor) return {};
    return RectRelativeTo(ancestor, control);
}

int FindContainerAncestor(int windowNumber, HWND control, HWND stop) {
    if (!IsSkinWindowNumber(windowNumber)) return 0;
    const SkinWindowRecord& record = WindowRecord(windowNumber);
    for (HWND ancestor = GetParent(control); ancestor && ancestor != stop; ancestor = GetParent(ancestor)) {
        const int c = record.containers.Find(ancestor);
        if (c != 0 && record.containers[c].containerFlag != 0) return c;
    }
    return 0;
}

}  // namespace corvalin
