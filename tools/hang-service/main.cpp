// hang-service.exe: the local hang service on 127.0.0.1.
//   hang-service [--port N] [--port-file PATH] [--test-control]
//                [--idle-seconds N] [--max-sessions N]
// --port 0 takes any free port; --port-file receives the port once it listens.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "hang-service/hang_service.h"
#include "hang-service/service_server.h"

namespace {

struct CommandLine {
    int port = CORVALIN_HANG_SERVICE_PORT;
    std::string portFile;
    corvalin::hang::ServiceOptions options;
    bool valid = true;
};

bool ReadNumber(const char* text, long long low, long long high, long long& value) {
    char* end = nullptr;
    value = std::strtoll(text, &end, 10);
    return end != text && *end == 0 && value >= low && value <= high;
}

CommandLine ParseCommandLine(int argc, char** argv) {
    CommandLine line;
    for (int i = 1; i < argc && line.valid; ++i) {
        const std::string name = argv[i];
        const char* next = i + 1 < argc ? argv[i + 1] : nullptr;
        long long number = 0;
        if (name == "--test-control") {
            line.options.testControl = true;
        } else if (name == "--port" && next && ReadNumber(next, 0, 65535, number)) {
            line.port = static_cast<int>(number), ++i;
        } else if (name == "--port-file" && next) {
            line.portFile = next, ++i;
        } else if (name == "--idle-seconds" && next && ReadNumber(next, 1, 7 * 24 * 3600, number)) {
            line.options.limits.idle = number * 1000, ++i;
        } else if (name == "--max-sessions" && next && ReadNumber(next, 1, 100000, number)) {
            line.options.limits.maxSessions = static_cast<std::size_t>(number), ++i;
        } else {
            std::fprintf(stderr, "hang-service: bad argument %s\n", name.c_str());
            line.valid = false;
        }
    }
    return line;
}

}  // namespace

int main(int argc, char** argv) {
    CommandLine line = ParseCommandLine(argc, argv);
    if (!line.valid) {
        std::fprintf(stderr,
                     "usage: hang-service [--port N] [--port-file PATH] [--test-control] "
                     "[--idle-seconds N] [--max-sessions N]\n");
        return 2;
    }
    line.options.log = [](const std::string& text) {
        std::printf("%s\n", text.c_str());
        std::fflush(stdout);
    };
    corvalin::hang::HangService service(line.options);
    corvalin::hang::ServiceServer server;
    service.Install(server);

    const int port = line.port == 0 ? server.bind_to_any_port("127.0.0.1")
                                    : (server.bind_to_port("127.0.0.1", line.port) ? line.port : -1);
    if (port <= 0) {
        std::fprintf(stderr, "hang-service: cannot listen on 127.0.0.1:%d\n", line.port);
        return 1;
    }
    if (!line.portFile.empty()) {
        // Written beside and renamed, so a reader never sees half a number.
        const std::string partial = line.portFile + ".partial";
        { std::ofstream(partial, std::ios::binary) << port << "\n"; }
        std::remove(line.portFile.c_str());
        std::rename(partial.c_str(), line.portFile.c_str());
    }
    std::printf("hang-service listening on http://127.0.0.1:%d/%s\n", port,
                line.options.testControl ? " (test control on)" : "");
    std::fflush(stdout);
    return server.listen_after_bind() ? 0 : 1;
}
