// Scrolling the page: every operation works on the document element, whose
// scroll offsets are the view's.
#include <string>

#include "automation/page_automation.h"
#include "shell/conversions.h"

namespace corvalin {

namespace {

// Scroll values are read as text and converted, as the browser hands them out.
int ReadScrollValue(const AutomationObject& element, const char* property) {
    return shell::TextToInteger(element.GetText(property));
}

}  // namespace

void PageAutomation::ScrollBy(int amount, int axis) const {
    const char* property = axis == 0 ? "scrollTop" : axis == 1 ? "scrollLeft" : nullptr;
    if (!property) return;
    const AutomationObject root = document_.GetObject("documentElement");
    root.Put(property, static_cast<int>(root.GetNumber(property) + amount));
}

void PageAutomation::ScrollTo(int left, int top) const {
    const AutomationObject root = document_.GetObject("documentElement");
    root.Put("scrollTop", top);
    root.Put("scrollLeft", left);
}

int PageAutomation::GetScrollPosition(int* left, int* top) const {
    const AutomationObject root = document_.GetObject("documentElement");
    const int topValue = ReadScrollValue(root, "scrollTop");
    const int leftValue = ReadScrollValue(root, "scrollLeft");
    if (top) *top = topValue;
    if (left) *left = leftValue;
    return leftValue;
}

int PageAutomation::GetScrollSize(int* height, int* width) const {
    const AutomationObject root = document_.GetObject("documentElement");
    const int heightValue = ReadScrollValue(root, "scrollHeight");
    const int widthValue = ReadScrollValue(root, "scrollWidth");
    if (height) *height = heightValue;
    if (width) *width = widthValue;
    return widthValue;
}

}  // namespace corvalin
