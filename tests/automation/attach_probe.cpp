// A second program that reads a browser box of another process through
// "WM_HTML_GETOBJECT", as any outside client would:
//   attach-probe <box window handle, decimal>
// prints the inner markup of the span "zt_msg", a line break, and "script"
// when the document's IHTMLDocument answered its one property with an object.
#include <windows.h>
#include <mshtml.h>

#include <cstdlib>
#include <string>

#include "automation/page_automation.h"

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    const HWND box = reinterpret_cast<HWND>(static_cast<INT_PTR>(std::strtoll(argv[1], nullptr, 10)));
    corvalin::PageAutomation automation;
    if (!automation.AttachBrowser(box)) return 1;
    std::string out = automation.GetSpanInnerHtml("zt_msg") + "\n";
    // The platform's declaration of IHTMLDocument, as an outside client has it:
    // an interface declared in this unit with nothing deriving from it let the
    // optimiser treat the call through it as unreachable (it became a call to
    // a bogus address).
    Microsoft::WRL::ComPtr<IHTMLDocument> document;
    IDispatch* held = automation.GetDocument().get();
    if (held && SUCCEEDED(held->QueryInterface(IID_PPV_ARGS(&document)))) {
        Microsoft::WRL::ComPtr<IDispatch> script;
        if (SUCCEEDED(document->get_Script(script.GetAddressOf())) && script) out += "script";
    }
    // Written as bytes: the runtime's text mode would turn the line break into CR LF.
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), out.data(), static_cast<DWORD>(out.size()), &written, nullptr);
    return 0;
}
