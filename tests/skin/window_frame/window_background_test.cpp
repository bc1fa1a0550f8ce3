// The composed background of a real skinned window, read back pixel by pixel.
#include <gtest/gtest.h>

#include "skin/skin_settings.h"
#include "skin/window_frame/skinned_window_fixture.h"
#include "skin/window_background.h"
#include "skin/drawing/skin_image.h"
#include "skin/skin_properties.h"

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
    EXPECT_EQ(hidden.record().backgroundCache.dc, nullptr);
    ShowWindow(hidden.window(), SW_SHOWNOACTIVATE);
    EXPECT_EQ(hidden.CachePixel(75, 60), RGB(0, 0, 200));
}

}  // namespace
}  // namespace corvalin::testing
