// The real hang-service.exe (beside the test program) on an ephemeral
// loopback port with its test-control routes on, and a client of those routes.
#pragma once
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "base/text.h"
#include "support/child_process.h"
#include "support/temp_folder.h"

namespace corvalin::testing {

// One line of the service's session report, values in GBK.
using SessionReport = std::map<std::string, std::string>;

class HangServiceProcess {
public:
    // Starts the service with `extraArguments` on `port` (0: any free one);
    // port() is 0 when it did not come up.
    explicit HangServiceProcess(const std::string& extraArguments = {}, int port = 0);
    int port() const { return port_; }
    std::string Url(const std::string& pathAndQuery = "/") const;
    ChildProcess& process() { return process_; }
    // What the service has logged so far.
    std::string Log() const;

    std::vector<SessionReport> Sessions() const;
    // The only live session, when there is exactly one.
    std::optional<SessionReport> OnlySession() const;
    // Shows `message` verbatim as the status of `session` (of every session when empty).
    bool SetStatus(const std::string& message, const std::string& session = {}) const;
    Bytes CaptchaPicture(const std::string& session) const;
    // Whether the session's last submit carried `password` (GBK); the report never shows it.
    bool PasswordMatches(const std::string& session, const std::string& password) const;
    // Captcha requests wait `ms` before their answer from now on (0: none);
    // those already waiting are let go.
    bool StallCaptcha(int ms) const;
    // Captcha requests waiting now, -1 when the service does not answer.
    int StalledCaptchas() const;

private:
    TempFolder folder_;
    ChildProcess process_;
    int port_ = 0;
};

// UTF-8 from and to the program's GBK.
std::string Utf8ToGbk(const std::string& utf8);
std::string GbkToUtf8(const std::string& gbk);

}  // namespace corvalin::testing
