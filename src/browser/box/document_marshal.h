// What the rendering window answers to "WM_HTML_GETOBJECT": the current
// document's IUnknown, with one table-strong marshal of it held for as long
// as that document is current. The held marshal keeps the document's stub
// alive, so a request reuses it instead of building a new one, and a client
// that asks for IHTMLDocument gets it by QueryInterface on its side.
#pragma once
#include <windows.h>
#include <objidl.h>
#include <wrl/client.h>

namespace corvalin::browser {

class DocumentMarshal {
public:
    DocumentMarshal() = default;
    DocumentMarshal(const DocumentMarshal&) = delete;
    DocumentMarshal& operator=(const DocumentMarshal&) = delete;
    ~DocumentMarshal() { Release(); }

    // The message's result for `document` (0 without one). Marshals it
    // table-strong first when it is not the document held.
    LRESULT Answer(IUnknown* document, WPARAM wParam);
    // Lets the held document go (it is no longer current).
    void Release();

private:
    Microsoft::WRL::ComPtr<IUnknown> held_;
    Microsoft::WRL::ComPtr<IStream> stream_;
};

}  // namespace corvalin::browser
