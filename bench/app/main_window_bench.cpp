// The skin on the program's real main window (the form's children, the
// picture, the caption row), each cost against a baseline measured in the
// same run:
//  - a cached WM_PAINT against a WM_PAINT doing BeginPaint, one BitBlt of the
//    same size and EndPaint (a window of the same size and region);
//  - a rebuild of the skin after a change of size, after a change of the
//    title style and with nothing changed, and one hover step of a caption
//    button, against one BitBlt of the window.
#include <windows.h>

#include <cstdio>
#include <functional>
#include <memory>

#include "automation/page_automation.h"
#include "browser/browser_box.h"
#include "client/client_handlers.h"
#include "shell/form_ids.h"
#include "shell/loaded_windows.h"
#include "shell/runtime.h"
#include "skin/skin_engine.h"
#include "skin/skin_settings.h"
#include "skin/skin_window_list.h"
#include "skin/window_background.h"
#include "bench_timing.h"

namespace {

using corvalin::bench::MicrosecondsPer;

void Report(const char* name, double measured, const char* baselineName, double baseline, const char* target) {
    std::printf("%-44s %9.1f us  %-28s %8.1f us  ratio %6.2f  (target %s)\n", name, measured, baselineName, baseline,
                measured / baseline, target);
}

void Pump() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
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
    if (message == WM_ERASEBKGND) return 1;
    return DefWindowProcA(window, message, wParam, lParam);
}

int CountChildren(HWND window) {
    int count = 0;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) ++count;
    return count;
}

}  // namespace

int main() {
    using namespace corvalin;
    // The program's own start-up, up to its main window.
    shell::InitializeRuntime();
    browser::RegisterBrowserBoxClass();
    ThePageAutomation = std::make_unique<PageAutomation>();
    TheSkinEngine = std::make_unique<SkinEngine>();
    CreateSkinTables();
    InitializeSkinModule();
    client::RegisterClientHandlers();
    if (!shell::LoadWindow(shell::kMainWindowId, false) || SkinWindowCount() < 1) {
        std::printf("the main window did not load\n");
        return 1;
    }
    const int n = 1;
    const HWND window = WindowRecord(n).window;
    for (int i = 0; i < 20; ++i) {
        Pump();
        Sleep(10);
    }
    RECT client{};
    GetClientRect(window, &client);
    const int w = client.right, h = client.bottom;
    std::printf("main window %d x %d, %d children\n", w, h, CountChildren(window));

    HDC cache = WindowRecord(n).backgroundCache.dc();
    HDC screen = GetDC(window);
    const double blit = MicrosecondsPer(500, [&] {
        BitBlt(screen, 0, 0, w, h, cache, 0, 0, SRCCOPY);
        GdiFlush();
    });
    // The window's own paint only: without RDW_NOCHILDREN the children,
    // which the window does not clip, would be invalidated and painted too.
    auto paintAlone = [](HWND target) {
        RedrawWindow(target, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_NOCHILDREN);
        GdiFlush();
    };
    const double cachedPaint = MicrosecondsPer(500, [&] { paintAlone(window); });

    WNDCLASSA plain{};
    plain.lpfnWndProc = BlitOnceProc;
    plain.lpszClassName = "BlitOnce";
    RegisterClassA(&plain);
    blitSource = cache;
    RECT frame{};
    GetWindowRect(window, &frame);
    HWND baseline = CreateWindowExA(WS_EX_TOOLWINDOW, "BlitOnce", "", WS_POPUP, frame.left + 20, frame.top + 20,
                                    frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, nullptr,
                                    nullptr);
    // The same rounded region as the skinned window: Wine clips to it on every blit.
    SetWindowRgn(baseline, CreateRoundRectRgn(0, 0, w + 1, h + 1, 7, 7), FALSE);
    ShowWindow(baseline, SW_SHOWNOACTIVATE);
    UpdateWindow(baseline);
    Pump();
    const double onePaintBlit = MicrosecondsPer(500, [&] { paintAlone(baseline); });
    DestroyWindow(baseline);
    Pump();
    Report("cached WM_PAINT of the main window", cachedPaint, "WM_PAINT doing one BitBlt", onePaintBlit, "<= 1.2");

    // A change of size composes everything afresh (the window's new region,
    // the window manager's work, aside); a change of the title style redraws
    // the title over the kept layers; with nothing changed a rebuild puts
    // back what it kept. All three copy the result to the window.
    const double resized = MicrosecondsPer(20, [&] {
        ForgetComposedLayers(WindowRecord(n));
        TheSkinEngine->PaintWindowSkin(n, nullptr, true);
    });
    Report("skin rebuild after a change of size", resized, "one BitBlt of the window", blit, "<= 3000 us");
    const COLORREF titleColor = WindowRecord(n).titleColor;
    const double retitled = MicrosecondsPer(100, [&] {
        WindowRecord(n).titleColor ^= 0x010101;
        TheSkinEngine->PaintWindowSkin(n, nullptr, true);
    });
    WindowRecord(n).titleColor = titleColor;
    Report("skin rebuild after a title style change", retitled, "one BitBlt of the window", blit, "<= 3000 us");
    const double rebuild = MicrosecondsPer(100, [&] { TheSkinEngine->PaintWindowSkin(n, nullptr, true); });
    Report("skin rebuild, size and settings unchanged", rebuild, "one BitBlt of the window", blit, "<= 3000 us");
    const double hover = MicrosecondsPer(500, [&] { TheSkinEngine->DrawCaptionButton(n, 1, nullptr, false, false, 120); });
    Report("one hover step of a caption button", hover, "one BitBlt of the window", blit, "<= 300 us");
    ReleaseDC(window, screen);
    std::fflush(stdout);
    // The program's own exit: windows, then page automation, then the skin.
    shell::ExitProgram(0);
    return 0;
}
