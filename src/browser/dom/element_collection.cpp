#include "browser/dom/element_collection.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "browser/dom/document.h"
#include "browser/dom/element.h"

namespace corvalin::browser::dom {

ElementCollection::ElementCollection(Ref<Node> root, Filter filter, Scope scope, AttributesRead reads)
    : root_(std::move(root)), filter_(std::move(filter)), scope_(scope), reads_(std::move(reads)) {}

ElementCollection::ElementCollection(Ref<Node> root, Producer producer, AttributesRead reads)
    : root_(std::move(root)), producer_(std::move(producer)), reads_(std::move(reads)) {}

ElementCollection ElementCollection::OfTag(Ref<Node> root, std::wstring_view localName) {
    ElementCollection tagged(std::move(root), Filter{}, Scope::Descendants, TagAndPlaceOnly());
    if (localName != L"*") tagged.tag_ = localName;
    return tagged;
}

bool ElementCollection::Passes(const Element& element) const {
    return (tag_.empty() || element.LocalName() == tag_) && (!filter_ || filter_(element));
}

void ElementCollection::Rebuild() const {
    cache_.clear();
    if (producer_) {
        cache_ = producer_(*root_);
    } else if (scope_ == Scope::Children) {
        for (Node* c = root_->FirstChild(); c; c = c->NextSibling()) {
            if (Element* e = c->AsElement(); e && Passes(*e)) cache_.push_back(e);
        }
    } else if (!tag_.empty() && root_->IsConnected()) {
        // The document's index holds the tag's elements in order; a root
        // below the document keeps those inside it.
        const Node* root = root_.get();
        const bool wholeDocument = root->Type() == NodeType::Document;
        for (Element* e : root->OwnerDocument().ElementsByTag(tag_)) {
            if ((wholeDocument || (e != root && root->Contains(e))) && (!filter_ || filter_(*e))) cache_.push_back(e);
        }
    } else {
        const Node* root = root_.get();
        for (Node* n = root->FirstChild(); n; n = n->NextInTree(root)) {
            if (Element* e = n->AsElement(); e && Passes(*e)) cache_.push_back(e);
        }
    }
}

bool ElementCollection::StillValid() const {
    const Document& document = root_->OwnerDocument();
    if (&document != cacheDocument_) return false;
    if (document.Version() == cacheVersion_) return true;
    // Without knowing what the filter reads, or with a root outside the tree
    // (whose changes the document does not follow), any change counts.
    if (!reads_ || !cacheConnected_ || !root_->IsConnected()) return false;
    for (const std::wstring& attribute : *reads_)
        if (document.AttributeStamp(attribute) > cacheStamp_) return false;
    return document.StructureStamp() <= cacheStamp_ || CatchUp();
}

bool ElementCollection::CatchUp() const {
    if (producer_ || scope_ != Scope::Descendants) return false;
    std::vector<const Document::MembershipChange*> changes;
    if (!root_->OwnerDocument().MembershipChangesSince(cacheStamp_, changes)) return false;

    // Per element, whether it first left (so it may be listed) and whether it
    // is in the tree now (its last change was an entry).
    struct Moves {
        bool leftFirst;
        bool inTree;
    };
    std::unordered_map<Element*, Moves> moved;
    std::vector<Element*> order;
    for (const Document::MembershipChange* change : changes) {
        for (Element* e : change->elements) {
            auto [it, fresh] = moved.try_emplace(e, Moves{!change->inserted, change->inserted});
            if (fresh) order.push_back(e);
            else it->second.inTree = change->inserted;
        }
    }

    // Elements that left (perhaps to come back elsewhere) go out of the list;
    // they are only compared as addresses. Usually one or two left: a plain
    // comparison beats a lookup then.
    std::vector<Element*> left;
    for (Element* e : order)
        if (moved[e].leftFirst) left.push_back(e);
    std::size_t hint = cache_.size();
    if (!left.empty()) {
        const std::unordered_set<Element*> leftSet(left.size() > 4 ? left.begin() : left.end(), left.end());
        const auto gone = [&](Element* e) {
            return left.size() > 4 ? leftSet.count(e) != 0 : std::find(left.begin(), left.end(), e) != left.end();
        };
        const auto firstGone = std::find_if(cache_.begin(), cache_.end(), gone);
        hint = static_cast<std::size_t>(firstGone - cache_.begin());
        cache_.erase(std::remove_if(firstGone, cache_.end(), gone), cache_.end());
    }

    // Elements in the tree now that belong here go in at their place; one
    // replacing another usually lands where that one was.
    const Node* root = root_.get();
    const bool wholeDocument = root->Type() == NodeType::Document;
    for (Element* e : order) {
        if (!moved[e].inTree || e == root || (!wholeDocument && !root->Contains(e)) || !Passes(*e)) continue;
        hint = std::min(hint, cache_.size());
        const bool atHint = (hint == 0 || cache_[hint - 1]->Precedes(*e)) &&
                            (hint == cache_.size() || e->Precedes(*cache_[hint]));
        const auto at = atHint ? cache_.begin() + static_cast<std::ptrdiff_t>(hint)
                               : std::lower_bound(cache_.begin(), cache_.end(), e,
                                                  [](Element* a, Element* b) { return a->Precedes(*b); });
        hint = static_cast<std::size_t>(cache_.insert(at, e) - cache_.begin()) + 1;
    }
    return true;
}

void ElementCollection::Refresh() const {
    if (!StillValid()) Rebuild();
    cacheVersion_ = root_->OwnerDocument().Version();
    cacheStamp_ = Document::CurrentStamp();
    cacheConnected_ = root_->IsConnected();
    cacheDocument_ = &root_->OwnerDocument();
}

const std::vector<Element*>& ElementCollection::Elements() const {
    Refresh();
    return cache_;
}

std::size_t ElementCollection::Length() const { return Elements().size(); }

Element* ElementCollection::Item(std::size_t index) const {
    const auto& all = Elements();
    if (index >= all.size()) return nullptr;
    // Walks by index go on to the next entries: the one after next starts
    // loading now, and the next one (started by the previous call) has its
    // attributes and binding loaded too.
    if (index + 2 < all.size()) __builtin_prefetch(all[index + 2]);
    if (index + 1 < all.size()) all[index + 1]->Prefetch();
    return all[index];
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

ElementCollection ElementCollection::NamedCollection(std::wstring_view name) const {
    AttributesRead reads = reads_;
    if (reads) {
        reads->push_back(L"id");
        reads->push_back(L"name");
    }
    return ElementCollection(
        root_, [base = *this, n = std::wstring(name)](Node&) { return base.Named(n); }, std::move(reads));
}

ElementCollection ElementCollection::Tags(std::wstring_view tagName) const {
    std::wstring tag = LowerAscii(tagName);
    if (!producer_) {
        // The same list with one more test, so it follows the tree as cheaply.
        ElementCollection narrowed(root_, filter_, scope_, reads_);
        narrowed.indexed_ = false;
        narrowed.tag_ = tag_;
        if (tag == L"*" || tag == tag_) return narrowed;
        if (tag_.empty()) narrowed.tag_ = tag;
        else narrowed.filter_ = [](const Element&) { return false; };   // two different tags: nothing
        return narrowed;
    }
    // A snapshot-producing view over this collection, so it stays live too.
    ElementCollection base = *this;
    return ElementCollection(
        root_,
        Producer([base, tag](Node&) {
            std::vector<Element*> out;
            for (Element* e : base.Elements()) {
                if (tag == L"*" || e->LocalName() == tag) out.push_back(e);
            }
            return out;
        }),
        reads_);
}

}  // namespace corvalin::browser::dom
