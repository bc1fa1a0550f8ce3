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

namespace {

// A single-choice box shows the option the page or the user chose last;
// untouched, the last one the markup marks selected; else the first, unless
// the page cleared the choice on purpose.
int SingleChoice(const std::vector<Element*>& options, bool cleared) {
    bool touched = false;
    int chosen = -1, marked = -1;
    for (std::size_t i = 0; i < options.size(); ++i) {
        if (const auto& current = options[i]->CurrentSelected()) {
            touched = true;
            if (*current) chosen = static_cast<int>(i);
        } else if (options[i]->HasAttribute(L"selected")) {
            marked = static_cast<int>(i);
        }
    }
    if (chosen < 0 && !touched) chosen = marked;
    if (chosen < 0 && !cleared && !options.empty()) chosen = 0;
    return chosen;
}

}  // namespace

int Element::SelectedIndex() const {
    auto options = Options();
    if (!HasAttribute(L"multiple")) return SingleChoice(options, selectionCleared_);
    for (std::size_t i = 0; i < options.size(); ++i) {
        if (options[i]->Selected()) return static_cast<int>(i);   // the first selected of a multiple box
    }
    return -1;
}

void Element::SetSelectedIndex(int index) {
    auto options = Options();
    for (std::size_t i = 0; i < options.size(); ++i) options[i]->currentSelected_ = static_cast<int>(i) == index;
    selectionCleared_ = index < 0 || static_cast<std::size_t>(index) >= options.size();
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
    Element* select = OwnerSelect();
    if (select && !select->HasAttribute(L"multiple")) return select->SelectedIndex() == OptionIndex();
    if (currentSelected_) return *currentSelected_;
    return HasAttribute(L"selected");
}

void Element::SetSelected(bool selected) {
    Element* select = OwnerSelect();
    if (select && !select->HasAttribute(L"multiple")) {
        if (selected) {
            select->SetSelectedIndex(OptionIndex());
        } else if (Selected()) {
            select->SetSelectedIndex(-1);
        }
        return;
    }
    currentSelected_ = selected;
    OwnerDocument().Changed();
}

std::wstring Element::OptionText() const { return CollapseHtmlSpace(TextContent(), true); }

void Element::SetOptionText(std::wstring_view text) {
    RemoveAllChildren();
    AppendChild(Text::Create(OwnerDocument(), std::wstring(text)));
}

void Element::AddOption(Element& option, long before) {
    auto options = Options();
    Element* next = before >= 0 && static_cast<std::size_t>(before) < options.size() ? options[before] : nullptr;
    if (next) next->Parent()->InsertBefore(&option, next);
    else AppendChild(&option);
}

void Element::RemoveOption(long index) {
    auto options = Options();
    if (index >= 0 && static_cast<std::size_t>(index) < options.size()) options[index]->Remove();
}

void Element::PutOption(std::size_t index, Element* option) {
    auto options = Options();
    if (!option) {
        if (index < options.size()) options[index]->Remove();
        return;
    }
    if (index < options.size()) {
        if (options[index] == option) return;
        Ref<Element> old(options[index]);
        old->Parent()->InsertBefore(option, old.get());
        old->Remove();
        return;
    }
    SetOptionCount(index);
    AppendChild(option);
}

void Element::SetOptionCount(std::size_t count) {
    auto options = Options();
    for (std::size_t i = options.size(); i > count; --i) options[i - 1]->Remove();
    for (std::size_t i = options.size(); i < count; ++i) AppendChild(OwnerDocument().CreateElement(L"option"));
}

}  // namespace corvalin::browser::dom
