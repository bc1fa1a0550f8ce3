#include "browser/net/http_client.h"

// The loopback server brings winsock2, which must come before windows.h.
#include "support/loopback_server.h"

#include <windows.h>
#include <wininet.h>

#include <gtest/gtest.h>

namespace corvalin::browser {
namespace {

TEST(HttpClientTest, FollowsRedirectsAndReportsStatusHeadersAndBody) {
    corvalin::testing::LoopbackServer server;
    server.server().Get("/start", [](const httplib::Request&, httplib::Response& response) {
        response.set_redirect("/end");
    });
    server.server().Get("/end", [](const httplib::Request& request, httplib::Response& response) {
        response.status = 404;
        response.set_header("X-Seen-Agent", request.get_header_value("User-Agent"));
        response.set_content("missing", "text/html; charset=gbk");
    });
    ASSERT_GT(server.Start(), 0);
    HttpRequest request;
    request.url = server.Url("/start");
    const HttpResponse response = Fetch(request);
    EXPECT_TRUE(response.completed) << response.error;
    EXPECT_EQ(response.status, 404);
    EXPECT_EQ(response.statusText, "Not Found");
    EXPECT_EQ(response.finalUrl, server.Url("/end"));
    EXPECT_EQ(response.contentType, "text/html; charset=gbk");
    EXPECT_EQ(response.Header("x-seen-agent"), UserAgent());
    EXPECT_EQ(std::string(response.body.begin(), response.body.end()), "missing");
}

TEST(HttpClientTest, PostsABodyWithItsHeaders) {
    corvalin::testing::LoopbackServer server;
    server.server().Post("/form", [](const httplib::Request& request, httplib::Response& response) {
        response.set_content(request.get_header_value("Content-Type") + "|" + request.get_header_value("Referer") + "|" +
                                 request.body,
                             "text/plain");
    });
    ASSERT_GT(server.Start(), 0);
    HttpRequest request;
    request.method = "POST";
    request.url = server.Url("/form");
    request.referrer = server.Url("/page");
    request.headers.emplace_back("Content-Type", "application/x-www-form-urlencoded");
    const std::string body = "a=1&b=%D5%C5";
    request.body.assign(body.begin(), body.end());
    const HttpResponse response = Fetch(request);
    EXPECT_EQ(std::string(response.body.begin(), response.body.end()),
              "application/x-www-form-urlencoded|" + server.Url("/page") + "|a=1&b=%D5%C5");
}

std::string Text(const HttpResponse& response) { return std::string(response.body.begin(), response.body.end()); }

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// Each hop stores its cookies before the next is asked, and the next carries
// them; the method goes on or turns into GET as the redirect's kind says.
// (Cookies are the process's: other tests' cookies may come along too.)
TEST(HttpClientTest, RedirectsCarryTheCookiesOfEveryHop) {
    corvalin::testing::LoopbackServer server;
    auto echo = [](const httplib::Request& request, httplib::Response& response) {
        response.set_content(request.method + "|" + request.body + "|" + request.get_header_value("Cookie"), "text/plain");
    };
    server.server().Post("/hops/login", [](const httplib::Request&, httplib::Response& response) {
        response.set_header("Set-Cookie", "hop=1; path=/hops");
        response.set_redirect("/hops/home");   // 302
    });
    server.server().Post("/hops/keep", [](const httplib::Request&, httplib::Response& response) {
        response.set_redirect("/hops/home", 307);
    });
    server.server().Get("/hops/home", echo);
    server.server().Post("/hops/home", echo);
    server.server().Get("/hops/loop", [](const httplib::Request&, httplib::Response& response) {
        response.set_redirect("/hops/loop");
    });
    ASSERT_GT(server.Start(), 0);
    HttpRequest request;
    request.method = "POST";
    request.url = server.Url("/hops/login");
    request.headers.emplace_back("Content-Type", "text/plain");
    request.body = {'x', '=', '1'};
    HttpResponse response = Fetch(request);
    EXPECT_EQ(Text(response).rfind("GET||", 0), 0u) << Text(response);
    EXPECT_TRUE(Has(Text(response), "hop=1")) << Text(response);
    EXPECT_EQ(response.finalUrl, server.Url("/hops/home"));

    request.url = server.Url("/hops/keep");
    response = Fetch(request);
    EXPECT_EQ(Text(response).rfind("POST|x=1|", 0), 0u) << Text(response);
    EXPECT_TRUE(Has(Text(response), "hop=1")) << Text(response);

    // A redirect without end stops after a bounded number of hops.
    request = {};
    request.url = server.Url("/hops/loop");
    response = Fetch(request);
    EXPECT_TRUE(response.completed);
    EXPECT_EQ(response.status, 302);
}

// Cookies stay in WinINet: one stored there reaches the next request once the
// engine is told, an HttpOnly one goes with requests but not to scripts.
TEST(HttpClientTest, CookiesStoredInWinInetGoWithTheNextRequest) {
    corvalin::testing::LoopbackServer server;
    server.server().Get("/jar/echo", [](const httplib::Request& request, httplib::Response& response) {
        response.set_content(request.get_header_value("Cookie"), "text/plain");
    });
    server.server().Get("/jar/private", [](const httplib::Request&, httplib::Response& response) {
        response.set_header("Set-Cookie", "private=2; path=/jar; HttpOnly");
        response.set_content("", "text/plain");
    });
    ASSERT_GT(server.Start(), 0);
    HttpRequest request;
    request.url = server.Url("/jar/echo");
    EXPECT_FALSE(Has(Text(Fetch(request)), "late=1"));

    ASSERT_TRUE(InternetSetCookieA(server.Url("/jar/").c_str(), nullptr, "late=1; path=/jar"));
    CookiesChanged();
    EXPECT_TRUE(Has(Text(Fetch(request)), "late=1"));

    request.url = server.Url("/jar/private");
    Fetch(request);
    request.url = server.Url("/jar/echo");
    const std::string sent = Text(Fetch(request));
    EXPECT_TRUE(Has(sent, "late=1")) << sent;
    EXPECT_TRUE(Has(sent, "private=2")) << sent;
    char visible[512] = {};
    DWORD size = sizeof visible;
    ASSERT_TRUE(InternetGetCookieA(server.Url("/jar/echo").c_str(), nullptr, visible, &size));
    EXPECT_TRUE(Has(visible, "late=1")) << visible;
    EXPECT_FALSE(Has(visible, "private=2")) << visible;
}

TEST(HttpClientTest, FailuresComeBackAsIncompleteResponses) {
    HttpRequest request;
    request.url = "http://127.0.0.1:" + std::to_string(corvalin::testing::UnusedLoopbackPort()) + "/";
    HttpResponse response = Fetch(request);
    EXPECT_FALSE(response.completed);
    EXPECT_EQ(response.status, 0);
    EXPECT_FALSE(response.error.empty());

    request.url = "ftp://127.0.0.1/file";
    response = Fetch(request);
    EXPECT_FALSE(response.completed);
    EXPECT_EQ(response.status, 0);
}

}  // namespace
}  // namespace corvalin::browser
