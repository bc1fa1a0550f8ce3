#include "hang-service/hang_service.h"

#include <memory>

#include <gtest/gtest.h>

#include "support/hang_service_process.h"
#include "support/jpeg_decoding.h"
#include "support/loopback_server.h"

namespace corvalin::hang {
namespace {

using testing::GbkToUtf8;

class HangServiceTest : public ::testing::Test {
protected:
    void StartService(bool testControl) {
        service_ = std::make_unique<HangService>(ServiceOptions{.testControl = testControl, .limits = {}, .log = {}});
        server_ = std::make_unique<testing::LoopbackServer>();
        service_->Install(server_->server());
        ASSERT_GT(server_->Start(), 0);
        client_ = std::make_unique<httplib::Client>("127.0.0.1", server_->port());
    }
    void SetUp() override { StartService(true); }

    // Opens the page and returns the session id from its cookie.
    std::string Visit() {
        auto result = client_->Get("/");
        if (!result) return {};
        return CookieValue(result->get_header_value("Set-Cookie"), kSessionCookie);
    }
    httplib::Headers With(const std::string& session) {
        return {{"Cookie", std::string("other=1; ") + kSessionCookie + "=" + session}};
    }
    httplib::Result Submit(const std::string& session, const std::string& body) {
        return client_->Post("/submit", With(session), body, "application/x-www-form-urlencoded");
    }
    std::string Captcha(const std::string& session) {
        std::string text;
        service_->sessions().ForEach(SteadyNow(), [&](const std::string& id, HangSession& s) {
            if (id == session) text = s.captcha();
        });
        return text;
    }

    std::unique_ptr<HangService> service_;
    std::unique_ptr<testing::LoopbackServer> server_;
    std::unique_ptr<httplib::Client> client_;
};

TEST_F(HangServiceTest, PageCarriesTheFormTheClientDrivesInGbk) {
    auto result = client_->Get("/");
    ASSERT_TRUE(result);
    EXPECT_EQ(result->status, 200);
    EXPECT_EQ(result->get_header_value("Content-Type"), "text/html; charset=gb2312");
    const std::string page = result->body;
    for (const char* part : {"name=\"userqq\"", "name=\"pwd\"", "type=\"password\"", "name=\"verify\"",
                             "name=\"button\" id=\"button\" value=\"开始挂机\"",
                             "name=\"button2\" id=\"button2\" value=\"下线\"", "<span id=\"zt_msg\">",
                             "setInterval(poll, 1000)", "XMLHttpRequest", "charset=gb2312"})
        EXPECT_NE(page.find(part), std::string::npos) << GbkToUtf8(part);
    EXPECT_NE(page.find("<span id=\"zt_msg\">请输入QQ帐号和密码"), std::string::npos);
    // The page script stays within old JScript.
    for (const char* modern : {"=>", "let ", "const ", "JSON.", "addEventListener", "fetch("})
        EXPECT_EQ(page.find(modern), std::string::npos) << modern;
}

TEST_F(HangServiceTest, CookieIsGivenOnceAndKept) {
    auto first = client_->Get("/");
    ASSERT_TRUE(first);
    const std::string cookie = first->get_header_value("Set-Cookie");
    EXPECT_NE(cookie.find("Path=/"), std::string::npos);
    const std::string id = CookieValue(cookie, kSessionCookie);
    ASSERT_EQ(id.size(), 32u);
    auto again = client_->Get("/", With(id));
    ASSERT_TRUE(again);
    EXPECT_FALSE(again->has_header("Set-Cookie"));
    auto stranger = client_->Get("/", With("ffffffffffffffffffffffffffffffff"));
    ASSERT_TRUE(stranger);
    EXPECT_NE(CookieValue(stranger->get_header_value("Set-Cookie"), kSessionCookie), id);
    EXPECT_EQ(service_->sessions().Count(SteadyNow()), 2u);
}

TEST_F(HangServiceTest, CaptchaPictureOnlyForTheSessionAndFreshEachTime) {
    for (const httplib::Headers& headers : {httplib::Headers{}, With("0000")}) {
        auto refused = client_->Get("/yzm.php?t=1389421390208", headers);
        ASSERT_TRUE(refused);
        EXPECT_EQ(refused->status, 403);
        EXPECT_NE(refused->get_header_value("Content-Type").find("text/plain"), std::string::npos);
        EXPECT_FALSE(testing::DecodeJpeg(Bytes(refused->body.begin(), refused->body.end())));
    }
    const std::string id = Visit();
    std::set<std::string> texts;
    for (int i = 0; i < 3; ++i) {
        auto picture = client_->Get("/yzm.php?t=1389421390208", With(id));
        ASSERT_TRUE(picture);
        EXPECT_EQ(picture->status, 200);
        EXPECT_EQ(picture->get_header_value("Content-Type"), "image/jpeg");
        const auto decoded = testing::DecodeJpeg(Bytes(picture->body.begin(), picture->body.end()));
        ASSERT_TRUE(decoded);
        EXPECT_EQ(decoded->width, 130);
        EXPECT_EQ(decoded->height, 53);
        texts.insert(Captcha(id));
    }
    EXPECT_GE(texts.size(), 2u);   // a repeat of the same four characters is possible, three in a row is not likely
    int requests = 0;
    service_->sessions().ForEach(SteadyNow(), [&](const std::string&, HangSession& s) { requests = s.captchaRequests(); });
    EXPECT_EQ(requests, 3);
}

TEST_F(HangServiceTest, LoginFlowOverHttp) {
    const std::string id = Visit();
    // Fields as the page script sends them: UTF-8, percent-encoded.
    auto asked = Submit(id, "action=start&userqq=12345678&pwd=%E5%AF%86%20a%2Bb&verify=");
    ASSERT_TRUE(asked);
    EXPECT_EQ(asked->status, 200);
    EXPECT_EQ(asked->body, "请输入验证码");
    EXPECT_EQ(asked->get_header_value("Content-Type"), "text/plain; charset=gb2312");
    client_->Get("/yzm.php", With(id));
    auto online = Submit(id, "action=start&userqq=12345678&pwd=x&verify=" + Captcha(id));
    ASSERT_TRUE(online);
    EXPECT_EQ(online->body.rfind("QQ：12345678 挂机成功！已在线", 0), 0u) << GbkToUtf8(online->body);
    auto status = client_->Get("/status?t=1", With(id));
    ASSERT_TRUE(status);
    EXPECT_EQ(status->body.rfind("QQ：12345678 挂机成功！", 0), 0u);
    auto offline = Submit(id, "action=offline&userqq=12345678&pwd=x&verify=");
    ASSERT_TRUE(offline);
    EXPECT_EQ(offline->body, "QQ：12345678 已下线，挂机已停止。");
}

TEST_F(HangServiceTest, SessionsDoNotShareState) {
    const std::string a = Visit(), b = Visit();
    Submit(a, "action=start&userqq=11111&pwd=x");
    Submit(b, "action=start&userqq=&pwd=x");
    EXPECT_EQ(client_->Get("/status", With(a))->body, "请输入验证码");
    EXPECT_EQ(client_->Get("/status", With(b))->body, "请输入QQ帐号！");
}

TEST_F(HangServiceTest, BadRequestsAnswer4xx) {
    const std::string id = Visit();
    const struct {
        const char* what;
        httplib::Result result;
        int status;
    } cases[] = {
        {"unknown action", Submit(id, "action=explode&userqq=1"), 400},
        {"no action", Submit(id, "userqq=1"), 400},
        {"no session", client_->Post("/submit", "action=start", "application/x-www-form-urlencoded"), 403},
        {"status without session", client_->Get("/status"), 403},
        {"oversized body", Submit(id, "action=start&userqq=" + std::string(100 * 1024, '1')), 413},
        {"unknown path", client_->Get("/admin.php"), 404},
        {"broken percent", Submit(id, "action=start&userqq=%ZZ%&pwd=%"), 200},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(c.result) << c.what;
        EXPECT_EQ(c.result->status, c.status) << c.what;
    }
    EXPECT_EQ(client_->Get("/")->status, 200);   // still serving
}

TEST_F(HangServiceTest, TestControlSetsStatusVerbatimAndReports) {
    const std::string a = Visit(), b = Visit();
    Submit(a, "action=start&userqq=12345&pwd=p%26w&verify=zz");
    const std::string markup = "<b>请输入验证码</b> ";
    httplib::Params only{{"message", GbkToUtf8(markup)}, {"session", a}};
    auto set = client_->Post("/test/status", only);
    ASSERT_TRUE(set);
    EXPECT_EQ(set->status, 200);
    EXPECT_EQ(client_->Get("/status", With(a))->body, markup);
    EXPECT_EQ(client_->Get("/status", With(b))->body, "请输入QQ帐号和密码，然后点击开始挂机");

    auto missing = client_->Post("/test/status", httplib::Params{{"message", "x"}, {"session", "none"}});
    ASSERT_TRUE(missing);
    EXPECT_EQ(missing->status, 404);

    auto report = client_->Get("/test/sessions");
    ASSERT_TRUE(report);
    const std::string line = report->body.substr(report->body.find("id=" + a));
    EXPECT_NE(line.find("userqq=12345&verify=zz&starts=1&offlines=0&captchaRequests=0"), std::string::npos)
        << line;
    EXPECT_EQ(report->body.find("p%26w"), std::string::npos) << "a password is never printed";
    auto check = [&](const std::string& session, const std::string& password) {
        auto answer = client_->Post("/test/password", httplib::Params{{"session", session}, {"pwd", password}});
        return answer ? answer->body : std::string();
    };
    EXPECT_EQ(check(a, "p&w"), "match");
    EXPECT_EQ(check(a, "p&"), "mismatch");
    EXPECT_EQ(check(b, "p&w"), "mismatch");
}

TEST_F(HangServiceTest, ForgottenSessionCookieStartsANewSessionThatSaysSo) {
    auto page = client_->Get("/", With("0123456789abcdef0123456789abcdef"));
    ASSERT_TRUE(page);
    const std::string id = CookieValue(page->get_header_value("Set-Cookie"), kSessionCookie);
    ASSERT_FALSE(id.empty());
    EXPECT_NE(page->body.find(std::string("<span id=\"zt_msg\">") + kSessionLostStatus + "</span>"),
              std::string::npos);
    EXPECT_EQ(client_->Get("/status", With(id))->body, kSessionLostStatus);
    EXPECT_EQ(client_->Get("/")->body.find(kSessionLostStatus), std::string::npos) << "only a stale cookie says so";
}

TEST_F(HangServiceTest, TestControlIsOffUnlessAskedFor) {
    StartService(false);
    const std::string id = Visit();
    EXPECT_EQ(client_->Get("/test/sessions")->status, 404);
    EXPECT_EQ(client_->Post("/test/status", httplib::Params{{"message", "x"}})->status, 404);
    EXPECT_EQ(client_->Get(("/test/captcha.jpg?session=" + id).c_str())->status, 404);
}

}  // namespace
}  // namespace corvalin::hang
