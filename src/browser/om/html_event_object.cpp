// window.event: the object a handler sees while an event is dispatched.
#include "browser/om/html_elements.h"
#include "browser/om/node_objects.h"

namespace corvalin::browser::om {

namespace {

// window.event: a copy of the event's facts that outlives the dispatch.
class HTMLEventObj final : public DispatchObject {
public:
    explicit HTMLEventObj(dom::Event& event)
        : type_(event.type), target_(event.target), returnValue_(event.returnValue),
          cancelBubble_(event.cancelBubble), keyCode_(event.keyCode), shiftKey_(event.shiftKey),
          ctrlKey_(event.ctrlKey), altKey_(event.altKey) {}
    void CopyInto(dom::Event& event) const {
        if (!returnValue_) event.returnValue = false;
        if (cancelBubble_) event.cancelBubble = true;
    }

protected:
    const MemberTable& Members() const override {
        static auto self = [](DispatchObject& s) -> HTMLEventObj& { return static_cast<HTMLEventObj&>(s); };
        static auto zero = [](DispatchObject&, Invocation& c) { return c.ReturnInteger(0); };
        static const MemberTable table{{
            {L"type", [](DispatchObject& s, Invocation& c) { return c.ReturnText(self(s).type_); }},
            {L"srcElement", [](DispatchObject& s, Invocation& c) { return ReturnNode(c, self(s).target_.get()); }},
            {L"target", [](DispatchObject& s, Invocation& c) { return ReturnNode(c, self(s).target_.get()); }},
            {L"returnValue",
             [](DispatchObject& s, Invocation& c) {
                 return self(s).returnValue_ ? c.ReturnEmpty() : c.ReturnBool(false);
             },
             [](DispatchObject& s, Invocation& c) {
                 self(s).returnValue_ = c.ValueBool();
                 return S_OK;
             }},
            {L"cancelBubble", [](DispatchObject& s, Invocation& c) { return c.ReturnBool(self(s).cancelBubble_); },
             [](DispatchObject& s, Invocation& c) {
                 self(s).cancelBubble_ = c.ValueBool();
                 return S_OK;
             }},
            {L"keyCode", [](DispatchObject& s, Invocation& c) { return c.ReturnInteger(self(s).keyCode_); }},
            {L"button", zero}, {L"clientX", zero}, {L"clientY", zero}, {L"x", zero},
            {L"y", zero}, {L"screenX", zero}, {L"screenY", zero}, {L"offsetX", zero}, {L"offsetY", zero},
            {L"altKey", [](DispatchObject& s, Invocation& c) { return c.ReturnBool(self(s).altKey_); }},
            {L"ctrlKey", [](DispatchObject& s, Invocation& c) { return c.ReturnBool(self(s).ctrlKey_); }},
            {L"shiftKey", [](DispatchObject& s, Invocation& c) { return c.ReturnBool(self(s).shiftKey_); }},
            {L"fromElement", [](DispatchObject&, Invocation& c) { return c.ReturnNull(); }},
            {L"toElement", [](DispatchObject&, Invocation& c) { return c.ReturnNull(); }},
        }};
        return table;
    }

private:
    std::wstring type_;
    dom::Ref<dom::Element> target_;
    bool returnValue_;
    bool cancelBubble_;
    long keyCode_;
    bool shiftKey_;
    bool ctrlKey_;
    bool altKey_;
};

}  // namespace

ComPtr<IDispatch> EventObject(dom::Event& event) { return MakeDispatch<HTMLEventObj>(event); }

void ReadBackEvent(IDispatch* eventObject, dom::Event& event) {
    if (auto* e = dynamic_cast<HTMLEventObj*>(AsDispatchObject(eventObject))) e->CopyInto(event);
}

}  // namespace corvalin::browser::om
