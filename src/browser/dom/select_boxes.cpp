// Element: select boxes and their options.
#include "browser/dom/element.h"

#include <algorithm>

#include "browser/dom/document.h"

namespace corvalin::browser::dom {

std::vector<Element*> Element::Options() const {
    std::vector<Element*> out;
    if (!Is(L"select")) return out;
    for (Node* n = FirstChild(); n;) {
        Element* e = n->AsElement();
        if (e && e->Is(L"option")) {
            out.push_back(e);
            n = n->NextSkippingChildren(this);
        } else if (e && e->Is(L"select")) {
            n = n->NextSkippingChildren(this);
        } else {
            n = n->NextInTree(this);
        }
    }
    return out;
}

int Element::SelectedIndex() const {
    auto options = Options();
    bool multiple = HasAttribute(L"multiple");
    int chosen = -1;
    for (std::size_t i = 0; i < options.size(); ++i) {
        if (options[i]->Selected()) {
            chosen = static_cast<int>(i);
            if (multiple) break;   // the first selected of a multiple box; the last of a single one
        }
    }
    if (chosen < 0 && !multiple && !options.empty()) {
        // A single-choice box always shows one option, unless the page cleared
        // the selection on purpose.
        bool cleared = std::any_of(options.begin(), options.end(),
                                   [](const Element* o) { return o->currentSelected_.has_value(); });
        if (!cleared) chosen = 0;
    }
    return chosen;
}

void Element::SetSelectedIndex(int index) {
    auto options = Options();
    for (std::size_t i = 0; i < options.size(); ++i) options[i]->currentSelected_ = static_cast<int>(i) == index;
    OwnerDocument().Changed();
}

Element* Element::OwnerSelect() const {
    for (Element* e = ParentElement(); e; e = e->ParentElement()) {
        if (e->Is(L"select")) return e;
        if (!e->Is(L"optgroup")) return nullptr;
    }
    return nullptr;
}

int Element::OptionIndex() const {
    Element* select = OwnerSelect();
    if (!select) return -1;
    auto options = select->Options();
    auto it = std::find(options.begin(), options.end(), this);
    return it == options.end() ? -1 : static_cast<int>(it - options.begin());
}

bool Element::Selected() const {
    if (currentSelected_) return *currentSelected_;
    if (Element* select = OwnerSelect(); select && !select->HasAttribute(L"multiple")) {
        // In a single box only the last option marked selected is.
        auto options = select->Options();
        bool anyCurrent = std::any_of(options.begin(), options.end(),
                                      [](const Element* o) { return o->currentSelected_.has_value(); });
        if (anyCurrent) return false;
        Element* last = nullptr;
        for (Element* o : options) {
            if (o->HasAttribute(L"selected")) last = o;
        }
        if (!last && !options.empty()) last = options.front();
        return last == this;
    }
    return HasAttribute(L"selected");
}

void Element::SetSelected(bool selected) {
    Element* select = OwnerSelect();
    if (selected && select && !select->HasAttribute(L"multiple")) {
        select->SetSelectedIndex(OptionIndex());
        return;
    }
    if (select && !select->HasAttribute(L"multiple")) {
        // Freeze the others as they are, then clear this one.
        for (Element* o : select->Options()) {
            bool was = o->Selected();
            o->currentSelected_ = was;
        }
    }
    currentSelected_ = selected;
    OwnerDocument().Changed();
}

std::wstring Element::OptionText() const {
    std::wstring raw = TextContent();
    std::wstring out;
    bool space = false;
    for (wchar_t c : raw) {
        if (IsHtmlSpace(c) || c == 0xA0) {
            space = true;
            continue;
        }
        if (space && !out.empty()) out += L' ';
        space = false;
        out += c;
    }
    return out;
}

void Element::SetOptionText(std::wstring_view text) {
    RemoveAllChildren();
    AppendChild(Text::Create(OwnerDocument(), std::wstring(text)));
}

}  // namespace corvalin::browser::dom
