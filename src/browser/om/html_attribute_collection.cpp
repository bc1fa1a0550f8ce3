#include "browser/om/html_elements.h"

namespace corvalin::browser::om {

namespace {

// One attribute as element.attributes hands it out: a snapshot of its name
// and a value that reads and writes through to the element.
class HTMLDOMAttribute final : public DispatchObject {
public:
    HTMLDOMAttribute(dom::Element& element, std::wstring name) : element_(&element), name_(std::move(name)) {}

protected:
    const MemberTable& Members() const override {
        static auto self = [](DispatchObject& s) -> HTMLDOMAttribute& { return static_cast<HTMLDOMAttribute&>(s); };
        static auto name = [](DispatchObject& s, Invocation& c) { return c.ReturnText(self(s).name_); };
        static auto value = [](DispatchObject& s, Invocation& c) {
            return c.ReturnText(self(s).element_->GetAttribute(self(s).name_));
        };
        static auto putValue = [](DispatchObject& s, Invocation& c) {
            self(s).element_->SetAttribute(self(s).name_, c.ValueText());
            return S_OK;
        };
        static const MemberTable table{{
            {L"name", name},
            {L"nodeName", name},
            {L"value", value, putValue},
            {L"nodeValue", value, putValue},
            {L"nodeType", [](DispatchObject&, Invocation& c) { return c.ReturnInteger(2); }},
            {L"specified", [](DispatchObject& s, Invocation& c) {
                 return c.ReturnBool(self(s).element_->HasAttribute(self(s).name_));
             }},
        }};
        return table;
    }

private:
    dom::Ref<dom::Element> element_;
    std::wstring name_;
};

}  // namespace

const MemberTable& HTMLAttributeCollection::Members() const {
    using C = HTMLAttributeCollection;
    static const MemberTable table{{
        {L"length", [](DispatchObject& s, Invocation& c) {
             return c.ReturnInteger(static_cast<long>(static_cast<C&>(s).element_->Attributes().size()));
         }},
        {L"item", nullptr, nullptr,
         [](DispatchObject& s, Invocation& c) { return static_cast<C&>(s).ReturnAttribute(c, c.Arg(0)); }},
        {L"getNamedItem", nullptr, nullptr,
         [](DispatchObject& s, Invocation& c) {
             VARIANT name;
             name.vt = VT_BSTR;
             name.bstrVal = SysAllocString(c.Text(0).c_str());
             const HRESULT hr = static_cast<C&>(s).ReturnAttribute(c, name);
             VariantClear(&name);
             return hr;
         }},
    }};
    return table;
}

HRESULT HTMLAttributeCollection::ReturnAttribute(Invocation& call, const VARIANT& which) {
    const auto& attributes = element_->Attributes();
    const std::wstring text = Invocation::ToText(which);
    long index = which.vt == VT_BSTR ? IndexName(text) : static_cast<long>(Invocation::ToNumber(which));
    if (index >= 0 && static_cast<std::size_t>(index) < attributes.size())
        return call.ReturnObject(MakeDispatch<HTMLDOMAttribute>(*element_, attributes[index].name).Get());
    if (which.vt == VT_BSTR && element_->HasAttribute(text))
        return call.ReturnObject(MakeDispatch<HTMLDOMAttribute>(*element_, dom::LowerAscii(text)).Get());
    return call.ReturnNull();
}

HRESULT HTMLAttributeCollection::InvokeValue(Invocation& call) { return ReturnAttribute(call, call.Arg(0)); }

bool HTMLAttributeCollection::HasDynamicMember(std::wstring_view name) const {
    const long index = IndexName(name);
    return (index >= 0 && static_cast<std::size_t>(index) < element_->Attributes().size()) || element_->HasAttribute(name);
}

HRESULT HTMLAttributeCollection::InvokeDynamic(std::wstring_view name, Invocation& call) {
    if (call.IsPut()) return DISP_E_MEMBERNOTFOUND;
    VARIANT which;
    which.vt = VT_BSTR;
    which.bstrVal = SysAllocStringLen(name.data(), static_cast<UINT>(name.size()));
    const HRESULT hr = ReturnAttribute(call, which);
    VariantClear(&which);
    return hr;
}

}  // namespace corvalin::browser::om
