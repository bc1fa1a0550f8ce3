#include "browser/net/http_client.h"

#include <gtest/gtest.h>

#include "support/loopback_server.h"

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
