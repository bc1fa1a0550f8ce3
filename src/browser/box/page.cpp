#include "browser/box/page.h"

#include <windows.h>
#include <commdlg.h>
#include <wininet.h>

#include <algorithm>

#include "base/unique.h"
#include "browser/box/browser_box_engine.h"
#include "browser/box/ui_task.h"
#include "browser/html/html_parser.h"
#include "browser/layout/geometry.h"
#include "browser/layout/image_store.h"
#include "browser/net/charset.h"
#include "browser/net/form_encoding.h"
#include "browser/net/local_file.h"
#include "browser/net/url.h"
#include "browser/om/node_objects.h"
#include "browser/script/script_watchdog.h"
#include "browser/script/window_object.h"
#include "browser/script/xml_http_request.h"

namespace corvalin::browser {

using Microsoft::WRL::ComPtr;

namespace {

constexpr int kMaxFrameDepth = 3;
constexpr std::size_t kMaxCompiledTexts = 4096;

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

// The language an attribute handler names with a "javascript:"/"vbscript:"
// prefix, which is then taken off the code.
ScriptLanguage HandlerLanguage(std::wstring& code, ScriptLanguage fallback) {
    size_t start = 0;
    while (start < code.size() && iswspace(code[start])) ++start;
    for (const auto& [prefix, language] : {std::pair{std::wstring_view(L"javascript:"), ScriptLanguage::JScript},
                                           std::pair{std::wstring_view(L"jscript:"), ScriptLanguage::JScript},
                                           std::pair{std::wstring_view(L"vbscript:"), ScriptLanguage::VBScript}}) {
        if (code.size() - start >= prefix.size() && dom::EqualsIgnoringCase(std::wstring_view(code).substr(start, prefix.size()), prefix)) {
            code.erase(0, start + prefix.size());
            return language;
        }
    }
    return fallback;
}

ScriptLanguage LanguageOfScript(const dom::Element& script) {
    if (const std::wstring* language = script.FindAttribute(L"language"); language && !language->empty())
        return ScriptLanguageFromName(*language);
    if (const std::wstring* type = script.FindAttribute(L"type")) return ScriptLanguageFromName(*type);
    return ScriptLanguage::JScript;
}

std::wstring DecodeScript(const HttpResponse& response, const dom::Element& script, unsigned documentCodePage) {
    const std::string_view body(reinterpret_cast<const char*>(response.body.data()), response.body.size());
    if (body.size() >= 3 && body.substr(0, 3) == "\xEF\xBB\xBF") return DecodeCodePage(body.substr(3), CP_UTF8);
    unsigned codePage = CodePageOfCharset(CharsetOfContentType(response.contentType));
    if (codePage == 0) codePage = CodePageOfCharset(EncodeCodePage(script.GetAttribute(L"charset"), CP_UTF8));
    if (codePage == 0) codePage = documentCodePage;
    return DecodeCodePage(body, codePage);
}

}  // namespace

Page::Page(BrowserBoxEngine& box, unsigned serial, Page* parent)
    : box_(box), serial_(serial), parent_(parent), link_(std::make_shared<Page*>(this)) {}

bool Page::Busy() const {
    if (depth_ > 0) return true;
    return std::any_of(frames_.begin(), frames_.end(), [](const Frame& f) { return f.page && f.page->Busy(); });
}

Page* Page::FramePage(std::size_t index) const { return index < frames_.size() ? frames_[index].page.get() : nullptr; }

Page* Page::FramePageNamed(std::wstring_view name) const {
    for (const Frame& frame : frames_)
        if (frame.page && !name.empty() && frame.element->GetAttribute(L"name") == name) return frame.page.get();
    return nullptr;
}

Page* Page::FindPage(unsigned serial) {
    if (serial_ == serial) return this;
    for (const Frame& frame : frames_)
        if (Page* found = frame.page ? frame.page->FindPage(serial) : nullptr) return found;
    return nullptr;
}

Page::~Page() {
    Close();
    if (document_ && document_->Host() == this) document_->SetHost(nullptr);
}

void Page::Build(const PageSource& source) {
    url_ = source.url;
    codePage_ = source.codePage ? source.codePage : GetACP();
    httpStatus_ = source.httpStatus;
    document_ = html::ParseDocument(source.markup, source.url);
    document_->SetCharset(source.charset);
    document_->SetFileSize(source.fileSize);
    document_->SetReadyState(L"loading");
    document_->SetHost(this);
    window_ = om::MakeDispatch<browser::WindowObject>(this);
    location_ = om::MakeDispatch<browser::LocationObject>(this);
    scripts_ = std::make_unique<ScriptHost>(window_.Get(), box_.Window());
    scripts_->SetTimeLimit(box_.ScriptTimeLimit());
    documentObject_ = om::DocumentObject(*document_);
}

// Script functions kept as element handlers hold the script's scopes, which
// hold the elements again: drop them when the page goes, or the tree stays.
static void ReleaseScriptHandlers(dom::Document& document) {
    static const wchar_t* kEvents[] = {
        L"onclick", L"ondblclick", L"onmousedown", L"onmouseup", L"onmouseover", L"onmouseout", L"onmousemove",
        L"onkeydown", L"onkeyup", L"onkeypress", L"onchange", L"onfocus", L"onblur", L"onsubmit", L"onreset",
        L"onload", L"onunload", L"onerror", L"onselect", L"onselectstart", L"oncontextmenu", L"ondragstart",
        L"onscroll", L"onresize", L"onreadystatechange", L"onpropertychange", L"oninput",
    };
    document.DocumentHandlers().clear();
    document.PropertyHandlers().clear();
    const dom::ElementCollection all = document.All();
    for (dom::Element* element : all.Elements()) {
        for (const auto* name : kEvents) {
            if (om::HandlerFunction(element->Handler(name))) element->SetHandler(name, dom::EventHandler{});
        }
    }
}

void Page::Close() {
    if (closed_) return;
    closed_ = true;
    *link_ = nullptr;
    if (document_) ReleaseScriptHandlers(*document_);
    for (const auto& [id, timer] : timers_) KillTimer(box_.RenderingWindow(), id);
    timers_.clear();
    compiled_.clear();
    requests_.clear();
    waiting_.clear();
    currentEvent_.Reset();
    for (const Frame& frame : frames_)
        if (frame.page) frame.page->Close();
    if (scripts_) scripts_->Close();
    if (window_) window_->Detach();
    if (location_) location_->Detach();
    if (document_ && document_->Host() == this) document_->SetHost(nullptr);
    // Decoded pictures and the layout go with the page, even while script
    // objects keep its tree readable.
    if (document_) {
        document_->SetImageAttachment(nullptr);
        document_->SetLayoutAttachment(nullptr);
    }
}

// ---- the load ------------------------------------------------------------------

void Page::StartLoad() { RunNextScripts(); }

dom::Element* Page::NextScript() {
    if (!document_) return nullptr;
    // Onward from the script run last: over the whole load every node is
    // passed once, however many scripts the page has or writes. A script that
    // took itself out of the tree leaves no place to go on from: look again
    // from the start.
    dom::Node* root = document_.get();
    dom::Node* from = lastScript_ && lastScript_->IsConnected() ? static_cast<dom::Node*>(lastScript_.get()) : root;
    for (dom::Node* n = from->NextInTree(root); n; n = n->NextInTree(root)) {
        dom::Element* e = n->AsElement();
        if (e && e->Is(L"script") && !ranScripts_.count(e)) return e;
    }
    return nullptr;
}

void Page::RunNextScripts() {
    ScriptDepth depth(*this);
    while (!closed_ && !waitingForScript_) {
        dom::Element* script = NextScript();
        if (!script) {
            if (!framesStarted_) {
                framesStarted_ = true;
                LoadFrames();
            }
            if (pendingFrames_ == 0) FinishLoad();
            return;
        }
        ranScripts_.insert(script);
        ranScriptRefs_.emplace_back(script);
        lastScript_ = script;
        if (LanguageOfScript(*script) == ScriptLanguage::Unknown) continue;
        const std::wstring src = script->GetAttribute(L"src");
        if (src.empty()) {
            RunScriptElement(*script, script->TextContent());
            continue;
        }
        // An external script is fetched before the ones after it run.
        waitingForScript_ = true;
        const unsigned parked = Park(script);
        FetchInBackground(RequestFor(document_->ResolveUrl(src)), [parked](Page& page, const HttpResponse& response) {
            const dom::Ref<dom::Element> element = page.Unpark(parked);
            if (!element) return;
            page.waitingForScript_ = false;
            if (response.status >= 200 && response.status < 300)
                page.RunScriptElement(*element, DecodeScript(response, *element, page.codePage_));
            page.RunNextScripts();
        });
        return;
    }
}

void Page::RunScriptElement(dom::Element& script, const std::wstring& text) {
    const ScriptLanguage language = LanguageOfScript(script);
    if (!languageChosen_) {
        // Attribute handlers speak the language of the page's first script.
        defaultLanguage_ = language;
        languageChosen_ = true;
    }
    // Markup written by the script goes in right after it.
    document_->SetCurrentScript(&script);
    RunScript(text, language);
    if (document_) document_->SetCurrentScript(nullptr);
}

void Page::LoadFrames() {
    int depth = 0;
    for (Page* p = parent_; p; p = p->parent_) ++depth;
    if (depth >= kMaxFrameDepth) return;   // deeper frames stay empty
    const dom::ElementCollection frames = document_->Frames();
    const std::vector<dom::Element*> elements = frames.Elements();
    // One count for every frame and one for this loop, so no frame that loads
    // at once finishes the page before the rest have started.
    pendingFrames_ += static_cast<int>(elements.size()) + 1;
    for (dom::Element* frame : elements) {
        const std::size_t index = frames_.size();
        frames_.push_back({frame, nullptr});
        const std::wstring url = frame->ResolvedUrlAttribute(L"src");
        UrlParts parts;
        if (url.empty() || !ParseUrl(url, parts) || (parts.scheme != L"http" && parts.scheme != L"https")) {
            PageSource blank;
            blank.url = L"about:blank";
            blank.codePage = GetACP();
            blank.charset = DetermineCharset("", "").name;
            auto page = std::make_unique<Page>(box_, box_.NewFrameSerial(), this);
            page->Build(blank);
            FrameArrived(index, std::move(page));
            continue;
        }
        FetchInBackground(RequestFor(url), [index, url](Page& page, const HttpResponse& response) {
            const std::string_view body(reinterpret_cast<const char*>(response.body.data()), response.body.size());
            const Charset charset = DetermineCharset(response.contentType, body);
            PageSource source;
            source.url = response.finalUrl.empty() ? url : ToWide(response.finalUrl);
            source.markup = DecodeCodePage(body, charset.codePage);
            std::replace(source.markup.begin(), source.markup.end(), L'\0', L'\xFFFD');
            source.charset = charset.name;
            source.codePage = charset.codePage;
            source.fileSize = body.size();
            source.httpStatus = response.status;
            auto inner = std::make_unique<Page>(page.box_, page.box_.NewFrameSerial(), &page);
            inner->Build(source);
            page.FrameArrived(index, std::move(inner));
        });
    }
    FrameLoaded();   // the loop's own count
}

void Page::FrameArrived(std::size_t index, std::unique_ptr<Page> page) {
    if (closed_ || index >= frames_.size()) return;
    Frame& frame = frames_[index];
    frame.element->SetContentDocument(page->Document());
    Page* started = page.get();
    frame.page = std::move(page);
    started->StartLoad();   // its scripts, frames and onload; then FrameLoaded here
}

unsigned Page::Park(dom::Element* element) {
    const unsigned id = nextRequest_++;
    waiting_[id] = element;
    return id;
}

dom::Ref<dom::Element> Page::Unpark(unsigned id) {
    const auto it = waiting_.find(id);
    if (it == waiting_.end()) return nullptr;
    dom::Ref<dom::Element> element = std::move(it->second);
    waiting_.erase(it);
    return element;
}

void Page::FrameLoaded() {
    if (--pendingFrames_ == 0 && !waitingForScript_) FinishLoad();
}

void Page::FinishLoad() {
    if (loaded_ || closed_) return;
    // onload waits for the page's style sheets and the images they leave shown.
    if (!resourcesStarted_) {
        resourcesStarted_ = true;
        FetchStyleSheets();
        if (pendingResources_ == 0) FetchImages();
    }
    if (pendingResources_ > 0) return;
    document_->SetReadyState(L"complete");
    FireLoad();
    loaded_ = true;
    if (parent_) parent_->FrameLoaded();
    else box_.PageLoaded();
}

void Page::FireLoad() {
    if (closed_ || !document_) return;
    ScriptDepth depth(*this);
    const auto handlers = window_->LoadHandlers();
    dom::Element* body = document_->Body();
    if (handlers.empty()) {
        if (body) {
            const dom::EventHandler handler = body->Handler(L"onload");
            if (!handler.Empty()) {
                dom::Event event;
                event.type = L"load";
                event.target = body;
                event.current = body;
                RunEventHandler(*body, event, handler);
            }
        }
        return;
    }
    for (const auto& function : handlers) {
        if (closed_) return;
        scripts_->CallFunction(function.Get(), window_.Get(), {});
    }
}

// ---- scripts -------------------------------------------------------------------

bool Page::RunScript(const std::wstring& code, ScriptLanguage language, VARIANT* result) {
    if (closed_ || !scripts_) return false;
    ScriptDepth depth(*this);
    return scripts_->Run(code, language, result);
}

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

ComPtr<IDispatch> Page::Compiled(const std::wstring& code, ScriptLanguage language) {
    const auto key = std::make_pair(language, code);
    if (const auto it = compiled_.find(key); it != compiled_.end()) return it->second;
    ComPtr<IDispatch> function = scripts_->CompileHandler(code, language);
    // A page that makes up new texts forever compiles them each time instead
    // of growing the cache forever.
    if (function && compiled_.size() < kMaxCompiledTexts) compiled_.emplace(key, function);
    return function;
}

HttpRequest Page::RequestFor(const std::wstring& url) const {
    HttpRequest request;
    request.url = EncodeUrlForRequest(url);
    request.referrer = EncodeUrlForRequest(url_);
    return request;
}

void Page::FetchInBackground(HttpRequest request, std::function<void(Page&, const HttpResponse&)> arrived) {
    auto response = std::make_shared<HttpResponse>();
    const HWND box = box_.Window();
    const unsigned serial = serial_;
    RunInBackground(
        box, [request = std::move(request), response] { *response = Fetch(request); },
        [box, serial, response, arrived = std::move(arrived)] {
            BrowserBox* owner = BrowserBox::FromWindow(box);
            Page* page = owner ? owner->Engine().FindPage(serial) : nullptr;
            if (page && !page->closed_) arrived(*page, *response);
        });
}

void Page::StartRequest(XmlHttpRequest* request, unsigned exchange, HttpRequest http) {
    if (closed_) return;
    const unsigned id = nextRequest_++;
    requests_[id] = request;
    FetchInBackground(std::move(http), [id, exchange](Page& page, const HttpResponse& response) {
        const auto it = page.requests_.find(id);
        if (it == page.requests_.end()) return;
        ComPtr<XmlHttpRequest> xhr = it->second;
        page.requests_.erase(it);
        if (xhr->exchange_ == exchange) xhr->Complete(response);
    });
}

DialogAnswer Page::ShowDialog(const DialogRequest& request) {
    ScriptDepth depth(*this);
    ScriptClockPause pause;   // the user's time to answer is not the script's
    return box_.ShowDialog(request);
}

// ---- navigation ----------------------------------------------------------------

void Page::NavigateFrom(const std::wstring& url) {
    if (closed_) return;
    const std::wstring resolved = document_ ? document_->ResolveUrl(url) : ResolveUrl(url_, url);
    HttpRequest request;
    request.referrer = EncodeUrlForRequest(url_);
    box_.Navigate(resolved, request.referrer);
}

void Page::Reload() {
    if (!closed_) box_.Navigate(url_, std::string());
}

void Page::Navigate(const std::wstring& url, const std::wstring& /*target*/) {
    // The box is one window: every target opens here.
    NavigateFrom(url);
}

namespace {

}  // namespace

void Page::SubmitForm(dom::Element& form, const dom::FormSubmission& submission) {
    if (closed_) return;
    if (submission.method == L"post" && submission.enctype == L"multipart/form-data") {
        // File inputs send the chosen file's content under its path.
        std::vector<dom::Element*> files;
        for (dom::Element* control : form.FormElements())
            if (control->Is(L"input") && control->Type() == L"file") files.push_back(control);
        std::vector<FormPart> parts;
        for (const auto& field : submission.fields) {
            FormPart part{field.name, field.value};
            for (auto it = files.begin(); it != files.end(); ++it) {
                if ((*it)->Name() == field.name) {
                    part.file = true;
                    if (!field.value.empty()) part.content = ReadLocalFile(field.value);
                    files.erase(it);
                    break;
                }
            }
            parts.push_back(std::move(part));
        }
        const std::string boundary = "---------------------------7d" + std::to_string(GetTickCount64()) + "corvalin";
        HttpRequest request;
        request.method = "POST";
        request.url = EncodeUrlForRequest(UrlWithoutFragment(submission.action.empty() ? url_ : submission.action));
        request.referrer = EncodeUrlForRequest(url_);
        request.headers.emplace_back("Content-Type", "multipart/form-data; boundary=" + boundary);
        request.body = EncodeMultipartFormData(parts, boundary, codePage_);
        box_.Navigate(std::move(request));
        return;
    }
    std::vector<FormField> fields;
    fields.reserve(submission.fields.size());
    for (const auto& field : submission.fields) fields.emplace_back(field.name, field.value);
    const std::string data = EncodeFormData(fields, codePage_);
    const std::wstring action = submission.action.empty() ? url_ : submission.action;
    HttpRequest request;
    request.referrer = EncodeUrlForRequest(url_);
    if (submission.method == L"post") {
        request.method = "POST";
        request.url = EncodeUrlForRequest(UrlWithoutFragment(action));
        request.headers.emplace_back("Content-Type", "application/x-www-form-urlencoded");
        request.body.assign(data.begin(), data.end());
    } else {
        std::wstring base = UrlWithoutFragment(action);
        if (const size_t question = base.find(L'?'); question != std::wstring::npos) base.resize(question);
        request.url = EncodeUrlForRequest(base) + "?" + data;
    }
    box_.Navigate(std::move(request));
}

std::optional<std::wstring> Page::ChooseFile(dom::Element& input) {
    // Looked up at every click, so a patch put on the function takes effect.
    HMODULE dialogs = GetModuleHandleA("comdlg32.dll");
    if (!dialogs) dialogs = LoadLibraryA("comdlg32.dll");
    using OpenFunction = BOOL(WINAPI*)(OPENFILENAMEW*);
    const auto open = dialogs ? reinterpret_cast<OpenFunction>(reinterpret_cast<void*>(GetProcAddress(dialogs, "GetOpenFileNameW"))) : nullptr;
    if (!open) return std::nullopt;
    std::vector<wchar_t> file(32768, L'\0');
    const std::wstring current = input.Value();
    std::copy_n(current.begin(), std::min(current.size(), file.size() - 1), file.begin());
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = GetAncestor(box_.Window(), GA_ROOT);
    dialog.lpstrFilter = L"All Files (*.*)\0*.*\0";
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size() - 1);
    dialog.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    ScriptDepth depth(*this);
    ScriptClockPause pause;
    if (!open(&dialog)) return std::nullopt;
    file.back() = L'\0';
    return std::wstring(file.data());
}

std::wstring Page::Cookie() {
    DWORD size = 0;
    if (!InternetGetCookieW(url_.c_str(), nullptr, nullptr, &size) || size == 0) return {};
    std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
    if (!InternetGetCookieW(url_.c_str(), nullptr, text.data(), &size)) return {};
    text.resize(wcslen(text.c_str()));
    return text;
}

void Page::SetCookie(const std::wstring& cookie) { InternetSetCookieW(url_.c_str(), nullptr, cookie.c_str()); }

ComPtr<IDispatch> Page::WindowObject() { return window_; }
ComPtr<IDispatch> Page::LocationObject() { return location_; }

// ---- events --------------------------------------------------------------------

bool Page::RunEventHandler(dom::Element& element, dom::Event& event, const dom::EventHandler& handler) {
    if (closed_ || !scripts_ || handler.Empty()) return true;
    ScriptDepth depth(*this);
    ComPtr<IDispatch> function = om::HandlerFunction(handler);
    if (!function) {
        std::wstring code = handler.source;
        const ScriptLanguage language = HandlerLanguage(code, defaultLanguage_);
        function = Compiled(code, language);
        if (!function) return true;
    }
    const ComPtr<IDispatch> eventObject = om::EventObject(event);
    const ComPtr<IDispatch> previous = currentEvent_;
    currentEvent_ = eventObject;
    const ComPtr<IDispatch> self = om::NodeObject(&element);
    VARIANT argument;
    VariantInit(&argument);
    argument.vt = VT_DISPATCH;
    argument.pdispVal = eventObject.Get();
    VARIANT result;
    VariantInit(&result);
    scripts_->CallFunction(function.Get(), self.Get(), {argument}, &result);
    // returnValue and cancelBubble set by the handler go back to the dispatch.
    om::ReadBackEvent(eventObject.Get(), event);
    if (!closed_) currentEvent_ = previous;
    const bool cancelled = result.vt == VT_BOOL && result.boolVal == VARIANT_FALSE;
    VariantClear(&result);
    return !cancelled;
}

}  // namespace corvalin::browser

// ---- style sheets and images ---------------------------------------------------

namespace corvalin::browser {

void Page::ResourceArrived() {
    if (--pendingResources_ > 0 || loaded_ || closed_) return;
    // Sheets in: the layout now knows which images it shows.
    FetchImages();
    if (pendingResources_ == 0 && !waitingForScript_ && pendingFrames_ == 0) FinishLoad();
}

void Page::FetchStyleSheets() {
    const dom::ElementCollection links = document_->GetElementsByTagName(L"link");
    for (dom::Element* link : links.Elements()) {
        if (!dom::EqualsIgnoringCase(link->GetAttribute(L"rel"), L"stylesheet")) continue;
        const std::wstring url = link->ResolvedUrlAttribute(L"href");
        UrlParts parts;
        if (url.empty() || !ParseUrl(url, parts) || (parts.scheme != L"http" && parts.scheme != L"https")) continue;
        ++pendingResources_;
        FetchInBackground(RequestFor(url), [url](Page& page, const HttpResponse& response) {
            if (response.status >= 200 && response.status < 300) {
                const std::string_view body(reinterpret_cast<const char*>(response.body.data()), response.body.size());
                unsigned codePage = CodePageOfCharset(CharsetOfContentType(response.contentType));
                if (codePage == 0) codePage = page.codePage_;
                page.document_->SetLinkedStyleSheet(url, DecodeCodePage(body, codePage));
            }
            page.ResourceArrived();
        });
    }
}

void Page::FetchImages() {
    if (closed_ || !document_ || !resourcesStarted_) return;
    layout::CurrentLayout(*document_);
    layout::ImageStore& store = layout::ImageStore::Of(*document_);
    for (const std::wstring& url : store.TakeRequests()) {
        UrlParts parts;
        if (!ParseUrl(url, parts) || (parts.scheme != L"http" && parts.scheme != L"https")) {
            store.Arrived(url, {});
            continue;
        }
        if (!loaded_) ++pendingResources_;
        const bool counted = !loaded_;
        FetchInBackground(RequestFor(url), [url, counted](Page& page, const HttpResponse& response) {
            const bool ok = response.status >= 200 && response.status < 300;
            layout::ImageStore& images = layout::ImageStore::Of(*page.document_);
            images.Arrived(url, ok ? response.body : Bytes{});
            const dom::Ref<dom::Document> document(page.document_);
            document->LayoutInputsChanged();
            const layout::Image* image = images.Lookup(url);
            const bool loaded = image && image->state == layout::Image::State::Loaded;
            const dom::ElementCollection all = document->All();
            std::vector<dom::Ref<dom::Element>> targets;
            for (dom::Element* e : all.Elements())
                if ((e->Is(L"img") || e->Is(L"input")) && e->ResolvedUrlAttribute(L"src") == url) targets.emplace_back(e);
            for (const auto& e : targets) {
                if (page.closed_) return;
                document->FireEvent(*e, loaded ? L"onload" : L"onerror");
            }
            if (counted) page.ResourceArrived();
        });
    }
}

void Page::ViewChanged() {
    box_.Repaint();
    // Changes made by script may show images not asked for yet; look once the
    // current batch of changes is over.
    if (viewCheckScheduled_ || !resourcesStarted_ || closed_) return;
    viewCheckScheduled_ = true;
    const HWND box = box_.Window();
    const unsigned serial = serial_;
    PostUiTask(box, [box, serial] {
        BrowserBox* owner = BrowserBox::FromWindow(box);
        Page* page = owner ? owner->Engine().Current() : nullptr;
        if (!page || page->Serial() != serial) return;
        page->viewCheckScheduled_ = false;
        page->FetchImages();
    });
}

}  // namespace corvalin::browser
