// What the document's object asks of the page engine beyond the DOM host:
// the window and location objects. The engine's DocumentHost implementation
// also derives from this; the document object finds it with dynamic_cast.
#pragma once
#include <windows.h>
#include <oaidl.h>
#include <wrl/client.h>

namespace corvalin::browser::om {

class DocumentObjectHost {
public:
    virtual ~DocumentObjectHost() = default;
    virtual Microsoft::WRL::ComPtr<IDispatch> WindowObject() = 0;     // document.parentWindow
    virtual Microsoft::WRL::ComPtr<IDispatch> LocationObject() = 0;   // document.location
};

}  // namespace corvalin::browser::om
