// The real hang-service.exe, started as a separate process.
#include <winsock2.h>

#include <httplib.h>

#include <gtest/gtest.h>

#include "support/hang_service_process.h"
#include "support/jpeg_decoding.h"
#include "support/loopback_server.h"

namespace corvalin::testing {
namespace {

// Sends raw bytes on a fresh connection and returns whatever comes back.
std::string RawExchange(int port, const std::string& bytes) {
    RawConnection connection(port);
    connection.Send(bytes);
    connection.EndSending();
    return connection.ReadAll(3000);
}

TEST(HangServiceProgramTest, ServesThePageAndCaptchaAndLogsEveryRequest) {
    HangServiceProcess service;
    ASSERT_GT(service.port(), 0) << service.Log();
    httplib::Client client("127.0.0.1", service.port());
    auto page = client.Get("/");
    ASSERT_TRUE(page);
    const std::string cookie = page->get_header_value("Set-Cookie");
    const std::string session = cookie.substr(8, 32);   // HANGSID=<32 hex digits>
    ASSERT_EQ(cookie.rfind("HANGSID=", 0), 0u);
    auto picture = client.Get("/yzm.php?t=1389421390208", {{"Cookie", "HANGSID=" + session}});
    ASSERT_TRUE(picture);
    EXPECT_TRUE(DecodeJpeg(Bytes(picture->body.begin(), picture->body.end())));
    EXPECT_EQ(service.CaptchaPicture(session), Bytes(picture->body.begin(), picture->body.end()));
    auto report = service.OnlySession();
    ASSERT_TRUE(report);
    EXPECT_EQ((*report)["captchaRequests"], "1");
    EXPECT_EQ((*report)["captcha"].size(), 4u);

    const std::string log = service.Log();
    EXPECT_NE(log.find("GET / 200"), std::string::npos) << log;
    EXPECT_NE(log.find("GET /yzm.php 200"), std::string::npos) << log;
    EXPECT_NE(log.find("GET /test/captcha.jpg 200"), std::string::npos) << log;
}

TEST(HangServiceProgramTest, GarbageNeverBringsItDown) {
    HangServiceProcess service;
    ASSERT_GT(service.port(), 0);
    const std::string garbage[] = {
        "\x16\x03\x01\x02\x00\x01\x00\x01\xfc\x03\x03",   // a TLS hello
        "GET\r\n\r\n",
        "GET / HTTP/1.1\r\nHost: x\r\nContent-Length: -5\r\n\r\n",
        "POST /submit HTTP/1.1\r\nContent-Length: 99999999999999999999\r\n\r\nabc",
        "GET /" + std::string(20000, 'a') + " HTTP/1.1\r\n\r\n",
        std::string("\0\0\0\0\xff\xfe", 6),
    };
    for (const std::string& bytes : garbage) {
        const std::string answer = RawExchange(service.port(), bytes);
        if (!answer.empty()) {
            EXPECT_EQ(answer.rfind("HTTP/1.1 4", 0), 0u) << answer.substr(0, 40);
        }
    }
    ASSERT_TRUE(service.process().Running());
    httplib::Client client("127.0.0.1", service.port());
    auto page = client.Get("/");
    ASSERT_TRUE(page);
    EXPECT_EQ(page->status, 200);
}

TEST(HangServiceProgramTest, BadCommandLineIsRefused) {
    for (const char* arguments : {"--port 70000", "--port", "--frobnicate", "--idle-seconds 0"}) {
        ChildProcess process;
        ASSERT_TRUE(process.Start("\"" + ProgramFolder() + "\\hang-service.exe\" " + arguments));
        EXPECT_EQ(process.Wait(10000), 2) << arguments;
    }
}

TEST(HangServiceProgramTest, TakenPortIsReported) {
    HangServiceProcess first;
    ASSERT_GT(first.port(), 0);
    ChildProcess second;
    ASSERT_TRUE(second.Start("\"" + ProgramFolder() + "\\hang-service.exe\" --port " + std::to_string(first.port())));
    EXPECT_EQ(second.Wait(10000), 1);
}

}  // namespace
}  // namespace corvalin::testing
