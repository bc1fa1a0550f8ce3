// Moving a skinned window by its caption and sizing it by its border: the
// skin only decides where the mouse is and hands the work to the system's
// own move and size loops.
#include "skin/skin_engine.h"
#include "skin/skin_window_list.h"
#include "skin/window_painting.h"

namespace corvalin {
namespace {

POINT PointOf(LPARAM position) {
    return POINT{static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
}

void StartMove(HWND window) { SendMessageA(window, WM_NCLBUTTONDOWN, HTCAPTION, 0); }

}  // namespace

void SkinEngine::UpdateSizeCursor(int windowIndex, LPARAM position, const RECT& client) {
    if (!IsSkinWindowNumber(windowIndex)) return;
    if (!WindowRecord(windowIndex).doubleClickMaximizes) return;
    const POINT p = PointOf(position);
    if (auto zone = FindSizingZone(p.x, p.y, client.right - client.left, client.bottom - client.top,
                                   resizeBorderWidth)) {
        SetCursor(LoadCursorA(nullptr, zone->cursor));
    }
}

void SkinEngine::BeginMoveOrSize(int windowIndex, LPARAM position, const RECT& client) {
    if (!IsSkinWindowNumber(windowIndex)) return;
    SkinWindowRecord& record = WindowRecord(windowIndex);
    const POINT p = PointOf(position);
    const auto& strip = record.captionStrip;
    if (p.x >= strip.x && p.x <= strip.x + strip.width && p.y >= 3 && p.y <= strip.height) return;
    if (!record.captionButtonsActive) return;
    const HWND window = record.window;
    const bool sizable = record.doubleClickMaximizes != 0;
    if (!sizable && p.y <= record.captionHeight) {
        StartMove(window);
        return;
    }
    if (auto zone = FindSizingZone(p.x, p.y, client.right - client.left, client.bottom - client.top,
                                   resizeBorderWidth)) {
        record.repaintAll = 1;
        SetCursor(LoadCursorA(nullptr, zone->cursor));
        SendMessageA(window, WM_SYSCOMMAND, zone->command, 0);
        return;
    }
    if (p.y <= record.captionHeight) StartMove(window);
}

void SkinEngine::OnWindowSized(int windowIndex) {
    if (!IsSkinWindowNumber(windowIndex)) return;
    const SkinWindowRecord& record = WindowRecord(windowIndex);
    RECT client{};
    GetClientRect(record.window, &client);
    // Moving a page may resize it and come back here; work on a copy of the list.
    const std::vector<SkinPage> pages = record.pages;
    const int menuBarHeight = record.menuBarHeight;
    for (const SkinPage& page : pages) {
        if (!page.window) continue;
        MoveWindow(page.window, 2, page.top, client.right - 4, client.bottom - page.top - menuBarHeight - 3, TRUE);
    }
}

}  // namespace corvalin
