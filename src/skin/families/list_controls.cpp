// List boxes, the drop-down lists of combo boxes, list views, tree views,
// IP-address and date-time controls keep drawing their own items; the skin
// gives them a thin frame and, with the veil on, lets them paint into a
// surface holding the window skin under the white veil and composites that.
#include "skin/families/control_families.h"

#include <commctrl.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "skin/control_rects.h"
#include "skin/drawing/drawing_objects.h"
#include "skin/skin_color.h"
#include "skin/families/family_painting.h"
#include "skin/families/control_frame.h"
#include "skin/skin_settings.h"
#include "skin/skin_surface.h"

namespace corvalin {
namespace {

constexpr COLORREF kTreeKeyColor = 0xFF00FF;   // a veiled tree view's background at rest

bool IsOwnerDrawnListBox(HWND control) {
    return HasWindowClass(control, "ListBox") &&
           (GetWindowLongA(control, GWL_STYLE) & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) != 0;
}

// A remembered memory DC released on every path.
class RememberedDc {
public:
    explicit RememberedDc(HDC dc) : dc_(dc) {}
    RememberedDc(const RememberedDc&) = delete;
    RememberedDc& operator=(const RememberedDc&) = delete;
    ~RememberedDc() { ReleaseMemoryDC(dc_); }
    HDC get() const { return dc_; }
private:
    HDC dc_;
};

// GetDCWithoutChildren as an owner: the DC goes back when it was taken here.
class ChildlessDc {
public:
    ChildlessDc(HWND control, HDC given) : control_(control), taken_(given == nullptr),
        dc_(GetDCWithoutChildren(control, given)) {}
    ChildlessDc(const ChildlessDc&) = delete;
    ChildlessDc& operator=(const ChildlessDc&) = delete;
    ~ChildlessDc() { if (taken_ && dc_) ReleaseDC(control_, dc_); }
    HDC get() const { return dc_; }
private:
    HWND control_;
    bool taken_;
    HDC dc_;
};

SIZE ClientSize(HWND control) {
    RECT client{};
    GetClientRect(control, &client);
    return SIZE{client.right, client.bottom};
}

// The tree paints with a background of `color` into `surface`, filled with
// it first, so parts the tree leaves alone show that colour too.
void PaintTreeOnto(HWND tree, SkinMemorySurface& surface, COLORREF color, SIZE size) {
    CallPreviousProc(tree, TVM_SETBKCOLOR, 0, static_cast<LPARAM>(color));
    CallPreviousProc(tree, TVM_SETTEXTCOLOR, 0, GetPropValue(tree, kPropTextColor));
    RECT all{0, 0, size.cx, size.cy};
    UniqueGdiObject fill(CreateSolidBrush(color));
    FillRect(surface.dc(), &all, static_cast<HBRUSH>(fill.get()));
    CallPreviousProc(tree, WM_PAINT, reinterpret_cast<WPARAM>(surface.dc()), 0);
}

// The tree paints into the window skin. Keying out one background colour
// would keep the text's anti-aliased edges blended with that colour, so the
// tree paints twice, over black and over white: per channel the two
// pictures differ by what the background shows through, and each pixel is
// composed over the veiled skin by exactly that share.
LRESULT PaintTreeOverVeil(HWND tree, WPARAM wParam, LPARAM lParam) {
    const SIZE size{std::max(1L, ClientSize(tree).cx), std::max(1L, ClientSize(tree).cy)};
    RememberedDc veiled(MakeVeiledDC(tree));
    SkinMemorySurface onBlack, onWhite, composed;
    void* black = nullptr;
    void* white = nullptr;
    void* out = nullptr;
    if (veiled.get() && onBlack.CreateDib(size.cx, size.cy, &black) && onWhite.CreateDib(size.cx, size.cy, &white) &&
        composed.CreateDib(size.cx, size.cy, &out)) {
        PaintTreeOnto(tree, onBlack, RGB(0, 0, 0), size);
        PaintTreeOnto(tree, onWhite, RGB(255, 255, 255), size);
        // The resting colour: what the tree answers when asked.
        CallPreviousProc(tree, TVM_SETBKCOLOR, 0, static_cast<LPARAM>(kTreeKeyColor));
        CallPreviousProc(tree, TVM_SETTEXTCOLOR, 0, GetPropValue(tree, kPropTextColor));
        BitBlt(composed.dc(), 0, 0, size.cx, size.cy, veiled.get(), 0, 0, SRCCOPY);
        GdiFlush();
        const auto* b = static_cast<const std::uint8_t*>(black);
        const auto* w = static_cast<const std::uint8_t*>(white);
        auto* o = static_cast<std::uint8_t*>(out);
        const std::size_t bytes = static_cast<std::size_t>(size.cx) * static_cast<std::size_t>(size.cy) * 4;
        for (std::size_t i = 0; i < bytes; ++i) {
            if ((i & 3) == 3) continue;   // the alpha byte
            const int through = std::max(0, w[i] - b[i]);
            o[i] = static_cast<std::uint8_t>(b[i] + (through * o[i] + 127) / 255);
        }
        ChildlessDc target(tree, nullptr);
        BitBlt(target.get(), 0, 0, size.cx, size.cy, composed.dc(), 0, 0, SRCCOPY);
    }
    // Validates the update region, the invalidations of the colour changes too.
    return DefWindowProcA(tree, WM_PAINT, wParam, lParam);
}

// The control paints its items straight onto the veiled surface.
LRESULT PaintOverVeil(HWND control, WPARAM wParam, LPARAM lParam) {
    const SIZE size = ClientSize(control);
    {
        PaintScope paint(control);
        RememberedDc veiled(MakeVeiledDC(control));
        if (veiled.get()) {
            CallPreviousProc(control, WM_PAINT, reinterpret_cast<WPARAM>(veiled.get()), 0);
            ChildlessDc target(control, paint.get());
            BitBlt(target.get(), 0, 0, size.cx, size.cy, veiled.get(), 0, 0, SRCCOPY);
        } else {
            CallPreviousProc(control, WM_PAINT, reinterpret_cast<WPARAM>(paint.get()), 0);
        }
    }
    // A list view's header repaints over the new picture.
    InvalidateChildren(control);
    return DefWindowProcA(control, WM_PAINT, wParam, lParam);
}

void PaintListFrameOf(int n, int l) {
    if (!IsSkinWindowNumber(n)) return;
    const auto& list = WindowRecord(n).listControls;
    if (list.Valid(l)) PaintListFrame(n, l, list[l].hot != 0, list[l].focused != 0);
}

}  // namespace

HDC MakeVeiledDC(HWND control) {
    const RECT r = ClientRectInWindow(control);
    HDC dc = MakeControlBackground(control, r);
    if (!dc) return nullptr;
    SkinGraphics graphics(dc);
    SkinSolidBrush veil(ColorToArgb(0xFFFFFF, SkinVeilAlpha, 1));
    graphics.FillRectangle(veil, 0, 0, static_cast<float>(r.right - r.left), static_cast<float>(r.bottom - r.top));
    return dc;
}

HDC GetDCWithoutChildren(HWND control, HDC dc) {
    if (!dc) dc = GetDC(control);
    if (!dc) return nullptr;
    for (HWND child = GetWindow(control, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowVisible(child)) continue;
        RECT r{};
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, control, reinterpret_cast<POINT*>(&r), 2);
        ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
    }
    return dc;
}

void InvalidateChildren(HWND control) {
    for (HWND child = GetWindow(control, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (IsWindowVisible(child)) InvalidateRect(child, nullptr, TRUE);
}

void SkinListControls(int windowNumber, HWND parent) {
    if (!SkinTransparentControls || !IsSkinWindowNumber(windowNumber)) return;
    auto registerList = [windowNumber](HWND control) {
        return RegisterControl(WindowRecord(windowNumber).listControls, windowNumber, control, SkinListProc) != 0;
    };
    auto eachChild = [parent](const char* className, auto&& action) {
        for (HWND c = FindWindowExA(parent, nullptr, className, nullptr); c; c = FindWindowExA(parent, c, className, nullptr))
            action(c);
    };
    eachChild("ListBox", registerList);
    eachChild("ComboBox", [&](HWND combo) {
        if (GetWindowLongA(combo, GWL_STYLE) & CBS_OWNERDRAWFIXED) return;
        COMBOBOXINFO info{};
        info.cbSize = sizeof info;
        if (GetComboBoxInfo(combo, &info) && info.hwndList) registerList(info.hwndList);
    });
    eachChild(WC_LISTVIEWA, [&](HWND list) {
        if (registerList(list) && SkinVeilOn) SendMessageA(list, LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(CLR_NONE));
    });
    eachChild(WC_TREEVIEWA, [&](HWND tree) {
        if (!registerList(tree) || !SkinVeilOn) return;
        SendMessageA(tree, TVM_SETBKCOLOR, 0, static_cast<LPARAM>(kTreeKeyColor));
        // Left to itself the tree takes a text colour near its new background.
        SendMessageA(tree, TVM_SETTEXTCOLOR, 0, GetPropValue(tree, kPropTextColor));
    });
    eachChild(WC_IPADDRESSA, registerList);
    eachChild(DATETIMEPICK_CLASSA, registerList);
}

void PaintListFrame(int windowNumber, int listNumber, bool hot, bool focused) {
    if (!IsSkinWindowNumber(windowNumber)) return;
    auto& list = WindowRecord(windowNumber).listControls;
    if (!list.Valid(listNumber) || !list[listNumber].window) return;
    const HWND control = list[listNumber].window;
    const bool dropDown = HasWindowClass(control, "ComboLBox");
    ControlFrameLook look;
    look.color = hot || focused ? SkinAccentColor : 0;
    look.alpha = hot || focused ? 200 : 90;
    look.clearAlpha = SkinVeilOn ? SkinVeilAlpha : 255;
    look.bordered = dropDown || HasBorder(control);
    PaintControlFrame(control, look);
}

LRESULT CALLBACK SkinListProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto member = FindFamilyMember(control, &SkinWindowRecord::listControls);
    if (!member) return CallPreviousProc(control, message, wParam, lParam);
    SkinListRecord* record = member.element;
    SkinWindowRecord* owner = &member.owner();
    const WNDPROC previous = record->previousProc;
    const int n = member.window, l = member.number;

    switch (message) {
    case WM_MOUSEMOVE:
        if (TakeHover(control, *owner, l)) {
            record->hot = 1;
            PaintListFrame(n, l, true, record->focused != 0);
        }
        break;
    case WM_MOUSELEAVE:
        GiveUpHover(*owner, l);
        record->hot = 0;
        PaintListFrame(n, l, false, record->focused != 0);
        break;
    case WM_MOVE:
    case WM_VSCROLL:
    case WM_HSCROLL:
    case WM_MOUSEWHEEL: {
        // Scrolled pixels would carry the old background along: the whole
        // control repaints once the scroll is done.
        const LRESULT result = CallPreviousProc(control, message, wParam, lParam);
        if (SkinVeilOn) InvalidateRect(control, nullptr, TRUE);
        return result;
    }
    case WM_ERASEBKGND:
        if (!SkinVeilOn || IsOwnerDrawnListBox(control)) break;
        SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
        if (HasWindowClass(control, "ComboLBox")) {
            PaintEditBackground(control, reinterpret_cast<HDC>(wParam), true);
            SetTextColor(reinterpret_cast<HDC>(wParam), static_cast<COLORREF>(GetPropValue(control, kPropTextColor)));
        }
        return 1;
    case WM_PAINT: {
        PaintListFrameOf(n, l);
        LRESULT result;
        if (!SkinVeilOn || IsOwnerDrawnListBox(control))
            result = CallPreviousProc(control, message, wParam, lParam);
        else if (HasWindowClass(control, WC_TREEVIEWA))
            result = PaintTreeOverVeil(control, wParam, lParam);
        else
            result = PaintOverVeil(control, wParam, lParam);
        // A border the control draws inside its client area is covered again.
        if (BorderInsideClient(control)) PaintListFrameOf(n, l);
        return result;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        record->focused = message == WM_SETFOCUS ? 1 : 0;
        PaintListFrame(n, l, record->hot != 0, record->focused != 0);
        break;
    case WM_NCPAINT: {
        PaintListFrame(n, l, record->hot != 0, record->focused != 0);
        if (HasScrollBars(control)) {
            UniqueRegion bars = ScrollBarRegion(control);
            return DefWindowProcA(control, WM_NCPAINT, reinterpret_cast<WPARAM>(bars.get()), lParam);
        }
        return DefWindowProcA(control, WM_NCPAINT, static_cast<WPARAM>(-1), lParam);
    }
    case WM_KEYDOWN:
        if (wParam >= VK_LEFT && wParam <= VK_DOWN) record->arrowKeyHeld = 1;
        break;
    case WM_KEYUP:
        ReleaseCapture();
        record->arrowKeyHeld = 0;
        break;
    default:
        break;
    }
    return CallPreviousProc(previous, control, message, wParam, lParam);
}

}  // namespace corvalin
