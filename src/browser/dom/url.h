// Addresses: resolving a reference against a base address, and the host part.
#pragma once
#include <string>
#include <string_view>

namespace corvalin::browser::dom {

// `reference` resolved against the absolute address `base` ("../a.php?x=1"
// against "http://h/p/q.html" gives "http://h/a.php?x=1"). A reference with a
// scheme of its own ("javascript:", "mailto:", "http:") is returned as given.
std::wstring ResolveUrl(std::wstring_view base, std::wstring_view reference);

// Host name of an address, lower case, without port ("" when it has none).
std::wstring UrlHost(std::wstring_view url);

}  // namespace corvalin::browser::dom
