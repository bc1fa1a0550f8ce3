// The shared loopback fixture must really serve, or every network test lies.
#include "support/loopback_server.h"

#include <gtest/gtest.h>

using corvalin::testing::LoopbackServer;

TEST(LoopbackServerTest, ServesRoutesOnAnEphemeralPort) {
    LoopbackServer server;
    server.server().Get("/hello", [](const httplib::Request&, httplib::Response& res) {
        res.set_content("hi", "text/plain");
    });
    ASSERT_GT(server.Start(), 0);
    httplib::Client client("127.0.0.1", server.port());
    auto res = client.Get("/hello");
    ASSERT_TRUE(res);
    EXPECT_EQ(res->body, "hi");
}
