// The pattern every key finder follows: walk the candidates of one tag (and
// optionally a second tag), count them in `ordinal`, and take the first
// whose listed properties equal the key, passing over `skip` such matches,
// or else the one whose ordinal is the key read as a number.
#pragma once
#include <functional>
#include <span>
#include <string_view>

#include "automation/automation_object.h"

namespace corvalin {

struct KeyFinderPass {
    const char* tagName = nullptr;
    // Candidates whose `type` does not occur in the type list are passed over
    // without being counted.
    bool typeFiltered = false;
};

struct KeyFinder {
    KeyFinderPass first;
    // The second pass runs when this text occurs in the type list (nullptr:
    // never), continuing the same ordinal and skip.
    const char* secondPassWhenListHas = nullptr;
    KeyFinderPass second;
    // Compared with the key in this order, each read as text.
    std::span<const char* const> properties;
    // The first property matches when it contains the key rather than equals
    // it (an image's address).
    bool firstPropertyContainsKey = false;
};

// The finders of the page toolkit, one row each: tag, type filter, second
// pass and the properties compared with the key.
namespace key_finders {
inline constexpr const char* kInputProperties[] = {"name", "id", "title"};
inline constexpr const char* kImageProperties[] = {"src", "name", "id", "title"};
inline constexpr const char* kBlockProperties[] = {"className", "innerText", "name", "id", "title"};
inline constexpr const char* kTextProperties[] = {"innerText", "className", "id", "title"};
inline constexpr const char* kLinkProperties[] = {"href", "id", "title", "innerText", "className"};

// Inputs of the listed types, then button elements when buttons are asked for.
inline constexpr KeyFinder kInput{.first = {"input", true}, .secondPassWhenListHas = "button",
                                  .second = {"button", true}, .properties = kInputProperties};
// Image inputs, then every img (no type filter) when images are asked for.
inline constexpr KeyFinder kImage{.first = {"input", true}, .secondPassWhenListHas = "image",
                                  .second = {"img", false}, .properties = kImageProperties,
                                  .firstPropertyContainsKey = true};
inline constexpr KeyFinder kDiv{.first = {"div", false}, .properties = kBlockProperties};
inline constexpr KeyFinder kSpan{.first = {"span", false}, .properties = kBlockProperties};
inline constexpr KeyFinder kListItem{.first = {"li", false}, .properties = kTextProperties};
inline constexpr KeyFinder kTextArea{.first = {"textarea", false}, .properties = kTextProperties};
inline constexpr KeyFinder kLink{.first = {"a", false}, .properties = kLinkProperties};
inline constexpr KeyFinder kCite{.first = {"cite", false}, .properties = kTextProperties};
}  // namespace key_finders

// Walks the finder's candidates in order: the first pass, then the second when
// the type list asks for it, passing over elements whose type is not listed.
// `visit` gets each candidate, the pass it came from and its 1-based ordinal
// counted on from `ordinal`; it returns false to stop the walk. The result is
// the ordinal of the last candidate visited.
using CandidateVisitor = std::function<bool(const AutomationObject& element, const KeyFinderPass& pass, int ordinal)>;
int VisitCandidates(const AutomationObject& document, const KeyFinder& finder, std::string_view typeList,
                    const CandidateVisitor& visit, int ordinal = 0);

// The element the key selects (a new reference), or an empty element with
// `ordinal` set to -1.
AutomationObject FindElementByKey(const AutomationObject& document, const KeyFinder& finder, std::string_view typeList,
                                  std::string_view key, int skip, int& ordinal);

// The type-list test: a plain case-sensitive substring search, so an empty
// type occurs in any list.
bool TypeListHas(std::string_view typeList, std::string_view type);

}  // namespace corvalin
