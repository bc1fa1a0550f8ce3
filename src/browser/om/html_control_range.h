// body.createControlRange(): elements (pictures, controls) taken as a whole,
// which commands such as "copy" act on.
#pragma once
#include <vector>

#include "browser/dom/document.h"
#include "browser/om/dispatch_object.h"

namespace corvalin::browser::om {

class HTMLControlRange final : public DispatchObject {
public:
    explicit HTMLControlRange(dom::Document& document) : document_(&document) {}

protected:
    const MemberTable& Members() const override;
    HRESULT InvokeValue(Invocation& call) override;   // range(i) as range.item(i)

private:
    HRESULT Length(Invocation& call);
    HRESULT Item(Invocation& call);
    HRESULT Add(Invocation& call);
    HRESULT Remove(Invocation& call);
    HRESULT ExecCommand(Invocation& call);
    HRESULT QueryCommandEnabled(Invocation& call);
    HRESULT CommonParentElement(Invocation& call);

    dom::Ref<dom::Document> document_;
    std::vector<dom::Ref<dom::Element>> elements_;
};

}  // namespace corvalin::browser::om
