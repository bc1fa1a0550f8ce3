#include "browser/watchdog/script_watchdog.h"

#include <activscp.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <vector>

namespace corvalin::browser {

namespace {

struct ScriptInterrupted {};

// A thread that runs scripts, as the watchdog sees it. The atomics are read by
// the watchdog while the thread is suspended.
struct WatchedThread {
    WatchedThread();
    WatchedThread(const WatchedThread&) = delete;
    WatchedThread& operator=(const WatchedThread&) = delete;

    HANDLE thread = nullptr;
    std::atomic<int> depth{0};            // calls into an engine on the stack
    std::atomic<ULONGLONG> deadline{0};   // of the run on the clock; 0: none (or paused)
    std::atomic<int> runBase{0};          // depth of the call that started that run
    std::atomic<bool> stopping{false};    // the watchdog stopped the run starting at stopBase
    std::atomic<int> stopBase{0};
    std::atomic<bool> reportDue{false};
    DWORD limit = kDefaultScriptTimeLimitMs;   // this thread only
    int pauses = 0;
    ULONGLONG pausedDeadline = 0;
};

class Watchdog {
public:
    static Watchdog& Instance() {
        static Watchdog* watchdog = new Watchdog;   // lives as long as the process
        return *watchdog;
    }

    void Add(WatchedThread* watched) {
        std::lock_guard lock(mutex_);
        threads_.push_back(watched);
        if (!thread_) thread_ = CreateThread(nullptr, 0, &Watchdog::Main, this, 0, nullptr);
    }

    // Puts a thread's run on the clock (0: off it). The watchdog sleeps until
    // the earliest deadline it knows of, so only a deadline before that wakes it.
    void SetDeadline(WatchedThread& watched, ULONGLONG deadline) {
        watched.deadline = deadline;
        if (deadline != 0 && deadline < wakeAt_) SetEvent(wake_);
    }

private:
    static DWORD WINAPI Main(void* self) {
        static_cast<Watchdog*>(self)->Loop();
        return 0;
    }

    // An idle program wakes the watchdog never; a run wakes it at its deadline.
    // A run past its deadline that cannot be stopped yet (our own frames on
    // its stack) is looked at again every kRetryMs.
    void Loop() {
        for (;;) {
            DWORD wait = INFINITE;
            {
                // While the clocks are read, every new deadline wakes the watchdog.
                wakeAt_ = 0;
                std::lock_guard lock(mutex_);
                const ULONGLONG now = GetTickCount64();
                ULONGLONG earliest = kNever;
                for (WatchedThread* watched : threads_) {
                    const ULONGLONG deadline = watched->deadline;
                    if (deadline == 0) continue;
                    if (watched->depth > 0 && now >= deadline) Interrupt(*watched, now);
                    earliest = std::min(earliest, std::max(deadline, now + kRetryMs));
                }
                wakeAt_ = earliest;
                if (earliest != kNever) wait = static_cast<DWORD>(earliest - now);
            }
            WaitForSingleObject(wake_, wait);
        }
    }

    static constexpr ULONGLONG kNever = ~0ULL;
    static constexpr ULONGLONG kRetryMs = 20;

    void Interrupt(WatchedThread& watched, ULONGLONG now);

    std::mutex mutex_;
    std::vector<WatchedThread*> threads_;
    // The watchdog's thread and its wake-up, as long-lived as the watchdog.
    HANDLE thread_ = nullptr;
    HANDLE wake_ = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    std::atomic<ULONGLONG> wakeAt_{kNever};   // when the watchdog wakes by itself
};

WatchedThread::WatchedThread() {
    DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &thread, 0, FALSE,
                    DUPLICATE_SAME_ACCESS);
    Watchdog::Instance().Add(this);
}

// Never freed: at exit the watchdog may have been stopped holding its lock, so
// nothing may wait for it then. One small record per thread that ran scripts.
WatchedThread& ThisThread() {
    thread_local WatchedThread* watched = new WatchedThread;
    return *watched;
}

// The one frame of ours that may sit below a stopped script: the throw lands
// here. Kept out of line so the watchdog can recognise it on the stack.
// The stop lands only in the call that started the run: the engine's own
// bookkeeping of the calls in between is lost with their frames, so none of
// them may go on running; the engine takes later calls afresh.
[[gnu::noinline]] HRESULT GuardedCall(const EngineCall& call, bool startsRun) {
    try {
        switch (call.kind) {
        case EngineCall::Kind::ParseText:
            return call.parse->ParseScriptText(call.code, nullptr, nullptr, nullptr, 0, 0, call.textFlags,
                                               call.result, call.exception);
        case EngineCall::Kind::InvokeEx:
            return call.extended->InvokeEx(call.member, LOCALE_USER_DEFAULT, call.dispatchFlags, call.params,
                                           call.result, call.exception, nullptr);
        case EngineCall::Kind::Invoke:
            return call.dispatch->Invoke(call.member, IID_NULL, LOCALE_USER_DEFAULT, call.dispatchFlags,
                                         call.params, call.result, call.exception, nullptr);
        }
        return E_INVALIDARG;
    } catch (const ScriptInterrupted&) {
        if (!startsRun) throw;
        return kScriptStopped;
    }
}

}  // namespace

}  // namespace corvalin::browser

#if defined(__x86_64__)

// Where the watchdog sends a stopped thread: a frame with unwind data of its
// own (the interrupted code may have left the stack unaligned) that throws.
extern "C" [[noreturn]] void CorvalinThrowScriptInterrupted() { throw corvalin::browser::ScriptInterrupted{}; }
extern "C" void CorvalinScriptInterruptStub();
asm(R"(
    .text
    .globl CorvalinScriptInterruptStub
    .def CorvalinScriptInterruptStub; .scl 2; .type 32; .endef
    .seh_proc CorvalinScriptInterruptStub
CorvalinScriptInterruptStub:
    pushq %rbp
    .seh_pushreg %rbp
    movq %rsp, %rbp
    .seh_setframe %rbp, 0
    .seh_endprologue
    andq $-16, %rsp
    subq $32, %rsp
    call CorvalinThrowScriptInterrupted
    int3
    .seh_endproc
)");

namespace corvalin::browser {
namespace {

struct ImageRange {
    DWORD64 begin = 0;
    DWORD64 end = 0;
    bool Holds(DWORD64 address) const { return address >= begin && address < end; }
};

ImageRange RangeOf(HMODULE module) {
    if (!module) return {};
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(module);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(reinterpret_cast<const BYTE*>(module) + dos->e_lfanew);
    const auto begin = reinterpret_cast<DWORD64>(module);
    return {begin, begin + nt->OptionalHeader.SizeOfImage};
}

ImageRange OurImage() {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&GuardedCall), &module);
    return RangeOf(module);
}

// True when every frame from the interrupted instruction down to the first
// frame of ours belongs to someone else and that frame is GuardedCall: the
// throw then passes only through the engine and lands in our catch. A frame of
// ours in between (a host object the script called, releasing a script object)
// might not survive an exception, so the watchdog waits for another moment.
bool OnlyEngineFramesAboveGuard(CONTEXT walk, const ImageRange& ours) {
    DWORD64 guardBase = 0;
    const PRUNTIME_FUNCTION guard =
        RtlLookupFunctionEntry(reinterpret_cast<DWORD64>(&GuardedCall), &guardBase, nullptr);
    if (!guard) return false;
    for (int frame = 0; frame < 1024; ++frame) {
        const DWORD64 pc = walk.Rip;
        if (pc == 0) return false;
        DWORD64 imageBase = 0;
        const PRUNTIME_FUNCTION function = RtlLookupFunctionEntry(pc, &imageBase, nullptr);
        if (ours.Holds(pc)) return function && imageBase == guardBase && function->BeginAddress == guard->BeginAddress;
        if (function) {
            void* handlerData = nullptr;
            DWORD64 establisher = 0;
            RtlVirtualUnwind(UNW_FLAG_NHANDLER, imageBase, pc, function, &walk, &handlerData, &establisher, nullptr);
        } else {   // a leaf: the return address is on top of the stack
            walk.Rip = *reinterpret_cast<const DWORD64*>(walk.Rsp);
            walk.Rsp += 8;
        }
    }
    return false;
}

}  // namespace

void Watchdog::Interrupt(WatchedThread& watched, ULONGLONG now) {
    // Module lookups take the loader's lock: never while the thread is suspended.
    const ImageRange engines[] = {RangeOf(GetModuleHandleW(L"jscript.dll")), RangeOf(GetModuleHandleW(L"vbscript.dll"))};
    static const ImageRange ours = OurImage();
    if (SuspendThread(watched.thread) == static_cast<DWORD>(-1)) return;
    const ULONGLONG deadline = watched.deadline;
    CONTEXT context{};
    context.ContextFlags = CONTEXT_FULL;
    if (watched.depth > 0 && deadline != 0 && now >= deadline && GetThreadContext(watched.thread, &context) &&
        (engines[0].Holds(context.Rip) || engines[1].Holds(context.Rip)) &&
        OnlyEngineFramesAboveGuard(context, ours)) {
        // A call from the interrupted instruction into the stub, as far as the
        // unwinder can tell (x64 has no red zone below the stack pointer).
        const DWORD64 stack = context.Rsp - 8;
        *reinterpret_cast<DWORD64*>(stack) = context.Rip;
        context.Rsp = stack;
        context.Rip = reinterpret_cast<DWORD64>(&CorvalinScriptInterruptStub);
        context.ContextFlags = CONTEXT_CONTROL;
        if (SetThreadContext(watched.thread, &context) && !watched.stopping) {
            watched.stopBase = watched.runBase.load();
            watched.stopping = true;
            watched.reportDue = true;
        }
    }
    ResumeThread(watched.thread);
}

}  // namespace corvalin::browser

#else

namespace corvalin::browser {
// The 32-bit compiler cannot unwind through the engines' frames: nothing to do.
void Watchdog::Interrupt(WatchedThread&, ULONGLONG) {}
}  // namespace corvalin::browser

#endif

namespace corvalin::browser {

namespace {

// One call's share of the thread's state, given back however the call ends
// (a stop passes through the calls nested in the run).
class EngineCallScope {
public:
    EngineCallScope(WatchedThread& watched, DWORD limitMs)
        : watched_(watched), savedDeadline_(watched.deadline), savedBase_(watched.runBase), depth_(++watched.depth) {
        if (startsRun()) {   // outermost, or inside a dialog that paused the clock
            if (limitMs) watched_.limit = limitMs;
            watched_.runBase = depth_;
            Watchdog::Instance().SetDeadline(watched_, GetTickCount64() + watched_.limit);
        }
    }
    ~EngineCallScope() {
        if (startsRun()) {
            watched_.deadline = savedDeadline_;
            watched_.runBase = savedBase_;
        }
        if (watched_.stopping && depth_ <= watched_.stopBase) watched_.stopping = false;
        --watched_.depth;
    }
    EngineCallScope(const EngineCallScope&) = delete;
    EngineCallScope& operator=(const EngineCallScope&) = delete;
    bool startsRun() const { return savedDeadline_ == 0; }

private:
    WatchedThread& watched_;
    const ULONGLONG savedDeadline_;
    const int savedBase_;
    const int depth_;
};

}  // namespace

HRESULT CallEngine(const EngineCall& call, DWORD limitMs) {
    WatchedThread& watched = ThisThread();
    if (watched.stopping) return kScriptStopped;
    EngineCallScope scope(watched, limitMs);
    return GuardedCall(call, scope.startsRun());
}

bool ScriptDialogOpen() { return ThisThread().pauses > 0; }

bool TakeScriptStopReport() { return ThisThread().reportDue.exchange(false); }

ScriptClockPause::ScriptClockPause() {
    WatchedThread& watched = ThisThread();
    if (watched.pauses++ == 0) watched.pausedDeadline = watched.deadline.exchange(0);
}

ScriptClockPause::~ScriptClockPause() {
    WatchedThread& watched = ThisThread();
    // The script gets its full time again after the user answered.
    if (--watched.pauses == 0 && watched.pausedDeadline != 0)
        Watchdog::Instance().SetDeadline(watched, GetTickCount64() + watched.limit);
}

}  // namespace corvalin::browser
