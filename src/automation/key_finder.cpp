#include "automation/key_finder.h"

#include <cmath>
#include <optional>
#include <string>

#include "automation/element_walk.h"
#include "shell/conversions.h"

namespace corvalin {

bool TypeListHas(std::string_view typeList, std::string_view type) {
    return !typeList.empty() && typeList.find(type) != std::string_view::npos;
}

namespace {

bool PropertyMatches(const AutomationObject& element, const char* property, std::string_view key, bool contains) {
    const std::string text = element.GetText(property);
    if (contains) return !text.empty() && text.find(key) != std::string::npos;
    return text == key;
}

class KeySearch {
public:
    KeySearch(const KeyFinder& finder, std::string_view typeList, std::string_view key, int skip, int& ordinal)
        : finder_(finder), typeList_(typeList), key_(key),
          keyNumber_(std::trunc(shell::TextToNumber(key))), skip_(skip), ordinal_(ordinal) {}

    std::optional<AutomationObject> Pass(const AutomationObject& document, const KeyFinderPass& pass) {
        ElementWalk walk(document, pass.tagName);
        while (walk.Next()) {
            const AutomationObject& element = walk.Element();
            if (pass.typeFiltered && !TypeListHas(typeList_, element.GetText("type"))) continue;
            ++ordinal_;
            if (MatchesByProperty(element)) {
                if (skip_ > 0) {
                    --skip_;
                    continue;
                }
                return element;
            }
            if (ordinal_ == keyNumber_) return element;
        }
        return std::nullopt;
    }

private:
    bool MatchesByProperty(const AutomationObject& element) const {
        bool first = true;
        for (const char* property : finder_.properties) {
            if (PropertyMatches(element, property, key_, first && finder_.firstPropertyContainsKey)) return true;
            first = false;
        }
        return false;
    }

    const KeyFinder& finder_;
    std::string_view typeList_;
    std::string_view key_;
    double keyNumber_;   // kept as a double: a key beyond the integers never equals an ordinal
    int skip_;
    int& ordinal_;
};

}  // namespace

AutomationObject FindElementByKey(const AutomationObject& document, const KeyFinder& finder, std::string_view typeList,
                                  std::string_view key, int skip, int& ordinal) {
    KeySearch search(finder, typeList, key, skip, ordinal);
    if (auto found = search.Pass(document, finder.first)) return *std::move(found);
    if (finder.secondPassWhenListHas && TypeListHas(typeList, finder.secondPassWhenListHas)) {
        if (auto found = search.Pass(document, finder.second)) return *std::move(found);
    }
    ordinal = -1;
    return {};
}

}  // namespace corvalin
