// Select boxes of a registration form shown by the real browser box: two
// boxes whose change handlers log into the page, radios and check boxes
// around them.
#include <gtest/gtest.h>

#include "automation/hosted_page.h"
#include "automation/page_automation.h"

namespace corvalin {
namespace {

const char kRegistrationForm[] =
    "<html><head><title>注册</title></head><body>"
    "<form name=reg method=post action=/register>"
    "<input name=user value=10001>"
    "<select name=province id=province onchange=\"document.getElementById('log').innerHTML+='p'+this.selectedIndex\">"
    "<option value=bj>北京</option><option value=sh selected>上海</option><option value=gd>广东</option></select>"
    "<input type=radio name=sex value=m checked>男<input type=radio name=sex value=f>女"
    "<select name=city id=city onchange=\"document.getElementById('log').innerHTML+='c'+this.selectedIndex\">"
    "<option value=0>请选择</option><option value=hz>杭州</option></select>"
    "<input type=checkbox name=agree checked><input type=checkbox name=news>"
    "<input type=submit value=注册></form><span id=log></span></body></html>";

class SelectBoxesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(page.Load(kRegistrationForm));
        ASSERT_TRUE(automation.AttachBrowser(page.box()));
    }
    std::string Eval(const std::string& expression) { return page.Evaluate(expression); }
    // What the boxes' change handlers have logged.
    std::string Log() { return Eval("document.getElementById('log').innerHTML"); }
    std::string Chosen() {
        return Eval("document.getElementById('province').selectedIndex + ',' + "
                    "document.getElementById('city').selectedIndex");
    }

    testing::HostedPage page;
    PageAutomation automation;
};

TEST_F(SelectBoxesTest, ReadsOptionsAndTheChoiceByOrdinal) {
    EXPECT_EQ(automation.GetSelectedIndex(1), 1);
    EXPECT_EQ(automation.GetSelectedIndex(2), 0);
    EXPECT_EQ(automation.GetSelectedIndex(3), -1);
    EXPECT_EQ(automation.GetOptionCount(1), 3);
    EXPECT_EQ(automation.GetOptionCount(2), 2);
    EXPECT_EQ(automation.GetOptionCount(3), 0);
    EXPECT_EQ(automation.GetOptionText(1, 2), "上海");
    EXPECT_EQ(automation.GetOptionText(2, 2), "杭州");
    EXPECT_EQ(automation.GetOptionValue(1, 3), "gd");
    EXPECT_EQ(automation.GetOptionText(1, 4), "");
    EXPECT_EQ(automation.GetOptionValue(1, 0), "");
    EXPECT_EQ(automation.GetOptionText(3, 1), "");
}

TEST_F(SelectBoxesTest, SelectOptionChoosesAndRunsTheChangeHandler) {
    EXPECT_TRUE(automation.SelectOption(1, 3));
    EXPECT_EQ(Chosen(), "2,0");
    EXPECT_EQ(Eval("document.getElementById('province').value"), "gd");
    EXPECT_EQ(Log(), "p2");   // the handler saw the new choice
    EXPECT_TRUE(automation.SelectOptionByText(2, "杭州"));
    EXPECT_EQ(Chosen(), "2,1");
    EXPECT_EQ(Log(), "p2c1");
}

TEST_F(SelectBoxesTest, AMissingOptionOrBoxChangesNothing) {
    EXPECT_FALSE(automation.SelectOptionByText(1, "天津"));
    EXPECT_FALSE(automation.SelectOptionByText(1, "上"));   // the whole text, not a part
    EXPECT_FALSE(automation.SelectOption(1, 4));
    EXPECT_FALSE(automation.SelectOption(1, 0));
    EXPECT_FALSE(automation.SelectOption(3, 1));
    EXPECT_FALSE(automation.SetOptionText(1, 4, "x"));
    EXPECT_FALSE(automation.SetOptionValue(3, 1, "x"));
    EXPECT_EQ(Chosen(), "1,0");
    EXPECT_EQ(Log(), "");
    EXPECT_EQ(Eval("document.getElementById('province').options.length"), "3");
}

TEST_F(SelectBoxesTest, WritesOptionTextsAndValues) {
    EXPECT_TRUE(automation.SetOptionText(1, 1, "天津"));
    EXPECT_TRUE(automation.SetOptionValue(1, 1, "tj"));
    EXPECT_EQ(Eval("document.getElementById('province').options[0].text"), "天津");
    EXPECT_EQ(Eval("document.getElementById('province').options[0].value"), "tj");
    EXPECT_TRUE(automation.SelectOptionByText(1, "天津"));
    EXPECT_EQ(Eval("document.getElementById('province').value"), "tj");
}

TEST_F(SelectBoxesTest, CountingWithMarkRenamesEachBoxsFirstOption) {
    EXPECT_EQ(automation.CountSelectBoxes(), 2);
    EXPECT_EQ(Chosen(), "1,0");
    EXPECT_EQ(automation.GetOptionText(1, 1), "北京");

    EXPECT_EQ(automation.CountSelectBoxes(true), 2);
    EXPECT_EQ(Chosen(), "0,0");
    EXPECT_EQ(automation.GetOptionText(1, 1), "组合框1");
    EXPECT_EQ(automation.GetOptionText(2, 1), "组合框2");
    EXPECT_EQ(automation.GetOptionText(1, 2), "上海");
    EXPECT_EQ(Log(), "");   // marking is no user's choice
}

TEST_F(SelectBoxesTest, ListingAppendsOneEntryPerBox) {
    std::vector<int> counts{7};
    std::vector<std::string> types, names, ids, html;
    EXPECT_EQ(automation.ListSelectBoxes(counts, types, names, ids, html), 2);
    EXPECT_EQ(counts, (std::vector<int>{7, 3, 2}));
    EXPECT_EQ(types, (std::vector<std::string>{"select-one", "select-one"}));
    EXPECT_EQ(names, (std::vector<std::string>{"province", "city"}));
    EXPECT_EQ(ids, (std::vector<std::string>{"province", "city"}));
    ASSERT_EQ(html.size(), 2u);
    EXPECT_EQ(html[1].find("<SELECT"), 0u) << html[1];
    EXPECT_NE(html[1].find("杭州"), std::string::npos) << html[1];
    EXPECT_EQ(automation.GetOptionText(2, 1), "请选择");

    EXPECT_EQ(automation.ListSelectBoxes(counts, types, names, ids, html, true), 2);
    EXPECT_EQ(counts.size(), 5u);
    EXPECT_EQ(automation.GetOptionText(2, 1), "组合框2");
}

TEST_F(SelectBoxesTest, FocusAndHidingNeedTheBoxToExist) {
    ASSERT_TRUE(automation.FocusTextInput("user"));
    ASSERT_EQ(Eval("document.activeElement.name"), "user");
    EXPECT_FALSE(automation.FocusSelectBox(5));
    EXPECT_EQ(Eval("document.activeElement.name"), "user");
    EXPECT_TRUE(automation.FocusSelectBox(2));
    EXPECT_EQ(Eval("document.activeElement.name"), "city");

    EXPECT_FALSE(automation.SetSelectBoxHidden(3));
    EXPECT_TRUE(automation.SetSelectBoxHidden(2));
    EXPECT_EQ(Eval("document.getElementById('city').style.display"), "none");
    EXPECT_EQ(Eval("document.getElementById('province').style.display"), "");
    EXPECT_TRUE(automation.SetSelectBoxHidden(2, false));
    EXPECT_EQ(Eval("document.getElementById('city').style.display"), "");
}

TEST_F(SelectBoxesTest, TheOperationAnswersOnlyForTheBoxItActsOn) {
    int optionCount = -5, selectCount = -5, selectedIndex = -5;
    std::string optionText = "untouched";
    AutomationObject last;
    // No box 4: nothing is written but the boxes seen and the last box.
    EXPECT_EQ(automation.SelectBoxOperation(4, 0, 1, &optionCount, &optionText, {}, nullptr, {}, &selectCount,
                                            false, &selectedIndex, {}, &last),
              0);
    EXPECT_EQ(optionCount, -5);
    EXPECT_EQ(selectCount, 2);
    EXPECT_EQ(last.GetText("name"), "city");
    // An unknown code does nothing for the box it names.
    selectCount = -5;
    EXPECT_EQ(automation.SelectBoxOperation(1, 9, 1, &optionCount, &optionText, "x", nullptr, {}, &selectCount, true,
                                            &selectedIndex, "北京", &last),
              0);
    EXPECT_EQ(optionText, "untouched");
    EXPECT_EQ(selectCount, -5);
    EXPECT_EQ(last.GetText("name"), "province");
    EXPECT_EQ(Chosen(), "1,0");
    // Found: the result is 1 and the box is the one acted on.
    EXPECT_EQ(automation.SelectBoxOperation(1, 5, 0, nullptr, nullptr, {}, nullptr, {}, nullptr, false,
                                            &selectedIndex, {}, &last),
              1);
    EXPECT_EQ(selectedIndex, 1);
    EXPECT_EQ(last.GetText("name"), "province");
}

TEST_F(SelectBoxesTest, DetachedEverythingAnswersEmpty) {
    automation.Detach();
    EXPECT_EQ(automation.CountSelectBoxes(true), 0);
    EXPECT_EQ(automation.GetSelectedIndex(1), -1);
    EXPECT_FALSE(automation.SelectOption(1, 1));
    EXPECT_FALSE(automation.FocusSelectBox(1));
    EXPECT_EQ(Chosen(), "1,0");
}

}  // namespace
}  // namespace corvalin
