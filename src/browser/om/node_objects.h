// The script-visible objects of a document's nodes. A node answers with the
// same object for as long as anyone holds that object (identity and expandos
// stay); the object holds its node.
#pragma once
#include <windows.h>
#include <oaidl.h>
#include <wrl/client.h>

#include "browser/dom/document.h"
#include "browser/dom/event.h"

namespace corvalin::browser::om {

class Invocation;

// The document's object (what "WM_HTML_GETOBJECT" hands out, what scripts
// see as `document`); it also implements IHTMLDocument.
Microsoft::WRL::ComPtr<IDispatch> DocumentObject(dom::Document& document);

// An element's object (the class follows the tag: HTMLInputElement...),
// text and comment nodes get a plain node object. nullptr for nullptr.
Microsoft::WRL::ComPtr<IDispatch> NodeObject(dom::Node* node);

// `new Option(text, value, defaultSelected, selected)` and `new Image(w, h)`
// for the window: objects whose construction makes an element of `document`.
Microsoft::WRL::ComPtr<IDispatch> OptionConstructor(dom::Document& document);
Microsoft::WRL::ComPtr<IDispatch> ImageConstructor(dom::Document& document);

// The node behind one of our objects; nullptr for any other IDispatch.
dom::Node* NodeOf(IDispatch* object);

// `window.event` while a handler runs: srcElement, type, returnValue,
// cancelBubble, keyCode, button, clientX/clientY. The object refers to
// `event`, which must outlive it (the host drops it after the handler).
Microsoft::WRL::ComPtr<IDispatch> EventObject(dom::Event& event);
// After the handler: what script set on the event object (returnValue,
// cancelBubble) goes back into `event`.
void ReadBackEvent(IDispatch* eventObject, dom::Event& event);

class DispatchObject;
// The document behind a document object of ours (internal to the bindings).
dom::Node* DocumentNodeOf(DispatchObject* object);

// A script function kept as an event handler (`element.onclick = function…`).
class ScriptFunctionObject final : public dom::ScriptFunction {
public:
    explicit ScriptFunctionObject(IDispatch* function) : function_(function) {}
    IDispatch* Function() const { return function_.Get(); }

private:
    Microsoft::WRL::ComPtr<IDispatch> function_;
};

// The function of a handler assigned from script, nullptr for attribute text.
inline IDispatch* HandlerFunction(const dom::EventHandler& handler) {
    auto* f = dynamic_cast<ScriptFunctionObject*>(handler.function.get());
    return f ? f->Function() : nullptr;
}

// The on... names that are event handler properties (any case).
bool IsEventName(std::wstring_view name);
// The handler a property write gives: a script function, or source text.
dom::EventHandler HandlerFromValue(Invocation& call);

}  // namespace corvalin::browser::om
