#include <array>

#include "browser/layout/geometry.h"
#include "browser/html/html_markup.h"
#include "browser/html/html_parser.h"
#include "browser/om/html_control_range.h"
#include "browser/om/html_element_collection.h"
#include "browser/om/html_elements.h"
#include "browser/om/html_style.h"
#include "browser/om/html_text_range.h"
#include "browser/om/text_rectangle.h"
#include "browser/om/node_objects.h"

namespace corvalin::browser::om {

namespace {

using dom::Element;
using dom::Node;

// Snapshot list of child nodes (text nodes included).
class HTMLDOMChildrenCollection final : public DispatchObject {
public:
    explicit HTMLDOMChildrenCollection(Node& parent) {
        for (dom::Node* c = parent.FirstChild(); c; c = c->NextSibling()) nodes_.emplace_back(c);
    }

protected:
    const MemberTable& Members() const override {
        static const MemberTable table{{
            {L"length", [](DispatchObject& s, Invocation& c) {
                 return c.ReturnInteger(static_cast<long>(static_cast<HTMLDOMChildrenCollection&>(s).nodes_.size()));
             }},
            {L"item", nullptr, nullptr,
             [](DispatchObject& s, Invocation& c) { return static_cast<HTMLDOMChildrenCollection&>(s).At(c, 0); }},
        }};
        return table;
    }
    HRESULT InvokeValue(Invocation& call) override { return At(call, 0); }
    bool HasDynamicMember(std::wstring_view name) const override { return IndexName(name) >= 0; }
    HRESULT InvokeDynamic(std::wstring_view name, Invocation& call) override {
        long i = IndexName(name);
        if (i < 0 || call.IsPut()) return DISP_E_MEMBERNOTFOUND;
        return ReturnNode(call, static_cast<std::size_t>(i) < nodes_.size() ? nodes_[i].get() : nullptr);
    }

private:
    HRESULT At(Invocation& call, std::size_t arg) {
        long i = call.Integer(arg, -1);
        return ReturnNode(call, i >= 0 && static_cast<std::size_t>(i) < nodes_.size() ? nodes_[i].get() : nullptr);
    }
    std::vector<dom::Ref<dom::Node>> nodes_;
};

// An attribute handler read from script: a function that runs the source.
class AttributeHandlerFunction final : public DispatchObject {
public:
    AttributeHandlerFunction(dom::Element& element, std::wstring type, dom::EventHandler handler)
        : element_(&element), type_(std::move(type)), handler_(std::move(handler)) {}

protected:
    const MemberTable& Members() const override {
        static const MemberTable table{{}};
        return table;
    }
    HRESULT InvokeValue(Invocation& call) override {
        if (!call.IsMethod()) return call.ReturnText(L"function anonymous()\n{\n" + handler_.source + L"\n}");
        dom::DocumentHost* host = element_->OwnerDocument().Host();
        if (!host) return call.ReturnEmpty();
        dom::Event event;
        event.type = type_;
        event.target = element_.get();
        event.current = element_.get();
        bool result = host->RunEventHandler(*element_, event, handler_);
        return call.ReturnBool(result && event.returnValue);
    }

private:
    dom::Ref<dom::Element> element_;
    std::wstring type_;
    dom::EventHandler handler_;
};

constexpr std::array<const wchar_t*, 31> kEventNames{
    L"onclick",     L"ondblclick",   L"onmousedown", L"onmouseup",    L"onmouseover", L"onmouseout",
    L"onmousemove", L"onkeydown",    L"onkeyup",     L"onkeypress",   L"onfocus",     L"onblur",
    L"onchange",    L"onselect",     L"onsubmit",    L"onreset",      L"onload",      L"onunload",
    L"onerror",     L"onabort",      L"onresize",    L"onscroll",     L"oncontextmenu", L"onselectstart",
    L"ondragstart", L"onmouseenter", L"onmouseleave", L"onpropertychange", L"onreadystatechange",
    L"onfocusin",   L"onfocusout"};


HRESULT GetHandler(dom::Element& e, std::wstring_view name, Invocation& call) {
    dom::EventHandler h = e.Handler(name);
    if (IDispatch* f = HandlerFunction(h)) return call.ReturnObject(f);
    if (h.source.empty()) return call.ReturnNull();
    std::wstring type = dom::LowerAscii(name.substr(2));
    return call.ReturnObject(MakeDispatch<AttributeHandlerFunction>(e, type, h).Get());
}

HRESULT PutHandler(dom::Element& e, std::wstring_view name, Invocation& call) {
    e.SetHandler(name, HandlerFromValue(call));
    return S_OK;
}

dom::Node* NodeArg(Invocation& call, std::size_t i) { return NodeOf(call.Object(i)); }

HRESULT ReturnCollection(Invocation& call, dom::ElementCollection elements) {
    return call.ReturnObject(CollectionObject(std::move(elements)).Get());
}

// The elements whose name reads as "" rather than being missing when they
// have no name attribute.
bool AlwaysHasName(const dom::Element& e) {
    using Kind = dom::TagKind;
    switch (e.Kind()) {
    case Kind::Input: case Kind::Select: case Kind::TextArea: case Kind::Button: case Kind::Form:
    case Kind::Image: case Kind::Frame:
        return true;
    case Kind::Anchor:
        return e.Is(L"a");
    case Kind::Other:
        return e.Is(L"map") || e.Is(L"meta") || e.Is(L"param") || e.Is(L"object") || e.Is(L"embed");
    default:
        return false;
    }
}

// The flags of getAttribute, setAttribute and removeAttribute: 1 matches the
// name's case exactly, 0 ignores it; getAttribute's 2 answers text. Without a
// flag, getAttribute ignores case while setAttribute and removeAttribute
// respect it, as the browser's type library declares.
constexpr long kAttributeExactCase = 1;
constexpr long kAttributeAsText = 2;

dom::NameCase NameMatch(long flags) { return flags & kAttributeExactCase ? dom::NameCase::Exact : dom::NameCase::Ignored; }

bool SameAttributeName(std::wstring_view a, std::wstring_view b, dom::NameCase match) {
    return match == dom::NameCase::Exact ? a == b : dom::EqualsIgnoringCase(a, b);
}

// These methods take the property names of two attributes ("className",
// "htmlFor"), in their exact case when the case counts.
std::wstring ContentAttributeName(std::wstring name, dom::NameCase match) {
    if (SameAttributeName(name, L"className", match)) return L"class";
    if (SameAttributeName(name, L"htmlFor", match)) return L"for";
    return name;
}

// Of attributes whose names differ only in case, the case-blind methods
// reach the one made last.
const dom::Attribute* LastAttribute(const dom::Element& e, std::wstring_view name, dom::NameCase match) {
    const auto& attributes = e.Attributes();
    for (auto a = attributes.rbegin(); a != attributes.rend(); ++a) {
        if (SameAttributeName(a->name, name, match)) return &*a;
    }
    return nullptr;
}

}  // namespace

bool IsEventName(std::wstring_view name) {
    for (const wchar_t* n : kEventNames) {
        if (dom::EqualsIgnoringCase(name, n)) return true;
    }
    return false;
}

dom::EventHandler HandlerFromValue(Invocation& call) {
    dom::EventHandler h;
    const VARIANT& v = call.Value();
    if (v.vt == VT_DISPATCH && v.pdispVal) {
        h.function = std::make_shared<ScriptFunctionObject>(v.pdispVal);
    } else if (v.vt == VT_BSTR) {
        h.source = call.ValueText();
    }
    return h;
}

// ---- Shared -----------------------------------------------------------------

dom::Element& ElementOf(DispatchObject& self) { return static_cast<HTMLElement&>(self).DomElement(); }

HRESULT ReturnNode(Invocation& call, dom::Node* node) {
    if (!node) return call.ReturnNull();
    return call.ReturnObject(NodeObject(node).Get());
}

HRESULT TextAttribute(DispatchObject& self, Invocation& call, std::wstring_view name) {
    // Read in place: no copy of the value before the result's own. An
    // absent one is the null string, so a search reading many absent ids and
    // titles makes and frees no string for them.
    const std::wstring* value = ElementOf(self).FindAttribute(name);
    return value ? call.ReturnText(*value) : call.ReturnNullText();
}

HRESULT PutAttribute(DispatchObject& self, Invocation& call, std::wstring_view name) {
    ElementOf(self).SetAttribute(name, call.ValueText());
    return S_OK;
}

// ---- Nodes ------------------------------------------------------------------

HTMLDOMNode::HTMLDOMNode(dom::Node& node) : home_(&node), node_(&node), document_(&node.OwnerDocument()) {
    node.SetBinding(this);
}

void HTMLDOMNode::LastReferenceGone() {
    // An object with script state goes: resting, it would keep that state
    // (and whatever it refers to) for as long as the page lives.
    if (!IsPristine()) {
        delete this;
        return;
    }
    Rest();
    // Dropped last, and into locals: the node may go with them, freeing this
    // object.
    dom::Ref<dom::Document> document = std::move(document_);
    dom::Ref<dom::Node> node = std::move(node_);
}

void HTMLDOMNode::Woken() {
    node_ = home_;
    document_ = &home_->OwnerDocument();
}

HTMLDOMNode::~HTMLDOMNode() {
    if (home_->Binding() == this) home_->SetBinding(nullptr);
}

const MemberTable& HTMLDOMNode::NodeMembers() {
    static auto node = [](DispatchObject& s) -> dom::Node& { return static_cast<HTMLDOMNode&>(s).DomNode(); };
    static const MemberTable table{{
        {L"nodeType", [](DispatchObject& s, Invocation& c) { return c.ReturnInteger(static_cast<long>(node(s).Type())); }},
        {L"nodeName",
         [](DispatchObject& s, Invocation& c) {
             dom::Node& n = node(s);
             if (const dom::Element* e = n.AsElement()) return c.ReturnText(e->TagName());
             if (n.Type() == dom::NodeType::DocumentFragment) return c.ReturnText(L"#document-fragment");
             return c.ReturnText(n.IsText() ? L"#text" : L"#comment");
         }},
        {L"nodeValue",
         [](DispatchObject& s, Invocation& c) {
             dom::Node& n = node(s);
             return n.IsElement() ? c.ReturnNull() : c.ReturnText(n.Data());
         },
         [](DispatchObject& s, Invocation& c) {
             dom::Node& n = node(s);
             if (!n.IsElement()) n.SetData(c.ValueText());
             return S_OK;
         }},
        {L"parentNode", [](DispatchObject& s, Invocation& c) { return ReturnNode(c, node(s).Parent()); }},
        {L"firstChild", [](DispatchObject& s, Invocation& c) { return ReturnNode(c, node(s).FirstChild()); }},
        {L"lastChild", [](DispatchObject& s, Invocation& c) { return ReturnNode(c, node(s).LastChild()); }},
        {L"nextSibling", [](DispatchObject& s, Invocation& c) { return ReturnNode(c, node(s).NextSibling()); }},
        {L"previousSibling", [](DispatchObject& s, Invocation& c) { return ReturnNode(c, node(s).PreviousSibling()); }},
        {L"ownerDocument", [](DispatchObject& s, Invocation& c) {
             return c.ReturnObject(DocumentObject(node(s).OwnerDocument()).Get());
         }},
        {L"childNodes", [](DispatchObject& s, Invocation& c) {
             return c.ReturnObject(MakeDispatch<HTMLDOMChildrenCollection>(node(s)).Get());
         }},
        {L"hasChildNodes", nullptr, nullptr,
         [](DispatchObject& s, Invocation& c) { return c.ReturnBool(node(s).HasChildren()); }},
        {L"appendChild", nullptr, nullptr,
         [](DispatchObject& s, Invocation& c) {
             dom::Node* child = NodeArg(c, 0);
             if (!child || !node(s).AppendChild(child)) return E_INVALIDARG;
             return ReturnNode(c, child);
         }},
        {L"insertBefore", nullptr, nullptr,
         [](DispatchObject& s, Invocation& c) {
             dom::Node* child = NodeArg(c, 0);
             if (!child || !node(s).InsertBefore(child, NodeArg(c, 1))) return E_INVALIDARG;
             return ReturnNode(c, child);
         }},
        {L"removeChild", nullptr, nullptr,
         [](DispatchObject& s, Invocation& c) {
             dom::Node* child = NodeArg(c, 0);
             if (!child || child->Parent() != &node(s)) return E_INVALIDARG;
             dom::Ref<dom::Node> keep(child);
             node(s).RemoveChild(child);
             return ReturnNode(c, child);
         }},
        {L"replaceChild", nullptr, nullptr,
         [](DispatchObject& s, Invocation& c) {
             dom::Node* fresh = NodeArg(c, 0);
             dom::Node* old = NodeArg(c, 1);
             if (!fresh || !old || old->Parent() != &node(s)) return E_INVALIDARG;
             dom::Ref<dom::Node> keep(old);
             if (!node(s).InsertBefore(fresh, old)) return E_INVALIDARG;
             node(s).RemoveChild(old);
             return ReturnNode(c, old);
         }},
        {L"removeNode", nullptr, nullptr,
         [](DispatchObject& s, Invocation& c) {
             dom::Node& n = node(s);
             dom::Ref<dom::Node> keep(&n);
             if (c.Bool(0) || !n.IsElement()) {
                 n.Remove();
             } else if (dom::Node* parent = n.Parent()) {
                 // Without deep: the children take the node's place.
                 while (dom::Node* child = n.FirstChild()) parent->InsertBefore(child, &n);
                 n.Remove();
             }
             return ReturnNode(c, &n);
         }},
        {L"cloneNode", nullptr, nullptr,
         [](DispatchObject& s, Invocation& c) { return ReturnNode(c, dom::CloneNode(node(s), c.Bool(0)).get()); }},
    }};
    return table;
}

const MemberTable& HTMLDOMTextNode::Members() const {
    static auto node = [](DispatchObject& s) -> dom::Node& { return static_cast<HTMLDOMNode&>(s).DomNode(); };
    static const MemberTable table{{
        {L"data", [](DispatchObject& s, Invocation& c) { return c.ReturnText(node(s).Data()); },
         [](DispatchObject& s, Invocation& c) {
             node(s).SetData(c.ValueText());
             return S_OK;
         }},
        {L"length", [](DispatchObject& s, Invocation& c) {
             return c.ReturnInteger(static_cast<long>(node(s).Data().size()));
         }},
        {L"splitText", nullptr, nullptr,
         [](DispatchObject& s, Invocation& c) {
             dom::Node& text = node(s);
             const long offset = c.Integer(0, -1);
             if (!text.IsText() || offset < 0 || static_cast<std::size_t>(offset) > text.Data().size()) return E_INVALIDARG;
             // The text after the offset becomes a new node right after this one.
             dom::Ref<dom::Node> rest = text.OwnerDocument().CreateTextNode(text.Data().substr(static_cast<std::size_t>(offset)));
             text.SetData(text.Data().substr(0, static_cast<std::size_t>(offset)));
             if (dom::Node* parent = text.Parent()) parent->InsertBefore(rest, text.NextSibling());
             return ReturnNode(c, rest.get());
         }},
    }, &NodeMembers()};
    return table;
}

// ---- Elements ---------------------------------------------------------------

const MemberTable& HTMLElement::ElementMembers() {
    static const MemberTable table{{
        {L"tagName", [](DispatchObject& s, Invocation& c) { return c.ReturnText(ElementOf(s).TagName()); }},
        {L"id", [](DispatchObject& s, Invocation& c) { return TextAttribute(s, c, L"id"); },
         [](DispatchObject& s, Invocation& c) { return PutAttribute(s, c, L"id"); }},
        {L"className", [](DispatchObject& s, Invocation& c) { return TextAttribute(s, c, L"class"); },
         [](DispatchObject& s, Invocation& c) { return PutAttribute(s, c, L"class"); }},
        {L"title", [](DispatchObject& s, Invocation& c) { return TextAttribute(s, c, L"title"); },
         [](DispatchObject& s, Invocation& c) { return PutAttribute(s, c, L"title"); }},
        {L"lang", [](DispatchObject& s, Invocation& c) { return TextAttribute(s, c, L"lang"); },
         [](DispatchObject& s, Invocation& c) { return PutAttribute(s, c, L"lang"); }},
        {L"dir", [](DispatchObject& s, Invocation& c) { return TextAttribute(s, c, L"dir"); },
         [](DispatchObject& s, Invocation& c) { return PutAttribute(s, c, L"dir"); }},
        {L"name",
         [](DispatchObject& s, Invocation& c) {
             dom::Element& e = ElementOf(s);
             if (!AlwaysHasName(e) && !e.HasAttribute(L"name")) return DISP_E_MEMBERNOTFOUND;
             return c.ReturnText(e.Name());
         },
         [](DispatchObject& s, Invocation& c) { return PutAttribute(s, c, L"name"); }},
        {L"innerHTML", [](DispatchObject& s, Invocation& c) { return c.ReturnText(html::InnerHtml(ElementOf(s))); },
         [](DispatchObject& s, Invocation& c) {
             return html::SetInnerHtml(ElementOf(s), c.ValueText()) ? S_OK : E_INVALIDARG;
         }},
        {L"outerHTML", [](DispatchObject& s, Invocation& c) { return c.ReturnText(html::OuterHtml(ElementOf(s))); },
         [](DispatchObject& s, Invocation& c) {
             return html::SetOuterHtml(ElementOf(s), c.ValueText()) ? S_OK : E_INVALIDARG;
         }},
        {L"innerText", [](DispatchObject& s, Invocation& c) { return c.ReturnText(ElementOf(s).InnerText()); },
         [](DispatchObject& s, Invocation& c) {
             dom::Element& e = ElementOf(s);
             if (dom::IsVoidElement(e.LocalName()) || html::ContentIsReadOnly(e)) return E_INVALIDARG;
             e.SetInnerText(c.ValueText());
             return S_OK;
         }},
        {L"outerText", [](DispatchObject& s, Invocation& c) { return c.ReturnText(ElementOf(s).InnerText()); },
         [](DispatchObject& s, Invocation& c) {
             dom::Element& e = ElementOf(s);
             if (html::OuterIsReadOnly(e)) return E_INVALIDARG;
             e.SetOuterText(c.ValueText());
             return S_OK;
         }},
        {L"textContent", [](DispatchObject& s, Invocation& c) { return c.ReturnText(ElementOf(s).TextContent()); }},
        {L"insertAdjacentHTML", nullptr, nullptr,
         [](DispatchObject& s, Invocation& c) {
             return html::InsertAdjacentHtml(ElementOf(s), c.Text(0), c.Text(1)) ? S_OK : E_INVALIDARG;
         }},
        {L"insertAdjacentText", nullptr, nullptr,
         [](DispatchObject& s, Invocation& c) {
             return html::InsertAdjacentText(ElementOf(s), c.Text(0), c.Text(1)) ? S_OK : E_INVALIDARG;
         }},
        {L"insertAdjacentElement", nullptr, nullptr,
         [](DispatchObject& s, Invocation& c) {
             dom::Element& e = ElementOf(s);
             dom::Node* n = NodeArg(c, 1);
             std::wstring where = c.Text(0);
             if (!n) return E_INVALIDARG;
             bool ok = false;
             if (dom::EqualsIgnoringCase(where, L"beforeBegin") && e.Parent()) ok = e.Parent()->InsertBefore(n, &e);
             else if (dom::EqualsIgnoringCase(where, L"afterEnd") && e.Parent()) ok = e.Parent()->InsertBefore(n, e.NextSibling());
             else if (dom::EqualsIgnoringCase(where, L"afterBegin")) ok = e.InsertBefore(n, e.FirstChild());
             else if (dom::EqualsIgnoringCase(where, L"beforeEnd")) ok = e.AppendChild(n);
             return ok ? ReturnNode(c, n) : E_INVALIDARG;
         }},
        {L"style", [](DispatchObject& s, Invocation& c) { return c.ReturnObject(MakeDispatch<HTMLStyle>(ElementOf(s)).Get()); },
         [](DispatchObject& s, Invocation& c) {
             ElementOf(s).SetStyleCssText(c.ValueText());
             return S_OK;
         }},
        {L"currentStyle", [](DispatchObject& s, Invocation& c) { return c.ReturnObject(MakeDispatch<HTMLCurrentStyle>(ElementOf(s)).Get()); }},
        {L"runtimeStyle", [](DispatchObject& s, Invocation& c) { return c.ReturnObject(MakeDispatch<HTMLStyle>(ElementOf(s)).Get()); }},
        {L"click", nullptr, nullptr,
         [](DispatchObject& s, Invocation& c) {
             dom::Element& e = ElementOf(s);
             e.OwnerDocument().Click(e);
             return c.ReturnEmpty();
         }},
        {L"focus", nullptr, nullptr,
         [](DispatchObject& s, Invocation& c) {
             ElementOf(s).Focus();
             return c.ReturnEmpty();
         }},
        {L"blur", nullptr, nullptr,
         [](DispatchObject& s, Invocation& c) {
             ElementOf(s).Blur();
             return c.ReturnEmpty();
         }},
        {L"fireEvent", nullptr, nullptr,
         [](DispatchObject& s, Invocation& c) {
             dom::Element& e = ElementOf(s);
             std::wstring name = c.Text(0);
             if (!IsEventName(name)) return E_INVALIDARG;
             return c.ReturnBool(e.OwnerDocument().FireEvent(e, name));
         }},
        {L"attachEvent", nullptr, nullptr,
         [](DispatchObject& s, Invocation& c) {
             dom::Element& e = ElementOf(s);
             std::wstring name = c.Text(0);
             IDispatch* f = c.Object(1);
             if (!IsEventName(name) || !f) return c.ReturnBool(false);
             dom::EventHandler h;
             h.function = std::make_shared<ScriptFunctionObject>(f);
             e.SetHandler(name, std::move(h));
             return c.ReturnBool(true);
         }},
        {L"detachEvent", nullptr, nullptr,
         [](DispatchObject& s, Invocation& c) {
             dom::Element& e = ElementOf(s);
             std::wstring name = c.Text(0);
             if (IsEventName(name) && HandlerFunction(e.Handler(name)) == c.Object(1)) e.SetHandler(name, {});
             return c.ReturnEmpty();
         }},
        {L"getAttribute", nullptr, nullptr,
         [](DispatchObject& s, Invocation& c) {
             dom::Element& e = ElementOf(s);
             const long flags = c.Integer(1, 0);
             const dom::NameCase match = NameMatch(flags);
             const std::wstring name = ContentAttributeName(c.Text(0), match);
             const bool asText = (flags & kAttributeAsText) != 0;
             // The browser answers the style object here, unless asked for text.
             if (SameAttributeName(name, L"style", match) && !asText) return c.ReturnObject(MakeDispatch<HTMLStyle>(e).Get());
             if (const dom::Attribute* a = LastAttribute(e, name, match)) return c.ReturnText(a->value);
             // Properties script added are attributes too.
             VARIANT expando;
             VariantInit(&expando);
             if (!static_cast<HTMLElement&>(s).ReadExpando(name, &expando, match)) return c.ReturnNull();
             if (asText && expando.vt != VT_BSTR && FAILED(VariantChangeType(&expando, &expando, VARIANT_ALPHABOOL, VT_BSTR))) {
                 VariantClear(&expando);
                 return c.ReturnNull();
             }
             const HRESULT hr = c.ReturnVariant(expando);
             VariantClear(&expando);
             return hr;
         }},
        {L"setAttribute", nullptr, nullptr,
         [](DispatchObject& s, Invocation& c) {
             dom::Element& e = ElementOf(s);
             const dom::NameCase match = NameMatch(c.Integer(2, kAttributeExactCase));
             const std::wstring name = ContentAttributeName(c.Text(0), match);
             if (name.empty()) return E_INVALIDARG;
             std::wstring value = c.Text(1);
             if (dom::EqualsIgnoringCase(name, L"style")) {
                 // The browser leaves the style alone here (style.cssText sets it).
             } else {
                 e.SetAttribute(name, value, match);
                 if (e.Is(L"input") && SameAttributeName(name, L"value", match)) e.SetValue(value);
                 if (e.Is(L"input") && SameAttributeName(name, L"checked", match)) e.SetChecked(c.Bool(1));
             }
             return c.ReturnEmpty();
         }},
        {L"removeAttribute", nullptr, nullptr,
         [](DispatchObject& s, Invocation& c) {
             const dom::NameCase match = NameMatch(c.Integer(1, kAttributeExactCase));
             const std::wstring name = ContentAttributeName(c.Text(0), match);
             dom::Element& e = ElementOf(s);
             // Names are unique in their exact case: removing the last match's removes just it.
             if (const dom::Attribute* a = LastAttribute(e, name, match)) {
                 e.RemoveAttribute(std::wstring(a->name), dom::NameCase::Exact);
                 return c.ReturnBool(true);
             }
             return c.ReturnBool(static_cast<HTMLElement&>(s).RemoveExpando(name, match));
         }},
        {L"attributes", [](DispatchObject& s, Invocation& c) {
             return c.ReturnObject(MakeDispatch<HTMLAttributeCollection>(ElementOf(s)).Get());
         }},
        {L"uniqueID", [](DispatchObject& s, Invocation& c) { return c.ReturnText(static_cast<HTMLElement&>(s).UniqueId()); }},
        {L"accessKey", [](DispatchObject& s, Invocation& c) { return TextAttribute(s, c, L"accesskey"); },
         [](DispatchObject& s, Invocation& c) { return PutAttribute(s, c, L"accesskey"); }},
        {L"contentEditable",
         [](DispatchObject& s, Invocation& c) {
             const std::wstring* v = ElementOf(s).FindAttribute(L"contenteditable");
             if (!v) return c.ReturnText(L"inherit");
             return c.ReturnText(dom::EqualsIgnoringCase(*v, L"false") ? L"false" : L"true");
         },
         [](DispatchObject& s, Invocation& c) {
             const std::wstring v = dom::LowerAscii(c.ValueText());
             if (v == L"inherit") ElementOf(s).RemoveAttribute(L"contenteditable");
             else if (v == L"true" || v == L"false") ElementOf(s).SetAttribute(L"contenteditable", v);
             else return E_INVALIDARG;
             return S_OK;
         }},
        {L"isContentEditable", [](DispatchObject& s, Invocation& c) {
             for (const dom::Element* e = &ElementOf(s); e; e = e->ParentElement())
                 if (const std::wstring* v = e->FindAttribute(L"contenteditable"))
                     return c.ReturnBool(!dom::EqualsIgnoringCase(*v, L"false"));
             return c.ReturnBool(false);
         }},
        {L"hideFocus", [](DispatchObject& s, Invocation& c) { return c.ReturnBool(ElementOf(s).HasAttribute(L"hidefocus")); },
         [](DispatchObject& s, Invocation& c) {
             if (c.ValueBool()) ElementOf(s).SetAttribute(L"hidefocus", L"true");
             else ElementOf(s).RemoveAttribute(L"hidefocus");
             return S_OK;
         }},
        {L"mergeAttributes", nullptr, nullptr,
         [](DispatchObject& s, Invocation& c) {
             dom::Node* source = NodeArg(c, 0);
             const dom::Element* from = source ? source->AsElement() : nullptr;
             if (!from) return E_INVALIDARG;
             // The identity stays unless the caller says otherwise (false).
             const bool keepIdentity = !c.Has(1) || c.Bool(1);
             dom::Element& e = ElementOf(s);
             const std::vector<dom::Attribute> attributes = from->Attributes();
             for (const auto& a : attributes) {
                 if (keepIdentity && (a.name == L"id" || a.name == L"name")) continue;
                 e.SetAttribute(a.name, a.value);
             }
             return c.ReturnEmpty();
         }},
        {L"swapNode", nullptr, nullptr,
         [](DispatchObject& s, Invocation& c) {
             dom::Node* other = NodeArg(c, 0);
             dom::Element& e = ElementOf(s);
             if (!other || other == &e || other->Contains(&e) || e.Contains(other)) return E_INVALIDARG;
             dom::Ref<dom::Node> keepThis(&e), keepOther(other);
             // A marker holds this node's place while the other moves in.
             dom::Ref<dom::Node> marker = e.OwnerDocument().CreateTextNode(L"");
             if (dom::Node* parent = e.Parent()) parent->InsertBefore(marker, &e);
             if (dom::Node* parent = other->Parent()) parent->InsertBefore(&e, other);
             else e.Remove();
             if (dom::Node* parent = marker->Parent()) {
                 parent->InsertBefore(other, marker.get());
                 marker->Remove();
             } else {
                 other->Remove();
             }
             return ReturnNode(c, &e);
         }},
        {L"replaceNode", nullptr, nullptr,
         [](DispatchObject& s, Invocation& c) {
             dom::Node* fresh = NodeArg(c, 0);
             dom::Element& e = ElementOf(s);
             dom::Node* parent = e.Parent();
             if (!fresh || !parent || fresh->Contains(&e)) return E_INVALIDARG;
             dom::Ref<dom::Node> keep(&e);
             if (!parent->InsertBefore(fresh, &e)) return E_INVALIDARG;
             e.Remove();
             return ReturnNode(c, &e);
         }},
        {L"applyElement", nullptr, nullptr,
         [](DispatchObject& s, Invocation& c) {
             dom::Node* wrapperNode = NodeArg(c, 0);
             dom::Element* wrapper = wrapperNode ? wrapperNode->AsElement() : nullptr;
             dom::Element& e = ElementOf(s);
             if (!wrapper || wrapper->Contains(&e) || e.Contains(wrapper)) return E_INVALIDARG;
             dom::Ref<dom::Element> keep(wrapper);
             if (dom::EqualsIgnoringCase(c.Text(1, L"outside"), L"inside")) {
                 // The wrapper takes this element's children.
                 while (dom::Node* child = e.FirstChild()) wrapper->AppendChild(child);
                 e.AppendChild(wrapper);
             } else {
                 dom::Node* parent = e.Parent();
                 if (!parent) return E_INVALIDARG;
                 parent->InsertBefore(wrapper, &e);
                 wrapper->AppendChild(&e);
             }
             return ReturnNode(c, wrapper);
         }},
        {L"hasAttribute", nullptr, nullptr,
         [](DispatchObject& s, Invocation& c) { return c.ReturnBool(ElementOf(s).HasAttribute(c.Text(0))); }},
        {L"parentElement", [](DispatchObject& s, Invocation& c) { return ReturnNode(c, ElementOf(s).ParentElement()); }},
        {L"children", [](DispatchObject& s, Invocation& c) {
             return ReturnCollection(c, dom::ElementCollection(&ElementOf(s), dom::ElementCollection::Filter{}, dom::ElementCollection::Scope::Children,
                                                               dom::ElementCollection::TagAndPlaceOnly()));
         }},
        {L"all", [](DispatchObject& s, Invocation& c) {
             return ReturnCollection(c, dom::ElementCollection(&ElementOf(s), dom::ElementCollection::Filter{},
                                                               dom::ElementCollection::Scope::Descendants,
                                                               dom::ElementCollection::TagAndPlaceOnly()));
         }},
        {L"getElementsByTagName", nullptr, nullptr,
         [](DispatchObject& s, Invocation& c) {
             std::wstring tag = dom::LowerAscii(c.Text(0));
             return ReturnCollection(c, dom::ElementCollection(
                                            &ElementOf(s),
                                            [tag](const dom::Element& e) { return tag == L"*" || e.LocalName() == tag; },
                                            dom::ElementCollection::Scope::Descendants,
                                            dom::ElementCollection::TagAndPlaceOnly()));
         }},
        {L"document", [](DispatchObject& s, Invocation& c) {
             return c.ReturnObject(DocumentObject(ElementOf(s).OwnerDocument()).Get());
         }},
        {L"sourceIndex", [](DispatchObject& s, Invocation& c) { return c.ReturnInteger(ElementOf(s).SourceIndex()); }},
        {L"createControlRange", nullptr, nullptr,
         [](DispatchObject& s, Invocation& c) {
             return c.ReturnObject(MakeDispatch<HTMLControlRange>(ElementOf(s).OwnerDocument()).Get());
         }},
        {L"contains", nullptr, nullptr,
         [](DispatchObject& s, Invocation& c) {
             dom::Node* other = NodeArg(c, 0);
             return c.ReturnBool(other && ElementOf(s).Contains(other));
         }},
        {L"disabled", [](DispatchObject& s, Invocation& c) { return c.ReturnBool(ElementOf(s).Disabled()); },
         [](DispatchObject& s, Invocation& c) {
             ElementOf(s).SetDisabled(c.ValueBool());
             return S_OK;
         }},
        {L"isDisabled", [](DispatchObject& s, Invocation& c) { return c.ReturnBool(ElementOf(s).Disabled()); }},
        {L"tabIndex", [](DispatchObject& s, Invocation& c) {
             return c.ReturnInteger(static_cast<long>(_wtol(ElementOf(s).GetAttribute(L"tabindex").c_str())));
         },
         [](DispatchObject& s, Invocation& c) { return PutAttribute(s, c, L"tabindex"); }},
        {L"canHaveChildren", [](DispatchObject& s, Invocation& c) {
             return c.ReturnBool(!dom::IsVoidElement(ElementOf(s).LocalName()));
         }},
        {L"createTextRange", nullptr, nullptr,
         [](DispatchObject& s, Invocation& c) {
             return c.ReturnObject(MakeDispatch<HTMLTextRange>(dom::TextRange(ElementOf(s))).Get());
         }},
        {L"scrollIntoView", nullptr, nullptr, [](DispatchObject&, Invocation& c) { return c.ReturnEmpty(); }},
        // Geometry from the layout.
        {L"offsetLeft", [](DispatchObject& s, Invocation& c) { return c.ReturnInteger(layout::OffsetOf(ElementOf(s)).left); }},
        {L"offsetTop", [](DispatchObject& s, Invocation& c) { return c.ReturnInteger(layout::OffsetOf(ElementOf(s)).top); }},
        {L"offsetWidth", [](DispatchObject& s, Invocation& c) { return c.ReturnInteger(layout::OffsetOf(ElementOf(s)).width); }},
        {L"offsetHeight", [](DispatchObject& s, Invocation& c) { return c.ReturnInteger(layout::OffsetOf(ElementOf(s)).height); }},
        {L"offsetParent", [](DispatchObject& s, Invocation& c) { return ReturnNode(c, layout::OffsetOf(ElementOf(s)).offsetParent); }},
        {L"clientLeft", [](DispatchObject& s, Invocation& c) { return c.ReturnInteger(layout::ClientLeft(ElementOf(s))); }},
        {L"clientTop", [](DispatchObject& s, Invocation& c) { return c.ReturnInteger(layout::ClientTop(ElementOf(s))); }},
        {L"clientWidth", [](DispatchObject& s, Invocation& c) { return c.ReturnInteger(layout::ClientWidth(ElementOf(s))); }},
        {L"clientHeight", [](DispatchObject& s, Invocation& c) { return c.ReturnInteger(layout::ClientHeight(ElementOf(s))); }},
        {L"scrollWidth", [](DispatchObject& s, Invocation& c) { return c.ReturnInteger(layout::ScrollWidth(ElementOf(s))); }},
        {L"scrollHeight", [](DispatchObject& s, Invocation& c) { return c.ReturnInteger(layout::ScrollHeight(ElementOf(s))); }},
        {L"scrollTop", [](DispatchObject& s, Invocation& c) { return c.ReturnInteger(layout::ScrollTop(ElementOf(s))); },
         [](DispatchObject& s, Invocation& c) {
             dom::Element& e = ElementOf(s);
             layout::ScrollTo(e, layout::ScrollLeft(e), static_cast<long>(c.ValueNumber()));
             return S_OK;
         }},
        {L"scrollLeft", [](DispatchObject& s, Invocation& c) { return c.ReturnInteger(layout::ScrollLeft(ElementOf(s))); },
         [](DispatchObject& s, Invocation& c) {
             dom::Element& e = ElementOf(s);
             layout::ScrollTo(e, static_cast<long>(c.ValueNumber()), layout::ScrollTop(e));
             return S_OK;
         }},
        {L"getBoundingClientRect", nullptr, nullptr, [](DispatchObject& s, Invocation& c) {
             return c.ReturnObject(MakeDispatch<TextRectangle>(layout::BoundingClientRect(ElementOf(s))).Get());
         }},
        {L"getClientRects", nullptr, nullptr, [](DispatchObject& s, Invocation& c) {
             return c.ReturnObject(MakeDispatch<TextRectangleList>(layout::ClientRects(ElementOf(s))).Get());
         }},
    }, &NodeMembers()};
    return table;
}

bool HTMLElement::ReadExpando(std::wstring_view name, VARIANT* value, dom::NameCase match) const {
    // Expandos are one per name whatever its case; an exact match also wants
    // the case it was made with.
    if (match == dom::NameCase::Exact && ExpandoName(name) != name) return false;
    return GetExpando(name, value);
}

bool HTMLElement::RemoveExpando(std::wstring_view name, dom::NameCase match) {
    if (!ReadExpando(name, nullptr, match)) return false;
    BSTR text = SysAllocStringLen(name.data(), static_cast<UINT>(name.size()));
    DeleteMemberByName(text, 0);
    SysFreeString(text);
    return true;
}

const std::wstring& HTMLElement::UniqueId() {
    static unsigned next = 0;
    if (uniqueId_.empty()) uniqueId_ = L"ms__id" + std::to_wstring(++next);
    return uniqueId_;
}

bool HTMLElement::HasDynamicMember(std::wstring_view name) const {
    if (IsEventName(name)) return true;
    const dom::Element& e = DomElement();
    return e.HasAttribute(name) && !dom::EqualsIgnoringCase(name, L"style") && !dom::EqualsIgnoringCase(name, L"class");
}

HRESULT HTMLElement::InvokeDynamic(std::wstring_view name, Invocation& call) {
    dom::Element& e = DomElement();
    if (IsEventName(name)) {
        if (call.IsPut()) return PutHandler(e, name, call);
        // A read (VBScript reads with the method flag as well) gives the
        // handler; e.onclick(...) runs it with e as `this`.
        if (!call.IsMethod() || (call.IsGet() && call.Count() == 0)) return GetHandler(e, name, call);
        VARIANT handler;
        VariantInit(&handler);
        Invocation read(DISPATCH_PROPERTYGET, nullptr, &handler);
        GetHandler(e, name, read);
        HRESULT hr = handler.vt == VT_DISPATCH && handler.pdispVal
                         ? CallWithThis(handler.pdispVal, static_cast<IDispatchEx*>(this), call)
                         : DISP_E_TYPEMISMATCH;
        VariantClear(&handler);
        return hr;
    }
    const std::wstring* v = e.FindAttribute(name);
    if (!v) return DISP_E_MEMBERNOTFOUND;
    if (call.IsPut()) {
        e.SetAttribute(name, call.ValueText());
        return S_OK;
    }
    if (call.IsMethod() && call.Count() > 0) return DISP_E_MEMBERNOTFOUND;
    return call.ReturnText(*v);
}

// ---- Object factory ---------------------------------------------------------

ComPtr<IDispatch> NodeObject(dom::Node* node) {
    if (!node) return nullptr;
    if (node->Type() == dom::NodeType::Document) return DocumentObject(static_cast<dom::Document&>(*node));
    // Only node objects bind to nodes other than the document.
    if (auto* existing = static_cast<HTMLDOMNode*>(node->Binding())) return ComPtr<IDispatch>(existing);
    Element* e = node->AsElement();
    if (node->Type() == dom::NodeType::DocumentFragment) return MakeDispatch<HTMLDOMNode>(*node);
    if (!e) return MakeDispatch<HTMLDOMTextNode>(*node);
    using Kind = dom::TagKind;
    switch (e->Kind()) {
    case Kind::Input: return MakeDispatch<HTMLInputElement>(*e);
    case Kind::TextArea: return MakeDispatch<HTMLTextAreaElement>(*e);
    case Kind::Select: return MakeDispatch<HTMLSelectElement>(*e);
    case Kind::Option: return MakeDispatch<HTMLOptionElement>(*e);
    case Kind::Button: return MakeDispatch<HTMLButtonElement>(*e);
    case Kind::Form: return MakeDispatch<HTMLFormElement>(*e);
    case Kind::Table: return MakeDispatch<HTMLTableElement>(*e);
    case Kind::TableSection: return MakeDispatch<HTMLTableSectionElement>(*e);
    case Kind::Row: return MakeDispatch<HTMLTableRowElement>(*e);
    case Kind::Cell: return MakeDispatch<HTMLTableCellElement>(*e);
    case Kind::Anchor: return MakeDispatch<HTMLAnchorElement>(*e);
    case Kind::Image: return MakeDispatch<HTMLImageElement>(*e);
    case Kind::Script: return MakeDispatch<HTMLScriptElement>(*e);
    case Kind::Frame: return MakeDispatch<HTMLFrameElement>(*e);
    case Kind::Other: break;
    }
    return MakeDispatch<HTMLElement>(*e);
}

dom::Node* NodeOf(IDispatch* object) {
    if (!object) return nullptr;
    DispatchObject* ours = AsDispatchObject(object);
    if (auto* base = dynamic_cast<HTMLDOMNode*>(ours)) return &base->DomNode();
    return DocumentNodeOf(ours);
}

}  // namespace corvalin::browser::om
