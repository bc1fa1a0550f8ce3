#include "hang-service/service_server.h"

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace corvalin::hang {

namespace {

// Threads are started when every one is busy, up to a bound: a handful of
// slow connections never leaves the rest waiting for a free worker.
class GrowingPool : public httplib::TaskQueue {
public:
    explicit GrowingPool(std::size_t maxThreads) : maxThreads_(maxThreads) {}

    void enqueue(std::function<void()> task) override {
        std::lock_guard lock(mutex_);
        tasks_.push_back(std::move(task));
        if (idle_ < tasks_.size() && threads_.size() < maxThreads_) threads_.emplace_back([this] { Work(); });
        wake_.notify_one();
    }

    void shutdown() override {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        wake_.notify_all();
        for (auto& thread : threads_) thread.join();
    }

private:
    void Work() {
        std::unique_lock lock(mutex_);
        for (;;) {
            ++idle_;
            wake_.wait(lock, [this] { return stopping_ || !tasks_.empty(); });
            --idle_;
            if (tasks_.empty()) return;   // stopping, nothing left
            std::function<void()> task = std::move(tasks_.front());
            tasks_.pop_front();
            lock.unlock();
            task();
            lock.lock();
        }
    }

    const std::size_t maxThreads_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::function<void()>> tasks_;
    std::vector<std::thread> threads_;
    std::size_t idle_ = 0;
    bool stopping_ = false;
};

ULONGLONG Now() { return GetTickCount64(); }

constexpr ULONGLONG kDrainMs = 1000;

// Why a connection's next request could not be read.
enum class ReadOutcome { Request, Closed, TimedOut, BadLength, TooLarge, HeadTooLarge, LengthRequired };

int StatusOf(ReadOutcome outcome) {
    switch (outcome) {
    case ReadOutcome::TimedOut: return 408;
    case ReadOutcome::BadLength: return 400;
    case ReadOutcome::TooLarge: return 413;
    case ReadOutcome::HeadTooLarge: return 431;
    case ReadOutcome::LengthRequired: return 411;
    default: return 0;
    }
}

bool NameIs(std::string_view line, std::string_view name) {
    if (line.size() <= name.size() || line[name.size()] != ':') return false;
    for (std::size_t i = 0; i < name.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(line[i])) != name[i]) return false;
    return true;
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) text.remove_suffix(1);
    return text;
}

// The body length a request head announces: 0 without one, nullopt for a
// value that is not a plain decimal number or two that disagree.
std::optional<std::size_t> BodyLength(std::string_view head, std::size_t limit, bool& tooLarge, bool& chunked) {
    std::optional<std::size_t> length;
    std::size_t at = head.find("\r\n");
    while (at != std::string_view::npos && at + 2 < head.size()) {
        const std::size_t end = head.find("\r\n", at + 2);
        const std::string_view line = head.substr(at + 2, (end == std::string_view::npos ? head.size() : end) - at - 2);
        at = end;
        if (NameIs(line, "transfer-encoding")) chunked = true;
        if (!NameIs(line, "content-length")) continue;
        const std::string_view value = Trimmed(line.substr(15));
        if (value.empty() || value.size() > 18 || value.find_first_not_of("0123456789") != std::string_view::npos)
            return std::nullopt;
        const std::size_t parsed = std::stoull(std::string(value));
        if (length && *length != parsed) return std::nullopt;
        length = parsed;
    }
    if (length && *length > limit) tooLarge = true;
    return length.value_or(0);
}

// One connection's bytes: requests are cut out of it whole, so those a client
// sent back to back wait here for their turn.
class ConnectionReader {
public:
    ConnectionReader(socket_t socket, const ServerLimits& limits) : socket_(socket), limits_(limits) {}

    // Waits up to `idleMs` for a request to begin, then up to the request
    // deadline for the rest of it.
    ReadOutcome Next(int idleMs, std::string& request) {
        // Empty lines before a request line are allowed and skipped.
        auto skipBlankLines = [&] {
            while (buffer_.rfind("\r\n", 0) == 0) buffer_.erase(0, 2);
        };
        skipBlankLines();
        if (buffer_.empty() && !Fill(Now() + static_cast<ULONGLONG>(idleMs))) return ReadOutcome::Closed;
        const ULONGLONG deadline = Now() + static_cast<ULONGLONG>(limits_.requestDeadlineMs);
        std::size_t headEnd;
        for (;;) {
            skipBlankLines();
            headEnd = buffer_.find("\r\n\r\n");
            if (headEnd != std::string::npos) break;
            if (buffer_.size() > limits_.maxHeadBytes) return ReadOutcome::HeadTooLarge;
            if (!Fill(deadline)) return buffer_.empty() ? ReadOutcome::Closed : ReadOutcome::TimedOut;
        }
        headEnd += 4;
        if (headEnd > limits_.maxHeadBytes) return ReadOutcome::HeadTooLarge;
        bool tooLarge = false, chunked = false;
        const std::optional<std::size_t> length =
            BodyLength(std::string_view(buffer_).substr(0, headEnd - 2), limits_.maxBodyBytes, tooLarge, chunked);
        if (!length) return ReadOutcome::BadLength;
        if (chunked) return ReadOutcome::LengthRequired;
        if (tooLarge) return ReadOutcome::TooLarge;
        while (buffer_.size() < headEnd + *length) {
            if (!Fill(deadline)) return ReadOutcome::TimedOut;
        }
        request = buffer_.substr(0, headEnd + *length);
        buffer_.erase(0, headEnd + *length);
        return ReadOutcome::Request;
    }

    // Reads and drops whatever arrives until the client stops sending or the deadline.
    void Drain(ULONGLONG deadline) {
        while (Fill(deadline)) buffer_.clear();
    }

private:
    // One read of what the client has sent; false at the deadline, at the
    // end of the stream or on an error.
    bool Fill(ULONGLONG deadline) {
        const ULONGLONG now = Now();
        if (now >= deadline) return false;
        const ULONGLONG wait = deadline - now;
        if (httplib::detail::select_read(socket_, static_cast<time_t>(wait / 1000),
                                         static_cast<time_t>(wait % 1000 * 1000)) <= 0)
            return false;
        char chunk[4096];
        const ssize_t got = httplib::detail::read_socket(socket_, chunk, sizeof chunk, 0);
        if (got <= 0) return false;
        buffer_.append(chunk, static_cast<std::size_t>(got));
        return true;
    }

    socket_t socket_;
    const ServerLimits& limits_;
    std::string buffer_;
};

// One request's bytes for httplib to parse, its response going straight to the client.
class RequestStream : public httplib::Stream {
public:
    RequestStream(socket_t socket, const std::string& request, int writeTimeoutMs)
        : socket_(socket), request_(request), writeTimeoutMs_(writeTimeoutMs) {}

    bool is_readable() const override { return true; }
    bool is_writable() const override {
        return httplib::detail::select_write(socket_, writeTimeoutMs_ / 1000, writeTimeoutMs_ % 1000 * 1000) > 0;
    }
    ssize_t read(char* out, size_t size) override {
        const std::size_t n = std::min(size, request_.size() - offset_);
        std::copy_n(request_.data() + offset_, n, out);
        offset_ += n;
        return static_cast<ssize_t>(n);
    }
    // Collected and sent whole by Flush: a response written in pieces would
    // wait on the client's delayed acknowledgements between them.
    ssize_t write(const char* data, size_t size) override {
        response_.append(data, size);
        return static_cast<ssize_t>(size);
    }
    bool Flush() {
        std::size_t sent = 0;
        while (sent < response_.size()) {
            if (!is_writable()) return false;
            const ssize_t n = httplib::detail::send_socket(socket_, response_.data() + sent, response_.size() - sent, 0);
            if (n <= 0) return false;
            sent += static_cast<std::size_t>(n);
        }
        response_.clear();
        return true;
    }
    void get_remote_ip_and_port(std::string& ip, int& port) const override {
        httplib::detail::get_remote_ip_and_port(socket_, ip, port);
    }
    void get_local_ip_and_port(std::string& ip, int& port) const override {
        httplib::detail::get_local_ip_and_port(socket_, ip, port);
    }
    socket_t socket() const override { return socket_; }

private:
    socket_t socket_;
    const std::string& request_;
    std::size_t offset_ = 0;
    std::string response_;
    int writeTimeoutMs_;
};

void Answer(socket_t socket, int status, int writeTimeoutMs) {
    const std::string text = std::string(httplib::detail::status_message(status));
    const std::string response = "HTTP/1.1 " + std::to_string(status) + " " + text +
                                 "\r\nContent-Type: text/plain\r\nContent-Length: " + std::to_string(text.size()) +
                                 "\r\nConnection: close\r\n\r\n" + text;
    const std::string none;
    RequestStream stream(socket, none, writeTimeoutMs);
    stream.write(response.data(), response.size());
    stream.Flush();
}

}  // namespace

ServiceServer::ServiceServer(ServerLimits limits) : limits_(limits) {
    new_task_queue = [max = limits_.maxWorkers] { return new GrowingPool(max); };
    set_payload_max_length(limits_.maxBodyBytes);
    // The accept loop wakes on every idle interval only to call the pool's
    // idle hook, which it does not use; at the default 10 ms those wake-ups
    // cost an idle service over 1% of a core under Wine.
    set_idle_interval(0, 250000);
}

bool ServiceServer::process_and_close_socket(socket_t sock) {
    ConnectionReader reader(sock, limits_);
    bool answered = false;
    for (std::size_t count = 0; count < limits_.maxRequestsPerConnection && svr_sock_ != INVALID_SOCKET; ++count) {
        std::string request;
        const ReadOutcome outcome = reader.Next(count == 0 ? limits_.requestDeadlineMs : limits_.idleMs, request);
        if (outcome == ReadOutcome::Closed) break;
        if (outcome != ReadOutcome::Request) {
            Answer(sock, StatusOf(outcome), limits_.writeTimeoutMs);
            // What the client is still sending is read and dropped for a
            // moment, so that closing does not reset the connection under
            // the answer before the client has read it.
            shutdown(sock, SD_SEND);
            reader.Drain(Now() + kDrainMs);
            break;
        }
        RequestStream stream(sock, request, limits_.writeTimeoutMs);
        bool closed = false;
        const bool last = count + 1 == limits_.maxRequestsPerConnection;
        answered = process_request(stream, last, closed, nullptr);
        if (!stream.Flush() || !answered || closed) break;
    }
    httplib::detail::shutdown_socket(sock);
    httplib::detail::close_socket(sock);
    return answered;
}

}  // namespace corvalin::hang
