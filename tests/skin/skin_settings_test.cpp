#include <gtest/gtest.h>
#include "skin/drawing/drawing_objects.h"
#include "skin/skin_settings.h"
#include "skin/skin_test_environment.h"

namespace corvalin {
namespace {

TEST(SkinSettingsTest, ModuleInitialiserLoadsTheIconGroupAndTheDefaults) {
    // This test program carries the program's icon group "DEFAULT_ICON" and no icon 129.
    HINSTANCE module = GetModuleHandleA(nullptr);
    EXPECT_EQ(LoadIconA(module, MAKEINTRESOURCEA(129)), nullptr);
    ASSERT_NE(SkinDefaultIcon, nullptr);
    EXPECT_EQ(SkinDefaultIcon, LoadIconA(module, "DEFAULT_ICON"));
    EXPECT_NE(SkinGdiplusToken, 0u);
    EXPECT_EQ(SkinFirstSize, 1);
    EXPECT_EQ(SkinTransparentControls, 1);
    EXPECT_EQ(SkinVeilAlpha, 160);
    EXPECT_EQ(SkinAccentColor, 0x00DDCA22u);
    EXPECT_EQ(SkinTrackbarOption, 1);

    // The caption draws it 17 x 17: the emblem's dark tile with its accent ring.
    SkinCanvas canvas;
    ASSERT_TRUE(canvas.CreateFromIcon(SkinDefaultIcon));
    EXPECT_GE(canvas.Width(), 16u);
    const Gdiplus::ARGB centre = canvas.GetPixel(static_cast<int>(canvas.Width() / 2), 2);
    EXPECT_EQ(centre >> 24, 0xFFu);
    EXPECT_LT((centre >> 16) & 0xFF, 0x40u);
}

}  // namespace
}  // namespace corvalin
