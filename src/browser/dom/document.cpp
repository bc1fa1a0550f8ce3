#include "browser/dom/document.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <cwchar>
#include <initializer_list>

#include "browser/dom/document_host.h"
#include "browser/dom/text_range.h"
#include "browser/net/url.h"

namespace corvalin::browser::dom {

namespace {

Element* ChildElement(const Node* parent, std::wstring_view lowerName) {
    if (!parent) return nullptr;
    for (Node* c = parent->FirstChild(); c; c = c->NextSibling()) {
        if (Element* e = c->AsElement(); e && e->Is(lowerName)) return e;
    }
    return nullptr;
}

Element* FirstDescendant(const Node& root, std::wstring_view lowerName) {
    for (Node* n = root.FirstChild(); n; n = n->NextInTree(&root)) {
        if (Element* e = n->AsElement(); e && e->Is(lowerName)) return e;
    }
    return nullptr;
}

bool Bubbles(std::wstring_view type) {
    static constexpr std::array<const wchar_t*, 13> still{L"focus",  L"blur",   L"load",       L"unload",
                                                          L"change", L"submit", L"reset",      L"scroll",
                                                          L"resize", L"select", L"mouseenter", L"mouseleave",
                                                          L"readystatechange"};
    return std::none_of(still.begin(), still.end(), [&](const wchar_t* n) { return type == n; });
}

std::wstring NormalizeNewlines(std::wstring_view text) {
    std::wstring out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\r') {
            out += L"\r\n";
            if (i + 1 < text.size() && text[i + 1] == L'\n') ++i;
        } else if (text[i] == L'\n') {
            out += L"\r\n";
        } else {
            out += text[i];
        }
    }
    return out;
}

}  // namespace

Document::Document(std::wstring url) : Node(NodeType::Document, this), url_(std::move(url)) {
    connected_ = true;
    SYSTEMTIME now;
    GetLocalTime(&now);
    wchar_t text[32];
    swprintf(text, 32, L"%02u/%02u/%04u %02u:%02u:%02u", now.wMonth, now.wDay, now.wYear, now.wHour, now.wMinute,
             now.wSecond);
    lastModified_ = text;
    Changed();
}

void Document::AddTo(Index& index, const std::wstring& key, Element* element) {
    if (!key.empty()) index[key].push_back(element);
}

void Document::RemoveFrom(Index& index, const std::wstring& key, Element* element) {
    const auto it = index.find(key);
    if (it == index.end()) return;
    std::erase(it->second, element);
    if (it->second.empty()) index.erase(it);
}

void Document::Connect(Node& subtree) {
    std::vector<Element*> entered;
    for (Node* n = &subtree; n; n = n->NextInTree(&subtree)) {
        n->connected_ = true;
        if (Element* e = n->AsElement()) {
            if (const std::wstring* id = e->FindAttribute(L"id")) AddTo(ids_, *id, e);
            if (const std::wstring* name = e->FindAttribute(L"name")) AddTo(names_, *name, e);
            entered.push_back(e);
        }
    }
    RecordMembership(true, std::move(entered));
    if (layout_) layout_->Inserted(subtree);
    noted_ = true;
}

void Document::Disconnect(Node& subtree) {
    if (layout_) layout_->Removing(subtree);
    noted_ = true;
    std::vector<Element*> left;
    for (Node* n = &subtree; n; n = n->NextInTree(&subtree)) {
        n->connected_ = false;
        if (Element* e = n->AsElement()) {
            if (const std::wstring* id = e->FindAttribute(L"id")) RemoveFrom(ids_, *id, e);
            if (const std::wstring* name = e->FindAttribute(L"name")) RemoveFrom(names_, *name, e);
            left.push_back(e);
        }
    }
    RecordMembership(false, std::move(left));
}

namespace {

std::uint64_t lastStamp = 0;   // the DOM lives on the UI thread only

std::uint64_t NextStamp() { return ++lastStamp; }

// Enough for a marking pass (a change or two per element read) without
// holding on to a page's worth of addresses.
constexpr std::size_t kRememberedChanges = 64;
constexpr std::size_t kRememberedElements = 1024;

}  // namespace

std::uint64_t Document::CurrentStamp() { return lastStamp; }

void Document::RecordMembership(bool inserted, std::vector<Element*> elements) {
    if (elements.empty()) return;
    structureStamp_ = NextStamp();
    if (releasing_ || elements.size() > kRememberedElements) {
        // A whole page coming or going: collections walk it again.
        membershipChanges_.clear();
        membershipKnownAfter_ = structureStamp_;
        return;
    }
    membershipChanges_.push_back({structureStamp_, inserted, std::move(elements)});
    if (membershipChanges_.size() > kRememberedChanges) {
        membershipKnownAfter_ = membershipChanges_.front().stamp;
        membershipChanges_.pop_front();
    }
}

bool Document::MembershipChangesSince(std::uint64_t stamp, std::vector<const MembershipChange*>& changes) const {
    if (stamp < membershipKnownAfter_) return false;
    for (const MembershipChange& change : membershipChanges_)
        if (change.stamp > stamp) changes.push_back(&change);
    return true;
}

std::uint64_t Document::AttributeStamp(std::wstring_view name) const {
    for (const auto& [written, stamp] : attributeStamps_)
        if (EqualsIgnoringCase(written, name)) return stamp;
    return 0;
}

void Document::AttributeWritten(std::wstring_view name) {
    const std::uint64_t stamp = NextStamp();
    for (auto& [written, last] : attributeStamps_) {
        if (EqualsIgnoringCase(written, name)) {
            last = stamp;
            return;
        }
    }
    attributeStamps_.emplace_back(LowerAscii(name), stamp);
}

void Document::Reindex(Element& element, std::wstring_view attribute, const std::wstring* before,
                       const std::wstring* after) {
    noted_ = true;
    if (!element.IsConnected()) return;
    if (layout_) layout_->AttributeChanged(element, attribute);
    AttributeWritten(attribute);
    Index* index = EqualsIgnoringCase(attribute, L"id") ? &ids_ : EqualsIgnoringCase(attribute, L"name") ? &names_ : nullptr;
    if (!index) return;
    if (before) RemoveFrom(*index, *before, &element);
    if (after) AddTo(*index, *after, &element);
}

std::vector<Element*> Document::Named(std::wstring_view name, bool byName) const {
    std::vector<Element*> out;
    const std::wstring key(name);
    for (const Index* index : {&ids_, byName ? &names_ : nullptr}) {
        if (!index) continue;
        if (const auto it = index->find(key); it != index->end())
            for (Element* e : it->second)
                if (std::find(out.begin(), out.end(), e) == out.end()) out.push_back(e);
    }
    if (out.size() > 1) std::sort(out.begin(), out.end(), [](Element* a, Element* b) { return a->Precedes(*b); });
    return out;
}

Document::~Document() = default;

void Document::Changed(const Node* where) {
    version_ = NextStamp();
    if (layout_ && !noted_) {
        if (!where) layout_->UnknownChange();
        else if (where->IsConnected() && where->IsText()) layout_->TextChanged(const_cast<Node&>(*where));
        else if (where->IsConnected() && where != this) layout_->UnknownChange();
    }
    noted_ = false;
    if (host_) host_->ViewChanged();
}

void Document::SetViewSize(long width, long height) {
    if (width == viewWidth_ && height == viewHeight_) return;
    viewWidth_ = width;
    viewHeight_ = height;
    LayoutInputsChanged();
}

const std::wstring* Document::LinkedStyleSheet(const std::wstring& url) const {
    for (const auto& [address, text] : linkedSheets_)
        if (address == url) return &text;
    return nullptr;
}

void Document::SetLinkedStyleSheet(const std::wstring& url, std::wstring text) {
    for (auto& [address, existing] : linkedSheets_) {
        if (address == url) {
            existing = std::move(text);
            LayoutInputsChanged();
            return;
        }
    }
    linkedSheets_.emplace_back(url, std::move(text));
    LayoutInputsChanged();
}

bool Document::IsHovered(const Element& element) const {
    for (const Element* e = hover_.get(); e; e = e->ParentElement())
        if (e == &element) return true;
    return false;
}

void Document::SetVisitedLinks(std::shared_ptr<const VisitedLinks> links) {
    visited_ = std::move(links);
    LayoutInputsChanged();
}

bool Document::WasVisited(std::wstring_view resolvedUrl) const {
    return visited_ && !resolvedUrl.empty() && visited_->count(UrlWithoutFragment(resolvedUrl)) > 0;
}

void Document::LayoutInputsChanged() {
    static std::uint64_t last = 0;
    inputsVersion_ = ++last;
    if (host_) host_->ViewChanged();
}

void Document::ReleaseScriptObjects() {
    // Dropping the last handler may drop the last reference to us: the tree
    // must stay until the walk is over.
    Ref<Document> keep(this);
    host_ = nullptr;
    documentHandlers_.clear();
    propertyHandlers_.clear();
    for (Node* n = FirstChild(); n; n = n->NextInTree(this)) {
        if (Element* e = n->AsElement()) {
            e->DropScriptHandlers();
            if (Document* inner = e->ContentDocument()) inner->ReleaseScriptObjects();
        }
    }
}

void Document::SetSelection(std::unique_ptr<TextRange> range) {
    selection_ = std::move(range);
    // The selection is painted highlighted.
    if (host_) host_->ViewChanged();
}

Ref<Document> Document::Create(std::wstring url) { return Ref<Document>(new Document(std::move(url))); }

void Document::ReleaseTree() {
    if (--treeRefs_ == 0 && refCount_ == 0 && !releasing_) delete this;
}

std::wstring Document::Domain() const { return browser::UrlHost(url_); }

std::wstring Document::ResolveUrl(std::wstring_view relative) const {
    std::wstring base = url_;
    if (Element* head = Head()) {
        if (Element* b = ChildElement(head, L"base")) {
            if (const std::wstring* href = b->FindAttribute(L"href"); href && !href->empty()) {
                base = browser::ResolveUrl(url_, *href);
            }
        }
    }
    return browser::ResolveUrl(base, relative);
}

Element* Document::DocumentElement() const { return ChildElement(this, L"html"); }
Element* Document::Head() const { return ChildElement(DocumentElement(), L"head"); }

Element* Document::Body() const {
    Element* html = DocumentElement();
    if (Element* body = ChildElement(html, L"body")) return body;
    return ChildElement(html, L"frameset");
}

void Document::EnsureStructure() {
    Element* html = DocumentElement();
    if (!html) {
        Ref<Element> created = CreateElement(L"html");
        // Whatever sits at the top (but comments and doctype-like leftovers) moves in.
        std::vector<Ref<Node>> moving;
        for (Node* c = FirstChild(); c; c = c->NextSibling()) {
            if (!(c->Type() == NodeType::Comment)) moving.push_back(c);
        }
        AppendChild(created);
        Element* body = nullptr;
        for (auto& n : moving) {
            Element* e = n->AsElement();
            if (e && (e->Is(L"head") || e->Is(L"body") || e->Is(L"frameset"))) {
                created->AppendChild(n);
                if (!e->Is(L"head")) body = e;
            } else {
                if (!body) {
                    Ref<Element> b = CreateElement(L"body");
                    created->AppendChild(b);
                    body = b.get();
                }
                body->AppendChild(n);
            }
        }
        html = created.get();
    }
    Element* head = ChildElement(html, L"head");
    if (!head) {
        Ref<Element> created = CreateElement(L"head");
        html->InsertBefore(created, html->FirstChild());
        head = created.get();
    }
    if (!Body()) {
        Ref<Element> body = CreateElement(L"body");
        // Content that ended up beside <head> goes into the body.
        std::vector<Ref<Node>> moving;
        for (Node* c = head->NextSibling(); c; c = c->NextSibling()) moving.push_back(c);
        html->AppendChild(body);
        for (auto& n : moving) body->AppendChild(n);
    }
}

std::wstring Document::Title() const {
    Element* title = FirstDescendant(*this, L"title");
    return title ? CollapseHtmlSpace(title->TextContent()) : std::wstring();
}

void Document::SetTitle(std::wstring_view text) {
    Element* title = FirstDescendant(*this, L"title");
    if (!title) {
        EnsureStructure();
        Ref<Element> created = CreateElement(L"title");
        Head()->AppendChild(created);
        title = created.get();
    }
    title->RemoveAllChildren();
    title->AppendChild(CreateTextNode(std::wstring(text)));
}

Ref<Element> Document::CreateElement(std::wstring_view tagName) {
    // createElement("<input name=x>") as that browser accepts is done by the binding.
    return Element::Create(*this, tagName);
}

Ref<Text> Document::CreateTextNode(std::wstring text) { return Text::Create(*this, std::move(text)); }

Element* Document::GetElementById(std::wstring_view id) const {
    if (id.empty()) return nullptr;
    Element* first = nullptr;
    const std::wstring key(id);
    for (const Index* index : {&ids_, &names_}) {
        if (const auto it = index->find(key); it != index->end())
            for (Element* e : it->second)
                if (!first || e->Precedes(*first)) first = e;
    }
    return first;
}

std::vector<Element*> Document::ElementsNamed(std::wstring_view name) const {
    if (name.empty()) return {};
    return Named(name, true);
}

namespace {

// The elements of the document with one of the tags.
ElementCollection OfTags(const Document& document, std::initializer_list<const wchar_t*> tags) {
    return ElementCollection(
        const_cast<Document*>(&document),
        [names = std::vector<const wchar_t*>(tags)](const Element& e) {
            return std::any_of(names.begin(), names.end(), [&](const wchar_t* tag) { return e.Is(tag); });
        },
        ElementCollection::Scope::Descendants, ElementCollection::TagAndPlaceOnly());
}

}  // namespace

ElementCollection Document::GetElementsByTagName(std::wstring_view tagName) const {
    std::wstring tag = LowerAscii(tagName);
    if (tag == L"*") return All();
    return ElementCollection::OfTag(const_cast<Document*>(this), tag);
}

ElementCollection Document::GetElementsByName(std::wstring_view name) const {
    std::wstring n(name);
    return ElementCollection(const_cast<Document*>(this), ElementCollection::Producer([n](Node& root) {
        const Document& document = static_cast<Document&>(root);
        std::vector<Element*> out;
        if (const auto it = document.names_.find(n); it != document.names_.end()) out = it->second;
        if (out.size() > 1) std::sort(out.begin(), out.end(), [](Element* a, Element* b) { return a->Precedes(*b); });
        return out;
    }), std::vector<std::wstring>{L"name"});
}

ElementCollection Document::All() const {
    ElementCollection all = ElementCollection::OfTag(const_cast<Document*>(this), L"*");
    all.NameThroughIndex();
    return all;
}

ElementCollection Document::Forms() const {
    return OfTags(*this, {L"form"});
}

ElementCollection Document::Images() const {
    return OfTags(*this, {L"img"});
}

ElementCollection Document::Links() const {
    return ElementCollection(
        const_cast<Document*>(this),
        [](const Element& e) { return (e.Is(L"a") || e.Is(L"area")) && e.HasAttribute(L"href"); },
        ElementCollection::Scope::Descendants, std::vector<std::wstring>{L"href"});
}

ElementCollection Document::Anchors() const {
    return ElementCollection(
        const_cast<Document*>(this), [](const Element& e) { return e.Is(L"a") && e.HasAttribute(L"name"); },
        ElementCollection::Scope::Descendants, std::vector<std::wstring>{L"name"});
}

ElementCollection Document::Scripts() const {
    return OfTags(*this, {L"script"});
}

ElementCollection Document::Frames() const {
    return OfTags(*this, {L"frame", L"iframe"});
}

// ---- Events -----------------------------------------------------------------

bool Document::DispatchEvent(Element& target, std::wstring_view type) {
    Event event;
    event.type = LowerAscii(type);
    return DispatchEvent(target, event);
}

bool Document::DispatchEvent(Element& target, Event& event) {
    Ref<Element> keep(&target);
    event.target = &target;
    bool bubbles = Bubbles(event.type);
    std::vector<Ref<Element>> path;
    for (Element* e = &target; e; e = e->ParentElement()) {
        path.push_back(e);
        if (!bubbles) break;
    }
    for (auto& e : path) {
        EventHandler handler = e->Handler(event.type);
        if (!handler.Empty() && host_) {
            event.current = e.get();
            if (!host_->RunEventHandler(*e, event, handler)) event.returnValue = false;
        }
        if (event.cancelBubble) break;
    }
    if (bubbles && !event.cancelBubble && host_ && !(documentHandlers_.empty() && propertyHandlers_.empty())) {
        if (Element* root = DocumentElement()) {
            auto handlers = documentHandlers_;   // a handler may attach or detach others
            if (EventHandler own = PropertyHandler(L"on" + event.type); !own.Empty()) handlers.emplace_back(L"on" + event.type, own);
            for (const auto& [name, handler] : handlers) {
                if (name != L"on" + event.type || !host_) continue;
                event.current = root;
                if (!host_->RunEventHandler(*root, event, handler)) event.returnValue = false;
            }
        }
    }
    return event.returnValue;
}

EventHandler Document::PropertyHandler(std::wstring_view name) const {
    for (const auto& [own, handler] : propertyHandlers_) {
        if (EqualsIgnoringCase(own, name)) return handler;
    }
    return {};
}

void Document::SetPropertyHandler(std::wstring_view name, EventHandler handler) {
    const std::wstring key = LowerAscii(name);
    std::erase_if(propertyHandlers_, [&](const auto& entry) { return entry.first == key; });
    if (!handler.Empty()) propertyHandlers_.emplace_back(key, std::move(handler));
}

bool Document::FireEvent(Element& target, std::wstring_view eventName) {
    std::wstring type = LowerAscii(eventName);
    if (type.rfind(L"on", 0) == 0) type.erase(0, 2);
    if (type.empty()) return false;
    return DispatchEvent(target, type);
}

void Document::Click(Element& target) {
    Ref<Element> keep(&target);
    if (target.Disabled() && (target.Is(L"input") || target.Is(L"button") || target.Is(L"select") ||
                              target.Is(L"textarea"))) {
        return;
    }
    // Check boxes and radios change before the handler sees them, and change
    // back when it cancels.
    std::vector<std::pair<Element*, bool>> before;
    bool toggles = target.Is(L"input") && (target.Type() == L"checkbox" || target.Type() == L"radio");
    if (toggles) {
        for (Element* r : target.Type() == L"radio" ? target.RadioGroup() : std::vector<Element*>{&target}) {
            before.emplace_back(r, r->Checked());
        }
        target.SetChecked(target.Type() == L"radio" ? true : !target.Checked());
    }
    bool proceed = DispatchEvent(target, L"click");
    if (toggles) {
        if (!proceed) {
            for (auto [e, was] : before) e->SetChecked(was);
        } else if (std::any_of(before.begin(), before.end(),
                               [](const auto& p) { return p.first->Checked() != p.second; })) {
            DispatchEvent(target, L"change");
        }
        return;
    }
    if (proceed && target.OwnerDocument().Contains(&target)) DefaultAction(target);
}

void Document::DefaultAction(Element& target) {
    if (target.Is(L"input") || target.Is(L"button")) {
        std::wstring type = target.Type();
        Element* form = target.Form();
        if (type == L"submit" || type == L"image") {
            if (form && DispatchEvent(*form, L"submit")) SubmitForm(*form, &target);
        } else if (type == L"reset") {
            if (form) ResetForm(*form);
        } else if (type == L"file" && target.Is(L"input") && host_) {
            if (auto path = host_->ChooseFile(target)) {
                target.SetValue(*path);
                DispatchEvent(target, L"change");
            }
        }
        return;
    }
    // A click inside a link follows it.
    for (Element* e = &target; e; e = e->ParentElement()) {
        if ((e->Is(L"a") || e->Is(L"area")) && e->HasAttribute(L"href")) {
            if (host_) host_->Navigate(e->ResolvedUrlAttribute(L"href"), e->GetAttribute(L"target"));
            return;
        }
    }
}

FormSubmission Document::BuildSubmission(Element& form, Element* submitter) const {
    FormSubmission s;
    std::wstring action = form.GetAttribute(L"action");
    s.action = ResolveUrl(action);
    std::wstring method = LowerAscii(form.GetAttribute(L"method"));
    s.method = method == L"post" ? L"post" : L"get";
    s.target = form.GetAttribute(L"target");
    std::wstring enctype = LowerAscii(form.GetAttribute(L"enctype"));
    s.enctype = enctype.empty() ? L"application/x-www-form-urlencoded" : enctype;
    for (Element* control : form.FormElements()) {
        if (control->Disabled()) continue;
        std::wstring name = control->Name();
        std::wstring type = control->Type();
        if (control->Is(L"input") && type == L"image") {
            if (control != submitter) continue;
            std::wstring prefix = name.empty() ? L"" : name + L".";
            s.fields.push_back({prefix + L"x", L"0"});
            s.fields.push_back({prefix + L"y", L"0"});
            continue;
        }
        if (name.empty() || control->Is(L"object")) continue;
        if (control->Is(L"button") || type == L"submit" || type == L"reset" || type == L"button") {
            if (control == submitter && type == L"submit") s.fields.push_back({name, control->Value()});
            continue;
        }
        if (control->Is(L"select")) {
            auto options = control->Options();
            bool multiple = control->HasAttribute(L"multiple");
            int single = multiple ? -1 : control->SelectedIndex();
            for (std::size_t i = 0; i < options.size(); ++i) {
                bool on = multiple ? options[i]->Selected() : static_cast<int>(i) == single;
                if (on && !options[i]->Disabled()) s.fields.push_back({name, options[i]->Value()});
            }
            continue;
        }
        if (type == L"checkbox" || type == L"radio") {
            if (control->Checked()) s.fields.push_back({name, control->Value()});
            continue;
        }
        if (control->Is(L"textarea")) {
            s.fields.push_back({name, NormalizeNewlines(control->Value())});
            continue;
        }
        s.fields.push_back({name, control->Value()});
    }
    return s;
}

void Document::SubmitForm(Element& form, Element* submitter) {
    if (!host_) return;
    Ref<Element> keep(&form);
    host_->SubmitForm(form, BuildSubmission(form, submitter));
}

void Document::ResetForm(Element& form) {
    if (!DispatchEvent(form, L"reset")) return;
    for (Element* control : form.FormElements()) control->ResetControl();
}

}  // namespace corvalin::browser::dom
