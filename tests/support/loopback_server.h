// An HTTP server on 127.0.0.1 and an ephemeral port, run on its own thread
// for the life of the object. Tests add routes before Start().
#pragma once
#include <httplib.h>

#include <string>
#include <thread>

namespace corvalin::testing {

class LoopbackServer {
public:
    LoopbackServer() = default;
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;
    ~LoopbackServer();

    httplib::Server& server() { return server_; }
    // Binds and starts serving; returns the port (0 on failure).
    int Start();
    int port() const { return port_; }
    std::string Url(const std::string& pathAndQuery = "/") const;

private:
    httplib::Server server_;
    std::thread thread_;
    int port_ = 0;
};

// A port on 127.0.0.1 that nothing listens on (bound once, then closed).
int UnusedLoopbackPort();

}  // namespace corvalin::testing
