// Popups shown on a real page: where they go, what they paint, and hiding.
#include <gtest/gtest.h>

#include <vector>

#include "automation/hosted_page.h"
#include "automation/page_automation.h"
#include "support/message_pump.h"

namespace corvalin {
namespace {

// The engine's popup windows that are showing.
std::vector<HWND> ShownPopups() {
    std::vector<HWND> shown;
    for (HWND w = FindWindowExA(nullptr, nullptr, "Corvalin.BrowserPopup", nullptr); w;
         w = FindWindowExA(nullptr, w, "Corvalin.BrowserPopup", nullptr)) {
        if (IsWindowVisible(w)) shown.push_back(w);
    }
    return shown;
}

COLORREF PixelAt(HWND window, int x, int y) {
    UpdateWindow(window);
    WindowDc dc(window);
    return GetPixel(dc.get(), x, y);
}

TEST(PagePopupsTest, ShowPopupPaintsItsColoursBesideTheAnchorAndHidePopupHidesIt) {
    testing::HostedPage page;
    ASSERT_TRUE(page.Load("<html><body><div id=anchor style='position:absolute;left:50px;top:40px;width:5px;"
                          "height:5px'></div></body></html>"));
    PageAutomation automation;
    ASSERT_TRUE(automation.AttachBrowser(page.box()));
    const AutomationObject anchor = automation.GetDocument().CallObject("getElementById", "anchor");
    ASSERT_FALSE(anchor.IsEmpty());

    const AutomationObject popup = automation.ShowPopup(7, 9, 100, 40, "<b>提示</b>", 0x0000FF, 4, 0x00FF00, anchor);
    ASSERT_FALSE(popup.IsEmpty());
    EXPECT_EQ(popup.GetText("isOpen"), "-1");
    const AutomationObject body = popup.GetObject("document").GetObject("body");
    EXPECT_EQ(body.GetText("innerHTML"), "<B>提示</B>");
    const std::vector<HWND> shown = ShownPopups();
    ASSERT_EQ(shown.size(), 1u);
    RECT placed;
    GetWindowRect(shown[0], &placed);
    POINT view{0, 0};
    ClientToScreen(page.renderingWindow(), &view);
    EXPECT_EQ(placed.left, view.x + 50 + 7);
    EXPECT_EQ(placed.top, view.y + 40 + 9);
    EXPECT_EQ(placed.right - placed.left, 100);
    EXPECT_EQ(placed.bottom - placed.top, 40);
    EXPECT_EQ(PixelAt(shown[0], 1, 1), RGB(0, 255, 0));     // a border 4 pixels wide
    EXPECT_EQ(PixelAt(shown[0], 60, 2), RGB(0, 255, 0));    // along the top
    EXPECT_EQ(PixelAt(shown[0], 90, 30), RGB(255, 0, 0));   // the background inside it

    automation.HidePopup(popup);
    EXPECT_EQ(popup.GetText("isOpen"), "0");
    EXPECT_TRUE(ShownPopups().empty());
}

TEST(PagePopupsTest, ShowPopupWithoutAPageAnswersEmpty) {
    PageAutomation automation;
    EXPECT_TRUE(automation.ShowPopup(0, 0, 10, 10, "x").IsEmpty());
}

}  // namespace
}  // namespace corvalin
