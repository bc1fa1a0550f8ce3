#include <gtest/gtest.h>
#include "skin/skin_engine.h"
#include "skin/skin_settings.h"
#include "skin/skin_test_environment.h"
#include "skin/skin_window_list.h"

namespace corvalin {
namespace {

using testing::CreateTestWindow;

// Builds the engine as start-up does and puts the module back afterwards,
// since destroying the engine shuts GDI+ down.
class SkinEngineTest : public ::testing::Test {
protected:
    void SetUp() override { TheSkinEngine = std::make_unique<SkinEngine>(); }
    void TearDown() override {
        TheSkinEngine.reset();
        SkinWindowList.clear();
        InitializeSkinModule();
        SkinVeilOn = 0;
    }
};

TEST_F(SkinEngineTest, ConstructionSetsTheEntryPointsAndTheBackColour) {
    SkinBackColor = 0;
    SkinEngine engine;
    EXPECT_NE(engine.windowProcEntry, nullptr);
    EXPECT_NE(engine.captionActionEntry, nullptr);
    EXPECT_EQ(engine.captionActionAddress, reinterpret_cast<INT_PTR>(engine.captionActionEntry));
    EXPECT_EQ(engine.resizeBorderWidth, 0);
    EXPECT_EQ(engine.hitCaptionButton, 0);
    EXPECT_EQ(SkinBackColor, GetSysColor(COLOR_BTNFACE));
}

TEST_F(SkinEngineTest, ControlVeilTakesItsDefaultsWhenArgumentsAreMissing) {
    struct Case {
        int transparent;
        std::optional<int> alpha, option;
        int expectedAlpha, expectedOn, expectedOption;
    } cases[] = {
        {1, std::nullopt, std::nullopt, 160, 0, 1},
        {1, 75, std::nullopt, 75, 1, 1},
        {0, 200, 0, 200, 1, 0},
        {1, std::nullopt, 3, 160, 0, 3},
    };
    for (const Case& c : cases) {
        SkinVeilAlpha = 9;
        TheSkinEngine->SetControlVeil(c.transparent, c.alpha, c.option);
        EXPECT_EQ(SkinTransparentControls, c.transparent);
        EXPECT_EQ(SkinVeilAlpha, c.expectedAlpha);
        EXPECT_EQ(SkinVeilOn, c.expectedOn);
        EXPECT_EQ(SkinTrackbarOption, c.expectedOption);
    }
    TheSkinEngine->SetControlVeil(1);
    EXPECT_EQ(TheSkinEngine->GetBackColor(), SkinBackColor);
}

TEST_F(SkinEngineTest, ModuleInitialiserLoadsTheIconGroupAndTheDefaults) {
    // This test program carries the program's icon group "DEFAULT_ICON" and no icon 129.
    EXPECT_EQ(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(129)), nullptr);
    ASSERT_NE(SkinDefaultIcon, nullptr);
    EXPECT_EQ(SkinDefaultIcon, LoadIconA(GetModuleHandleA(nullptr), "DEFAULT_ICON"));
    EXPECT_NE(SkinGdiplusToken, 0u);
    EXPECT_EQ(SkinFirstSize, 1);
    EXPECT_EQ(SkinTransparentControls, 1);
    EXPECT_EQ(SkinVeilAlpha, 160);
    EXPECT_EQ(SkinAccentColor, 0x00DDCA22u);
    EXPECT_EQ(SkinTrackbarOption, 1);
}

TEST_F(SkinEngineTest, DestroyingTheEngineReleasesTheIconAndGdiplus) {
    ASSERT_NE(SkinDefaultIcon, nullptr);
    TheSkinEngine.reset();
    EXPECT_EQ(SkinDefaultIcon, nullptr);
    EXPECT_EQ(SkinGdiplusToken, 0u);
}

TEST_F(SkinEngineTest, WindowProcedureEntryPassesOnWithoutAnEngine) {
    HWND window = CreateTestWindow(nullptr, 0, 0, 100, 60);
    SetPropA(window, kPropPreviousProc, reinterpret_cast<HANDLE>(&DefWindowProcA));
    const auto entry = TheSkinEngine->windowProcEntry;
    TheSkinEngine.reset();
    InitializeSkinModule();
    entry(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("状态："));
    char text[16] = {};
    GetWindowTextA(window, text, sizeof(text));
    EXPECT_STREQ(text, "状态：");
    RemovePropA(window, kPropPreviousProc);
    DestroyWindow(window);
}

TEST_F(SkinEngineTest, CaptionActionEntryReachesTheEngine) {
    HWND window = CreateTestWindow(nullptr, 30, 30, 300, 200, WS_MINIMIZEBOX);
    TheSkinEngine->SkinWindow(window);
    const int n = FindWindowRecord(window);
    ASSERT_EQ(n, 1);
    const int close = static_cast<int>(WindowRecord(n).captionButtons.size());
    ASSERT_EQ(WindowRecord(n).captionButtons[close - 1].kind, kCaptionClose);
    TheSkinEngine->captionActionEntry(n, close);
    EXPECT_FALSE(IsWindow(window)) << "the close button closed the window";
    EXPECT_EQ(FindWindowRecord(window), 0);
}

}  // namespace
}  // namespace corvalin
