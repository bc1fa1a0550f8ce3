// A page's setTimeout and setInterval timers, on the rendering window.
#include "browser/box/page.h"

#include <algorithm>

#include "browser/box/browser_box_engine.h"
#include "browser/script/script_watchdog.h"
#include "browser/script/window_object.h"

namespace corvalin::browser {

using Microsoft::WRL::ComPtr;

namespace {

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
    const UINT_PTR id = box_.NewTimerId();
    if (!::SetTimer(box_.RenderingWindow(), id, std::max<UINT>(delay, USER_TIMER_MINIMUM), nullptr)) return 0;
    Timer& timer = timers_[id];
    timer.function = function;
    timer.code = code;
    timer.language = language;
    timer.repeat = repeat;
    return static_cast<long>(id);
}

void Page::ClearTimer(long id) {
    const auto it = timers_.find(static_cast<UINT_PTR>(id));
    if (it == timers_.end()) return;
    KillTimer(box_.RenderingWindow(), it->first);
    timers_.erase(it);
}

bool Page::OnTimer(UINT_PTR id) {
    const auto it = timers_.find(id);
    if (it == timers_.end()) {
        return std::any_of(frames_.begin(), frames_.end(), [id](const Frame& f) { return f.page && f.page->OnTimer(id); });
    }
    if (closed_) {
        KillTimer(box_.RenderingWindow(), id);
        return true;
    }
    if (ScriptDialogOpen()) return true;   // it comes again once the dialog is answered
    // Copy out: the callback may clear this timer or set others.
    const Timer timer = it->second;
    if (!timer.repeat) {
        KillTimer(box_.RenderingWindow(), id);
        timers_.erase(it);
    }
    ScriptDepth depth(*this);
    if (timer.function) {
        scripts_->CallFunction(timer.function.Get(), window_.Get(), {});
    } else if (DeclaresNames(timer.code)) {
        scripts_->Run(timer.code, timer.language);   // its declarations belong to the page
    } else if (const ComPtr<IDispatch> function = Compiled(timer.code, timer.language)) {
        scripts_->CallFunction(function.Get(), window_.Get(), {});
    }
    return true;
}

}  // namespace corvalin::browser
