// Element: the state of form controls and the controls of a form.
#include "browser/dom/element.h"

#include <algorithm>
#include <array>

#include "browser/dom/document.h"

namespace corvalin::browser::dom {

namespace {

bool IsControlTag(const Element& e) {
    return e.Is(L"input") || e.Is(L"select") || e.Is(L"textarea") || e.Is(L"button") || e.Is(L"object");
}

}  // namespace

std::wstring Element::Type() const {
    if (Is(L"input")) {
        static constexpr std::array<const wchar_t*, 10> known{L"text",  L"password", L"checkbox", L"radio",
                                                              L"submit", L"reset",   L"file",     L"hidden",
                                                              L"image", L"button"};
        std::wstring t = LowerAscii(TrimHtmlSpace(GetAttribute(L"type")));
        return std::find(known.begin(), known.end(), t) != known.end() ? t : L"text";
    }
    if (Is(L"button")) {
        std::wstring t = LowerAscii(TrimHtmlSpace(GetAttribute(L"type")));
        return t == L"reset" || t == L"button" ? t : L"submit";
    }
    if (Is(L"select")) return HasAttribute(L"multiple") ? L"select-multiple" : L"select-one";
    if (Is(L"textarea")) return L"textarea";
    return GetAttribute(L"type");
}

std::wstring Element::Value() const {
    if (Is(L"input")) {
        if (currentValue_) return *currentValue_;
        std::wstring t = Type();
        if (t == L"file") return {};
        if (const std::wstring* v = FindAttribute(L"value")) return *v;
        if (t == L"checkbox" || t == L"radio") return L"on";
        return {};
    }
    if (Is(L"textarea")) return currentValue_ ? *currentValue_ : DefaultValue();
    if (Is(L"select")) {
        int i = SelectedIndex();
        auto options = Options();
        return i >= 0 && static_cast<std::size_t>(i) < options.size() ? options[i]->Value() : std::wstring();
    }
    if (Is(L"option")) {
        if (const std::wstring* v = FindAttribute(L"value")) return *v;
        return OptionText();
    }
    return GetAttribute(L"value");
}

std::wstring Element::DefaultValue() const {
    if (Is(L"textarea")) {
        std::wstring text = TextContent();
        // The line break right after <textarea> belongs to the markup.
        if (text.rfind(L"\r\n", 0) == 0) text.erase(0, 2);
        else if (!text.empty() && text[0] == L'\n') text.erase(0, 1);
        return text;
    }
    return GetAttribute(L"value");
}

void Element::SetValue(std::wstring_view value) {
    if (Is(L"input") || Is(L"textarea")) {
        currentValue_ = std::wstring(value);
        OwnerDocument().Changed();
    } else if (Is(L"select")) {
        auto options = Options();
        int found = -1;
        for (std::size_t i = 0; i < options.size(); ++i) {
            if (options[i]->Value() == value) {
                found = static_cast<int>(i);
                break;
            }
        }
        SetSelectedIndex(found);
    } else {
        SetAttribute(L"value", std::wstring(value));
    }
}

bool Element::Checked() const {
    if (currentChecked_) return *currentChecked_;
    return HasAttribute(L"checked");
}

void Element::SetChecked(bool checked) {
    if (checked && Is(L"input") && Type() == L"radio") {
        for (Element* other : RadioGroup()) {
            if (other != this) other->currentChecked_ = false;
        }
    }
    currentChecked_ = checked;
    OwnerDocument().Changed();
}

void Element::SetDisabled(bool disabled) {
    if (disabled) {
        if (!HasAttribute(L"disabled")) SetAttribute(L"disabled", L"");
    } else {
        RemoveAttribute(L"disabled");
    }
}

void Element::ResetControl() {
    currentValue_.reset();
    currentChecked_.reset();
    if (Is(L"select")) {
        for (Element* o : Options()) o->currentSelected_.reset();
        selectionCleared_ = false;
    }
    OwnerDocument().Changed();
}

Element* Element::Form() const {
    for (Element* e = ParentElement(); e; e = e->ParentElement()) {
        if (e->Is(L"form")) return e;
    }
    return nullptr;
}

std::vector<Element*> Element::RadioGroup() const {
    std::vector<Element*> group;
    std::wstring name = Name();
    if (!Is(L"input") || Type() != L"radio") return group;
    if (name.empty()) {
        group.push_back(const_cast<Element*>(this));
        return group;
    }
    Element* form = Form();
    const Node* root = form ? static_cast<const Node*>(form) : &OwnerDocument();
    for (Node* n = root->FirstChild(); n; n = n->NextInTree(root)) {
        Element* e = n->AsElement();
        if (e && e->Is(L"input") && e->Type() == L"radio" && e->Name() == name && e->Form() == form) {
            group.push_back(e);
        }
    }
    return group;
}

std::vector<Element*> Element::FormElements() const {
    std::vector<Element*> out;
    if (!Is(L"form")) return out;
    for (Node* n = FirstChild(); n; n = n->NextInTree(this)) {
        Element* e = n->AsElement();
        if (e && IsControlTag(*e)) out.push_back(e);
    }
    return out;
}

}  // namespace corvalin::browser::dom
