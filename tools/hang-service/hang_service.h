// The hang service's HTTP face: the page, the captcha picture, the page's
// submit and status requests and, when enabled, the routes tests use to steer
// and inspect it:
//   GET  /test/sessions      one line per live session, form-encoded UTF-8 fields
//                            id, userqq, pwd, verify, starts, offlines,
//                            captchaRequests, captcha, status
//   POST /test/status        message=... [session=id]: the status shown verbatim
//                            until the next submit (every session when no id)
//   GET  /test/captcha.jpg?session=id   the picture last drawn for that session
#pragma once
#include <httplib.h>

#include <functional>
#include <mutex>
#include <string>

#include "hang-service/session_table.h"

namespace corvalin::hang {

inline constexpr char kSessionCookie[] = "HANGSID";

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

    ServiceOptions options_;
    SessionTable sessions_;
    std::mutex logMutex_;
};

// The value of cookie `name` in a Cookie header, empty when absent.
std::string CookieValue(const std::string& header, const std::string& name);

}  // namespace corvalin::hang
