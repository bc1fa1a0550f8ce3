// The element families on pages shaped like real ones, shown by the real
// browser box: a login form, a registration form, a page of links and
// images, nested blocks, with decoys that share names with the targets.
#include "support/loopback_server.h"

#include <gtest/gtest.h>

#include <mutex>

#include "automation/hosted_page.h"
#include "automation/page_automation.h"
#include "support/message_pump.h"

namespace corvalin {
namespace {

class ElementFamiliesTest : public ::testing::Test {
protected:
    void Show(const std::string& body) {
        ASSERT_TRUE(page.Load("<html><body>" + body + "</body></html>"));
        ASSERT_TRUE(automation.AttachBrowser(page.box()));
    }
    std::string Eval(const std::string& expression) { return page.Evaluate(expression); }

    testing::HostedPage page;
    PageAutomation automation;
};

const char kLoginForm[] =
    "<form name=login><input type=checkbox name=2 title=decoy>"
    "<input name=2 id=account value=10001 title=qq>"
    "<input type=password name=pwd id=secret value=s3>"
    "<input type=file name=avatar><input type=hidden name=token id=tk value=abc>"
    "<input type=hidden name=token id=tk2 value=def>"
    "<input type=submit name=go value=Go title=Sign in></form>";

TEST_F(ElementFamiliesTest, TextInputsReadWriteFocusAndReportByOrdinal) {
    Show(kLoginForm);
    EXPECT_EQ(automation.GetTextInputValue("pwd"), "s3");
    EXPECT_EQ(automation.TextInputOrdinal("avatar"), 3);
    EXPECT_EQ(automation.TextInputOrdinal("nobody"), -1);

    // Ordinal 2 finds the input named "2", the first candidate, not the second.
    std::string value, name, id, type;
    AutomationObject element;
    ASSERT_TRUE(automation.GetTextInputInfo(2, &value, &name, &id, &type, &element));
    EXPECT_EQ(value + "|" + name + "|" + id + "|" + type, "10001|2|account|text");
    EXPECT_EQ(element.GetText("id"), "account");
    ASSERT_TRUE(automation.GetTextInputInfo(3, &value, nullptr, &id, nullptr));
    EXPECT_EQ(value + "|" + id, "|");   // the file input, which has no value or id
    EXPECT_EQ(name, "2");               // not supplied, not written

    EXPECT_TRUE(automation.SetTextInputValue("secret", "新密码"));
    EXPECT_EQ(Eval("document.getElementById('secret').value"), "新密码");
    EXPECT_TRUE(automation.FocusTextInput("pwd"));
    EXPECT_EQ(Eval("document.activeElement.id"), "secret");
}

TEST_F(ElementFamiliesTest, InfoAlwaysStoresTheFindersResult) {
    Show(kLoginForm);
    AutomationObject element = automation.FindTextInput("pwd");
    std::string value = "kept";
    EXPECT_FALSE(automation.GetTextInputInfo(9, &value, nullptr, nullptr, nullptr, &element));
    EXPECT_TRUE(element.IsEmpty());
    EXPECT_EQ(value, "");
}

TEST_F(ElementFamiliesTest, HiddenFieldsAndTheirKeyOnlyOrdinal) {
    Show(kLoginForm);
    EXPECT_EQ(automation.GetHiddenFieldValue("token", 1), "def");
    EXPECT_EQ(automation.HiddenFieldOrdinal("tk2"), 2);
    EXPECT_TRUE(automation.SetHiddenFieldValue("tk2", "xyz"));
    EXPECT_EQ(Eval("document.getElementById('tk2').value"), "xyz");
    std::string value, type;
    EXPECT_TRUE(automation.GetHiddenFieldInfo(1, &value, nullptr, nullptr, &type));
    EXPECT_EQ(value + "|" + type, "abc|hidden");
    EXPECT_FALSE(automation.SetHiddenFieldValue("pwd", "x"));   // a password input is no hidden field
}

const char kRegistrationForm[] =
    "<form name=reg><input type=radio name=sex id=m value=m title=male checked>"
    "<input type=radio name=sex id=f value=f title=female>"
    "<input type=checkbox name=agree id=agree title=terms checked>"
    "<input type=checkbox name=news id=news title=letters onmousedown=\"document.title='down'\">"
    "<textarea name=intro id=intro title=about>hello</textarea><textarea class=intro title=other>x</textarea>"
    "<input type=button name=check title=Check value=Check><button name=send id=send>注册</button>"
    "<input type=image name=pic src=/go.gif title=Go id=pic onclick=\"document.title='image'\"></form>";

TEST_F(ElementFamiliesTest, CheckBoxesAndRadiosCheckAndUncheckWithTexts) {
    Show(kRegistrationForm);
    EXPECT_TRUE(automation.IsCheckBoxChecked("agree"));
    EXPECT_FALSE(automation.IsCheckBoxChecked("news"));
    EXPECT_TRUE(automation.IsRadioChecked("sex"));
    EXPECT_FALSE(automation.IsRadioChecked("sex", 1));

    EXPECT_TRUE(automation.CheckCheckBox("news"));
    EXPECT_TRUE(automation.IsCheckBoxChecked("news"));
    EXPECT_NE(Eval("document.title"), "down");
    EXPECT_TRUE(automation.UncheckCheckBox("news", 0, true));
    EXPECT_FALSE(automation.IsCheckBoxChecked("news"));
    EXPECT_EQ(Eval("document.title"), "down");   // the mouse-down handler ran

    EXPECT_TRUE(automation.CheckRadio("female"));
    EXPECT_EQ(Eval("document.getElementById('f').checked + ',' + document.getElementById('m').checked"),
              "true,false");
    EXPECT_TRUE(automation.UncheckRadio("f"));
    EXPECT_EQ(Eval("String(document.getElementById('f').checked)"), "false");
    EXPECT_EQ(automation.RadioOrdinal("sex", 1), 2);
    EXPECT_EQ(automation.CheckBoxOrdinal("news"), 2);

    std::string title, name, id, type;
    EXPECT_TRUE(automation.GetCheckBoxInfo(1, &title, &name, &id, &type));
    EXPECT_EQ(title + "|" + name + "|" + id + "|" + type, "terms|agree|agree|checkbox");
    EXPECT_TRUE(automation.GetRadioInfo(2, &title));
    EXPECT_EQ(title, "female");
    EXPECT_TRUE(automation.FocusCheckBox("agree"));
    EXPECT_EQ(Eval("document.activeElement.id"), "agree");
    EXPECT_TRUE(automation.FocusRadio("m"));
    EXPECT_EQ(Eval("document.activeElement.id"), "m");
    EXPECT_TRUE(automation.SetRadioHidden("m"));
    EXPECT_TRUE(automation.SetCheckBoxHidden("agree"));
    EXPECT_EQ(Eval("document.getElementById('m').style.display + document.getElementById('agree').style.display"),
              "nonenone");
}

TEST_F(ElementFamiliesTest, ButtonCaptionIsTheTitleOrTheButtonsText) {
    Show(kRegistrationForm);
    std::string caption, name, id, type;
    ASSERT_TRUE(automation.GetButtonInfo(1, &caption, &name, nullptr, &type));
    EXPECT_EQ(caption + "|" + name + "|" + type, "Check|check|button");
    ASSERT_TRUE(automation.GetButtonInfo(2, &caption, &name, &id, &type));
    EXPECT_EQ(caption + "|" + name + "|" + id + "|" + type, "注册|send|send|submit");
    EXPECT_EQ(automation.ButtonOrdinal("send"), 2);
    EXPECT_TRUE(automation.FocusButton("send"));
    EXPECT_EQ(Eval("document.activeElement.id"), "send");
    EXPECT_TRUE(automation.SetButtonHidden("check"));
    EXPECT_EQ(Eval("document.getElementsByName('check')[0].style.display"), "none");
}

TEST_F(ElementFamiliesTest, TextAreasAndImageButtons) {
    Show(kRegistrationForm);
    EXPECT_EQ(automation.GetTextAreaValue("intro"), "hello");
    EXPECT_TRUE(automation.SetTextAreaValue("intro", "多行\r\n文字"));
    EXPECT_EQ(Eval("document.getElementById('intro').value"), "多行\r\n文字");
    EXPECT_EQ(automation.TextAreaOrdinal("other"), 2);
    std::string value, name, id;
    EXPECT_TRUE(automation.GetTextAreaInfo(1, &value, &name, &id));
    EXPECT_EQ(name + "|" + id, "intro|intro");
    EXPECT_TRUE(automation.FocusTextArea("intro"));
    EXPECT_EQ(Eval("document.activeElement.id"), "intro");
    EXPECT_TRUE(automation.SetTextAreaHidden("intro"));
    EXPECT_EQ(Eval("document.getElementById('intro').style.display"), "none");

    EXPECT_EQ(automation.FindImageButton("Go").GetText("id"), "pic");
    EXPECT_EQ(automation.ImageButtonOrdinal("pic"), 1);
    std::string title, type;
    EXPECT_TRUE(automation.GetImageButtonInfo(1, &title, nullptr, nullptr, &type));
    EXPECT_EQ(title + "|" + type, "Go|image");
    EXPECT_NE(automation.GetImageButtonHtml("pic").find("go.gif"), std::string::npos);
    EXPECT_TRUE(automation.FocusImageButton("pic"));
    EXPECT_TRUE(automation.ClickImageButton("pic"));
    EXPECT_EQ(Eval("document.title"), "image");
}

const char kBlocks[] =
    "<div class=menu id=nav title=top><ul><li class=home>首页</li><li id=about onclick=\"document.title='li'\">关于</li>"
    "</ul></div><div id=menu class=body title=main><span class=tip title=t1>提示</span>"
    "<span id=zt_msg title=t2 class=status onclick=\"document.title='span'\">在线</span></div>"
    "<cite id=c1 title=quote onclick=\"document.title='cite'\">引用</cite>"
    "<div class=ad title=banner onclick=\"document.title='div'\">广告</div>";

TEST_F(ElementFamiliesTest, DivBlocksHideShowAndRewrite) {
    Show(kBlocks);
    EXPECT_EQ(automation.FindDiv("menu").GetText("id"), "nav");   // the class, before the later id
    EXPECT_EQ(automation.DivOrdinal("body"), 2);
    std::string className, title, id;
    EXPECT_TRUE(automation.GetDivInfo(2, &className, &title, &id));
    EXPECT_EQ(className + "|" + title + "|" + id, "body|main|menu");

    EXPECT_TRUE(automation.SetDivHidden("ad"));
    EXPECT_EQ(Eval("document.getElementsByTagName('div')[2].style.display"), "none");
    EXPECT_TRUE(automation.SetDivHidden("ad", 0, false));
    EXPECT_EQ(Eval("document.getElementsByTagName('div')[2].style.display"), "");
    EXPECT_EQ(Eval("document.getElementsByTagName('div')[2].style.cssText"), "");

    EXPECT_TRUE(automation.SetDivInnerHtml("ad", "<b>新</b>"));
    EXPECT_EQ(automation.GetDivInnerHtml("ad"), "<B>新</B>");   // the browser writes tags in capitals
    EXPECT_EQ(automation.GetDivHtml("banner").find("<DIV"), 0u) << automation.GetDivHtml("banner");
    EXPECT_TRUE(automation.ClickDiv("banner"));
    EXPECT_EQ(Eval("document.title"), "div");
}

TEST_F(ElementFamiliesTest, SpansListItemsAndCites) {
    Show(kBlocks);
    EXPECT_EQ(automation.SpanOrdinal("zt_msg"), 2);
    std::string title, className, innerText, id;
    EXPECT_TRUE(automation.GetSpanInfo(2, &title, &className, &innerText, &id));
    EXPECT_EQ(title + "|" + className + "|" + innerText + "|" + id, "t2|status|在线|zt_msg");
    EXPECT_TRUE(automation.SetSpanInnerHtml("zt_msg", "离线"));
    EXPECT_EQ(automation.GetSpanInnerHtml("status"), "离线");
    EXPECT_EQ(automation.GetSpanHtml("t1").find("<SPAN"), 0u);
    EXPECT_TRUE(automation.SetSpanHidden("tip"));
    EXPECT_EQ(Eval("document.getElementsByTagName('span')[0].style.display"), "none");
    EXPECT_TRUE(automation.ClickSpan("zt_msg"));
    EXPECT_EQ(Eval("document.title"), "span");

    EXPECT_EQ(automation.ListItemOrdinal("关于"), 2);
    EXPECT_EQ(automation.GetListItemHtml("home").find("<LI"), 0u);
    EXPECT_TRUE(automation.ClickListItem("about"));
    EXPECT_EQ(Eval("document.title"), "li");

    EXPECT_EQ(automation.FindCiteButton("引用").GetText("id"), "c1");
    EXPECT_EQ(automation.CiteButtonOrdinal("quote"), 1);
    std::string text;
    EXPECT_TRUE(automation.GetCiteButtonInfo(1, &text, nullptr, &id));
    EXPECT_EQ(text + "|" + id, "引用|c1");
    EXPECT_EQ(automation.GetCiteButtonHtml("c1").find("<CITE"), 0u);
    EXPECT_TRUE(automation.SetCiteButtonHidden("c1"));
    EXPECT_TRUE(automation.FocusCiteButton("c1"));
    EXPECT_TRUE(automation.ClickCiteButton("c1"));
    EXPECT_EQ(Eval("document.title"), "cite");
}

const char kLinksAndImages[] =
    "<a href=/news id=n1 title=News>新闻</a><a href=/help name=help2>帮助</a>"
    "<img src=/img/logo.gif width=40 height=30 title=logo name=brand id=l1>"
    "<img src=/img/banner2.gif width=100 height=20 title=ad onclick=\"document.title='img'\">"
    "<img src=/img/x.gif width=10 height=10 name=2 title=decoy>";

TEST_F(ElementFamiliesTest, LinksAndImagesReportTheirAttributes) {
    Show(kLinksAndImages);
    EXPECT_EQ(automation.GetLinkText("n1"), "新闻");
    EXPECT_EQ(automation.LinkOrdinal("帮助"), 2);
    std::string text, href, id, name;
    ASSERT_TRUE(automation.GetLinkInfo(2, &text, &href, &id, &name));
    EXPECT_EQ(text + "|" + id + "|" + name, "帮助||help2");
    EXPECT_NE(href.find("/help"), std::string::npos) << href;
    EXPECT_EQ(automation.GetLinkHtml("News").find("<A"), 0u);
    EXPECT_TRUE(automation.FocusLink("n1"));
    EXPECT_EQ(Eval("document.activeElement.id"), "n1");
    EXPECT_TRUE(automation.SetLinkHidden("n1"));
    EXPECT_EQ(Eval("document.getElementById('n1').style.display"), "none");

    EXPECT_EQ(automation.FindImage("logo.gif").GetText("id"), "l1");
    EXPECT_EQ(automation.ImageOrdinal("banner"), 2);
    // "2": the second image's address contains "2" before the third is named "2".
    EXPECT_EQ(automation.FindImage("2").GetText("title"), "ad");
    std::string src, width, height, title;
    ASSERT_TRUE(automation.GetImageInfo(1, &src, &width, &height, &title, &name, &id));
    EXPECT_NE(src.find("/img/logo.gif"), std::string::npos) << src;
    EXPECT_EQ(width + "x" + height + "|" + title + "|" + name + "|" + id, "40x30|logo|brand|l1");
    EXPECT_TRUE(automation.ClickImage("banner"));
    EXPECT_EQ(Eval("document.title"), "img");
    EXPECT_TRUE(automation.SetImageHidden("logo"));
    EXPECT_EQ(Eval("document.getElementById('l1').style.display"), "none");
}

TEST_F(ElementFamiliesTest, FireElementEventRunsTheCurrentHandler) {
    Show("<input type=button id=b onmouseover=\"document.title='over'\"><span id=s>x</span>");
    const AutomationObject button = automation.FindButton("b");
    EXPECT_TRUE(automation.FireElementEvent(button, "onmouseover"));
    EXPECT_EQ(Eval("document.title"), "over");
    EXPECT_FALSE(automation.FireElementEvent(AutomationObject(), "onclick"));
}

TEST_F(ElementFamiliesTest, EveryOperationAnswersNeutrallyWithoutAnElement) {
    Show(std::string(kLoginForm) + kBlocks);
    const std::string none = "missing";
    std::string text = "untouched";
    AutomationObject element = automation.FindSpan("zt_msg");
    EXPECT_TRUE(automation.FindTextArea(none).IsEmpty());
    EXPECT_TRUE(automation.FindRadio(none).IsEmpty());
    EXPECT_TRUE(automation.FindCheckBox(none).IsEmpty());
    EXPECT_TRUE(automation.FindHiddenField(none).IsEmpty());
    EXPECT_TRUE(automation.FindLink(none).IsEmpty());
    EXPECT_TRUE(automation.FindImage(none).IsEmpty());
    EXPECT_EQ(automation.GetTextInputValue(none), "");
    EXPECT_EQ(automation.GetDivInnerHtml(none), "");
    EXPECT_EQ(automation.GetLinkText(none), "");
    EXPECT_EQ(automation.GetListItemHtml(none), "");
    for (int ordinal : {automation.TextInputOrdinal(none), automation.DivOrdinal(none), automation.SpanOrdinal(none),
                        automation.ButtonOrdinal(none), automation.ImageOrdinal(none),
                        automation.ListItemOrdinal(none)}) {
        EXPECT_EQ(ordinal, -1);
    }
    EXPECT_FALSE(automation.GetDivInfo(7, &text, nullptr, nullptr, &element));
    EXPECT_TRUE(element.IsEmpty());
    EXPECT_EQ(text, "");
    EXPECT_FALSE(automation.IsCheckBoxChecked(none));
    EXPECT_FALSE(automation.CheckCheckBox(none, 0, true));
    EXPECT_FALSE(automation.UncheckRadio(none));
    EXPECT_FALSE(automation.SetTextAreaValue(none, "x"));
    EXPECT_FALSE(automation.SetSpanInnerHtml(none, "x"));
    EXPECT_FALSE(automation.SetDivHidden(none, 0, false));
    EXPECT_FALSE(automation.ClickLink(none, 0, true));
    EXPECT_FALSE(automation.ClickDiv(none));
    EXPECT_FALSE(automation.FocusButton(none));
    // A div with an id, not a span: the span family never sees it.
    EXPECT_FALSE(automation.SetSpanHidden("menu"));
}

// Link clicks observed on a loopback server: the link's own handler sends
// its target along in the address, so the request shows what the click saw.
class LinkClickTest : public ElementFamiliesTest {
protected:
    void SetUp() override {
        server.server().Get("/", [](const httplib::Request&, httplib::Response& response) {
            response.set_content("<html><body><a href=/next target=_blank id=go "
                                 "onclick=\"this.href='/next?target='+this.target\">go</a></body></html>",
                                 "text/html");
        });
        server.server().Get("/next", [this](const httplib::Request& request, httplib::Response& response) {
            std::lock_guard<std::mutex> lock(mutex);
            seen = "target=" + request.get_param_value("target");
            response.set_content("<html><body><span id=zt_msg>next</span></body></html>", "text/html");
        });
        ASSERT_GT(server.Start(), 0);
        ASSERT_TRUE(page.Navigate(server.Url("/")));
        ASSERT_TRUE(automation.AttachBrowser(page.box()));
    }
    std::string Seen() {
        std::lock_guard<std::mutex> lock(mutex);
        return seen;
    }
    // Waits until the next page has loaded in the box.
    bool NextPageShown() {
        return testing::PumpUntil([&] {
            automation.AttachBrowser(page.box());
            return automation.GetSpanInnerHtml("zt_msg") == "next";
        });
    }

    testing::LoopbackServer server;
    std::mutex mutex;
    std::string seen;
};

TEST_F(LinkClickTest, ClearTargetEmptiesTheTargetBeforeTheClick) {
    EXPECT_TRUE(automation.ClickLink("go", 0, true));
    ASSERT_TRUE(NextPageShown());
    EXPECT_EQ(Seen(), "target=");
}

TEST_F(LinkClickTest, WithoutClearTargetThePagesTargetStays) {
    EXPECT_TRUE(automation.ClickLink("go"));
    ASSERT_TRUE(NextPageShown());
    EXPECT_EQ(Seen(), "target=_blank");
}

}  // namespace
}  // namespace corvalin
