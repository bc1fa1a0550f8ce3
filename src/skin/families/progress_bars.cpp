// Progress bars keep their behaviour; the skin paints them whole: a rounded
// panel and trough over the window skin, and the bar in the accent colour,
// growing from the left, or from the bottom when vertical.
#include "skin/families/control_families.h"

#include <commctrl.h>

#include <algorithm>

#include "skin/control_rects.h"
#include "skin/drawing/drawing_objects.h"
#include "skin/families/family_painting.h"
#include "skin/skin_color.h"
#include "skin/skin_settings.h"

namespace corvalin {
namespace {

constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kBlack = 0x000000;


}  // namespace

int ProgressBarLength(int position, int low, int high, int extent) {
    if (high <= low || extent <= 0) return 0;
    const long long done = std::clamp(position, low, high) - static_cast<long long>(low);
    return static_cast<int>(done * extent / (static_cast<long long>(high) - low));
}

void SkinProgressBars(int windowNumber, HWND parent) {
    if (!SkinTransparentControls || !IsSkinWindowNumber(windowNumber)) return;
    for (HWND p = FindWindowExA(parent, nullptr, PROGRESS_CLASSA, nullptr); p;
         p = FindWindowExA(parent, p, PROGRESS_CLASSA, nullptr)) {
        auto& list = WindowRecord(windowNumber).progressBars;
        const int number = RegisterControl(list, windowNumber, p, SkinProgressProc);
        if (number) list[number].vertical = (GetWindowLongA(p, GWL_STYLE) & PBS_VERTICAL) ? 1 : 0;
    }
}

void PaintProgressBar(int windowNumber, int progressNumber) {
    if (!IsSkinWindowNumber(windowNumber)) return;
    auto& list = WindowRecord(windowNumber).progressBars;
    if (!list.Valid(progressNumber) || !list[progressNumber].window) return;
    const HWND progress = list[progressNumber].window;
    const bool vertical = list[progressNumber].vertical != 0;
    const RECT client = ClientRectInWindow(progress);
    ComposedBackground background(progress, client);
    if (!background) return;
    const int w = background.width(), h = background.height();
    {
        SkinGraphics graphics(background.dc());
        graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
        StrokeRoundRect(graphics, 0, 0, static_cast<float>(w - 1), static_cast<float>(h - 1), 5,
                        ColorToArgb(kBlack, 50, 1));
        FillRoundRectGradient(graphics, 1, 1, static_cast<float>(w - 2), static_cast<float>(h - 2), 1,
                              ColorToArgb(kWhite, 160, 1), ColorToArgb(kBlack, 30, 1), vertical);

        PBRANGE range{};
        SendMessageA(progress, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
        const int position = static_cast<int>(SendMessageA(progress, PBM_GETPOS, 0, 0));
        const int length = ProgressBarLength(position, range.iLow, range.iHigh, vertical ? h : w);
        if (length > 0) {
            // Upwards from the bottom when vertical, rightwards from the left otherwise.
            const float bx = 0, by = vertical ? static_cast<float>(h - length) : 0;
            const float bw = vertical ? static_cast<float>(w) : static_cast<float>(length);
            const float bh = vertical ? static_cast<float>(length) : static_cast<float>(h);
            FillRoundRectGradient(graphics, bx + 1, by + 1, bw - 3, bh - 3, 3, ColorToArgb(kWhite, 90, 1),
                                  ColorToArgb(SkinAccentColor, 255, 1), vertical);
            StrokeRoundRect(graphics, bx + 1, by + 1, bw - 3, bh - 3, 3, ColorToArgb(SkinAccentColor, 150, 1));
        }
    }
    WholeWindowDc target(progress);
    BitBlt(target.get(), client.left, client.top, w, h, background.dc(), 0, 0, SRCCOPY);
}

LRESULT CALLBACK SkinProgressProc(HWND progress, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto member = FindFamilyMember(progress, &SkinWindowRecord::progressBars);
    if (!member) return CallPreviousProc(progress, message, wParam, lParam);
    const WNDPROC previous = member.element->previousProc;
    const int n = member.window, p = member.number;

    switch (message) {
    case WM_MOVE:
        PaintProgressBar(n, p);
        break;
    case WM_PAINT: {
        {
            PaintScope paint(progress);
            PaintProgressBar(n, p);
        }
        return DefWindowProcA(progress, message, wParam, lParam);
    }
    case WM_ERASEBKGND:
        SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
        return 1;
    case WM_NCPAINT:
        PaintProgressBar(n, p);
        return 1;
    default:
        break;   // the mouse means nothing to a progress bar
    }
    return CallPreviousProc(previous, progress, message, wParam, lParam);
}

}  // namespace corvalin
