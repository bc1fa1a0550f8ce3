// What a control painter pays before it draws: composing the background
// behind a control, and decoding and drawing a glyph, each against the plain
// operation it is built on (a BitBlt of the same area; drawing an image that
// is already decoded), measured in the same run.
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>
#include <cstdio>
#include <functional>
#include "skin/control_background.h"
#include "skin/drawing/drawing_objects.h"
#include "skin/images/builtin_images.h"
#include "skin/memory_dc_registry.h"
#include "skin/skin_properties.h"
#include "skin/skin_settings.h"
#include "skin/skin_window_list.h"
#include "bench_timing.h"

namespace {

using corvalin::bench::MicrosecondsPer;

void Report(const char* name, double measured, double baseline) {
    std::printf("%-42s %9.2f us  baseline %8.2f us  ratio %6.2f\n", name, measured, baseline, measured / baseline);
}

}  // namespace

int main() {
    using namespace corvalin;
    CreateSkinTables();
    InitializeSkinModule();

    HWND window = CreateWindowExA(0, "Static", "", WS_POPUP, 0, 0, 480, 320, nullptr, nullptr, nullptr, nullptr);
    HWND edit = CreateWindowExA(WS_EX_CLIENTEDGE, "Edit", "", WS_CHILD | WS_VISIBLE, 40, 60, 160, 24, window, nullptr,
                                nullptr, nullptr);
    SkinWindowRecord record;
    record.window = window;
    record.backgroundCache.Create(480, 320);
    SetPropValue(window, kPropListId, AppendWindowRecord(std::move(record)));
    SkinVeilAlpha = 75;

    constexpr int kRuns = 2000;
    HDC source = WindowRecord(1).backgroundCache.dc();
    SkinMemorySurface target;
    target.Create(160, 24);
    const double blit = MicrosecondsPer(kRuns, [&] { BitBlt(target.dc(), 0, 0, 160, 24, source, 40, 60, SRCCOPY); });
    const double background = MicrosecondsPer(kRuns, [&] { ReleaseMemoryDC(MakeControlBackground(edit, RECT{0, 0, 160, 24})); });
    const double veiled = MicrosecondsPer(kRuns, [&] { DeleteObject(MakeVeiledBackground(edit)); });
    Report("control background / BitBlt", background, blit);
    Report("veiled background / BitBlt", veiled, blit);

    const Bytes glyph = CaptionCloseGlyph().ToBytes();
    SkinImage decoded;
    decoded.LoadFromBytes(glyph);
    SkinGraphics graphics(target.dc());
    const double predecoded = MicrosecondsPer(kRuns, [&] { graphics.DrawImage(decoded, 0, 0, 37, 18); });
    const double drawn = MicrosecondsPer(kRuns, [&] {
        SkinImage image;
        image.LoadFromBytes(glyph);
        graphics.DrawImage(image, 0, 0, 37, 18);
    });
    Report("glyph decoded and drawn / drawn only", drawn, predecoded);

    graphics.Destroy();
    decoded.Dispose();
    target.Release();
    DestroyWindow(window);
    FreeSkinTables();
    Gdiplus::GdiplusShutdown(SkinGdiplusToken);
    return 0;
}
