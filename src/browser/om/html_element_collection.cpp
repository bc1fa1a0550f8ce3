#include "browser/om/html_element_collection.h"

#include "browser/dom/element.h"
#include "browser/om/html_elements.h"
#include "browser/om/node_objects.h"

namespace corvalin::browser::om {

struct CollectionMembers {
    static HTMLElementCollection& Self(DispatchObject& s) { return static_cast<HTMLElementCollection&>(s); }

    static HRESULT Length(DispatchObject& s, Invocation& c) {
        return c.ReturnInteger(static_cast<long>(Self(s).elements_.Length()));
    }

    static HRESULT PutLength(DispatchObject& s, Invocation& c) {
        dom::Element* select = Self(s).select_.get();
        return select ? PutOptionCount(*select, c) : DISP_E_MEMBERNOTFOUND;
    }

    static HRESULT NamedItem(DispatchObject& s, Invocation& c) {
        auto named = Self(s).elements_.Named(c.Text(0));
        return ReturnNode(c, named.empty() ? nullptr : named.front());
    }

    static HRESULT Tags(DispatchObject& s, Invocation& c) {
        return c.ReturnObject(CollectionObject(Self(s).elements_.Tags(c.Text(0))).Get());
    }

    static HRESULT Add(DispatchObject& s, Invocation& c) {
        dom::Element* select = Self(s).select_.get();
        return select ? AddOption(*select, c) : E_INVALIDARG;
    }

    static HRESULT Remove(DispatchObject& s, Invocation& c) {
        dom::Element* select = Self(s).select_.get();
        return select ? RemoveOption(*select, c) : DISP_E_MEMBERNOTFOUND;
    }

    static HRESULT SelectedIndex(DispatchObject& s, Invocation& c) {
        dom::Element* select = Self(s).select_.get();
        if (!select) return DISP_E_MEMBERNOTFOUND;
        return c.ReturnInteger(select->SelectedIndex());
    }

    static HRESULT PutSelectedIndex(DispatchObject& s, Invocation& c) {
        dom::Element* select = Self(s).select_.get();
        if (!select) return DISP_E_MEMBERNOTFOUND;
        select->SetSelectedIndex(static_cast<int>(c.ValueNumber()));
        return S_OK;
    }
};

HTMLElementCollection::HTMLElementCollection(dom::ElementCollection elements, dom::Element* select)
    : elements_(std::move(elements)), select_(select) {}

const MemberTable& HTMLElementCollection::Members() const {
    static const MemberTable table{{
        {L"length", &CollectionMembers::Length, &CollectionMembers::PutLength},
        {L"item", nullptr, nullptr, &Bind<HTMLElementCollection, &HTMLElementCollection::Item>},
        {L"namedItem", nullptr, nullptr, &CollectionMembers::NamedItem},
        {L"tags", nullptr, nullptr, &CollectionMembers::Tags},
        {L"add", nullptr, nullptr, &CollectionMembers::Add},
        {L"remove", nullptr, nullptr, &CollectionMembers::Remove},
        {L"selectedIndex", &CollectionMembers::SelectedIndex, &CollectionMembers::PutSelectedIndex},
    }};
    return table;
}

HRESULT HTMLElementCollection::Item(Invocation& call) {
    if (!call.Has(0)) return call.ReturnNull();
    const VARIANT& arg = call.Arg(0);
    bool text = arg.vt == VT_BSTR;
    if (!text) {
        long i = call.Integer(0, -1);
        return ReturnNode(call, i >= 0 ? elements_.Item(static_cast<std::size_t>(i)) : nullptr);
    }
    std::wstring name = call.Text(0);
    auto named = elements_.Named(name);
    if (named.empty()) {
        long i = IndexName(name);
        return ReturnNode(call, i >= 0 ? elements_.Item(static_cast<std::size_t>(i)) : nullptr);
    }
    if (call.Has(1)) {
        // item(name, n): the n-th of the elements of that name.
        long n = call.Integer(1, -1);
        return ReturnNode(call, n >= 0 && static_cast<std::size_t>(n) < named.size() ? named[n] : nullptr);
    }
    if (named.size() == 1) return ReturnNode(call, named.front());
    // Several share the name: a collection of them, as the browser answers.
    return call.ReturnObject(CollectionObject(elements_.NamedCollection(name)).Get());
}

HRESULT HTMLElementCollection::InvokeValue(Invocation& call) {
    if (call.IsPut()) return DISP_E_MEMBERNOTFOUND;
    if (call.Count() == 0) {
        if (call.IsMethod()) return DISP_E_BADPARAMCOUNT;
        return call.ReturnText(L"[object]");
    }
    return Item(call);
}

bool HTMLElementCollection::HasDynamicMember(std::wstring_view name) const {
    long i = IndexName(name);
    if (i >= 0) return true;
    return !elements_.Named(name).empty();
}

HRESULT HTMLElementCollection::InvokeDynamic(std::wstring_view name, Invocation& call) {
    long i = IndexName(name);
    if (call.IsPut()) return i >= 0 && select_ ? PutOption(*select_, i, call) : DISP_E_MEMBERNOTFOUND;
    if (i >= 0) return ReturnNode(call, elements_.Item(static_cast<std::size_t>(i)));
    auto named = elements_.Named(name);
    if (named.empty()) return DISP_E_MEMBERNOTFOUND;
    if (named.size() == 1) return ReturnNode(call, named.front());
    return call.ReturnObject(CollectionObject(elements_.NamedCollection(name)).Get());
}

ComPtr<IDispatch> CollectionObject(dom::ElementCollection elements, dom::Element* select) {
    return MakeDispatch<HTMLElementCollection>(std::move(elements), select);
}

namespace {

dom::Element* OptionOf(IDispatch* object) {
    dom::Node* node = NodeOf(object);
    dom::Element* e = node ? node->AsElement() : nullptr;
    return e && e->Is(L"option") ? e : nullptr;
}

}  // namespace

HRESULT AddOption(dom::Element& select, Invocation& call) {
    dom::Element* option = OptionOf(call.Object(0));
    if (!option) return E_INVALIDARG;
    select.AddOption(*option, call.Integer(1, -1));
    return call.ReturnEmpty();
}

HRESULT RemoveOption(dom::Element& select, Invocation& call) {
    select.RemoveOption(call.Integer(0, -1));
    return call.ReturnEmpty();
}

HRESULT PutOptionCount(dom::Element& select, Invocation& call) {
    const double n = call.ValueNumber();
    if (n < 0) return E_INVALIDARG;
    select.SetOptionCount(static_cast<std::size_t>(n));
    return S_OK;
}

HRESULT PutOption(dom::Element& select, long index, Invocation& call) {
    const VARIANT& value = call.Value();
    dom::Element* option = OptionOf(value.vt == VT_DISPATCH ? value.pdispVal : nullptr);
    // Only an option or null goes in a box's list.
    if (!option && value.vt != VT_NULL && value.vt != VT_EMPTY) return E_INVALIDARG;
    select.PutOption(static_cast<std::size_t>(index), option);
    return S_OK;
}

}  // namespace corvalin::browser::om
