#include "hang-service/hang_session.h"

#include <gtest/gtest.h>

namespace corvalin::hang {
namespace {

const Submission kAccount{"12345678", "secret", ""};

Submission WithAnswer(const std::string& answer) {
    Submission s = kAccount;
    s.verify = answer;
    return s;
}

TEST(HangSessionTest, NewSessionGreetsAndIsIdle) {
    HangSession session(0);
    EXPECT_EQ(session.state(), HangState::Idle);
    EXPECT_EQ(session.Message(0), "请输入QQ帐号和密码，然后点击开始挂机");
}

TEST(HangSessionTest, IncompleteOrMalformedAccountsAreTurnedAway) {
    const struct {
        Submission submission;
        const char* message;
    } cases[] = {
        {{"", "secret", ""}, "请输入QQ帐号！"},
        {{"   ", "secret", ""}, "请输入QQ帐号！"},
        {{"1234", "secret", ""}, "QQ帐号格式不正确，请重新输入！"},
        {{"012345", "secret", ""}, "QQ帐号格式不正确，请重新输入！"},
        {{"12a45", "secret", ""}, "QQ帐号格式不正确，请重新输入！"},
        {{"123456789012", "secret", ""}, "QQ帐号格式不正确，请重新输入！"},
        {{"12345", "", ""}, "请输入QQ密码！"},
    };
    for (const auto& c : cases) {
        HangSession session(0);
        session.Start(c.submission, 0);
        EXPECT_EQ(session.Message(0), c.message) << c.submission.userqq << "/" << c.submission.pwd;
        EXPECT_EQ(session.state(), HangState::Idle);
    }
}

TEST(HangSessionTest, FirstStartAsksForTheCaptchaEvenWithAnAnswerTyped) {
    HangSession session(0);
    session.IssueCaptcha("AB23", {});
    session.Start(WithAnswer("AB23"), 0);
    EXPECT_EQ(session.state(), HangState::AwaitingCaptcha);
    EXPECT_EQ(session.Message(0), "请输入验证码");   // exactly: the client compares bytes
}

TEST(HangSessionTest, CaptchaAnswersDecideTheLogin) {
    const struct {
        const char* answer;
        HangState state;
    } cases[] = {
        {"XY7K", HangState::Online},  {"xy7k", HangState::Online},           {" XY7K ", HangState::Online},
        {"XY7", HangState::AwaitingCaptcha}, {"", HangState::AwaitingCaptcha}, {"XY7KK", HangState::AwaitingCaptcha},
    };
    for (const auto& c : cases) {
        HangSession session(0);
        session.Start(kAccount, 0);
        session.IssueCaptcha("XY7K", {});
        session.Start(WithAnswer(c.answer), 1000);
        EXPECT_EQ(session.state(), c.state) << "answer '" << c.answer << "'";
    }
}

TEST(HangSessionTest, WrongAnswerUsesUpThePicture) {
    HangSession session(0);
    session.Start(kAccount, 0);
    session.IssueCaptcha("XY7K", {});
    session.Start(WithAnswer("AAAA"), 0);
    EXPECT_EQ(session.Message(0), "验证码错误，请点击图片换一张后重新输入！");
    session.Start(WithAnswer("XY7K"), 0);
    EXPECT_NE(session.state(), HangState::Online);
    session.IssueCaptcha("PQ9R", {});
    session.Start(WithAnswer("pq9r"), 0);
    EXPECT_EQ(session.state(), HangState::Online);
}

TEST(HangSessionTest, AnswerWithoutAnyPictureIsWrong) {
    HangSession session(0);
    session.Start(kAccount, 0);
    session.Start(WithAnswer("ABCD"), 0);
    EXPECT_EQ(session.state(), HangState::AwaitingCaptcha);
    EXPECT_EQ(session.Message(0), "验证码错误，请点击图片换一张后重新输入！");
}

TEST(HangSessionTest, OnlineTimeGrowsAndOfflineStopsIt) {
    HangSession session(0);
    session.Start(kAccount, 0);
    session.IssueCaptcha("XY7K", {});
    session.Start(WithAnswer("XY7K"), 10'000);
    EXPECT_EQ(session.Message(10'000), "QQ：12345678 挂机成功！已在线 0 小时 0 分 0 秒");
    EXPECT_EQ(session.Message(10'000 + 3'725'000), "QQ：12345678 挂机成功！已在线 1 小时 2 分 5 秒");
    session.Start(kAccount, 20'000);   // the same account again stays online
    EXPECT_EQ(session.state(), HangState::Online);
    session.GoOffline(kAccount, 30'000);
    EXPECT_EQ(session.state(), HangState::Offline);
    EXPECT_EQ(session.Message(99'000), "QQ：12345678 已下线，挂机已停止。");
    session.Start(kAccount, 40'000);   // and a later start is a new login
    EXPECT_EQ(session.Message(40'000), "请输入验证码");
}

TEST(HangSessionTest, AnotherAccountWhileOnlineLogsInAnew) {
    HangSession session(0);
    session.Start(kAccount, 0);
    session.IssueCaptcha("XY7K", {});
    session.Start(WithAnswer("XY7K"), 0);
    session.Start({"99999", "pw", ""}, 0);
    EXPECT_EQ(session.state(), HangState::AwaitingCaptcha);
    EXPECT_EQ(session.account(), "99999");
}

TEST(HangSessionTest, OfflineWithNothingOnlineSaysSo) {
    HangSession session(0);
    session.Start(kAccount, 0);
    session.GoOffline(kAccount, 0);
    EXPECT_EQ(session.Message(0), "当前没有正在挂机的QQ帐号。");
    EXPECT_EQ(session.state(), HangState::Idle);
}

TEST(HangSessionTest, OverrideShowsVerbatimUntilTheNextSubmit) {
    HangSession session(0);
    session.OverrideMessage("<b>请输入验证码</b> ");
    EXPECT_EQ(session.Message(0), "<b>请输入验证码</b> ");
    session.Start({"", "", ""}, 0);
    EXPECT_EQ(session.Message(0), "请输入QQ帐号！");
}

TEST(HangSessionTest, RemembersWhatWasSubmittedAndCounts) {
    HangSession session(0);
    session.Start({"123456", "p w*", "ab"}, 0);
    session.GoOffline({"654321", "", "cd"}, 0);
    session.IssueCaptcha("ABCD", {1, 2, 3});
    session.IssueCaptcha("EFGH", {4});
    EXPECT_EQ(session.lastSubmission().userqq, "654321");
    EXPECT_EQ(session.lastSubmission().verify, "cd");
    EXPECT_EQ(session.starts(), 1);
    EXPECT_EQ(session.offlines(), 1);
    EXPECT_EQ(session.captchaRequests(), 2);
    EXPECT_EQ(session.captcha(), "EFGH");
    EXPECT_EQ(session.captchaPicture(), Bytes{4});
}

}  // namespace
}  // namespace corvalin::hang
