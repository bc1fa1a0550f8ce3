// Long runs of the skinned window leave no GDI or USER object behind.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include "skin/window_frame/skinned_window_fixture.h"
#include "support/gui_objects.h"
#include "support/message_pump.h"

namespace corvalin::testing {
namespace {

using GuiResourcesTest = SkinTest;

struct Objects {
    DWORD gdi, user;
    static Objects Now() {
        // GetGuiResources answers 0 under Wine; these count the real objects.
        return {GdiObjectCount(), UserObjectCount()};
    }
};

void HoverOnce(SkinnedWindow& w, int button) {
    const HWND window = w.window();
    // The tip would show wherever the real cursor is, with objects of its own.
    if (HWND tip = w.record().toolTip.Realise()) SendMessageA(tip, TTM_ACTIVATE, FALSE, 0);
    const POINT centre = w.ButtonCentre(button);
    w.Mouse(WM_MOUSEMOVE, centre.x, centre.y);
    SendMessageA(window, WM_MOUSEHOVER, 0, 0);
    for (int i = 0; i < 9; ++i) SendMessageA(window, WM_TIMER, reinterpret_cast<WPARAM>(window), 0);
    w.Mouse(WM_MOUSEMOVE, 150, 120);
    SendMessageA(window, WM_MOUSELEAVE, 0, 0);
    for (int i = 0; i < 9; ++i) SendMessageA(window, WM_TIMER, reinterpret_cast<WPARAM>(window), 0);
}

TEST_F(GuiResourcesTest, RebuildsHoversAndWindowsLeaveNoObjectsBehind) {
    SkinnedWindow w(377, 218, SkinnedWindow::kMinMaxStyle, {}, true, "资源");
    // Warm up once: the first use of a font or a glyph may allocate for good.
    w.engine().PaintWindowSkin(w.number(), nullptr, true);
    HoverOnce(w, 1);
    {
        SkinnedWindow first(200, 150, SkinnedWindow::kMinMaxStyle, {}, false);
        first.engine().PaintWindowSkin(first.number(), nullptr, false);
        HoverOnce(first, 2);
    }
    PumpMessagesFor(20);

    const Objects start = Objects::Now();
    for (int i = 0; i < 1000; ++i) w.engine().PaintWindowSkin(w.number(), nullptr, true);
    const Objects afterRebuilds = Objects::Now();
    EXPECT_EQ(afterRebuilds.gdi, start.gdi);
    EXPECT_EQ(afterRebuilds.user, start.user);

    for (int i = 0; i < 1000; ++i) HoverOnce(w, 1 + i % 3);
    const Objects afterHovers = Objects::Now();
    EXPECT_EQ(afterHovers.gdi, start.gdi);
    EXPECT_EQ(afterHovers.user, start.user);

    // Hidden, so that Wine does not wait for a window manager at each end.
    for (int i = 0; i < 100; ++i) {
        SkinnedWindow other(200, 150, SkinnedWindow::kMinMaxStyle, {}, false, "窗口");
        other.engine().PaintWindowSkin(other.number(), nullptr, false);
        HoverOnce(other, 2);
    }
    PumpMessagesFor(20);
    const Objects afterWindows = Objects::Now();
    EXPECT_EQ(afterWindows.gdi, start.gdi);
    EXPECT_EQ(afterWindows.user, start.user);
}

}  // namespace
}  // namespace corvalin::testing
