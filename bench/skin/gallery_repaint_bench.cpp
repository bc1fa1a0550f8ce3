// What a whole repaint of the skinned gallery costs, against the same gallery
// unskinned (the controls' own painting) measured in the same run, and which
// controls the time goes to.
//   gallery_repaint_bench [--repaints N]
// With --repaints, only N whole repaints after the first paint and nothing else:
// run under WINEDEBUG=+server with two values of N, the difference in trace
// lines is the wineserver requests N repaints make.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "bench_timing.h"
#include "gallery_window.h"
#include "skin/families/control_families.h"
#include "skin/memory_dc_registry.h"
#include "skin/skin_engine.h"
#include "skin/skin_settings.h"

namespace {

using namespace corvalin;
using bench::MicrosecondsPer;

void Repaint(HWND window, UINT extra = RDW_ALLCHILDREN) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | extra);
}

void Pump() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
}

gallery::GalleryControls OpenGallery(bool skinned) {
    gallery::GalleryControls g = gallery::CreateGallery();
    if (skinned) gallery::SkinGallery(g);
    ShowWindow(g.window, SW_SHOWNORMAL);
    UpdateWindow(g.window);
    Pump();
    return g;
}

BOOL CALLBACK Collect(HWND child, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
    return TRUE;
}

std::string Describe(HWND control) {
    char name[64] = {};
    GetClassNameA(control, name, sizeof name);
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, GetAncestor(control, GA_ROOT), reinterpret_cast<POINT*>(&r), 2);
    return std::string(name) + " at " + std::to_string(r.left) + "," + std::to_string(r.top);
}

}  // namespace

int main(int argc, char** argv) {
    gallery::StartGallerySkin();
    if (argc == 3 && std::strcmp(argv[1], "--repaints") == 0) {
        const gallery::GalleryControls g = OpenGallery(true);
        Repaint(g.window);
        for (int i = std::atoi(argv[2]); i > 0; --i) Repaint(g.window);
        DestroyWindow(g.window);
        return 0;
    }

    constexpr int kRuns = 10;
    gallery::GalleryControls plain = OpenGallery(false);
    const double unskinned = MicrosecondsPer(kRuns, [&] { Repaint(plain.window); });
    DestroyWindow(plain.window);

    gallery::GalleryControls g = OpenGallery(true);
    const double whole = MicrosecondsPer(kRuns, [&] { Repaint(g.window); });
    const double windowAlone = MicrosecondsPer(kRuns, [&] { Repaint(g.window, RDW_NOCHILDREN); });
    std::printf("%-42s %11.0f us  baseline %9.0f us  ratio %6.2f\n", "skinned gallery repaint / unskinned", whole,
                unskinned, whole / unskinned);
    std::printf("%-42s %11.0f us\n", "  the window alone (skin, no controls)", windowAlone);

    std::vector<HWND> controls;
    EnumChildWindows(g.window, Collect, reinterpret_cast<LPARAM>(&controls));
    std::vector<std::pair<double, HWND>> costs;
    for (HWND control : controls)
        costs.emplace_back(MicrosecondsPer(5, [&] { Repaint(control); }), control);
    std::sort(costs.rbegin(), costs.rend());
    double sum = 0;
    for (const auto& cost : costs) sum += cost.first;
    std::printf("%-42s %11.0f us over %zu controls; the dearest:\n", "  each control repainted alone, summed", sum,
                costs.size());
    for (std::size_t i = 0; i < std::min<std::size_t>(costs.size(), 12); ++i)
        std::printf("    %-38s %11.0f us\n", Describe(costs[i].second).c_str(), costs[i].first);
    // One list control taken apart: its frame, its client area, and the
    // background composition and veil each paint starts from.
    for (HWND list : {g.listBox, g.listView}) {
        const double frame = MicrosecondsPer(5, [&] {
            RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW | RDW_NOCHILDREN);
        });
        const double clientOnly = MicrosecondsPer(5, [&] {
            RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_NOCHILDREN);
        });
        const double veiled = MicrosecondsPer(20, [&] { ReleaseMemoryDC(MakeVeiledDC(list)); });
        std::printf("  %-40s frame %9.0f us  client %9.0f us  one veiled background %7.0f us\n",
                    Describe(list).c_str(), frame, clientOnly, veiled);
    }
    DestroyWindow(g.window);
    TheSkinEngine.reset();
    FreeSkinTables();
    return 0;
}
