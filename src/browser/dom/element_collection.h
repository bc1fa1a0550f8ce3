// A live list of elements: everything below a root that passes a filter, in
// document order (or the root's element children only). Reads are cached; a
// collection that says what its filter reads keeps its list across writes
// that cannot change it, and follows elements entering and leaving the tree
// without walking it again.
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "browser/dom/node.h"

namespace corvalin::browser::dom {

class Document;
class Element;

class ElementCollection {
public:
    using Filter = std::function<bool(const Element&)>;
    enum class Scope { Descendants, Children };
    // The attributes a filter or producer reads besides the element's tag and
    // place (lower case; empty: none). Unstated, it may read anything, and
    // every change of the document refreshes the list.
    using AttributesRead = std::optional<std::vector<std::wstring>>;
    // A filter by tag (or none): only elements entering and leaving matter.
    static AttributesRead TagAndPlaceOnly() { return std::vector<std::wstring>{}; }

    ElementCollection(Ref<Node> root, Filter filter, Scope scope = Scope::Descendants, AttributesRead reads = {});
    // A fixed list (snapshots such as a select's options or a form's elements
    // produced by a function of the root), recomputed when the tree changes.
    using Producer = std::function<std::vector<Element*>(Node& root)>;
    ElementCollection(Ref<Node> root, Producer producer, AttributesRead reads = {});
    // The descendants of `root` of one tag (lower case; "*" for all): made
    // from the document's tag index rather than a walk of the tree.
    static ElementCollection OfTag(Ref<Node> root, std::wstring_view localName);

    std::size_t Length() const;
    // nullptr past the end. The entries after it start loading (see
    // Element::Prefetch).
    Element* Item(std::size_t index) const;
    // Elements whose id or name equals `name` (exact, as the browser compares).
    std::vector<Element*> Named(std::wstring_view name) const;
    // The live collection of those elements (all("x") when several share it).
    ElementCollection NamedCollection(std::wstring_view name) const;
    // The same collection narrowed to one tag ("*" keeps all).
    ElementCollection Tags(std::wstring_view tagName) const;
    const std::vector<Element*>& Elements() const;
    // The collection holds every element of its document: Named asks the
    // document's id and name index instead of walking.
    void NameThroughIndex() { indexed_ = true; }
    Node& Root() const { return *root_; }

private:
    void Refresh() const;
    bool StillValid() const;
    // Applies the elements that entered and left the tree since the list was
    // made; false when that history is no longer known.
    bool CatchUp() const;
    void Rebuild() const;
    bool Passes(const Element& element) const;

    Ref<Node> root_;
    Filter filter_;
    Producer producer_;
    Scope scope_ = Scope::Descendants;
    std::wstring tag_;   // only elements of this local name (empty: any)
    AttributesRead reads_;
    bool indexed_ = false;
    mutable std::vector<Element*> cache_;
    mutable std::uint64_t cacheVersion_ = ~std::uint64_t{0};   // the document's version when made
    mutable std::uint64_t cacheStamp_ = 0;                      // the stamp when made
    mutable bool cacheConnected_ = false;                       // the root was in the tree then
    mutable const Document* cacheDocument_ = nullptr;           // the root's document then
};

}  // namespace corvalin::browser::dom
