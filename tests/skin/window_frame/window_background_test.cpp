// The composed background of a real skinned window, read back pixel by pixel.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "skin/skin_settings.h"
#include "skin/window_frame/skinned_window_fixture.h"
#include "skin/window_background.h"
#include "skin/drawing/skin_image.h"
#include "skin/skin_properties.h"
#include "skin/drawing/drawing_objects.h"
#include "skin/images/builtin_images.h"
#include "support/message_pump.h"

namespace corvalin::testing {
namespace {

using WindowBackgroundTest = SkinTest;

constexpr COLORREF kGreen = RGB(10, 200, 30);
constexpr COLORREF kRed = RGB(220, 20, 20);
constexpr COLORREF kBlue = RGB(20, 20, 220);
constexpr COLORREF kYellow = RGB(230, 230, 10);
constexpr COLORREF kWhite = RGB(250, 250, 250);

COLORREF Solid(int, int, int, int) { return kGreen; }
COLORREF HalvesRedBlue(int x, int, int w, int) { return x < w / 2 ? kRed : kBlue; }
COLORREF Quadrants(int x, int y, int w, int h) {
    if (y < h / 2) return x < w / 2 ? kRed : kBlue;
    return x < w / 2 ? kYellow : kWhite;
}

SkinWindowOptions NoTitle() {
    SkinWindowOptions options;
    options.titleShown = 0;
    return options;
}

struct Settings {
    COLORREF back, accent;
    Bytes picture;
    int mode;
    static Settings Now() { return {SkinBackColor, SkinAccentColor, SkinBackPicture, SkinBackMode}; }
    bool operator==(const Settings&) const = default;
};

TEST_F(WindowBackgroundTest, SetSkinPictureArgumentCases) {
    const Bytes png = MakePng(40, 30, Solid);
    ASSERT_FALSE(png.empty());
    SkinEngine& engine = *TheSkinEngine;
    const Settings start = Settings::Now();

    engine.SetSkinPicture("", {}, std::nullopt, -1, std::nullopt);
    EXPECT_EQ(Settings::Now(), start) << "nothing given, accent -1";

    engine.SetSkinPicture("", {}, std::nullopt, 0x123456, std::nullopt);
    Settings accentOnly = start;
    accentOnly.accent = 0x123456;
    EXPECT_EQ(Settings::Now(), accentOnly);

    engine.SetSkinPicture("", {}, std::nullopt, std::nullopt, std::nullopt);
    EXPECT_EQ(SkinAccentColor, kDefaultAccentColor);

    engine.SetSkinPicture("", {}, RGB(1, 2, 3), -1, std::nullopt);
    EXPECT_EQ(SkinBackColor, RGB(1, 2, 3));
    EXPECT_EQ(SkinAccentColor, RGB(1, 2, 3));
    EXPECT_TRUE(SkinBackPicture.empty());

    engine.SetSkinPicture("", png, std::nullopt, std::nullopt, std::nullopt);
    EXPECT_EQ(SkinBackMode, 4);
    EXPECT_EQ(SkinBackPicture, png);
    EXPECT_EQ(SkinBackColor, 0xFF000000u | kGreen);   // the average of a one-colour picture
    EXPECT_EQ(SkinAccentColor, kDefaultAccentColor);

    engine.SetSkinPicture("", png, RGB(5, 6, 7), -1, 3);
    EXPECT_EQ(SkinBackMode, 3);
    EXPECT_EQ(SkinBackColor, RGB(5, 6, 7));
    EXPECT_EQ(SkinAccentColor, RGB(5, 6, 7));
    EXPECT_EQ(SkinBackPicture, png);

    engine.SetSkinPicture("", png, RGB(5, 6, 7), std::nullopt, 0);
    EXPECT_EQ(SkinBackMode, 0);
    EXPECT_NE(SkinBackPicture, png);   // faded and re-encoded
    EXPECT_FALSE(SkinBackPicture.empty());
}

TEST_F(WindowBackgroundTest, AverageColourOfAPictureThatDoesNotDecodeIsBlack) {
    EXPECT_EQ(AverageColor(Bytes{1, 2, 3}), 0xFF000000u);
    const COLORREF halves = AverageColor(MakePng(100, 50, HalvesRedBlue));
    // Half red, half blue: both near the middle of the two.
    EXPECT_NEAR(GetRValue(halves), 120, 25);
    EXPECT_NEAR(GetBValue(halves), 120, 25);
}

TEST_F(WindowBackgroundTest, FadedPictureBlendsIntoTheColourAtItsEdges) {
    const Bytes png = MakePng(100, 100, Solid);
    SkinCanvas right, left;
    ASSERT_TRUE(right.CreateFromBytes(FadePictureEdges(png, {}, FadeSide::Right, RGB(0, 0, 255), std::nullopt)));
    ASSERT_TRUE(left.CreateFromBytes(FadePictureEdges(png, {}, FadeSide::Left, RGB(0, 0, 255), std::nullopt)));
    auto blue = [](Gdiplus::ARGB p) { return static_cast<int>(p & 0xFF); };
    EXPECT_LT(blue(right.GetPixel(10, 10)), 40);     // untouched corner
    EXPECT_GT(blue(right.GetPixel(98, 10)), 200);    // right edge
    EXPECT_GT(blue(right.GetPixel(10, 98)), 200);    // bottom edge
    EXPECT_GT(blue(left.GetPixel(1, 10)), 200);      // left edge
    EXPECT_LT(blue(left.GetPixel(90, 10)), 40);
}

TEST_F(WindowBackgroundTest, ModeFourTilesAcrossTheWidthMirroringEveryOtherTile) {
    TheSkinEngine->SetSkinPicture("", MakePng(40, 60, HalvesRedBlue), RGB(100, 100, 100), std::nullopt, std::nullopt);
    ASSERT_EQ(SkinBackMode, 4);
    SkinnedWindow w(150, 120, WS_POPUP, NoTitle());
    const struct {
        int x;
        COLORREF colour;
    } row[] = {{5, kRed}, {35, kBlue}, {45, kBlue}, {75, kRed}, {85, kRed}, {115, kBlue}, {125, kBlue}};
    for (const auto& c : row) {
        EXPECT_LE(ColorDistance(w.CachePixel(c.x, 40), c.colour), 8) << c.x;
    }
    // Below the picture the panel shows its colour.
    EXPECT_LE(ColorDistance(w.CachePixel(75, 90), RGB(100, 100, 100)), 2);
}

TEST_F(WindowBackgroundTest, ModeThreeStretchesThePictureOverTheWindow) {
    TheSkinEngine->SetSkinPicture("", MakePng(40, 40, Quadrants), RGB(100, 100, 100), std::nullopt, 3);
    SkinnedWindow w(200, 160, WS_POPUP, NoTitle());
    const struct {
        int x, y;
        COLORREF colour;
    } points[] = {{40, 50, kRed}, {160, 50, kBlue}, {40, 130, kYellow}, {160, 130, kWhite}};
    for (const auto& p : points) {
        EXPECT_LE(ColorDistance(w.CachePixel(p.x, p.y), p.colour), 8) << p.x << "," << p.y;
    }
}

TEST_F(WindowBackgroundTest, BorderHasADarkOuterAndALightInnerLine) {
    SkinnedWindow w(200, 150, WS_POPUP, NoTitle());
    // Black and white at alpha 180 over the grey panel (100).
    const int dark = 100 * (255 - 180) / 255, light = 100 + (255 - 100) * 180 / 255;
    const struct {
        int x, y, level;
    } points[] = {{100, 0, dark},   {100, 1, light},  {0, 75, dark},    {1, 75, light},
                  {100, 149, dark}, {100, 148, light}, {199, 75, dark}, {198, 75, light},
                  {100, 3, 100},    {3, 75, 100}};
    for (const auto& p : points) {
        const COLORREF c = w.CachePixel(p.x, p.y);
        EXPECT_NEAR(GetGValue(c), p.level, 3) << p.x << "," << p.y;
    }
}

// The border lines run unbroken round the bottom-right corner: on screen it is
// the mirror image of the bottom-left one, line pixel for line pixel, for
// widths and heights of both parities.
TEST_F(WindowBackgroundTest, BottomRightCornerIsTheMirrorOfTheBottomLeft) {
    const int dark = 100 * (255 - 180) / 255, light = 100 + (255 - 100) * 180 / 255;
    auto lineAt = [&](COLORREF c) {
        if (std::abs(GetGValue(c) - dark) <= 3) return 'D';
        if (std::abs(GetGValue(c) - light) <= 3) return 'L';
        return '.';
    };
    for (SIZE size : {SIZE{200, 150}, SIZE{201, 151}}) {
        SkinnedWindow w(size.cx, size.cy, WS_POPUP, NoTitle());
        HRGN region = CreateRectRgn(0, 0, 0, 0);
        ASSERT_NE(GetWindowRgn(w.window(), region), ERROR);
        std::string left, right;
        for (int y = size.cy - 10; y < size.cy; ++y) {
            for (int x = 0; x < 10; ++x) {
                const int mirrored = size.cx - 1 - x;
                // The region need not be symmetric to the pixel; a pixel off the
                // screen on either side is left out.
                const bool shown = PtInRegion(region, x, y) && PtInRegion(region, mirrored, y);
                left += shown ? lineAt(w.ScreenPixel(x, y)) : ' ';
                right += shown ? lineAt(w.ScreenPixel(mirrored, y)) : ' ';
            }
            left += '|';
            right += '|';
        }
        DeleteObject(region);
        EXPECT_EQ(right, left) << size.cx << " x " << size.cy;
        EXPECT_NE(left.find('D'), std::string::npos);
        EXPECT_NE(left.find('L'), std::string::npos);
    }
}

TEST_F(WindowBackgroundTest, CornersOutsideTheRoundedRegionShowNoMagenta) {
    SkinnedWindow w(200, 150, WS_POPUP, NoTitle());
    // The cache is magenta where the rounded panel does not reach...
    EXPECT_EQ(w.CachePixel(0, 0), RGB(255, 0, 255));
    // ...and the region keeps exactly those pixels off the screen.
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(w.window(), region), ERROR);
    int inside = 0;
    const POINT corners[] = {{0, 0}, {194, 0}, {0, 144}, {194, 144}};
    for (POINT corner : corners) {
        for (int y = corner.y; y < corner.y + 6; ++y) {
            for (int x = corner.x; x < corner.x + 6; ++x) {
                const COLORREF cache = w.CachePixel(x, y);
                const bool magenta = GetRValue(cache) > 150 && GetBValue(cache) > 150 && GetGValue(cache) < 100;
                if (PtInRegion(region, x, y)) {
                    ++inside;
                    EXPECT_FALSE(magenta) << x << "," << y;
                    const COLORREF screen = w.ScreenPixel(x, y);
                    EXPECT_FALSE(GetRValue(screen) > 150 && GetBValue(screen) > 150 && GetGValue(screen) < 100)
                        << x << "," << y;
                }
            }
        }
    }
    EXPECT_GT(inside, 100);
    DeleteObject(region);
}

TEST_F(WindowBackgroundTest, RoundedRegionFollowsAResize) {
    SkinnedWindow w(200, 150, WS_POPUP, NoTitle());
    auto regionBox = [&] {
        HRGN region = CreateRectRgn(0, 0, 0, 0);
        RECT box{};
        if (GetWindowRgn(w.window(), region) != ERROR) GetRgnBox(region, &box);
        DeleteObject(region);
        return box;
    };
    RECT box = regionBox();
    EXPECT_EQ(box.right, 200);
    EXPECT_EQ(box.bottom, 150);
    SetWindowPos(w.window(), nullptr, 0, 0, 260, 190, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    UpdateWindow(w.window());
    box = regionBox();
    EXPECT_EQ(box.right, 260);
    EXPECT_EQ(box.bottom, 190);
    BITMAP cache{};
    GetObjectA(reinterpret_cast<HBITMAP>(GetPropA(w.window(), kPropBackgroundBitmap)), sizeof(cache), &cache);
    EXPECT_EQ(cache.bmWidth, 260);
    EXPECT_EQ(cache.bmHeight, 190);
    // The close button moved with the right edge.
    EXPECT_FLOAT_EQ(w.record().captionButtons.back().rect.x, 260.0f - 41 + 1 + 2);
}

TEST_F(WindowBackgroundTest, TitleIsDrawnRightOfTheIconInsideTheCaption) {
    SkinnedWindow plain(300, 120, WS_POPUP, NoTitle());
    SkinnedWindow titled(300, 120, WS_POPUP, {}, true, "WWWWWWWW");
    int bright = 0;
    for (int y = 0; y < 120; ++y) {
        for (int x = 0; x < 300; ++x) {
            const COLORREF a = plain.CachePixel(x, y), b = titled.CachePixel(x, y);
            if (a == b) continue;
            EXPECT_TRUE(x >= 28 && y >= 7 && y < 25) << x << "," << y;
            if (GetRValue(b) > 230 && GetGValue(b) > 230 && GetBValue(b) > 230) ++bright;
        }
    }
    EXPECT_GT(bright, 20);   // white text
}

TEST_F(WindowBackgroundTest, PictureChangeRebuildsOnlyVisibleWindows) {
    SkinnedWindow shown(150, 100, WS_POPUP, NoTitle());
    SkinnedWindow hidden(150, 100, WS_POPUP, NoTitle(), false);
    TheSkinEngine->SetSkinPicture("", {}, RGB(0, 0, 200), std::nullopt, std::nullopt);
    EXPECT_EQ(shown.CachePixel(75, 60), RGB(0, 0, 200));
    EXPECT_EQ(hidden.record().backgroundCache.dc(), nullptr);
    ShowWindow(hidden.window(), SW_SHOWNOACTIVATE);
    EXPECT_EQ(hidden.CachePixel(75, 60), RGB(0, 0, 200));
}

// The whole skin composed in one pass on one graphics, into a bitmap made the
// way the cache's used to be made (a blank GDI+ canvas turned into a GDI
// bitmap): the reference a rebuild from kept layers must match pixel for pixel.
std::vector<COLORREF> OnePassComposition(SkinnedWindow& w) {
    SkinEngine& engine = w.engine();
    SkinWindowRecord& record = w.record();
    const int n = w.number();
    RECT client{};
    GetClientRect(w.window(), &client);
    {
        SkinCanvas blank(client.right, client.bottom);
        record.backgroundCache.ReplaceBitmap(UniqueBitmap(blank.ToGdiBitmap(0)));
    }
    SkinGraphics graphics(record.backgroundCache.dc());
    engine.PaintBackground(graphics, n);
    engine.DrawWindowBorder(n, graphics);
    gdip::GdipFlush(graphics.Handle(), Gdiplus::FlushIntentionSync);
    record.captionCopy.Create(client.right, record.captionHeight);
    BitBlt(record.captionCopy.dc(), 0, 0, client.right, record.captionHeight, record.backgroundCache.dc(), 0, 0, SRCCOPY);
    engine.DrawTitle(n, &graphics, true, std::nullopt);
    for (int i = 1; i <= static_cast<int>(record.captionButtons.size()); ++i) {
        engine.DrawCaptionButton(n, i, &graphics, true, false, 0);
    }
    gdip::GdipFlush(graphics.Handle(), Gdiplus::FlushIntentionSync);
    return w.CacheSnapshot();
}

// Where two snapshots first differ, for the failure message.
std::string FirstDifference(const std::vector<COLORREF>& a, const std::vector<COLORREF>& b, int width) {
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
        if (a[i] != b[i]) {
            return std::to_string(i % width) + "," + std::to_string(i / width) + ": " + std::to_string(a[i]) +
                   " vs " + std::to_string(b[i]);
        }
    }
    return a.size() == b.size() ? "none" : "sizes differ";
}

TEST_F(WindowBackgroundTest, RebuildsFromKeptLayersMatchAOnePassComposition) {
    // The program's own look: the built-in picture stretched, a title and three caption buttons.
    TheSkinEngine->SetSkinPicture("", WindowBackgroundPicture().ToBytes(), std::nullopt, std::nullopt, 3);
    TheSkinEngine->SetControlVeil(1, 75);
    SkinnedWindow w(377, 218, SkinnedWindow::kMinMaxStyle, {}, true, "Corvalin");
    const int n = w.number();
    struct Step {
        const char* what;
        std::function<void()> change;
    } steps[] = {
        {"first rebuild", [] {}},
        {"second rebuild, layer kept", [] {}},
        {"another panel colour",
         [] { TheSkinEngine->SetSkinPicture("", {}, RGB(40, 120, 90), std::nullopt, std::nullopt); }},
        {"a picture in the top-right corner",
         [] { TheSkinEngine->SetSkinPicture("", MakePng(60, 40, Quadrants), std::nullopt, std::nullopt, 1); }},
        {"maximised (restore glyph)", [&] { w.record().maximized = 1; }},
    };
    for (const Step& step : steps) {
        step.change();
        w.engine().PaintWindowSkin(n, nullptr, false);
        const std::vector<COLORREF> rebuilt = w.CacheSnapshot();
        const std::vector<COLORREF> reference = OnePassComposition(w);
        EXPECT_TRUE(rebuilt == reference) << step.what << ": first difference at "
                                          << FirstDifference(rebuilt, reference, 377);
    }
    w.record().maximized = 0;
}

TEST_F(WindowBackgroundTest, RebuildAtTheSameSizeKeepsTheRegion) {
    SkinnedWindow w(200, 150, WS_POPUP, NoTitle());
    w.ClearPassed();
    w.engine().PaintWindowSkin(w.number(), nullptr, true);
    // Giving the window a region again would move it through SetWindowPos.
    EXPECT_TRUE(w.Passed(WM_WINDOWPOSCHANGED).empty());
    SetWindowPos(w.window(), nullptr, 0, 0, 230, 170, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    w.ClearPassed();
    w.engine().PaintWindowSkin(w.number(), nullptr, true);
    EXPECT_FALSE(w.Passed(WM_WINDOWPOSCHANGED).empty());
}

constexpr COLORREF kChildColour = RGB(0, 255, 0);

LRESULT CALLBACK GreenChildProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        HBRUSH green = CreateSolidBrush(kChildColour);
        FillRect(dc, &paint.rcPaint, green);
        DeleteObject(green);
        EndPaint(window, &paint);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND CreateGreenChild(HWND parent, int x, int y) {
    static const bool registered = [] {
        WNDCLASSA type{};
        type.lpfnWndProc = GreenChildProc;
        type.lpszClassName = "CorvalinGreenChild";
        return RegisterClassA(&type) != 0;
    }();
    (void)registered;
    HWND child = CreateWindowExA(0, "CorvalinGreenChild", "", WS_CHILD | WS_VISIBLE, x, y, 30, 30, parent, nullptr,
                                 nullptr, nullptr);
    UpdateWindow(child);
    return child;
}

// A paint of the parent alone, from its cache.
void RepaintParent(HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_NOCHILDREN);
}

TEST_F(WindowBackgroundTest, CachedPaintsLeaveChildrenAloneWhereverTheyAre) {
    SkinnedWindow w(200, 150, WS_POPUP, NoTitle());
    HWND first = CreateGreenChild(w.window(), 20, 40);
    RepaintParent(w.window());
    EXPECT_EQ(w.WindowPixel(35, 55), kChildColour);
    EXPECT_EQ(w.WindowPixel(100, 100), w.CachePixel(100, 100));

    // Moved: the old place shows the skin, the new one stays the child's.
    SetWindowPos(first, nullptr, 120, 90, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    UpdateWindow(first);
    RepaintParent(w.window());
    EXPECT_EQ(w.WindowPixel(35, 55), w.CachePixel(35, 55));
    EXPECT_EQ(w.WindowPixel(135, 105), kChildColour);

    // A child that appears is left alone too, and one that hides gives its place back.
    HWND second = CreateGreenChild(w.window(), 20, 40);
    RepaintParent(w.window());
    EXPECT_EQ(w.WindowPixel(35, 55), kChildColour);
    ShowWindow(first, SW_HIDE);
    RepaintParent(w.window());
    EXPECT_EQ(w.WindowPixel(135, 105), w.CachePixel(135, 105));
    DestroyWindow(second);
    DestroyWindow(first);
}

}  // namespace
}  // namespace corvalin::testing
