#include "hang-service/session_table.h"

#include <algorithm>

#include "hang-service/captcha_picture.h"

namespace corvalin::hang {

SessionTable::SessionTable(SessionLimits limits) : limits_(limits) {
    std::random_device device;
    std::seed_seq seed{device(), device(), device(), device()};
    random_.seed(seed);
    limits_.maxSessions = std::max<std::size_t>(1, limits_.maxSessions);
}

void SessionTable::DropExpired(Millis now) {
    std::erase_if(sessions_, [&](const auto& entry) { return now - entry.second.lastSeen() > limits_.idle; });
}

std::string SessionTable::NewId() {
    static const char kHex[] = "0123456789abcdef";
    std::string id;
    do {
        id.clear();
        for (int i = 0; i < 2; ++i) {
            auto bits = random_();
            for (int j = 0; j < 16; ++j, bits >>= 4) id += kHex[bits & 15];
        }
    } while (sessions_.contains(id));
    return id;
}

std::string SessionTable::Create(Millis now) {
    std::lock_guard lock(mutex_);
    DropExpired(now);
    while (sessions_.size() >= limits_.maxSessions) {
        auto oldest = std::min_element(sessions_.begin(), sessions_.end(), [](const auto& a, const auto& b) {
            return a.second.lastSeen() < b.second.lastSeen();
        });
        sessions_.erase(oldest);
    }
    std::string id = NewId();
    sessions_.emplace(id, HangSession(now));
    return id;
}

bool SessionTable::Use(const std::string& id, Millis now,
                       const std::function<void(HangSession&)>& use) {
    std::lock_guard lock(mutex_);
    auto found = sessions_.find(id);
    if (found == sessions_.end()) return false;
    if (now - found->second.lastSeen() > limits_.idle) {
        sessions_.erase(found);
        return false;
    }
    found->second.Touch(now);
    use(found->second);
    return true;
}

void SessionTable::ForEach(Millis now,
                           const std::function<void(const std::string&, HangSession&)>& use) {
    std::lock_guard lock(mutex_);
    DropExpired(now);
    for (auto& [id, session] : sessions_) use(id, session);
}

std::size_t SessionTable::Count(Millis now) {
    std::lock_guard lock(mutex_);
    DropExpired(now);
    return sessions_.size();
}

std::string SessionTable::DrawCaptchaText() {
    std::lock_guard lock(mutex_);
    return RandomCaptchaText(random_);
}

}  // namespace corvalin::hang
