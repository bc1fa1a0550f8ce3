#include "hang-service/hang_service.h"

#include <windows.h>

#include <algorithm>
#include <cstdlib>

#include "hang-service/captcha_picture.h"
#include "hang-service/service_page.h"

namespace corvalin::hang {

namespace {

constexpr char kTextType[] = "text/plain; charset=gb2312";
constexpr char kNoSession[] = "会话不存在或已过期，请刷新挂机页面。";

// Scripts encode form fields as UTF-8; a GBK form post arrives as bytes that
// are not valid UTF-8 and is kept as it is.
std::string FieldText(const httplib::Request& request, const char* name) {
    if (!request.has_param(name)) return {};
    const std::string value = request.get_param_value(name);
    if (value.empty()) return value;
    const int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, value.data(),
                                           static_cast<int>(value.size()), nullptr, 0);
    if (length <= 0) return value;
    return EncodeCodePage(DecodeCodePage(value, CP_UTF8), 936);
}

std::string Utf8(const std::string& gbk) {
    return EncodeCodePage(DecodeCodePage(gbk, 936), CP_UTF8);
}

// Percent-encodes everything but the unreserved characters.
std::string FormEncoded(const std::string& value) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : value) {
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_' ||
            c == '.' || c == '~') {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return out;
}

void NoCache(httplib::Response& response) {
    response.set_header("Cache-Control", "no-cache, no-store");
    response.set_header("Pragma", "no-cache");
}

void Refuse(httplib::Response& response, int status, const std::string& text) {
    response.status = status;
    NoCache(response);
    response.set_content(text, kTextType);
}

std::string SessionOf(const httplib::Request& request) {
    return CookieValue(request.get_header_value("Cookie"), kSessionCookie);
}

}  // namespace

std::string CookieValue(const std::string& header, const std::string& name) {
    std::size_t at = 0;
    while (at < header.size()) {
        std::size_t end = header.find(';', at);
        if (end == std::string::npos) end = header.size();
        std::string pair = header.substr(at, end - at);
        const auto first = pair.find_first_not_of(' ');
        pair = first == std::string::npos ? std::string() : pair.substr(first);
        const auto equals = pair.find('=');
        if (equals != std::string::npos && pair.compare(0, equals, name) == 0) {
            std::string value = pair.substr(equals + 1);
            value.erase(value.find_last_not_of(' ') + 1);
            return value;
        }
        at = end + 1;
    }
    return {};
}

HangService::HangService(ServiceOptions options) : options_(std::move(options)), sessions_(options_.limits) {}

void HangService::Install(httplib::Server& server) {
    server.set_payload_max_length(64 * 1024);
    server.Get("/", [this](const auto& rq, auto& rs) { ServeRoot(rq, rs); });
    server.Get("/yzm.php", [this](const auto& rq, auto& rs) { ServeCaptcha(rq, rs); });
    server.Post("/submit", [this](const auto& rq, auto& rs) { ServeSubmit(rq, rs); });
    server.Get("/status", [this](const auto& rq, auto& rs) { ServeStatus(rq, rs); });
    if (options_.testControl) {
        server.Get("/test/sessions", [this](const auto& rq, auto& rs) { ServeSessionReport(rq, rs); });
        server.Post("/test/status", [this](const auto& rq, auto& rs) { ServeSetStatus(rq, rs); });
        server.Get("/test/captcha.jpg", [this](const auto& rq, auto& rs) { ServeCaptchaCopy(rq, rs); });
        server.Post("/test/password", [this](const auto& rq, auto& rs) { ServePasswordCheck(rq, rs); });
        server.Post("/test/captcha-stall", [this](const auto& rq, auto& rs) { ServeCaptchaStall(rq, rs); });
        server.Get("/test/captcha-stall", [this](const auto& rq, auto& rs) { ServeCaptchaStall(rq, rs); });
    }
    server.set_error_handler([](const httplib::Request&, httplib::Response& response) {
        if (response.body.empty()) response.set_content("error " + std::to_string(response.status), kTextType);
    });
    server.set_exception_handler([](const httplib::Request&, httplib::Response& response, std::exception_ptr) {
        Refuse(response, 500, "internal error");
    });
    if (options_.log) {
        server.set_logger([this](const httplib::Request& request, const httplib::Response& response) {
            std::string line = request.remote_addr + " " + request.method + " " + request.path + " " +
                               std::to_string(response.status) + " " + std::to_string(response.body.size());
            std::lock_guard lock(logMutex_);
            options_.log(line);
        });
    }
}

void HangService::ServeRoot(const httplib::Request& request, httplib::Response& response) {
    const auto now = SteadyNow();
    std::string id = SessionOf(request);
    std::string message;
    if (id.empty() || !sessions_.Use(id, now, [&](HangSession& s) { message = s.Message(now); })) {
        // A cookie the service does not know: it restarted or forgot an idle
        // session, and the visitor has to start over.
        const bool lost = !id.empty();
        id = sessions_.Create(now);
        sessions_.Use(id, now, [&](HangSession& s) {
            if (lost) s.OverrideMessage(kSessionLostStatus);
            message = s.Message(now);
        });
        response.set_header("Set-Cookie", std::string(kSessionCookie) + "=" + id + "; Path=/; HttpOnly");
    }
    NoCache(response);
    response.set_content(ServicePage(message), "text/html; charset=gb2312");
}

void HangService::ServeCaptcha(const httplib::Request& request, httplib::Response& response) {
    const auto now = SteadyNow();
    const std::string id = SessionOf(request);
    if (id.empty() || !sessions_.Use(id, now, [](HangSession&) {})) return Refuse(response, 403, kNoSession);
    if (options_.testControl) WaitForCaptchaStall();
    // Drawn outside the table's lock: other sessions need not wait for the encoder.
    const std::string text = sessions_.DrawCaptchaText();
    Bytes jpeg = EncodeJpeg(DrawCaptcha(text, std::random_device{}()));
    if (jpeg.empty()) return Refuse(response, 500, "captcha failed");
    std::string body(jpeg.begin(), jpeg.end());
    if (!sessions_.Use(id, now, [&](HangSession& s) { s.IssueCaptcha(text, std::move(jpeg)); }))
        return Refuse(response, 403, kNoSession);
    NoCache(response);
    response.set_content(std::move(body), "image/jpeg");
}

void HangService::ServeSubmit(const httplib::Request& request, httplib::Response& response) {
    const auto now = SteadyNow();
    const std::string action = request.get_param_value("action");
    if (action != "start" && action != "offline") return Refuse(response, 400, "unknown action");
    const Submission submission{FieldText(request, "userqq"), FieldText(request, "pwd"),
                                FieldText(request, "verify")};
    std::string message;
    const bool found = sessions_.Use(SessionOf(request), now, [&](HangSession& s) {
        if (action == "start")
            s.Start(submission, now);
        else
            s.GoOffline(submission, now);
        message = s.Message(now);
    });
    if (!found) return Refuse(response, 403, kNoSession);
    NoCache(response);
    response.set_content(message, kTextType);
}

void HangService::ServeStatus(const httplib::Request& request, httplib::Response& response) {
    const auto now = SteadyNow();
    std::string message;
    if (!sessions_.Use(SessionOf(request), now, [&](HangSession& s) { message = s.Message(now); }))
        return Refuse(response, 403, kNoSession);
    NoCache(response);
    response.set_content(message, kTextType);
}

void HangService::ServeSessionReport(const httplib::Request&, httplib::Response& response) {
    const auto now = SteadyNow();
    std::string report;
    sessions_.ForEach(now, [&](const std::string& id, HangSession& s) {
        const Submission& last = s.lastSubmission();
        const std::pair<const char*, std::string> fields[] = {
            {"id", id},
            {"userqq", Utf8(last.userqq)},
            {"verify", Utf8(last.verify)},
            {"starts", std::to_string(s.starts())},
            {"offlines", std::to_string(s.offlines())},
            {"captchaRequests", std::to_string(s.captchaRequests())},
            {"captcha", s.captcha()},
            {"status", Utf8(s.Message(now))},
        };
        std::string line;
        for (const auto& [name, value] : fields)
            line += (line.empty() ? "" : "&") + std::string(name) + "=" + FormEncoded(value);
        report += line + "\n";
    });
    NoCache(response);
    response.set_content(report, "text/plain; charset=utf-8");
}

void HangService::ServeSetStatus(const httplib::Request& request, httplib::Response& response) {
    if (!request.has_param("message")) return Refuse(response, 400, "message missing");
    const std::string message = FieldText(request, "message");
    const std::string only = request.get_param_value("session");
    int changed = 0;
    sessions_.ForEach(SteadyNow(), [&](const std::string& id, HangSession& s) {
        if (only.empty() || id == only) {
            s.OverrideMessage(message);
            ++changed;
        }
    });
    if (!only.empty() && changed == 0) return Refuse(response, 404, "no such session");
    response.set_content(std::to_string(changed), kTextType);
}

void HangService::ServeCaptchaCopy(const httplib::Request& request, httplib::Response& response) {
    Bytes jpeg;
    const std::string only = request.get_param_value("session");
    sessions_.ForEach(SteadyNow(), [&](const std::string& id, HangSession& s) {
        if (id == only) jpeg = s.captchaPicture();
    });
    if (jpeg.empty()) return Refuse(response, 404, "no picture");
    response.set_content(std::string(jpeg.begin(), jpeg.end()), "image/jpeg");
}

void HangService::ServePasswordCheck(const httplib::Request& request, httplib::Response& response) {
    const std::string only = request.get_param_value("session");
    const std::string candidate = FieldText(request, "pwd");
    bool match = false;
    sessions_.ForEach(SteadyNow(), [&](const std::string& id, HangSession& s) {
        if (id == only) match = s.lastSubmission().pwd == candidate;
    });
    NoCache(response);
    response.set_content(match ? "match" : "mismatch", kTextType);
}

void HangService::ServeCaptchaStall(const httplib::Request& request, httplib::Response& response) {
    std::unique_lock lock(stallMutex_);
    if (request.method == "POST") {
        stallMs_ = std::max(0, std::atoi(request.get_param_value("ms").c_str()));
        ++stallSerial_;
        stallChanged_.notify_all();
    }
    response.set_content(std::to_string(stalled_), kTextType);
}

void HangService::WaitForCaptchaStall() {
    std::unique_lock lock(stallMutex_);
    if (stallMs_ <= 0) return;
    const unsigned serial = stallSerial_;
    ++stalled_;
    stallChanged_.wait_for(lock, std::chrono::milliseconds(stallMs_), [&] { return stallSerial_ != serial; });
    --stalled_;
}

}  // namespace corvalin::hang
