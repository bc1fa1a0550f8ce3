// Forms of a page served by a loopback server: a search form and a login form
// whose own submit handler refuses, so only a submit that bypasses it posts.
#include "support/loopback_server.h"

#include <gtest/gtest.h>

#include <mutex>
#include <vector>

#include "automation/hosted_page.h"
#include "automation/page_automation.h"
#include "support/message_pump.h"

namespace corvalin {
namespace {

const char kTwoForms[] =
    "<html><body><form name=search id=find action=/search><input name=q value=hang></form>"
    "<p>登录</p><form name=login id=loginForm method=post action=/login onsubmit=\"return false\">"
    "<input name=userqq value=10001><input type=password name=pwd value=秘密>"
    "<input type=submit name=button value=开始></form></body></html>";

class FormsTest : public ::testing::Test {
protected:
    void SetUp() override {
        server.server().Get("/", [](const httplib::Request&, httplib::Response& response) {
            response.set_content(kTwoForms, "text/html; charset=gbk");
        });
        auto record = [this](const httplib::Request& request, httplib::Response& response) {
            std::lock_guard<std::mutex> lock(mutex);
            requests.push_back(request.method + " " + request.path + " " + request.body);
            response.set_content("<html><body><span id=zt_msg>sent</span></body></html>", "text/html");
        };
        server.server().Get("/search", record);
        server.server().Post("/login", record);
        ASSERT_GT(server.Start(), 0);
        ASSERT_TRUE(page.Navigate(server.Url("/")));
        ASSERT_TRUE(automation.AttachBrowser(page.box()));
    }
    std::vector<std::string> Requests() {
        std::lock_guard<std::mutex> lock(mutex);
        return requests;
    }

    testing::LoopbackServer server;
    std::mutex mutex;
    std::vector<std::string> requests;
    testing::HostedPage page;
    PageAutomation automation;
};

TEST_F(FormsTest, FindsFormsByNameIdOrOrdinal) {
    EXPECT_EQ(automation.CountForms(), 2);
    EXPECT_EQ(automation.FormOrdinal("login"), 2);
    EXPECT_EQ(automation.FormOrdinal("loginForm"), 2);
    EXPECT_EQ(automation.FormOrdinal("1"), 1);
    EXPECT_EQ(automation.FormOrdinal("3"), -1);
    EXPECT_EQ(automation.FormOrdinal("Login"), -1);

    std::string method, action;
    EXPECT_TRUE(automation.GetFormInfo("login", &method, &action));
    EXPECT_EQ(method, "post");
    EXPECT_EQ(action, "/login");
    EXPECT_TRUE(automation.GetFormInfo("find", &method));
    EXPECT_EQ(method, "get");
    EXPECT_FALSE(automation.GetFormInfo("nothing", &method, &action));
    EXPECT_EQ(method, "");

    const std::string html = automation.GetFormHtml("2");
    EXPECT_EQ(html.find("<FORM"), 0u) << html;
    EXPECT_NE(html.find("userqq"), std::string::npos) << html;
    EXPECT_EQ(automation.GetFormHtml("nothing"), "");
}

TEST_F(FormsTest, SubmitFormPostsTheNamedFormWithoutAskingItsHandler) {
    EXPECT_FALSE(automation.SubmitForm("nothing"));
    EXPECT_TRUE(automation.SubmitForm("login"));
    ASSERT_TRUE(testing::PumpUntil([&] { return !Requests().empty(); }));
    ASSERT_TRUE(testing::PumpUntil([&] {
        automation.AttachBrowser(page.box());
        return automation.GetSpanInnerHtml("zt_msg") == "sent";
    }));
    // The password in the page's code page, as the browser encodes it.
    EXPECT_EQ(Requests(), (std::vector<std::string>{"POST /login userqq=10001&pwd=%C3%D8%C3%DC"}));
}

}  // namespace
}  // namespace corvalin
