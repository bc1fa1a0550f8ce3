// The way every element operation reaches the elements of one tag inside the
// document's body: body, its `all`, `tags(tagName)`, then `item(i - 1)` for
// i = 1 to `length`.
#pragma once
#include <string_view>

#include "automation/automation_object.h"

namespace corvalin {

class ElementWalk {
public:
    // The intermediate body and `all` references are released before this
    // returns; only the collection is kept.
    ElementWalk(const AutomationObject& document, std::string_view tagName);
    // A walk over a collection obtained some other way (`forms`,
    // `getElementsByTagName`).
    explicit ElementWalk(AutomationObject collection);

    int Count() const { return count_; }
    // Takes the next element, releasing the previous one; false when the
    // collection is exhausted.
    bool Next();
    const AutomationObject& Element() const { return element_; }
    // 1-based position of the current element in the collection.
    int Position() const { return position_; }

private:
    AutomationObject collection_;
    int count_ = 0;
    int position_ = 0;
    AutomationObject element_;
};

// A collection's `length`, truncated toward zero; 0 for anything that does
// not fit a count.
int CollectionLength(const AutomationObject& collection);
// Entry `position` (1-based) of a collection: `item(position - 1)` with the
// index passed as a double; empty when there is none.
AutomationObject CollectionItem(const AutomationObject& collection, int position);
// The body's `all`, then `tags(tagName)`: the collection the walk goes over.
AutomationObject TagCollection(const AutomationObject& document, std::string_view tagName);

}  // namespace corvalin
