// Form controls and forms.
#include "browser/layout/geometry.h"
#include "browser/om/html_element_collection.h"
#include "browser/om/html_elements.h"
#include "browser/om/node_objects.h"

namespace corvalin::browser::om {

namespace {

using dom::Element;

HRESULT GetValue(DispatchObject& s, Invocation& c) { return c.ReturnText(ElementOf(s).Value()); }

HRESULT PutValue(DispatchObject& s, Invocation& c) {
    Element& e = ElementOf(s);
    // A page may not choose the file an upload sends.
    if (e.Is(L"input") && e.Type() == L"file") return E_ACCESSDENIED;
    e.SetValue(c.ValueText());
    return S_OK;
}

HRESULT GetDefaultValue(DispatchObject& s, Invocation& c) { return c.ReturnText(ElementOf(s).DefaultValue()); }

HRESULT PutDefaultValue(DispatchObject& s, Invocation& c) {
    Element& e = ElementOf(s);
    if (e.Is(L"textarea")) {
        bool changed = e.CurrentValue().has_value();
        std::wstring current = e.Value();
        e.SetInnerText(c.ValueText());
        if (changed) e.SetValue(current);
    } else {
        e.SetAttribute(L"value", c.ValueText());
    }
    return S_OK;
}

HRESULT GetType(DispatchObject& s, Invocation& c) { return c.ReturnText(ElementOf(s).Type()); }

HRESULT PutType(DispatchObject& s, Invocation& c) {
    ElementOf(s).SetAttribute(L"type", c.ValueText());
    return S_OK;
}

HRESULT GetForm(DispatchObject& s, Invocation& c) { return ReturnNode(c, ElementOf(s).Form()); }

HRESULT Select(DispatchObject&, Invocation& c) { return c.ReturnEmpty(); }

HRESULT GetChecked(DispatchObject& s, Invocation& c) { return c.ReturnBool(ElementOf(s).Checked()); }

HRESULT PutChecked(DispatchObject& s, Invocation& c) {
    // Any text but "" is true, as the browser converts it ("checked", "false").
    ElementOf(s).SetChecked(c.ValueBool());
    return S_OK;
}

HRESULT GetDefaultChecked(DispatchObject& s, Invocation& c) { return c.ReturnBool(ElementOf(s).DefaultChecked()); }

HRESULT PutDefaultChecked(DispatchObject& s, Invocation& c) {
    Element& e = ElementOf(s);
    bool current = e.Checked();
    if (c.ValueBool()) e.SetAttribute(L"checked", L"");
    else e.RemoveAttribute(L"checked");
    e.SetChecked(current);
    return S_OK;
}

HRESULT BoolAttribute(Invocation& c, const Element& e, const wchar_t* name) { return c.ReturnBool(e.HasAttribute(name)); }

HRESULT PutBoolAttribute(Invocation& c, Element& e, const wchar_t* name) {
    if (c.ValueBool()) {
        if (!e.HasAttribute(name)) e.SetAttribute(name, L"");
    } else {
        e.RemoveAttribute(name);
    }
    return S_OK;
}

long NumberAttribute(const Element& e, const wchar_t* name, long fallback) {
    const std::wstring* v = e.FindAttribute(name);
    if (!v || v->empty()) return fallback;
    return static_cast<long>(_wtol(v->c_str()));
}

HRESULT GetSelectedIndex(DispatchObject& s, Invocation& c) { return c.ReturnInteger(ElementOf(s).SelectedIndex()); }

HRESULT PutSelectedIndex(DispatchObject& s, Invocation& c) {
    Element& e = ElementOf(s);
    long i = static_cast<long>(c.ValueNumber());
    long count = static_cast<long>(e.Options().size());
    e.SetSelectedIndex(i >= 0 && i < count ? static_cast<int>(i) : -1);
    return S_OK;
}

HRESULT OptionsOf(DispatchObject& s, Invocation& c) {
    Element& e = ElementOf(s);
    return c.ReturnObject(CollectionObject(dom::ElementCollection(&e, [](dom::Node& root) {
                                               return root.AsElement()->Options();
                                           }),
                                           &e)
                              .Get());
}

// The select box's own collection face: box.item(i), box(i), box[0], box.length.
HRESULT SelectItem(DispatchObject& s, Invocation& c) {
    auto options = ElementOf(s).Options();
    long i = c.Integer(0, -1);
    return ReturnNode(c, i >= 0 && static_cast<std::size_t>(i) < options.size() ? options[i] : nullptr);
}

}  // namespace

const MemberTable& HTMLInputElement::Members() const {
    static const MemberTable table{{
        {L"value", GetValue, PutValue},
        {L"defaultValue", GetDefaultValue, PutDefaultValue},
        {L"type", GetType, PutType},
        {L"checked", GetChecked, PutChecked},
        {L"defaultChecked", GetDefaultChecked, PutDefaultChecked},
        {L"status", GetChecked, PutChecked},
        {L"form", GetForm},
        {L"select", nullptr, nullptr, Select},
        {L"readOnly", [](DispatchObject& s, Invocation& c) { return BoolAttribute(c, ElementOf(s), L"readonly"); },
         [](DispatchObject& s, Invocation& c) { return PutBoolAttribute(c, ElementOf(s), L"readonly"); }},
        {L"maxLength", [](DispatchObject& s, Invocation& c) {
             return c.ReturnInteger(NumberAttribute(ElementOf(s), L"maxlength", 2147483647));
         }},
        {L"size", [](DispatchObject& s, Invocation& c) { return c.ReturnInteger(NumberAttribute(ElementOf(s), L"size", 20)); }},
        {L"src", [](DispatchObject& s, Invocation& c) { return c.ReturnText(ElementOf(s).ResolvedUrlAttribute(L"src")); },
         [](DispatchObject& s, Invocation& c) {
             ElementOf(s).SetAttribute(L"src", c.ValueText());
             return S_OK;
         }},
        {L"alt", [](DispatchObject& s, Invocation& c) { return TextAttribute(s, c, L"alt"); }},
        {L"width", [](DispatchObject& s, Invocation& c) { return c.ReturnInteger(layout::DisplayedSize(ElementOf(s)).cx); }},
        {L"height", [](DispatchObject& s, Invocation& c) { return c.ReturnInteger(layout::DisplayedSize(ElementOf(s)).cy); }},
    }, &ElementMembers()};
    return table;
}

const MemberTable& HTMLTextAreaElement::Members() const {
    static const MemberTable table{{
        {L"value", GetValue, PutValue},
        {L"defaultValue", GetDefaultValue, PutDefaultValue},
        {L"type", GetType},
        {L"form", GetForm},
        {L"select", nullptr, nullptr, Select},
        {L"readOnly", [](DispatchObject& s, Invocation& c) { return BoolAttribute(c, ElementOf(s), L"readonly"); },
         [](DispatchObject& s, Invocation& c) { return PutBoolAttribute(c, ElementOf(s), L"readonly"); }},
        {L"rows", [](DispatchObject& s, Invocation& c) { return c.ReturnInteger(NumberAttribute(ElementOf(s), L"rows", 2)); }},
        {L"cols", [](DispatchObject& s, Invocation& c) { return c.ReturnInteger(NumberAttribute(ElementOf(s), L"cols", 20)); }},
    }, &ElementMembers()};
    return table;
}

const MemberTable& HTMLSelectElement::Members() const {
    static const MemberTable table{{
        {L"value", GetValue, PutValue},
        {L"type", GetType},
        {L"form", GetForm},
        {L"options", OptionsOf},
        {L"selectedIndex", GetSelectedIndex, PutSelectedIndex},
        {L"length", [](DispatchObject& s, Invocation& c) {
             return c.ReturnInteger(static_cast<long>(ElementOf(s).Options().size()));
         },
         [](DispatchObject& s, Invocation& c) { return PutOptionCount(ElementOf(s), c); }},
        {L"multiple", [](DispatchObject& s, Invocation& c) { return BoolAttribute(c, ElementOf(s), L"multiple"); },
         [](DispatchObject& s, Invocation& c) { return PutBoolAttribute(c, ElementOf(s), L"multiple"); }},
        {L"size", [](DispatchObject& s, Invocation& c) { return c.ReturnInteger(NumberAttribute(ElementOf(s), L"size", 0)); }},
        {L"item", nullptr, nullptr, SelectItem},
        {L"add", nullptr, nullptr, [](DispatchObject& s, Invocation& c) { return AddOption(ElementOf(s), c); }},
        {L"remove", nullptr, nullptr, [](DispatchObject& s, Invocation& c) { return RemoveOption(ElementOf(s), c); }},
    }, &ElementMembers()};
    return table;
}

HRESULT HTMLSelectElement::InvokeValue(Invocation& call) {
    if (call.Count() == 0 || call.IsPut()) return DISP_E_MEMBERNOTFOUND;
    return SelectItem(*this, call);
}

bool HTMLSelectElement::HasDynamicMember(std::wstring_view name) const {
    return IndexName(name) >= 0 || HTMLElement::HasDynamicMember(name);
}

HRESULT HTMLSelectElement::InvokeDynamic(std::wstring_view name, Invocation& call) {
    long i = IndexName(name);
    if (i < 0) return HTMLElement::InvokeDynamic(name, call);
    if (call.IsPut()) return PutOption(DomElement(), i, call);
    auto options = DomElement().Options();
    return ReturnNode(call, static_cast<std::size_t>(i) < options.size() ? options[i] : nullptr);
}

const MemberTable& HTMLOptionElement::Members() const {
    static const MemberTable table{{
        {L"text", [](DispatchObject& s, Invocation& c) { return c.ReturnText(ElementOf(s).OptionText()); },
         [](DispatchObject& s, Invocation& c) {
             ElementOf(s).SetOptionText(c.ValueText());
             return S_OK;
         }},
        {L"value", GetValue,
         [](DispatchObject& s, Invocation& c) {
             ElementOf(s).SetAttribute(L"value", c.ValueText());
             return S_OK;
         }},
        {L"selected", [](DispatchObject& s, Invocation& c) { return c.ReturnBool(ElementOf(s).Selected()); },
         [](DispatchObject& s, Invocation& c) {
             ElementOf(s).SetSelected(c.ValueBool());
             return S_OK;
         }},
        {L"defaultSelected", [](DispatchObject& s, Invocation& c) { return BoolAttribute(c, ElementOf(s), L"selected"); },
         [](DispatchObject& s, Invocation& c) { return PutBoolAttribute(c, ElementOf(s), L"selected"); }},
        {L"index", [](DispatchObject& s, Invocation& c) { return c.ReturnInteger(ElementOf(s).OptionIndex()); }},
        {L"label", [](DispatchObject& s, Invocation& c) { return TextAttribute(s, c, L"label"); }},
        {L"form", [](DispatchObject& s, Invocation& c) {
             Element* select = ElementOf(s).OwnerSelect();
             return ReturnNode(c, select ? select->Form() : nullptr);
         }},
    }, &ElementMembers()};
    return table;
}

const MemberTable& HTMLButtonElement::Members() const {
    static const MemberTable table{{
        {L"value", GetValue, [](DispatchObject& s, Invocation& c) {
             ElementOf(s).SetAttribute(L"value", c.ValueText());
             return S_OK;
         }},
        {L"type", GetType},
        {L"form", GetForm},
    }, &ElementMembers()};
    return table;
}

const MemberTable& HTMLFormElement::Members() const {
    static const MemberTable table{{
        {L"elements", [](DispatchObject& s, Invocation& c) {
             return c.ReturnObject(CollectionObject(dom::ElementCollection(&ElementOf(s), [](dom::Node& root) {
                                                        return root.AsElement()->FormElements();
                                                    })).Get());
         }},
        {L"length", [](DispatchObject& s, Invocation& c) {
             return c.ReturnInteger(static_cast<long>(ElementOf(s).FormElements().size()));
         }},
        {L"action", [](DispatchObject& s, Invocation& c) { return TextAttribute(s, c, L"action"); },
         [](DispatchObject& s, Invocation& c) {
             ElementOf(s).SetAttribute(L"action", c.ValueText());
             return S_OK;
         }},
        {L"method", [](DispatchObject& s, Invocation& c) {
             std::wstring m = dom::LowerAscii(ElementOf(s).GetAttribute(L"method"));
             return c.ReturnText(m == L"post" ? L"post" : L"get");
         },
         [](DispatchObject& s, Invocation& c) {
             ElementOf(s).SetAttribute(L"method", c.ValueText());
             return S_OK;
         }},
        {L"target", [](DispatchObject& s, Invocation& c) { return TextAttribute(s, c, L"target"); },
         [](DispatchObject& s, Invocation& c) {
             ElementOf(s).SetAttribute(L"target", c.ValueText());
             return S_OK;
         }},
        {L"encoding", [](DispatchObject& s, Invocation& c) {
             std::wstring t = dom::LowerAscii(ElementOf(s).GetAttribute(L"enctype"));
             return c.ReturnText(t.empty() ? L"application/x-www-form-urlencoded" : t);
         },
         [](DispatchObject& s, Invocation& c) {
             ElementOf(s).SetAttribute(L"enctype", c.ValueText());
             return S_OK;
         }},
        {L"enctype", [](DispatchObject& s, Invocation& c) {
             std::wstring t = dom::LowerAscii(ElementOf(s).GetAttribute(L"enctype"));
             return c.ReturnText(t.empty() ? L"application/x-www-form-urlencoded" : t);
         },
         [](DispatchObject& s, Invocation& c) {
             ElementOf(s).SetAttribute(L"enctype", c.ValueText());
             return S_OK;
         }},
        {L"submit", nullptr, nullptr,
         [](DispatchObject& s, Invocation& c) {
             Element& form = ElementOf(s);
             // submit() from script sends without asking onsubmit, as the browser does.
             form.OwnerDocument().SubmitForm(form, nullptr);
             return c.ReturnEmpty();
         }},
        {L"reset", nullptr, nullptr,
         [](DispatchObject& s, Invocation& c) {
             Element& form = ElementOf(s);
             form.OwnerDocument().ResetForm(form);
             return c.ReturnEmpty();
         }},
        {L"item", nullptr, nullptr,
         [](DispatchObject& s, Invocation& c) {
             auto controls = ElementOf(s).FormElements();
             if (c.Arg(0).vt == VT_BSTR) {
                 std::wstring name = c.Text(0);
                 for (Element* e : controls) {
                     if (e->Name() == name || e->Id() == name) return ReturnNode(c, e);
                 }
                 return c.ReturnNull();
             }
             long i = c.Integer(0, -1);
             return ReturnNode(c, i >= 0 && static_cast<std::size_t>(i) < controls.size() ? controls[i] : nullptr);
         }},
    }, &ElementMembers()};
    return table;
}

HRESULT HTMLFormElement::InvokeValue(Invocation& call) {
    if (call.Count() == 0 || call.IsPut()) return DISP_E_MEMBERNOTFOUND;
    DISPID id = DISPID_UNKNOWN;
    const Member* item = Members().Find(L"item", &id);
    return item->call(*this, call);
}

bool HTMLFormElement::HasDynamicMember(std::wstring_view name) const {
    if (IndexName(name) >= 0) return true;
    for (Element* e : DomElement().FormElements()) {
        if (e->Name() == name || e->Id() == name) return true;
    }
    return HTMLElement::HasDynamicMember(name);
}

HRESULT HTMLFormElement::InvokeDynamic(std::wstring_view name, Invocation& call) {
    auto controls = DomElement().FormElements();
    long i = IndexName(name);
    if (i >= 0 && !call.IsPut()) {
        return ReturnNode(call, static_cast<std::size_t>(i) < controls.size() ? controls[i] : nullptr);
    }
    if (!call.IsPut()) {
        std::vector<Element*> named;
        for (Element* e : controls) {
            if (e->Name() == name || e->Id() == name) named.push_back(e);
        }
        if (named.size() == 1) return ReturnNode(call, named.front());
        if (named.size() > 1) {
            // A radio group and the like: the collection of those controls.
            std::wstring n(name);
            return call.ReturnObject(CollectionObject(dom::ElementCollection(&DomElement(), [n](dom::Node& root) {
                                                          std::vector<Element*> out;
                                                          for (Element* e : root.AsElement()->FormElements()) {
                                                              if (e->Name() == n || e->Id() == n) out.push_back(e);
                                                          }
                                                          return out;
                                                      })).Get());
        }
    }
    return HTMLElement::InvokeDynamic(name, call);
}

}  // namespace corvalin::browser::om
