#include <gtest/gtest.h>

#include "skin/families/control_families.h"
#include "skin/skin_settings.h"
#include "skin/skin_window_list.h"
#include "skin/skinned_host.h"
#include "support/message_pump.h"

namespace corvalin::testing {
namespace {

constexpr COLORREF kAccent = 0x00DDCA22;

class EditBoxTest : public ::testing::Test {
protected:
    HWND AddEdit(DWORD style, int x = 60, int y = 50, int w = 152, int h = 24, DWORD exStyle = 0) {
        HWND edit = host.AddChild("Edit", "", style, x, y, w, h, nullptr, exStyle);
        SkinEditControls(host.number(), host.window());
        RedrawWindow(edit, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
        Settle();
        return edit;
    }
    // Where client pixel (x, y) of the edit lies in the host.
    static POINT InHost(HWND edit, int x, int y) {
        POINT p{x, y};
        MapWindowPoints(edit, GetParent(edit), &p, 1);
        return p;
    }
    SkinnedHost host;
};

TEST_F(EditBoxTest, BackgroundIsTheSkinUnderTheWhiteVeil) {
    HWND edit = AddEdit(WS_BORDER | ES_AUTOHSCROLL);
    ASSERT_NE(WindowRecord(host.number()).edits.Find(edit), 0);
    EXPECT_EQ(reinterpret_cast<INT_PTR>(GetPropA(edit, "Kj_Ztys")), 0);
    RECT client;
    GetClientRect(edit, &client);
    for (POINT at : {POINT{client.right / 2, client.bottom / 2}, POINT{client.right - 6, 4}, POINT{8, client.bottom - 5}}) {
        SCOPED_TRACE(at.x * 1000 + at.y);
        const POINT h = InHost(edit, at.x, at.y);
        EXPECT_LE(ColorDistance(ScreenPixel(edit, at.x, at.y), Veiled(SkinnedHost::Background(h.x, h.y), 75)), 3);
    }
}

TEST_F(EditBoxTest, TypingRepaintsTheBackgroundSoNothingSmears) {
    HWND edit = AddEdit(WS_BORDER | ES_AUTOHSCROLL);
    SetFocus(edit);
    for (char c : std::string("88888888")) {
        SendMessageA(edit, WM_KEYDOWN, c, 0);
        SendMessageA(edit, WM_CHAR, c, 0);
    }
    Settle();
    for (int i = 0; i < 8; ++i) {
        SendMessageA(edit, WM_KEYDOWN, VK_BACK, 0);
        SendMessageA(edit, WM_CHAR, VK_BACK, 0);
    }
    Settle();
    char text[16] = {};
    GetWindowTextA(edit, text, sizeof text);
    ASSERT_STREQ(text, "");
    RECT client;
    GetClientRect(edit, &client);
    int smeared = 0;
    for (int x = 4; x < 60; ++x)
        for (int y = 3; y < client.bottom - 3; ++y) {
            const POINT h = InHost(edit, x, y);
            if (ColorDistance(ScreenPixel(edit, x, y), Veiled(SkinnedHost::Background(h.x, h.y), 75)) > 3) ++smeared;
        }
    EXPECT_EQ(smeared, 0);
}

TEST_F(EditBoxTest, FrameTakesTheAccentColourUnderTheMouse) {
    // With a client edge the frame is non-client area the skin paints.
    HWND edit = AddEdit(ES_AUTOHSCROLL, 60, 50, 152, 24, WS_EX_CLIENTEDGE);
    RECT window;
    GetWindowRect(edit, &window);
    auto framePixel = [&](int x, int y) {
        HDC dc = GetWindowDC(edit);
        const COLORREF c = GetPixel(dc, x, y);
        ReleaseDC(edit, dc);
        return c;
    };
    const int midY = (window.bottom - window.top) / 2;
    // Normal: black at alpha 80 over the veiled skin at the outer line.
    const COLORREF veiledEdge = Veiled(SkinnedHost::Background(60, 50 + midY), 75);
    EXPECT_LT(GetRValue(framePixel(0, midY)), GetRValue(veiledEdge) - 20);
    EXPECT_GT(ColorDistance(framePixel(1, midY), kAccent), 40);

    MoveMouseTo(edit, 20, 10);
    // Hot: a 2-pixel accent pen at alpha 180 around (1, 1).
    const COLORREF hot = framePixel(1, midY);
    EXPECT_LT(ColorDistance(hot, kAccent), 50);
    EXPECT_GT(GetBValue(hot), GetRValue(hot) + 80);

    MoveMouseTo(host.window(), 5, 5);
    EXPECT_TRUE(PumpUntil([&] { return ColorDistance(framePixel(1, midY), kAccent) > 40; }, 3000));
}

TEST_F(EditBoxTest, ScrollBarsStayWithTheSystem) {
    HWND edit = AddEdit(WS_BORDER | WS_VSCROLL | ES_MULTILINE, 60, 40, 152, 80);
    EXPECT_TRUE(HasScrollBars(edit));
    UniqueRegion bars = ScrollBarRegion(edit);
    RECT box{};
    ASSERT_NE(GetRgnBox(bars.get(), &box), NULLREGION);
    RECT window;
    GetWindowRect(edit, &window);
    EXPECT_EQ(box.right - box.left, GetSystemMetrics(SM_CXVSCROLL));
    // The bar's middle is system grey, not the veiled skin.
    HDC dc = GetWindowDC(edit);
    const int x = (box.left + box.right) / 2 - window.left, y = (box.top + box.bottom) / 2 - window.top;
    const COLORREF bar = GetPixel(dc, x, y);
    ReleaseDC(edit, dc);
    EXPECT_GT(ColorDistance(bar, Veiled(SkinnedHost::Background(60 + x, 40 + y), 75)), 3);
}

TEST_F(EditBoxTest, ComboBoxesShowTheirSelectionAndTheirEditIsSkinnedOnlyUnderTheVeil) {
    HWND combo = host.AddChild("ComboBox", "", CBS_DROPDOWN, 20, 20, 150, 200);
    SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("first"));
    SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("second"));
    SendMessageA(combo, CB_SETCURSEL, 1, 0);
    HWND inner = FindWindowExA(combo, nullptr, "Edit", nullptr);
    ASSERT_NE(inner, nullptr);
    SkinVeilOn = 0;
    SkinEditControls(host.number(), host.window());
    SkinVeilOn = 1;
    const auto& record = WindowRecord(host.number());
    EXPECT_NE(record.combos.Find(combo), 0);
    EXPECT_EQ(record.edits.Find(inner), 0);
    char text[32] = {};
    GetWindowTextA(combo, text, sizeof text);
    EXPECT_STREQ(text, "second");

    HWND other = host.AddChild("ComboBox", "", CBS_DROPDOWN, 20, 60, 150, 200);
    HWND otherInner = FindWindowExA(other, nullptr, "Edit", nullptr);
    SkinEditControls(host.number(), host.window());
    EXPECT_NE(WindowRecord(host.number()).edits.Find(otherInner), 0);
}

}  // namespace
}  // namespace corvalin::testing
