// Every element of a document's tree by tag, in document order: made in one
// walk when first asked, and kept until an element enters or leaves the tree,
// so a search by tag on an unchanged page does not walk the tree again.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace corvalin::browser::dom {

class Document;
class Element;

class ElementIndex {
public:
    // The connected elements whose local name is `localName` (lower case).
    const std::vector<Element*>& ByTag(const Document& document, std::wstring_view localName);

private:
    struct TagHash {
        using is_transparent = void;
        std::size_t operator()(std::wstring_view name) const noexcept { return std::hash<std::wstring_view>{}(name); }
    };
    void Rebuild(const Document& document);

    bool built_ = false;
    std::uint64_t builtAt_ = 0;   // the stamp when made
    std::unordered_map<std::wstring, std::vector<Element*>, TagHash, std::equal_to<>> byTag_;
    std::vector<Element*> none_;
};

}  // namespace corvalin::browser::dom
