#include "skin/skin_properties.h"

#include <cstdint>
#include <cstring>
#include <iterator>
#include <mutex>
#include <unordered_map>

namespace corvalin {

namespace {

constexpr const char* kKeptNames[] = {kPropListId,       kPropOwnerId,       kPropPreviousProc,
                                      kPropStaticListId, kPropStaticOwnerId, kPropStaticPreviousProc};
constexpr int kKeptCount = static_cast<int>(std::size(kKeptNames));

// By text: each translation unit may hold its own copy of a name's literal.
int KeptIndex(const char* name) {
    for (int i = 0; i < kKeptCount; ++i)
        if (std::strcmp(name, kKeptNames[i]) == 0) return i;
    return -1;
}

struct KeptValues {
    INT_PTR values[kKeptCount] = {};
    std::uint8_t written = 0;   // a bit per name
};

class KeptProperties {
public:
    bool Find(HWND window, int index, INT_PTR& value) {
        std::lock_guard lock(mutex_);
        const auto found = windows_.find(window);
        if (found == windows_.end() || !(found->second.written & (1u << index))) return false;
        value = found->second.values[index];
        return true;
    }

    void Keep(HWND window, int index, INT_PTR value) {
        std::lock_guard lock(mutex_);
        KeptValues& kept = windows_[window];
        kept.values[index] = value;
        kept.written |= static_cast<std::uint8_t>(1u << index);
        // A destroyed window takes its properties with it; drop its copies
        // now and then rather than on every destruction.
        if (windows_.size() > purgeAt_) {
            std::erase_if(windows_, [](const auto& entry) { return !IsWindow(entry.first); });
            purgeAt_ = windows_.size() * 2 + 256;
        }
    }

private:
    std::mutex mutex_;
    std::unordered_map<HWND, KeptValues> windows_;
    size_t purgeAt_ = 256;
};

KeptProperties& Kept() {
    static KeptProperties kept;
    return kept;
}

}  // namespace

INT_PTR GetPropValue(HWND window, const char* name) {
    if (const int index = KeptIndex(name); index >= 0 && IsWindow(window)) {
        INT_PTR value = 0;
        if (Kept().Find(window, index, value)) return value;
    }
    return reinterpret_cast<INT_PTR>(GetPropA(window, name));
}

void SetPropValue(HWND window, const char* name, INT_PTR value) {
    if (!SetPropA(window, name, reinterpret_cast<HANDLE>(value))) return;
    if (const int index = KeptIndex(name); index >= 0) Kept().Keep(window, index, value);
}

}  // namespace corvalin
