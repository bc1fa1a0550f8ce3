// One visitor of the hang service: what the account is doing and what the
// page should say about it. Times are passed in, so the machine is plain data.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "base/text.h"

namespace corvalin::hang {

// Milliseconds of a steady clock (GetTickCount64 in the program). Plain
// numbers: <chrono> of C++20 cannot be compiled with a GBK execution charset.
using Millis = std::int64_t;
Millis SteadyNow();

// The form fields of one submit, as GBK text.
struct Submission {
    std::string userqq;
    std::string pwd;
    std::string verify;
};

enum class HangState { Idle, AwaitingCaptcha, Online, Offline };

class HangSession {
public:
    explicit HangSession(Millis now);

    // The page's two buttons.
    void Start(const Submission& submission, Millis now);
    void GoOffline(const Submission& submission, Millis now);

    // A captcha picture was drawn for this session: its text is now the answer.
    void IssueCaptcha(const std::string& text, Bytes jpeg);

    // The status message as the page shows it (markup allowed).
    std::string Message(Millis now) const;
    // Replaces the message verbatim until the next submit.
    void OverrideMessage(std::string message) { override_ = std::move(message); }

    HangState state() const { return state_; }
    const Submission& lastSubmission() const { return last_; }
    int starts() const { return starts_; }
    int offlines() const { return offlines_; }
    int captchaRequests() const { return captchaRequests_; }
    const std::string& captcha() const { return captcha_; }
    const Bytes& captchaPicture() const { return captchaPicture_; }
    const std::string& account() const { return account_; }
    Millis lastSeen() const { return lastSeen_; }
    void Touch(Millis now) { lastSeen_ = now; }

private:
    void Say(std::string message);
    bool AnswerMatches(const std::string& verify) const;

    HangState state_ = HangState::Idle;
    std::string message_;
    std::optional<std::string> override_;
    std::string account_;   // the account kept online (or last taken offline)
    Millis onlineSince_ = 0;
    std::string captcha_;   // the expected answer; empty until a picture was drawn
    Bytes captchaPicture_;
    Submission last_;
    int starts_ = 0;
    int offlines_ = 0;
    int captchaRequests_ = 0;
    Millis lastSeen_;
};

// A QQ number: 5 to 11 digits, not starting with 0.
bool IsAccountNumber(const std::string& text);

}  // namespace corvalin::hang
