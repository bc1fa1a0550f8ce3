#include "shell/download.h"

#include <mutex>

#include <gtest/gtest.h>

#include "support/loopback_server.h"

namespace corvalin::shell {
namespace {

using corvalin::testing::LoopbackServer;
using corvalin::testing::UnusedLoopbackPort;

std::string Pattern(std::size_t size) {
    std::string body(size, '\0');
    for (std::size_t i = 0; i < size; ++i) body[i] = static_cast<char>('a' + (i * 7 + i / 1000) % 26);
    return body;
}

Bytes AsBytes(const std::string& text) { return Bytes(text.begin(), text.end()); }

class DownloadTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto& s = server_.server();
        s.Get("/yzm.php", [this](const httplib::Request& request, httplib::Response& response) {
            std::lock_guard<std::mutex> lock(mutex_);
            userAgent_ = request.get_header_value("User-Agent");
            accept_ = request.get_header_value("Accept");
            version_ = request.version;
            query_ = request.get_param_value("t");
            cacheControl_ = request.get_header_value("Cache-Control") + request.get_header_value("Pragma");
            response.set_content(std::string("\x89PNG\0body", 9), "image/png");
        });
        s.Get("/missing", [](const httplib::Request&, httplib::Response& response) {
            response.status = 404;
            response.set_content("no such page", "text/plain");
        });
        s.Get("/large", [](const httplib::Request&, httplib::Response& response) {
            response.set_content(Pattern(250001), "application/octet-stream");
        });
        // Without Content-Length: the body ends when the connection closes.
        s.Get("/unsized", [](const httplib::Request&, httplib::Response& response) {
            response.set_content_provider("application/octet-stream", [](std::size_t offset, httplib::DataSink& sink) {
                static const std::string body = Pattern(123457);
                const std::size_t piece = std::min<std::size_t>(30000, body.size() - offset);
                if (piece == 0) {
                    sink.done();
                } else {
                    sink.write(body.data() + offset, piece);
                }
                return true;
            });
        });
        s.Get("/empty", [](const httplib::Request&, httplib::Response& response) { response.set_content("", "text/plain"); });
        ASSERT_GT(server_.Start(), 0);
    }

    LoopbackServer server_;
    std::mutex mutex_;
    std::string userAgent_, accept_, version_, query_, cacheControl_;
};

TEST_F(DownloadTest, SendsTheBrowsersRequestAndReturnsTheBody) {
    const Bytes body = DownloadBytes(server_.Url("/yzm.php?t=1389421390208"));
    EXPECT_EQ(body, AsBytes(std::string("\x89PNG\0body", 9)));
    std::lock_guard<std::mutex> lock(mutex_);
    EXPECT_EQ(userAgent_, "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)");
    EXPECT_EQ(version_, "HTTP/1.0");
    EXPECT_NE(accept_.find("*/*"), std::string::npos) << accept_;
    EXPECT_EQ(query_, "1389421390208");
}

TEST_F(DownloadTest, BodiesComeWhateverTheirSizeOrStatus) {
    struct Case { const char* path; Bytes expected; };
    const Case cases[] = {
        {"/missing", AsBytes("no such page")},
        {"/large", AsBytes(Pattern(250001))},
        {"/unsized", AsBytes(Pattern(123457))},
        {"/empty", Bytes()},
    };
    for (const Case& c : cases) {
        const Bytes body = DownloadBytes(server_.Url(c.path));
        EXPECT_EQ(body.size(), c.expected.size()) << c.path;
        EXPECT_TRUE(body == c.expected) << c.path;
    }
}

TEST_F(DownloadTest, FailuresGiveEmptyBytes) {
    const std::string unreachable = "http://127.0.0.1:" + std::to_string(UnusedLoopbackPort()) + "/yzm.php";
    const std::string withoutScheme = "127.0.0.1:" + std::to_string(server_.port()) + "/missing";
    for (const std::string& url : {unreachable, withoutScheme, std::string(""), std::string("http://"),
                                   std::string("::not a url::"), std::string("tencent://message/?uin=1")}) {
        EXPECT_TRUE(DownloadBytes(url).empty()) << url;
    }
}

}  // namespace
}  // namespace corvalin::shell
