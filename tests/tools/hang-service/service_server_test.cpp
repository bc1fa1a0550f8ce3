// The hang service's HTTP server against clients that are slow, half-sent,
// pipelined or lying, on loopback with short limits.
#include "hang-service/service_server.h"

#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "hang-service/hang_service.h"
#include "support/loopback_server.h"

namespace corvalin::hang {
namespace {

using testing::RawConnection;

constexpr ServerLimits kShortLimits{.requestDeadlineMs = 1500, .idleMs = 1500, .writeTimeoutMs = 1500};

class ServiceServerTest : public ::testing::Test {
protected:
    void SetUp() override {
        server_ = std::make_unique<testing::LoopbackServer>(std::make_unique<ServiceServer>(kShortLimits));
        service_.Install(server_->server());
        ASSERT_GT(server_->Start(), 0);
    }
    int port() const { return server_->port(); }

    // Sends `bytes` whole and returns everything the server answers.
    std::string Exchange(const std::string& bytes, bool endSending = false) {
        RawConnection connection(port());
        connection.Send(bytes);
        if (endSending) connection.EndSending();
        return connection.ReadAll(5000);
    }

    HangService service_{ServiceOptions{.testControl = true, .limits = {}, .log = {}}};
    std::unique_ptr<testing::LoopbackServer> server_;
};

int CountOf(const std::string& text, const std::string& part) {
    int count = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) ++count;
    return count;
}

TEST_F(ServiceServerTest, SlowAndHalfSentRequestsDoNotStallOtherClients) {
    std::vector<std::unique_ptr<RawConnection>> slow;
    for (int i = 0; i < 24; ++i) {
        slow.push_back(std::make_unique<RawConnection>(port()));
        slow.back()->Send(i % 2 ? "GET / HTTP/1.1\r\nHost: x\r\n" : "POST /submit HTTP/1.1\r\nContent-Length: 40\r\n\r\nac");
    }
    httplib::Client client("127.0.0.1", port());
    client.set_read_timeout(1, 0);   // well before any slow request's deadline
    auto page = client.Get("/");
    ASSERT_TRUE(page) << "a request waited behind the slow clients";
    EXPECT_EQ(page->status, 200);
    // Each slow request is ended at its deadline with an answer of its own.
    for (auto& connection : slow) EXPECT_EQ(connection->ReadAll(5000).rfind("HTTP/1.1 408", 0), 0u);
}

TEST_F(ServiceServerTest, PipelinedRequestsAreAnsweredInOrder) {
    std::string requests;
    for (int i = 0; i < 50; ++i) requests += "GET /status?n=" + std::to_string(i) + " HTTP/1.1\r\nHost: x\r\n\r\n";
    requests += "GET /nothing-here HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n";
    const std::string answers = Exchange(requests);
    EXPECT_EQ(CountOf(answers, "HTTP/1.1 403"), 50) << "one answer per request (no session: 403)";
    EXPECT_EQ(CountOf(answers, "HTTP/1.1 404"), 1);
    EXPECT_GT(answers.rfind("HTTP/1.1 404"), answers.rfind("HTTP/1.1 403")) << "in the order asked";
}

TEST_F(ServiceServerTest, BadOrLyingContentLengthIsAnsweredAndTheConnectionEnds) {
    const struct {
        const char* what;
        std::string request;
        const char* status;
    } cases[] = {
        {"negative", "POST /submit HTTP/1.1\r\nContent-Length: -1\r\n\r\nabc", "HTTP/1.1 400"},
        {"not a number", "POST /submit HTTP/1.1\r\nContent-Length: 12abc\r\n\r\nabc", "HTTP/1.1 400"},
        {"two that differ", "POST /submit HTTP/1.1\r\nContent-Length: 3\r\nContent-Length: 4\r\n\r\nabcd",
         "HTTP/1.1 400"},
        {"beyond 64 KB", "POST /submit HTTP/1.1\r\nContent-Length: 65537\r\n\r\nabc", "HTTP/1.1 413"},
        {"chunked", "POST /submit HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n3\r\nabc\r\n0\r\n\r\n",
         "HTTP/1.1 411"},
        {"more than is sent", "POST /submit HTTP/1.1\r\nContent-Length: 500\r\n\r\naction=start", "HTTP/1.1 408"},
    };
    for (const auto& c : cases) {
        const std::string answer = Exchange(c.request);
        EXPECT_EQ(answer.rfind(c.status, 0), 0u) << c.what << ": " << answer.substr(0, 40);
        EXPECT_EQ(CountOf(answer, "HTTP/1.1 "), 1) << c.what;
    }
}

TEST_F(ServiceServerTest, FormsUpToSixtyFourKilobytesAreTaken) {
    httplib::Client client("127.0.0.1", port());
    const std::string id = CookieValue(client.Get("/")->get_header_value("Set-Cookie"), kSessionCookie);
    const httplib::Headers cookie{{"Cookie", std::string(kSessionCookie) + "=" + id}};
    const std::string form = "action=start&userqq=12345&pwd=x&verify=" + std::string(60 * 1024, 'a');
    auto taken = client.Post("/submit", cookie, form, "application/x-www-form-urlencoded");
    ASSERT_TRUE(taken);
    EXPECT_EQ(taken->status, 200);
    auto refused = client.Post("/submit", cookie, form + std::string(5 * 1024, 'a'), "application/x-www-form-urlencoded");
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->status, 413);
}

}  // namespace
}  // namespace corvalin::hang
