// The key, skip, type and ordinal rules of the finders, on pages shown by the
// real browser box. Each candidate carries a class name as its marker.
#include <gtest/gtest.h>

#include "automation/hosted_page.h"
#include "automation/page_automation.h"

namespace corvalin {
namespace {

struct Case {
    const char* markup;
    const char* key;
    int skip;
    const char* expected;   // the found element's class name; "" for none
    int ordinal;            // as the finder leaves it
};

class ElementLookupTest : public ::testing::Test {
protected:
    void Show(const std::string& markup) {
        ASSERT_TRUE(page.Load("<html><body>" + markup + "</body></html>"));
        ASSERT_TRUE(automation.AttachBrowser(page.box()));
    }

    testing::HostedPage page;
    PageAutomation automation;
};

TEST_F(ElementLookupTest, TextInputsMatchByNameIdTitleOrOrdinal) {
    const Case cases[] = {
        {"<input name=userqq class=A>", "userqq", 0, "A", 1},
        {"<input id=userqq class=A>", "userqq", 0, "A", 1},
        {"<input title=userqq class=A>", "userqq", 0, "A", 1},
        {"<input name=UserQQ class=A>", "userqq", 0, "", -1},   // exact case only
        {"<input type=checkbox name=pwd class=X><input type=password name=pwd class=B>", "pwd", 0, "B", 1},
        {"<input type=file class=X><input type=password class=B><input name=2 class=C>", "2", 0, "B", 2},
        {"<input name=2 class=A><input class=B>", "2", 0, "A", 1},   // an earlier candidate named "2" wins
        {"<input class=A><input type=radio class=X><input class=B>", "2", 0, "B", 2},
        {"<input class=A><input class=B>", "２", 0, "B", 2},   // full-width digits read as digits
        {"<input class=A><input class=B>", "2nd", 0, "B", 2},
        {"<input class=A><input class=B>", "0", 0, "", -1},
        {"<input class=A><input class=B>", "userqq", 0, "", -1},
        {"<input type=password name=pwd class=A><input type=password name=pwd class=B>", "pwd", 1, "B", 2},
        {"<input name=pwd class=A><input class=B>", "pwd", 1, "", -1},   // a skipped match leaves nothing
        {"<input name=pwd class=A><input class=B><input class=C>", "3", 1, "C", 3},
    };
    for (const Case& c : cases) {
        Show(c.markup);
        int ordinal = 0;
        const AutomationObject found = automation.FindInputElement("text|password|file", c.key, c.skip, ordinal);
        EXPECT_EQ(found.GetText("className"), c.expected) << c.markup << " key " << c.key;
        EXPECT_EQ(ordinal, c.ordinal) << c.markup << " key " << c.key;
        EXPECT_EQ(automation.FindTextInput(c.key, c.skip).GetText("className"), c.expected) << c.markup;
    }
}

TEST_F(ElementLookupTest, ButtonsIncludeButtonElementsAfterTheInputs) {
    const Case cases[] = {
        {"<input type=submit name=button class=A>", "button", 0, "A", 1},
        {"<button name=button class=B>go</button>", "button", 0, "B", 1},
        {"<input type=text name=button class=X><button name=button class=B>go</button>", "button", 0, "B", 1},
        {"<button name=button class=B>go</button><input type=reset name=button class=A>", "button", 0, "A", 1},
        {"<input type=button class=A><button class=B>go</button>", "2", 0, "B", 2},
        {"<input type=submit name=button class=A><button name=button class=B>go</button>", "button", 1, "B", 2},
        {"<input type=image name=button class=X>", "button", 0, "", -1},
    };
    for (const Case& c : cases) {
        Show(c.markup);
        int ordinal = 0;
        const AutomationObject found = automation.FindInputElement("button|submit|reset", c.key, c.skip, ordinal);
        EXPECT_EQ(found.GetText("className"), c.expected) << c.markup;
        EXPECT_EQ(ordinal, c.ordinal) << c.markup;
    }
    // Without "button" in the list, button elements are never looked at.
    Show("<button name=go class=B>go</button>");
    int ordinal = 0;
    EXPECT_TRUE(automation.FindInputElement("submit", "go", 0, ordinal).IsEmpty());
}

TEST_F(ElementLookupTest, SpansMatchByClassTextNameIdTitle) {
    const Case cases[] = {
        {"<span id=zt_msg class=A>x</span>", "zt_msg", 0, "A", 1},
        {"<span class=zt_msg>a</span><span id=zt_msg class=B>b</span>", "zt_msg", 0, "zt_msg", 1},
        {"<span class=A>zt_msg</span><span id=zt_msg class=B>b</span>", "zt_msg", 0, "A", 1},
        {"<span class=A>zt_msg!</span><span id=zt_msg class=B>b</span>", "zt_msg", 0, "B", 2},
        {"<div id=zt_msg class=X>x</div>", "zt_msg", 0, "", -1},
        {"<span title=zt_msg class=A>x</span>", "zt_msg", 0, "A", 1},
        {"<span class=A>a</span><span class=B>b</span>", "2", 0, "B", 2},
        {"<span id=s class=A>a</span><span id=s class=B>b</span>", "s", 1, "B", 2},
    };
    for (const Case& c : cases) {
        Show(c.markup);
        int ordinal = 0;
        const AutomationObject found = automation.FindSpanElement(c.key, c.skip, ordinal);
        EXPECT_EQ(found.GetText("className"), c.expected) << c.markup;
        EXPECT_EQ(ordinal, c.ordinal) << c.markup;
        EXPECT_EQ(automation.FindSpan(c.key, c.skip).GetText("className"), c.expected) << c.markup;
    }
}

TEST_F(ElementLookupTest, OnlyElementsInsideTheBodyAreCandidates) {
    ASSERT_TRUE(page.Load("<html><head><title>t</title></head><body><span id=s class=A>a</span></body></html>"));
    ASSERT_TRUE(automation.AttachBrowser(page.box()));
    int ordinal = 0;
    EXPECT_EQ(automation.FindSpanElement("s", 0, ordinal).GetText("className"), "A");
}

TEST_F(ElementLookupTest, CheckedReadsAsMinusOneOrZero) {
    Show("<input type=checkbox id=on checked><input type=checkbox id=off>");
    int ordinal = 0;
    EXPECT_EQ(automation.FindInputElement("checkbox", "on", 0, ordinal).GetText("checked"), "-1");
    ordinal = 0;
    EXPECT_EQ(automation.FindInputElement("checkbox", "off", 0, ordinal).GetText("checked"), "0");
    EXPECT_EQ(automation.FindTextInput("on").GetText("checked"), "");   // nothing found, nothing read
}

}  // namespace
}  // namespace corvalin
