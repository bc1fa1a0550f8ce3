// An element's inline style: cssText and every CSS property by its script
// name (display, backgroundColor, zoom...), kept in the style attribute.
#pragma once
#include "browser/dom/element.h"
#include "browser/om/dispatch_object.h"

namespace corvalin::browser::om {

class HTMLStyle final : public DispatchObject {
public:
    explicit HTMLStyle(dom::Element& element) : element_(&element) {}

protected:
    const MemberTable& Members() const override;
    bool HasDynamicMember(std::wstring_view name) const override;
    HRESULT InvokeDynamic(std::wstring_view name, Invocation& call) override;

private:
    friend struct StyleMembers;
    dom::Ref<dom::Element> element_;
};

// currentStyle: the computed value of every property the layout knows, read only.
class HTMLCurrentStyle final : public DispatchObject {
public:
    explicit HTMLCurrentStyle(dom::Element& element) : element_(&element) {}

protected:
    const MemberTable& Members() const override;
    bool HasDynamicMember(std::wstring_view name) const override;
    HRESULT InvokeDynamic(std::wstring_view name, Invocation& call) override;

private:
    dom::Ref<dom::Element> element_;
};

}  // namespace corvalin::browser::om
