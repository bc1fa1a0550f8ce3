#include "browser/dom/element_collection.h"

#include "browser/dom/document.h"
#include "browser/dom/element.h"

namespace corvalin::browser::dom {

ElementCollection::ElementCollection(Ref<Node> root, Filter filter, Scope scope)
    : root_(std::move(root)), filter_(std::move(filter)), scope_(scope) {}

ElementCollection::ElementCollection(Ref<Node> root, Producer producer)
    : root_(std::move(root)), producer_(std::move(producer)) {}

void ElementCollection::Refresh() const {
    std::uint64_t version = root_->OwnerDocument().Version();
    if (version == cacheVersion_) return;
    cache_.clear();
    if (producer_) {
        cache_ = producer_(*root_);
    } else if (scope_ == Scope::Children) {
        for (Node* c = root_->FirstChild(); c; c = c->NextSibling()) {
            if (Element* e = c->AsElement(); e && (!filter_ || filter_(*e))) cache_.push_back(e);
        }
    } else {
        const Node* root = root_.get();
        for (Node* n = root->FirstChild(); n; n = n->NextInTree(root)) {
            if (Element* e = n->AsElement(); e && (!filter_ || filter_(*e))) cache_.push_back(e);
        }
    }
    cacheVersion_ = version;
}

const std::vector<Element*>& ElementCollection::Elements() const {
    Refresh();
    return cache_;
}

std::size_t ElementCollection::Length() const { return Elements().size(); }

Element* ElementCollection::Item(std::size_t index) const {
    const auto& all = Elements();
    return index < all.size() ? all[index] : nullptr;
}

std::vector<Element*> ElementCollection::Named(std::wstring_view name) const {
    std::vector<Element*> out;
    if (name.empty()) return out;
    if (indexed_ && root_->Type() == NodeType::Document) return static_cast<Document&>(*root_).ElementsNamed(name);
    for (Element* e : Elements()) {
        const std::wstring* id = e->FindAttribute(L"id");
        const std::wstring* n = e->FindAttribute(L"name");
        if ((id && *id == name) || (n && *n == name)) out.push_back(e);
    }
    return out;
}

ElementCollection ElementCollection::Tags(std::wstring_view tagName) const {
    std::wstring tag = LowerAscii(tagName);
    // A snapshot-producing view over this collection, so it stays live too.
    ElementCollection base = *this;
    return ElementCollection(root_, [base, tag](Node&) {
        std::vector<Element*> out;
        for (Element* e : base.Elements()) {
            if (tag == L"*" || e->LocalName() == tag) out.push_back(e);
        }
        return out;
    });
}

}  // namespace corvalin::browser::dom
