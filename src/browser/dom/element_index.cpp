#include "browser/dom/element_index.h"

#include "browser/dom/document.h"
#include "browser/dom/element.h"

namespace corvalin::browser::dom {

void ElementIndex::Rebuild(const Document& document) {
    for (auto& [tag, elements] : byTag_) elements.clear();
    // Consecutive elements often share a tag: one lookup serves a run of them.
    const std::wstring* lastTag = nullptr;
    std::vector<Element*>* last = nullptr;
    for (Node* n = document.FirstChild(); n; n = n->NextInTree(&document)) {
        if (!n->IsElement()) continue;
        auto* e = static_cast<Element*>(n);
        if (!lastTag || *lastTag != e->LocalName()) {
            auto it = byTag_.find(std::wstring_view(e->LocalName()));
            if (it == byTag_.end()) it = byTag_.emplace(e->LocalName(), std::vector<Element*>{}).first;
            lastTag = &it->first;
            last = &it->second;
        }
        last->push_back(e);
    }
    built_ = true;
    builtAt_ = Document::CurrentStamp();
}

const std::vector<Element*>& ElementIndex::ByTag(const Document& document, std::wstring_view localName) {
    if (!built_ || document.StructureStamp() > builtAt_) Rebuild(document);
    const auto it = byTag_.find(localName);
    return it == byTag_.end() ? none_ : it->second;
}

}  // namespace corvalin::browser::dom
