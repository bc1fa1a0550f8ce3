// One HTTP exchange over WinINet, run to completion on the calling thread.
// Every page load, form post, external script and XMLHttpRequest goes through
// here, so they all share WinINet's per-process cookie store with any other
// WinINet user of the program.
#pragma once
#include <atomic>
#include <string>
#include <utility>
#include <vector>

#include "base/text.h"

namespace corvalin::browser {

struct HttpRequest {
    std::string method = "GET";
    std::string url;                 // absolute http or https URL
    std::vector<std::pair<std::string, std::string>> headers;
    Bytes body;
    std::string referrer;
};

struct HttpResponse {
    bool completed = false;          // a response arrived and its body was read to the end
    int status = 0;                  // 0 when no response arrived
    std::string statusText;
    std::string finalUrl;            // after redirects
    std::string rawHeaders;          // the header block, lines separated by CR LF
    std::string contentType;
    Bytes body;
    std::string error;               // why the exchange failed, for traces and tests

    // The value of a response header, case-insensitive; empty when absent.
    std::string Header(std::string_view name) const;
};

// Bodies above this are cut off there; the response counts as completed.
constexpr size_t kMaxBodyBytes = 64u << 20;

// The user agent the engine announces.
const char* UserAgent();

// Runs the exchange, following redirects. `cancel`, when given and set, makes
// the read stop early.
HttpResponse Fetch(const HttpRequest& request, const std::atomic<bool>* cancel = nullptr);

// To be called when a cookie was stored in WinINet other than by Fetch
// (document.cookie), so the next request sends it.
void CookiesChanged();

}  // namespace corvalin::browser
