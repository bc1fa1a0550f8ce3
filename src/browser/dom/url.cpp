#include "browser/dom/url.h"

#include <vector>

#include "browser/dom/node.h"

namespace corvalin::browser::dom {

namespace {

struct UrlParts {
    std::wstring scheme;      // without ':'
    bool hasAuthority = false;
    std::wstring authority;
    std::wstring path;
    bool hasQuery = false;
    std::wstring query;
    bool hasFragment = false;
    std::wstring fragment;
};

bool IsSchemeChar(wchar_t c, bool first) {
    if ((c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z')) return true;
    return !first && ((c >= L'0' && c <= L'9') || c == L'+' || c == L'-' || c == L'.');
}

UrlParts Split(std::wstring_view s) {
    UrlParts p;
    std::size_t colon = s.find(L':');
    if (colon != std::wstring_view::npos && colon > 0) {
        bool scheme = true;
        for (std::size_t i = 0; i < colon; ++i) scheme = scheme && IsSchemeChar(s[i], i == 0);
        if (scheme) {
            p.scheme = LowerAscii(s.substr(0, colon));
            s.remove_prefix(colon + 1);
        }
    }
    if (std::size_t hash = s.find(L'#'); hash != std::wstring_view::npos) {
        p.hasFragment = true;
        p.fragment = std::wstring(s.substr(hash + 1));
        s = s.substr(0, hash);
    }
    if (std::size_t q = s.find(L'?'); q != std::wstring_view::npos) {
        p.hasQuery = true;
        p.query = std::wstring(s.substr(q + 1));
        s = s.substr(0, q);
    }
    if (s.size() >= 2 && (s[0] == L'/' || s[0] == L'\\') && (s[1] == L'/' || s[1] == L'\\')) {
        p.hasAuthority = true;
        s.remove_prefix(2);
        std::size_t end = s.find_first_of(L"/\\");
        p.authority = std::wstring(s.substr(0, end));
        s = end == std::wstring_view::npos ? std::wstring_view() : s.substr(end);
    }
    p.path = std::wstring(s);
    for (auto& c : p.path) {
        if (c == L'\\' && p.hasAuthority) c = L'/';
    }
    return p;
}

std::wstring RemoveDotSegments(std::wstring_view path) {
    std::vector<std::wstring> out;
    bool absolute = !path.empty() && path[0] == L'/';
    std::size_t start = absolute ? 1 : 0;
    bool trailingSlash = false;
    while (start <= path.size()) {
        std::size_t end = path.find(L'/', start);
        std::wstring_view seg = path.substr(start, end == std::wstring_view::npos ? std::wstring_view::npos : end - start);
        bool last = end == std::wstring_view::npos;
        trailingSlash = false;
        if (seg == L".") {
            trailingSlash = last;
        } else if (seg == L"..") {
            if (!out.empty()) out.pop_back();
            trailingSlash = last;
        } else {
            out.emplace_back(seg);
        }
        if (last) break;
        start = end + 1;
    }
    std::wstring result = absolute ? L"/" : L"";
    for (std::size_t i = 0; i < out.size(); ++i) {
        if (i) result += L'/';
        result += out[i];
    }
    if (trailingSlash && (result.empty() || result.back() != L'/')) result += L'/';
    return result;
}

std::wstring Join(const UrlParts& p) {
    std::wstring out;
    if (!p.scheme.empty()) out += p.scheme + L":";
    if (p.hasAuthority) out += L"//" + p.authority;
    out += p.path;
    if (p.hasQuery) out += L"?" + p.query;
    if (p.hasFragment) out += L"#" + p.fragment;
    return out;
}

std::wstring_view TrimSpaces(std::wstring_view s) {
    while (!s.empty() && (s.front() <= L' ')) s.remove_prefix(1);
    while (!s.empty() && (s.back() <= L' ')) s.remove_suffix(1);
    return s;
}

}  // namespace

std::wstring ResolveUrl(std::wstring_view base, std::wstring_view reference) {
    reference = TrimSpaces(reference);
    UrlParts r = Split(reference);
    UrlParts b = Split(base);
    if (!r.scheme.empty()) {
        // "http:foo" on an http page is relative in browsers; other schemes stand alone.
        if (r.scheme != b.scheme || r.hasAuthority || !b.hasAuthority) {
            if (r.hasAuthority) {
                if (r.path.empty()) r.path = L"/";
                r.path = RemoveDotSegments(r.path);
            }
            return Join(r);
        }
        r.scheme.clear();
    }
    UrlParts t;
    t.scheme = b.scheme;
    if (r.hasAuthority) {
        t.hasAuthority = true;
        t.authority = r.authority;
        t.path = RemoveDotSegments(r.path.empty() ? L"/" : r.path);
        t.hasQuery = r.hasQuery;
        t.query = r.query;
    } else {
        t.hasAuthority = b.hasAuthority;
        t.authority = b.authority;
        if (r.path.empty()) {
            t.path = b.path;
            t.hasQuery = r.hasQuery || b.hasQuery;
            t.query = r.hasQuery ? r.query : b.query;
        } else {
            if (r.path[0] == L'/') {
                t.path = RemoveDotSegments(r.path);
            } else {
                std::wstring merged;
                if (b.hasAuthority && b.path.empty()) {
                    merged = L"/" + r.path;
                } else {
                    std::size_t slash = b.path.rfind(L'/');
                    merged = (slash == std::wstring::npos ? L"" : b.path.substr(0, slash + 1)) + r.path;
                }
                t.path = RemoveDotSegments(merged);
            }
            t.hasQuery = r.hasQuery;
            t.query = r.query;
        }
    }
    if (t.hasAuthority && t.path.empty()) t.path = L"/";
    t.hasFragment = r.hasFragment;
    t.fragment = r.fragment;
    return Join(t);
}

std::wstring UrlHost(std::wstring_view url) {
    UrlParts p = Split(url);
    if (!p.hasAuthority) return {};
    std::wstring host = p.authority;
    if (std::size_t at = host.rfind(L'@'); at != std::wstring::npos) host.erase(0, at + 1);
    if (!host.empty() && host[0] == L'[') {
        std::size_t close = host.find(L']');
        return LowerAscii(host.substr(0, close == std::wstring::npos ? host.size() : close + 1));
    }
    if (std::size_t colon = host.find(L':'); colon != std::wstring::npos) host.erase(colon);
    return LowerAscii(host);
}

}  // namespace corvalin::browser::dom
