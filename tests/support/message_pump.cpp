#include "support/message_pump.h"

#include <windows.h>

namespace corvalin::testing {

void PumpMessagesFor(int milliseconds) {
    PumpUntil([] { return false; }, milliseconds);
}

bool PumpUntil(const std::function<bool()>& done, int timeoutMs) {
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
    // The condition and the time are checked before every message: a page's
    // flood of timers never lets the queue run dry.
    while (!done()) {
        const ULONGLONG now = GetTickCount64();
        if (now >= end) return done();
        MSG msg;
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
            continue;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now < 10 ? end - now : 10), QS_ALLINPUT);
    }
    return true;
}

bool DrainInput(int timeoutMs) {
    return PumpUntil([] { return HIWORD(GetQueueStatus(QS_INPUT)) == 0; }, timeoutMs);
}

}  // namespace corvalin::testing
