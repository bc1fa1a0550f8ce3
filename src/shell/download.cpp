#include "shell/download.h"

#include <windows.h>
#include <wininet.h>

#include <cstdlib>
#include <memory>
#include <thread>
#include <utility>

#include "base/http_address.h"
#include "base/unique.h"

namespace corvalin::shell {
namespace {

constexpr char kUserAgent[] = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";
constexpr DWORD kLargeChunk = 102400;
constexpr DWORD kUnknownLengthChunk = 10240;

// Content-Length, or -1 when the response has none.
long long ContentLength(HINTERNET request) {
    char buffer[32] = {};
    DWORD size = sizeof buffer;
    if (!HttpQueryInfoA(request, HTTP_QUERY_CONTENT_LENGTH, buffer, &size, nullptr)) return -1;
    char* end = nullptr;
    const long long length = std::strtoll(buffer, &end, 10);
    return end != buffer && length >= 0 ? length : -1;
}

// Every wait of the exchange ends: a server that accepts and never answers
// would otherwise hold the request for as long as the connection lives.
void SetTimeouts(HINTERNET handle, int timeoutMs) {
    DWORD value = static_cast<DWORD>(timeoutMs);
    for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT,
                         INTERNET_OPTION_RECEIVE_TIMEOUT, INTERNET_OPTION_DATA_SEND_TIMEOUT,
                         INTERNET_OPTION_DATA_RECEIVE_TIMEOUT}) {
        InternetSetOptionA(handle, option, &value, sizeof value);
    }
}

Bytes Fetch(const HttpAddress& target, int timeoutMs) {
    UniqueInternetHandle internet(InternetOpenA(kUserAgent, INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
    if (!internet) return {};
    SetTimeouts(internet.get(), timeoutMs);
    UniqueInternetHandle connection(InternetConnectA(internet.get(), target.host.c_str(), target.port, nullptr,
                                                     nullptr, INTERNET_SERVICE_HTTP, 0, 0));
    if (!connection) return {};
    SetTimeouts(connection.get(), timeoutMs);
    const char* acceptTypes[] = {"*/*", nullptr};
    DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE;
    if (target.secure) flags |= INTERNET_FLAG_SECURE;
    UniqueInternetHandle request(HttpOpenRequestA(connection.get(), "GET", target.pathAndQuery.c_str(), "HTTP/1.0",
                                                  nullptr, acceptTypes, flags, 0));
    if (!request) return {};
    SetTimeouts(request.get(), timeoutMs);
    static const char kHeaders[] = "Accept: */*\r\n\r\n";
    if (!HttpSendRequestA(request.get(), kHeaders, sizeof kHeaders - 1, nullptr, 0)) return {};

    const long long length = ContentLength(request.get());
    DWORD chunk = kUnknownLengthChunk;
    if (length >= 0) chunk = length + 1 <= kLargeChunk ? static_cast<DWORD>(length + 1) : kLargeChunk;

    Bytes body;
    Bytes buffer(chunk);
    for (;;) {
        DWORD read = 0;
        if (!InternetReadFile(request.get(), buffer.data(), chunk, &read)) return {};
        if (read == 0) break;
        body.insert(body.end(), buffer.begin(), buffer.begin() + read);
    }
    return body;
}

// Shared by the caller and the worker: a caller that gave up leaves the
// worker to finish into it alone.
struct Transfer {
    UniqueHandle done{CreateEventA(nullptr, TRUE, FALSE, nullptr)};
    Bytes body;
};

// Message ranges without keyboard and mouse input, which waits for the call
// to return as it would behind a blocking call.
constexpr std::pair<UINT, UINT> kNonInputRanges[] = {
    {0, WM_NCMOUSEMOVE - 1},
    {WM_NCXBUTTONDBLCLK + 1, WM_KEYFIRST - 1},
    {WM_KEYLAST + 1, WM_MOUSEFIRST - 1},
    {WM_MOUSELAST + 1, 0xFFFFFFFFu},
};

// False once WM_QUIT was seen (it is posted again for the loop that owns it).
bool DispatchNonInput() {
    MSG message;
    for (const auto& [first, last] : kNonInputRanges) {
        while (PeekMessageA(&message, nullptr, first, last, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(message.wParam));
                return false;
            }
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    return true;
}

BOOL CALLBACK PaintNow(HWND window, LPARAM) {
    if (IsWindowVisible(window)) RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    return TRUE;
}

}  // namespace

Bytes DownloadBytes(const std::string& url, int deadlineMs) {
    HttpAddress target;
    if (!CrackHttpAddress(url, target)) return {};
    // What the caller changed just before (a new layout) is on the screen
    // before the wait begins.
    EnumThreadWindows(GetCurrentThreadId(), PaintNow, 0);

    auto transfer = std::make_shared<Transfer>();
    if (!transfer->done) return {};
    try {
        std::thread([transfer, target, deadlineMs] {
            transfer->body = Fetch(target, deadlineMs);
            SetEvent(transfer->done.get());
        }).detach();
    } catch (...) {
        return {};
    }

    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(deadlineMs);
    HANDLE done = transfer->done.get();
    bool pumping = true;
    for (;;) {
        const ULONGLONG now = GetTickCount64();
        if (now >= end) return {};
        const DWORD wait = static_cast<DWORD>(end - now);
        const DWORD woke = pumping ? MsgWaitForMultipleObjects(1, &done, FALSE, wait,
                                                               QS_PAINT | QS_TIMER | QS_POSTMESSAGE | QS_SENDMESSAGE)
                                   : WaitForSingleObject(done, wait);
        if (woke == WAIT_OBJECT_0) return std::move(transfer->body);
        if (woke == WAIT_TIMEOUT || woke == WAIT_FAILED) return {};
        pumping = DispatchNonInput();
    }
}

}  // namespace corvalin::shell
