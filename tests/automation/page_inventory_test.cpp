// The page inventory on one rich registration page shown by the real browser
// box: every kind, each of its fourteen lists against the expected inventory.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "automation/hosted_page.h"
#include "automation/page_automation.h"

namespace corvalin {
namespace {

using Texts = std::vector<std::string>;

struct Inventory {
    Texts innerTexts, values, names, ids, kinds, hrefs, srcs, sizesA, sizesB, checkedStates, outerHtmls, titles,
        titledHrefs;
    std::vector<AutomationObject> elements;
};

// Addresses come back resolved against the page: only their ends are compared.
Texts Tails(const Texts& urls) {
    Texts tails;
    for (const std::string& url : urls) tails.push_back(url.empty() ? "" : url.substr(url.rfind('/') + 1));
    return tails;
}

class PageInventoryTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(page.Load(
            "<html><body><form name=reg>"
            "<input name=user id=u value=tom><input type=password name=pwd value=pw>"
            "<input type=radio name=sex value=m checked><input type=radio name=sex value=f>"
            "<input type=checkbox name=agree value=yes><textarea name=intro id=in>hi</textarea>"
            "<input type=submit name=ok value=提交><button type=button name=adv id=ad>高级</button>"
            "<input type=image name=go src=go.gif width=40 height=20></form>"
            "<a href=/help id=h title=帮助>帮助</a><a href=/news>新闻</a>"
            "<img src=logo.gif width=30 height=10 name=logo id=lg title=标志>"
            "<div id=d1 title=块>d</div><cite id=c1 title=引>引用</cite>"
            "<ul><li id=l1>one</li><li>two</li></ul><span id=s1 title=st>s</span></body></html>"));
        ASSERT_TRUE(automation.AttachBrowser(page.box()));
    }

    int Collect(Inventory& in, int kind, const char* tags, const char* types, bool mark = false) {
        return automation.CollectPageElements(kind, tags, types, in.innerTexts, in.values, in.names, in.ids, in.kinds,
                                              in.hrefs, in.srcs, in.sizesA, in.sizesB, in.checkedStates,
                                              in.outerHtmls, mark, in.titles, in.titledHrefs, in.elements);
    }
    // The elements listed are the ones whose markup was listed.
    static void ExpectElementsMatchMarkup(const Inventory& in, std::size_t count) {
        ASSERT_EQ(in.elements.size(), count);
        ASSERT_EQ(in.outerHtmls.size(), count);
        for (std::size_t i = 0; i < count; ++i) EXPECT_EQ(in.elements[i].GetText("outerHTML"), in.outerHtmls[i]);
    }

    testing::HostedPage page;
    PageAutomation automation;
};

TEST_F(PageInventoryTest, ChoiceInputsWithTheirCheckedStatesAndNameLabels) {
    Inventory in;
    EXPECT_EQ(Collect(in, 0, "input", "radio", true), 2);
    EXPECT_EQ(in.kinds, (Texts{"radio", "radio"}));
    EXPECT_EQ(in.values, (Texts{"m", "f"}));
    EXPECT_EQ(in.names, (Texts{"单选框1", "单选框2"}));
    EXPECT_EQ(in.ids, (Texts{"", ""}));
    EXPECT_EQ(in.checkedStates, (Texts{"真", "假"}));
    ExpectElementsMatchMarkup(in, 2);
    // Appending to the same lists: the result counts the earlier entries too.
    EXPECT_EQ(Collect(in, 1, "input", "checkbox"), 3);
    EXPECT_EQ(in.names.back(), "agree");
    EXPECT_EQ(in.checkedStates.back(), "假");
    for (const Texts* untouched : {&in.innerTexts, &in.hrefs, &in.srcs, &in.sizesA, &in.sizesB, &in.titles,
                                   &in.titledHrefs})
        EXPECT_TRUE(untouched->empty());
}

TEST_F(PageInventoryTest, TextFieldsAndButtons) {
    Inventory text;
    EXPECT_EQ(Collect(text, 2, "input", "text|password|file", true), 2);
    EXPECT_EQ(text.kinds, (Texts{"text", "password"}));
    EXPECT_EQ(text.values, (Texts{"文本框1", "文本框2"}));
    EXPECT_EQ(text.names, (Texts{"user", "pwd"}));
    EXPECT_EQ(text.ids, (Texts{"u", ""}));
    EXPECT_TRUE(text.checkedStates.empty());
    ExpectElementsMatchMarkup(text, 2);

    Inventory area;
    EXPECT_EQ(Collect(area, 3, "textarea", "textarea"), 1);
    EXPECT_EQ(area.kinds, (Texts{"textarea"}));
    EXPECT_EQ(area.values, (Texts{"hi"}));
    EXPECT_EQ(area.names, (Texts{"intro"}));
    EXPECT_EQ(area.ids, (Texts{"in"}));

    // Buttons are told apart by their tag; the ordinal runs over both tags.
    Inventory buttons;
    EXPECT_EQ(Collect(buttons, 4, "input|button", "submit|button", true), 2);
    EXPECT_EQ(buttons.kinds, (Texts{"INPUT", "BUTTON"}));
    EXPECT_EQ(buttons.values, (Texts{"按钮1", "按钮2"}));
    EXPECT_EQ(buttons.names, (Texts{"ok", "adv"}));
    ExpectElementsMatchMarkup(buttons, 2);

    Inventory advanced;
    EXPECT_EQ(Collect(advanced, 5, "button", "button", true), 1);
    EXPECT_EQ(advanced.kinds, (Texts{"button"}));
    EXPECT_EQ(advanced.innerTexts, (Texts{"高级按钮1"}));
    EXPECT_EQ(advanced.names, (Texts{"adv"}));
    EXPECT_EQ(advanced.ids, (Texts{"ad"}));
    EXPECT_TRUE(advanced.values.empty());
}

TEST_F(PageInventoryTest, ImageButtonsAndImagesGiveTheirSizesInOppositeLists) {
    Inventory buttons;
    EXPECT_EQ(Collect(buttons, 6, "input", "image", true), 1);
    EXPECT_EQ(buttons.kinds, (Texts{"image"}));
    EXPECT_EQ(buttons.names, (Texts{"图片按钮1"}));
    EXPECT_EQ(Tails(buttons.srcs), (Texts{"go.gif"}));
    EXPECT_EQ(buttons.sizesB, (Texts{"40"}));   // width
    EXPECT_EQ(buttons.sizesA, (Texts{"20"}));   // height
    ExpectElementsMatchMarkup(buttons, 1);

    Inventory images;
    EXPECT_EQ(Collect(images, 8, "img", "img"), 1);
    EXPECT_EQ(images.kinds, (Texts{"IMG"}));
    EXPECT_EQ(Tails(images.srcs), (Texts{"logo.gif"}));
    EXPECT_EQ(images.names, (Texts{"logo"}));
    EXPECT_EQ(images.ids, (Texts{"lg"}));
    EXPECT_EQ(images.sizesA, (Texts{"30"}));    // width
    EXPECT_EQ(images.sizesB, (Texts{"10"}));    // height
    EXPECT_EQ(images.titles, (Texts{"标志"}));
    ExpectElementsMatchMarkup(images, 1);
}

TEST_F(PageInventoryTest, LinksTitledElementsAndBlocks) {
    Inventory links;
    EXPECT_EQ(Collect(links, 7, "a", "a"), 2);
    EXPECT_EQ(links.kinds, (Texts{"A", "A"}));
    EXPECT_EQ(links.innerTexts, (Texts{"帮助", "新闻"}));
    EXPECT_EQ(Tails(links.hrefs), (Texts{"help", "news"}));
    EXPECT_EQ(links.titles, (Texts{"帮助", ""}));
    ExpectElementsMatchMarkup(links, 2);

    // Whatever the type list holds, only elements with a title are taken.
    Inventory titled;
    EXPECT_EQ(Collect(titled, 9, "a|img|div|span|li", "any"), 4);
    EXPECT_EQ(titled.kinds, (Texts{"A", "IMG", "DIV", "SPAN"}));
    EXPECT_EQ(titled.titles, (Texts{"帮助", "标志", "块", "st"}));
    EXPECT_EQ(Tails(titled.titledHrefs), (Texts{"help", "", "", ""}));
    ExpectElementsMatchMarkup(titled, 4);

    Inventory divs;
    EXPECT_EQ(Collect(divs, 10, "div", "div"), 1);
    EXPECT_EQ(divs.kinds, (Texts{"DIV"}));
    ExpectElementsMatchMarkup(divs, 1);

    Inventory cites;
    EXPECT_EQ(Collect(cites, 11, "cite", "cite"), 1);
    EXPECT_EQ(cites.kinds, (Texts{"CITE"}));
    EXPECT_EQ(cites.innerTexts, (Texts{"引用"}));
    EXPECT_EQ(cites.ids, (Texts{"c1"}));
    EXPECT_EQ(cites.titles, (Texts{"引"}));
    ExpectElementsMatchMarkup(cites, 1);
}

TEST_F(PageInventoryTest, ListItemsAndSpansAreCountedByTheirTexts) {
    Inventory items;
    EXPECT_EQ(Collect(items, 12, "li", "any"), 2);
    EXPECT_EQ(items.innerTexts, (Texts{"one", "two"}));
    EXPECT_EQ(items.ids, (Texts{"l1", ""}));
    EXPECT_EQ(items.outerHtmls.size(), 2u);
    EXPECT_TRUE(items.kinds.empty());
    EXPECT_TRUE(items.elements.empty());

    Inventory spans;
    EXPECT_EQ(Collect(spans, 13, "ignored", "any"), 1);
    EXPECT_EQ(spans.kinds, (Texts{"SPAN"}));
    EXPECT_EQ(spans.innerTexts, (Texts{"s"}));
    EXPECT_EQ(spans.ids, (Texts{"s1"}));
    EXPECT_EQ(spans.values, (Texts{"st"}));   // the title
    ExpectElementsMatchMarkup(spans, 1);
}

TEST_F(PageInventoryTest, AnEmptyTypeListAddsNothingAndAnswersTheCurrentSize) {
    Inventory in;
    in.kinds = {"x", "y", "z"};
    EXPECT_EQ(Collect(in, 2, "input", "", true), 3);
    EXPECT_EQ(in.kinds.size(), 3u);
    EXPECT_TRUE(in.values.empty());
    EXPECT_TRUE(in.elements.empty());
    EXPECT_EQ(page.Evaluate("document.getElementsByName('user')[0].value"), "tom");   // nothing marked
    in.innerTexts = {"a"};
    EXPECT_EQ(Collect(in, 12, "li", ""), 1);
    EXPECT_EQ(in.innerTexts.size(), 1u);
}

}  // namespace
}  // namespace corvalin
