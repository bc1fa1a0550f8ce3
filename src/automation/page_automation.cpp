#include "automation/page_automation.h"

#include <objbase.h>
#include <oleacc.h>

#include <cstring>

#include "shell/runtime.h"

namespace corvalin {

std::unique_ptr<PageAutomation> ThePageAutomation;

namespace {

constexpr char kBrowserServerClass[] = "Internet Explorer_Server";
constexpr UINT kDocumentRequestTimeoutMs = 1000;
// IHTMLDocument, the interface the rendering window hands its document out for.
constexpr GUID kHtmlDocumentInterface = {0x626FC520, 0xA41E, 0x11CF, {0xA7, 0x31, 0x00, 0xA0, 0xC9, 0x08, 0x26, 0x37}};

bool IsBrowserServerWindow(HWND window) {
    // The class name is read into 50 characters, as the engine's own callers do.
    char className[50] = {};
    GetClassNameA(window, className, sizeof className);
    return std::strcmp(className, kBrowserServerClass) == 0;
}

void CollectBrowserServerWindows(HWND parent, std::vector<HWND>& list) {
    for (HWND child = FindWindowExA(parent, nullptr, nullptr, nullptr); child;
         child = FindWindowExA(parent, child, nullptr, nullptr)) {
        if (IsBrowserServerWindow(child)) list.push_back(child);
        CollectBrowserServerWindows(child, list);
    }
}

}  // namespace

PageAutomation::PageAutomation() : comInitialised_(SUCCEEDED(CoInitialize(nullptr))) {}

PageAutomation::~PageAutomation() {
    document_.Clear();
    // Only an initialisation that succeeded is ended, so a thread that was
    // already in another apartment model keeps its COM.
    if (comInitialised_) CoUninitialize();
}

PageAutomation::PageAutomation(const PageAutomation& other)
    : document_(other.document_), hostWindow_(other.hostWindow_), comInitialised_(SUCCEEDED(CoInitialize(nullptr))) {}

bool PageAutomation::AttachBrowser(HWND window) {
    if (!IsWindow(window)) return false;
    hostWindow_ = window;
    DocumentFromWindow(window, document_);
    return !document_.IsEmpty();
}

AutomationObject PageAutomation::GetDocument() const { return document_; }

void PageAutomation::Detach() { document_.Clear(); }

HWND PageAutomation::FindBrowserServerWindow(HWND parent) const {
    HWND child = FindWindowExA(parent, nullptr, nullptr, nullptr);
    while (child) {
        if (IsBrowserServerWindow(child)) return child;
        if (HWND found = FindBrowserServerWindow(child)) return found;
        child = FindWindowExA(parent, child, nullptr, nullptr);
        // The search may be slow on a busy page: keep the interface alive.
        shell::ProcessPendingEvents();
    }
    return nullptr;
}

bool PageAutomation::DocumentFromWindow(HWND window, AutomationObject& target) const {
    HWND server = IsBrowserServerWindow(window) ? window : FindBrowserServerWindow(window);
    if (!server) return false;

    static const UINT getObject = RegisterWindowMessageA("WM_HTML_GETOBJECT");
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutA(server, getObject, 0, 0, SMTO_ABORTIFHUNG, kDocumentRequestTimeoutMs, &answer)) {
        answer = 0;
    }
    Microsoft::WRL::ComPtr<IDispatch> document;
    if (FAILED(ObjectFromLresult(static_cast<LRESULT>(answer), kHtmlDocumentInterface, 0,
                                 reinterpret_cast<void**>(document.GetAddressOf())))) {
        return false;
    }
    target.Clear();
    target = AutomationObject(std::move(document));
    return true;
}

bool PageAutomation::ListBrowserServerWindows(HWND parent, std::vector<HWND>& list) const {
    CollectBrowserServerWindows(parent, list);
    return !list.empty();
}

}  // namespace corvalin
