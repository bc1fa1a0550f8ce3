// The objects of nodes, one class per interface of that browser's object
// model. Each holds its node; the node points back (dom::NodeBinding) so it
// answers with the same object while one exists. When nobody holds an object
// that nothing was added to, it rests on its node, holding nothing, and the
// next request wakes it instead of making a new one: a page walked again and
// again (the status poll) does not remake an object per element per walk.
#pragma once
#include "browser/dom/document.h"
#include "browser/om/dispatch_object.h"

namespace corvalin::browser::om {

// What every node object shares: the node, and tree members (nodeType,
// parentNode, childNodes, appendChild...). The object also holds the node's
// document, so the page's tree stays whole while script or the toolkit
// holds any of its nodes.
class HTMLDOMNode : public DispatchObject, public dom::NodeBinding {
public:
    explicit HTMLDOMNode(dom::Node& node);
    dom::Node& DomNode() const { return *home_; }
    static const MemberTable& NodeMembers();

protected:
    ~HTMLDOMNode() override;
    const MemberTable& Members() const override { return NodeMembers(); }
    void LastReferenceGone() override;
    void Woken() override;

private:
    // The node, held while anyone holds this object; while resting, the
    // node owns this object instead (and frees it when it goes).
    dom::Node* const home_;
    dom::Ref<dom::Node> node_;
    // Script holding any node of a page keeps the whole page, as in that browser.
    dom::Ref<dom::Document> document_;
};

class HTMLDOMTextNode final : public HTMLDOMNode {
public:
    using HTMLDOMNode::HTMLDOMNode;

protected:
    const MemberTable& Members() const override;
};

// Any element. Attributes of the markup that no member covers read as
// properties (IE's expando attributes).
class HTMLElement : public HTMLDOMNode {
public:
    explicit HTMLElement(dom::Element& element) : HTMLDOMNode(element) {}
    dom::Element& DomElement() const { return static_cast<dom::Element&>(DomNode()); }
    static const MemberTable& ElementMembers();

    // Properties script added, read and removed as attributes are.
    bool ReadExpando(std::wstring_view name, VARIANT* value, dom::NameCase match = dom::NameCase::Ignored) const;
    bool RemoveExpando(std::wstring_view name, dom::NameCase match = dom::NameCase::Ignored);
    // "ms__id<n>", given on first request and kept while the object lives.
    const std::wstring& UniqueId();

protected:
    const MemberTable& Members() const override { return ElementMembers(); }
    bool HasDynamicMember(std::wstring_view name) const override;
    HRESULT InvokeDynamic(std::wstring_view name, Invocation& call) override;

private:
    std::wstring uniqueId_;
};

// element.attributes: the attributes the element has, as objects with name,
// value and specified.
class HTMLAttributeCollection final : public DispatchObject {
public:
    explicit HTMLAttributeCollection(dom::Element& element) : element_(&element) {}

protected:
    const MemberTable& Members() const override;
    HRESULT InvokeValue(Invocation& call) override;
    bool HasDynamicMember(std::wstring_view name) const override;
    HRESULT InvokeDynamic(std::wstring_view name, Invocation& call) override;

private:
    HRESULT ReturnAttribute(Invocation& call, const VARIANT& which);
    dom::Ref<dom::Element> element_;
};

#define CORVALIN_ELEMENT_CLASS(Name)                                        \
    class Name final : public HTMLElement {                                 \
    public:                                                                 \
        using HTMLElement::HTMLElement;                                     \
                                                                            \
    protected:                                                              \
        const MemberTable& Members() const override;                        \
    };

CORVALIN_ELEMENT_CLASS(HTMLInputElement)
CORVALIN_ELEMENT_CLASS(HTMLTextAreaElement)
CORVALIN_ELEMENT_CLASS(HTMLOptionElement)
CORVALIN_ELEMENT_CLASS(HTMLButtonElement)
CORVALIN_ELEMENT_CLASS(HTMLTableElement)
CORVALIN_ELEMENT_CLASS(HTMLTableSectionElement)
CORVALIN_ELEMENT_CLASS(HTMLTableRowElement)
CORVALIN_ELEMENT_CLASS(HTMLTableCellElement)
CORVALIN_ELEMENT_CLASS(HTMLImageElement)
CORVALIN_ELEMENT_CLASS(HTMLScriptElement)
CORVALIN_ELEMENT_CLASS(HTMLFrameElement)

#undef CORVALIN_ELEMENT_CLASS

// A link read as a value (String(link)) is its address.
class HTMLAnchorElement final : public HTMLElement {
public:
    using HTMLElement::HTMLElement;

protected:
    const MemberTable& Members() const override;
    HRESULT InvokeValue(Invocation& call) override;
};

// A select box is also the collection of its options: length, item, box(i).
class HTMLSelectElement final : public HTMLElement {
public:
    using HTMLElement::HTMLElement;

protected:
    const MemberTable& Members() const override;
    HRESULT InvokeValue(Invocation& call) override;
    bool HasDynamicMember(std::wstring_view name) const override;
    HRESULT InvokeDynamic(std::wstring_view name, Invocation& call) override;
};

// A form is also the collection of its controls: form.userqq, form(0).
class HTMLFormElement final : public HTMLElement {
public:
    using HTMLElement::HTMLElement;

protected:
    const MemberTable& Members() const override;
    HRESULT InvokeValue(Invocation& call) override;
    bool HasDynamicMember(std::wstring_view name) const override;
    HRESULT InvokeDynamic(std::wstring_view name, Invocation& call) override;
};

// Shared by the member tables.
dom::Element& ElementOf(DispatchObject& self);
HRESULT ReturnNode(Invocation& call, dom::Node* node);
// A property that is an attribute's text ("" when absent), read and written.
HRESULT TextAttribute(DispatchObject& self, Invocation& call, std::wstring_view name);
HRESULT PutAttribute(DispatchObject& self, Invocation& call, std::wstring_view name);

}  // namespace corvalin::browser::om
