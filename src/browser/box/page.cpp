#include "browser/box/page.h"

#include <windows.h>
#include <wininet.h>

#include <algorithm>

#include "browser/box/browser_box_engine.h"
#include "browser/box/ui_task.h"
#include "browser/html/html_parser.h"
#include "browser/layout/geometry.h"
#include "browser/layout/image_store.h"
#include "browser/net/charset.h"
#include "browser/net/http_client.h"
#include "browser/net/local_file.h"
#include "browser/net/url.h"
#include "browser/om/node_objects.h"
#include "browser/script/window_object.h"
#include "browser/script/xml_http_request.h"

namespace corvalin::browser {

using Microsoft::WRL::ComPtr;

Page::Page(BrowserBoxEngine& box, unsigned serial, Page* parent)
    : box_(box), serial_(serial), parent_(parent), link_(std::make_shared<WindowHost*>(this)) {}

bool Page::Busy() const {
    if (depth_ > 0) return true;
    return std::any_of(frames_.begin(), frames_.end(), [](const Frame& f) { return f.page && f.page->Busy(); });
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
    if (nativeTimer_) KillTimer(box_.RenderingWindow(), nativeTimer_);
    armedFor_ = 0;
    timers_.clear();
    schedule_.clear();
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

// ---- downloads -----------------------------------------------------------------

HttpRequest Page::RequestFor(const std::wstring& url) const {
    HttpRequest request;
    request.url = EncodeUrlForRequest(url);
    request.referrer = EncodeUrlForRequest(url_);
    return request;
}

bool Page::MayFetch(const std::wstring& url) const {
    UrlParts parts, page;
    if (url.empty() || !ParseUrl(url, parts)) return false;
    return parts.scheme == L"http" || parts.scheme == L"https" ||
           (parts.scheme == L"file" && ParseUrl(url_, page) && page.scheme == L"file");
}

void Page::FetchInBackground(HttpRequest request, std::function<void(Page&, const HttpResponse&)> arrived) {
    auto response = std::make_shared<HttpResponse>();
    const HWND box = box_.Window();
    const unsigned serial = serial_;
    // Only a page from a local file reads local files.
    const bool allowed = MayFetch(ToWide(request.url));
    RunInBackground(
        box, [request = std::move(request), response, allowed] { if (allowed) *response = FetchAddress(request); },
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
        if (xhr->Exchange() == exchange) xhr->Complete(response);
    });
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

std::wstring Page::Cookie() {
    DWORD size = 0;
    if (!InternetGetCookieW(url_.c_str(), nullptr, nullptr, &size) || size == 0) return {};
    std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
    if (!InternetGetCookieW(url_.c_str(), nullptr, text.data(), &size)) return {};
    text.resize(wcslen(text.c_str()));
    return text;
}

void Page::SetCookie(const std::wstring& cookie) {
    if (InternetSetCookieW(url_.c_str(), nullptr, cookie.c_str())) CookiesChanged();
}

ComPtr<IDispatch> Page::WindowObject() { return window_; }

HWND Page::PopupOwner() const { return box_.RenderingWindow() ? box_.RenderingWindow() : box_.Window(); }
ComPtr<IDispatch> Page::LocationObject() { return location_; }

// ---- events --------------------------------------------------------------------

// ---- style sheets and images ---------------------------------------------------

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
        if (!MayFetch(url)) continue;
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
        if (!MayFetch(url)) {
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
    RunAfterThisTask(box, [box, serial] {
        BrowserBox* owner = BrowserBox::FromWindow(box);
        Page* page = owner ? owner->Engine().Current() : nullptr;
        if (!page || page->Serial() != serial) return;
        page->viewCheckScheduled_ = false;
        page->FetchImages();
    });
}

}  // namespace corvalin::browser
