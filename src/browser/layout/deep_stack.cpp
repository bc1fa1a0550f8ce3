#include "browser/layout/deep_stack.h"

#include <windows.h>

#include <cstdint>
#include <exception>

namespace corvalin::browser::layout {

namespace {

// Address space only; pages are committed as the layout goes deeper.
#ifdef _WIN64
constexpr std::size_t kReserve = std::size_t{512} << 20;
#else
constexpr std::size_t kReserve = std::size_t{96} << 20;
#endif
// Left unused below the deepest level: what one level and the platform's
// text measurement need at most, with room to spare.
constexpr std::size_t kSpare = std::size_t{2} << 20;
// Without the large stack: what the thread's own (1 MB) stack surely holds.
constexpr int kShallowDepth = 150;

thread_local std::uintptr_t stackFloor = 0;   // lowest address nesting may reach; 0 when not on the large stack

struct Call {
    const std::function<void()>* work;
    void* caller;
    std::exception_ptr failure;
};

void WINAPI FiberMain(void* parameter) {
    auto* call = static_cast<Call*>(parameter);
    char top;
    stackFloor = reinterpret_cast<std::uintptr_t>(&top) - kReserve + kSpare;
    try {
        (*call->work)();
    } catch (...) {
        call->failure = std::current_exception();
    }
    stackFloor = 0;
    SwitchToFiber(call->caller);
}

}  // namespace

void RunOnLargeStack(const std::function<void()>& work) {
    if (stackFloor != 0) {   // already there
        work();
        return;
    }
    // A thread that already runs fibers is someone else's to switch: the
    // work then runs where it is.
    void* caller = IsThreadAFiber() ? nullptr : ConvertThreadToFiber(nullptr);
    if (!caller) {
        work();
        return;
    }
    Call call{&work, caller, nullptr};
    void* fiber = CreateFiberEx(64 * 1024, kReserve, FIBER_FLAG_FLOAT_SWITCH, FiberMain, &call);
    if (fiber) {
        SwitchToFiber(fiber);
        DeleteFiber(fiber);
    }
    ConvertFiberToThread();
    if (!fiber) work();
    if (call.failure) std::rethrow_exception(call.failure);
}

bool RoomToNest(int depth) {
    if (stackFloor == 0) return depth < kShallowDepth;
    char here;
    return reinterpret_cast<std::uintptr_t>(&here) > stackFloor;
}

}  // namespace corvalin::browser::layout
