// The HTTP server under the hang service: httplib's routing and responses,
// with connections read by a loop of our own so that no client can stall the
// others. A request (head and body) must arrive whole within a deadline; its
// Content-Length must be a plain number within the body limit; requests sent
// back to back on one connection are answered in order; connections are
// served by a pool that grows on demand up to a bound.
#pragma once
#include <httplib.h>

#include <cstddef>

namespace corvalin::hang {

struct ServerLimits {
    int requestDeadlineMs = 10000;   // from a request's first byte to its last
    int idleMs = 5000;               // a kept-alive connection waits this long for the next request
    int writeTimeoutMs = 5000;       // each wait for the client to take response bytes
    std::size_t maxRequestsPerConnection = 100;
    std::size_t maxWorkers = 128;    // connections served at once; later ones wait their turn
    std::size_t maxHeadBytes = 16 * 1024;
    std::size_t maxBodyBytes = 64 * 1024;
};

class ServiceServer : public httplib::Server {
public:
    explicit ServiceServer(ServerLimits limits = {});

private:
    bool process_and_close_socket(socket_t sock) override;

    ServerLimits limits_;
};

}  // namespace corvalin::hang
