#include "base/http_address.h"

namespace corvalin {

bool CrackHttpAddress(const std::string& url, HttpAddress& out) {
    if (url.empty()) return false;
    // Every part fits in the address's own length; long form queries are
    // longer than INTERNET_MAX_URL_LENGTH.
    const DWORD room = static_cast<DWORD>(url.size() + 1);
    std::string host(room, '\0'), path(room, '\0'), extra(room, '\0');
    URL_COMPONENTSA parts{};
    parts.dwStructSize = sizeof parts;
    parts.lpszHostName = host.data();
    parts.dwHostNameLength = room;
    parts.lpszUrlPath = path.data();
    parts.dwUrlPathLength = room;
    parts.lpszExtraInfo = extra.data();
    parts.dwExtraInfoLength = room;
    if (!InternetCrackUrlA(url.c_str(), static_cast<DWORD>(url.size()), 0, &parts)) return false;
    if (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS) return false;
    if (parts.dwHostNameLength == 0) return false;
    out.host.assign(host.data(), parts.dwHostNameLength);
    out.port = parts.nPort;
    out.secure = parts.nScheme == INTERNET_SCHEME_HTTPS;
    out.pathAndQuery.assign(path.data(), parts.dwUrlPathLength);
    out.pathAndQuery.append(extra.data(), parts.dwExtraInfoLength);
    // The fragment names a place in the page; it is never sent.
    if (const size_t hash = out.pathAndQuery.find('#'); hash != std::string::npos) out.pathAndQuery.resize(hash);
    if (out.pathAndQuery.empty()) out.pathAndQuery = "/";
    return true;
}

}  // namespace corvalin
