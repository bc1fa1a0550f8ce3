// The captcha layout, its picture and its answer box, against the real service.
#include <windows.h>

#include <algorithm>
#include <cctype>

#include <gtest/gtest.h>

#include "client/client_flow_fixture.h"

namespace corvalin::testing {
namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

double PictureDifference(CorvalinRun& run, const std::string& session) {
    const auto drawn = DecodeJpeg(run.service().CaptchaPicture(session));
    if (!drawn) return 255;
    double difference = 255;
    WaitUntil([&] {
        difference = MeanDifference(CaptureClient(run.CaptchaPicture(), drawn->width, drawn->height), *drawn);
        return difference < 10;
    }, 3000);
    return difference;
}

TEST(CaptchaFlowTest, PictureClickFocusAnswerAndOffline) {
    CorvalinRun run;
    ASSERT_TRUE(run.started()) << run.failure();
    ASSERT_TRUE(SubmitUntilCaptcha(run, "12345678", "secret"));
    const std::string session = SessionValue(run, "id");
    ASSERT_TRUE(WaitUntil([&] { return SessionValue(run, "captchaRequests") == "1"; }, 3000));

    // A click on the picture fetches a new one and shows it.
    Click(run.CaptchaPicture());
    ASSERT_TRUE(WaitUntil([&] { return SessionValue(run, "captchaRequests") == "2"; }, 3000));
    EXPECT_LT(PictureDifference(run, session), 10);
    Sleep(GetDoubleClickTime() + 100);   // a second press in time would be a double click
    Click(run.CaptchaPicture());
    EXPECT_TRUE(WaitUntil([&] { return SessionValue(run, "captchaRequests") == "3"; }, 3000));
    EXPECT_LT(PictureDifference(run, session), 10);

    // Every visit to the answer box starts empty.
    Click(run.CaptchaBox());
    ASSERT_TRUE(WaitUntil([&] { return run.FocusedWindow() == run.CaptchaBox(); }, 1000));
    Sleep(300);
    TypeInto(run.CaptchaBox(), "zz9");
    ASSERT_EQ(TextOf(run.CaptchaBox()), "zz9") << "focus " << run.FocusedWindow() << " box " << run.CaptchaBox()
                                               << " foreground " << GetForegroundWindow() << " main " << run.mainWindow();
    Click(run.AccountBox());
    Click(run.CaptchaBox());
    EXPECT_TRUE(WaitUntil([&] { return TextOf(run.CaptchaBox()).empty(); }, 1000)) << TextOf(run.CaptchaBox());

    const std::string answer = Lower(SessionValue(run, "captcha"));
    ASSERT_EQ(answer.size(), 4u);
    TypeInto(run.CaptchaBox(), answer);
    PressKeyIn(run.CaptchaBox(), VK_RETURN);
    ASSERT_TRUE(WaitUntil([&] { return run.StatusText().rfind("状态：QQ：12345678 挂机成功！已在线", 0) == 0; }, 3000))
        << run.StatusText();
    EXPECT_EQ(SessionValue(run, "verify"), answer);
    // The online time grows, and the captcha layout stays whatever the status says now.
    const std::string first = run.StatusText();
    EXPECT_TRUE(WaitUntil([&] { return run.StatusText() != first; }, 3000));
    EXPECT_EQ(WindowHeight(run.mainWindow()), 260);
    EXPECT_TRUE(IsWindowVisible(run.CaptchaPicture()));

    Click(run.Button("我要下线"));
    EXPECT_TRUE(WaitUntil([&] { return run.StatusText() == "状态：QQ：12345678 已下线，挂机已停止。"; }, 3000))
        << run.StatusText();
    EXPECT_EQ(SessionValue(run, "offlines"), "1");
    EXPECT_EQ(SessionValue(run, "userqq"), "12345678");
    EXPECT_TRUE(SubmittedPassword(run, "secret"));
    EXPECT_EQ(SessionValue(run, "verify"), answer);
    EXPECT_EQ(SessionValue(run, "captchaRequests"), "3");   // the picture changes only on a click
}

TEST(CaptchaFlowTest, OnlyTheExactRequestShowsTheCaptchaLayoutAndMarkupShowsAsMarkup) {
    CorvalinRun run;
    ASSERT_TRUE(run.started()) << run.failure();
    ASSERT_FALSE(WaitForPageSession(run).empty());
    const struct {
        const char* status;
        bool captcha;
    } cases[] = {
        {"请输入验证码 ", false},
        {"<b>请输入验证码</b>", false},
        {" 请输入验证码", false},
        {"请输入验证码", true},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(run.service().SetStatus(c.status));
        auto shown = [&] {
            // The page serialises tags its own way (case); the text and the markup stay.
            std::string text = run.StatusText();
            std::string expected = std::string("状态：") + c.status;
            std::transform(text.begin(), text.end(), text.begin(), [](unsigned char ch) { return std::tolower(ch); });
            return text == expected;
        };
        ASSERT_TRUE(WaitUntil(shown, 3000)) << run.StatusText() << " for " << c.status;
        if (c.captcha) {
            EXPECT_TRUE(WaitUntil([&] { return WindowHeight(run.mainWindow()) == 260; }, 2500)) << c.status;
        } else {
            Sleep(2500);   // two ticks of the watch
            EXPECT_EQ(WindowHeight(run.mainWindow()), 218) << c.status;
            EXPECT_FALSE(IsWindowVisible(run.CaptchaPicture())) << c.status;
            EXPECT_EQ(PositionInParent(run.Button("开始挂机")).y, 160) << c.status;
        }
    }
}

}  // namespace
}  // namespace corvalin::testing
