// The window's Option and Image: `new Option("text", "value")` arrives as a
// DISPATCH_CONSTRUCT call on the object's value.
#include "browser/om/html_elements.h"
#include "browser/om/node_objects.h"

namespace corvalin::browser::om {

namespace {

class ElementConstructor final : public DispatchObject {
public:
    ElementConstructor(dom::Document& document, bool option) : document_(&document), option_(option) {}

protected:
    const MemberTable& Members() const override {
        static const MemberTable table{{}};
        return table;
    }
    HRESULT InvokeValue(Invocation& call) override {
        if (!call.IsConstruct() && !call.IsMethod()) return call.ReturnText(option_ ? L"[object Option]" : L"[object Image]");
        dom::Ref<dom::Element> e = document_->CreateElement(option_ ? L"option" : L"img");
        if (option_) {
            if (call.Has(0)) e->SetOptionText(call.Text(0));
            if (call.Has(1)) e->SetAttribute(L"value", call.Text(1));
            if (call.Bool(2)) e->SetAttribute(L"selected", L"");
            if (call.Has(3)) e->SetSelected(call.Bool(3));
        } else {
            if (call.Has(0)) e->SetAttribute(L"width", call.Text(0));
            if (call.Has(1)) e->SetAttribute(L"height", call.Text(1));
        }
        return ReturnNode(call, e.get());
    }

private:
    dom::Ref<dom::Document> document_;
    bool option_;
};

}  // namespace

ComPtr<IDispatch> OptionConstructor(dom::Document& document) { return MakeDispatch<ElementConstructor>(document, true); }

ComPtr<IDispatch> ImageConstructor(dom::Document& document) { return MakeDispatch<ElementConstructor>(document, false); }

}  // namespace corvalin::browser::om
