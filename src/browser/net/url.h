// Absolute URLs: splitting into parts and resolving a reference against a base,
// the way the browser resolves href, src, action and XMLHttpRequest addresses.
#pragma once
#include <string>
#include <string_view>

namespace corvalin::browser {

struct UrlParts {
    std::wstring scheme;     // lower case, without ":"
    std::wstring host;       // lower case
    std::wstring port;       // as written; empty when absent
    std::wstring path;       // begins with "/" for hierarchical URLs
    std::wstring query;      // with its "?"; empty when absent
    std::wstring fragment;   // with its "#"; empty when absent
    bool hierarchical = false;   // scheme followed by "//"
};

// Splits an absolute URL; false when it has no scheme.
bool ParseUrl(std::wstring_view url, UrlParts& parts);
std::wstring JoinUrl(const UrlParts& parts);
// Resolves `reference` against the absolute `base`; a reference that is
// already absolute is returned normalised.
std::wstring ResolveUrl(std::wstring_view base, std::wstring_view reference);
// Host name of an address, lower case, without user or port ("" when it has none).
std::wstring UrlHost(std::wstring_view url);
// "host:port" when a port is written, otherwise "host".
std::wstring UrlHostWithPort(const UrlParts& parts);
// The URL as WinINet takes it: ASCII, with other characters (and spaces) as
// UTF-8 percent escapes.
std::string EncodeUrlForRequest(std::wstring_view url);
// The URL without its fragment.
std::wstring UrlWithoutFragment(std::wstring_view url);

}  // namespace corvalin::browser
