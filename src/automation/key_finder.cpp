#include "automation/key_finder.h"

#include <cmath>
#include <string>

#include "automation/element_walk.h"
#include "shell/conversions.h"

namespace corvalin {

bool TypeListHas(std::string_view typeList, std::string_view type) {
    return !typeList.empty() && typeList.find(type) != std::string_view::npos;
}

namespace {

bool PropertyMatches(const AutomationObject& element, const char* property, std::string_view key, bool contains) {
    if (contains) {
        const std::string text = element.GetText(property);
        return !text.empty() && text.find(key) != std::string::npos;
    }
    // Read as GetText reads it; compared without a conversion when ASCII.
    const AutomationVariant value = element.GetVariant(property);
    return VariantTextEquals(value.value(), key);
}

bool MatchesByProperty(const KeyFinder& finder, const AutomationObject& element, std::string_view key) {
    bool first = true;
    for (const char* property : finder.properties) {
        if (PropertyMatches(element, property, key, first && finder.firstPropertyContainsKey)) return true;
        first = false;
    }
    return false;
}

// One pass over the elements of a tag; false when the visitor stopped it.
bool VisitPass(const AutomationObject& document, const KeyFinderPass& pass, std::string_view typeList,
               const CandidateVisitor& visit, int& ordinal) {
    ElementWalk walk(document, pass.tagName);
    while (walk.Next()) {
        const AutomationObject& element = walk.Element();
        if (pass.typeFiltered && !TypeListHas(typeList, element.GetText("type"))) continue;
        if (!visit(element, pass, ++ordinal)) return false;
    }
    return true;
}

}  // namespace

int VisitCandidates(const AutomationObject& document, const KeyFinder& finder, std::string_view typeList,
                    const CandidateVisitor& visit, int ordinal) {
    if (!VisitPass(document, finder.first, typeList, visit, ordinal)) return ordinal;
    if (finder.secondPassWhenListHas && TypeListHas(typeList, finder.secondPassWhenListHas))
        VisitPass(document, finder.second, typeList, visit, ordinal);
    return ordinal;
}

AutomationObject FindElementByKey(const AutomationObject& document, const KeyFinder& finder, std::string_view typeList,
                                  std::string_view key, int skip, int& ordinal) {
    // Kept as a double: a key beyond the integers never equals an ordinal.
    const double keyNumber = std::trunc(shell::TextToNumber(key));
    AutomationObject found;
    ordinal = VisitCandidates(
        document, finder, typeList,
        [&](const AutomationObject& element, const KeyFinderPass&, int candidate) {
            if (MatchesByProperty(finder, element, key)) {
                if (skip > 0) {
                    --skip;
                    return true;
                }
            } else if (candidate != keyNumber) {
                return true;
            }
            found = element;
            return false;
        },
        ordinal);
    if (found.IsEmpty()) ordinal = -1;
    return found;
}

}  // namespace corvalin
