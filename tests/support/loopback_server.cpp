#include "support/loopback_server.h"

#include <winsock2.h>

namespace corvalin::testing {

LoopbackServer::~LoopbackServer() {
    server_->stop();
    if (thread_.joinable()) thread_.join();
}

int LoopbackServer::Start() {
    port_ = server_->bind_to_any_port("127.0.0.1");
    if (port_ <= 0) return port_ = 0;
    thread_ = std::thread([this] { server_->listen_after_bind(); });
    while (!server_->is_running()) Sleep(1);
    return port_;
}

std::string LoopbackServer::Url(const std::string& pathAndQuery) const {
    return "http://127.0.0.1:" + std::to_string(port_) + pathAndQuery;
}

int UnusedLoopbackPort() {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    int port = 0;
    if (bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
        int length = sizeof address;
        getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
        port = ntohs(address.sin_port);
    }
    closesocket(s);
    return port;
}

RawConnection::RawConnection(int port) {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    socket_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<u_short>(port));
    connected_ = socket_ != INVALID_SOCKET &&
                 connect(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
}

RawConnection::~RawConnection() {
    if (socket_ != INVALID_SOCKET) closesocket(socket_);
}

bool RawConnection::Send(const std::string& bytes) {
    std::size_t sent = 0;
    while (connected_ && sent < bytes.size()) {
        const int n = send(socket_, bytes.data() + sent, static_cast<int>(bytes.size() - sent), 0);
        if (n <= 0) return false;
        sent += static_cast<std::size_t>(n);
    }
    return connected_;
}

void RawConnection::EndSending() {
    if (connected_) shutdown(socket_, SD_SEND);
}

std::string RawConnection::ReadAll(int timeoutMs) {
    std::string answer;
    if (!connected_) return answer;
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
    for (;;) {
        const ULONGLONG now = GetTickCount64();
        if (now >= end) break;
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(socket_, &readable);
        timeval wait{static_cast<long>((end - now) / 1000), static_cast<long>((end - now) % 1000 * 1000)};
        if (select(0, &readable, nullptr, nullptr, &wait) <= 0) break;
        char buffer[4096];
        const int n = recv(socket_, buffer, sizeof buffer, 0);
        if (n <= 0) break;
        answer.append(buffer, static_cast<std::size_t>(n));
    }
    return answer;
}

}  // namespace corvalin::testing
