#include "browser/om/html_style.h"

namespace corvalin::browser::om {

namespace {

// Script names of CSS properties: letters, digits, '-' (and a name that starts
// with a letter). Anything else is not a style property.
bool IsPropertyName(std::wstring_view name) {
    if (name.empty()) return false;
    wchar_t first = name[0];
    if (!((first >= L'a' && first <= L'z') || (first >= L'A' && first <= L'Z'))) return false;
    for (wchar_t c : name) {
        bool ok = (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9') || c == L'-';
        if (!ok) return false;
    }
    return true;
}

// A number written to a style property reads back as its digits ("1.5").
std::wstring ValueText(const VARIANT& v) {
    if (v.vt == VT_R8 || v.vt == VT_R4) {
        double d = v.vt == VT_R8 ? v.dblVal : v.fltVal;
        wchar_t buffer[64];
        swprintf(buffer, 64, L"%.15g", d);
        return buffer;
    }
    return Invocation::ToText(v);
}

}  // namespace

struct StyleMembers {
    static dom::Element& E(DispatchObject& s) { return *static_cast<HTMLStyle&>(s).element_; }
};

const MemberTable& HTMLStyle::Members() const {
    static const MemberTable table{{
        {L"cssText", [](DispatchObject& s, Invocation& c) { return c.ReturnText(StyleMembers::E(s).StyleCssText()); },
         [](DispatchObject& s, Invocation& c) {
             StyleMembers::E(s).SetStyleCssText(c.ValueText());
             return S_OK;
         }},
        {L"getAttribute", nullptr, nullptr,
         [](DispatchObject& s, Invocation& c) { return c.ReturnText(StyleMembers::E(s).StyleValue(c.Text(0))); }},
        {L"setAttribute", nullptr, nullptr,
         [](DispatchObject& s, Invocation& c) {
             StyleMembers::E(s).SetStyleValue(c.Text(0), ValueText(c.Arg(1)));
             return c.ReturnEmpty();
         }},
        {L"removeAttribute", nullptr, nullptr,
         [](DispatchObject& s, Invocation& c) {
             dom::Element& e = StyleMembers::E(s);
             bool had = !e.StyleValue(c.Text(0)).empty();
             e.SetStyleValue(c.Text(0), L"");
             return c.ReturnBool(had);
         }},
    }};
    return table;
}

bool HTMLStyle::HasDynamicMember(std::wstring_view name) const { return IsPropertyName(name); }

HRESULT HTMLStyle::InvokeDynamic(std::wstring_view name, Invocation& call) {
    if (!IsPropertyName(name)) return DISP_E_MEMBERNOTFOUND;
    if (call.IsPut()) {
        element_->SetStyleValue(name, ValueText(call.Value()));
        return S_OK;
    }
    return call.ReturnText(element_->StyleValue(name));
}

}  // namespace corvalin::browser::om
