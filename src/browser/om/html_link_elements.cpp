// Links, images, scripts (and style/title, which share `text`), frames.
#include "browser/layout/geometry.h"
#include "browser/net/url.h"
#include "browser/om/document_object_host.h"
#include "browser/om/html_elements.h"
#include "browser/om/node_objects.h"

namespace corvalin::browser::om {

namespace {

using dom::Element;

HRESULT Url(DispatchObject& s, Invocation& c, const wchar_t* name) {
    return c.ReturnText(ElementOf(s).ResolvedUrlAttribute(name));
}

// Parts of the link's resolved address (protocol, host, pathname...).
std::wstring UrlPart(const Element& e, int part) {
    std::wstring url = e.ResolvedUrlAttribute(L"href");
    std::size_t colon = url.find(L':');
    if (part == 0) return colon == std::wstring::npos ? L"" : url.substr(0, colon + 1);
    if (part == 1) return UrlHost(url);
    std::size_t start = url.find(L"//");
    start = start == std::wstring::npos ? 0 : url.find(L'/', start + 2);
    if (start == std::wstring::npos) return part == 2 ? L"/" : L"";
    std::size_t hash = url.find(L'#', start);
    std::size_t query = url.find(L'?', start);
    if (query > hash) query = std::wstring::npos;
    if (part == 2) return url.substr(start, std::min(query, hash) - start);
    if (part == 3) return query == std::wstring::npos ? L"" : url.substr(query, hash == std::wstring::npos ? std::wstring::npos : hash - query);
    return hash == std::wstring::npos ? L"" : url.substr(hash);
}

HRESULT ContentDocument(DispatchObject& s, Invocation& c) {
    dom::Document* inner = ElementOf(s).ContentDocument();
    if (!inner) return c.ReturnNull();
    return c.ReturnObject(DocumentObject(*inner).Get());
}

}  // namespace

const MemberTable& HTMLAnchorElement::Members() const {
    static const MemberTable table{{
        {L"href", [](DispatchObject& s, Invocation& c) { return Url(s, c, L"href"); },
         [](DispatchObject& s, Invocation& c) { return PutAttribute(s, c, L"href"); }},
        {L"target", [](DispatchObject& s, Invocation& c) { return TextAttribute(s, c, L"target"); },
         [](DispatchObject& s, Invocation& c) { return PutAttribute(s, c, L"target"); }},
        {L"rel", [](DispatchObject& s, Invocation& c) { return TextAttribute(s, c, L"rel"); }},
        {L"type", [](DispatchObject& s, Invocation& c) { return TextAttribute(s, c, L"type"); }},
        {L"protocol", [](DispatchObject& s, Invocation& c) { return c.ReturnText(UrlPart(ElementOf(s), 0)); }},
        {L"hostname", [](DispatchObject& s, Invocation& c) { return c.ReturnText(UrlPart(ElementOf(s), 1)); }},
        {L"pathname", [](DispatchObject& s, Invocation& c) { return c.ReturnText(UrlPart(ElementOf(s), 2)); }},
        {L"search", [](DispatchObject& s, Invocation& c) { return c.ReturnText(UrlPart(ElementOf(s), 3)); }},
        {L"hash", [](DispatchObject& s, Invocation& c) { return c.ReturnText(UrlPart(ElementOf(s), 4)); }},
        {L"host", [](DispatchObject& s, Invocation& c) {
             UrlParts parts;
             ParseUrl(ElementOf(s).ResolvedUrlAttribute(L"href"), parts);
             return c.ReturnText(UrlHostWithPort(parts));
         }},
        {L"port", [](DispatchObject& s, Invocation& c) {
             UrlParts parts;
             ParseUrl(ElementOf(s).ResolvedUrlAttribute(L"href"), parts);
             return c.ReturnText(parts.port);
         }},
    }, &ElementMembers()};
    return table;
}

HRESULT HTMLAnchorElement::InvokeValue(Invocation& call) {
    // A link read as a value is its address.
    if (call.IsPut() || call.Count() > 0) return DISP_E_MEMBERNOTFOUND;
    return call.ReturnText(DomElement().ResolvedUrlAttribute(L"href"));
}

const MemberTable& HTMLImageElement::Members() const {
    static const MemberTable table{{
        {L"src", [](DispatchObject& s, Invocation& c) { return Url(s, c, L"src"); },
         [](DispatchObject& s, Invocation& c) { return PutAttribute(s, c, L"src"); }},
        {L"alt", [](DispatchObject& s, Invocation& c) { return TextAttribute(s, c, L"alt"); },
         [](DispatchObject& s, Invocation& c) { return PutAttribute(s, c, L"alt"); }},
        {L"border", [](DispatchObject& s, Invocation& c) { return TextAttribute(s, c, L"border"); },
         [](DispatchObject& s, Invocation& c) { return PutAttribute(s, c, L"border"); }},
        {L"width", [](DispatchObject& s, Invocation& c) { return c.ReturnInteger(layout::DisplayedSize(ElementOf(s)).cx); },
         [](DispatchObject& s, Invocation& c) { return PutAttribute(s, c, L"width"); }},
        {L"height", [](DispatchObject& s, Invocation& c) { return c.ReturnInteger(layout::DisplayedSize(ElementOf(s)).cy); },
         [](DispatchObject& s, Invocation& c) { return PutAttribute(s, c, L"height"); }},
        {L"complete", [](DispatchObject& s, Invocation& c) { return c.ReturnBool(layout::ImageReadyState(ElementOf(s)) == L"complete"); }},
        {L"readyState", [](DispatchObject& s, Invocation& c) { return c.ReturnText(layout::ImageReadyState(ElementOf(s))); }},
        {L"useMap", [](DispatchObject& s, Invocation& c) { return TextAttribute(s, c, L"usemap"); }},
    }, &ElementMembers()};
    return table;
}

const MemberTable& HTMLScriptElement::Members() const {
    static const MemberTable table{{
        {L"text", [](DispatchObject& s, Invocation& c) { return c.ReturnText(ElementOf(s).TextContent()); },
         [](DispatchObject& s, Invocation& c) {
             Element& e = ElementOf(s);
             e.RemoveAllChildren();
             e.AppendChild(e.OwnerDocument().CreateTextNode(c.ValueText()));
             return S_OK;
         }},
        {L"src", [](DispatchObject& s, Invocation& c) { return Url(s, c, L"src"); },
         [](DispatchObject& s, Invocation& c) { return PutAttribute(s, c, L"src"); }},
        {L"type", [](DispatchObject& s, Invocation& c) { return TextAttribute(s, c, L"type"); },
         [](DispatchObject& s, Invocation& c) { return PutAttribute(s, c, L"type"); }},
        {L"language", [](DispatchObject& s, Invocation& c) { return TextAttribute(s, c, L"language"); }},
        {L"defer", [](DispatchObject& s, Invocation& c) { return c.ReturnBool(ElementOf(s).HasAttribute(L"defer")); }},
        {L"charset", [](DispatchObject& s, Invocation& c) { return TextAttribute(s, c, L"charset"); }},
    }, &ElementMembers()};
    return table;
}

const MemberTable& HTMLFrameElement::Members() const {
    static const MemberTable table{{
        {L"src", [](DispatchObject& s, Invocation& c) { return Url(s, c, L"src"); },
         [](DispatchObject& s, Invocation& c) { return PutAttribute(s, c, L"src"); }},
        {L"width", [](DispatchObject& s, Invocation& c) { return TextAttribute(s, c, L"width"); }},
        {L"height", [](DispatchObject& s, Invocation& c) { return TextAttribute(s, c, L"height"); }},
        {L"frameBorder", [](DispatchObject& s, Invocation& c) { return TextAttribute(s, c, L"frameborder"); }},
        {L"scrolling", [](DispatchObject& s, Invocation& c) { return TextAttribute(s, c, L"scrolling"); }},
        // The page inside: what frames.item(i).document reaches. Null until loaded.
        {L"contentDocument", ContentDocument},
        {L"document", ContentDocument},
        {L"contentWindow", [](DispatchObject& s, Invocation& c) {
             dom::Document* inner = ElementOf(s).ContentDocument();
             auto* host = inner ? dynamic_cast<DocumentObjectHost*>(inner->Host()) : nullptr;
             return c.ReturnObject(host ? host->WindowObject().Get() : nullptr);
         }},
    }, &ElementMembers()};
    return table;
}

}  // namespace corvalin::browser::om
