// An http or https address cracked into what WinINet's connect and request
// calls take. One reader for the browser's fetches and the shell's download.
#pragma once
#include <windows.h>
#include <wininet.h>

#include <string>

namespace corvalin {

struct HttpAddress {
    std::string host;
    INTERNET_PORT port = 0;
    std::string pathAndQuery;   // never empty: "/" for a bare host; no fragment
    bool secure = false;
};

// False for anything but an http or https address with a host.
bool CrackHttpAddress(const std::string& url, HttpAddress& out);

}  // namespace corvalin
