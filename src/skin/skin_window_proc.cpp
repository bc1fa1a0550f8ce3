// The window procedure of every skinned top-level window: a table of
// messages, each handled by a short routine, then passed on unchanged to the
// procedure the window had before, except where a handler answers itself.
#include <windows.h>
#include <commctrl.h>
#include <objidl.h>
#include <gdiplus.h>

#include "base/unique.h"
#include "skin/families/control_families.h"
#include "skin/families/family_painting.h"
#include "skin/skin_engine.h"
#include "skin/skin_settings.h"
#include "skin/skin_window_list.h"
#include "skin/working_set.h"

namespace corvalin {
namespace {

constexpr int kHoverSteps = 8;

int TaskbarHeight() {
    const HWND taskbar = FindWindowA("Shell_TrayWnd", nullptr);
    RECT r{};
    if (!taskbar || !GetWindowRect(taskbar, &r)) return 0;
    return r.bottom - r.top;
}

POINT PointOf(LPARAM position) {
    return POINT{static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
}

bool ControlsVeiled() { return SkinTransparentControls && SkinVeilOn; }

void OnSkinSize(SkinEngine& engine, int n) {
    SkinWindowRecord& record = WindowRecord(n);
    record.hoveredButton = 0;
    if (SkinFirstSize) {
        record.repaintAll = 0;
        SkinFirstSize = 0;
    } else {
        record.repaintAll = 1;
    }
    engine.OnWindowSized(n);
}

void OnSkinSetText(SkinEngine& engine, int n, LPARAM text) {
    const SkinWindowRecord& record = WindowRecord(n);
    if (!record.titleShown || !record.captionButtonsActive) return;
    engine.DrawTitle(n, nullptr, false, std::string(text ? reinterpret_cast<const char*>(text) : ""));
}

// The caption buttons' tips are made once the window is on the screen and
// the queue is empty, so loading comctl32 for them never delays the window.
void CALLBACK RealiseToolTipNow(HWND window, UINT, UINT_PTR timer, DWORD) {
    KillTimer(window, timer);
    if (const int n = FindWindowRecord(window)) WindowRecord(n).toolTip.Realise();
}

void RealiseToolTipSoon(const SkinWindowRecord& record) {
    static const char timerName = 0;   // its address: an id no form's own timer has
    if (!record.toolTip.Window() && record.toolTip.Owner())
        SetTimer(record.window, reinterpret_cast<UINT_PTR>(&timerName), USER_TIMER_MINIMUM, RealiseToolTipNow);
}

// The paint is complete after EndPaint: a further paint by DefWindowProc
// would only repeat BeginPaint and EndPaint over an empty update region.
LRESULT OnSkinPaint(SkinEngine& engine, int n) {
    PaintScope paint(WindowRecord(n).window);
    SkinWindowRecord& record = WindowRecord(n);
    if (record.minimized) return 0;
    // A window skinned while already visible has no cache yet: build it now.
    // A size the cache was not built for (a first size message taken as the
    // skin's own, while the window grew) rebuilds it and the region too.
    RECT client{};
    GetClientRect(record.window, &client);
    const SIZE built = record.staticLayer.regionSize;
    const bool resized = built.cx != client.right || built.cy != client.bottom;
    if (record.repaintAll || !record.backgroundCache.dc() || resized) {
        engine.PaintWindowSkin(n, paint.get(), true);
        if (IsSkinWindowNumber(n)) WindowRecord(n).repaintAll = 0;
    } else {
        engine.PaintFromCache(n, paint.get());
    }
    if (IsSkinWindowNumber(n)) RealiseToolTipSoon(WindowRecord(n));
    return 0;
}

void OnSkinShow(SkinEngine& engine, int n) {
    SkinWindowRecord& record = WindowRecord(n);
    if (record.minimized) {
        record.minimized = 0;
        return;
    }
    PaintScope paint(record.window);
    engine.PaintWindowSkin(n, paint.get(), true);
}

void OnSkinGetMinMaxInfo(int n, MINMAXINFO* info) {
    if (!info) return;
    const SkinWindowRecord& record = WindowRecord(n);
    if (record.maximized) {
        info->ptMaxTrackSize = POINT{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN) - TaskbarHeight()};
    } else {
        info->ptMaxTrackSize = POINT{record.screenWidth, record.screenHeight};
    }
    info->ptMinTrackSize = POINT{record.minTrackWidth, record.minTrackHeight};
}

void OnSkinDrawItem(int n, const DRAWITEMSTRUCT* item) {
    if (!item || item->CtlType != ODT_BUTTON) return;
    const DRAWITEMSTRUCT copy = *item;   // the painter may send messages that reuse the sender's copy
    DrawOwnerButton(n, copy);
}

void OnSkinWindowPosChanged(SkinEngine& engine, int n) {
    const HWND window = WindowRecord(n).window;
    if (WindowRecord(n).maximizeBox) {
        RECT client{};
        GetClientRect(window, &client);
        const int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
        const int workHeight = screenHeight - TaskbarHeight();
        // Without a taskbar the window already has the size it would get; asking
        // again would only bring this message back.
        if (client.right == screenWidth && client.bottom == screenHeight && workHeight != screenHeight) {
            WindowRecord(n).maximized = 1;
            SetWindowPos(window, nullptr, 0, 0, screenWidth, workHeight, SWP_NOZORDER | SWP_NOOWNERZORDER);
        }
    }
    const int now = FindWindowRecord(window);
    if (!now) return;
    engine.LayoutCaptionButtons(now);
    if (WindowRecord(now).menuBarHeight > 0) engine.LayoutMenuBar(now);
}

void OnSkinNotify(const NMHDR* header) {
    if (!header) return;
    if (header->code == TVN_ITEMEXPANDINGA || header->code == TVN_ITEMEXPANDEDA) {
        InvalidateRect(header->hwndFrom, nullptr, TRUE);
    }
}

void OnSkinCommand(WPARAM wParam, LPARAM lParam) {
    if (!ControlsVeiled() || !lParam) return;
    const HWND sender = reinterpret_cast<HWND>(lParam);
    const UINT code = HIWORD(wParam);
    const bool repaint =
        (HasWindowClass(sender, "Edit") && (code == EN_VSCROLL || code == EN_HSCROLL || code == EN_CHANGE || code == EN_UPDATE)) ||
        (HasWindowClass(sender, "ListBox") && (code == LBN_SELCHANGE || code == LBN_SELCANCEL)) ||
        (HasWindowClass(sender, "ComboBox") && (code == CBN_KILLFOCUS || code == CBN_SELCHANGE));
    if (repaint) InvalidateRect(sender, nullptr, TRUE);
}

void OnSkinSysCommand(int n, WPARAM command) {
    SkinWindowRecord& record = WindowRecord(n);
    // The low four bits are the system's own.
    switch (command & 0xFFF0) {
    case SC_MAXIMIZE: record.maximized = 1; record.repaintAll = 1; break;
    case SC_RESTORE: record.repaintAll = 1; record.minimized = 0; break;
    case SC_MINIMIZE: record.repaintAll = 1; record.minimized = 1; break;
    default: break;
    }
}

void OnSkinHoverTimer(SkinEngine& engine, int n) {
    SkinWindowRecord& record = WindowRecord(n);
    if (record.fadeIn.button && record.fadeIn.step <= kHoverSteps - 1) {
        ++record.fadeIn.step;
        engine.DrawCaptionButton(n, record.fadeIn.button, nullptr, false, false, record.fadeIn.step * 30);
    }
    if (record.fadeOut.button && record.fadeOut.step <= kHoverSteps - 1) {
        ++record.fadeOut.step;
        engine.DrawCaptionButton(n, record.fadeOut.button, nullptr, false, false, 240 - record.fadeOut.step * 30);
    }
    const bool fadeOutOver = !record.fadeOut.button || record.fadeOut.step > kHoverSteps - 1;
    if ((!record.mouseTracking || !record.hoverTimerRunning) && fadeOutOver) {
        record.hoverTimerRunning = 0;
        KillTimer(record.window, reinterpret_cast<UINT_PTR>(record.window));
        record.hoveredButton = 0;
        record.fadeIn = {};
        record.fadeOut = {};
    }
}

void OnSkinMouseMove(SkinEngine& engine, int n, LPARAM position) {
    SkinWindowRecord& record = WindowRecord(n);
    RECT client{};
    GetClientRect(record.window, &client);
    if (!record.mouseTracking) {
        TRACKMOUSEEVENT track{sizeof(track), TME_HOVER | TME_LEAVE, record.window, 1};
        TrackMouseEvent(&track);
    }
    if (!record.captionButtonsActive) return;
    const POINT p = PointOf(position);
    const auto& strip = record.captionStrip;
    const bool inStrip = p.x >= strip.x - 2 && p.x <= strip.x + strip.width && p.y >= 0 && p.y <= strip.height;
    if (inStrip) {
        if (!record.hoverTimerRunning) {
            SetTimer(record.window, reinterpret_cast<UINT_PTR>(record.window), 20, nullptr);
            record.hoverTimerRunning = 1;
        }
    } else {
        record.hoverTimerRunning = 0;
    }
    const int hit = engine.HitTestCaptionButton(n, p.x, p.y);
    engine.hitCaptionButton = hit;
    if (record.hoveredButton && record.hoveredButton != hit) {
        if (record.fadeOut.step < kHoverSteps) engine.DrawCaptionButton(n, record.fadeOut.button, nullptr, false, false, 0);
        record.fadeOut = {record.hoveredButton, 0};
    }
    if (hit && hit != record.hoveredButton) record.fadeIn = {hit, 0};
    record.hoveredButton = hit;
    if (!record.maximized) engine.UpdateSizeCursor(n, position, client);
}

void OnSkinMouseLeave(SkinEngine& engine, int n) {
    SkinWindowRecord& record = WindowRecord(n);
    record.mouseTracking = 0;
    if (!record.hoveredButton || !record.captionButtonsActive) return;
    if (record.fadeIn.step <= kHoverSteps - 1 && record.fadeOut.step <= kHoverSteps - 1) {
        engine.DrawCaptionButton(n, record.fadeOut.button, nullptr, false, false, 0);
        record.fadeIn = {};
    }
    record.fadeOut = {record.hoveredButton, 0};
    record.hoveredButton = 0;
}

void OnSkinLButtonDown(SkinEngine& engine, int n, LPARAM position) {
    const HWND window = WindowRecord(n).window;
    RECT client{};
    GetClientRect(window, &client);
    WindowRecord(n).fadeIn.button = 0;
    if (!WindowRecord(n).captionButtonsActive) return;
    if (!WindowRecord(n).maximized && !WindowRecord(n).minimized) {
        engine.BeginMoveOrSize(n, position, client);
    }
    // The move or size loop may have run a long time; the window may be gone.
    const int now = FindWindowRecord(window);
    if (!now) return;
    const POINT p = PointOf(position);
    engine.hitCaptionButton = engine.HitTestCaptionButton(now, p.x, p.y);
    if (engine.hitCaptionButton) engine.DrawCaptionButton(now, engine.hitCaptionButton, nullptr, false, true, 0);
}

void OnSkinLButtonUp(SkinEngine& engine, int n) {
    const SkinWindowRecord& record = WindowRecord(n);
    if (engine.hitCaptionButton && engine.hitCaptionButton <= static_cast<int>(record.captionButtons.size()) &&
        record.captionButtonsActive) {
        engine.PerformCaptionButton(n, engine.hitCaptionButton);
    }
}

void OnSkinLButtonDblClk(SkinEngine& engine, int n, LPARAM position) {
    const SkinWindowRecord& record = WindowRecord(n);
    if (PointOf(position).y > record.captionHeight || !record.doubleClickMaximizes) return;
    if (const int b = engine.FindMaximizeButton(n); b > 0) engine.PerformCaptionButton(n, b);
}

// A minimised skinned window is a bare strip on a desktop without a task
// bar: a click, a double click or Alt+Space on it brings the window back.
// Under Wine the press itself never reaches the strip; the cursor query that
// comes before it names the press.
bool RestoresMinimised(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SETCURSOR: {
        const UINT mouse = HIWORD(lParam);
        return mouse == WM_LBUTTONDOWN || mouse == WM_NCLBUTTONDOWN || mouse == WM_LBUTTONDBLCLK ||
               mouse == WM_NCLBUTTONDBLCLK;
    }
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        return true;
    case WM_SYSCOMMAND:
        return (wParam & 0xFFF0) == SC_KEYMENU || (wParam & 0xFFF0) == SC_MOUSEMENU;
    default:
        return false;
    }
}

}  // namespace

LRESULT SkinEngine::SkinWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // A paint never goes on to the previous procedure, and the registry finds
    // the window in process, where each property read below is a round trip
    // to the window server.
    if (message == WM_PAINT) {
        if (const int painted = FindWindowRecord(window)) return OnSkinPaint(*this, painted);
    }
    // Read once: a handler may destroy the window, and its properties with it.
    const auto previous = reinterpret_cast<WNDPROC>(GetPropValue(window, kPropPreviousProc));
    auto passOn = [&]() -> LRESULT {
        if (!previous || !IsWindow(window)) return 0;
        return CallWindowProcA(previous, window, message, wParam, lParam);
    };
    const int n = static_cast<int>(GetPropValue(window, kPropListId));
    if (!IsSkinWindowNumber(n) || WindowRecord(n).window != window) {
        if (message == WM_NCDESTROY) KillTimer(window, reinterpret_cast<UINT_PTR>(window));
        return previous ? passOn() : DefWindowProcA(window, message, wParam, lParam);
    }

    if (IsIconic(window) && RestoresMinimised(message, wParam, lParam)) {
        hitCaptionButton = 0;   // the press that minimised it is over
        SendMessageA(window, WM_SYSCOMMAND, SC_RESTORE, 0);
        return 0;
    }

    if (IsToolTipMouseMessage(message)) WindowRecord(n).toolTip.Relay(message, wParam, lParam);
    switch (message) {
    case WM_SIZE: OnSkinSize(*this, n); break;
    case WM_SETTEXT: OnSkinSetText(*this, n, lParam); break;
    case WM_PAINT: return OnSkinPaint(*this, n);
    case WM_QUIT: ShutDownSkinGdiplus(); break;
    case WM_PARENTNOTIFY:
        // A child created or destroyed changes what a cached paint leaves out.
        if (LOWORD(wParam) == WM_CREATE || LOWORD(wParam) == WM_DESTROY) WindowRecord(n).childExclusion.Forget();
        break;
    case WM_QUERYOPEN: WindowRecord(n).minimized = 0; break;
    case WM_ERASEBKGND: SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT); return 1;
    case WM_SHOWWINDOW: if (wParam == TRUE) OnSkinShow(*this, n); break;
    // A window that is no longer shown loses the activation because it is
    // going (the program's exit hides and destroys it): a trim then would
    // start the tool on a process that is ending, and leave it running.
    case WM_ACTIVATEAPP: if (wParam == FALSE && IsWindowVisible(window)) StartWorkingSetTrim(); break;
    // A tip belongs to a window the mouse can use: a modal dialog or another
    // window in front takes it away.
    case WM_ENABLE: if (wParam == FALSE) WindowRecord(n).toolTip.Hide(); break;
    case WM_ACTIVATE: if (LOWORD(wParam) == WA_INACTIVE) WindowRecord(n).toolTip.Hide(); break;
    case WM_GETMINMAXINFO: OnSkinGetMinMaxInfo(n, reinterpret_cast<MINMAXINFO*>(lParam)); break;
    case WM_DRAWITEM: OnSkinDrawItem(n, reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)); break;
    case WM_WINDOWPOSCHANGED: OnSkinWindowPosChanged(*this, n); break;
    case WM_NOTIFY: OnSkinNotify(reinterpret_cast<const NMHDR*>(lParam)); break;
    case WM_NCDESTROY:
        UnskinWindow(window);
        KillTimer(window, reinterpret_cast<UINT_PTR>(window));
        break;
    case WM_COMMAND: OnSkinCommand(wParam, lParam); break;
    case WM_SYSCOMMAND: OnSkinSysCommand(n, wParam); break;
    case WM_TIMER: if (wParam == reinterpret_cast<WPARAM>(window)) OnSkinHoverTimer(*this, n); break;
    case WM_CTLCOLOREDIT:
        if (ControlsVeiled() && !HasWindowClass(GetParent(reinterpret_cast<HWND>(lParam)), "ComboBox")) {
            return reinterpret_cast<LRESULT>(StaticControlColor(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam)));
        }
        break;
    case WM_CTLCOLORLISTBOX: {
        const HWND list = reinterpret_cast<HWND>(lParam);
        const bool ownerDrawn = (GetWindowLongPtrA(list, GWL_STYLE) & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) != 0;
        if (ControlsVeiled() && HasWindowClass(list, "ListBox") && !ownerDrawn) {
            return reinterpret_cast<LRESULT>(PlainControlColor(list, reinterpret_cast<HDC>(wParam)));
        }
        break;
    }
    case WM_CTLCOLORBTN:
        if (ControlsVeiled()) {
            return reinterpret_cast<LRESULT>(PlainControlColor(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam)));
        }
        break;
    case WM_CTLCOLORSTATIC:
        if (ControlsVeiled()) {
            return reinterpret_cast<LRESULT>(StaticControlColor(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam)));
        }
        break;
    case WM_MOUSEMOVE: OnSkinMouseMove(*this, n, lParam); break;
    case WM_LBUTTONDOWN: OnSkinLButtonDown(*this, n, lParam); break;
    case WM_LBUTTONUP: OnSkinLButtonUp(*this, n); break;
    case WM_LBUTTONDBLCLK: OnSkinLButtonDblClk(*this, n, lParam); break;
    case WM_MOUSEHOVER: WindowRecord(n).mouseTracking = 1; break;
    case WM_MOUSELEAVE: OnSkinMouseLeave(*this, n); break;
    default: break;
    }
    return passOn();
}

}  // namespace corvalin
