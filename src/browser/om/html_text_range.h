// Text ranges (body.createTextRange(), selection.createRange()) and the
// document's selection object.
#pragma once
#include "browser/dom/document.h"
#include "browser/dom/text_range.h"
#include "browser/om/dispatch_object.h"

namespace corvalin::browser::om {

class HTMLTextRange final : public DispatchObject {
public:
    explicit HTMLTextRange(dom::TextRange range) : range_(std::move(range)) {}
    dom::TextRange& Range() { return range_; }

protected:
    const MemberTable& Members() const override;

private:
    dom::TextRange range_;
};

class HTMLSelectionObject final : public DispatchObject {
public:
    explicit HTMLSelectionObject(dom::Document& document) : document_(&document) {}

protected:
    const MemberTable& Members() const override;

private:
    friend struct SelectionMembers;
    dom::Ref<dom::Document> document_;
};

}  // namespace corvalin::browser::om
