// Trackbars keep their behaviour; the skin paints them whole: a translucent
// rounded panel over the window skin, a glassy channel and a thumb that takes
// the accent colour under the mouse.
#include "skin/families/control_families.h"

#include <commctrl.h>

#include <algorithm>

#include "skin/control_rects.h"
#include "skin/drawing/drawing_objects.h"
#include "skin/families/family_painting.h"
#include "skin/rounded_paths.h"
#include "skin/skin_color.h"
#include "skin/skin_settings.h"

namespace corvalin {
namespace {

constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kBlack = 0x000000;


// The channel rectangle comes back laid out horizontally for a vertical
// trackbar on some systems; turn it upright when it is.
RECT ChannelRect(HWND trackbar, bool vertical) {
    RECT channel{};
    SendMessageA(trackbar, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
    if (vertical && channel.right - channel.left > channel.bottom - channel.top)
        channel = RECT{channel.top, channel.left, channel.bottom, channel.right};
    return channel;
}

void PaintSelection(SkinGraphics& graphics, HWND trackbar, const RECT& channel, bool vertical) {
    const LRESULT low = SendMessageA(trackbar, TBM_GETRANGEMIN, 0, 0);
    const LRESULT high = SendMessageA(trackbar, TBM_GETRANGEMAX, 0, 0);
    const LRESULT start = SendMessageA(trackbar, TBM_GETSELSTART, 0, 0);
    const LRESULT end = SendMessageA(trackbar, TBM_GETSELEND, 0, 0);
    if (high <= low || end <= start) return;
    const int length = vertical ? channel.bottom - channel.top : channel.right - channel.left;
    const int from = static_cast<int>((std::clamp(start, low, high) - low) * length / (high - low));
    const int to = static_cast<int>((std::clamp(end, low, high) - low) * length / (high - low));
    SkinSolidBrush accent(ColorToArgb(SkinAccentColor, 200, 1));
    if (vertical)
        graphics.FillRectangle(accent, static_cast<float>(channel.left + 1), static_cast<float>(channel.top + from),
                               static_cast<float>(channel.right - channel.left - 2), static_cast<float>(to - from));
    else
        graphics.FillRectangle(accent, static_cast<float>(channel.left + from), static_cast<float>(channel.top + 1),
                               static_cast<float>(to - from), static_cast<float>(channel.bottom - channel.top - 2));
}

// The thumb's outline: a rounded block, pointed towards the ticks when they
// are on one side only (below or right by default, above or left with
// TBS_TOP/TBS_LEFT).
void AddThumbOutline(SkinPath& path, const RECT& r, LONG style, bool vertical, bool noTicks) {
    const float x = static_cast<float>(r.left), y = static_cast<float>(r.top);
    const float w = static_cast<float>(r.right - r.left - 1), h = static_cast<float>(r.bottom - r.top - 1);
    if (noTicks || (style & TBS_BOTH)) {
        AddRoundRect(path, x, y, w, h, 3);
        return;
    }
    const bool before = (style & TBS_TOP) != 0;   // TBS_LEFT has the same bit
    if (!vertical) {
        const float tip = std::min(w / 2, h / 3);
        if (before) {
            path.AddLine(x + w / 2, y, x + w, y + tip);
            path.AddLine(x + w, y + tip, x + w, y + h);
            path.AddLine(x + w, y + h, x, y + h);
            path.AddLine(x, y + h, x, y + tip);
        } else {
            path.AddLine(x, y, x + w, y);
            path.AddLine(x + w, y, x + w, y + h - tip);
            path.AddLine(x + w, y + h - tip, x + w / 2, y + h);
            path.AddLine(x + w / 2, y + h, x, y + h - tip);
        }
    } else {
        const float tip = std::min(h / 2, w / 3);
        if (before) {
            path.AddLine(x, y + h / 2, x + tip, y);
            path.AddLine(x + tip, y, x + w, y);
            path.AddLine(x + w, y, x + w, y + h);
            path.AddLine(x + w, y + h, x + tip, y + h);
        } else {
            path.AddLine(x, y, x + w - tip, y);
            path.AddLine(x + w - tip, y, x + w, y + h / 2);
            path.AddLine(x + w, y + h / 2, x + w - tip, y + h);
            path.AddLine(x + w - tip, y + h, x, y + h);
        }
    }
    path.CloseFigure();
}

void PaintThumb(SkinGraphics& graphics, HWND trackbar, const SkinTrackbarRecord& record) {
    RECT thumb{};
    SendMessageA(trackbar, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    if (IsRectEmpty(&thumb)) return;
    const LONG style = GetWindowLongA(trackbar, GWL_STYLE);
    SkinPath path;
    path.Create();
    AddThumbOutline(path, thumb, style, record.vertical != 0, record.noTicks != 0);
    SkinLinearBrush face;
    const float top = static_cast<float>(thumb.top), bottom = static_cast<float>(thumb.bottom);
    const bool made = record.hot
        ? face.Create(0, top - 1, 0, bottom + 1, ColorToArgb(SkinAccentColor, 120, 1), ColorToArgb(SkinAccentColor, 230, 1))
        : face.Create(0, top - 1, 0, bottom + 1, ColorToArgb(kWhite, 240, 1), ColorToArgb(kWhite, 60, 1));
    if (made) graphics.FillPath(face, path);
    SkinPen outline(ColorToArgb(kBlack, 50, 1), 1);
    graphics.DrawPath(outline, path);
}

}  // namespace

void SkinTrackbars(int windowNumber, HWND parent) {
    if (!SkinTransparentControls || !IsSkinWindowNumber(windowNumber)) return;
    for (HWND t = FindWindowExA(parent, nullptr, TRACKBAR_CLASSA, nullptr); t;
         t = FindWindowExA(parent, t, TRACKBAR_CLASSA, nullptr)) {
        auto& list = WindowRecord(windowNumber).trackbars;
        const int number = RegisterControl(list, windowNumber, t, SkinTrackbarProc);
        if (!number) continue;
        const LONG style = GetWindowLongA(t, GWL_STYLE);
        list[number].vertical = (style & TBS_VERT) ? 1 : 0;
        list[number].noTicks = (style & TBS_NOTICKS) ? 1 : 0;
    }
}

void PaintTrackbar(int windowNumber, int trackbarNumber) {
    if (!IsSkinWindowNumber(windowNumber)) return;
    auto& list = WindowRecord(windowNumber).trackbars;
    if (!list.Valid(trackbarNumber) || !list[trackbarNumber].window) return;
    const SkinTrackbarRecord record = list[trackbarNumber];
    const HWND trackbar = record.window;
    const RECT client = ClientRectInWindow(trackbar);
    ComposedBackground background(trackbar, client);
    if (!background) return;
    const float w = static_cast<float>(background.width()), h = static_cast<float>(background.height());
    {
        SkinGraphics graphics(background.dc());
        graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
        if (SkinTrackbarOption) {
            StrokeRoundRect(graphics, 0, 0, w - 1, h - 1, 5, ColorToArgb(kBlack, 30, 1));
            FillRoundRectGradient(graphics, 1, 1, w - 2, h - 2, 3, ColorToArgb(kWhite, 160, 1),
                                  ColorToArgb(kBlack, 30, 1), record.vertical != 0);
        }
        const RECT channel = ChannelRect(trackbar, record.vertical != 0);
        if (!IsRectEmpty(&channel)) {
            const float cx = static_cast<float>(channel.left), cy = static_cast<float>(channel.top);
            const float cw = static_cast<float>(channel.right - channel.left - 1);
            const float ch = static_cast<float>(channel.bottom - channel.top - 1);
            FillRoundRectGradient(graphics, cx, cy, cw, ch, 1, ColorToArgb(kBlack, 40, 1), ColorToArgb(kWhite, 140, 1),
                                  record.vertical != 0);
            StrokeRoundRect(graphics, cx, cy, cw, ch, 1, ColorToArgb(kBlack, 70, 1));
            if (GetWindowLongA(trackbar, GWL_STYLE) & TBS_ENABLESELRANGE)
                PaintSelection(graphics, trackbar, channel, record.vertical != 0);
        }
        PaintThumb(graphics, trackbar, record);
    }
    WindowDc target(trackbar);
    BitBlt(target.get(), 0, 0, background.width(), background.height(), background.dc(), 0, 0, SRCCOPY);
}

LRESULT CALLBACK SkinTrackbarProc(HWND trackbar, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto member = FindFamilyMember(trackbar, &SkinWindowRecord::trackbars);
    if (!member) return CallPreviousProc(trackbar, message, wParam, lParam);
    SkinTrackbarRecord* record = member.element;
    SkinWindowRecord* owner = &member.owner();
    const WNDPROC previous = record->previousProc;
    const int n = member.window, t = member.number;

    switch (message) {
    case WM_MOVE:
        PaintTrackbar(n, t);
        break;
    case WM_PAINT: {
        {
            PaintScope paint(trackbar);
            PaintTrackbar(n, t);
        }
        return DefWindowProcA(trackbar, message, wParam, lParam);
    }
    case WM_ERASEBKGND:
        SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
        return 1;
    case WM_NCPAINT:
        PaintTrackbar(n, t);
        return 1;
    case WM_MOUSEMOVE:
        if (TakeHover(trackbar, *owner, t)) {
            record->hot = 1;
            PaintTrackbar(n, t);
        }
        break;
    case WM_MOUSELEAVE:
        GiveUpHover(*owner, t);
        record->hot = 0;
        PaintTrackbar(n, t);
        break;
    default:
        break;
    }
    return CallPreviousProc(previous, trackbar, message, wParam, lParam);
}

}  // namespace corvalin
