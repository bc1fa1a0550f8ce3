#include "browser/om/html_style.h"

#include <optional>

#include "browser/layout/geometry.h"

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

namespace {

// The property a script name stands for ("backgroundColor", "styleFloat",
// "overflow" reads as overflow-x).
std::optional<layout::Property> CurrentStyleProperty(std::wstring_view name) {
    if (dom::EqualsIgnoringCase(name, L"styleFloat") || dom::EqualsIgnoringCase(name, L"cssFloat")) return layout::Property::Float;
    if (dom::EqualsIgnoringCase(name, L"overflow")) return layout::Property::OverflowX;
    for (std::size_t i = 0; i < layout::kPropertyCount; ++i) {
        const auto p = static_cast<layout::Property>(i);
        if (dom::EqualsIgnoringCase(name, layout::ScriptName(p)) || dom::EqualsIgnoringCase(name, layout::PropertyName(p))) return p;
    }
    return std::nullopt;
}

// What the browser reports for a property nothing set.
const wchar_t* InitialValue(layout::Property p) {
    using P = layout::Property;
    switch (p) {
    case P::Display: return L"inline";
    case P::Visibility: return L"inherit";
    case P::Width: case P::Height: case P::Left: case P::Top: case P::Right: case P::Bottom: return L"auto";
    case P::BorderTopWidth: case P::BorderRightWidth: case P::BorderBottomWidth: case P::BorderLeftWidth: return L"medium";
    case P::BorderTopStyle: case P::BorderRightStyle: case P::BorderBottomStyle: case P::BorderLeftStyle: return L"none";
    case P::BackgroundColor: return L"transparent";
    case P::BackgroundImage: return L"none";
    case P::FontWeight: return L"400";
    case P::FontStyle: return L"normal";
    case P::TextAlign: return L"left";
    case P::TextDecoration: return L"none";
    case P::LineHeight: return L"normal";
    case P::WhiteSpace: return L"normal";
    case P::VerticalAlign: return L"baseline";
    case P::ListStyleType: return L"disc";
    case P::OverflowX: case P::OverflowY: return L"visible";
    case P::Position: return L"static";
    case P::Float: case P::Clear: return L"none";
    case P::Zoom: return L"normal";
    case P::Color: return L"#000000";
    default: return L"0px";
    }
}

}  // namespace

const MemberTable& HTMLCurrentStyle::Members() const {
    // Every property is answered by name (InvokeDynamic).
    static const MemberTable table{std::initializer_list<Member>{}};
    return table;
}

bool HTMLCurrentStyle::HasDynamicMember(std::wstring_view name) const { return CurrentStyleProperty(name).has_value(); }

HRESULT HTMLCurrentStyle::InvokeDynamic(std::wstring_view name, Invocation& call) {
    const auto property = CurrentStyleProperty(name);
    if (!property || call.IsPut()) return DISP_E_MEMBERNOTFOUND;
    const layout::ComputedStyle* style = layout::CurrentStyleOf(*element_);
    const std::wstring* value = style ? style->values[static_cast<std::size_t>(*property)] : nullptr;
    if (*property == layout::Property::Display && style && style->display == layout::Display::None) return call.ReturnText(L"none");
    return call.ReturnText(value ? std::wstring_view(*value) : std::wstring_view(InitialValue(*property)));
}

}  // namespace corvalin::browser::om
