// httplib brings winsock2, which must come before windows.h.
#include <httplib.h>

#include "support/hang_service_process.h"

#include <sstream>

namespace corvalin::testing {

HangServiceProcess::HangServiceProcess(const std::string& extraArguments, int port) {
    const std::string portFile = folder_.File("port.txt");
    const std::string command = "\"" + ProgramFolder() + "\\hang-service.exe\" --port " + std::to_string(port) +
                                " --test-control --port-file \"" + portFile + "\" " + extraArguments;
    if (!process_.Start(command, folder_.File("service.log"))) return;
    for (int i = 0; i < 200 && process_.Running(); ++i) {
        const std::string text = ReadWholeFile(portFile);
        if (!text.empty()) {
            port_ = std::atoi(text.c_str());
            return;
        }
        Sleep(50);
    }
}

std::string HangServiceProcess::Url(const std::string& pathAndQuery) const {
    return "http://127.0.0.1:" + std::to_string(port_) + pathAndQuery;
}

std::string HangServiceProcess::Log() const {
    return ReadWholeFile(folder_.File("service.log"));
}

std::vector<SessionReport> HangServiceProcess::Sessions() const {
    std::vector<SessionReport> sessions;
    httplib::Client client("127.0.0.1", port_);
    auto result = client.Get("/test/sessions");
    if (!result || result->status != 200) return sessions;
    std::istringstream lines(result->body);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.empty()) continue;
        httplib::Params params;
        httplib::detail::parse_query_text(line, params);
        SessionReport report;
        for (const auto& [name, value] : params) report[name] = Utf8ToGbk(value);
        sessions.push_back(std::move(report));
    }
    return sessions;
}

std::optional<SessionReport> HangServiceProcess::OnlySession() const {
    auto sessions = Sessions();
    if (sessions.size() != 1) return std::nullopt;
    return sessions.front();
}

bool HangServiceProcess::SetStatus(const std::string& message, const std::string& session) const {
    httplib::Client client("127.0.0.1", port_);
    httplib::Params params{{"message", GbkToUtf8(message)}};
    if (!session.empty()) params.emplace("session", session);
    auto result = client.Post("/test/status", params);
    return result && result->status == 200;
}

Bytes HangServiceProcess::CaptchaPicture(const std::string& session) const {
    httplib::Client client("127.0.0.1", port_);
    auto result = client.Get(("/test/captcha.jpg?session=" + session).c_str());
    if (!result || result->status != 200) return {};
    return Bytes(result->body.begin(), result->body.end());
}

bool HangServiceProcess::PasswordMatches(const std::string& session, const std::string& password) const {
    httplib::Client client("127.0.0.1", port_);
    auto result = client.Post("/test/password", httplib::Params{{"session", session}, {"pwd", GbkToUtf8(password)}});
    return result && result->status == 200 && result->body == "match";
}

bool HangServiceProcess::StallCaptcha(int ms) const {
    httplib::Client client("127.0.0.1", port_);
    auto result = client.Post("/test/captcha-stall", httplib::Params{{"ms", std::to_string(ms)}});
    return result && result->status == 200;
}

int HangServiceProcess::StalledCaptchas() const {
    httplib::Client client("127.0.0.1", port_);
    auto result = client.Get("/test/captcha-stall");
    return result && result->status == 200 ? std::atoi(result->body.c_str()) : -1;
}

std::string Utf8ToGbk(const std::string& utf8) {
    return EncodeCodePage(DecodeCodePage(utf8, CP_UTF8), 936);
}

std::string GbkToUtf8(const std::string& gbk) {
    return EncodeCodePage(DecodeCodePage(gbk, 936), CP_UTF8);
}

}  // namespace corvalin::testing
