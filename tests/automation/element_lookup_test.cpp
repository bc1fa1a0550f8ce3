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


// A finder as the table below names it: the candidates, properties and passes
// differ per finder, the counting rules do not.
using Finder = AutomationObject (*)(const PageAutomation&, std::string_view key, int skip, int& ordinal);

struct FinderCase {
    const char* name;
    Finder finder;
    const char* markup;
    const char* key;
    int skip;
    const char* expected;
    int ordinal;
};

AutomationObject Div(const PageAutomation& a, std::string_view k, int s, int& o) { return a.FindDivElement(k, s, o); }
AutomationObject Item(const PageAutomation& a, std::string_view k, int s, int& o) { return a.FindListItemElement(k, s, o); }
AutomationObject Area(const PageAutomation& a, std::string_view k, int s, int& o) { return a.FindTextAreaElement(k, s, o); }
AutomationObject Link(const PageAutomation& a, std::string_view k, int s, int& o) { return a.FindLinkElement(k, s, o); }
AutomationObject Cite(const PageAutomation& a, std::string_view k, int s, int& o) { return a.FindCiteElement(k, s, o); }
AutomationObject Image(const PageAutomation& a, std::string_view k, int s, int& o) {
    return a.FindImageElement("image", k, s, o);
}

TEST_F(ElementLookupTest, EveryFinderComparesItsOwnPropertiesInOrder) {
    const FinderCase cases[] = {
        // a class name "menu" comes before a later id "menu"
        {"div", Div, "<div class=menu title=A></div><div id=menu title=B></div>", "menu", 0, "A", 1},
        {"div", Div, "<div title=A>x</div><div title=B>menu!</div><div title=C>menu</div>", "menu", 0, "C", 3},
        {"div", Div, "<div class=menu title=A></div><div class=menu title=B></div>", "menu", 1, "B", 2},
        {"div", Div, "<span class=menu title=X></span>", "menu", 0, "", -1},
        // list items and text areas never compare a name
        {"li", Item, "<ul><li name=first title=A>a</li><li class=first title=B>b</li></ul>", "first", 0, "B", 2},
        {"li", Item, "<ol><li title=A>one</li><li title=B>two</li></ol>", "two", 0, "B", 2},
        {"textarea", Area, "<textarea name=memo title=A></textarea><textarea id=memo title=B></textarea>", "memo", 0,
         "B", 2},
        {"textarea", Area, "<textarea title=A>note</textarea>", "note", 0, "A", 1},
        // a link by its visible text when nothing earlier matches by address, id or title
        {"a", Link, "<a href=/one title=A>one</a><a href=/two title=B>help</a>", "help", 0, "B", 2},
        {"a", Link, "<a href=/one title=help>one</a><a href=/two title=B>help</a>", "help", 0, "help", 1},
        {"a", Link, "<a href=/one title=A>one</a><a href=/two id=next title=B>next</a>", "next", 1, "", -1},
        {"cite", Cite, "<cite name=go title=A>x</cite><cite class=go title=B>y</cite>", "go", 0, "B", 2},
        // images: the address contains the key; image inputs come first
        {"img", Image, "<img src=/a/logo.gif title=A><img src=/b/banner.gif title=B>", "banner", 0, "B", 2},
        {"img", Image, "<img src=/a/logo.gif title=A><input type=image src=/b/go.gif title=B>", "go.gif", 0, "B", 1},
        {"img", Image, "<img src=/x.gif title=A><img src=/y.gif title=B>", "2", 0, "B", 2},
        {"img", Image, "<img src=/pic2.gif title=A><img src=/y.gif title=B>", "2", 0, "A", 1},
        {"img", Image, "<input type=text src=/x.gif title=X><img src=/y.gif name=2 title=B>", "2", 0, "B", 1},
        {"img", Image, "<img src=/x.gif title=A><img src=/x.gif title=B>", "x.gif", 1, "B", 2},
    };
    for (const FinderCase& c : cases) {
        Show(c.markup);
        int ordinal = 0;
        const AutomationObject found = c.finder(automation, c.key, c.skip, ordinal);
        EXPECT_EQ(found.GetText("title"), c.expected) << c.name << ": " << c.markup << " key " << c.key;
        EXPECT_EQ(ordinal, c.ordinal) << c.name << ": " << c.markup << " key " << c.key;
    }
}

TEST_F(ElementLookupTest, ImageInputsOnlyWithoutImageInTheList) {
    Show("<input type=image src=/go.gif title=A><img src=/go.gif title=B>");
    int ordinal = 0;
    EXPECT_TRUE(automation.FindImageElement("submit", "go", 0, ordinal).IsEmpty());
    ordinal = 0;
    EXPECT_EQ(automation.FindImageElement("image", "2", 0, ordinal).GetText("title"), "B");
}

TEST_F(ElementLookupTest, OrdinalCountsOnFromTheCallersStart) {
    Show("<div title=A></div><div title=B></div>");
    int ordinal = 5;
    EXPECT_EQ(automation.FindDivElement("B", 0, ordinal).GetText("title"), "B");
    EXPECT_EQ(ordinal, 7);
}

TEST_F(ElementLookupTest, FormsByNameIdOrOrdinalWithTheOrdinalFirst) {
    Show("<form name=login action=/a></form><form id=reg name=1 action=/b></form><form name=x action=/c></form>");
    const struct {
        const char* key;
        const char* action;
        int ordinal;
    } cases[] = {
        {"1", "/a", 1},   // the first form by ordinal, before the later form named "1" is looked at
        {"reg", "/b", 2},
        {"login", "/a", 1},
        {"3", "/c", 3},
        {"4", "", -1},
        {"LOGIN", "", -1},
    };
    for (const auto& c : cases) {
        int ordinal = 0;
        const AutomationObject form = automation.FindForm(c.key, ordinal);
        EXPECT_NE(form.GetText("action").find(c.action), std::string::npos) << c.key;
        EXPECT_EQ(form.IsEmpty(), c.ordinal == -1) << c.key;
        EXPECT_EQ(ordinal, c.ordinal) << c.key;
    }
}

TEST_F(ElementLookupTest, TagCollectionReachesTheHead) {
    ASSERT_TRUE(page.Load("<html><head><script>var a = 1;</script><script src=x.js></script></head>"
                          "<body><script>var b = 2;</script><span class=s>x</span></body></html>"));
    ASSERT_TRUE(automation.AttachBrowser(page.box()));
    const AutomationObject scripts = automation.GetElementsByTagName("script");
    ASSERT_EQ(scripts.GetNumber("length"), 3);
    EXPECT_EQ(scripts.CallObject("item", 0.0).GetObject("parentNode").GetText("tagName"), "HEAD");
    EXPECT_EQ(automation.GetElementsByTagName("SPAN").GetNumber("length"), 1);
}

TEST_F(ElementLookupTest, NothingAttachedFindsNothing) {
    PageAutomation detached;
    int ordinal = 0;
    EXPECT_TRUE(detached.FindDivElement("1", 0, ordinal).IsEmpty());
    EXPECT_EQ(ordinal, -1);
    ordinal = 0;
    EXPECT_TRUE(detached.FindImageElement("image", "", 0, ordinal).IsEmpty());
    EXPECT_EQ(ordinal, -1);
    ordinal = 0;
    EXPECT_TRUE(detached.FindForm("1", ordinal).IsEmpty());
    EXPECT_EQ(ordinal, -1);
    EXPECT_TRUE(detached.GetElementsByTagName("div").IsEmpty());
}

}  // namespace
}  // namespace corvalin
