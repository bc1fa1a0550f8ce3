// The hang service's visitors by session id: created on a first visit,
// forgotten after a spell of idleness, never more than a fixed number.
// Safe to use from the HTTP server's worker threads.
#pragma once
#include <cstddef>
#include <functional>
#include <map>
#include <mutex>
#include <random>
#include <string>
#include <vector>

#include "hang-service/hang_session.h"

namespace corvalin::hang {

struct SessionLimits {
    std::size_t maxSessions = 256;
    Millis idle = 30 * 60 * 1000;
};

class SessionTable {
public:
    explicit SessionTable(SessionLimits limits = {});

    // A fresh session; makes room by dropping expired ones, then the least recently seen.
    std::string Create(Millis now);
    // Runs `use` on a live session (and marks it seen); false when the id is unknown or expired.
    bool Use(const std::string& id, Millis now, const std::function<void(HangSession&)>& use);
    // Runs `use` on every live session, without marking them seen.
    void ForEach(Millis now, const std::function<void(const std::string&, HangSession&)>& use);
    std::size_t Count(Millis now);

    // Random draws for captcha texts, shared under the table's lock.
    std::string DrawCaptchaText();

private:
    void DropExpired(Millis now);
    std::string NewId();

    SessionLimits limits_;
    std::mutex mutex_;
    std::map<std::string, HangSession> sessions_;
    std::mt19937_64 random_;
};

}  // namespace corvalin::hang
