#include "browser/script/window_object.h"

#include <algorithm>

#include "browser/layout/geometry.h"
#include "browser/net/http_client.h"
#include "browser/net/url.h"
#include "browser/om/node_objects.h"
#include "browser/script/popup_object.h"
#include "browser/watchdog/script_watchdog.h"
#include "browser/script/xml_http_request.h"

namespace corvalin::browser {

using om::Bind;
using om::Invocation;

WindowObject::WindowObject(WindowHost* page) : page_(page) {
    navigator_ = om::MakeDispatch<NavigatorObject>();
    screen_ = om::MakeDispatch<ScreenObject>();
    history_ = om::MakeDispatch<HistoryObject>();
    xhrConstructor_ = om::MakeDispatch<XmlHttpRequestConstructor>(page->Link());
}

void WindowObject::Detach() {
    page_ = nullptr;
    onload_.Reset();
    attachedLoad_.clear();
    optionConstructor_.Reset();
    imageConstructor_.Reset();
    for (const auto& popup : popups_) static_cast<PopupObject*>(popup.Get())->Hide();
    popups_.clear();
}

std::vector<om::ComPtr<IDispatch>> WindowObject::LoadHandlers() const {
    std::vector<om::ComPtr<IDispatch>> handlers;
    if (onload_) handlers.push_back(onload_);
    handlers.insert(handlers.end(), attachedLoad_.begin(), attachedLoad_.end());
    return handlers;
}

const om::MemberTable& WindowObject::Members() const {
    using W = WindowObject;
    static const om::MemberTable table{{
        {L"document", &Bind<W, &W::GetDocument>},
        {L"location", &Bind<W, &W::GetLocation>, &Bind<W, &W::PutLocation>},
        {L"navigator", &Bind<W, &W::GetNavigator>},
        {L"clientInformation", &Bind<W, &W::GetNavigator>},
        {L"screen", &Bind<W, &W::GetScreen>},
        {L"history", &Bind<W, &W::GetHistory>},
        {L"event", &Bind<W, &W::GetEvent>},
        {L"status", &Bind<W, &W::GetStatus>, &Bind<W, &W::PutStatus>},
        {L"defaultStatus", &Bind<W, &W::GetDefaultStatus>, &Bind<W, &W::PutDefaultStatus>},
        {L"window", &Bind<W, &W::GetSelf>},
        {L"self", &Bind<W, &W::GetSelf>},
        {L"top", &Bind<W, &W::GetTop>},
        {L"parent", &Bind<W, &W::GetParent>},
        {L"frames", &Bind<W, &W::GetSelf>},   // the window is the collection of its frames
        {L"frameElement", &Bind<W, &W::GetFrameElement>},
        {L"opener", &Bind<W, &W::GetNull>},
        {L"closed", &Bind<W, &W::GetFalse>},
        {L"length", &Bind<W, &W::GetLength>},
        {L"item", nullptr, nullptr, &Bind<W, &W::InvokeValue>},   // frames.item(i) and frames.item("name")
        {L"name", &Bind<W, &W::GetName>, &Bind<W, &W::PutName>},
        {L"onload", &Bind<W, &W::GetOnload>, &Bind<W, &W::PutOnload>},
        {L"XMLHttpRequest", &Bind<W, &W::GetXmlHttpRequest>},
        {L"Option", &Bind<W, &W::GetOption>},
        {L"Image", &Bind<W, &W::GetImage>},
        {L"setTimeout", nullptr, nullptr, &Bind<W, &W::SetTimeout>},
        {L"setInterval", nullptr, nullptr, &Bind<W, &W::SetInterval>},
        {L"clearTimeout", nullptr, nullptr, &Bind<W, &W::ClearTimer>},
        {L"clearInterval", nullptr, nullptr, &Bind<W, &W::ClearTimer>},
        {L"alert", nullptr, nullptr, &Bind<W, &W::Alert>},
        {L"confirm", nullptr, nullptr, &Bind<W, &W::Confirm>},
        {L"prompt", nullptr, nullptr, &Bind<W, &W::Prompt>},
        {L"execScript", nullptr, nullptr, &Bind<W, &W::ExecScript>},
        {L"navigate", nullptr, nullptr, &Bind<W, &W::Navigate>},
        {L"open", nullptr, nullptr, &Bind<W, &W::Open>},
        {L"attachEvent", nullptr, nullptr, &Bind<W, &W::AttachEvent>},
        {L"detachEvent", nullptr, nullptr, &Bind<W, &W::DetachEvent>},
        {L"createPopup", nullptr, nullptr, &Bind<W, &W::CreatePopup>},
        // A box that is never shown has nothing to move, scroll or focus.
        {L"close", nullptr, nullptr, &Bind<W, &W::Nothing>},
        {L"focus", nullptr, nullptr, &Bind<W, &W::Nothing>},
        {L"blur", nullptr, nullptr, &Bind<W, &W::Nothing>},
        {L"scroll", nullptr, nullptr, &Bind<W, &W::ScrollTo>},
        {L"scrollTo", nullptr, nullptr, &Bind<W, &W::ScrollTo>},
        {L"scrollBy", nullptr, nullptr, &Bind<W, &W::ScrollBy>},
        {L"moveTo", nullptr, nullptr, &Bind<W, &W::Nothing>},
        {L"resizeTo", nullptr, nullptr, &Bind<W, &W::Nothing>},
        {L"print", nullptr, nullptr, &Bind<W, &W::Nothing>},
        {L"showModalDialog", nullptr, nullptr, &Bind<W, &W::Nothing>},
    }};
    return table;
}

om::ComPtr<IDispatch> WindowObject::ScriptGlobal(std::wstring_view name, DISPID* id) const {
    // The engines may ask the window back while they look: answer them no.
    if (!page_ || !page_->Scripts() || askingScripts_) return nullptr;
    askingScripts_ = true;
    om::ComPtr<IDispatch> globals = page_->Scripts()->FindGlobal(std::wstring(name), id);
    askingScripts_ = false;
    return globals;
}

WindowHost* WindowObject::Frame(std::wstring_view name) const {
    if (!page_ || name.empty()) return nullptr;
    if (name.size() <= 4 && std::all_of(name.begin(), name.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; }))
        return page_->FrameWindow(static_cast<std::size_t>(std::stoul(std::wstring(name))));
    return page_->FrameWindowNamed(name);
}

// Frames by index and name, elements with an id or name (zt_msg.innerHTML =
// ...), and the globals of the page's scripts (window.f(), window.obj) are
// window members too.
bool WindowObject::HasDynamicMember(std::wstring_view name) const {
    if (!page_ || !page_->Document() || name.empty()) return false;
    DISPID id = DISPID_UNKNOWN;
    return Frame(name) || page_->Document()->GetElementById(name) != nullptr || ScriptGlobal(name, &id) != nullptr;
}

// frames(i) and frames("name").
HRESULT WindowObject::InvokeValue(Invocation& call) {
    if (!page_ || call.IsPut() || call.Count() == 0) return DISP_E_MEMBERNOTFOUND;
    WindowHost* frame = Frame(call.Text(0));
    return call.ReturnObject(frame ? frame->WindowObject().Get() : nullptr);
}

HRESULT WindowObject::InvokeDynamic(std::wstring_view name, Invocation& call) {
    if (!page_ || !page_->Document()) return DISP_E_MEMBERNOTFOUND;
    if (WindowHost* frame = Frame(name); frame && !call.IsPut()) return call.ReturnObject(frame->WindowObject().Get());
    DISPID id = DISPID_UNKNOWN;
    if (om::ComPtr<IDispatch> globals = ScriptGlobal(name, &id)) {
        std::vector<VARIANT> reversed;
        for (std::size_t i = call.Count(); i > 0; --i) reversed.push_back(call.Arg(i - 1));
        DISPID putId = DISPID_PROPERTYPUT;
        if (call.IsPut()) reversed.insert(reversed.begin(), call.Value());
        DISPPARAMS params{reversed.data(), call.IsPut() ? &putId : nullptr, static_cast<UINT>(reversed.size()),
                          call.IsPut() ? 1u : 0u};
        EngineCall engineCall;   // may run a script function: under the watchdog
        engineCall.dispatch = globals.Get();
        engineCall.member = id;
        engineCall.dispatchFlags = call.Flags();
        engineCall.params = &params;
        engineCall.result = call.Result();
        return CallEngine(engineCall);
    }
    if (call.IsPut()) return DISP_E_MEMBERNOTFOUND;
    dom::Element* element = page_->Document()->GetElementById(name);
    if (!element) return DISP_E_MEMBERNOTFOUND;
    return call.ReturnObject(om::NodeObject(element).Get());
}

HRESULT WindowObject::GetDocument(Invocation& call) {
    return call.ReturnObject(page_ ? page_->DocumentDispatch().Get() : nullptr);
}
HRESULT WindowObject::GetLocation(Invocation& call) {
    return call.ReturnObject(page_ ? page_->LocationObject().Get() : nullptr);
}
HRESULT WindowObject::PutLocation(Invocation& call) {
    if (page_) page_->NavigateFrom(call.ValueText());
    return S_OK;
}
HRESULT WindowObject::GetNavigator(Invocation& call) { return call.ReturnObject(navigator_.Get()); }
HRESULT WindowObject::GetScreen(Invocation& call) { return call.ReturnObject(screen_.Get()); }
HRESULT WindowObject::GetHistory(Invocation& call) { return call.ReturnObject(history_.Get()); }
HRESULT WindowObject::GetEvent(Invocation& call) { return call.ReturnObject(page_ ? page_->CurrentEvent() : nullptr); }
HRESULT WindowObject::GetStatus(Invocation& call) { return call.ReturnText(page_ ? page_->Status() : L""); }
HRESULT WindowObject::PutStatus(Invocation& call) {
    if (page_) page_->SetStatus(call.ValueText());
    return S_OK;
}
HRESULT WindowObject::GetDefaultStatus(Invocation& call) { return call.ReturnText(defaultStatus_); }
HRESULT WindowObject::PutDefaultStatus(Invocation& call) {
    defaultStatus_ = call.ValueText();
    return S_OK;
}
HRESULT WindowObject::GetSelf(Invocation& call) { return call.ReturnObject(this); }
HRESULT WindowObject::GetParent(Invocation& call) {
    if (!page_ || !page_->ParentWindow()) return call.ReturnObject(this);
    return call.ReturnObject(page_->ParentWindow()->WindowObject().Get());
}
HRESULT WindowObject::GetTop(Invocation& call) {
    if (!page_) return call.ReturnObject(this);
    return call.ReturnObject(page_->TopWindow().WindowObject().Get());
}
HRESULT WindowObject::GetLength(Invocation& call) {
    return call.ReturnInteger(page_ ? static_cast<long>(page_->FrameCount()) : 0);
}
HRESULT WindowObject::GetFrameElement(Invocation& call) {
    WindowHost* parent = page_ ? page_->ParentWindow() : nullptr;
    if (!parent || !parent->Document() || !page_->Document()) return call.ReturnNull();
    const dom::ElementCollection frames = parent->Document()->Frames();
    for (dom::Element* frame : frames.Elements())
        if (frame->ContentDocument() == page_->Document()) return call.ReturnObject(om::NodeObject(frame).Get());
    return call.ReturnNull();
}
HRESULT WindowObject::GetNull(Invocation& call) { return call.ReturnNull(); }
HRESULT WindowObject::GetFalse(Invocation& call) { return call.ReturnBool(false); }
HRESULT WindowObject::GetZero(Invocation& call) { return call.ReturnInteger(0); }
HRESULT WindowObject::GetName(Invocation& call) { return call.ReturnText(name_); }
HRESULT WindowObject::PutName(Invocation& call) {
    name_ = call.ValueText();
    return S_OK;
}
HRESULT WindowObject::GetOnload(Invocation& call) { return onload_ ? call.ReturnObject(onload_.Get()) : call.ReturnNull(); }
HRESULT WindowObject::PutOnload(Invocation& call) {
    const VARIANT& value = call.Value();
    onload_ = value.vt == VT_DISPATCH ? value.pdispVal : nullptr;
    return S_OK;
}
HRESULT WindowObject::GetXmlHttpRequest(Invocation& call) { return call.ReturnObject(xhrConstructor_.Get()); }

HRESULT WindowObject::StartTimer(Invocation& call, bool repeat) {
    if (!page_) return call.ReturnInteger(0);
    const UINT delay = static_cast<UINT>(std::max(0L, call.Integer(1, 0)));
    if (IDispatch* function = call.Object(0)) return call.ReturnInteger(page_->SetTimer(function, L"", ScriptLanguage::JScript, delay, repeat));
    // String code, with the language as an optional third argument.
    ScriptLanguage language = page_->DefaultLanguage();
    if (call.Has(2)) language = ScriptLanguageFromName(call.Text(2));
    return call.ReturnInteger(page_->SetTimer(nullptr, call.Text(0), language, delay, repeat));
}
HRESULT WindowObject::SetTimeout(Invocation& call) { return StartTimer(call, false); }
HRESULT WindowObject::SetInterval(Invocation& call) { return StartTimer(call, true); }
HRESULT WindowObject::ClearTimer(Invocation& call) {
    if (page_) page_->ClearTimer(call.Integer(0, 0));
    return call.ReturnEmpty();
}

HRESULT WindowObject::Alert(Invocation& call) {
    if (page_) page_->ShowDialog({DialogKind::Alert, call.Has(0) ? call.Text(0) : L"", L""});
    return call.ReturnEmpty();
}
HRESULT WindowObject::Confirm(Invocation& call) {
    if (!page_) return call.ReturnBool(false);
    return call.ReturnBool(page_->ShowDialog({DialogKind::Confirm, call.Has(0) ? call.Text(0) : L"", L""}).accepted);
}
HRESULT WindowObject::Prompt(Invocation& call) {
    if (!page_) return call.ReturnNull();
    const DialogAnswer answer =
        page_->ShowDialog({DialogKind::Prompt, call.Has(0) ? call.Text(0) : L"", call.Has(1) ? call.Text(1) : L""});
    return answer.accepted ? call.ReturnText(answer.text) : call.ReturnNull();
}

HRESULT WindowObject::ExecScript(Invocation& call) {
    if (!page_) return call.ReturnEmpty();
    const ScriptLanguage language = call.Has(1) ? ScriptLanguageFromName(call.Text(1)) : ScriptLanguage::JScript;
    std::wstring code = call.Text(0);
    // Callers hand over "javascript:..." as if it were an address.
    if (language == ScriptLanguage::JScript && code.size() > 11 && dom::EqualsIgnoringCase(code.substr(0, 11), L"javascript:"))
        code.erase(0, 11);
    page_->RunScript(code, language);
    return call.ReturnEmpty();
}

HRESULT WindowObject::Navigate(Invocation& call) {
    if (page_) page_->NavigateFrom(call.Text(0));
    return call.ReturnEmpty();
}

// A new window cannot be shown from a hidden box: the address opens in place.
HRESULT WindowObject::Open(Invocation& call) {
    if (page_ && call.Has(0) && !call.Text(0).empty()) page_->NavigateFrom(call.Text(0));
    return call.ReturnNull();
}

HRESULT WindowObject::AttachEvent(Invocation& call) {
    IDispatch* function = call.Object(1);
    if (!function || !dom::EqualsIgnoringCase(call.Text(0), L"onload")) return call.ReturnBool(false);
    attachedLoad_.emplace_back(function);
    return call.ReturnBool(true);
}
HRESULT WindowObject::DetachEvent(Invocation& call) {
    IDispatch* function = call.Object(1);
    for (auto it = attachedLoad_.begin(); it != attachedLoad_.end(); ++it) {
        if (it->Get() == function) {
            attachedLoad_.erase(it);
            break;
        }
    }
    return call.ReturnEmpty();
}

HRESULT WindowObject::GetOption(Invocation& call) {
    if (!page_ || !page_->Document()) return call.ReturnNull();
    if (!optionConstructor_) optionConstructor_ = om::OptionConstructor(*page_->Document());
    return call.ReturnObject(optionConstructor_.Get());
}

HRESULT WindowObject::GetImage(Invocation& call) {
    if (!page_ || !page_->Document()) return call.ReturnNull();
    if (!imageConstructor_) imageConstructor_ = om::ImageConstructor(*page_->Document());
    return call.ReturnObject(imageConstructor_.Get());
}

HRESULT WindowObject::CreatePopup(Invocation& call) {
    if (!page_) return call.ReturnNull();
    auto popup = om::MakeDispatch<PopupObject>(page_->PopupOwner());
    popups_.emplace_back(popup.Get());
    return call.ReturnObject(popup.Get());
}

HRESULT WindowObject::Nothing(Invocation& call) { return call.ReturnEmpty(); }

// The view scrolls through its root element, as documentElement.scrollTop does.
HRESULT WindowObject::ScrollTo(Invocation& call) {
    dom::Document* document = page_ ? page_->Document() : nullptr;
    if (dom::Element* html = document ? document->DocumentElement() : nullptr)
        layout::ScrollTo(*html, static_cast<long>(call.Number(0)), static_cast<long>(call.Number(1)));
    return call.ReturnEmpty();
}

HRESULT WindowObject::ScrollBy(Invocation& call) {
    dom::Document* document = page_ ? page_->Document() : nullptr;
    if (dom::Element* html = document ? document->DocumentElement() : nullptr) {
        const POINT at = layout::ViewScroll(*document);
        layout::ScrollTo(*html, at.x + static_cast<long>(call.Number(0)), at.y + static_cast<long>(call.Number(1)));
    }
    return call.ReturnEmpty();
}

// ---- location ----------------------------------------------------------------

const om::MemberTable& LocationObject::Members() const {
    using L = LocationObject;
    static const om::MemberTable table{{
        {L"href", &Bind<L, &L::GetHref>, &Bind<L, &L::PutHref>},
        {L"protocol", &Bind<L, &L::GetProtocol>},
        {L"host", &Bind<L, &L::GetHost>},
        {L"hostname", &Bind<L, &L::GetHostname>},
        {L"port", &Bind<L, &L::GetPort>},
        {L"pathname", &Bind<L, &L::GetPathname>},
        {L"search", &Bind<L, &L::GetSearch>, &Bind<L, &L::PutSearch>},
        {L"hash", &Bind<L, &L::GetHash>, &Bind<L, &L::PutHash>},
        {L"reload", nullptr, nullptr, &Bind<L, &L::Reload>},
        {L"replace", nullptr, nullptr, &Bind<L, &L::Assign>},
        {L"assign", nullptr, nullptr, &Bind<L, &L::Assign>},
        {L"toString", nullptr, nullptr, &Bind<L, &L::ToString>},
    }};
    return table;
}

std::wstring LocationObject::Href() const { return page_ ? page_->Url() : L""; }

namespace {
UrlParts PartsOf(const std::wstring& url) {
    UrlParts parts;
    ParseUrl(url, parts);
    return parts;
}
}  // namespace

// Read as a value, the location is its address.
HRESULT LocationObject::InvokeValue(Invocation& call) {
    if (call.IsPut()) return PutHref(call);
    return call.ReturnText(Href());
}
HRESULT LocationObject::GetHref(Invocation& call) { return call.ReturnText(Href()); }
HRESULT LocationObject::PutHref(Invocation& call) {
    if (page_) page_->NavigateFrom(call.ValueText());
    return S_OK;
}
HRESULT LocationObject::GetProtocol(Invocation& call) { return call.ReturnText(PartsOf(Href()).scheme + L":"); }
HRESULT LocationObject::GetHost(Invocation& call) { return call.ReturnText(UrlHostWithPort(PartsOf(Href()))); }
HRESULT LocationObject::GetHostname(Invocation& call) { return call.ReturnText(PartsOf(Href()).host); }
HRESULT LocationObject::GetPort(Invocation& call) { return call.ReturnText(PartsOf(Href()).port); }
HRESULT LocationObject::GetPathname(Invocation& call) { return call.ReturnText(PartsOf(Href()).path); }
HRESULT LocationObject::GetSearch(Invocation& call) { return call.ReturnText(PartsOf(Href()).query); }
HRESULT LocationObject::PutSearch(Invocation& call) {
    if (!page_) return S_OK;
    UrlParts parts = PartsOf(Href());
    std::wstring query = call.ValueText();
    parts.query = query.empty() || query[0] == L'?' ? query : L"?" + query;
    parts.fragment.clear();
    page_->NavigateFrom(JoinUrl(parts));
    return S_OK;
}
HRESULT LocationObject::GetHash(Invocation& call) {
    const std::wstring hash = PartsOf(Href()).fragment;
    return call.ReturnText(hash == L"#" ? L"" : hash);
}
HRESULT LocationObject::PutHash(Invocation& call) {
    if (!page_) return S_OK;
    std::wstring hash = call.ValueText();
    page_->NavigateFrom(UrlWithoutFragment(Href()) + (hash.rfind(L'#', 0) == 0 ? hash : L"#" + hash));
    return S_OK;
}
HRESULT LocationObject::Reload(Invocation& call) {
    if (page_) page_->Reload();
    return call.ReturnEmpty();
}
HRESULT LocationObject::Assign(Invocation& call) {
    if (page_) page_->NavigateFrom(call.Text(0));
    return call.ReturnEmpty();
}
HRESULT LocationObject::ToString(Invocation& call) { return call.ReturnText(Href()); }

// ---- navigator ---------------------------------------------------------------

const om::MemberTable& NavigatorObject::Members() const {
    using N = NavigatorObject;
    static const om::MemberTable table{{
        {L"userAgent", &Bind<N, &N::GetUserAgent>},
        {L"appName", &Bind<N, &N::GetAppName>},
        {L"appCodeName", &Bind<N, &N::GetAppCodeName>},
        {L"appVersion", &Bind<N, &N::GetAppVersion>},
        {L"platform", &Bind<N, &N::GetPlatform>},
        {L"cpuClass", &Bind<N, &N::GetPlatform>},
        {L"language", &Bind<N, &N::GetLanguage>},
        {L"userLanguage", &Bind<N, &N::GetLanguage>},
        {L"systemLanguage", &Bind<N, &N::GetLanguage>},
        {L"browserLanguage", &Bind<N, &N::GetLanguage>},
        {L"cookieEnabled", &Bind<N, &N::GetTrue>},
        {L"onLine", &Bind<N, &N::GetTrue>},
        {L"javaEnabled", nullptr, nullptr, &Bind<N, &N::JavaEnabled>},
    }};
    return table;
}

HRESULT NavigatorObject::GetUserAgent(Invocation& call) {
    const std::string agent = UserAgent();
    return call.ReturnText(std::wstring(agent.begin(), agent.end()));
}
HRESULT NavigatorObject::GetAppName(Invocation& call) { return call.ReturnText(L"Microsoft Internet Explorer"); }
HRESULT NavigatorObject::GetAppCodeName(Invocation& call) { return call.ReturnText(L"Mozilla"); }
HRESULT NavigatorObject::GetAppVersion(Invocation& call) {
    const std::string agent = UserAgent();
    const std::string version = agent.substr(agent.find('/') + 1);
    return call.ReturnText(std::wstring(version.begin(), version.end()));
}
HRESULT NavigatorObject::GetPlatform(Invocation& call) { return call.ReturnText(L"Win32"); }
HRESULT NavigatorObject::GetLanguage(Invocation& call) { return call.ReturnText(L"zh-cn"); }
HRESULT NavigatorObject::GetTrue(Invocation& call) { return call.ReturnBool(true); }
HRESULT NavigatorObject::JavaEnabled(Invocation& call) { return call.ReturnBool(false); }

// ---- screen and history -------------------------------------------------------

const om::MemberTable& ScreenObject::Members() const {
    static auto workArea = [] {
        RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
        return area;
    };
    static auto colorDepth = [](om::DispatchObject&, Invocation& c) {
        HDC screen = GetDC(nullptr);
        const int bits = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
        ReleaseDC(nullptr, screen);
        return c.ReturnInteger(bits);
    };
    static const om::MemberTable table{{
        {L"width", [](om::DispatchObject&, Invocation& c) { return c.ReturnInteger(GetSystemMetrics(SM_CXSCREEN)); }},
        {L"height", [](om::DispatchObject&, Invocation& c) { return c.ReturnInteger(GetSystemMetrics(SM_CYSCREEN)); }},
        {L"availWidth", [](om::DispatchObject&, Invocation& c) {
             const RECT area = workArea();
             return c.ReturnInteger(area.right - area.left);
         }},
        {L"availHeight", [](om::DispatchObject&, Invocation& c) {
             const RECT area = workArea();
             return c.ReturnInteger(area.bottom - area.top);
         }},
        {L"colorDepth", colorDepth},
        {L"pixelDepth", colorDepth},
        {L"bufferDepth", [](om::DispatchObject&, Invocation& c) { return c.ReturnInteger(0); }},
        {L"deviceXDPI", [](om::DispatchObject&, Invocation& c) { return c.ReturnInteger(96); }},
        {L"deviceYDPI", [](om::DispatchObject&, Invocation& c) { return c.ReturnInteger(96); }},
        {L"logicalXDPI", [](om::DispatchObject&, Invocation& c) { return c.ReturnInteger(96); }},
        {L"logicalYDPI", [](om::DispatchObject&, Invocation& c) { return c.ReturnInteger(96); }},
        {L"updateInterval", [](om::DispatchObject&, Invocation& c) { return c.ReturnInteger(0); }},
        {L"fontSmoothingEnabled", [](om::DispatchObject&, Invocation& c) { return c.ReturnBool(true); }},
    }};
    return table;
}

const om::MemberTable& HistoryObject::Members() const {
    static auto nothing = [](om::DispatchObject&, Invocation& c) { return c.ReturnEmpty(); };
    static const om::MemberTable table{{
        {L"length", [](om::DispatchObject&, Invocation& c) { return c.ReturnInteger(1); }},
        {L"back", nullptr, nullptr, nothing},
        {L"forward", nullptr, nullptr, nothing},
        {L"go", nullptr, nullptr, nothing},
    }};
    return table;
}

}  // namespace corvalin::browser
