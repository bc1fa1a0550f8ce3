#include "browser/om/html_document.h"

#include "browser/layout/geometry.h"
#include "browser/html/document_writer.h"
#include "browser/html/html_parser.h"
#include "browser/om/clipboard_commands.h"
#include "browser/om/document_object_host.h"
#include "browser/om/html_element_collection.h"
#include "browser/om/html_elements.h"
#include "browser/om/html_style_sheet.h"
#include "browser/om/html_text_range.h"
#include "browser/om/node_objects.h"

namespace corvalin::browser::om {

namespace {

using dom::Element;

dom::Document& Doc(DispatchObject& s) { return static_cast<HTMLDocument&>(s).Document(); }

DocumentObjectHost* ObjectHost(dom::Document& d) { return dynamic_cast<DocumentObjectHost*>(d.Host()); }

// The document's window (null without a host): parentWindow and Script.
ComPtr<IDispatch> WindowOf(dom::Document& d) {
    DocumentObjectHost* host = ObjectHost(d);
    return host ? host->WindowObject() : nullptr;
}

HRESULT Collection(Invocation& c, dom::ElementCollection elements) {
    return c.ReturnObject(CollectionObject(std::move(elements)).Get());
}

std::wstring AllArguments(Invocation& c) {
    std::wstring text;
    for (std::size_t i = 0; i < c.Count(); ++i) text += c.Text(i);
    return text;
}

// Elements a document answers by name as properties (document.loginForm).
bool IsNamedByDocument(const Element& e) {
    return e.Is(L"form") || e.Is(L"img") || e.Is(L"iframe") || e.Is(L"embed") || e.Is(L"object") || e.Is(L"applet");
}

std::vector<Element*> NamedElements(const dom::Document& d, std::wstring_view name) {
    std::vector<Element*> out;
    if (name.empty()) return out;
    for (dom::Node* n = d.FirstChild(); n; n = n->NextInTree(&d)) {
        Element* e = n->AsElement();
        if (!e || !IsNamedByDocument(*e)) continue;
        const std::wstring* v = e->FindAttribute(L"name");
        if (v && *v == name) out.push_back(e);
    }
    return out;
}

HRESULT CreateElement(DispatchObject& s, Invocation& c) {
    dom::Document& d = Doc(s);
    std::wstring tag = c.Text(0);
    std::size_t start = tag.find_first_not_of(L" \t\r\n");
    if (start != std::wstring::npos && tag[start] == L'<') {
        // createElement("<input name=x type=radio>") as that browser takes it.
        for (auto& node : html::ParseFragment(d, tag)) {
            if (node->IsElement()) {
                node->RemoveAllChildren();
                return ReturnNode(c, node.get());
            }
        }
        return E_INVALIDARG;
    }
    if (tag.empty()) return E_INVALIDARG;
    for (wchar_t ch : tag) {
        bool ok = (ch >= L'a' && ch <= L'z') || (ch >= L'A' && ch <= L'Z') || (ch >= L'0' && ch <= L'9') || ch == L'-' ||
                  ch == L':' || ch == L'_';
        if (!ok) return E_INVALIDARG;
    }
    return ReturnNode(c, d.CreateElement(tag).get());
}

}  // namespace

HTMLDocument::HTMLDocument(dom::Document& document) : document_(&document) { document.SetBinding(this); }

HTMLDocument::~HTMLDocument() {
    if (document_->Binding() == this) document_->SetBinding(nullptr);
}

void* HTMLDocument::QueryExtraInterface(REFIID riid) {
    return riid == kIID_IHTMLDocument ? static_cast<DocumentInterface*>(this) : nullptr;
}

HRESULT HTMLDocument::get_Script(IDispatch** script) {
    if (!script) return E_POINTER;
    *script = WindowOf(*document_).Detach();
    return S_OK;
}

const MemberTable& HTMLDocument::Members() const {
    static const MemberTable table{{
        {L"body", [](DispatchObject& s, Invocation& c) { return ReturnNode(c, Doc(s).Body()); }},
        {L"documentElement", [](DispatchObject& s, Invocation& c) { return ReturnNode(c, Doc(s).DocumentElement()); }},
        {L"all", [](DispatchObject& s, Invocation& c) { return Collection(c, Doc(s).All()); }},
        {L"forms", [](DispatchObject& s, Invocation& c) { return Collection(c, Doc(s).Forms()); }},
        {L"images", [](DispatchObject& s, Invocation& c) { return Collection(c, Doc(s).Images()); }},
        {L"links", [](DispatchObject& s, Invocation& c) { return Collection(c, Doc(s).Links()); }},
        {L"anchors", [](DispatchObject& s, Invocation& c) { return Collection(c, Doc(s).Anchors()); }},
        {L"scripts", [](DispatchObject& s, Invocation& c) { return Collection(c, Doc(s).Scripts()); }},
        {L"frames", [](DispatchObject& s, Invocation& c) { return Collection(c, Doc(s).Frames()); }},
        {L"getElementsByTagName", nullptr, nullptr,
         [](DispatchObject& s, Invocation& c) { return Collection(c, Doc(s).GetElementsByTagName(c.Text(0))); }},
        {L"getElementsByName", nullptr, nullptr,
         [](DispatchObject& s, Invocation& c) { return Collection(c, Doc(s).GetElementsByName(c.Text(0))); }},
        {L"getElementById", nullptr, nullptr,
         [](DispatchObject& s, Invocation& c) { return ReturnNode(c, Doc(s).GetElementById(c.Text(0))); }},
        {L"createElement", nullptr, nullptr, CreateElement},
        {L"createTextNode", nullptr, nullptr,
         [](DispatchObject& s, Invocation& c) { return ReturnNode(c, Doc(s).CreateTextNode(c.Text(0)).get()); }},
        {L"createComment", nullptr, nullptr,
         [](DispatchObject& s, Invocation& c) { return ReturnNode(c, dom::Comment::Create(Doc(s), c.Text(0)).get()); }},
        {L"createDocumentFragment", nullptr, nullptr,
         [](DispatchObject& s, Invocation& c) { return ReturnNode(c, dom::DocumentFragment::Create(Doc(s)).get()); }},
        {L"lastModified", [](DispatchObject& s, Invocation& c) { return c.ReturnText(Doc(s).LastModified()); }},
        {L"attachEvent", nullptr, nullptr,
         [](DispatchObject& s, Invocation& c) {
             IDispatch* function = c.Object(1);
             const std::wstring name = dom::LowerAscii(c.Text(0));
             if (!function || name.rfind(L"on", 0) != 0) return c.ReturnBool(false);
             dom::EventHandler handler;
             handler.function = std::make_shared<ScriptFunctionObject>(function);
             Doc(s).DocumentHandlers().emplace_back(name, std::move(handler));
             return c.ReturnBool(true);
         }},
        {L"detachEvent", nullptr, nullptr,
         [](DispatchObject& s, Invocation& c) {
             auto& handlers = Doc(s).DocumentHandlers();
             const std::wstring name = dom::LowerAscii(c.Text(0));
             for (auto it = handlers.begin(); it != handlers.end(); ++it) {
                 if (it->first == name && HandlerFunction(it->second) == c.Object(1)) {
                     handlers.erase(it);
                     break;
                 }
             }
             return c.ReturnEmpty();
         }},
        {L"title", [](DispatchObject& s, Invocation& c) { return c.ReturnText(Doc(s).Title()); },
         [](DispatchObject& s, Invocation& c) {
             Doc(s).SetTitle(c.ValueText());
             return S_OK;
         }},
        {L"URL", [](DispatchObject& s, Invocation& c) { return c.ReturnText(Doc(s).Url()); }},
        {L"URLUnencoded", [](DispatchObject& s, Invocation& c) { return c.ReturnText(Doc(s).Url()); }},
        {L"domain", [](DispatchObject& s, Invocation& c) { return c.ReturnText(Doc(s).Domain()); }},
        {L"referrer", [](DispatchObject&, Invocation& c) { return c.ReturnText(L""); }},
        {L"location",
         [](DispatchObject& s, Invocation& c) {
             if (DocumentObjectHost* host = ObjectHost(Doc(s))) {
                 if (auto location = host->LocationObject()) return c.ReturnObject(location.Get());
             }
             return c.ReturnText(Doc(s).Url());
         },
         [](DispatchObject& s, Invocation& c) {
             dom::Document& d = Doc(s);
             if (!d.Host()) return E_FAIL;
             d.Host()->Navigate(d.ResolveUrl(c.ValueText()), L"");
             return S_OK;
         }},
        {L"charset", [](DispatchObject& s, Invocation& c) { return c.ReturnText(Doc(s).Charset()); },
         [](DispatchObject& s, Invocation& c) {
             Doc(s).SetCharset(c.ValueText());
             return S_OK;
         }},
        {L"defaultCharset", [](DispatchObject&, Invocation& c) { return c.ReturnText(L"gb2312"); }},
        {L"fileSize", [](DispatchObject& s, Invocation& c) {
             return c.ReturnText(std::to_wstring(Doc(s).FileSize()));
         }},
        {L"readyState", [](DispatchObject& s, Invocation& c) { return c.ReturnText(Doc(s).ReadyState()); }},
        {L"parentWindow", [](DispatchObject& s, Invocation& c) { return c.ReturnObject(WindowOf(Doc(s)).Get()); }},
        {L"Script", [](DispatchObject& s, Invocation& c) { return c.ReturnObject(WindowOf(Doc(s)).Get()); }},
        {L"cookie",
         [](DispatchObject& s, Invocation& c) {
             dom::DocumentHost* host = Doc(s).Host();
             return c.ReturnText(host ? host->Cookie() : std::wstring());
         },
         [](DispatchObject& s, Invocation& c) {
             if (dom::DocumentHost* host = Doc(s).Host()) host->SetCookie(c.ValueText());
             return S_OK;
         }},
        {L"write", nullptr, nullptr,
         [](DispatchObject& s, Invocation& c) {
             html::WriteDocument(Doc(s), AllArguments(c));
             return c.ReturnEmpty();
         }},
        {L"writeln", nullptr, nullptr,
         [](DispatchObject& s, Invocation& c) {
             html::WriteDocument(Doc(s), AllArguments(c) + L"\r\n");
             return c.ReturnEmpty();
         }},
        {L"open", nullptr, nullptr,
         [](DispatchObject& s, Invocation& c) {
             html::OpenDocument(Doc(s));
             return c.ReturnObject(static_cast<IDispatchEx*>(&s));
         }},
        {L"close", nullptr, nullptr,
         [](DispatchObject& s, Invocation& c) {
             html::CloseDocument(Doc(s));
             return c.ReturnEmpty();
         }},
        {L"activeElement", [](DispatchObject& s, Invocation& c) {
             dom::Document& d = Doc(s);
             return ReturnNode(c, d.ActiveElement() ? d.ActiveElement() : d.Body());
         }},
        {L"elementFromPoint", nullptr, nullptr,
         [](DispatchObject& s, Invocation& c) {
             return ReturnNode(c, layout::ElementFromPoint(Doc(s), c.Integer(0), c.Integer(1)));
         }},
        {L"styleSheets", [](DispatchObject& s, Invocation& c) {
             return c.ReturnObject(MakeDispatch<HTMLStyleSheetList>(Doc(s)).Get());
         }},
        {L"createStyleSheet", nullptr, nullptr, [](DispatchObject& s, Invocation& c) {
             return c.ReturnObject(CreateStyleSheet(Doc(s), c.Text(0)).Get());
         }},
        {L"selection", [](DispatchObject& s, Invocation& c) {
             return c.ReturnObject(MakeDispatch<HTMLSelectionObject>(Doc(s)).Get());
         }},
        {L"nodeType", [](DispatchObject&, Invocation& c) { return c.ReturnInteger(9); }},
        {L"nodeName", [](DispatchObject&, Invocation& c) { return c.ReturnText(L"#document"); }},
        {L"parentNode", [](DispatchObject&, Invocation& c) { return c.ReturnNull(); }},
        {L"firstChild", [](DispatchObject& s, Invocation& c) { return ReturnNode(c, Doc(s).FirstChild()); }},
        {L"lastChild", [](DispatchObject& s, Invocation& c) { return ReturnNode(c, Doc(s).LastChild()); }},
        {L"compatMode", [](DispatchObject&, Invocation& c) { return c.ReturnText(L"BackCompat"); }},
        {L"designMode", [](DispatchObject&, Invocation& c) { return c.ReturnText(L"Off"); }},
        {L"execCommand", nullptr, nullptr, [](DispatchObject& s, Invocation& c) { return ExecuteDocumentCommand(Doc(s), c); }},
        {L"queryCommandEnabled", nullptr, nullptr, [](DispatchObject&, Invocation& c) { return c.ReturnBool(false); }},
    }};
    return table;
}

bool HTMLDocument::HasDynamicMember(std::wstring_view name) const {
    return IsEventName(name) || !NamedElements(*document_, name).empty();
}

HRESULT HTMLDocument::InvokeDynamic(std::wstring_view name, Invocation& call) {
    if (IsEventName(name)) return InvokeDocumentHandler(*this, name, call);
    if (call.IsPut()) return DISP_E_MEMBERNOTFOUND;
    auto named = NamedElements(*document_, name);
    if (named.empty()) return DISP_E_MEMBERNOTFOUND;
    if (named.size() == 1) return ReturnNode(call, named.front());
    std::wstring n(name);
    return call.ReturnObject(CollectionObject(dom::ElementCollection(document_.get(), [n](dom::Node& root) {
                                                  return NamedElements(static_cast<dom::Document&>(root), n);
                                              })).Get());
}

ComPtr<IDispatch> DocumentObject(dom::Document& document) {
    // Scripts and the engine hold the document by its IDispatchEx table.
    if (auto* existing = dynamic_cast<HTMLDocument*>(document.Binding())) {
        return ComPtr<IDispatch>(static_cast<IDispatchEx*>(existing));
    }
    return ComPtr<IDispatch>(static_cast<IDispatchEx*>(MakeDispatch<HTMLDocument>(document).Get()));
}

dom::Node* DocumentNodeOf(DispatchObject* object) {
    auto* document = dynamic_cast<HTMLDocument*>(object);
    return document ? &document->Document() : nullptr;
}

}  // namespace corvalin::browser::om
