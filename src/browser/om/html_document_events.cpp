#include "browser/om/html_document.h"
#include "browser/om/node_objects.h"

namespace corvalin::browser::om {

HRESULT InvokeDocumentHandler(HTMLDocument& document, std::wstring_view name, Invocation& call) {
    dom::Document& d = document.Document();
    if (call.IsPut()) {
        d.SetPropertyHandler(name, HandlerFromValue(call));
        return S_OK;
    }
    IDispatch* function = HandlerFunction(d.PropertyHandler(name));
    // A read (VBScript reads with the method flag as well) gives the function.
    if (!call.IsMethod() || (call.IsGet() && call.Count() == 0)) {
        return function ? call.ReturnObject(function) : call.ReturnNull();
    }
    if (!function) return DISP_E_TYPEMISMATCH;
    return CallWithThis(function, static_cast<IDispatchEx*>(static_cast<DispatchObject*>(&document)), call);
}

}  // namespace corvalin::browser::om
