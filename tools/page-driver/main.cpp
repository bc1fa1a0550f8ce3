// page-driver.exe: the page toolkit without writing C++. See HelpText().
#include <windows.h>
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstring>
#include <deque>
#include <fstream>
#include <iostream>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "base/unique.h"
#include "page_driver.h"

namespace {

// Script lines read on a thread of their own, so the page stays alive (its
// timers, loads and requests run) while the driver waits for the next line.
class LineReader {
public:
    explicit LineReader(std::istream& input) : ready_(CreateEventA(nullptr, FALSE, FALSE, nullptr)) {
        std::thread([this, &input] {
            std::string line;
            while (std::getline(input, line)) Push(line);
            Push(std::nullopt);
        }).detach();   // it may stay blocked in a read when the script ends with quit
    }
    HANDLE ready() const { return ready_.get(); }

    // The next line, nothing when none has arrived yet; `ended` once the input is exhausted.
    std::optional<std::string> Take(bool& ended) {
        std::lock_guard<std::mutex> lock(mutex_);
        if (lines_.empty()) return std::nullopt;
        std::optional<std::string> line = std::move(lines_.front());
        lines_.pop_front();
        if (!line) ended = true;
        else if (!lines_.empty()) SetEvent(ready_.get());
        return line;
    }

private:
    void Push(std::optional<std::string> line) {
        std::lock_guard<std::mutex> lock(mutex_);
        lines_.push_back(std::move(line));
        SetEvent(ready_.get());
    }

    corvalin::UniqueHandle ready_;
    std::mutex mutex_;
    std::deque<std::optional<std::string>> lines_;
};

void DispatchPendingMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

}  // namespace

int main(int argc, char** argv) {
    bool visible = false;
    const char* scriptPath = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0) {
            std::fputs(corvalin::page_driver::HelpText().c_str(), stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--visible") == 0) visible = true;
        else scriptPath = argv[i];
    }
    // Answers end in "\n" alone, in UTF-8.
    _setmode(_fileno(stdout), _O_BINARY);
    SetConsoleOutputCP(CP_UTF8);
    std::ifstream scriptFile;
    if (scriptPath) {
        scriptFile.open(scriptPath, std::ios::binary);
        if (!scriptFile) {
            std::fprintf(stderr, "page-driver: cannot read %s\n", scriptPath);
            return 1;
        }
    }
    // The reader outlives everything else: its thread may still be blocked in a read at the end.
    LineReader& reader = *new LineReader(scriptPath ? static_cast<std::istream&>(scriptFile) : std::cin);
    int exitCode = 0;
    {
        corvalin::page_driver::PageDriver driver(visible);
        if (!driver.ready()) {
            std::fputs("page-driver: the browser box could not be created\n", stderr);
            std::_Exit(1);
        }
        bool ended = false;
        while (!driver.finished() && !ended) {
            const HANDLE ready = reader.ready();
            MsgWaitForMultipleObjects(1, &ready, FALSE, INFINITE, QS_ALLINPUT);
            DispatchPendingMessages();
            if (const std::optional<std::string> line = reader.Take(ended)) {
                const std::string answer = driver.Run(*line);
                // One line per answer, at once, so a caller can read as it writes.
                std::fwrite(answer.data(), 1, answer.size(), stdout);
                std::fflush(stdout);
            }
        }
        exitCode = driver.failed() ? 1 : 0;
    }
    std::fflush(stdout);
    // Without waiting for the reader's thread.
    std::_Exit(exitCode);
}
