// Popups (window.createPopup): their own document painted by the page's
// painter into a window of their own, placed from an anchor element.
#include "browser/engine/page_fixture.h"

#include <algorithm>
#include <vector>

#include "base/unique.h"
#include "support/dc_pixels.h"
#include "support/message_pump.h"

namespace corvalin::browser::testing {
namespace {

class PagePopupTest : public PageTest {
protected:
    // The popup window's pixels, read back after it painted: colour of (x, y) at [y * width + x].
    static std::vector<COLORREF> Snapshot(HWND popup, int width, int height) {
        UpdateWindow(popup);
        return corvalin::testing::ReadDcPixels(WindowDc(popup).get(), width, height);
    }
    static HWND ShownPopup() {
        for (HWND w = FindWindowA("Corvalin.BrowserPopup", nullptr); w; w = FindWindowExA(nullptr, w, "Corvalin.BrowserPopup", nullptr))
            if (IsWindowVisible(w)) return w;
        return nullptr;
    }
};

TEST_F(PagePopupTest, PaintsTheBodysBackgroundBorderAndContentFromTheAnchor) {
    LoadMarkup(L"<div id=anchor style='position:absolute;left:40px;top:30px;width:10px;height:10px'></div>");
    Eval(L"p = window.createPopup(); b = p.document.body;"
         L"b.style.backgroundColor = 'FF0000'; b.style.border = 'solid 00FF00 3px';"
         L"b.innerHTML = \"<div style='width:20px;height:10px;background:#0000FF'></div>\"; 1");
    Eval(L"p.show(5, 6, 120, 50, document.getElementById('anchor')); 1");
    const HWND popup = ShownPopup();
    ASSERT_NE(popup, nullptr);
    RECT placed;
    GetWindowRect(popup, &placed);
    POINT view{0, 0};
    ClientToScreen(box_->RenderingWindow(), &view);
    EXPECT_EQ(placed.left, view.x + 40 + 5);
    EXPECT_EQ(placed.top, view.y + 30 + 6);
    EXPECT_EQ(placed.right - placed.left, 120);

    const std::vector<COLORREF> pixels = Snapshot(popup, 120, 50);
    const auto at = [&](int x, int y) { return pixels[y * 120 + x]; };
    EXPECT_EQ(at(0, 0), RGB(0, 255, 0));       // the border, at the window's top left
    EXPECT_EQ(at(2, 8), RGB(0, 255, 0));
    EXPECT_EQ(at(3, 3), RGB(0, 0, 255));       // the content, just inside it
    EXPECT_EQ(at(60, 8), RGB(255, 0, 0));      // the background
    int rightBorder = 0;                       // and the border's right side
    for (int x = 60; x < 120; ++x) rightBorder += at(x, 8) == RGB(0, 255, 0);
    EXPECT_EQ(rightBorder, 3);
    const auto blue = std::find(pixels.begin(), pixels.end(), RGB(0, 0, 255));
    ASSERT_NE(blue, pixels.end());             // the content, inside the border
    EXPECT_GE((blue - pixels.begin()) % 120, 3);
    EXPECT_GE((blue - pixels.begin()) / 120, 3);

    Eval(L"p.hide(); 1");
    EXPECT_FALSE(IsWindowVisible(popup));
}

}  // namespace
}  // namespace corvalin::browser::testing
