#include <gtest/gtest.h>

#include "skin/families/control_families.h"
#include "skin/skin_settings.h"
#include "skin/skin_window_list.h"
#include "skin/skinned_host.h"
#include "support/message_pump.h"

namespace corvalin::testing {
namespace {

constexpr COLORREF kAccent = 0x00DDCA22;

int ButtonNumber(HWND button) { return static_cast<int>(reinterpret_cast<INT_PTR>(GetPropA(button, "Hw_lbID"))); }

TEST(SkinButtonsTest, RegistersPushCheckAndRadioButtonsByStyle) {
    SkinnedHost host;
    struct Case {
        DWORD style;
        int kind;   // -1: left alone
        bool ownerDrawnAfter;
    };
    const Case cases[] = {
        {BS_PUSHBUTTON, 0, true},       {BS_DEFPUSHBUTTON, 0, true}, {BS_GROUPBOX, -1, false},
        {BS_AUTOCHECKBOX, 5, false},    {BS_CHECKBOX, 5, false},     {BS_AUTORADIOBUTTON, 4, false},
        {BS_RADIOBUTTON, -1, false},    {BS_OWNERDRAW, -1, true},
    };
    std::vector<HWND> buttons;
    int x = 0;
    for (const Case& c : cases) buttons.push_back(host.AddChild("BUTTON", "b", c.style, x += 36, 10, 34, 20));
    SkinButtons(host.number(), host.window());
    SkinButtons(host.number(), host.window());   // a second pass adds nothing

    const auto& list = WindowRecord(host.number()).buttons;
    int registered = 0;
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        SCOPED_TRACE(i);
        const int number = list.Find(buttons[i]);
        if (cases[i].kind < 0) {
            EXPECT_EQ(number, 0);
        } else {
            ASSERT_NE(number, 0);
            ++registered;
            EXPECT_EQ(list[number].kind, cases[i].kind);
            EXPECT_EQ(ButtonNumber(buttons[i]), number);
        }
        EXPECT_EQ((GetWindowLongA(buttons[i], GWL_STYLE) & 0xF) == BS_OWNERDRAW, cases[i].ownerDrawnAfter);
    }
    EXPECT_EQ(registered, 5);
    EXPECT_EQ(list.Count(), 5);
    // Push buttons come first: the two of the first pass fill numbers 1 and 2.
    EXPECT_EQ(ButtonNumber(buttons[0]), 1);
    EXPECT_EQ(ButtonNumber(buttons[1]), 2);
}

TEST(SkinButtonsTest, NothingIsRegisteredWhileControlsAreNotSkinned) {
    SkinnedHost host;
    HWND button = host.AddChild("BUTTON", "b", BS_PUSHBUTTON, 10, 10, 80, 30);
    SkinTransparentControls = 0;
    SkinButtons(host.number(), host.window());
    SkinTransparentControls = 1;
    EXPECT_EQ(WindowRecord(host.number()).buttons.Find(button), 0);
    EXPECT_EQ(GetWindowLongA(button, GWL_STYLE) & 0xF, BS_PUSHBUTTON);
}

class PushButtonLookTest : public ::testing::Test {
protected:
    void SetUp() override {
        button = host.AddChild("BUTTON", "", BS_PUSHBUTTON, 40, 40, 80, 32);
        SkinButtons(host.number(), host.window());
        InvalidateRect(button, nullptr, TRUE);
        MoveMouseTo(host.window(), 5, 5);   // away from the button
        Settle();
    }
    SkinnedHost host;
    HWND button = nullptr;
};

TEST_F(PushButtonLookTest, FaceIsGlassOverTheSkinBehindIt) {
    // Away from the edges, the face is the skin under white glass, a grey
    // shade at the bottom and the highlight in the upper half.
    const COLORREF middle = ScreenPixel(button, 40, 24);
    const COLORREF behind = SkinnedHost::Background(40 + 40, 40 + 24);
    EXPECT_GT(GetRValue(middle), GetRValue(behind) + 60);
    EXPECT_GT(GetGValue(middle), GetGValue(behind) + 60);
    // The normal outline is black at alpha 120 over the glass: dark.
    const COLORREF edge = ScreenPixel(button, 0, 16);
    EXPECT_LT(GetRValue(edge), GetRValue(middle) - 40);
}

TEST_F(PushButtonLookTest, FollowsTheMouseThroughHotAndPressedLooks) {
    const COLORREF normalEdge = ScreenPixel(button, 0, 16);
    const COLORREF normalLow = ScreenPixel(button, 40, 27);
    EXPECT_GT(ColorDistance(normalEdge, kAccent), 40);

    MoveMouseTo(button, 40, 16);
    EXPECT_LE(ColorDistance(ScreenPixel(button, 0, 16), kAccent), 2) << "hot outline in the accent colour";

    PressLeftButton();
    // Pressed: the inner gradient ends in white at alpha 100 near the bottom.
    const COLORREF pressedLow = ScreenPixel(button, 40, 27);
    EXPECT_GT(GetRValue(pressedLow), GetRValue(normalLow) + 15);
    ReleaseLeftButton();
    ASSERT_FALSE(host.commands().empty());
    EXPECT_EQ(host.commands().back(), BN_CLICKED);

    MoveMouseTo(button, 44, 18);
    MoveMouseTo(host.window(), 5, 5);
    // The leave notification comes from the system's tracking timer.
    EXPECT_TRUE(PumpUntil([&] { return ColorDistance(ScreenPixel(button, 0, 16), kAccent) > 40; }, 3000))
        << "the hot look goes with the mouse";
}

TEST_F(PushButtonLookTest, MovingWithinTheButtonRepaintsItOnce) {
    MoveMouseTo(button, 20, 16);
    // Mark the face; a repaint would wipe the mark.
    {
        HDC dc = GetDC(button);
        SetPixel(dc, 40, 16, RGB(255, 0, 0));
        ReleaseDC(button, dc);
    }
    MoveMouseTo(button, 30, 16);
    MoveMouseTo(button, 50, 18);
    EXPECT_EQ(ScreenPixel(button, 40, 16), RGB(255, 0, 0));
}

TEST_F(PushButtonLookTest, DoubleClickIsSwallowed) {
    host.AddChild("STATIC", "", 0, 0, 0, 1, 1);   // nothing else takes the click
    SendMessageA(button, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(10, 10));
    SendMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    Settle();
    // Unswallowed, the double click would press the button and the release click it.
    EXPECT_TRUE(host.commands().empty());
}

TEST(CheckBoxTest, SpaceKeyRepaintsTheNewState) {
    SkinnedHost host;
    HWND box = host.AddChild("BUTTON", "check", BS_AUTOCHECKBOX | WS_TABSTOP, 20, 20, 100, 21);
    SkinButtons(host.number(), host.window());
    InvalidateRect(box, nullptr, TRUE);
    Settle();
    // The mark of the checked glyph covers row 6, columns 3 and 4 of the box.
    const int top = (21 - 13) / 2;
    const COLORREF mark = RGB(0x24, 0x6E, 0x75);
    EXPECT_GT(ColorDistance(ScreenPixel(box, 3, top + 6), mark), 30);

    SetFocus(box);
    SendMessageA(box, WM_KEYDOWN, VK_SPACE, 0);
    SendMessageA(box, WM_KEYUP, VK_SPACE, 0);
    Settle();
    ASSERT_EQ(SendMessageA(box, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_LE(ColorDistance(ScreenPixel(box, 3, top + 6), mark), 3);
    EXPECT_LE(ColorDistance(ScreenPixel(box, 4, top + 6), mark), 3);
}

TEST(ControlFontTest, DefaultsAndPointSizes) {
    SkinnedHost host;
    HWND plain = host.AddChild("BUTTON", "a", BS_PUSHBUTTON, 10, 10, 60, 24);
    HWND sized = host.AddChild("BUTTON", "b", BS_PUSHBUTTON, 80, 10, 60, 24);
    LOGFONTA logFont{};
    logFont.lfHeight = -16;   // 16 pixels: 12 points at 96 dots per inch
    lstrcpyA(logFont.lfFaceName, "Tahoma");
    HFONT font = CreateFontIndirectA(&logFont);
    SendMessageA(sized, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);

    const SkinControlFont none = GetControlFont(plain);
    EXPECT_EQ(none.name, "宋体");
    EXPECT_EQ(none.size, 12);
    const SkinControlFont own = GetControlFont(sized);
    EXPECT_EQ(own.size, 12);
    EXPECT_FALSE(own.name.empty());
    DestroyWindow(sized);
    DeleteObject(font);
}

}  // namespace
}  // namespace corvalin::testing
