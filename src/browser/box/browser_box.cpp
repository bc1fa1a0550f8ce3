#include "browser/browser_box.h"

#include <windows.h>

#include <optional>
#include <algorithm>

#include "browser/box/browser_box_engine.h"
#include "browser/box/ui_task.h"
#include "browser/net/charset.h"
#include "browser/net/local_file.h"
#include "browser/net/url.h"
#include "browser/om/node_objects.h"

namespace corvalin::browser {

using Microsoft::WRL::ComPtr;

namespace {

UINT GetObjectMessage() {
    static const UINT message = RegisterWindowMessageA("WM_HTML_GETOBJECT");
    return message;
}

BrowserBoxEngine* EngineOfBox(HWND box) {
    return reinterpret_cast<BrowserBoxEngine*>(GetWindowLongPtrA(box, 0));
}

bool HasClass(HWND window, const char* name) {
    char text[64] = {};
    GetClassNameA(window, text, sizeof text);
    return lstrcmpA(text, name) == 0;
}

void FillParent(HWND child) {
    RECT client;
    GetClientRect(GetParent(child), &client);
    MoveWindow(child, 0, 0, client.right, client.bottom, TRUE);
}

LRESULT CALLBACK BoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        SetWindowLongPtrA(window, 0, reinterpret_cast<LONG_PTR>(new BrowserBoxEngine(window)));
        return DefWindowProcA(window, message, wParam, lParam);
    }
    BrowserBoxEngine* engine = EngineOfBox(window);
    if (message == UiTaskMessage()) {
        RunUiTask(lParam);
        return 0;
    }
    switch (message) {
    case WM_CREATE: {
        engine->CreateChildren();
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        const std::wstring start = create->lpszName ? ToWide(create->lpszName) : std::wstring();
        engine->Navigate(start.empty() ? std::wstring(L"about:blank") : start);
        return 0;
    }
    case WM_SIZE:
        if (engine && engine->View()) FillParent(engine->View());
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_NCDESTROY:
        SetWindowLongPtrA(window, 0, 0);
        delete engine;
        DropUiTasks(window);
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK ViewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE:
        if (HWND server = GetWindow(window, GW_CHILD)) FillParent(server);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// The window is an ANSI one: a character outside ASCII arrives as the two
// bytes of its code page, one message each.
std::optional<wchar_t> CharacterOf(WPARAM wParam) {
    static BYTE lead = 0;   // UI thread only
    const BYTE byte = static_cast<BYTE>(wParam & 0xFF);
    if (!lead && IsDBCSLeadByte(byte)) {
        lead = byte;
        return std::nullopt;
    }
    char bytes[2] = {static_cast<char>(lead ? lead : byte), static_cast<char>(byte)};
    const int count = lead ? 2 : 1;
    lead = 0;
    wchar_t character = 0;
    if (MultiByteToWideChar(CP_ACP, 0, bytes, count, &character, 1) != 1) return std::nullopt;
    return character;
}

LRESULT CALLBACK ServerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    BrowserBox* box = BrowserBox::FromWindow(window);
    BrowserBoxEngine* engine = box ? &box->Engine() : nullptr;
    if (message == GetObjectMessage()) return engine ? engine->AnswerGetObject(wParam) : 0;
    switch (message) {
    case WM_TIMER:
        if (!engine || !engine->Current() || !engine->Current()->OnTimer(wParam)) KillTimer(window, wParam);
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        if (engine) engine->Paint(dc, paint.rcPaint);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_PRINTCLIENT: {
        // The page's pixels into a caller's device context (screenshots of a hidden box).
        RECT client;
        GetClientRect(window, &client);
        if (engine) engine->Paint(reinterpret_cast<HDC>(wParam), client);
        return 0;
    }
    case WM_SIZE:
        if (engine) engine->SizeView();
        return 0;
    case WM_VSCROLL:
    case WM_HSCROLL:
        if (engine) engine->OnScroll(message == WM_VSCROLL ? SB_VERT : SB_HORZ, LOWORD(wParam));
        return 0;
    case WM_MOUSEWHEEL:
        if (engine) engine->OnWheel(GET_WHEEL_DELTA_WPARAM(wParam));
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_LBUTTONDOWN:
        SetFocus(window);   // keys go to the page that was clicked
        SetCapture(window);   // a drag goes on outside the window
        if (engine) engine->OnMouseDown(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
        return 0;
    case WM_MOUSEMOVE:
        if (engine && (wParam & MK_LBUTTON))
            engine->OnMouseDrag(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
        if (engine) engine->OnMouseMove(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
        return 0;
    case WM_MOUSELEAVE:
        if (engine) engine->OnMouseLeave();
        return 0;
    case WM_LBUTTONDBLCLK:
        if (engine) engine->OnDoubleClick(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
        return 0;
    case WM_LBUTTONUP:
        if (GetCapture() == window) ReleaseCapture();
        if (engine) {
            engine->OnMouseUp();
            engine->OnClick(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
        }
        return 0;
    case WM_CONTEXTMENU: {
        POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        ScreenToClient(window, &at);
        if (engine) engine->OnContextMenu(at.x, at.y);
        return 0;
    }
    case WM_GETDLGCODE:
        return DLGC_WANTALLKEYS | DLGC_WANTCHARS | DLGC_WANTARROWS | DLGC_WANTTAB;
    case WM_KEYDOWN:
        if (engine) engine->OnKeyDown(static_cast<UINT>(wParam));
        return 0;
    case WM_CHAR:
        if (engine) {
            if (const auto character = CharacterOf(wParam)) engine->OnChar(*character);
        }
        return 0;
    case WM_KEYUP:
        if (engine) engine->OnKeyUp(static_cast<UINT>(wParam));
        return 0;
    case WM_MOUSEACTIVATE:
        return MA_ACTIVATE;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

std::wstring Trimmed(const std::wstring& text) {
    size_t start = 0, end = text.size();
    while (start < end && text[start] <= L' ') ++start;
    while (end > start && text[end - 1] <= L' ') --end;
    return text.substr(start, end - start);
}

// A javascript: address: its code, with %XX escapes undone as the browser does.
std::wstring ScriptOfAddress(const std::wstring& url) {
    std::string bytes;
    const std::string narrow = EncodeCodePage(url.substr(11), CP_UTF8);
    for (size_t i = 0; i < narrow.size(); ++i) {
        if (narrow[i] == '%' && i + 2 < narrow.size() && isxdigit(static_cast<unsigned char>(narrow[i + 1])) &&
            isxdigit(static_cast<unsigned char>(narrow[i + 2]))) {
            bytes += static_cast<char>(std::stoi(narrow.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            bytes += narrow[i];
        }
    }
    return DecodeCodePage(bytes, CP_UTF8);
}

}  // namespace

bool RegisterBrowserBoxClass() {
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    struct ClassInfo { const char* name; WNDPROC proc; int extra; };
    const ClassInfo classes[] = {
        {kBrowserBoxClass, BoxProc, sizeof(LONG_PTR)},
        {kBrowserViewClass, ViewProc, 0},
        {kRenderingWindowClass, ServerProc, 0},
    };
    for (const auto& info : classes) {
        WNDCLASSEXA existing{sizeof existing};
        if (GetClassInfoExA(instance, info.name, &existing)) continue;
        WNDCLASSEXA wc{sizeof wc};
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = info.proc;
        wc.cbWndExtra = info.extra;
        wc.hInstance = instance;
        wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
        wc.lpszClassName = info.name;
        if (!RegisterClassExA(&wc)) return false;
    }
    return true;
}

// ---- the engine ----------------------------------------------------------------

BrowserBoxEngine::BrowserBoxEngine(HWND box) : public_(*this), box_(box) {
    // The script engines are COM objects: make sure the thread has an
    // apartment even when the program did not set one up.
    const HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    comInitialised_ = SUCCEEDED(hr);
}

BrowserBoxEngine::~BrowserBoxEngine() {
    documentMarshal_.Release();
    if (page_) page_->Close();
    page_.reset();
    for (auto& page : retired_) page->Close();
    retired_.clear();
    if (comInitialised_) CoUninitialize();
}

void BrowserBoxEngine::CreateChildren() {
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    RECT client;
    GetClientRect(box_, &client);
    view_ = CreateWindowExA(0, kBrowserViewClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, client.right,
                            client.bottom, box_, nullptr, instance, nullptr);
    server_ = CreateWindowExA(0, kRenderingWindowClass, "", WS_CHILD | WS_VISIBLE, 0, 0, client.right,
                              client.bottom, view_, nullptr, instance, nullptr);
}

void BrowserBoxEngine::Navigate(const std::wstring& address, const std::string& referrer) {
    const std::wstring url = Trimmed(address);
    UrlParts parts;
    const bool absolute = ParseUrl(url, parts);
    if (absolute && parts.scheme == L"javascript") {
        if (page_) page_->RunScript(ScriptOfAddress(url), ScriptLanguage::JScript);
        return;
    }
    if (absolute && parts.scheme == L"vbscript") {
        if (page_) page_->RunScript(ScriptOfAddress(url), ScriptLanguage::VBScript);
        return;
    }
    if (absolute && parts.scheme == L"file") {
        HttpRequest request;
        request.url = ToAnsi(url);
        Navigate(std::move(request));
        return;
    }
    if (absolute && (parts.scheme == L"http" || parts.scheme == L"https")) {
        // Only the fragment changes: the document stays.
        if (page_ && !parts.fragment.empty() && UrlWithoutFragment(url) == UrlWithoutFragment(page_->Url()) &&
            serial_ == committed_) {
            if (page_->Document()) page_->Document()->SetUrl(JoinUrl(parts));
            return;
        }
        HttpRequest request;
        request.url = EncodeUrlForRequest(url);
        request.referrer = referrer;
        Navigate(std::move(request));
        return;
    }
    // about:blank, and addresses the engine cannot load, give an empty document.
    NavigateToMarkup(L"", absolute ? JoinUrl(parts) : url);
}

void BrowserBoxEngine::Navigate(HttpRequest request) {
    const unsigned serial = ++serial_;
    const std::wstring requested = ToWide(request.url);
    auto response = std::make_shared<HttpResponse>();
    const HWND box = box_;
    RunInBackground(
        box, [request = std::move(request), response] { *response = FetchAddress(request); },
        [box, serial, response, requested] {
            if (BrowserBox* owner = BrowserBox::FromWindow(box))
                owner->Engine().OnResponse(serial, *response, requested);
        });
}

void BrowserBoxEngine::NavigateToMarkup(const std::wstring& markup, const std::wstring& url) {
    const unsigned serial = ++serial_;
    const HWND box = box_;
    PostUiTask(box, [box, serial, markup, url] {
        BrowserBox* owner = BrowserBox::FromWindow(box);
        if (!owner || owner->Engine().serial_ != serial) return;
        PageSource source;
        source.url = url.empty() ? L"about:blank" : url;
        source.markup = markup;
        source.codePage = GetACP();
        source.charset = DetermineCharset("", "").name;
        source.fileSize = EncodeCodePage(markup, source.codePage).size();
        owner->Engine().committed_ = serial;
        owner->Engine().Commit(source);
    });
}

void BrowserBoxEngine::OnResponse(unsigned serial, const HttpResponse& response, const std::wstring& requested) {
    if (serial != serial_) return;   // a newer navigation replaced this one
    committed_ = serial;
    PageSource source;
    source.url = response.finalUrl.empty() ? requested : ToWide(response.finalUrl);
    source.httpStatus = response.status;
    const std::string_view body(reinterpret_cast<const char*>(response.body.data()), response.body.size());
    DecodedPage decoded = DecodePage(response.contentType, body);
    source.charset = decoded.charset.name;
    source.codePage = decoded.charset.codePage;
    source.fileSize = body.size();
    source.markup = std::move(decoded.markup);
    if (!response.error.empty()) OutputDebugStringA(("page load: " + response.error + "\n").c_str());
    Commit(source);
}

void BrowserBoxEngine::Commit(const PageSource& source) {
    auto page = std::make_unique<Page>(*this, committed_);
    page->Build(source);
    visited_->insert(UrlWithoutFragment(source.url));
    if (page->Document()) page->Document()->SetVisitedLinks(visited_);
    documentMarshal_.Release();
    RetireCurrent();
    page_ = std::move(page);
    SizeView();
    Repaint();
    page_->StartLoad();
}

void BrowserBoxEngine::RetireCurrent() {
    if (!page_) return;
    retired_.push_back(std::move(page_));
    FreeRetired();
}

void BrowserBoxEngine::FreeRetired() {
    // A page whose script is still on the stack (it navigated from inside a
    // handler, or a message box of its own is open) goes later.
    for (auto it = retired_.begin(); it != retired_.end();) {
        if ((*it)->Busy()) {
            ++it;
        } else {
            (*it)->Close();
            it = retired_.erase(it);
        }
    }
    if (retired_.empty() || freeScheduled_) return;
    freeScheduled_ = true;
    const HWND box = box_;
    PostUiTask(box, [box] {
        if (BrowserBox* owner = BrowserBox::FromWindow(box)) {
            owner->Engine().freeScheduled_ = false;
            owner->Engine().FreeRetired();
        }
    });
}

bool BrowserBoxEngine::IsLoading() const { return serial_ != committed_ || !page_ || !page_->Loaded(); }

DialogAnswer BrowserBoxEngine::ShowDialog(const DialogRequest& request) {
    if (dialogs_) return dialogs_(request);
    const HWND owner = GetAncestor(box_, GA_ROOT);
    const wchar_t* caption = L"\u6765\u81ea\u7f51\u9875\u7684\u6d88\u606f";   // "Message from webpage"
    switch (request.kind) {
    case DialogKind::Alert:
        MessageBoxW(owner, request.message.c_str(), caption, MB_OK | MB_ICONWARNING);
        return {true, L""};
    case DialogKind::Confirm:
        return {MessageBoxW(owner, request.message.c_str(), caption, MB_OKCANCEL | MB_ICONQUESTION) == IDOK, L""};
    case DialogKind::Prompt:
        // A message box has no edit field: OK takes the suggested text.
        return {MessageBoxW(owner, request.message.c_str(), caption, MB_OKCANCEL | MB_ICONQUESTION) == IDOK,
                request.defaultText};
    }
    return {};
}

void BrowserBoxEngine::SetScriptTimeLimit(DWORD milliseconds) {
    scriptTimeLimitMs_ = milliseconds;
    if (page_ && page_->Scripts()) page_->Scripts()->SetTimeLimit(milliseconds);
}

LRESULT BrowserBoxEngine::AnswerGetObject(WPARAM wParam) {
    const ComPtr<IDispatch> document = public_.Document();
    if (!document) {
        documentMarshal_.Release();
        return 0;
    }
    return documentMarshal_.Answer(document.Get(), wParam);
}

void BrowserBoxEngine::Repaint() {
    // A hidden box is painted whole when it is shown; invalidating it now
    // would only cost a round trip to the window server per change.
    if (server_ && IsWindowVisible(server_)) InvalidateRect(server_, nullptr, FALSE);
}

// The view's size is the rendering window's whole size: the layout decides
// whether scroll bars take some of it.
void BrowserBoxEngine::SizeView() {
    if (!server_ || !page_ || !page_->Document()) return;
    RECT r;
    GetWindowRect(server_, &r);
    page_->Document()->SetViewSize(std::max(0L, r.right - r.left), std::max(0L, r.bottom - r.top));
}

// ---- the public face -----------------------------------------------------------

BrowserBox* BrowserBox::FromWindow(HWND window) {
    for (HWND w = window; w && IsWindow(w); w = GetParent(w)) {
        if (HasClass(w, kBrowserBoxClass)) {
            BrowserBoxEngine* engine = EngineOfBox(w);
            return engine ? &engine->Public() : nullptr;
        }
    }
    return nullptr;
}

HWND BrowserBox::Window() const { return engine_.Window(); }
HWND BrowserBox::RenderingWindow() const { return engine_.RenderingWindow(); }
void BrowserBox::Navigate(const std::wstring& url) { engine_.Navigate(url); }
void BrowserBox::NavigateToMarkup(const std::wstring& markup, const std::wstring& url) {
    engine_.NavigateToMarkup(markup, url);
}

bool BrowserBox::WaitForLoad(int timeoutMs) {
    const HWND box = engine_.Window();
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(std::max(timeoutMs, 0));
    for (;;) {
        // Checked before every message: a page's flood of timers or posted
        // messages never lets the queue run dry.
        BrowserBox* self = FromWindow(box);
        if (!self) return false;
        if (!self->IsLoading()) return true;
        const ULONGLONG now = GetTickCount64();
        if (now >= end) return false;
        MSG message;
        if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(message.wParam));   // for the loop that owns it
                return false;
            }
            TranslateMessage(&message);
            DispatchMessageA(&message);
            continue;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(std::min<ULONGLONG>(end - now, 20)), QS_ALLINPUT);
    }
}

void BrowserBox::SetScriptTimeLimit(int milliseconds) { engine_.SetScriptTimeLimit(static_cast<DWORD>(std::max(milliseconds, 1))); }
int BrowserBox::ScriptTimeLimit() const { return static_cast<int>(engine_.ScriptTimeLimit()); }

bool BrowserBox::IsLoading() const { return engine_.IsLoading(); }
unsigned BrowserBox::LoadCount() const { return engine_.LoadCount(); }

ComPtr<IDispatch> BrowserBox::Document() const {
    Page* page = engine_.Current();
    return page ? page->DocumentDispatch() : nullptr;
}

dom::Document* BrowserBox::DomDocument() const {
    Page* page = engine_.Current();
    return page ? page->Document() : nullptr;
}

ComPtr<IDispatch> BrowserBox::WindowObject() const {
    Page* page = engine_.Current();
    return page ? page->WindowObject() : nullptr;
}

bool BrowserBox::ExecScript(const std::wstring& code, const std::wstring& language) {
    Page* page = engine_.Current();
    return page && page->RunScript(code, ScriptLanguageFromName(language));
}

bool BrowserBox::Evaluate(const std::wstring& expression, VARIANT* result) {
    Page* page = engine_.Current();
    return page && page->RunScript(expression, ScriptLanguage::JScript, result);
}

unsigned BrowserBox::ScriptTextsParsed() const {
    Page* page = engine_.Current();
    return page && page->Scripts() ? page->Scripts()->TextsParsed() : 0;
}

std::vector<ScriptError> BrowserBox::ScriptErrors() const {
    Page* page = engine_.Current();
    return page && page->Scripts() ? page->Scripts()->Errors() : std::vector<ScriptError>{};
}

std::wstring BrowserBox::StatusText() const {
    Page* page = engine_.Current();
    return page ? page->Status() : std::wstring();
}

int BrowserBox::HttpStatus() const {
    Page* page = engine_.Current();
    return page ? page->HttpStatus() : 0;
}

void BrowserBox::SetDialogHandler(DialogHandler handler) { engine_.SetDialogHandler(std::move(handler)); }

}  // namespace corvalin::browser
