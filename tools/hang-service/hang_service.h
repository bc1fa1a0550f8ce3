// The hang service's HTTP face: the page, the captcha picture, the page's
// submit and status requests and, when enabled, the routes tests use to steer
// and inspect it:
//   GET  /test/sessions      one line per live session, form-encoded UTF-8 fields
//                            id, userqq, verify, starts, offlines,
//                            captchaRequests, captcha, status (never a password)
//   POST /test/password      session=id&pwd=...: "match" when that session's last
//                            submit carried this password, else "mismatch"
//   POST /test/status        message=... [session=id]: the status shown verbatim
//                            until the next submit (every session when no id)
//   GET  /test/captcha.jpg?session=id   the picture last drawn for that session
//   POST /test/captcha-stall ms=N: captcha requests wait N ms before their answer
//                            (0: no wait; a new value lets the waiting ones go)
//   GET  /test/captcha-stall how many captcha requests are waiting now
#pragma once
#include <httplib.h>

#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>

#include "hang-service/session_table.h"

namespace corvalin::hang {

inline constexpr char kSessionCookie[] = "HANGSID";
// The status of the session that replaces one the service no longer knows.
inline constexpr char kSessionLostStatus[] = "会话已失效，请重新开始挂机";

struct ServiceOptions {
    bool testControl = false;
    SessionLimits limits;
    // Receives one line per request; nothing is logged when empty.
    std::function<void(const std::string&)> log;
};

class HangService {
public:
    explicit HangService(ServiceOptions options);
    HangService(const HangService&) = delete;
    HangService& operator=(const HangService&) = delete;

    // Adds the routes, the logger and the limits to `server`, which must not outlive this object.
    void Install(httplib::Server& server);
    SessionTable& sessions() { return sessions_; }

private:
    void ServeRoot(const httplib::Request& request, httplib::Response& response);
    void ServeCaptcha(const httplib::Request& request, httplib::Response& response);
    void ServeSubmit(const httplib::Request& request, httplib::Response& response);
    void ServeStatus(const httplib::Request& request, httplib::Response& response);
    void ServeSessionReport(const httplib::Request& request, httplib::Response& response);
    void ServeSetStatus(const httplib::Request& request, httplib::Response& response);
    void ServeCaptchaCopy(const httplib::Request& request, httplib::Response& response);
    void ServePasswordCheck(const httplib::Request& request, httplib::Response& response);
    void ServeCaptchaStall(const httplib::Request& request, httplib::Response& response);
    void WaitForCaptchaStall();

    ServiceOptions options_;
    SessionTable sessions_;
    std::mutex logMutex_;
    std::mutex stallMutex_;
    std::condition_variable stallChanged_;
    int stallMs_ = 0;
    unsigned stallSerial_ = 0;
    int stalled_ = 0;
};

// The value of cookie `name` in a Cookie header, empty when absent.
std::string CookieValue(const std::string& header, const std::string& name);

}  // namespace corvalin::hang
