// The caption's kept pixels on a real skinned window: whatever changes after
// a rebuild or a hover step has kept them, the background cache must hold
// what drawing afresh, with nothing kept, would have made.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "skin/images/builtin_images.h"
#include "skin/skin_settings.h"
#include "skin/window_background.h"
#include "skin/window_frame/skinned_window_fixture.h"

namespace corvalin::testing {
namespace {

using CaptionStatesTest = SkinTest;

COLORREF Checks(int x, int y, int, int) { return ((x / 3 + y / 3) % 2) ? RGB(250, 40, 40) : RGB(40, 40, 250); }

// The window as the program shows it: its picture stretched, a title, three caption buttons.
void UseProgramLook() {
    TheSkinEngine->SetSkinPicture("", WindowBackgroundPicture().ToBytes(), std::nullopt, std::nullopt, 3);
    TheSkinEngine->SetControlVeil(1, 75);
}

// A rebuild with nothing kept from earlier ones.
std::vector<COLORREF> FreshRebuild(SkinnedWindow& w) {
    ForgetComposedLayers(w.record());
    w.engine().PaintWindowSkin(w.number(), nullptr, false);
    return w.CacheSnapshot();
}

std::string FirstDifference(const std::vector<COLORREF>& a, const std::vector<COLORREF>& b, int width) {
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i)
        if (a[i] != b[i]) return std::to_string(i % width) + "," + std::to_string(i / width);
    return a.size() == b.size() ? "none" : "sizes differ";
}

TEST_F(CaptionStatesTest, RebuildAfterAChangeShowsWhatAFreshRebuildShows) {
    UseProgramLook();
    SkinnedWindow w(377, 218, SkinnedWindow::kMinMaxStyle, {}, true, "Corvalin");
    const int n = w.number();
    w.engine().PaintWindowSkin(n, nullptr, false);
    w.engine().PaintWindowSkin(n, nullptr, false);   // everything kept from here on
    std::vector<COLORREF> before = w.CacheSnapshot();
    SkinCaptionGlyphs glyphs;
    glyphs.close = MakePng(12, 12, Checks);
    struct Step {
        const char* what;
        std::function<void()> change;
    } steps[] = {
        {"another title", [&] { SetWindowTextA(w.window(), "Another title"); }},
        {"the first title again", [&] { SetWindowTextA(w.window(), "Corvalin"); }},
        {"another title colour",
         [&] { w.engine().SetTitleStyle(w.window(), std::nullopt, std::nullopt, RGB(255, 220, 0), std::nullopt, std::nullopt); }},
        {"a bigger title font",
         [&] { w.engine().SetTitleStyle(w.window(), std::nullopt, 16, std::nullopt, std::nullopt, std::nullopt); }},
        {"another close glyph", [&] { w.engine().SetCaptionGlyphs(w.window(), glyphs); }},
        {"maximised (restore glyph)", [&] { w.record().maximized = 1; }},
        {"another panel", [] { TheSkinEngine->SetSkinPicture("", {}, RGB(40, 120, 90), std::nullopt, std::nullopt); }},
        {"no title", [&] { w.record().titleShown = 0; }},
    };
    for (const Step& step : steps) {
        step.change();
        w.engine().PaintWindowSkin(n, nullptr, false);
        const std::vector<COLORREF> rebuilt = w.CacheSnapshot();
        EXPECT_NE(rebuilt, before) << step.what << " shows no change";
        const std::vector<COLORREF> fresh = FreshRebuild(w);
        EXPECT_TRUE(rebuilt == fresh) << step.what << ": first difference at " << FirstDifference(rebuilt, fresh, 377);
        before = rebuilt;
    }
}

TEST_F(CaptionStatesTest, HoverLooksPutBackMatchDrawingThemAfresh) {
    UseProgramLook();
    SkinnedWindow w(377, 218, SkinnedWindow::kMinMaxStyle, {}, true, "Corvalin");
    const int n = w.number();
    struct Look {
        int button;
        bool pressed;
        int intensity;
    };
    std::vector<Look> fade;
    for (int button = 1; button <= 3; ++button) {
        for (int step = 0; step <= 8; ++step) fade.push_back({button, false, step * 30});
        fade.push_back({button, true, 0});
        for (int step = 7; step >= 0; --step) fade.push_back({button, false, step * 30});
    }
    auto run = [&](bool keepNothing) {
        std::vector<std::vector<COLORREF>> seen;
        for (const Look& look : fade) {
            if (keepNothing) ForgetComposedLayers(w.record());
            w.engine().DrawCaptionButton(n, look.button, nullptr, false, look.pressed, look.intensity);
            seen.push_back(w.CacheSnapshot());
        }
        return seen;
    };
    // Every look drawn and kept, then `change`, then the fade from what is
    // kept against the fade drawn with nothing kept.
    auto compare = [&](const char* what, const std::function<void()>& change) -> std::vector<COLORREF> {
        w.engine().PaintWindowSkin(n, nullptr, false);
        run(false);
        change();
        w.engine().PaintWindowSkin(n, nullptr, false);
        const auto kept = run(false);
        w.engine().PaintWindowSkin(n, nullptr, false);
        const auto drawn = run(true);
        EXPECT_EQ(kept.size(), drawn.size());
        for (std::size_t i = 0; i < kept.size() && i < drawn.size(); ++i) {
            EXPECT_TRUE(kept[i] == drawn[i]) << what << ", button " << fade[i].button << " pressed " << fade[i].pressed
                                             << " at " << fade[i].intensity << ": first difference at "
                                             << FirstDifference(kept[i], drawn[i], 377);
        }
        EXPECT_NE(kept[0], kept[8]) << what << ": the hot look shows";
        return kept[8];
    };
    const std::vector<COLORREF> firstAccent = compare("nothing changed", [] {});
    EXPECT_NE(compare("another accent", [] { SkinAccentColor = RGB(0, 160, 60); }), firstAccent);
    SkinAccentColor = kDefaultAccentColor;
}

}  // namespace
}  // namespace corvalin::testing
