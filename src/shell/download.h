// An HTTP download over WinINet, sharing the process's cookie store with the
// browser box.
#pragma once
#include <string>

#include "base/text.h"

namespace corvalin::shell {

// How long a download may take before it gives up: connect, send and each
// receive wait, and the whole exchange as the caller sees it.
inline constexpr int kDownloadDeadlineMs = 10000;

// The body whatever the status code; empty when the address cannot be
// parsed, the connection or request fails, the deadline passes, or the body
// is empty. The caller waits for it: windows are brought up to date first,
// and while the transfer runs on a worker thread the calling thread goes on
// painting and handling timers, posted and sent messages, but keyboard and
// mouse input stays queued until the call returns.
Bytes DownloadBytes(const std::string& url, int deadlineMs = kDownloadDeadlineMs);

}  // namespace corvalin::shell
