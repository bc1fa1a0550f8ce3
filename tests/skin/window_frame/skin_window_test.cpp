// A real skinned top-level window and its messages.
#include <gtest/gtest.h>

#include "skin/skin_settings.h"
#include "skin/skin_window_list.h"
#include "skin/window_frame/skinned_window_fixture.h"
#include "skin/window_frame.h"
#include "support/message_pump.h"

namespace corvalin::testing {
namespace {

using SkinWindowTest = SkinTest;

SkinWindowOptions CaptionHeight(std::optional<int> height) {
    SkinWindowOptions options;
    options.captionHeight = height;
    return options;
}

TEST_F(SkinWindowTest, CaptionHeightHasAFloorOf25) {
    const struct {
        std::optional<int> given;
        int kept;
    } cases[] = {{10, 25}, {24, 25}, {25, 25}, {30, 30}, {std::nullopt, 25}};
    for (const auto& c : cases) {
        SkinnedWindow w(300, 200, SkinnedWindow::kMinMaxStyle, CaptionHeight(c.given), false);
        EXPECT_EQ(w.record().captionHeight, c.kept) << c.given.value_or(-1);
    }
}

TEST_F(SkinWindowTest, StripHoldsTheButtonsOfTheWindowStyle) {
    SkinWindowOptions all;
    all.helpButton = 1;
    all.menuButton = 1;
    const struct {
        DWORD style;
        SkinWindowOptions options;
        int width;
        std::vector<int> kinds;
    } cases[] = {
        {WS_POPUP | WS_MINIMIZEBOX, {}, 68, {kCaptionMinimize, kCaptionClose}},
        {WS_POPUP, {}, 41, {kCaptionClose}},
        {SkinnedWindow::kMinMaxStyle, {}, 95, {kCaptionMinimize, kCaptionMaximize, kCaptionClose}},
        {SkinnedWindow::kMinMaxStyle, all, 149,
         {kCaptionHelp, kCaptionMenu, kCaptionMinimize, kCaptionMaximize, kCaptionClose}},
    };
    for (const auto& c : cases) {
        SkinnedWindow w(300, 200, c.style, c.options, false);
        const SkinWindowRecord& r = w.record();
        EXPECT_EQ(r.captionStrip.width, c.width);
        EXPECT_EQ(r.captionStrip.height, 22);
        EXPECT_EQ(r.captionStrip.x, 300 - c.width + 1);
        ASSERT_EQ(r.captionButtons.size(), c.kinds.size());
        EXPECT_EQ(r.captionButtonCount, static_cast<int>(c.kinds.size()));
        for (std::size_t i = 0; i < c.kinds.size(); ++i) {
            const SkinCaptionButton& b = r.captionButtons[i];
            EXPECT_EQ(b.kind, c.kinds[i]);
            EXPECT_EQ(b.width, b.kind == kCaptionClose ? 38 : 26);
            EXPECT_FLOAT_EQ(b.rect.x, static_cast<float>(r.captionStrip.x + 2 + 27 * static_cast<int>(i)));
            EXPECT_FLOAT_EQ(b.rect.width, b.kind == kCaptionClose ? 40.0f : 26.0f);
            EXPECT_FALSE(b.glyph.empty());
        }
        EXPECT_TRUE(GetWindowLongPtrA(w.window(), GWL_STYLE) & WS_SYSMENU);
        const RECT strip = w.engine().GetCaptionStripRect(w.window());
        EXPECT_EQ(strip.right - strip.left, c.width);
        EXPECT_EQ(strip.bottom, 22);
    }
}

TEST_F(SkinWindowTest, SkinningTwiceKeepsOneRecord) {
    SkinnedWindow w(300, 200);
    const int count = SkinWindowCount();
    w.engine().SkinWindow(w.window());
    EXPECT_EQ(SkinWindowCount(), count);
    EXPECT_EQ(GetPropValue(w.window(), kPropListId), w.number());
}

TEST_F(SkinWindowTest, OnlyTheFirstSizeOfTheProgramSkipsTheFullRepaint) {
    SkinnedWindow w(300, 200);
    SkinFirstSize = 1;
    w.record().repaintAll = 1;
    SendMessageA(w.window(), WM_SIZE, SIZE_RESTORED, MAKELPARAM(300, 200));
    EXPECT_EQ(w.record().repaintAll, 0);
    EXPECT_EQ(SkinFirstSize, 0);
    for (int i = 0; i < 2; ++i) {
        w.record().repaintAll = 0;
        SendMessageA(w.window(), WM_SIZE, SIZE_RESTORED, MAKELPARAM(300, 200));
        EXPECT_EQ(w.record().repaintAll, 1);
    }
}

TEST_F(SkinWindowTest, DoubleClickInTheCaptionMaximisesThroughTheMaximiseButton) {
    const struct {
        int y;
        bool maximises;
    } cases[] = {{25, true}, {0, true}, {26, false}, {100, false}};
    for (const auto& c : cases) {
        SkinnedWindow w(300, 200);
        w.Mouse(WM_LBUTTONDBLCLK, 100, c.y);
        EXPECT_EQ(IsZoomed(w.window()) != FALSE, c.maximises) << c.y;
        EXPECT_EQ(w.record().maximized, c.maximises ? 1 : 0) << c.y;
        if (c.maximises) {
            w.Mouse(WM_LBUTTONDBLCLK, 100, c.y);
            EXPECT_FALSE(IsZoomed(w.window())) << c.y;
            EXPECT_EQ(w.record().maximized, 0) << c.y;
        }
    }
}

TEST_F(SkinWindowTest, DoubleClickDoesNothingWithoutMaximiseButtonOrWhenSwitchedOff) {
    SkinWindowOptions off;
    off.doubleClickMaximizes = 0;
    SkinnedWindow switchedOff(300, 200, SkinnedWindow::kMinMaxStyle, off);
    switchedOff.Mouse(WM_LBUTTONDBLCLK, 100, 10);
    EXPECT_FALSE(IsZoomed(switchedOff.window()));

    SkinnedWindow noButton(300, 200, WS_POPUP | WS_MINIMIZEBOX);
    EXPECT_EQ(noButton.engine().FindMaximizeButton(noButton.number()), 0);
    noButton.Mouse(WM_LBUTTONDBLCLK, 100, 10);
    EXPECT_EQ(noButton.record().maximized, 0);
}

TEST_F(SkinWindowTest, MaximiseButtonTogglesAndShowsTheRestoreGlyphWhileMaximised) {
    SkinnedWindow w(300, 200);
    const int max = w.engine().FindMaximizeButton(w.number());
    ASSERT_EQ(max, 2);
    auto buttonPixels = [&] {
        std::vector<COLORREF> pixels;
        const SkinWindowRecord& r = w.record();
        // The glyph's own columns; the separator beside it is drawn by its neighbour too.
        const int x0 = static_cast<int>(r.captionButtons[max - 1].rect.x), y0 = r.captionStrip.y + 1;
        for (int y = y0; y < y0 + 18; ++y)
            for (int x = x0; x < x0 + 23; ++x) pixels.push_back(w.CachePixel(x, y));
        return pixels;
    };
    // Every button drawn on its own, as each redraw outside a full rebuild is.
    ASSERT_TRUE(w.engine().SetCaptionGlyphs(w.window(), {}));
    const auto normal = buttonPixels();
    // Apart from a little smoothing noise, the same glyph gives the same pixels.
    auto differing = [&](const std::vector<COLORREF>& a) {
        int count = 0;
        for (std::size_t i = 0; i < a.size(); ++i) count += ColorDistance(a[i], normal[i]) > 12;
        return count;
    };

    const POINT centre = w.ButtonCentre(max);
    w.Mouse(WM_MOUSEMOVE, centre.x, centre.y);
    w.Mouse(WM_LBUTTONDOWN, centre.x, centre.y, MK_LBUTTON);
    w.Mouse(WM_LBUTTONUP, centre.x, centre.y);
    PumpMessagesFor(50);
    ASSERT_TRUE(IsZoomed(w.window()));
    EXPECT_EQ(w.record().maximized, 1);
    ASSERT_TRUE(w.engine().SetCaptionGlyphs(w.window(), {}));
    EXPECT_GT(differing(buttonPixels()), 20);

    // With the maximise glyph put in the restore glyph's place the button
    // looks normal again: what changed was the glyph, nothing else.
    SkinCaptionGlyphs glyphs;
    glyphs.restore = w.record().captionButtons[max - 1].glyph;
    EXPECT_TRUE(w.engine().SetCaptionGlyphs(w.window(), glyphs));
    EXPECT_EQ(differing(buttonPixels()), 0);


    const POINT again = w.ButtonCentre(max);
    w.Mouse(WM_MOUSEMOVE, again.x, again.y);
    w.Mouse(WM_LBUTTONDOWN, again.x, again.y, MK_LBUTTON);
    w.Mouse(WM_LBUTTONUP, again.x, again.y);
    PumpMessagesFor(50);
    EXPECT_FALSE(IsZoomed(w.window()));
    EXPECT_EQ(w.record().maximized, 0);
}

TEST_F(SkinWindowTest, ReleaseOverACaptionButtonPerformsItWhereverThePressBegan) {
    {
        SkinnedWindow w(300, 200);
        w.Mouse(WM_LBUTTONDOWN, 150, 120, MK_LBUTTON);   // the middle: neither caption, border nor button
        const POINT close = w.ButtonCentre(3);
        w.Mouse(WM_MOUSEMOVE, close.x, close.y, MK_LBUTTON);
        const HWND window = w.window();
        w.Mouse(WM_LBUTTONUP, close.x, close.y);
        EXPECT_FALSE(IsWindow(window));
    }
    {
        SkinnedWindow w(300, 200);
        const POINT close = w.ButtonCentre(3);
        w.Mouse(WM_MOUSEMOVE, close.x, close.y);
        w.Mouse(WM_LBUTTONDOWN, close.x, close.y, MK_LBUTTON);
        w.Mouse(WM_MOUSEMOVE, 150, 120, MK_LBUTTON);
        w.Mouse(WM_LBUTTONUP, 150, 120);
        EXPECT_TRUE(IsWindow(w.window()));
    }
}

TEST_F(SkinWindowTest, MinimiseButtonMinimises) {
    SkinnedWindow w(300, 200);
    const POINT minimise = w.ButtonCentre(1);
    w.Mouse(WM_MOUSEMOVE, minimise.x, minimise.y);
    w.Mouse(WM_LBUTTONDOWN, minimise.x, minimise.y, MK_LBUTTON);
    w.Mouse(WM_LBUTTONUP, minimise.x, minimise.y);
    PumpMessagesFor(30);
    EXPECT_TRUE(IsIconic(w.window()));
    EXPECT_EQ(w.record().minimized, 1);
    SendMessageA(w.window(), WM_QUERYOPEN, 0, 0);
    EXPECT_EQ(w.record().minimized, 0);
}

TEST_F(SkinWindowTest, ColourMessagesAreLeftToTheWindowWhileTheVeilIsOff) {
    SkinnedWindow w(300, 200);
    HWND label = CreateWindowExA(0, "STATIC", "x", WS_CHILD | WS_VISIBLE, 20, 60, 80, 20, w.window(), nullptr,
                                 nullptr, nullptr);
    HDC dc = GetDC(label);
    SetTextColor(dc, RGB(1, 2, 3));
    SetBkMode(dc, OPAQUE);
    w.ClearPassed();
    SkinVeilOn = 0;
    const LRESULT own = SendMessageA(w.window(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                     reinterpret_cast<LPARAM>(label));
    EXPECT_EQ(own, reinterpret_cast<LRESULT>(GetStockObject(GRAY_BRUSH)));
    ASSERT_EQ(w.Passed(WM_CTLCOLORSTATIC).size(), 1u);
    EXPECT_EQ(GetTextColor(dc), RGB(1, 2, 3));
    EXPECT_EQ(GetBkMode(dc), OPAQUE);
    EXPECT_EQ(GetPropA(label, kPropColorBrush), nullptr);

    SkinVeilOn = 1;
    SetPropValue(label, kPropTextColor, RGB(9, 8, 7));
    const LRESULT veiled = SendMessageA(w.window(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                        reinterpret_cast<LPARAM>(label));
    EXPECT_NE(veiled, own);
    EXPECT_EQ(veiled, GetPropValue(label, kPropColorBrush));
    EXPECT_NE(GetPropA(label, kPropColorBrushBitmap), nullptr);
    EXPECT_EQ(w.Passed(WM_CTLCOLORSTATIC).size(), 1u);
    EXPECT_EQ(GetTextColor(dc), RGB(9, 8, 7));
    EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
    ReleaseDC(label, dc);
    DeleteObject(GetPropA(label, kPropColorBrush));
    DeleteObject(GetPropA(label, kPropColorBrushBitmap));
    SkinVeilOn = 0;
}

TEST_F(SkinWindowTest, ForeignTimersArePassedOnAndDoNotAnimate) {
    SkinnedWindow w(300, 200);
    const POINT close = w.ButtonCentre(3);
    w.Mouse(WM_MOUSEMOVE, close.x, close.y);
    SendMessageA(w.window(), WM_MOUSEHOVER, 0, 0);
    w.ClearPassed();
    SendMessageA(w.window(), WM_TIMER, 1234, 0);
    const auto passed = w.Passed(WM_TIMER);
    ASSERT_EQ(passed.size(), 1u);
    EXPECT_EQ(passed[0].wParam, 1234u);
    EXPECT_EQ(w.record().fadeIn.step, 0);
    SendMessageA(w.window(), WM_TIMER, reinterpret_cast<WPARAM>(w.window()), 0);
    EXPECT_EQ(w.record().fadeIn.step, 1);
}

TEST_F(SkinWindowTest, PaintingFromTheCacheCopiesItToTheScreen) {
    SkinnedWindow w(300, 200);
    InvalidateRect(w.window(), nullptr, FALSE);
    UpdateWindow(w.window());
    for (POINT p : {POINT{150, 100}, POINT{20, 150}, POINT{280, 180}}) {
        EXPECT_EQ(w.WindowPixel(p.x, p.y), w.CachePixel(p.x, p.y)) << p.x << "," << p.y;
    }
    EXPECT_EQ(w.CachePixel(150, 100), RGB(100, 100, 100));
}

TEST_F(SkinWindowTest, GetMinMaxInfoHoldsTheTrackingLimits) {
    SkinnedWindow w(300, 200);
    MINMAXINFO info{};
    SendMessageA(w.window(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, 200);
    EXPECT_EQ(info.ptMinTrackSize.y, 150);
    EXPECT_EQ(info.ptMaxTrackSize.x, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(info.ptMaxTrackSize.y, GetSystemMetrics(SM_CYSCREEN));
}

TEST_F(SkinWindowTest, DestroyingTheWindowRemovesItsRecordAndTimer) {
    auto w = std::make_unique<SkinnedWindow>(300, 200);
    const POINT close = w->ButtonCentre(3);
    w->Mouse(WM_MOUSEMOVE, close.x, close.y);
    EXPECT_EQ(w->record().hoverTimerRunning, 1);
    const HWND window = w->window();
    const int count = SkinWindowCount();
    w.reset();
    EXPECT_EQ(SkinWindowCount(), count - 1);
    EXPECT_EQ(FindWindowRecord(window), 0);
}

int helpCalls = 0, customCalls = 0;
void CALLBACK CountHelp() { ++helpCalls; }
void CALLBACK CountCustom() { ++customCalls; }
LONG_PTR CALLBACK Weighted(LONG_PTR a, LONG_PTR b, LONG_PTR c) { return a * 100 + b * 10 + c; }

TEST_F(SkinWindowTest, HelpMenuAndCustomButtonsCallTheirRoutines) {
    SkinWindowOptions options;
    options.helpButton = 1;
    SkinnedWindow w(300, 200, WS_POPUP, options);
    helpCalls = customCalls = 0;
    w.engine().PerformCaptionButton(w.number(), 1);   // no routine yet
    w.engine().SetHelpButtonAction(w.window(), CountHelp);
    w.engine().PerformCaptionButton(w.number(), 1);
    EXPECT_EQ(helpCalls, 1);

    const int widthBefore = w.record().captionStrip.width;
    ASSERT_TRUE(w.engine().AddCaptionButton(w.window(), w.record().captionButtons[0].glyph, "自定", CountCustom));
    EXPECT_EQ(w.record().captionButtons.size(), 3u);
    EXPECT_EQ(w.record().captionButtons[0].kind, kCaptionCustom);
    EXPECT_EQ(w.record().captionStrip.width, widthBefore + 27);
    w.engine().PerformCaptionButton(w.number(), 1);
    EXPECT_EQ(customCalls, 1);
    w.engine().PerformCaptionButton(w.number(), 2);
    EXPECT_EQ(helpCalls, 2);
    w.engine().PerformCaptionButton(w.number(), 0);
    w.engine().PerformCaptionButton(w.number(), 4);
    EXPECT_TRUE(IsWindow(w.window()));
    EXPECT_FALSE(w.engine().AddCaptionButton(GetDesktopWindow(), {}, "x", CountCustom));

    EXPECT_EQ(InvokeCallback(reinterpret_cast<INT_PTR>(Weighted), {1, 2, 3}), 123);
    EXPECT_EQ(InvokeCallback(0, {}), 0);
}

TEST_F(SkinWindowTest, SetTextRedrawsOnlyTheTitleBox) {
    SkinnedWindow w(300, 200, SkinnedWindow::kMinMaxStyle, {}, true, "");
    const auto before = w.CacheSnapshot();
    SetWindowTextA(w.window(), "WWWW 标题");
    const auto after = w.CacheSnapshot();
    int changed = 0;
    const int b = w.engine().resizeBorderWidth;
    const int titleRight = 300 - w.record().captionStrip.width - 10 - 2 * b + b + 6;
    for (int y = 0; y < 200; ++y) {
        for (int x = 0; x < 300; ++x) {
            if (before[y * 300 + x] == after[y * 300 + x]) continue;
            ++changed;
            EXPECT_TRUE(x >= b + 6 + 19 && x < titleRight && y >= b + 3 && y < w.record().captionHeight)
                << x << "," << y;
        }
    }
    EXPECT_GT(changed, 20);
}

}  // namespace
}  // namespace corvalin::testing
