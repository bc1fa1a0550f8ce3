// The element under the mouse pointer, with the real pointer moved over a
// real browser box on the screen. Geometry comes from the page itself, so the
// test holds for any layout whose painting and geometry agree.
#include <gtest/gtest.h>

#include <algorithm>

#include "automation/fake_browser_window.h"
#include "automation/hosted_page.h"
#include "automation/page_automation.h"
#include "shell/conversions.h"
#include "support/message_pump.h"

namespace corvalin {
namespace {

constexpr int kLeft = 60;
constexpr int kTop = 80;

class ElementAtPointTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetWindowPos(page.top(), HWND_TOPMOST, kLeft, kTop, 400, 300, SWP_SHOWWINDOW);
        ASSERT_TRUE(page.Load("<html><body style='margin:8px'>"
                              "<div id=first style='width:200px;height:60px'>第一块</div>"
                              "<div id=second style='width:200px;height:60px'>第二块 "
                              "<a id=link name=more href='http://127.0.0.1/more'>更多</a></div></body></html>"));
        testing::PumpMessagesFor(0);
    }

    // A point inside an element in screen coordinates, from its offsets:
    // half way down, a little in from its left edge (a block may be wider
    // than the window).
    POINT CentreOf(const std::string& id) {
        const std::string box = page.Evaluate(
            "(function(e){var x=0,y=0;for(var n=e;n;n=n.offsetParent){x+=n.offsetLeft;y+=n.offsetTop;}"
            "return x+','+y+','+e.offsetWidth+','+e.offsetHeight;})(document.getElementById('" + id + "'))");
        int values[4] = {};
        size_t at = 0;
        for (int& value : values) {
            value = shell::TextToInteger(box.substr(at));
            at = box.find(',', at);
            at = at == std::string::npos ? box.size() : at + 1;
        }
        RECT frame{};
        GetWindowRect(page.renderingWindow(), &frame);
        return POINT{frame.left + values[0] + std::min(values[2] / 2, 4), frame.top + values[1] + values[3] / 2};
    }

    void MovePointer(POINT at) {
        SetCursorPos(at.x, at.y);
        testing::PumpUntil([&] {
            POINT now{};
            GetCursorPos(&now);
            return now.x == at.x && now.y == at.y;
        });
    }

    testing::HostedPage page;
    PageAutomation automation;   // never attached: the window under the pointer decides
};

TEST_F(ElementAtPointTest, PointerOverTheBoxFindsTheElementUnderIt) {
    MovePointer(CentreOf("link"));
    std::string url, tagName, innerText, name, id, href, outerHTML;
    const AutomationObject element =
        automation.ElementAtPoint(0, 0, &url, &tagName, &innerText, &name, &id, &href, &outerHTML);
    EXPECT_EQ(element.GetText("id"), "link");
    EXPECT_EQ(url, "about:blank");
    EXPECT_EQ(tagName + "|" + innerText + "|" + name + "|" + id, "A|更多|more|link");
    EXPECT_EQ(href, "http://127.0.0.1/more");
    EXPECT_EQ(outerHTML.find("<A"), 0u) << outerHTML;

    MovePointer(CentreOf("first"));
    EXPECT_EQ(automation.ElementAtPoint().GetText("id"), "first");
}

TEST_F(ElementAtPointTest, GivenPointIsReadInTheWindowUnderThePointer) {
    MovePointer(CentreOf("first"));
    const POINT second = CentreOf("second");
    std::string tagName;
    EXPECT_EQ(automation.ElementAtPoint(second.x, second.y, nullptr, &tagName).GetText("id"), "second");
    EXPECT_EQ(tagName, "DIV");
}

TEST_F(ElementAtPointTest, PointerOverAnotherWindowFindsNothing) {
    const POINT inside = CentreOf("first");
    UniqueWindow other = testing::CreateContainerWindow(nullptr);
    SetWindowPos(other.get(), HWND_TOPMOST, kLeft + 450, kTop, 100, 100, SWP_SHOWWINDOW);
    MovePointer(POINT{kLeft + 500, kTop + 50});
    ASSERT_EQ(WindowFromPoint(POINT{kLeft + 500, kTop + 50}), other.get());
    std::string url = "untouched", tagName = "untouched";
    EXPECT_TRUE(automation.ElementAtPoint(inside.x, inside.y, &url, &tagName).IsEmpty());
    EXPECT_TRUE(automation.ElementAtPoint().IsEmpty());
    EXPECT_EQ(url + tagName, "untoucheduntouched");
}

}  // namespace
}  // namespace corvalin
