#include <gtest/gtest.h>

#include "skin/families/control_families.h"
#include "skin/skin_engine.h"
#include "skin/skin_settings.h"
#include "skin/skin_window_list.h"
#include "skin/skinned_host.h"

namespace corvalin::testing {
namespace {

constexpr char kFaceClass[] = "CorvalinFaceControl";
constexpr COLORREF kInk = RGB(250, 20, 20);

// A control that paints like a label or picture box of the forms: its whole
// face in the button-face colour, then a 6 x 6 square of ink at (4, 4) and a
// square in its own face colour at (14, 4).
LRESULT CALLBACK FaceProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        RECT client;
        GetClientRect(window, &client);
        HBRUSH face = CreateSolidBrush(GetSysColor(COLOR_BTNFACE));
        FillRect(dc, &client, face);
        HBRUSH ink = CreateSolidBrush(kInk);
        RECT square{4, 4, 10, 10};
        FillRect(dc, &square, ink);
        RECT hidden{14, 4, 20, 10};
        FillRect(dc, &hidden, face);
        DeleteObject(ink);
        DeleteObject(face);
        EndPaint(window, &ps);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

class StaticControlTest : public ::testing::Test {
protected:
    void SetUp() override {
        WNDCLASSA wc{};
        wc.lpfnWndProc = FaceProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = kFaceClass;
        RegisterClassA(&wc);
    }
    HWND AddFace(int x, int y) { return host.AddChild(kFaceClass, "", WS_CLIPCHILDREN, x, y, 130, 53); }
    void Repaint(HWND control) {
        RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        Settle();
    }
    SkinnedHost host;
    SkinEngine& engine = *TheSkinEngine;
};

TEST_F(StaticControlTest, FaceColourIsKeyedOutOverTheSkin) {
    HWND control = AddFace(100, 60);
    EXPECT_EQ(engine.SkinStaticControl(control, std::nullopt, 0, 75), 0);
    const auto& statics = WindowRecord(host.number()).statics;
    ASSERT_NE(statics.Find(control), 0);
    EXPECT_EQ(statics[statics.Find(control)].keyColor, GetSysColor(COLOR_BTNFACE));
    Repaint(control);
    struct Probe {
        int x, y;
        bool ink;
    };
    for (const Probe& p : {Probe{60, 30, false}, Probe{16, 6, false}, Probe{6, 6, true}, Probe{120, 45, false}}) {
        SCOPED_TRACE(p.x * 100 + p.y);
        const COLORREF expected = p.ink ? kInk : SkinnedHost::Background(100 + p.x, 60 + p.y);
        EXPECT_LE(ColorDistance(ScreenPixel(control, p.x, p.y), expected), 2);
    }
    // The record's number and its window ride on the Kj_ properties.
    EXPECT_EQ(reinterpret_cast<INT_PTR>(GetPropA(control, "Kj_FuID")), host.number());
    EXPECT_NE(GetPropA(control, "Kj_hProc"), nullptr);
}

TEST_F(StaticControlTest, WithoutTransparentControlsTheControlPaintsItsOwnFace) {
    HWND control = AddFace(100, 60);
    engine.SkinStaticControl(control, std::nullopt, 0, 75);
    SkinTransparentControls = 0;
    Repaint(control);
    SkinTransparentControls = 1;
    EXPECT_LE(ColorDistance(ScreenPixel(control, 60, 30), GetSysColor(COLOR_BTNFACE)), 1);
}

TEST_F(StaticControlTest, AControlHoldingButtonsIsAlsoAContainer) {
    HWND picture = AddFace(40, 40);
    HWND button = host.AddChild("BUTTON", "in", BS_PUSHBUTTON, 60, 10, 60, 30, picture);
    const int container = engine.SkinStaticControl(picture, std::nullopt, 0, 75);
    EXPECT_EQ(container, 1);
    const auto& record = WindowRecord(host.number());
    EXPECT_NE(record.statics.Find(picture), 0);
    ASSERT_NE(record.containers.Find(picture), 0);
    EXPECT_EQ(record.containers[record.containers.Find(picture)].containerFlag, 0);
    EXPECT_NE(record.buttons.Find(button), 0);
    // Skinning it again changes nothing and does not subclass it twice.
    const HANDLE previous = GetPropA(picture, "Kj_hProc");
    engine.SkinStaticControl(picture, std::nullopt, 0, 75);
    EXPECT_EQ(GetPropA(picture, "Kj_hProc"), previous);
    EXPECT_EQ(record.statics.Count(), 1);
    Repaint(picture);   // the relay must not swallow the paint of the picture
    EXPECT_LE(ColorDistance(ScreenPixel(picture, 6, 6), kInk), 2);
}

}  // namespace
}  // namespace corvalin::testing
