#include "browser/net/url.h"

#include <windows.h>

#include <algorithm>
#include <cwctype>
#include <vector>

#include "base/text.h"

namespace corvalin::browser {

namespace {

std::wstring Lower(std::wstring_view text) {
    std::wstring out(text);
    for (auto& c : out) c = static_cast<wchar_t>(std::towlower(c));
    return out;
}

std::wstring_view Trim(std::wstring_view text) {
    while (!text.empty() && text.front() <= L' ') text.remove_prefix(1);
    while (!text.empty() && text.back() <= L' ') text.remove_suffix(1);
    return text;
}

// The length of a leading "scheme:", or 0 when the text does not start with one.
size_t SchemeLength(std::wstring_view text) {
    if (text.empty() || !std::iswalpha(text[0])) return 0;
    for (size_t i = 1; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (c == L':') return i > 1 ? i : 0;   // a single letter is a drive, not a scheme
        if (!std::iswalnum(c) && c != L'+' && c != L'-' && c != L'.') return 0;
    }
    return 0;
}

std::wstring RemoveDotSegments(std::wstring_view path) {
    std::vector<std::wstring> segments;
    size_t start = path.empty() || path[0] != L'/' ? 0 : 1;
    bool trailingSlash = false;
    while (start <= path.size()) {
        size_t end = path.find(L'/', start);
        if (end == std::wstring_view::npos) end = path.size();
        const std::wstring_view segment = path.substr(start, end - start);
        trailingSlash = false;
        if (segment == L"..") {
            if (!segments.empty()) segments.pop_back();
            trailingSlash = true;
        } else if (segment == L".") {
            trailingSlash = true;
        } else {
            segments.emplace_back(segment);
        }
        start = end + 1;
    }
    std::wstring out;
    for (const auto& s : segments) out += L'/' + s;
    if (trailingSlash || out.empty()) out += L'/';
    return out;
}

// "/C:" of a file path on a drive; empty otherwise.
std::wstring_view DriveOf(std::wstring_view path) {
    const bool drive = path.size() >= 3 && path[0] == L'/' && std::iswalpha(path[1]) && (path[2] == L':' || path[2] == L'|') &&
                       (path.size() == 3 || path[3] == L'/');
    return drive ? path.substr(0, 3) : std::wstring_view();
}

// Dot segments resolved; a file path never climbs above its drive.
std::wstring NormalPath(const std::wstring& scheme, std::wstring_view path) {
    const std::wstring_view drive = scheme == L"file" ? DriveOf(path) : std::wstring_view();
    return std::wstring(drive) + RemoveDotSegments(path.substr(drive.size()));
}

// The browser reads backslashes in the path of a web address as slashes;
// the query and fragment keep theirs.
void SlashBackslashes(std::wstring& address) {
    const size_t end = std::min(address.find(L'?'), address.find(L'#'));
    for (size_t i = 0; i < address.size() && i < end; ++i) {
        if (address[i] == L'\\') address[i] = L'/';
    }
}

}  // namespace

bool ParseUrl(std::wstring_view url, UrlParts& parts) {
    url = Trim(url);
    const size_t schemeLength = SchemeLength(url);
    if (schemeLength == 0) return false;
    parts = UrlParts{};
    parts.scheme = Lower(url.substr(0, schemeLength));
    std::wstring rest(url.substr(schemeLength + 1));
    const bool web = parts.scheme == L"http" || parts.scheme == L"https" || parts.scheme == L"file";
    if (web) SlashBackslashes(rest);
    if (const size_t hash = rest.find(L'#'); hash != std::wstring::npos) {
        parts.fragment = rest.substr(hash);
        rest.resize(hash);
    }
    if (const size_t question = rest.find(L'?'); question != std::wstring::npos) {
        parts.query = rest.substr(question);
        rest.resize(question);
    }
    if (rest.rfind(L"//", 0) == 0) {
        parts.hierarchical = true;
        size_t authorityEnd = rest.find(L'/', 2);
        if (authorityEnd == std::wstring::npos) authorityEnd = rest.size();
        std::wstring authority = rest.substr(2, authorityEnd - 2);
        if (const size_t at = authority.rfind(L'@'); at != std::wstring::npos) authority.erase(0, at + 1);
        parts.path = rest.substr(authorityEnd);
        if (parts.scheme == L"file" && !DriveOf(L"/" + authority).empty()) {
            // "file://C:/x": the drive is part of the path, not a host.
            parts.path = L"/" + authority + parts.path;
            authority.clear();
        }
        // A port follows the last colon, outside an IPv6 address's brackets.
        if (const size_t colon = authority.rfind(L':'); colon != std::wstring::npos) {
            const size_t bracket = authority.rfind(L']');
            if (bracket == std::wstring::npos || bracket < colon) {
                parts.port = authority.substr(colon + 1);
                authority.resize(colon);
            }
        }
        parts.host = Lower(authority);
        if (parts.path.empty() && web) parts.path = L"/";
        if (!parts.path.empty()) parts.path = NormalPath(parts.scheme, parts.path);
    } else {
        parts.path = rest;
    }
    return true;
}

std::wstring JoinUrl(const UrlParts& parts) {
    std::wstring out = parts.scheme + L':';
    if (parts.hierarchical) {
        out += L"//" + parts.host;
        if (!parts.port.empty()) out += L':' + parts.port;
    }
    return out + parts.path + parts.query + parts.fragment;
}

std::wstring ResolveUrl(std::wstring_view base, std::wstring_view reference) {
    reference = Trim(reference);
    UrlParts target;
    if (ParseUrl(reference, target)) return JoinUrl(target);
    UrlParts baseParts;
    if (!ParseUrl(base, baseParts)) return std::wstring(reference);
    std::wstring ref(reference);
    if (baseParts.hierarchical) SlashBackslashes(ref);
    target = baseParts;
    target.fragment.clear();
    if (ref.empty()) return JoinUrl(target);
    if (ref.rfind(L"//", 0) == 0) {
        UrlParts network;
        ParseUrl(baseParts.scheme + L':' + ref, network);
        return JoinUrl(network);
    }
    std::wstring fragment, query;
    if (const size_t hash = ref.find(L'#'); hash != std::wstring::npos) {
        fragment = ref.substr(hash);
        ref.resize(hash);
    }
    if (const size_t question = ref.find(L'?'); question != std::wstring::npos) {
        query = ref.substr(question);
        ref.resize(question);
    }
    if (ref.empty()) {
        if (!query.empty()) target.query = query;
    } else {
        target.query = query;
        if (ref[0] == L'/') {
            // A path from the root of a file address stays on its drive.
            const std::wstring_view drive =
                baseParts.scheme == L"file" ? DriveOf(baseParts.path) : std::wstring_view();
            target.path = NormalPath(baseParts.scheme, std::wstring(drive) + ref);
        } else {
            const size_t lastSlash = baseParts.path.rfind(L'/');
            const std::wstring directory =
                lastSlash == std::wstring::npos ? L"/" : baseParts.path.substr(0, lastSlash + 1);
            target.path = baseParts.hierarchical ? NormalPath(baseParts.scheme, directory + ref) : directory + ref;
        }
    }
    target.fragment = fragment;
    return JoinUrl(target);
}

std::wstring UrlHost(std::wstring_view url) {
    UrlParts parts;
    return ParseUrl(url, parts) ? parts.host : std::wstring();
}

std::wstring UrlHostWithPort(const UrlParts& parts) {
    return parts.port.empty() ? parts.host : parts.host + L':' + parts.port;
}

std::string EncodeUrlForRequest(std::wstring_view url) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    const std::string bytes = EncodeCodePage(Trim(url), CP_UTF8);
    for (const char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if (c > 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return out;
}

std::wstring UrlWithoutFragment(std::wstring_view url) {
    const size_t hash = url.find(L'#');
    return std::wstring(hash == std::wstring_view::npos ? url : url.substr(0, hash));
}

}  // namespace corvalin::browser
