// Forms by key: the first whose name or id is the key, or whose ordinal the
// key reads as.
#include "automation/element_walk.h"
#include "automation/page_automation.h"

namespace corvalin {

namespace {

AutomationObject Form(const PageAutomation& automation, std::string_view key) {
    int ordinal = 0;
    return automation.FindForm(key, ordinal);
}

}  // namespace

bool PageAutomation::SubmitForm(std::string_view key) const {
    const AutomationObject form = Form(*this, key);
    // submit() sends without asking the form's onsubmit, as a script's call does.
    form.Call("submit");
    return !form.IsEmpty();
}

int PageAutomation::FormOrdinal(std::string_view key) const {
    int ordinal = 0;
    FindForm(key, ordinal);
    return ordinal;
}

std::string PageAutomation::GetFormHtml(std::string_view key) const { return Form(*this, key).GetText("outerHTML"); }

int PageAutomation::CountForms() const { return CollectionLength(document_.GetObject("forms")); }

bool PageAutomation::GetFormInfo(std::string_view key, std::string* method, std::string* action) const {
    const AutomationObject form = Form(*this, key);
    if (method) *method = form.GetText("method");
    if (action) *action = form.GetText("action");
    return !form.IsEmpty();
}

}  // namespace corvalin
