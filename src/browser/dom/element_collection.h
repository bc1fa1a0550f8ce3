// A live list of elements: everything below a root that passes a filter, in
// document order (or the root's element children only). Reads are cached
// until the document's tree changes.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "browser/dom/node.h"

namespace corvalin::browser::dom {

class Element;

class ElementCollection {
public:
    using Filter = std::function<bool(const Element&)>;
    enum class Scope { Descendants, Children };

    ElementCollection(Ref<Node> root, Filter filter, Scope scope = Scope::Descendants);
    // A fixed list (snapshots such as a select's options or a form's elements
    // produced by a function of the root), recomputed when the tree changes.
    using Producer = std::function<std::vector<Element*>(Node& root)>;
    ElementCollection(Ref<Node> root, Producer producer);

    std::size_t Length() const;
    Element* Item(std::size_t index) const;              // nullptr past the end
    // Elements whose id or name equals `name` (exact, as the browser compares).
    std::vector<Element*> Named(std::wstring_view name) const;
    // The same collection narrowed to one tag ("*" keeps all).
    ElementCollection Tags(std::wstring_view tagName) const;
    const std::vector<Element*>& Elements() const;
    // The collection holds every element of its document: Named asks the
    // document's id and name index instead of walking.
    void NameThroughIndex() { indexed_ = true; }
    Node& Root() const { return *root_; }

private:
    void Refresh() const;

    Ref<Node> root_;
    Filter filter_;
    Producer producer_;
    Scope scope_ = Scope::Descendants;
    bool indexed_ = false;
    mutable std::vector<Element*> cache_;
    mutable std::uint64_t cacheVersion_ = ~std::uint64_t{0};
};

}  // namespace corvalin::browser::dom
