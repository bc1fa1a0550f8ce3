// An HTTP server on 127.0.0.1 and an ephemeral port, run on its own thread
// for the life of the object. Tests add routes before Start().
#pragma once
#include <httplib.h>

#include <memory>
#include <string>
#include <thread>

namespace corvalin::testing {

class LoopbackServer {
public:
    LoopbackServer() : server_(std::make_unique<httplib::Server>()) {}
    // Serves with a server of a kind of its own (routes added the same way).
    explicit LoopbackServer(std::unique_ptr<httplib::Server> server) : server_(std::move(server)) {}
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;
    ~LoopbackServer();

    httplib::Server& server() { return *server_; }
    // Binds and starts serving; returns the port (0 on failure).
    int Start();
    int port() const { return port_; }
    std::string Url(const std::string& pathAndQuery = "/") const;

private:
    std::unique_ptr<httplib::Server> server_;
    std::thread thread_;
    int port_ = 0;
};

// A port on 127.0.0.1 that nothing listens on (bound once, then closed).
int UnusedLoopbackPort();

// A client connection to 127.0.0.1 that sends exactly the bytes it is given,
// as slowly or as wrongly as a test likes.
class RawConnection {
public:
    explicit RawConnection(int port);
    RawConnection(const RawConnection&) = delete;
    RawConnection& operator=(const RawConnection&) = delete;
    ~RawConnection();

    bool connected() const { return connected_; }
    bool Send(const std::string& bytes);
    // Tells the server nothing more will come.
    void EndSending();
    // What the server sends until it closes the connection or `timeoutMs` passes.
    std::string ReadAll(int timeoutMs);

private:
    SOCKET socket_ = INVALID_SOCKET;
    bool connected_ = false;
};

}  // namespace corvalin::testing
