// The caption buttons of a real skinned window: hit testing and the fading
// hover highlight, read back from the window's pixels between timer ticks.
#include <gtest/gtest.h>

#include "skin/skin_settings.h"
#include "skin/window_frame/skinned_window_fixture.h"

namespace corvalin::testing {
namespace {

using CaptionButtonsTest = SkinTest;

TEST_F(CaptionButtonsTest, HitTestingIsStrictAtTheButtonEdges) {
    SkinnedWindow w(300, 200);
    const SkinRectF close = w.record().captionButtons[2].rect;
    const int left = static_cast<int>(close.x), top = static_cast<int>(close.y);
    const struct {
        int x, y, button;
    } cases[] = {
        {left, top + 5, 0},        {left + 1, top + 5, 3},      {left + 5, top, 0},   {left + 5, top + 1, 3},
        {left + 5, top + 17, 3},   {left + 5, top + 18, 0},     {left - 1, top + 5, 0},
        {w.record().captionStrip.x - 1, top + 5, 0},            {left + 5, -1, 0},
        {static_cast<int>(w.record().captionButtons[0].rect.x) + 13, top + 9, 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(w.engine().HitTestCaptionButton(w.number(), c.x, c.y), c.button) << c.x << "," << c.y;
    }
}

// How far a pixel has moved towards red, the close button's highlight.
int Redness(COLORREF c) { return GetRValue(c) - GetGValue(c); }

TEST_F(CaptionButtonsTest, HoverFadesInAndOutInStepsOfThirty) {
    SkinnedWindow w(300, 200);
    const int close = 3;
    const SkinRectF r = w.record().captionButtons[close - 1].rect;
    // Inside the highlight, clear of the glyph's pictogram.
    const int px = static_cast<int>(r.x) + 4, py = static_cast<int>(r.y) + 2;
    const HWND window = w.window();
    auto tick = [&] { SendMessageA(window, WM_TIMER, reinterpret_cast<WPARAM>(window), 0); };
    auto reference = [&](int intensity) {
        w.engine().DrawCaptionButton(w.number(), close, nullptr, false, false, intensity);
        return w.WindowPixel(px, py);
    };
    const COLORREF normal = w.WindowPixel(px, py);
    EXPECT_EQ(normal, reference(0));

    const POINT centre = w.ButtonCentre(close);
    w.Mouse(WM_MOUSEMOVE, centre.x, centre.y);
    SendMessageA(window, WM_MOUSEHOVER, 0, 0);
    EXPECT_EQ(w.record().hoverTimerRunning, 1);
    EXPECT_EQ(w.record().hoveredButton, close);

    std::vector<COLORREF> seen{normal};
    for (int step = 1; step <= 8; ++step) {
        tick();
        const COLORREF now = w.WindowPixel(px, py);
        EXPECT_GT(Redness(now), Redness(seen.back())) << "fade-in step " << step;
        seen.push_back(now);
        EXPECT_EQ(now, reference(step * 30)) << "fade-in step " << step;
    }
    tick();   // the highlight stays at 240
    EXPECT_EQ(w.WindowPixel(px, py), seen.back());
    EXPECT_EQ(w.record().fadeIn.step, 8);

    w.Mouse(WM_MOUSEMOVE, 150, 120);
    EXPECT_EQ(w.record().hoverTimerRunning, 0);
    EXPECT_EQ(w.record().fadeOut.button, close);
    COLORREF last = w.WindowPixel(px, py);
    for (int step = 1; step <= 8; ++step) {
        tick();
        const COLORREF now = w.WindowPixel(px, py);
        EXPECT_LT(Redness(now), Redness(last)) << "fade-out step " << step;
        last = now;
        EXPECT_EQ(now, reference(240 - step * 30)) << "fade-out step " << step;
    }
    EXPECT_EQ(last, normal);
    // The animation is over: the timer is gone and the state cleared.
    EXPECT_EQ(w.record().fadeIn.button, 0);
    EXPECT_EQ(w.record().fadeOut.button, 0);
    EXPECT_EQ(w.record().hoveredButton, 0);
}

TEST_F(CaptionButtonsTest, OtherButtonsFadeInTheAccentColour) {
    SkinnedWindow w(300, 200);
    SkinAccentColor = RGB(0, 0, 255);
    const SkinRectF r = w.record().captionButtons[0].rect;
    const int px = static_cast<int>(r.x) + 3, py = static_cast<int>(r.y) + 2;
    const COLORREF normal = w.WindowPixel(px, py);
    w.engine().DrawCaptionButton(w.number(), 1, nullptr, false, false, 240);
    const COLORREF hot = w.WindowPixel(px, py);
    EXPECT_GT(GetBValue(hot) - GetRValue(hot), GetBValue(normal) - GetRValue(normal) + 40);
    w.engine().DrawCaptionButton(w.number(), 1, nullptr, false, true, 0);
    const COLORREF pressed = w.WindowPixel(px, py);
    EXPECT_LT(GetGValue(pressed), GetGValue(normal));   // darkened from the top
}

TEST_F(CaptionButtonsTest, LeavingTheWindowStartsTheFadeOut) {
    SkinnedWindow w(300, 200);
    const POINT centre = w.ButtonCentre(1);
    w.Mouse(WM_MOUSEMOVE, centre.x, centre.y);
    SendMessageA(w.window(), WM_MOUSEHOVER, 0, 0);
    EXPECT_EQ(w.record().mouseTracking, 1);
    SendMessageA(w.window(), WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(w.record().mouseTracking, 0);
    EXPECT_EQ(w.record().hoveredButton, 0);
    EXPECT_EQ(w.record().fadeIn.button, 0);
    EXPECT_EQ(w.record().fadeOut.button, 1);
    EXPECT_EQ(w.record().fadeOut.step, 0);
}

TEST_F(CaptionButtonsTest, SetCaptionGlyphsWithoutGlyphsChangesNothing) {
    SkinnedWindow w(300, 200);
    const auto before = w.CacheSnapshot();
    std::vector<Bytes> glyphs;
    for (const auto& b : w.record().captionButtons) glyphs.push_back(b.glyph);
    EXPECT_TRUE(w.engine().SetCaptionGlyphs(w.window(), {}));
    for (std::size_t i = 0; i < glyphs.size(); ++i) EXPECT_EQ(w.record().captionButtons[i].glyph, glyphs[i]);
    EXPECT_EQ(w.CacheSnapshot(), before);
    EXPECT_FALSE(w.engine().SetCaptionGlyphs(GetDesktopWindow(), {}));
}

}  // namespace
}  // namespace corvalin::testing
