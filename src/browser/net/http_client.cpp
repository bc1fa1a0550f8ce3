#include "browser/net/http_client.h"

#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <cctype>
#include <cstring>

#include "base/http_address.h"
#include "base/unique.h"

namespace corvalin::browser {

namespace {

// One WinINet session for the process: handles are thread-safe, and cookies
// live in the process either way.
HINTERNET Session() {
    static UniqueInternetHandle session = [] {
        UniqueInternetHandle s(InternetOpenA(UserAgent(), INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
        if (s) {
            DWORD connectTimeout = 10000, dataTimeout = 30000;
            InternetSetOptionA(s.get(), INTERNET_OPTION_CONNECT_TIMEOUT, &connectTimeout, sizeof connectTimeout);
            InternetSetOptionA(s.get(), INTERNET_OPTION_SEND_TIMEOUT, &dataTimeout, sizeof dataTimeout);
            InternetSetOptionA(s.get(), INTERNET_OPTION_RECEIVE_TIMEOUT, &dataTimeout, sizeof dataTimeout);
        }
        return s;
    }();
    return session.get();
}

std::string QueryText(HINTERNET request, DWORD info) {
    DWORD size = 0;
    HttpQueryInfoA(request, info, nullptr, &size, nullptr);
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || size == 0) return {};
    std::string text(size, '\0');
    if (!HttpQueryInfoA(request, info, text.data(), &size, nullptr)) return {};
    text.resize(size);
    return text;
}

std::string QueryUrl(HINTERNET request) {
    DWORD size = 0;
    InternetQueryOptionA(request, INTERNET_OPTION_URL, nullptr, &size);
    if (size == 0) return {};
    std::string url(size, '\0');
    if (!InternetQueryOptionA(request, INTERNET_OPTION_URL, url.data(), &size)) return {};
    url.resize(std::strlen(url.c_str()));
    return url;
}

std::string ErrorText(const char* step) {
    return std::string(step) + " failed (" + std::to_string(GetLastError()) + ")";
}

}  // namespace

const char* UserAgent() {
    return "Mozilla/4.0 (compatible; MSIE 8.0; Windows NT 5.1; Trident/4.0; Corvalin)";
}

std::string HttpResponse::Header(std::string_view name) const {
    auto lower = [](std::string_view s) {
        std::string out(s);
        for (auto& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return out;
    };
    const std::string wanted = lower(name) + ":";
    size_t start = 0;
    while (start < rawHeaders.size()) {
        size_t end = rawHeaders.find("\r\n", start);
        if (end == std::string::npos) end = rawHeaders.size();
        const std::string_view line = std::string_view(rawHeaders).substr(start, end - start);
        if (line.size() >= wanted.size() && lower(line.substr(0, wanted.size())) == wanted) {
            std::string_view value = line.substr(wanted.size());
            while (!value.empty() && value.front() == ' ') value.remove_prefix(1);
            return std::string(value);
        }
        start = end + 2;
    }
    return {};
}

HttpResponse Fetch(const HttpRequest& request, const std::atomic<bool>* cancel) {
    HttpResponse response;
    response.finalUrl = request.url;
    HINTERNET session = Session();
    if (!session) {
        response.error = ErrorText("InternetOpenA");
        return response;
    }

    HttpAddress address;
    if (!CrackHttpAddress(request.url, address)) {
        response.error = "not an http address: " + request.url;
        return response;
    }

    UniqueInternetHandle connection(
        InternetConnectA(session, address.host.c_str(), address.port, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0));
    if (!connection) {
        response.error = ErrorText("InternetConnectA");
        return response;
    }
    DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE |
                  INTERNET_FLAG_NO_UI;
    if (address.secure) flags |= INTERNET_FLAG_SECURE;
    const char* accept[] = {"*/*", nullptr};
    UniqueInternetHandle http(HttpOpenRequestA(connection.get(), request.method.c_str(), address.pathAndQuery.c_str(), nullptr,
                                               request.referrer.empty() ? nullptr : request.referrer.c_str(),
                                               accept, flags, 0));
    if (!http) {
        response.error = ErrorText("HttpOpenRequestA");
        return response;
    }
    // One connection per exchange: a server never waits on an idle one of ours.
    std::string headers = "Connection: close\r\n";
    for (const auto& [name, value] : request.headers) headers += name + ": " + value + "\r\n";
    if (!HttpSendRequestA(http.get(), headers.empty() ? nullptr : headers.c_str(), static_cast<DWORD>(headers.size()),
                          request.body.empty() ? nullptr : const_cast<std::uint8_t*>(request.body.data()),
                          static_cast<DWORD>(request.body.size()))) {
        response.error = ErrorText("HttpSendRequestA");
        return response;
    }

    DWORD status = 0, size = sizeof status;
    HttpQueryInfoA(http.get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr);
    response.status = static_cast<int>(status);
    response.statusText = QueryText(http.get(), HTTP_QUERY_STATUS_TEXT);
    response.rawHeaders = QueryText(http.get(), HTTP_QUERY_RAW_HEADERS_CRLF);
    response.contentType = QueryText(http.get(), HTTP_QUERY_CONTENT_TYPE);
    if (std::string url = QueryUrl(http.get()); !url.empty()) response.finalUrl = url;

    char buffer[16384];
    for (;;) {
        if (cancel && cancel->load()) {
            response.error = "cancelled";
            return response;
        }
        DWORD read = 0;
        if (!InternetReadFile(http.get(), buffer, sizeof buffer, &read)) {
            response.error = ErrorText("InternetReadFile");
            return response;   // what arrived stays in the body
        }
        if (read == 0) break;
        const size_t room = kMaxBodyBytes - response.body.size();
        response.body.insert(response.body.end(), buffer, buffer + std::min<size_t>(read, room));
        if (read >= room) break;
    }
    response.completed = true;
    return response;
}

}  // namespace corvalin::browser
