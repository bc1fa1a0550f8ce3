// The key finders: each is the shared key-finder pattern with its own tag,
// type filter, second pass and properties.
#include "automation/key_finder.h"
#include "automation/page_automation.h"

namespace corvalin {

namespace {

constexpr const char* kInputProperties[] = {"name", "id", "title"};
constexpr const char* kSpanProperties[] = {"className", "innerText", "name", "id", "title"};

// Inputs of the listed types, then button elements when buttons are asked for.
constexpr KeyFinder kInputFinder{
    .first = {"input", true},
    .secondPassWhenListHas = "button",
    .second = {"button", true},
    .properties = kInputProperties,
};

constexpr KeyFinder kSpanFinder{
    .first = {"span", false},
    .properties = kSpanProperties,
};

}  // namespace

AutomationObject PageAutomation::FindInputElement(std::string_view typeList, std::string_view key, int skip,
                                                  int& ordinal) const {
    return FindElementByKey(document_, kInputFinder, typeList, key, skip, ordinal);
}

AutomationObject PageAutomation::FindSpanElement(std::string_view key, int skip, int& ordinal) const {
    return FindElementByKey(document_, kSpanFinder, {}, key, skip, ordinal);
}

}  // namespace corvalin
