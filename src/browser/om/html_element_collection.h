// Collections (all, forms, tags(...), children, options, rows, cells,
// elements): length, item(index | name [, subindex]), namedItem, tags, and a
// call with an index or a name, as method calls and as property reads with
// arguments; indices and names also read as properties (all[0], all.userqq).
#pragma once
#include "browser/dom/element_collection.h"
#include "browser/om/dispatch_object.h"

namespace corvalin::browser::om {

class HTMLElementCollection final : public DispatchObject {
public:
    // `select`: the box whose options these are (add, remove, selectedIndex,
    // writing length).
    explicit HTMLElementCollection(dom::ElementCollection elements, dom::Element* select = nullptr);
    const dom::ElementCollection& Elements() const { return elements_; }

    // item() as the browser answers it: an element, a collection of the
    // elements sharing a name, or null.
    HRESULT Item(Invocation& call);

protected:
    const MemberTable& Members() const override;
    HRESULT InvokeValue(Invocation& call) override;
    bool HasDynamicMember(std::wstring_view name) const override;
    HRESULT InvokeDynamic(std::wstring_view name, Invocation& call) override;

private:
    friend struct CollectionMembers;
    dom::ElementCollection elements_;
    dom::Ref<dom::Element> select_;
};

ComPtr<IDispatch> CollectionObject(dom::ElementCollection elements, dom::Element* select = nullptr);

// The writes of a select box's option list, the same on the box and on its
// options collection: add(option [, before]), remove(index), length = n, and
// [index] = option or null.
HRESULT AddOption(dom::Element& select, Invocation& call);
HRESULT RemoveOption(dom::Element& select, Invocation& call);
HRESULT PutOptionCount(dom::Element& select, Invocation& call);
HRESULT PutOption(dom::Element& select, long index, Invocation& call);

}  // namespace corvalin::browser::om
