// A blocking HTTP download over WinINet, sharing the process's cookie store
// with the browser box.
#pragma once
#include <string>

#include "base/text.h"

namespace corvalin::shell {

// The body whatever the status code; empty when the address cannot be
// parsed, the connection or request fails, or the body is empty.
Bytes DownloadBytes(const std::string& url);

}  // namespace corvalin::shell
