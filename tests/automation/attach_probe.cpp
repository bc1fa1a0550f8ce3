// A second program that reads a browser box of another process through
// "WM_HTML_GETOBJECT", as any outside client would:
//   attach-probe <box window handle, decimal>
// prints the inner markup of the span "zt_msg", a line break, and "script"
// when the document's IHTMLDocument answered its one property with an object.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "automation/page_automation.h"

namespace {

// IHTMLDocument {626FC520-A41E-11CF-A731-00A0C9082637}: IDispatch and get_Script.
struct HtmlDocument : public IDispatch {
    virtual HRESULT STDMETHODCALLTYPE get_Script(IDispatch** script) = 0;
};
constexpr GUID kIHTMLDocument = {0x626FC520, 0xA41E, 0x11CF, {0xA7, 0x31, 0x00, 0xA0, 0xC9, 0x08, 0x26, 0x37}};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    const HWND box = reinterpret_cast<HWND>(static_cast<INT_PTR>(std::strtoll(argv[1], nullptr, 10)));
    corvalin::PageAutomation automation;
    if (!automation.AttachBrowser(box)) return 1;
    std::string out = automation.GetSpanInnerHtml("zt_msg") + "\n";
    Microsoft::WRL::ComPtr<HtmlDocument> document;
    IDispatch* held = automation.GetDocument().get();
    if (held && SUCCEEDED(held->QueryInterface(kIHTMLDocument, reinterpret_cast<void**>(document.GetAddressOf())))) {
        Microsoft::WRL::ComPtr<IDispatch> script;
        if (SUCCEEDED(document->get_Script(script.GetAddressOf())) && script) out += "script";
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}
