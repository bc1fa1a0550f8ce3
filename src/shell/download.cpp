#include "shell/download.h"

#include <windows.h>
#include <wininet.h>

#include <cstdlib>

#include "base/unique.h"

namespace corvalin::shell {
namespace {

constexpr char kUserAgent[] = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";
constexpr DWORD kLargeChunk = 102400;
constexpr DWORD kUnknownLengthChunk = 10240;

struct ParsedUrl {
    std::string host;
    INTERNET_PORT port = 0;
    std::string pathAndQuery;
    bool secure = false;
};

bool ParseUrl(const std::string& url, ParsedUrl& out) {
    if (url.empty()) return false;
    char host[INTERNET_MAX_HOST_NAME_LENGTH + 1] = {};
    char path[INTERNET_MAX_URL_LENGTH + 1] = {};
    char extra[INTERNET_MAX_URL_LENGTH + 1] = {};
    URL_COMPONENTSA parts{};
    parts.dwStructSize = sizeof parts;
    parts.lpszHostName = host;
    parts.dwHostNameLength = sizeof host;
    parts.lpszUrlPath = path;
    parts.dwUrlPathLength = sizeof path;
    parts.lpszExtraInfo = extra;
    parts.dwExtraInfoLength = sizeof extra;
    if (!InternetCrackUrlA(url.c_str(), static_cast<DWORD>(url.size()), 0, &parts)) return false;
    if (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS) return false;
    if (host[0] == '\0') return false;
    out.host = host;
    out.port = parts.nPort;
    out.pathAndQuery = std::string(path) + extra;
    if (out.pathAndQuery.empty()) out.pathAndQuery = "/";
    out.secure = parts.nScheme == INTERNET_SCHEME_HTTPS;
    return true;
}

// Content-Length, or -1 when the response has none.
long long ContentLength(HINTERNET request) {
    char buffer[32] = {};
    DWORD size = sizeof buffer;
    if (!HttpQueryInfoA(request, HTTP_QUERY_CONTENT_LENGTH, buffer, &size, nullptr)) return -1;
    char* end = nullptr;
    const long long length = std::strtoll(buffer, &end, 10);
    return end != buffer && length >= 0 ? length : -1;
}

}  // namespace

Bytes DownloadBytes(const std::string& url) {
    ParsedUrl target;
    if (!ParseUrl(url, target)) return {};

    UniqueInternetHandle internet(InternetOpenA(kUserAgent, INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
    if (!internet) return {};
    UniqueInternetHandle connection(InternetConnectA(internet.get(), target.host.c_str(), target.port, nullptr,
                                                     nullptr, INTERNET_SERVICE_HTTP, 0, 0));
    if (!connection) return {};
    const char* acceptTypes[] = {"*/*", nullptr};
    DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE;
    if (target.secure) flags |= INTERNET_FLAG_SECURE;
    UniqueInternetHandle request(HttpOpenRequestA(connection.get(), "GET", target.pathAndQuery.c_str(), "HTTP/1.0",
                                                  nullptr, acceptTypes, flags, 0));
    if (!request) return {};
    static const char kHeaders[] = "Accept: */*\r\n\r\n";
    if (!HttpSendRequestA(request.get(), kHeaders, sizeof kHeaders - 1, nullptr, 0)) return {};

    const long long length = ContentLength(request.get());
    DWORD chunk = kUnknownLengthChunk;
    if (length >= 0) chunk = length + 1 <= kLargeChunk ? static_cast<DWORD>(length + 1) : kLargeChunk;

    Bytes body;
    Bytes buffer(chunk);
    for (;;) {
        DWORD read = 0;
        if (!InternetReadFile(request.get(), buffer.data(), chunk, &read)) return {};
        if (read == 0) break;
        body.insert(body.end(), buffer.begin(), buffer.begin() + read);
    }
    return body;
}

}  // namespace corvalin::shell
