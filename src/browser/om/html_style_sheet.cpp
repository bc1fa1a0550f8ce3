#include "browser/om/html_style_sheet.h"

#include <algorithm>

#include "browser/layout/style_sheet.h"
#include "browser/om/html_elements.h"

namespace corvalin::browser::om {

namespace {

bool IsSheetOwner(const dom::Element& e) {
    return e.Is(L"style") || (e.Is(L"link") && dom::EqualsIgnoringCase(e.GetAttribute(L"rel"), L"stylesheet"));
}

// A small object answering `length` for sheet.rules.
class RuleList final : public DispatchObject {
public:
    explicit RuleList(long count) : count_(count) {}

protected:
    const MemberTable& Members() const override {
        static const MemberTable table{{
            {L"length", [](DispatchObject& s, Invocation& c) { return c.ReturnInteger(static_cast<RuleList&>(s).count_); }},
        }};
        return table;
    }

private:
    long count_;
};

}  // namespace

std::vector<dom::Element*> StyleSheetOwners(const dom::Document& document) {
    std::vector<dom::Element*> owners;
    for (dom::Node* n = document.FirstChild(); n; n = n->NextInTree(&document))
        if (dom::Element* e = n->AsElement(); e && IsSheetOwner(*e)) owners.push_back(e);
    return owners;
}

std::wstring HTMLStyleSheet::CssText() const {
    if (owner_->Is(L"style")) return owner_->TextContent();
    const std::wstring* text = owner_->OwnerDocument().LinkedStyleSheet(owner_->ResolvedUrlAttribute(L"href"));
    return text ? *text : std::wstring();
}

void HTMLStyleSheet::SetCssText(const std::wstring& text) {
    if (owner_->Is(L"style")) {
        owner_->RemoveAllChildren();
        owner_->AppendChild(owner_->OwnerDocument().CreateTextNode(text));
    } else {
        owner_->OwnerDocument().SetLinkedStyleSheet(owner_->ResolvedUrlAttribute(L"href"), text);
    }
}

void HTMLStyleSheet::AddRule(const std::wstring& selector, const std::wstring& declarations) {
    std::wstring text = CssText();
    if (!text.empty() && text.back() != L'\n') text += L"\n";
    SetCssText(text + selector + L" { " + declarations + L" }");
}

struct StyleSheetMembers {
    static HTMLStyleSheet& S(DispatchObject& s) { return static_cast<HTMLStyleSheet&>(s); }
    static HRESULT Item(DispatchObject& s, Invocation& c) {
        const auto owners = StyleSheetOwners(*static_cast<HTMLStyleSheetList&>(s).document_);
        const long i = c.Integer(0, -1);
        if (i < 0 || i >= static_cast<long>(owners.size())) return c.ReturnNull();
        return c.ReturnObject(MakeDispatch<HTMLStyleSheet>(*owners[i]).Get());
    }
};

const MemberTable& HTMLStyleSheet::Members() const {
    static const MemberTable table{{
        {L"cssText", [](DispatchObject& s, Invocation& c) { return c.ReturnText(StyleSheetMembers::S(s).CssText()); },
         [](DispatchObject& s, Invocation& c) {
             StyleSheetMembers::S(s).SetCssText(c.ValueText());
             return S_OK;
         }},
        {L"addRule", nullptr, nullptr,
         [](DispatchObject& s, Invocation& c) {
             StyleSheetMembers::S(s).AddRule(c.Text(0), c.Text(1));
             return c.ReturnInteger(-1);
         }},
        {L"rules", [](DispatchObject& s, Invocation& c) {
             const auto rules = layout::ParseStyleSheet(StyleSheetMembers::S(s).CssText());
             return c.ReturnObject(MakeDispatch<RuleList>(static_cast<long>(rules.size())).Get());
         }},
        {L"href", [](DispatchObject& s, Invocation& c) {
             const dom::Element& e = *StyleSheetMembers::S(s).owner_;
             return c.ReturnText(e.Is(L"link") ? e.GetAttribute(L"href") : std::wstring());
         }},
        {L"type", [](DispatchObject&, Invocation& c) { return c.ReturnText(L"text/css"); }},
        {L"disabled", [](DispatchObject& s, Invocation& c) { return c.ReturnBool(StyleSheetMembers::S(s).owner_->HasAttribute(L"disabled")); },
         [](DispatchObject& s, Invocation& c) {
             dom::Element& e = *StyleSheetMembers::S(s).owner_;
             if (c.ValueBool()) e.SetAttribute(L"disabled", L"disabled");
             else e.RemoveAttribute(L"disabled");
             return S_OK;
         }},
        {L"owningElement", [](DispatchObject& s, Invocation& c) {
             return ReturnNode(c, StyleSheetMembers::S(s).owner_.get());
         }},
    }};
    return table;
}

const MemberTable& HTMLStyleSheetList::Members() const {
    static const MemberTable table{{
        {L"length", [](DispatchObject& s, Invocation& c) {
             return c.ReturnInteger(static_cast<long>(StyleSheetOwners(*static_cast<HTMLStyleSheetList&>(s).document_).size()));
         }},
        {L"item", &StyleSheetMembers::Item, nullptr, &StyleSheetMembers::Item},
    }};
    return table;
}

HRESULT HTMLStyleSheetList::InvokeValue(Invocation& call) {
    if (call.IsPut() || call.Count() == 0) return DISP_E_MEMBERNOTFOUND;
    return StyleSheetMembers::Item(*this, call);
}

bool HTMLStyleSheetList::HasDynamicMember(std::wstring_view name) const {
    return !name.empty() && name.size() < 9 && std::all_of(name.begin(), name.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; });
}

HRESULT HTMLStyleSheetList::InvokeDynamic(std::wstring_view name, Invocation& call) {
    if (call.IsPut() || !HasDynamicMember(name)) return DISP_E_MEMBERNOTFOUND;
    const auto owners = StyleSheetOwners(*document_);
    const std::size_t i = static_cast<std::size_t>(std::stoul(std::wstring(name)));
    if (i >= owners.size()) return call.ReturnNull();
    return call.ReturnObject(MakeDispatch<HTMLStyleSheet>(*owners[i]).Get());
}

ComPtr<IDispatch> CreateStyleSheet(dom::Document& document, const std::wstring& href) {
    document.EnsureStructure();
    dom::Element* head = document.Head();
    if (!head) return nullptr;
    dom::Ref<dom::Element> owner = document.CreateElement(href.empty() ? L"style" : L"link");
    if (!href.empty()) {
        owner->SetAttribute(L"rel", L"stylesheet");
        owner->SetAttribute(L"href", href);
    }
    head->AppendChild(owner);
    return MakeDispatch<HTMLStyleSheet>(*owner);
}

}  // namespace corvalin::browser::om
