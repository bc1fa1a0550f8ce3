// The document's object: what scripts see as `document` and what the
// rendering window hands out for "WM_HTML_GETOBJECT".
#pragma once
#include "browser/dom/document.h"
#include "browser/om/dispatch_object.h"

namespace corvalin::browser::om {

class HTMLDocument final : public DispatchObject, public dom::NodeBinding {
public:
    explicit HTMLDocument(dom::Document& document);
    dom::Document& Document() const { return *document_; }

protected:
    ~HTMLDocument() override;
    const MemberTable& Members() const override;
    void* QueryExtraInterface(REFIID riid) override;
    bool HasDynamicMember(std::wstring_view name) const override;
    HRESULT InvokeDynamic(std::wstring_view name, Invocation& call) override;

private:
    dom::Ref<dom::Document> document_;
};

}  // namespace corvalin::browser::om
