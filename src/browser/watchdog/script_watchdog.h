// Stops a page script that runs past its time limit.
//
// The platform's engines under Wine honour no documented interrupt: JScript's
// and VBScript's InterruptScriptThread answer E_NOTIMPL, neither engine asks its
// site for IActiveScriptSiteInterruptPoll, and SetScriptState from another
// thread answers E_UNEXPECTED. So a watchdog thread does it: once the limit has
// passed and the UI thread is executing the engine's own code with nothing but
// engine and system frames above our call into it, the watchdog redirects that
// thread into a stub that throws, and the call below catches it. The engines
// stay usable afterwards (their globals and later scripts run). Only the
// 64-bit build can unwind through the engines' frames; the 32-bit build runs
// scripts unguarded.
#pragma once
#include <windows.h>
#include <activscp.h>
#include <dispex.h>
#include <oaidl.h>

namespace corvalin::browser {

// What a call answers when the watchdog stopped its script (or refused to
// start one inside a run being stopped).
inline constexpr HRESULT kScriptStopped = HRESULT_FROM_WIN32(ERROR_TIMEOUT);
inline constexpr DWORD kDefaultScriptTimeLimitMs = 5000;

// One call into a script engine.
struct EngineCall {
    enum class Kind { ParseText, InvokeEx, Invoke } kind = Kind::Invoke;
    IActiveScriptParse* parse = nullptr;   // ParseText
    const wchar_t* code = nullptr;
    DWORD textFlags = 0;
    IDispatchEx* extended = nullptr;       // InvokeEx
    IDispatch* dispatch = nullptr;         // Invoke
    DISPID member = DISPID_VALUE;          // InvokeEx, Invoke
    WORD dispatchFlags = DISPATCH_METHOD;
    DISPPARAMS* params = nullptr;
    VARIANT* result = nullptr;
    EXCEPINFO* exception = nullptr;
};

// Runs the call under the watchdog. The outermost call on a thread starts the
// clock with `limitMs` (0: the limit last given on this thread); nested calls
// share it. Inside a run being stopped every further call answers
// kScriptStopped at once.
HRESULT CallEngine(const EngineCall& call, DWORD limitMs = 0);

// True once per stopped run: the caller that sees it first reports the error.
bool TakeScriptStopReport();

// True while a dialog a script opened is up: the page's timers wait, as that
// browser runs no timer while its dialog shows.
bool ScriptDialogOpen();

// Time spent in a modal dialog a script opened does not count against it.
class ScriptClockPause {
public:
    ScriptClockPause();
    ~ScriptClockPause();
    ScriptClockPause(const ScriptClockPause&) = delete;
    ScriptClockPause& operator=(const ScriptClockPause&) = delete;
};

}  // namespace corvalin::browser
