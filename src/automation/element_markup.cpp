// Operations on an element the caller already holds: where it sits on the
// page, and its inner and outer markup and text.
#include <string>

#include "automation/page_automation.h"

namespace corvalin {

namespace {

// The offsets summed up the offsetParent chain, each sum truncated.
int PageOffset(const AutomationObject& element, const char* property) {
    int offset = static_cast<int>(element.GetNumber(property));
    for (AutomationObject parent = element.GetObject("offsetParent"); !parent.IsEmpty();
         parent = parent.GetObject("offsetParent")) {
        offset = static_cast<int>(offset + static_cast<int>(parent.GetNumber(property)));
    }
    return offset;
}

}  // namespace

int PageAutomation::GetElementLeft(const AutomationObject& element) const { return PageOffset(element, "offsetLeft"); }
int PageAutomation::GetElementTop(const AutomationObject& element) const { return PageOffset(element, "offsetTop"); }

std::string PageAutomation::GetElementInnerHtml(const AutomationObject& element) const { return element.GetText("innerHTML"); }
std::string PageAutomation::GetElementInnerText(const AutomationObject& element) const { return element.GetText("innerText"); }
std::string PageAutomation::GetElementOuterHtml(const AutomationObject& element) const { return element.GetText("outerHTML"); }
std::string PageAutomation::GetElementOuterText(const AutomationObject& element) const { return element.GetText("outerText"); }

bool PageAutomation::SetElementInnerHtml(const AutomationObject& element, std::string_view html) const { return element.Put("innerHTML", html); }
bool PageAutomation::SetElementInnerText(const AutomationObject& element, std::string_view text) const { return element.Put("innerText", text); }
bool PageAutomation::SetElementOuterHtml(const AutomationObject& element, std::string_view html) const { return element.Put("outerHTML", html); }
bool PageAutomation::SetElementOuterText(const AutomationObject& element, std::string_view text) const { return element.Put("outerText", text); }

}  // namespace corvalin
