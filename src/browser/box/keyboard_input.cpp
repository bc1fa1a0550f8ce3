// Keys typed into the rendering window: the key events of the focused element,
// typing into text fields, Tab between controls, Enter submitting a form,
// Space and the arrow keys on check boxes, radios and select boxes.
#include <windows.h>

#include <algorithm>
#include <cwchar>
#include <vector>

#include "browser/box/browser_box_engine.h"

namespace corvalin::browser {

namespace {

bool IsTextField(const dom::Element& e) {
    if (e.Is(L"textarea")) return true;
    if (!e.Is(L"input")) return false;
    const std::wstring type = e.Type();
    return type == L"text" || type == L"password";
}

bool Focusable(const dom::Element& e) {
    if (e.Disabled()) return false;
    if (const std::wstring* index = e.FindAttribute(L"tabindex"); index && _wtol(index->c_str()) < 0) return false;
    if (e.Is(L"input")) return e.Type() != L"hidden";
    if (e.Is(L"select") || e.Is(L"textarea") || e.Is(L"button")) return true;
    return (e.Is(L"a") || e.Is(L"area")) && e.HasAttribute(L"href");
}

// Tab order: positive tab indices first, in their order, then the rest in
// document order.
std::vector<dom::Element*> TabOrder(dom::Document& document) {
    std::vector<dom::Element*> ordered;
    for (dom::Node* n = document.FirstChild(); n; n = n->NextInTree(&document))
        if (dom::Element* e = n->AsElement(); e && Focusable(*e)) ordered.push_back(e);
    std::stable_sort(ordered.begin(), ordered.end(), [](const dom::Element* a, const dom::Element* b) {
        const long x = _wtol(a->GetAttribute(L"tabindex").c_str());
        const long y = _wtol(b->GetAttribute(L"tabindex").c_str());
        return x > 0 && (y <= 0 || x < y);
    });
    return ordered;
}

dom::Event KeyEvent(const wchar_t* type, long keyCode) {
    dom::Event event;
    event.type = type;
    event.keyCode = keyCode;
    event.shiftKey = GetKeyState(VK_SHIFT) < 0;
    event.ctrlKey = GetKeyState(VK_CONTROL) < 0;
    event.altKey = GetKeyState(VK_MENU) < 0;
    return event;
}

void TypeInto(dom::Element& field, std::wstring_view text) {
    std::wstring value = field.Value() + std::wstring(text);
    if (field.Is(L"input")) {
        if (const std::wstring* limit = field.FindAttribute(L"maxlength")) {
            const long most = _wtol(limit->c_str());
            if (most >= 0 && value.size() > static_cast<std::size_t>(most)) return;
        }
    }
    field.SetValue(value);
}

// Enter in a text field: the form's first submit button is pressed, or the
// form is submitted as it is.
void SubmitFrom(dom::Element& field) {
    dom::Element* form = field.Form();
    if (!form) return;
    dom::Ref<dom::Element> hold(form);
    for (dom::Element* control : form->FormElements()) {
        const std::wstring type = control->Type();
        if ((control->Is(L"input") || control->Is(L"button")) && (type == L"submit" || type == L"image") &&
            !control->Disabled()) {
            field.OwnerDocument().Click(*control);
            return;
        }
    }
    if (field.OwnerDocument().DispatchEvent(*form, L"submit")) field.OwnerDocument().SubmitForm(*form, nullptr);
}

// Arrow keys on a radio: the next (or previous) radio of its group is checked.
void MoveInRadioGroup(dom::Element& radio, int step) {
    const std::vector<dom::Element*> group = radio.RadioGroup();
    const auto at = std::find(group.begin(), group.end(), &radio);
    if (at == group.end() || group.size() < 2) return;
    const auto index = static_cast<long>(at - group.begin());
    const long count = static_cast<long>(group.size());
    dom::Element* next = group[static_cast<std::size_t>((index + step + count) % count)];
    dom::Ref<dom::Element> hold(next);
    next->Focus();
    radio.OwnerDocument().Click(*next);
}

void MoveInSelect(dom::Element& select, int step) {
    const int count = static_cast<int>(select.Options().size());
    const int next = std::clamp(select.SelectedIndex() + step, 0, count - 1);
    if (count == 0 || next == select.SelectedIndex()) return;
    select.SetSelectedIndex(next);
    select.OwnerDocument().DispatchEvent(select, L"change");
}

}  // namespace

void BrowserBoxEngine::FocusOnPress(dom::Element& element) {
    // The pressed control, or the control the pressed text belongs to.
    for (dom::Element* e = &element; e; e = e->ParentElement()) {
        if (Focusable(*e)) {
            dom::Ref<dom::Element> hold(e);
            e->Focus();
            return;
        }
    }
}

dom::Element* BrowserBoxEngine::KeyTarget() const {
    if (!page_ || !page_->Document()) return nullptr;
    dom::Document& document = *page_->Document();
    if (dom::Element* active = document.ActiveElement(); active && active->IsConnected()) return active;
    return document.Body();
}

void BrowserBoxEngine::OnKeyDown(UINT key) {
    dom::Element* target = KeyTarget();
    if (!target) return;
    dom::Ref<dom::Element> hold(target);
    dom::Ref<dom::Document> document(&target->OwnerDocument());
    dom::Event event = KeyEvent(L"keydown", static_cast<long>(key));
    if (!document->DispatchEvent(*target, event)) return;
    const bool shift = event.shiftKey;
    switch (key) {
    case VK_TAB: {
        const std::vector<dom::Element*> order = TabOrder(*document);
        if (order.empty()) break;
        const auto at = std::find(order.begin(), order.end(), target);
        std::size_t next = 0;
        if (at == order.end()) {
            next = shift ? order.size() - 1 : 0;
        } else {
            const auto index = static_cast<std::size_t>(at - order.begin());
            next = shift ? (index + order.size() - 1) % order.size() : (index + 1) % order.size();
        }
        dom::Ref<dom::Element> focus(order[next]);
        focus->Focus();
        break;
    }
    case VK_RETURN: {
        const std::wstring type = target->Type();
        if (target->Is(L"input") && IsTextField(*target)) SubmitFrom(*target);
        else if (target->Is(L"a") || target->Is(L"button") ||
                 (target->Is(L"input") && (type == L"submit" || type == L"button" || type == L"reset" || type == L"image")))
            document->Click(*target);
        break;
    }
    case VK_BACK:
        if (IsTextField(*target) && !target->Value().empty()) {
            std::wstring value = target->Value();
            value.pop_back();
            target->SetValue(value);
        }
        break;
    case VK_UP:
    case VK_LEFT:
    case VK_DOWN:
    case VK_RIGHT: {
        const int step = key == VK_UP || key == VK_LEFT ? -1 : 1;
        if (target->Is(L"input") && target->Type() == L"radio") MoveInRadioGroup(*target, step);
        else if (target->Is(L"select") && target->Type() == L"select-one") MoveInSelect(*target, step);
        break;
    }
    default:
        break;
    }
    Repaint();
}

void BrowserBoxEngine::OnChar(wchar_t character) {
    dom::Element* target = KeyTarget();
    if (!target) return;
    dom::Ref<dom::Element> hold(target);
    dom::Event event = KeyEvent(L"keypress", static_cast<long>(character));
    if (!target->OwnerDocument().DispatchEvent(*target, event)) return;
    if (!IsTextField(*target) || target->Disabled() || target->HasAttribute(L"readonly")) return;
    if (character == L'\r') {
        if (target->Is(L"textarea")) TypeInto(*target, L"\r\n");
    } else if (character >= L' ' && character != 0x7F) {
        TypeInto(*target, std::wstring_view(&character, 1));
    }
    Repaint();
}

void BrowserBoxEngine::OnKeyUp(UINT key) {
    dom::Element* target = KeyTarget();
    if (!target) return;
    dom::Ref<dom::Element> hold(target);
    dom::Event event = KeyEvent(L"keyup", static_cast<long>(key));
    if (!target->OwnerDocument().DispatchEvent(*target, event)) return;
    // Space presses check boxes, radios and buttons when it is let go.
    if (key == VK_SPACE && target->Is(L"input")) {
        const std::wstring type = target->Type();
        if (type == L"checkbox" || type == L"radio" || type == L"submit" || type == L"button" || type == L"reset")
            target->OwnerDocument().Click(*target);
    } else if (key == VK_SPACE && target->Is(L"button")) {
        target->OwnerDocument().Click(*target);
    }
    Repaint();
}

}  // namespace corvalin::browser
