#include <gtest/gtest.h>

#include "base/unique.h"
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

// The system's static controls paint into the DC they are given: a label's
// text and a picture box's bitmap land on the skin, never on black.
TEST_F(StaticControlTest, SystemLabelAndPictureShowOverTheSkin) {
    HWND label = host.AddChild("STATIC", "标签", SS_LEFT, 100, 60, 130, 20);
    HWND picture = host.AddChild("STATIC", "", SS_BITMAP, 100, 100, 40, 30);
    WindowDc screen(nullptr);
    UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), 20, 20));
    {
        UniqueMemoryDc dc(CreateCompatibleDC(screen.get()));
        SelectScope select(dc.get(), bitmap.get());
        UniqueGdiObject ink(CreateSolidBrush(kInk));
        RECT all{0, 0, 20, 20};
        FillRect(dc.get(), &all, static_cast<HBRUSH>(ink.get()));
    }
    SendMessageA(picture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap.get()));
    engine.SkinStaticControl(label, std::nullopt, 0, 75);
    engine.SkinStaticControl(picture, std::nullopt, 0, 75);
    // What a parent that clips its children leaves on the screen under them.
    for (HWND control : {label, picture}) {
        WindowDc dc(control);
        RECT client;
        GetClientRect(control, &client);
        FillRect(dc.get(), &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    }
    Repaint(label);
    Repaint(picture);
    // Away from the text: the skin behind, veiled or not. (The picture box
    // takes the size of its bitmap.)
    auto showsSkin = [](HWND control, int x, int y, int atX, int atY) {
        const COLORREF pixel = ScreenPixel(control, x, y), skin = SkinnedHost::Background(atX, atY);
        return ColorDistance(pixel, skin) <= 2 || ColorDistance(pixel, Veiled(skin, SkinVeilAlpha)) <= 2;
    };
    EXPECT_TRUE(showsSkin(label, 125, 15, 225, 75));
    EXPECT_LE(ColorDistance(ScreenPixel(picture, 10, 10), kInk), 2);
    // A repaint of part of the label lands where it belongs.
    RECT part{60, 0, 130, 20};
    {
        WindowDc dc(label);
        FillRect(dc.get(), &part, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    }
    RedrawWindow(label, &part, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    Settle();
    EXPECT_TRUE(showsSkin(label, 125, 15, 225, 75));
    DestroyWindow(picture);   // before the bitmap it shows goes
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
