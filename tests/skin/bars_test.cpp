#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "skin/families/control_families.h"
#include "skin/skin_settings.h"
#include "skin/skin_window_list.h"
#include "skin/skinned_host.h"
#include "support/message_pump.h"

namespace corvalin::testing {
namespace {

constexpr COLORREF kAccent = 0x00DDCA22;

// `color` under black at `alpha`, as GDI+ blends it.
COLORREF Darkened(COLORREF color, int alpha) {
    auto blend = [alpha](int c) { return (c * (255 - alpha) + 127) / 255; };
    return RGB(blend(GetRValue(color)), blend(GetGValue(color)), blend(GetBValue(color)));
}

class BarsTest : public ::testing::Test {
protected:
    BarsTest() {
        INITCOMMONCONTROLSEX init{sizeof init, ICC_BAR_CLASSES | ICC_PROGRESS_CLASS};
        InitCommonControlsEx(&init);
    }
    HWND Add(const char* className, DWORD style, int x, int y, int w, int h) {
        HWND control = host.AddChild(className, "", style, x, y, w, h);
        SkinControlFamilies(host.number(), host.window());
        Repaint(control);
        return control;
    }
    static void Repaint(HWND control) {
        RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
        Settle();
    }
    // The skin of the host under client pixel (x, y) of a control.
    static COLORREF Behind(HWND control, int x, int y) {
        POINT p{x, y};
        MapWindowPoints(control, GetParent(control), &p, 1);
        return SkinnedHost::Background(p.x, p.y);
    }
    SkinnedHost host{420, 260};
};

TEST(ProgressBarLengthTest, CountsFromTheLowEndAndDrawsNothingForAnEmptyRange) {
    struct Case { int position, low, high, extent, length; };
    const Case cases[] = {
        {50, 0, 100, 200, 100},    // half way
        {200, 100, 300, 200, 100}, // half way of a range that does not start at 0
        {100, 100, 300, 200, 0},   // at the minimum
        {300, 100, 300, 200, 200}, // full
        {500, 0, 100, 200, 200},   // past the maximum: full, never longer
        {-5, 0, 100, 200, 0},      // below the minimum
        {7, 7, 7, 200, 0},         // empty range: no bar, no division by zero
        {5, 10, 0, 200, 0},        // reversed range
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.position << " in " << c.low << ".." << c.high);
        EXPECT_EQ(ProgressBarLength(c.position, c.low, c.high, c.extent), c.length);
    }
}

TEST_F(BarsTest, RegistersTrackbarsAndProgressBarsWithTheirStyles) {
    HWND horizontal = Add(TRACKBAR_CLASSA, TBS_AUTOTICKS, 10, 10, 200, 34);
    HWND vertical = Add(TRACKBAR_CLASSA, TBS_VERT | TBS_NOTICKS, 220, 10, 34, 160);
    HWND progress = Add(PROGRESS_CLASSA, PBS_VERTICAL, 270, 10, 18, 160);
    const SkinWindowRecord& record = WindowRecord(host.number());
    ASSERT_EQ(record.trackbars.Find(horizontal), 1);
    ASSERT_EQ(record.trackbars.Find(vertical), 2);
    EXPECT_EQ(record.trackbars[1].vertical, 0);
    EXPECT_EQ(record.trackbars[2].vertical, 1);
    EXPECT_EQ(record.trackbars[2].noTicks, 1);
    ASSERT_EQ(record.progressBars.Find(progress), 1);
    EXPECT_EQ(record.progressBars[1].vertical, 1);
    for (HWND control : {horizontal, vertical, progress}) {
        EXPECT_EQ(reinterpret_cast<INT_PTR>(GetPropA(control, "Hw_FuID")), host.number());
        EXPECT_NE(GetPropA(control, "Hw_hProc"), nullptr);
    }
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrA(horizontal, GWLP_WNDPROC)), SkinTrackbarProc);
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrA(progress, GWLP_WNDPROC)), SkinProgressProc);
}

TEST_F(BarsTest, TrackbarPanelFollowsTheTrackbarOption) {
    SkinTrackbarOption = 1;
    HWND trackbar = Add(TRACKBAR_CLASSA, TBS_AUTOTICKS, 10, 10, 200, 40);
    SendMessageA(trackbar, TBM_SETPOS, TRUE, 100);   // the thumb out of the way
    Repaint(trackbar);
    // The panel's outline: black at alpha 30 over the skin at the top edge.
    EXPECT_LE(ColorDistance(ScreenPixel(trackbar, 60, 0), Darkened(Behind(trackbar, 60, 0), 30)), 3);
    const COLORREF panel = ScreenPixel(trackbar, 60, 3);
    EXPECT_GT(ColorDistance(panel, Behind(trackbar, 60, 3)), 20);

    SkinTrackbarOption = 0;
    Repaint(trackbar);
    EXPECT_LE(ColorDistance(ScreenPixel(trackbar, 60, 0), Behind(trackbar, 60, 0)), 2);
    EXPECT_LE(ColorDistance(ScreenPixel(trackbar, 60, 3), Behind(trackbar, 60, 3)), 2);
}

TEST_F(BarsTest, DraggingTheThumbRepaintsItThroughTheTrackbarsOwnPaint) {
    HWND trackbar = Add(TRACKBAR_CLASSA, TBS_NOTICKS, 10, 60, 300, 30);
    RECT thumb{};
    SendMessageA(trackbar, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    const int y = (thumb.top + thumb.bottom) / 2;
    const int farX = 250;
    const COLORREF before = ScreenPixel(trackbar, farX, y);

    MoveMouseTo(trackbar, (thumb.left + thumb.right) / 2, y);
    PressLeftButton();
    MoveMouseTo(trackbar, farX, y);
    ReleaseLeftButton();
    Settle();

    EXPECT_GT(SendMessageA(trackbar, TBM_GETPOS, 0, 0), 60);
    RECT moved{};
    SendMessageA(trackbar, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&moved));
    ASSERT_GT(moved.left, thumb.right);
    // The thumb now shows where the channel was, and the old place shows the channel.
    const int at = (moved.left + moved.right) / 2;
    EXPECT_GT(ColorDistance(ScreenPixel(trackbar, at, y), before), 30);
    EXPECT_LE(ColorDistance(ScreenPixel(trackbar, (thumb.left + thumb.right) / 2, y), ScreenPixel(trackbar, farX + 20, y)),
              25);
    MoveMouseTo(host.window(), 400, 250);
}

TEST_F(BarsTest, ProgressBarLengthFollowsThePosition) {
    HWND progress = Add(PROGRESS_CLASSA, 0, 10, 10, 200, 20);
    SendMessageA(progress, PBM_SETRANGE32, 100, 300);
    const int y = 10;
    auto row = [&] {
        std::vector<COLORREF> pixels;
        for (int x = 0; x < 200; ++x) pixels.push_back(ScreenPixel(progress, x, y));
        return pixels;
    };
    SendMessageA(progress, PBM_SETPOS, 100, 0);
    Settle();
    const std::vector<COLORREF> empty = row();
    // At the minimum only the panel and trough show: no accent anywhere.
    for (int x = 2; x < 198; x += 7) EXPECT_GT(ColorDistance(empty[x], kAccent), 60) << x;

    for (int position : {150, 200, 300}) {
        SCOPED_TRACE(position);
        SendMessageA(progress, PBM_SETPOS, position, 0);
        Settle();
        const std::vector<COLORREF> filled = row();
        const int length = (position - 100) * 200 / 200;
        // Inside the bar the accent shows; past its end the trough is untouched.
        for (int x = 4; x < length - 4; x += 5) EXPECT_GT(ColorDistance(filled[x], empty[x]), 25) << x;
        for (int x = length + 1; x < 199; x += 5) EXPECT_LE(ColorDistance(filled[x], empty[x]), 1) << x;
    }
}

TEST_F(BarsTest, VerticalProgressBarGrowsFromTheBottom) {
    HWND progress = Add(PROGRESS_CLASSA, PBS_VERTICAL, 300, 10, 20, 200);
    SendMessageA(progress, PBM_SETPOS, 0, 0);
    Settle();
    const COLORREF topEmpty = ScreenPixel(progress, 10, 30), bottomEmpty = ScreenPixel(progress, 10, 170);
    SendMessageA(progress, PBM_SETPOS, 40, 0);
    Settle();
    EXPECT_LE(ColorDistance(ScreenPixel(progress, 10, 30), topEmpty), 1);
    EXPECT_GT(ColorDistance(ScreenPixel(progress, 10, 170), bottomEmpty), 25);
}

TEST_F(BarsTest, TrackbarTakesTheHoverAndAProgressBarIgnoresTheMouse) {
    HWND trackbar = Add(TRACKBAR_CLASSA, TBS_NOTICKS, 10, 10, 200, 30);
    HWND progress = Add(PROGRESS_CLASSA, 0, 10, 60, 200, 20);
    SkinWindowRecord* record = &WindowRecord(host.number());
    RECT thumb{};
    SendMessageA(trackbar, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    const POINT centre{(thumb.left + thumb.right) / 2, (thumb.top + thumb.bottom) / 2};
    const COLORREF cold = ScreenPixel(trackbar, centre.x, centre.y);

    MoveMouseTo(trackbar, 150, 15);
    record = &WindowRecord(host.number());
    EXPECT_EQ(record->trackbars[1].hot, 1);
    EXPECT_EQ(record->hotControl, 1);
    EXPECT_GT(ColorDistance(ScreenPixel(trackbar, centre.x, centre.y), cold), 30);   // the thumb in the accent

    MoveMouseTo(progress, 100, 10);
    EXPECT_TRUE(PumpUntil([&] { return WindowRecord(host.number()).trackbars[1].hot == 0; }, 3000));
    EXPECT_EQ(WindowRecord(host.number()).hotControl, 0);   // the progress bar took nothing
    EXPECT_LE(ColorDistance(ScreenPixel(trackbar, centre.x, centre.y), cold), 2);
    MoveMouseTo(host.window(), 400, 250);
}

}  // namespace
}  // namespace corvalin::testing
