// Files of the local machine: upload parts and pages loaded from file: addresses.
#pragma once
#include <string>
#include <string_view>

#include "base/text.h"
#include "browser/net/http_client.h"

namespace corvalin::browser {

// The whole file, empty when it cannot be read or is larger than a page may be.
Bytes ReadLocalFile(const std::wstring& path);
// A file: address reads the file itself (status 200, or 404 when it cannot
// be read); everything else goes over WinINet.
HttpResponse FetchAddress(const HttpRequest& request);
// The path of a file: address ("file:///Z:/tmp/a%20b.html" is "Z:\tmp\a b.html").
std::wstring FileUrlToPath(std::wstring_view url);

}  // namespace corvalin::browser
