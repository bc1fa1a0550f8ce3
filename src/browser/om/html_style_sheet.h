// document.styleSheets and document.createStyleSheet: a sheet object for each
// <style> and <link rel=stylesheet>, with cssText, addRule, rules, href,
// disabled and owningElement. The sheet's text lives in its element (or, for
// a link, in what the page fetched), so the layout sees every change.
#pragma once
#include <vector>

#include "browser/dom/document.h"
#include "browser/om/dispatch_object.h"

namespace corvalin::browser::om {

class HTMLStyleSheet final : public DispatchObject {
public:
    explicit HTMLStyleSheet(dom::Element& owner) : owner_(&owner) {}
    std::wstring CssText() const;
    void SetCssText(const std::wstring& text);
    void AddRule(const std::wstring& selector, const std::wstring& declarations);

protected:
    const MemberTable& Members() const override;

private:
    friend struct StyleSheetMembers;
    dom::Ref<dom::Element> owner_;
};

class HTMLStyleSheetList final : public DispatchObject {
public:
    explicit HTMLStyleSheetList(dom::Document& document) : document_(&document) {}

protected:
    const MemberTable& Members() const override;
    HRESULT InvokeValue(Invocation& call) override;
    bool HasDynamicMember(std::wstring_view name) const override;
    HRESULT InvokeDynamic(std::wstring_view name, Invocation& call) override;

private:
    friend struct StyleSheetMembers;
    dom::Ref<dom::Document> document_;
};

// The elements that make the document's sheets, in document order.
std::vector<dom::Element*> StyleSheetOwners(const dom::Document& document);
// createStyleSheet([href [, index]]): a new <style> (a <link> with an address) in the head.
ComPtr<IDispatch> CreateStyleSheet(dom::Document& document, const std::wstring& href);

}  // namespace corvalin::browser::om
