// What a document needs from the program that shows it: running scripts,
// loading addresses, submitting forms, asking the user for a file. The page
// engine implements it; tests use a recording one.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "browser/dom/event.h"

namespace corvalin::browser::dom {

class Element;

// One name/value pair of a form's data set.
struct FormField {
    std::wstring name;
    std::wstring value;
};

// What a form sends: its controls that count, in document order, with the
// button that submitted it (when a button did).
struct FormSubmission {
    std::wstring action;     // resolved address; the document's own when the form has none
    std::wstring method;     // "get" or "post" (lower case)
    std::wstring target;     // the form's target attribute
    std::wstring enctype;    // lower case; "application/x-www-form-urlencoded" by default
    std::vector<FormField> fields;
};

class DocumentHost {
public:
    virtual ~DocumentHost() = default;

    // Runs one handler for `event` on `element`. Returns false when the
    // handler returned false (the default action is then cancelled as well as
    // by event.returnValue = false). A script error counts as true.
    virtual bool RunEventHandler(Element& element, Event& event, const EventHandler& handler) = 0;

    // A link or script asked to load `url` (already resolved) into `target`
    // ("" for the same window, "_blank", a frame name...).
    virtual void Navigate(const std::wstring& url, const std::wstring& target) = 0;

    // A form was submitted (by submit(), a submit or image input, a button).
    virtual void SubmitForm(Element& form, const FormSubmission& submission) = 0;

    // A click on a file input: the chosen path, or nothing when cancelled.
    virtual std::optional<std::wstring> ChooseFile(Element& input) = 0;

    // The document's cookie text for its address, and a cookie set by script.
    virtual std::wstring Cookie() { return {}; }
    virtual void SetCookie(const std::wstring& /*cookie*/) {}

    // Something the view shows changed (the tree, a style, the scroll
    // position): the host repaints when it next can.
    virtual void ViewChanged() {}
};

}  // namespace corvalin::browser::dom
