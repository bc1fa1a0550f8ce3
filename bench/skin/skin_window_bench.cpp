// What a skinned window costs to paint: a WM_PAINT served from the cache
// against the one BitBlt of the same size it should amount to, and a full
// rebuild of the skin of a 377 x 218 window (the main window's size).
#include <windows.h>

#include <cstdio>
#include <functional>

#include "skin/images/builtin_images.h"
#include "skin/skin_engine.h"
#include "skin/skin_settings.h"
#include "skin/skin_window_list.h"

namespace {

double MicrosecondsPerRun(int runs, const std::function<void()>& body) {
    body();   // warm up caches and lazy initialisation
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    for (int i = 0; i < runs; ++i) body();
    QueryPerformanceCounter(&end);
    return (end.QuadPart - start.QuadPart) * 1e6 / static_cast<double>(frequency.QuadPart) / runs;
}

void Report(const char* name, double measured, double baseline) {
    std::printf("%-46s %10.2f us  baseline %9.2f us  ratio %7.2f\n", name, measured, baseline, measured / baseline);
}

HDC blitSource = nullptr;

// The baseline window: its WM_PAINT is one BitBlt of the same picture.
LRESULT CALLBACK BlitOnceProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        RECT client{};
        GetClientRect(window, &client);
        BitBlt(dc, 0, 0, client.right, client.bottom, blitSource, 0, 0, SRCCOPY);
        EndPaint(window, &paint);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void Pump() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
}

}  // namespace

int main() {
    using namespace corvalin;
    CreateSkinTables();
    TheSkinEngine = std::make_unique<SkinEngine>();
    InitializeSkinModule();
    SkinFirstSize = 0;
    TheSkinEngine->SetSkinPicture("", WindowBackgroundPicture().ToBytes(), std::nullopt, std::nullopt, 3);
    TheSkinEngine->SetControlVeil(1, 75);

    constexpr int kWidth = 377, kHeight = 218;
    HWND window = CreateWindowExA(0, "Static", "挂机", WS_POPUP | WS_MINIMIZEBOX, 20, 20, kWidth, kHeight, nullptr,
                                  nullptr, nullptr, nullptr);
    TheSkinEngine->SkinWindow(window);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    UpdateWindow(window);
    Pump();
    const int n = FindWindowRecord(window);
    HDC cache = WindowRecord(n).backgroundCache.dc;

    RECT client{};
    GetClientRect(window, &client);
    std::printf("skinned window %ld x %ld\n", client.right, client.bottom);

    HDC screen = GetDC(window);
    const double blit = MicrosecondsPerRun(500, [&] {
        BitBlt(screen, 0, 0, kWidth, kHeight, cache, 0, 0, SRCCOPY);
        GdiFlush();
    });
    const double cachedPaint = MicrosecondsPerRun(500, [&] {
        InvalidateRect(window, nullptr, FALSE);
        UpdateWindow(window);
        GdiFlush();
    });
    Report("cached WM_PAINT / one BitBlt of the window", cachedPaint, blit);

    WNDCLASSA plain{};
    plain.lpfnWndProc = BlitOnceProc;
    plain.lpszClassName = "BlitOnce";
    RegisterClassA(&plain);
    blitSource = cache;
    HWND baseline = CreateWindowExA(0, "BlitOnce", "", WS_POPUP, 420, 20, kWidth, kHeight, nullptr, nullptr,
                                    nullptr, nullptr);
    // The same rounded region as the skinned window: Wine clips to it on every blit.
    SetWindowRgn(baseline, CreateRoundRectRgn(0, 0, kWidth + 1, kHeight + 1, 7, 7), FALSE);
    ShowWindow(baseline, SW_SHOWNOACTIVATE);
    UpdateWindow(baseline);
    Pump();
    const double onePaintBlit = MicrosecondsPerRun(500, [&] {
        InvalidateRect(baseline, nullptr, FALSE);
        UpdateWindow(baseline);
        GdiFlush();
    });
    Report("cached WM_PAINT / WM_PAINT doing one BitBlt", cachedPaint, onePaintBlit);
    DestroyWindow(baseline);

    const double rebuild = MicrosecondsPerRun(100, [&] { TheSkinEngine->PaintWindowSkin(n, nullptr, true); });
    Report("full rebuild 377 x 218 (painted) / BitBlt", rebuild, blit);
    const double rebuildOnly = MicrosecondsPerRun(100, [&] { TheSkinEngine->PaintWindowSkin(n, nullptr, false); });
    Report("full rebuild 377 x 218 (cache only) / BitBlt", rebuildOnly, blit);
    const double hover = MicrosecondsPerRun(500, [&] {
        TheSkinEngine->DrawCaptionButton(n, 1, nullptr, false, false, 120);
    });
    Report("one hover step of a caption button / BitBlt", hover, blit);
    ReleaseDC(window, screen);
    DestroyWindow(window);
    TheSkinEngine.reset();
    FreeSkinTables();
    return 0;
}
