#include "hang-service/hang_session.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include <windows.h>

namespace corvalin::hang {

namespace {

const char kWelcome[] = "请输入QQ帐号和密码，然后点击开始挂机";
const char kMissingAccount[] = "请输入QQ帐号！";
const char kBadAccount[] = "QQ帐号格式不正确，请重新输入！";
const char kMissingPassword[] = "请输入QQ密码！";
// The one message the client acts on: exactly this, no markup, no spaces.
const char kCaptchaRequest[] = "请输入验证码";
const char kWrongCaptcha[] = "验证码错误，请点击图片换一张后重新输入！";
const char kNothingOnline[] = "当前没有正在挂机的QQ帐号。";

std::string Upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return {};
    const auto last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

}  // namespace

Millis SteadyNow() {
    return static_cast<Millis>(GetTickCount64());
}

bool IsAccountNumber(const std::string& text) {
    if (text.size() < 5 || text.size() > 11 || text[0] == '0') return false;
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

HangSession::HangSession(Millis now) : message_(kWelcome), lastSeen_(now) {}

void HangSession::Say(std::string message) {
    message_ = std::move(message);
    override_.reset();
}

bool HangSession::AnswerMatches(const std::string& verify) const {
    return !captcha_.empty() && Upper(Trimmed(verify)) == captcha_;
}

void HangSession::Start(const Submission& submission, Millis now) {
    last_ = submission;
    ++starts_;
    lastSeen_ = now;
    const std::string account = Trimmed(submission.userqq);
    if (account.empty()) return Say(kMissingAccount);
    if (!IsAccountNumber(account)) return Say(kBadAccount);
    if (submission.pwd.empty()) return Say(kMissingPassword);

    if (state_ == HangState::Online && account == account_) return override_.reset();
    if (state_ != HangState::AwaitingCaptcha || account != account_) {
        // Every new login is asked for a captcha first, whatever was typed into it.
        state_ = HangState::AwaitingCaptcha;
        account_ = account;
        captcha_.clear();
        return Say(kCaptchaRequest);
    }
    if (Trimmed(submission.verify).empty()) return Say(kCaptchaRequest);
    if (!AnswerMatches(submission.verify)) {
        captcha_.clear();   // an answer is tried once; a new picture is needed
        return Say(kWrongCaptcha);
    }
    captcha_.clear();
    state_ = HangState::Online;
    onlineSince_ = now;
    Say({});
}

void HangSession::GoOffline(const Submission& submission, Millis now) {
    last_ = submission;
    ++offlines_;
    lastSeen_ = now;
    if (state_ != HangState::Online) {
        state_ = state_ == HangState::AwaitingCaptcha ? HangState::Idle : state_;
        captcha_.clear();
        return Say(kNothingOnline);
    }
    state_ = HangState::Offline;
    Say("QQ：" + account_ + " 已下线，挂机已停止。");
}

void HangSession::IssueCaptcha(const std::string& text, Bytes jpeg) {
    ++captchaRequests_;
    captcha_ = Upper(text);
    captchaPicture_ = std::move(jpeg);
}

std::string HangSession::Message(Millis now) const {
    if (override_) return *override_;
    if (state_ != HangState::Online) return message_;
    const long long seconds = std::max<long long>(0, (now - onlineSince_) / 1000);
    char text[160];
    std::snprintf(text, sizeof text, "QQ：%s 挂机成功！已在线 %lld 小时 %lld 分 %lld 秒", account_.c_str(),
                  seconds / 3600, seconds / 60 % 60, seconds % 60);
    return text;
}

}  // namespace corvalin::hang
