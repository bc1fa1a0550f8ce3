#include "browser/script/script_host.h"

#include <activscp.h>
#include <dispex.h>

#include <cwctype>

#include "browser/watchdog/script_watchdog.h"

namespace corvalin::browser {

using Microsoft::WRL::ComPtr;

namespace {

// {F414C260-6AC0-11CF-B6D1-00AA00BBBB58} and {B54F3741-5B07-11CF-A4B0-00AA004A55E8}
constexpr CLSID kJScriptClass = {0xf414c260, 0x6ac0, 0x11cf, {0xb6, 0xd1, 0x00, 0xaa, 0x00, 0xbb, 0xbb, 0x58}};
constexpr CLSID kVBScriptClass = {0xb54f3741, 0x5b07, 0x11cf, {0xa4, 0xb0, 0x00, 0xaa, 0x00, 0x4a, 0x55, 0xe8}};
constexpr wchar_t kWindowItem[] = L"window";

std::wstring Lower(std::wstring_view text) {
    std::wstring out(text);
    for (auto& c : out) c = static_cast<wchar_t>(std::towlower(c));
    return out;
}

const wchar_t* LanguageName(ScriptLanguage language) {
    return language == ScriptLanguage::VBScript ? L"VBScript" : L"JScript";
}

// EXCEPINFO's texts, freed with it.
struct ExceptionInfo : EXCEPINFO {
    ExceptionInfo() : EXCEPINFO{} {}
    ExceptionInfo(const ExceptionInfo&) = delete;
    ~ExceptionInfo() {
        SysFreeString(bstrSource);
        SysFreeString(bstrDescription);
        SysFreeString(bstrHelpFile);
    }
    std::wstring Description(HRESULT hr) {
        if (pfnDeferredFillIn) pfnDeferredFillIn(this);
        if (bstrDescription && *bstrDescription) return bstrDescription;
        wchar_t text[32];
        swprintf(text, 32, L"error 0x%08lX", static_cast<unsigned long>(scode ? scode : hr));
        return text;
    }
};

}  // namespace

ScriptLanguage ScriptLanguageFromName(std::wstring_view name) {
    std::wstring lower = Lower(name);
    while (!lower.empty() && lower.back() == L' ') lower.pop_back();
    if (lower.empty() || lower.rfind(L"javascript", 0) == 0 || lower == L"jscript" || lower == L"text/javascript" ||
        lower == L"text/jscript" || lower == L"application/javascript" || lower == L"application/x-javascript" ||
        lower == L"text/ecmascript" || lower == L"ecmascript" || lower == L"livescript")
        return ScriptLanguage::JScript;
    if (lower == L"vbscript" || lower == L"vbs" || lower == L"text/vbscript")
        return ScriptLanguage::VBScript;
    return ScriptLanguage::Unknown;
}

// The engines' view of the page: the global item, error reports, the window
// that owns the engines' own dialogs.
class ScriptHost::Site final : public IActiveScriptSite, public IActiveScriptSiteWindow {
public:
    explicit Site(ScriptHost* host) : host_(host) {}
    void Detach() { host_ = nullptr; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IActiveScriptSite) {
            *out = static_cast<IActiveScriptSite*>(this);
        } else if (iid == IID_IActiveScriptSiteWindow) {
            *out = static_cast<IActiveScriptSiteWindow*>(this);
        } else {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }

    HRESULT STDMETHODCALLTYPE GetLCID(LCID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetItemInfo(LPCOLESTR name, DWORD mask, IUnknown** item, ITypeInfo** type) override {
        if (item) *item = nullptr;
        if (type) *type = nullptr;
        if (!host_ || !name || Lower(name) != kWindowItem) return TYPE_E_ELEMENTNOTFOUND;
        if (mask & SCRIPTINFO_IUNKNOWN) {
            if (!item) return E_POINTER;
            host_->window_->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(item));
        }
        if ((mask & SCRIPTINFO_ITYPEINFO) && !(mask & SCRIPTINFO_IUNKNOWN)) return TYPE_E_ELEMENTNOTFOUND;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDocVersionString(BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnScriptTerminate(const VARIANT*, const EXCEPINFO*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnStateChange(SCRIPTSTATE) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnScriptError(IActiveScriptError* error) override {
        if (!host_ || !error) return S_OK;
        ScriptError record;
        ExceptionInfo info;
        if (SUCCEEDED(error->GetExceptionInfo(&info))) record.message = info.Description(E_FAIL);
        DWORD context = 0;
        ULONG line = 0;
        LONG column = 0;
        if (SUCCEEDED(error->GetSourcePosition(&context, &line, &column))) {
            record.line = static_cast<long>(line) + 1;
            record.column = column + 1;
        }
        record.language = currentLanguage_;
        host_->RecordError(std::move(record));
        return S_OK;   // handled: the engine abandons this script, the page goes on
    }
    HRESULT STDMETHODCALLTYPE OnEnterScript() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnLeaveScript() override { return S_OK; }

    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override {
        if (!window) return E_POINTER;
        *window = host_ ? host_->frameWindow_ : nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) override { return S_OK; }

    std::wstring currentLanguage_;

private:
    ScriptHost* host_;
    ULONG references_ = 1;
};

struct ScriptHost::Engine {
    ScriptLanguage language;
    ComPtr<IActiveScript> script;
    ComPtr<IActiveScriptParse> parse;
    ComPtr<IActiveScriptParseProcedure2> procedures;
};

ScriptHost::ScriptHost(IDispatch* window, HWND frameWindow) : window_(window), frameWindow_(frameWindow) {
    site_.Attach(new Site(this));
}

ScriptHost::~ScriptHost() { Close(); }

void ScriptHost::Close() {
    if (closed_) return;
    closed_ = true;
    for (auto* engine : {&jscript_, &vbscript_}) {
        if (*engine && (*engine)->script) (*engine)->script->Close();
        engine->reset();
    }
    site_->Detach();
    site_.Reset();
    window_.Reset();
}

ScriptHost::Engine* ScriptHost::EngineFor(ScriptLanguage language) {
    if (closed_ || language == ScriptLanguage::Unknown) return nullptr;
    auto& slot = language == ScriptLanguage::VBScript ? vbscript_ : jscript_;
    if (slot) return slot->script ? slot.get() : nullptr;
    slot = std::make_unique<Engine>();
    slot->language = language;
    ComPtr<IActiveScript> script;
    const CLSID& clsid = language == ScriptLanguage::VBScript ? kVBScriptClass : kJScriptClass;
    if (FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IActiveScript,
                                reinterpret_cast<void**>(script.GetAddressOf()))))
        return nullptr;
    ComPtr<IActiveScriptParse> parse;
    if (FAILED(script.As(&parse)) || FAILED(script->SetScriptSite(site_.Get())) || FAILED(parse->InitNew()) ||
        FAILED(script->AddNamedItem(kWindowItem, SCRIPTITEM_ISVISIBLE | SCRIPTITEM_GLOBALMEMBERS)) ||
        FAILED(script->SetScriptState(SCRIPTSTATE_STARTED))) {
        script->Close();
        return nullptr;
    }
    script.As(&slot->procedures);
    slot->script = script;
    slot->parse = parse;
    return slot.get();
}

void ScriptHost::RecordError(ScriptError error) {
    OutputDebugStringW((L"script error: " + error.message + L"\n").c_str());
    errors_.push_back(std::move(error));
    if (errorListener_) errorListener_(errors_.back());
}

void ScriptHost::ReportStop(ScriptLanguage language) {
    if (closed_ || !TakeScriptStopReport()) return;
    RecordError({L"A script on this page ran longer than " + std::to_wstring(timeLimitMs_) + L" ms and was stopped",
                 LanguageName(language), 0, 0});
}

bool ScriptHost::Run(std::wstring_view code, ScriptLanguage language, VARIANT* result) {
    Engine* engine = EngineFor(language);
    if (!engine) return false;
    const std::wstring text(code);
    ExceptionInfo info;
    const size_t errorsBefore = errors_.size();
    site_->currentLanguage_ = LanguageName(language);
    ++textsParsed_;
    EngineCall call;
    call.kind = EngineCall::Kind::ParseText;
    call.parse = engine->parse.Get();
    call.code = text.c_str();
    call.textFlags = SCRIPTTEXT_ISVISIBLE | (result ? SCRIPTTEXT_ISEXPRESSION : 0);
    call.result = result;
    call.exception = &info;
    const HRESULT hr = CallEngine(call, timeLimitMs_);
    if (SUCCEEDED(hr)) return true;
    if (hr == kScriptStopped) {
        ReportStop(language);
    } else if (errors_.size() == errorsBefore && !closed_) {
        RecordError({info.Description(hr), LanguageName(language), 0, 0});
    }
    return false;
}

ComPtr<IDispatch> ScriptHost::CompileHandler(std::wstring_view code, ScriptLanguage language) {
    Engine* engine = EngineFor(language);
    if (!engine) return nullptr;
    const std::wstring text(code);
    ComPtr<IDispatch> function;
    site_->currentLanguage_ = LanguageName(language);
    if (engine->procedures) {
        ++textsParsed_;
        const size_t errorsBefore = errors_.size();
        const HRESULT hr = engine->procedures->ParseProcedureText(
            text.c_str(), nullptr, L"", nullptr, nullptr, L"\"", 0, 0,
            SCRIPTPROC_HOSTMANAGESSOURCE | SCRIPTPROC_IMPLICIT_THIS | SCRIPTPROC_IMPLICIT_PARENTS,
            function.GetAddressOf());
        if (SUCCEEDED(hr)) return function;
        if (errors_.size() == errorsBefore) RecordError({L"handler does not compile", LanguageName(language), 0, 0});
        return nullptr;
    }
    if (language != ScriptLanguage::JScript) return nullptr;
    VARIANT value;
    VariantInit(&value);
    if (Run(L"(function(){" + text + L"\n})", language, &value) && value.vt == VT_DISPATCH) function = value.pdispVal;
    VariantClear(&value);
    return function;
}

bool ScriptHost::CallFunction(IDispatch* function, IDispatch* self, const std::vector<VARIANT>& arguments,
                              VARIANT* result) {
    if (closed_ || !function) return false;
    // Named arguments come first, the positional ones follow in reverse order.
    std::vector<VARIANT> slots;
    DISPID named = DISPID_THIS;
    VARIANT thisValue;
    VariantInit(&thisValue);
    if (self) {
        thisValue.vt = VT_DISPATCH;
        thisValue.pdispVal = self;
        slots.push_back(thisValue);
    }
    for (auto it = arguments.rbegin(); it != arguments.rend(); ++it) slots.push_back(*it);
    DISPPARAMS params{slots.empty() ? nullptr : slots.data(), self ? &named : nullptr,
                      static_cast<UINT>(slots.size()), self ? 1u : 0u};
    ExceptionInfo info;
    VARIANT ignored;
    VariantInit(&ignored);
    VARIANT* out = result ? result : &ignored;
    // Hold the function: the handler may replace itself while it runs.
    ComPtr<IDispatch> keep(function);
    ComPtr<IDispatchEx> extended;
    const size_t errorsBefore = errors_.size();
    DISPPARAMS plain{params.rgvarg + (self ? 1 : 0), nullptr, params.cArgs - (self ? 1u : 0u), 0};
    EngineCall call;
    call.result = out;
    call.exception = &info;
    if (SUCCEEDED(keep.As(&extended))) {
        call.kind = EngineCall::Kind::InvokeEx;
        call.extended = extended.Get();
        call.params = &params;
    } else {
        call.kind = EngineCall::Kind::Invoke;
        call.dispatch = keep.Get();
        call.params = &plain;
    }
    const HRESULT hr = CallEngine(call, timeLimitMs_);
    VariantClear(&ignored);
    if (SUCCEEDED(hr)) return true;
    if (hr == kScriptStopped) {
        ReportStop(ScriptLanguage::JScript);
    } else if (errors_.size() == errorsBefore && !closed_ && hr != static_cast<HRESULT>(SCRIPT_E_REPORTED)) {
        RecordError({info.Description(hr), L"JScript", 0, 0});
    }
    return false;
}

ComPtr<IDispatch> ScriptHost::FindGlobal(const std::wstring& name, DISPID* id) {
    for (auto* engine : {jscript_.get(), vbscript_.get()}) {
        if (closed_ || !engine || !engine->script) continue;
        ComPtr<IDispatch> globals;
        if (FAILED(engine->script->GetScriptDispatch(nullptr, globals.GetAddressOf())) || !globals) continue;
        LPOLESTR names[] = {const_cast<LPOLESTR>(name.c_str())};
        if (SUCCEEDED(globals->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, id))) return globals;
    }
    return nullptr;
}

}  // namespace corvalin::browser
