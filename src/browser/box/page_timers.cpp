// A page's setTimeout and setInterval timers, on the rendering window.
#include "browser/box/page.h"

#include <algorithm>

#include "browser/box/browser_box_engine.h"
#include "browser/watchdog/script_watchdog.h"
#include "browser/script/window_object.h"

namespace corvalin::browser {

using Microsoft::WRL::ComPtr;

namespace {

// How long one round of a page's due timers may run before the rest wait for
// the next round.
constexpr ULONGLONG kTimerRoundMs = 15;

// A timer text that declares variables or functions must run as the page's
// own code, or its names would end with the call.
bool DeclaresNames(const std::wstring& code) {
    const std::wstring lower = dom::LowerAscii(code);
    for (const wchar_t* word : {L"var", L"function", L"dim", L"sub", L"const"}) {
        const std::wstring_view w(word);
        for (size_t at = lower.find(w); at != std::wstring::npos; at = lower.find(w, at + 1)) {
            const bool startsWord = at == 0 || !iswalnum(lower[at - 1]);
            const bool endsWord = at + w.size() >= lower.size() || !iswalnum(lower[at + w.size()]);
            if (startsWord && endsWord) return true;
        }
    }
    return false;
}

}  // namespace

long Page::SetTimer(IDispatch* function, const std::wstring& code, ScriptLanguage language, UINT delay, bool repeat) {
    if (closed_) return 0;
    const long id = static_cast<long>(box_.NewTimerId());
    Timer& timer = timers_[id];
    timer.function = function;
    timer.code = code;
    timer.language = language;
    timer.repeat = repeat;
    // Zero-delay timers wait the platform's shortest timer, as that browser's do.
    timer.delay = std::max<UINT>(delay, USER_TIMER_MINIMUM);
    timer.due = GetTickCount64() + timer.delay;
    schedule_.emplace(timer.due, id);
    ArmTimer();
    return id;
}

void Page::ClearTimer(long id) {
    const auto it = timers_.find(id);
    if (it == timers_.end()) return;
    schedule_.erase({it->second.due, id});
    timers_.erase(it);
    // The native timer stays armed: coming early costs one empty round.
}

void Page::ArmTimer() {
    const HWND window = box_.RenderingWindow();
    if (schedule_.empty() || closed_) {
        if (armedFor_) KillTimer(window, nativeTimer_);
        armedFor_ = 0;
        return;
    }
    const ULONGLONG due = schedule_.begin()->first;
    // Armed for the same time or earlier: that round re-arms for this one.
    if (armedFor_ && armedFor_ <= due) return;
    if (!nativeTimer_) nativeTimer_ = box_.NewTimerId();
    const ULONGLONG now = GetTickCount64();
    const UINT wait = due > now ? static_cast<UINT>(std::min<ULONGLONG>(due - now, USER_TIMER_MAXIMUM)) : 0;
    if (::SetTimer(window, nativeTimer_, std::max<UINT>(wait, USER_TIMER_MINIMUM), nullptr)) armedFor_ = due;
}

bool Page::OnTimer(UINT_PTR id) {
    if (!nativeTimer_ || id != nativeTimer_) {
        return std::any_of(frames_.begin(), frames_.end(), [id](const Frame& f) { return f.page && f.page->OnTimer(id); });
    }
    armedFor_ = 0;
    if (closed_) {
        KillTimer(box_.RenderingWindow(), nativeTimer_);
        return true;
    }
    if (runningTimers_ || ScriptDialogOpen()) {
        // A dialog a timer opened pumps messages: the page's timers wait for
        // it, as that browser runs no timer while one shows.
        if (::SetTimer(box_.RenderingWindow(), nativeTimer_, USER_TIMER_MINIMUM, nullptr)) armedFor_ = GetTickCount64();
        return true;
    }
    RunDueTimers();
    if (closed_) return true;
    if (schedule_.empty()) KillTimer(box_.RenderingWindow(), nativeTimer_);
    else ArmTimer();
    return true;
}

void Page::RunDueTimers() {
    runningTimers_ = true;
    ScriptDepth depth(*this);
    const ULONGLONG now = GetTickCount64();
    // One round runs what is due for a short while and leaves the rest for
    // the next: every wait loop sees a message boundary often, whatever the
    // page's number of timers.
    const ULONGLONG stop = now + kTimerRoundMs;
    bool first = true;
    while (!closed_ && !schedule_.empty() && schedule_.begin()->first <= now && (first || GetTickCount64() < stop)) {
        first = false;
        const long id = schedule_.begin()->second;
        schedule_.erase(schedule_.begin());
        const auto it = timers_.find(id);
        if (it == timers_.end()) continue;
        // Copy out: the callback may clear this timer or set others.
        const Timer timer = it->second;
        if (timer.repeat) {
            it->second.due = now + timer.delay;   // from this round, so it runs once per round at most
            schedule_.emplace(it->second.due, id);
        } else {
            timers_.erase(it);
        }
        if (timer.function) {
            scripts_->CallFunction(timer.function.Get(), window_.Get(), {});
        } else if (DeclaresNames(timer.code)) {
            scripts_->Run(timer.code, timer.language);   // its declarations belong to the page
        } else if (const ComPtr<IDispatch> function = Compiled(timer.code, timer.language)) {
            scripts_->CallFunction(function.Get(), window_.Get(), {});
        }
    }
    runningTimers_ = false;
}

}  // namespace corvalin::browser
