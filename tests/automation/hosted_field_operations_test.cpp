// The client's three field operations on a page shown by the real browser box.
#include <gtest/gtest.h>

#include "automation/hosted_page.h"
#include "automation/page_automation.h"

namespace corvalin {
namespace {

class HostedFieldOperationsTest : public ::testing::Test {
protected:
    void Show(const std::string& body) {
        ASSERT_TRUE(page.Load("<html><body>" + body + "</body></html>"));
        ASSERT_TRUE(automation.AttachBrowser(page.box()));
    }

    testing::HostedPage page;
    PageAutomation automation;
};

TEST_F(HostedFieldOperationsTest, WritesTheValuesOfTheServiceInputs) {
    Show("<input name=userqq><input type=password name=pwd><input type=checkbox name=verify>"
         "<input id=verify>");
    EXPECT_TRUE(automation.SetTextInputValue("userqq", "10001"));
    EXPECT_TRUE(automation.SetTextInputValue("pwd", "秘密"));
    EXPECT_TRUE(automation.SetTextInputValue("verify", "ab12"));
    EXPECT_FALSE(automation.SetTextInputValue("userQQ", "x"));
    EXPECT_EQ(page.Evaluate("document.getElementsByName('userqq')[0].value"), "10001");
    EXPECT_EQ(page.Evaluate("document.getElementsByName('pwd')[0].value"), "秘密");
    // The fourth input, by position: getElementById would take the check box named "verify" first.
    EXPECT_EQ(page.Evaluate("document.getElementsByTagName('input')[3].value"), "ab12");
}

TEST_F(HostedFieldOperationsTest, ClickReachesTheButtonFound) {
    Show("<input type=button name=button onclick=\"document.getElementById('zt_msg').innerHTML='started'\">"
         "<button name=button2 onclick=\"document.getElementById('zt_msg').innerHTML='offline'\">off</button>"
         "<span id=zt_msg>idle</span>");
    EXPECT_TRUE(automation.ClickButton("button2"));
    EXPECT_EQ(automation.GetSpanInnerHtml("zt_msg"), "offline");
    EXPECT_TRUE(automation.ClickButton("button"));
    EXPECT_EQ(automation.GetSpanInnerHtml("zt_msg"), "started");
}

TEST_F(HostedFieldOperationsTest, ClickWithoutAMatchingButtonClicksNothing) {
    Show("<input type=button name=other onclick=\"document.getElementById('zt_msg').innerHTML='clicked'\">"
         "<input type=text name=button><span id=zt_msg>idle</span>");
    EXPECT_FALSE(automation.ClickButton("button"));
    EXPECT_EQ(automation.GetSpanInnerHtml("zt_msg"), "idle");
}

TEST_F(HostedFieldOperationsTest, StatusReadIsTheSpansMarkup) {
    Show("<div id=zt_msg>not a span</div>");
    EXPECT_EQ(automation.GetSpanInnerHtml("zt_msg"), "");
    Show("<span id=zt_msg>请输入验证码<b>!</b></span>");
    const std::string markup = automation.GetSpanInnerHtml("zt_msg");
    EXPECT_EQ(markup.find("请输入验证码"), 0u) << markup;
    EXPECT_NE(markup.find(">!</"), std::string::npos) << markup;   // the markup, not the plain text
}

}  // namespace
}  // namespace corvalin
