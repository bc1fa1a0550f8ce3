#include "base/gdiplus_session.h"

#include <mutex>

namespace corvalin {

namespace {

// Never destroyed: holds released from other static destructors at exit must
// still find the lock.
std::mutex& Lock() {
    static auto* lock = new std::mutex;
    return *lock;
}
ULONG_PTR platformToken = 0;   // what GdiplusStartup answered, for the shutdown
int holds = 0;

}  // namespace

ULONG_PTR HoldGdiplus() {
    const std::lock_guard<std::mutex> guard(Lock());
    if (holds == 0) {
        Gdiplus::GdiplusStartupInput input;   // version 1, no debug callback, codecs and thread kept
        ULONG_PTR token = 0;
        if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok) return 0;
        platformToken = token;
    }
    ++holds;
    // 0 stands for "not held", whatever the platform answered.
    return platformToken ? platformToken : 1;
}

void ReleaseGdiplus(ULONG_PTR token) {
    const std::lock_guard<std::mutex> guard(Lock());
    if (token == 0 || holds == 0) return;
    if (--holds == 0) {
        Gdiplus::GdiplusShutdown(platformToken);
        platformToken = 0;
    }
}

int GdiplusHolds() {
    const std::lock_guard<std::mutex> guard(Lock());
    return holds;
}

bool HoldGdiplusForProcess() {
    static const bool held = HoldGdiplus() != 0;
    return held;
}

}  // namespace corvalin
