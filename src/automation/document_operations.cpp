// Operations on the attached document as a whole: its text, markup and
// properties, writing, navigating, zooming, the page's scripts, and waiting
// for a text to appear.
#include <windows.h>

#include <cctype>
#include <string>

#include "automation/element_walk.h"
#include "automation/page_automation.h"

namespace corvalin {

namespace {

constexpr int kWaitStepMs = 300;

// The documents of each frame of `document`, one level further each call,
// down to `levels`; the last level counts its frames without opening them.
int CountFrameDocuments(const AutomationObject& document, int levels) {
    const AutomationObject frames = document.GetObject("frames");
    const int count = CollectionLength(frames);
    if (levels == 1) return count;
    int documents = 0;
    for (int i = 1; i <= count; ++i) {
        const AutomationObject frameDocument = frames.CallObject("item", i - 1).GetObject("document");
        documents += 1 + CountFrameDocuments(frameDocument, levels - 1);
    }
    return documents;
}

void ExecScript(const AutomationObject& document, std::string_view code, const char* language) {
    const AutomationObject window = document.GetObject("parentWindow");
    if (language) window.Call("execScript", code, language);
    else window.Call("execScript", code);
}

bool PageContains(const AutomationObject& document, std::string_view text, const char* property) {
    return document.GetObject("documentElement").GetText(property).find(text) != std::string::npos;
}

}  // namespace

// ---- properties and content ----
std::string PageAutomation::GetPageText() const { return document_.GetObject("documentElement").GetText("innerText"); }
std::string PageAutomation::GetPageHtml() const { return document_.GetObject("documentElement").GetText("outerHTML"); }
std::string PageAutomation::GetTitle() const { return document_.GetText("title"); }
std::string PageAutomation::GetDomain() const { return document_.GetText("domain"); }
std::string PageAutomation::GetLocation() const { return document_.GetText("location"); }
std::string PageAutomation::GetCharset() const { return document_.GetText("charset"); }
std::string PageAutomation::GetFileSize() const { return document_.GetText("fileSize"); }

std::string PageAutomation::GetDocumentProperty(std::string_view name) const {
    return document_.GetText(std::string(name).c_str());
}

bool PageAutomation::SetDocumentProperty(std::string_view name, std::string_view value) const {
    return document_.Put(std::string(name).c_str(), value);
}

void PageAutomation::WriteHtml(std::string_view html) const { document_.Call("write", html); }

void PageAutomation::ReplaceDocument(std::string_view html) const {
    document_.Call("open");
    document_.Call("write", html);
    document_.Call("Close");
}

int PageAutomation::CountDocuments() const {
    if (document_.IsEmpty()) return 0;
    // The fourth level adds its frames' length: CountFrameDocuments' last level.
    return 1 + CountFrameDocuments(document_, 4);
}

// ---- navigation, view and scripts ----
void PageAutomation::NavigateTo(std::string& url) const {
    std::string scheme = url.substr(0, 4);
    for (char& c : scheme) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (scheme != "http") url = "http://" + url;
    document_.GetObject("parentWindow").Call("navigate", url);
}

int PageAutomation::SetZoom(int percent) const {
    document_.GetObject("Body").GetObject("Style").Put("Zoom", percent / 100.0);
    return percent;
}

void PageAutomation::RunScript(std::string_view code, int language) const {
    if (language == 0) ExecScript(document_, code, "JavaScript");
    else if (language == 1) ExecScript(document_, code, "VBScript");
}

void PageAutomation::EnableSelectionAndContextMenu() const {
    RunScript("javascript:document.ondragstart=document.onselectstart=document.oncontextmenu=function(){return true}", 0);
    RunScript("javascript:document.onselectstart = document.oncontextmenu = document.onmousedown = "
              "document.onkeydown = function(){return true;};",
              0);
}

void PageAutomation::SuppressDialogs() const {
    for (const char* code : {"function alert(){return;}", "function confirm(){return;}", "function prompt(){return;}",
                             "function showModalDialog(){return;}"}) {
        ExecScript(document_, code, "JScript");
    }
}

void PageAutomation::HideScrollBars() const {
    ExecScript(document_, "var jie = document.createStyleSheet();jie.addRule('html','overflow:hidden;');", nullptr);
}

// ---- waiting ----
namespace {

bool WaitForPage(PageAutomation& automation, HWND window, std::string_view text, int timeout,
                 const AutomationObject& document, const char* property) {
    const DWORD start = GetTickCount();
    for (;;) {
        automation.Delay(kWaitStepMs);
        bool found = false;
        if (!document.IsEmpty()) {
            found = PageContains(document, text, property);
        } else {
            automation.AttachBrowser(window);
            found = PageContains(automation.GetDocument(), text, property);
        }
        if (found) return true;
        // Signed, so a negative timeout ends after the first look instead of never.
        if (static_cast<long long>(GetTickCount() - start) > timeout) return false;
    }
}

}  // namespace

bool PageAutomation::WaitForPageText(HWND window, std::string_view text, int timeout, const AutomationObject& document) {
    return WaitForPage(*this, window, text, timeout, document, "innerText");
}

bool PageAutomation::WaitForPageHtml(HWND window, std::string_view text, int timeout, const AutomationObject& document) {
    return WaitForPage(*this, window, text, timeout, document, "outerHTML");
}

}  // namespace corvalin
