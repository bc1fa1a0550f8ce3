#include <gtest/gtest.h>
#include <cmath>
#include "skin/control_background.h"
#include "skin/control_rects.h"
#include "skin/drawing/drawing_objects.h"
#include "skin/images/builtin_images.h"
#include "skin/memory_dc_registry.h"
#include "skin/rounded_paths.h"
#include "skin/skin_color.h"
#include "skin/skin_settings.h"
#include "skin/skin_test_environment.h"
#include "skin/skin_window_list.h"

namespace corvalin {
namespace {

using testing::Blend;
using testing::CreateTestControl;
using testing::CreateTestWindow;

TEST(ColorToArgbTest, TurnsWindowsColoursIntoArgb) {
    struct Case {
        COLORREF color;
        int alpha, useAlpha;
        std::uint32_t argb;
    } cases[] = {
        {0x00DDCA22, 75, 1, 0x4B22CADD}, {0x00DDCA22, 75, 0, 0xFF22CADD}, {0x000000FF, 255, 1, 0xFFFF0000},
        {0x00FFFFFF, 0, 1, 0x00FFFFFF},  {0x00123456, 160, 1, 0xA0563412},
    };
    for (const Case& c : cases) EXPECT_EQ(ColorToArgb(c.color, c.alpha, c.useAlpha), c.argb) << std::hex << c.color;
}

// A skinned window whose background cache holds a known pattern.
class ControlBackgroundTest : public ::testing::Test {
protected:
    static constexpr int kWidth = 300, kHeight = 200;

    void SetUp() override {
        window_ = CreateTestWindow(nullptr, 20, 20, kWidth, kHeight);
        SkinWindowRecord record;
        record.window = window_;
        ASSERT_TRUE(record.backgroundCache.EnsureDc());
        std::uint32_t* pixels = nullptr;
        HBITMAP cache = testing::CreatePixelBitmap(kWidth, kHeight, &pixels);
        ASSERT_NE(cache, nullptr);
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) pixels[y * kWidth + x] = 0xFF000000u | Expected(x, y);
        record.backgroundCache.ReplaceBitmap(UniqueBitmap(cache));
        SetPropValue(window_, kPropListId, AppendWindowRecord(std::move(record)));
    }
    void TearDown() override {
        DestroyWindow(window_);
        SkinWindowList.clear();
        SkinVeilAlpha = kDefaultVeilAlpha;
    }
    // The cache pixel as 0x00RRGGBB.
    static std::uint32_t Expected(int x, int y) {
        return (static_cast<std::uint32_t>(x % 256) << 16) | (static_cast<std::uint32_t>(y % 256) << 8) |
               static_cast<std::uint32_t>((x * 3 + y) % 256);
    }
    static std::uint32_t ToRgb(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

    HWND window_ = nullptr;
};

TEST_F(ControlBackgroundTest, ControlOnTheWindowGetsTheCachePixelsUnderIt) {
    HWND button = CreateTestControl(window_, "BUTTON", 30, 40, 80, 24);
    const std::size_t dcs = MemoryDCCount();
    const RECT part{2, 3, 50, 20};
    HDC dc = MakeControlBackground(button, part);
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(MemoryDCCount(), dcs + 1);
    for (int y = 0; y < 17; y += 4)
        for (int x = 0; x < 48; x += 5)
            ASSERT_EQ(ToRgb(GetPixel(dc, x, y)), Expected(30 + 2 + x, 40 + 3 + y)) << x << "," << y;
    ReleaseMemoryDC(dc);
    EXPECT_EQ(MemoryDCCount(), dcs);
}

TEST_F(ControlBackgroundTest, ControlInsideAPanelledContainerShowsThePanelOverTheSkin) {
    HWND group = CreateTestControl(window_, "BUTTON", 100, 20, 150, 150, BS_GROUPBOX);
    HWND inner = CreateTestControl(group, "BUTTON", 10, 30, 60, 24);
    SkinWindowRecord& record = WindowRecord(1);
    const int c = record.containers.Add(group);
    record.containers[c].panelColor = RGB(200, 0, 0);
    record.containers[c].panelOpacity = 75;
    ASSERT_EQ(FindBackgroundSource(inner, true).kind, BackgroundSourceKind::Container);

    HDC dc = MakeControlBackground(inner, RECT{0, 0, 60, 24});
    ASSERT_NE(dc, nullptr);
    for (int y = 0; y < 24; y += 6)
        for (int x = 0; x < 60; x += 7) {
            const std::uint32_t under = Expected(110 + x, 50 + y);
            const COLORREF got = GetPixel(dc, x, y);
            EXPECT_NEAR(GetRValue(got), Blend(static_cast<int>(under >> 16), 200, 75), 2) << x << "," << y;
            EXPECT_NEAR(GetGValue(got), Blend(static_cast<int>((under >> 8) & 0xFF), 0, 75), 2);
            EXPECT_NEAR(GetBValue(got), Blend(static_cast<int>(under & 0xFF), 0, 75), 2);
        }
    ReleaseMemoryDC(dc);

    // Without a panel colour the control shows the skin unchanged.
    record.containers[c].panelColor = 0;
    dc = MakeControlBackground(inner, RECT{0, 0, 60, 24});
    EXPECT_EQ(ToRgb(GetPixel(dc, 5, 5)), Expected(115, 55));
    ReleaseMemoryDC(dc);
}

TEST_F(ControlBackgroundTest, VeiledBackgroundIsTheSkinUnderWhiteAtTheVeilAlpha) {
    HWND edit = CreateTestControl(window_, "Edit", 40, 60, 100, 24, 0, WS_EX_CLIENTEDGE);
    SkinVeilAlpha = 160;
    const RECT client = ClientRectInWindow(edit);
    const int w = client.right - client.left, h = client.bottom - client.top;
    const std::size_t dcs = MemoryDCCount();
    HBITMAP veiled = MakeVeiledBackground(edit);
    ASSERT_NE(veiled, nullptr);
    EXPECT_EQ(MemoryDCCount(), dcs) << "the composition is released";
    const auto pixels = testing::BitmapPixels(veiled, w, h);
    for (int y = 0; y < h; y += 5)
        for (int x = 0; x < w; x += 9) {
            const std::uint32_t under = Expected(40 + client.left + x, 60 + client.top + y);
            const std::uint32_t got = pixels[y * w + x];
            EXPECT_NEAR(static_cast<int>((got >> 16) & 0xFF), Blend(static_cast<int>(under >> 16), 255, 160), 2);
            EXPECT_NEAR(static_cast<int>((got >> 8) & 0xFF), Blend(static_cast<int>((under >> 8) & 0xFF), 255, 160), 2);
            EXPECT_NEAR(static_cast<int>(got & 0xFF), Blend(static_cast<int>(under & 0xFF), 255, 160), 2);
        }
    DeleteObject(veiled);
}

TEST_F(ControlBackgroundTest, ControlOfNoSkinnedWindowHasNoBackground) {
    HWND plain = CreateTestWindow(nullptr, 0, 0, 100, 100);
    HWND control = CreateTestControl(plain, "BUTTON", 0, 0, 20, 20);
    const std::size_t dcs = MemoryDCCount();
    const DWORD objects = testing::GdiObjectCount();
    EXPECT_EQ(MakeControlBackground(control, RECT{0, 0, 20, 20}), nullptr);
    EXPECT_EQ(MakeVeiledBackground(control), nullptr);
    EXPECT_EQ(FindBackgroundSource(control, true).kind, BackgroundSourceKind::None);
    EXPECT_EQ(MemoryDCCount(), dcs);
    EXPECT_EQ(testing::GdiObjectCount(), objects);
    DestroyWindow(plain);
}

TEST_F(ControlBackgroundTest, ThousandsOfCompositionsAndGlyphDrawsLeakNoGdiObject) {
    HWND edit = CreateTestControl(window_, "Edit", 40, 60, 100, 24);
    HWND button = CreateTestControl(window_, "BUTTON", 150, 60, 60, 24);
    const Bytes glyph = CaptionCloseGlyph().ToBytes();
    const DWORD before = testing::GdiObjectCount();
    for (int i = 0; i < 1000; ++i) {
        DeleteObject(MakeVeiledBackground(edit));
        ReleaseMemoryDC(MakeControlBackground(button, RECT{0, 0, 60, 24}));
    }
    HDC target = MakeControlBackground(button, RECT{0, 0, 60, 24});
    for (int i = 0; i < 1000; ++i) {
        SkinGraphics graphics(target);
        SkinImage image;
        image.LoadFromBytes(glyph);
        graphics.DrawImage(image, 0, 0, 37, 18);
    }
    ReleaseMemoryDC(target);
    EXPECT_EQ(testing::GdiObjectCount(), before);
}

TEST(MemoryDcRegistryTest, ReleasingTwiceDeletesOnce) {
    const DWORD before = testing::GdiObjectCount();
    const std::size_t entries = MemoryDCCount();
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateBitmap(10, 10, 1, 32, nullptr);
    HGDIOBJ previous = SelectObject(dc, bitmap);
    RememberMemoryDC(dc, bitmap, previous);
    RememberMemoryDC(dc, bitmap, previous);
    EXPECT_EQ(MemoryDCCount(), entries + 1) << "one entry per device context";
    ReleaseMemoryDC(dc);
    EXPECT_EQ(MemoryDCCount(), entries);
    EXPECT_EQ(testing::GdiObjectCount(), before);
    ReleaseMemoryDC(dc);
    ReleaseMemoryDC(nullptr);
    EXPECT_EQ(testing::GdiObjectCount(), before);
}

TEST(MemoryDcRegistryTest, DcToBitmapCopiesThePictureAndReleasesTheContext) {
    HDC dc = CreateCompatibleDC(nullptr);
    std::uint32_t* pixels = nullptr;
    HBITMAP bitmap = testing::CreatePixelBitmap(8, 8, &pixels);
    for (int i = 0; i < 64; ++i) pixels[i] = 0x00102030u + static_cast<std::uint32_t>(i);
    RememberMemoryDC(dc, bitmap, SelectObject(dc, bitmap));
    const std::size_t entries = MemoryDCCount();
    HBITMAP copy = DcToBitmap(dc, 8, 8);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(MemoryDCCount(), entries - 1);
    const auto out = testing::BitmapPixels(copy, 8, 8);
    EXPECT_EQ(out[0] & 0xFFFFFF, 0x102030u);
    EXPECT_EQ(out[63] & 0xFFFFFF, 0x10206Fu);
    DeleteObject(copy);
}

TEST(ControlRectsTest, ClientRectInWindowCentresTheClientArea) {
    HWND parent = CreateTestWindow(nullptr, 0, 0, 300, 200);
    HWND edit = CreateTestControl(parent, "Edit", 10, 10, 120, 30, 0, WS_EX_CLIENTEDGE);
    RECT client{};
    GetClientRect(edit, &client);
    const RECT r = ClientRectInWindow(edit);
    EXPECT_EQ(r.left, 2);
    EXPECT_EQ(r.top, 2);
    EXPECT_EQ(r.right, 2 + client.right);
    EXPECT_EQ(r.bottom, 2 + client.bottom);

    HWND scrolled = CreateTestControl(parent, "Edit", 10, 50, 120, 60, WS_VSCROLL | ES_MULTILINE, WS_EX_CLIENTEDGE);
    GetClientRect(scrolled, &client);
    const RECT s = ClientRectInWindow(scrolled);
    EXPECT_EQ(s.left, static_cast<int>(std::floor((120 - client.right - 17) / 2.0)));
    EXPECT_EQ(s.top, 2);
    DestroyWindow(parent);
}

TEST(ControlRectsTest, RectanglesRelativeToWindowsAndRoot) {
    HWND root = CreateTestWindow(nullptr, 50, 60, 300, 200);
    HWND panel = CreateTestWindow(root, 20, 30, 200, 150);
    HWND button = CreateTestControl(panel, "BUTTON", 5, 7, 40, 20);
    const RECT inRoot = RectInRootWindow(button);
    EXPECT_EQ(inRoot.left, 25);
    EXPECT_EQ(inRoot.top, 37);
    EXPECT_EQ(inRoot.right, 65);
    EXPECT_EQ(inRoot.bottom, 57);
    const RECT inPanel = RectRelativeTo(panel, button);
    EXPECT_EQ(inPanel.left, 5);
    EXPECT_EQ(inPanel.bottom, 27);
    DestroyWindow(root);
}

bool SamePixels(const SkinCanvas& a, const SkinCanvas& b) {
    for (int y = 0; y < static_cast<int>(a.Height()); ++y)
        for (int x = 0; x < static_cast<int>(a.Width()); ++x)
            if (a.GetPixel(x, y) != b.GetPixel(x, y)) return false;
    return true;
}

SkinCanvas FilledRoundRect(float radius) {
    SkinCanvas canvas(240, 240);
    SkinGraphics graphics;
    graphics.Create(canvas);
    SkinPath path;
    path.Create();
    AddRoundRect(path, 10, 10, 220, 220, radius);
    SkinSolidBrush brush(0xFF000000);
    graphics.FillPath(brush, path);
    return canvas;
}

TEST(RoundedPathsTest, RadiusIsClampedToOneThroughAHundred) {
    EXPECT_TRUE(SamePixels(FilledRoundRect(0), FilledRoundRect(1)));
    EXPECT_TRUE(SamePixels(FilledRoundRect(150), FilledRoundRect(100)));
    EXPECT_FALSE(SamePixels(FilledRoundRect(100), FilledRoundRect(40)));
    SkinCanvas rounded = FilledRoundRect(100);
    EXPECT_EQ(rounded.GetPixel(11, 11) >> 24, 0u) << "the corner is cut";
    EXPECT_EQ(rounded.GetPixel(120, 120) >> 24, 0xFFu);
}

TEST(RoundedPathsTest, TopRoundedPathLeavesTheBottomOpen) {
    SkinCanvas canvas(40, 30);
    SkinGraphics graphics;
    ASSERT_TRUE(graphics.Create(canvas));
    SkinPath path;
    ASSERT_TRUE(path.Create());
    AddTopRoundedPath(path, 5, 5, 30, 20, 5);
    SkinPen pen(0xFF000000, 1);
    ASSERT_TRUE(graphics.DrawPath(pen, path));
    graphics.Destroy();
    EXPECT_GT(canvas.GetPixel(20, 5) >> 24, 0u) << "top edge";
    EXPECT_GT(canvas.GetPixel(5, 15) >> 24, 0u) << "left edge";
    EXPECT_EQ(canvas.GetPixel(20, 25) >> 24, 0u) << "no bottom edge";
    EXPECT_EQ(canvas.GetPixel(5, 5) >> 24, 0u) << "rounded corner";
}

TEST(RoundedPathsTest, GlowIsStrongestAtTheOutline) {
    SkinCanvas canvas(40, 40);
    SkinGraphics graphics;
    ASSERT_TRUE(graphics.Create(canvas));
    SkinPath path;
    ASSERT_TRUE(path.Create());
    path.AddRectangle(10, 10, 20, 20);
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    DrawGlow(graphics, path, 3, 0x00DDCA22, 120);
    graphics.Destroy();
    // Width 1, 2 and 3 all cover the outline; only the widest reaches a pixel further out.
    const std::uint32_t at = canvas.GetPixel(10, 20) >> 24, outside = canvas.GetPixel(9, 20) >> 24;
    EXPECT_GT(at, outside);
    EXPECT_GT(outside, 0u);
    EXPECT_EQ(canvas.GetPixel(4, 20) >> 24, 0u);
    EXPECT_EQ(canvas.GetPixel(10, 20) & 0xFFFFFF, 0x22CADDu);
}

}  // namespace
}  // namespace corvalin
