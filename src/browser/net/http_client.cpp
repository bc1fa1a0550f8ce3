#include "browser/net/http_client.h"

#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <mutex>
#include <string_view>
#include <unordered_map>

#include "base/http_address.h"
#include "base/unique.h"
#include "browser/net/url.h"

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

// Calls `found` with the value of each header line named `name` (any case),
// in order, until it answers false.
template <class Found>
void ForEachHeader(std::string_view rawHeaders, std::string_view name, Found found) {
    size_t start = 0;
    while (start < rawHeaders.size()) {
        size_t end = rawHeaders.find("\r\n", start);
        if (end == std::string_view::npos) end = rawHeaders.size();
        std::string_view line = rawHeaders.substr(start, end - start);
        start = end + 2;
        if (line.size() <= name.size() || line[name.size()] != ':' ||
            _strnicmp(line.data(), name.data(), name.size()) != 0)
            continue;
        line.remove_prefix(name.size() + 1);
        while (!line.empty() && line.front() == ' ') line.remove_prefix(1);
        if (!found(line)) return;
    }
}

std::string ErrorText(const char* step) {
    return std::string(step) + " failed (" + std::to_string(GetLastError()) + ")";
}

// WinINet keeps the cookies, because the program's plain WinINet downloads
// must carry them too. But its own lookup reads the persistent store for
// every domain suffix and path prefix of every request, dozens of round trips
// to the Wine server each time, so the engine sends the Cookie header itself
// from WinINet's answer, kept for a few seconds per host and folder and
// forgotten whenever the engine stores a cookie. A cookie stored by another
// WinINet user, or one expiring, shows within that time.
class CookieHeaders {
public:
    static CookieHeaders& Instance() {
        static CookieHeaders headers;
        return headers;
    }

    std::string For(const HttpAddress& address) {
        const std::string key = Key(address);
        const ULONGLONG now = GetTickCount64();
        unsigned generation = 0;
        {
            std::lock_guard lock(mutex_);
            if (auto found = cache_.find(key); found != cache_.end() && now - found->second.time < kLifetimeMs)
                return found->second.header;
            generation = generation_;
        }
        std::string header = Lookup(key);
        std::lock_guard lock(mutex_);
        // A cookie stored while WinINet was asked may be missing from the
        // answer: such an answer is used once, not kept.
        if (generation == generation_) cache_[key] = {header, now};
        return header;
    }

    void Forget() {
        std::lock_guard lock(mutex_);
        cache_.clear();
        ++generation_;
    }

private:
    static constexpr ULONGLONG kLifetimeMs = 5000;
    struct Entry {
        std::string header;
        ULONGLONG time = 0;
    };

    // Cookies go by scheme (secure ones), host and folder, not by port or page.
    static std::string Key(const HttpAddress& address) {
        std::string path = address.pathAndQuery.substr(0, address.pathAndQuery.find('?'));
        path.erase(path.rfind('/') + 1);
        return (address.secure ? "https://" : "http://") + address.host + path;
    }

    // The wide call: the narrow one asks the wide one twice per call.
    static std::string Lookup(const std::string& url) {
        const std::wstring wideUrl = ToWide(url);
        std::wstring text(1024, L'\0');
        DWORD size = static_cast<DWORD>(text.size());
        BOOL found = InternetGetCookieExW(wideUrl.c_str(), nullptr, text.data(), &size, INTERNET_COOKIE_HTTPONLY, nullptr);
        if (!found && GetLastError() == ERROR_INSUFFICIENT_BUFFER) {
            text.assign(size + 1, L'\0');   // bytes or characters: enough either way
            size = static_cast<DWORD>(text.size());
            found = InternetGetCookieExW(wideUrl.c_str(), nullptr, text.data(), &size, INTERNET_COOKIE_HTTPONLY, nullptr);
        }
        if (!found) return {};
        text.resize(wcslen(text.c_str()));
        return ToAnsi(text);
    }

    std::mutex mutex_;
    std::unordered_map<std::string, Entry> cache_;
    unsigned generation_ = 0;   // how many times the cache was forgotten
};

// Hands the response's cookies to WinINet, which parses their attributes.
void StoreCookies(const std::string& url, const std::string& rawHeaders) {
    bool stored = false;
    ForEachHeader(rawHeaders, "Set-Cookie", [&](std::string_view value) {
        InternetSetCookieExA(url.c_str(), nullptr, std::string(value).c_str(), INTERNET_COOKIE_HTTPONLY, 0);
        stored = true;
        return true;
    });
    if (stored) CookieHeaders::Instance().Forget();
}

bool IsRedirect(int status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

// One request and its response, without following a redirect: a redirect's
// target goes to `redirect` and its body is not read.
HttpResponse Exchange(HINTERNET session, const HttpRequest& request, const std::atomic<bool>* cancel,
                      std::string& redirect) {
    redirect.clear();
    HttpResponse response;
    response.finalUrl = request.url;
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
                  INTERNET_FLAG_NO_UI | INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_NO_AUTO_REDIRECT;
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
    if (std::string cookies = CookieHeaders::Instance().For(address); !cookies.empty())
        headers += "Cookie: " + cookies + "\r\n";
    for (const auto& [name, value] : request.headers) headers += name + ": " + value + "\r\n";
    if (!HttpSendRequestA(http.get(), headers.c_str(), static_cast<DWORD>(headers.size()),
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
    StoreCookies(request.url, response.rawHeaders);
    if (IsRedirect(response.status)) redirect = response.Header("Location");
    if (!redirect.empty()) {
        response.completed = true;   // the body of a redirect is never shown
        return response;
    }

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

}  // namespace

const char* UserAgent() {
    return "Mozilla/4.0 (compatible; MSIE 8.0; Windows NT 5.1; Trident/4.0; Corvalin)";
}

std::string HttpResponse::Header(std::string_view name) const {
    std::string value;
    ForEachHeader(rawHeaders, name, [&](std::string_view found) {
        value = found;
        return false;
    });
    return value;
}

void CookiesChanged() { CookieHeaders::Instance().Forget(); }

// Redirects are followed here rather than by WinINet, so that every hop sends
// and stores its cookies the same way.
HttpResponse Fetch(const HttpRequest& request, const std::atomic<bool>* cancel) {
    HINTERNET session = Session();
    if (!session) {
        HttpResponse response;
        response.finalUrl = request.url;
        response.error = ErrorText("InternetOpenA");
        return response;
    }
    constexpr int kMaxRedirects = 10;
    HttpRequest hop = request;
    std::string location;
    for (int redirects = 0;; ++redirects) {
        HttpResponse response = Exchange(session, hop, cancel, location);
        if (location.empty() || redirects == kMaxRedirects) return response;
        hop.url = EncodeUrlForRequest(ResolveUrl(ToWide(hop.url), ToWide(location)));
        // 303, and 301 or 302 after anything but GET or HEAD, ask again with GET.
        if (response.status == 303 || ((response.status == 301 || response.status == 302) &&
                                       hop.method != "GET" && hop.method != "HEAD")) {
            hop.method = "GET";
            hop.body.clear();
            std::erase_if(hop.headers, [](const auto& header) {
                return _stricmp(header.first.c_str(), "Content-Type") == 0;
            });
        }
    }
}

}  // namespace corvalin::browser
