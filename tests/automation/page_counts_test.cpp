// Counting and marking on pages shaped like real ones, shown by the real
// browser box; what the marks did is read back through the page's own script.
#include <gtest/gtest.h>

#include "automation/hosted_page.h"
#include "automation/page_automation.h"

namespace corvalin {
namespace {

class PageCountsTest : public ::testing::Test {
protected:
    void Show(const std::string& body) {
        ASSERT_TRUE(page.Load("<html><body>" + body + "</body></html>"));
        ASSERT_TRUE(automation.AttachBrowser(page.box()));
    }
    std::string Eval(const std::string& expression) { return page.Evaluate(expression); }
    // The values of every input, joined with "|".
    std::string InputValues() {
        return Eval("(function(){var a=[],l=document.getElementsByTagName('input');"
                    "for(var i=0;i<l.length;i++)a.push(l[i].value);return a.join('|')})()");
    }
    // How often `text` occurs in the page's markup.
    int Occurrences(const std::string& text) {
        return std::stoi(Eval("document.body.innerHTML.split('" + text + "').length-1"));
    }

    testing::HostedPage page;
    PageAutomation automation;
};

const char kRegistrationForm[] =
    "<form name=reg action=/reg method=post>"
    "<input name=user value=tom><input type=checkbox name=agree value=yes>"
    "<input type=password name=pwd><input name=email>"
    "<input type=radio name=sex value=m checked>男<input type=radio name=sex value=f>女"
    "<input type=hidden name=token value=t1>"
    "<input type=button name=check value=检查><input type=submit name=ok value=提交>"
    "<button name=adv>高级</button><input type=reset name=clear>"
    "<input type=image name=go src=go.gif></form>";

TEST_F(PageCountsTest, TextInputsAreCountedAndMarkedInTheirValues) {
    Show(kRegistrationForm);
    const std::string before = InputValues();
    EXPECT_EQ(automation.CountTextInputs(), 3);
    EXPECT_EQ(InputValues(), before);
    EXPECT_EQ(automation.CountTextInputs(true), 3);
    EXPECT_EQ(Eval("document.getElementsByName('user')[0].value"), "文本框1");
    EXPECT_EQ(Eval("document.getElementsByName('pwd')[0].value"), "文本框2");
    EXPECT_EQ(Eval("document.getElementsByName('email')[0].value"), "文本框3");
    EXPECT_EQ(Eval("document.getElementsByName('agree')[0].value"), "yes");
}

TEST_F(PageCountsTest, ButtonOrdinalsContinueIntoButtonElements) {
    Show(kRegistrationForm);
    EXPECT_EQ(automation.CountButtons(true), 4);
    EXPECT_EQ(Eval("document.getElementsByName('check')[0].value"), "按钮1");
    EXPECT_EQ(Eval("document.getElementsByName('ok')[0].value"), "按钮2");
    EXPECT_EQ(Eval("document.getElementsByName('clear')[0].value"), "按钮3");
    EXPECT_EQ(Eval("document.getElementsByName('adv')[0].innerText"), "按钮4");
    EXPECT_EQ(automation.CountImageButtons(true), 1);
    EXPECT_EQ(Eval("document.getElementsByName('go')[0].value"), "图形按钮1");
    EXPECT_EQ(automation.CountHiddenFields(), 1);
    EXPECT_EQ(Eval("document.getElementsByName('token')[0].value"), "t1");
}

TEST_F(PageCountsTest, ChoiceInputsGetARedLabelAfterThemAndKeepTheirNames) {
    Show(kRegistrationForm);
    EXPECT_EQ(automation.CountRadios(true), 2);
    EXPECT_EQ(automation.CountCheckBoxes(true), 1);
    EXPECT_EQ(Eval("document.getElementsByName('sex').length"), "2");
    EXPECT_EQ(Eval("document.getElementsByName('sex')[0].checked"), "-1");
    EXPECT_EQ(Eval("document.getElementsByName('sex')[1].nextSibling.innerText"), "[复2]");
    EXPECT_EQ(Eval("document.getElementsByName('sex')[1].nextSibling.tagName"), "FONT");
    EXPECT_EQ(Eval("document.getElementsByName('agree')[0].nextSibling.innerText"), "[复1]");
    // The replaced radios are still the page's radios, in the same order.
    EXPECT_EQ(automation.CountRadios(), 2);
    EXPECT_EQ(automation.RadioOrdinal("sex", 1), 2);
}

TEST_F(PageCountsTest, InsertingMarksAddUpOnEveryCall) {
    Show("<div class=nav><ul><li>首页</li><li>论坛</li></ul></div>"
         "<div id=main><span id=a>甲</span><span>乙</span><cite>引</cite>"
         "<textarea name=note>备注</textarea></div>");
    for (int run = 0; run < 2; ++run) {
        EXPECT_EQ(automation.CountDivs(true), 2);
        EXPECT_EQ(automation.CountSpans(true), 2);
        EXPECT_EQ(automation.CountListItems(true), 2);
        EXPECT_EQ(automation.CountCiteButtons(true), 1);
        EXPECT_EQ(automation.CountTextAreas(true), 1);
    }
    EXPECT_EQ(Occurrences("Div1<"), 2);
    EXPECT_EQ(Occurrences("Div2<"), 2);
    EXPECT_EQ(Occurrences("Span2<"), 2);
    EXPECT_EQ(Occurrences("ULli2<"), 2);   // the second list item
    // Each mark goes in at the start of the content, before the earlier one.
    EXPECT_EQ(Eval("document.getElementById('a').innerText"), "Span1Span1甲");
    EXPECT_EQ(Eval("document.getElementsByTagName('cite')[0].children.length"), "2");
    EXPECT_EQ(Eval("document.getElementsByTagName('cite')[0].firstChild.innerText"), "ULli1");
    EXPECT_EQ(Eval("document.getElementsByTagName('textarea')[0].children.length"), "2");
}

TEST_F(PageCountsTest, LinksAndImagesAreMarkedAndListed) {
    Show("<a href=/news id=n name=news>新闻</a><a href=/mail>邮件</a>"
         "<input type=image src=/go.gif name=go width=40 height=20>"
         "<img src=/logo.gif width=30 height=10 name=logo id=lg title=标志>");
    std::vector<std::string> texts, hrefs, names, ids;
    EXPECT_EQ(automation.ListLinks(texts, hrefs, names, ids), 2);
    EXPECT_EQ(texts, (std::vector<std::string>{"新闻", "邮件"}));
    ASSERT_EQ(hrefs.size(), 2u);
    EXPECT_NE(hrefs[1].find("/mail"), std::string::npos) << hrefs[1];
    EXPECT_EQ(names, (std::vector<std::string>{"news", ""}));
    EXPECT_EQ(ids, (std::vector<std::string>{"n", ""}));

    std::vector<std::string> srcs, widths, heights, imageNames, imageIds, titles;
    EXPECT_EQ(automation.ListImages(srcs, widths, heights, imageNames, imageIds, titles), 2);
    EXPECT_EQ(widths, (std::vector<std::string>{"40", "30"}));
    EXPECT_EQ(heights, (std::vector<std::string>{"20", "10"}));
    EXPECT_EQ(imageNames, (std::vector<std::string>{"go", "logo"}));
    EXPECT_EQ(titles, (std::vector<std::string>{"", "标志"}));
    EXPECT_NE(srcs[0].find("go.gif"), std::string::npos) << srcs[0];

    // Counting without marks changes nothing.
    EXPECT_EQ(automation.CountLinks(), 2);
    EXPECT_EQ(automation.CountImages(), 2);
    EXPECT_EQ(Eval("document.links[1].innerText"), "邮件");
    EXPECT_EQ(automation.CountLinks(true), 2);
    EXPECT_EQ(automation.CountImages(true), 2);
    EXPECT_EQ(Eval("document.links[1].innerText"), "邮件链2");
    EXPECT_EQ(Eval("document.links[0].lastChild.tagName"), "FONT");
    EXPECT_EQ(Eval("document.getElementsByName('go')[0].title"), "图片1");
    EXPECT_EQ(Eval("document.getElementById('lg').title"), "图片2");
    // A listing writes no labels and reads titles after any marking.
    titles.clear();
    std::vector<std::string> unused;
    EXPECT_EQ(automation.CollectImageElements("image", "图", true, true, unused, unused, unused, unused, unused,
                                              titles),
              2);
    EXPECT_EQ(titles, (std::vector<std::string>{"图1", "图2"}));
}

TEST_F(PageCountsTest, MarkAllFieldsMarksEveryFormFieldAndAnswersTheImageButtons) {
    Show(kRegistrationForm + std::string("<textarea name=note></textarea><cite>c</cite>"
                                         "<select name=city><option>北京<option selected>上海</select>"));
    EXPECT_EQ(automation.MarkAllFields(), 1);
    EXPECT_EQ(Eval("document.getElementsByName('city')[0].options[0].text"), "组合框1");
    EXPECT_EQ(Eval("document.getElementsByName('city')[0].selectedIndex"), "0");
    EXPECT_EQ(Eval("document.getElementsByName('user')[0].value"), "文本框1");
    EXPECT_EQ(Eval("document.getElementsByName('adv')[0].innerText"), "按钮4");
    EXPECT_EQ(Eval("document.getElementsByName('go')[0].value"), "图形按钮1");
    EXPECT_EQ(Occurrences("[复"), 3);
    EXPECT_EQ(Eval("document.getElementsByTagName('cite')[0].innerText"), "ULli1c");
}

TEST_F(PageCountsTest, NothingAttachedCountsNothing) {
    EXPECT_EQ(automation.CountTextInputs(true), 0);
    EXPECT_EQ(automation.MarkAllFields(), 0);
    std::vector<std::string> list;
    EXPECT_EQ(automation.ListLinks(list, list, list, list), 0);
    EXPECT_TRUE(list.empty());
}

}  // namespace
}  // namespace corvalin
