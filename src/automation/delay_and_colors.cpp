#include "automation/page_automation.h"

#include <cstdio>

#include "base/unique.h"
#include "shell/runtime.h"

namespace corvalin {

std::string PageAutomation::ColorToHex(int color) const {
    // A Windows colour keeps red in its low byte; the page wants red first.
    const auto value = static_cast<DWORD>(color);
    char text[8];
    std::snprintf(text, sizeof text, "%02X%02X%02X", GetRValue(value), GetGValue(value), GetBValue(value));
    return text;
}

bool PageAutomation::Delay(int amount, int unit) const {
    // Lengths of a millisecond, second, minute and hour in 100-nanosecond steps.
    static constexpr LONGLONG kUnitLength[] = {10'000LL, 10'000'000LL, 600'000'000LL, 36'000'000'000LL};
    const LONGLONG length = unit >= 0 && unit < 4 ? kUnitLength[unit] : kUnitLength[0];
    UniqueHandle timer(CreateWaitableTimerA(nullptr, FALSE, nullptr));
    if (!timer) return true;
    LARGE_INTEGER due;
    due.QuadPart = -static_cast<LONGLONG>(amount) * length;   // negative: relative to now
    if (!SetWaitableTimer(timer.get(), &due, 0, nullptr, nullptr, FALSE)) return true;
    const HANDLE handles[] = {timer.get()};
    for (;;) {
        const DWORD woke = MsgWaitForMultipleObjects(1, handles, FALSE, INFINITE, QS_ALLINPUT);
        if (woke == WAIT_OBJECT_0 || woke == WAIT_FAILED) break;
        shell::ProcessPendingEvents();
    }
    return true;
}

}  // namespace corvalin
