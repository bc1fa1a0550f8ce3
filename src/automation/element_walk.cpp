#include "automation/element_walk.h"

#include <climits>
#include <cmath>
#include <string>

namespace corvalin {

int CollectionLength(const AutomationObject& collection) {
    const double length = std::trunc(collection.GetNumber("length"));
    // A negative, huge or not-a-number length counts as an empty collection.
    if (!(length > 0)) return 0;
    if (length > INT_MAX) return INT_MAX;
    return static_cast<int>(length);
}

AutomationObject CollectionItem(const AutomationObject& collection, int position) {
    // Collections take a zero-based index, passed as a double.
    return collection.CallObject("item", static_cast<double>(position) - 1);
}

AutomationObject TagCollection(const AutomationObject& document, std::string_view tagName) {
    AutomationObject all;
    {
        const AutomationObject body = document.GetObject("body");
        all = body.GetObject("all");
    }
    return all.CallObject("tags", std::string(tagName));
}

ElementWalk::ElementWalk(const AutomationObject& document, std::string_view tagName)
    : ElementWalk(TagCollection(document, tagName)) {}

ElementWalk::ElementWalk(AutomationObject collection)
    : collection_(std::move(collection)), count_(CollectionLength(collection_)) {}

bool ElementWalk::Next() {
    if (position_ >= count_) {
        element_.Clear();
        return false;
    }
    ++position_;
    element_ = CollectionItem(collection_, position_);
    return true;
}

}  // namespace corvalin
