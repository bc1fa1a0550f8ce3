#include "browser/html/html_parser.h"

#include <libxml/HTMLparser.h>
#include <libxml/parserInternals.h>

#include <algorithm>
#include <cstring>
#include <mutex>
#include <unordered_set>

#include "base/text.h"
#include "browser/html/utf8.h"

namespace corvalin::browser::html {

namespace {

using dom::Document;
using dom::Element;
using dom::Node;
using dom::Ref;

bool IsTableStructure(const Element& e) {
    return e.Is(L"table") || e.Is(L"tbody") || e.Is(L"thead") || e.Is(L"tfoot") || e.Is(L"tr");
}

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

bool SameAsciiText(std::string_view text, std::size_t at, std::string_view lower) {
    if (at + lower.size() > text.size()) return false;
    for (std::size_t i = 0; i < lower.size(); ++i) {
        char c = text[at + i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != lower[i]) return false;
    }
    return true;
}

// The parser ends these when a paragraph or <center> starts inside them; the
// browser keeps their formatting on the new block's content.
bool IsCarriedFormatting(std::wstring_view tag) {
    return tag == L"b" || tag == L"i" || tag == L"u" || tag == L"s" || tag == L"tt" || tag == L"big" ||
           tag == L"small" || tag == L"strike" || tag == L"font";
}

bool EndsImpliedBody(std::wstring_view tag) {
    return tag == L"tbody" || tag == L"thead" || tag == L"tfoot" || tag == L"caption" || tag == L"colgroup" ||
           tag == L"col";
}

// Builds our tree from the parser's events. libxml2 closes implied and
// unclosed elements with end events of their own, so an explicit stack of
// open elements is all it takes (no recursion at any depth).
class TreeBuilder {
public:
    TreeBuilder(Document& document, Node& container, std::vector<std::wstring> wrappers = {})
        : document_(document), wrappers_(std::move(wrappers)) {
        open_.push_back(&container);
    }

    void StartElement(const xmlChar* name, const xmlChar** attributes, bool fromMarkup) {
        std::wstring tag = Utf8ToWide(reinterpret_cast<const char*>(name));
        const std::vector<Element*> carried = std::move(carried_);
        carried_.clear();
        // The parser puts text it finds outside any element (after the head's
        // content, after </body>) in a <p> of its own; the browser puts that
        // text straight into the body, so the <p> only marks the open stack.
        if (tag == L"p" && !attributes && !fromMarkup) {
            impliedParagraphs_.push_back(open_.size());
            open_.push_back(open_.back());
            return;
        }
        if (nextWrapper_ < wrappers_.size()) {
            // The markup we put around a fragment stands for its container.
            if (wrappers_[nextWrapper_] == tag) {
                ++nextWrapper_;
                return;
            }
            nextWrapper_ = wrappers_.size();
        }
        if (fragment_ && open_.size() == 1 && (tag == L"html" || tag == L"body" || tag == L"head")) return;
        // After </html> the parser starts a second <html>; what follows it
        // belongs at the end of the body.
        if (!fragment_ && open_.size() == 1 && tag == L"html" && document_.DocumentElement()) {
            Element* body = document_.Body();
            open_.push_back(body ? static_cast<Node*>(body) : document_.DocumentElement());
            return;
        }
        Ref<Element> e = Element::Create(document_, tag);
        if (attributes) {
            // The first of duplicates counts; a set keeps that linear in their number.
            std::unordered_set<std::wstring> seen;
            for (const xmlChar** a = attributes; a[0]; a += 2) {
                std::wstring attrName = dom::LowerAscii(Utf8ToWide(reinterpret_cast<const char*>(a[0])));
                if (attrName.empty() || !seen.insert(attrName).second) continue;
                e->AddParsedAttribute(std::move(attrName),
                                      a[1] ? Utf8ToWide(reinterpret_cast<const char*>(a[1])) : std::wstring());
            }
        }
        // A row straight inside a table gets the body section the browser
        // implies; the parser never saw it, so the next section ends it.
        if (tag == L"tr") {
            if (Element* table = open_.back()->AsElement(); table && table->Is(L"table")) {
                Ref<Element> body = Element::Create(document_, L"tbody");
                table->AppendChild(body);
                open_.push_back(body.get());
                impliedBody_ = body.get();
            }
        } else if (impliedBody_ && open_.back() == impliedBody_ && EndsImpliedBody(tag)) {
            open_.pop_back();
            impliedBody_ = nullptr;
        }
        open_.back()->AppendChild(e);
        open_.push_back(e.get());
        // Copies of the formatting the parser ended for this block, outermost
        // first; they end with the block.
        if (fromMarkup && (tag == L"p" || tag == L"center")) {
            for (auto it = carried.rbegin(); it != carried.rend(); ++it) {
                Ref<Node> copy = dom::CloneNode(**it, false);
                open_.back()->AppendChild(copy);
                open_.push_back(copy.get());
                copies_.push_back(copy.get());
            }
        }
    }

    // `closedBy` names the start tag whose arrival ends the element, if any.
    void EndElement(const xmlChar* name, bool atEndOfInput, std::string_view closedBy) {
        std::wstring tag = Utf8ToWide(reinterpret_cast<const char*>(name));
        if (closedBy.empty()) carried_.clear();
        for (std::size_t i = open_.size(); i > 1; --i) {
            const bool implied = !impliedParagraphs_.empty() && impliedParagraphs_.back() == i - 1;
            Element* e = open_[i - 1]->AsElement();
            if (implied ? tag == L"p" : e && e->LocalName() == tag) {
                if (!implied && (closedBy == "p" || closedBy == "center") && IsCarriedFormatting(tag)) {
                    carried_.push_back(e);
                }
                leftOpen_ = leftOpen_ || atEndOfInput;
                open_.resize(i - 1);
                while (!copies_.empty() && std::find(open_.begin(), open_.end(), copies_.back()) == open_.end()) {
                    copies_.pop_back();
                }
                while (!impliedParagraphs_.empty() && impliedParagraphs_.back() >= open_.size()) impliedParagraphs_.pop_back();
                return;
            }
        }
    }

    void Characters(const xmlChar* text, int length) {
        carried_.clear();
        if (length <= 0) return;
        Node* parent = open_.back();
        std::wstring wide = Utf8ToWide(std::string_view(reinterpret_cast<const char*>(text), length));
        // Blanks between the parts of a table are no content of it.
        if (const Element* e = parent->AsElement(); e && IsTableStructure(*e) &&
            wide.find_first_not_of(L" \t\r\n\f") == std::wstring::npos)
            return;
        if (Node* last = parent->LastChild(); last && last->IsText()) {
            last->AppendData(wide);
            return;
        }
        parent->AppendChild(dom::Text::Create(document_, std::move(wide)));
    }

    void Whitespace(const xmlChar* text, int length) {
        // Blanks between the parts of <html> and <head> carry nothing.
        Element* e = open_.back()->AsElement();
        if (open_.size() == 1 && !fragment_) return;
        if (e && (e->Is(L"html") || e->Is(L"head"))) return;
        Characters(text, length);
    }

    void CommentNode(const xmlChar* text) {
        open_.back()->AppendChild(dom::Comment::Create(document_, Utf8ToWide(reinterpret_cast<const char*>(text))));
    }

    // The parser has already ended the elements the copies stand for, so it
    // passes over their end tags without a word; the markup it read since the
    // last event shows them. Only a copy with nothing of the parser's open
    // inside it ends there.
    void SeeEndTagsOfCopies(std::size_t readTo) {
        readTo = std::min(readTo, markup_.size());
        if (copies_.empty()) {
            read_ = readTo;
            return;
        }
        for (std::size_t at = markup_.find('<', read_); !copies_.empty() && at < readTo; at = markup_.find('<', at + 1)) {
            if (markup_.compare(at, 4, "<!--") == 0) {
                at = std::min(markup_.find("-->", at + 4), markup_.size());
                continue;
            }
            if (markup_.compare(at, 2, "</") != 0 || open_.back() != copies_.back()) continue;
            const std::string name = WideToUtf8(copies_.back()->AsElement()->LocalName());
            const std::size_t after = at + 2 + name.size();
            if (SameAsciiText(markup_, at + 2, name) && (after >= markup_.size() || !IsAsciiLetter(markup_[after]))) {
                open_.pop_back();
                copies_.pop_back();
            }
        }
        read_ = std::max(read_, readTo);
    }

    void SetMarkup(std::string_view markup) { markup_ = markup; }
    void SetFragment(bool fragment) { fragment_ = fragment; }
    bool LeftOpen() const { return leftOpen_; }

private:
    Document& document_;
    std::vector<std::wstring> wrappers_;
    std::size_t nextWrapper_ = 0;
    bool fragment_ = false;
    std::vector<Node*> open_;
    Node* impliedBody_ = nullptr;
    std::vector<std::size_t> impliedParagraphs_;   // places in open_ that stand for the parser's own <p>
    std::vector<Element*> carried_;   // formatting just ended by a starting block, innermost first
    std::vector<Node*> copies_;       // the copies of it still open, outermost first
    std::string_view markup_;         // what the parser reads
    std::size_t read_ = 0;            // how far SeeEndTagsOfCopies looked
    bool leftOpen_ = false;   // an element of the markup was closed only by the end of the input
};

// The builder, told first how far the parser has read.
TreeBuilder& BuilderOf(void* context) {
    const auto ctxt = static_cast<xmlParserCtxtPtr>(context);
    auto& builder = *static_cast<TreeBuilder*>(ctxt->_private);
    if (ctxt->input && ctxt->input->cur && ctxt->input->base) {
        builder.SeeEndTagsOfCopies(ctxt->input->consumed + static_cast<std::size_t>(ctxt->input->cur - ctxt->input->base));
    }
    return builder;
}

void OnStartElement(void* c, const xmlChar* name, const xmlChar** attributes) {
    // A tag of the markup is reported with the input at its closing '>' (or
    // "/>"); an element the parser supplies on its own, anywhere else.
    const xmlParserInputPtr input = static_cast<xmlParserCtxtPtr>(c)->input;
    const bool fromMarkup = input && input->cur && (*input->cur == '>' || *input->cur == '/');
    BuilderOf(c).StartElement(name, attributes, fromMarkup);
}
void OnEndElement(void* c, const xmlChar* name) {
    const xmlParserInputPtr input = static_cast<xmlParserCtxtPtr>(c)->input;
    if (!input || !input->cur || !input->base) {
        BuilderOf(c).EndElement(name, false, {});
        return;
    }
    const std::string endTag = "</" + std::string(reinterpret_cast<const char*>(name)) + ">";
    const std::size_t consumed = static_cast<std::size_t>(input->cur - input->base);
    const bool written = consumed >= endTag.size() &&
                         SameAsciiText(std::string_view(reinterpret_cast<const char*>(input->cur) - endTag.size(), endTag.size()), 0, endTag);
    // The end of the input closes what is still open; an end tag written last
    // closes its own element there too.
    const bool atEnd = *input->cur == 0 && !written;
    // Ended by a start tag the parser looks at: the input stands at its '<'.
    std::string closedBy;
    if (!written && input->cur[0] == '<') {
        for (const xmlChar* p = input->cur + 1; IsAsciiLetter(static_cast<char>(*p)); ++p) closedBy += static_cast<char>(*p | 0x20);
    }
    BuilderOf(c).EndElement(name, atEnd, closedBy);
}
void OnCharacters(void* c, const xmlChar* text, int length) { BuilderOf(c).Characters(text, length); }
void OnWhitespace(void* c, const xmlChar* text, int length) { BuilderOf(c).Whitespace(text, length); }
void OnComment(void* c, const xmlChar* text) { BuilderOf(c).CommentNode(text); }

void Silence(void*, const char*, ...) {}

void InitLibxml() {
    static std::once_flag once;
    std::call_once(once, [] { xmlInitParser(); });
}

// Where the start tag that begins at `at` ends (past its '>'), stepping over
// quoted attribute values; npos when it never ends.
std::size_t StartTagEnd(std::string_view markup, std::size_t at) {
    for (std::size_t i = at; i < markup.size(); ++i) {
        if (markup[i] == '>') return i + 1;
        if (markup[i] != '=') continue;
        std::size_t v = i + 1;
        while (v < markup.size() && (markup[v] == ' ' || markup[v] == '\t' || markup[v] == '\n' || markup[v] == '\r')) ++v;
        if (v < markup.size() && (markup[v] == '"' || markup[v] == '\'')) {
            const std::size_t close = markup.find(markup[v], v + 1);
            if (close == std::string_view::npos) return close;
            i = close;
        }
    }
    return std::string_view::npos;
}

bool IsAsciiAlphanumeric(char c) { return IsAsciiLetter(c) || (c >= '0' && c <= '9'); }

// Code points 128 to 159 in a numeric reference mean what those bytes mean in
// windows-1252, as the browser reads them; 0 for the rest.
unsigned Windows1252Reading(unsigned codePoint) {
    if (codePoint < 0x80 || codePoint > 0x9F) return 0;
    const std::wstring wide = DecodeCodePage(std::string(1, static_cast<char>(codePoint)), 1252);
    return wide.size() == 1 ? wide[0] : 0;
}

// Copies `text` to `out` with its character references put so the parser
// reads them as the browser does: a name it knows without the ';' (the
// Latin-1 names and amp, lt, gt, quot) gets its ';', and 128-159 become their
// windows-1252 characters. libxml2 decodes everything else itself. In a tag a
// name run on into '=' is left alone: that is a query parameter of a URL.
// Returns whether the text ends inside a tag.
bool AppendReadingReferences(std::string& out, std::string_view text, bool inTag) {
    char quote = 0;
    for (std::size_t i = 0; i < text.size();) {
        const char c = text[i];
        if (inTag) {
            if (quote) quote = c == quote ? 0 : quote;
            else if (c == '"' || c == '\'') quote = c;
            else if (c == '>') inTag = false;
        } else if (c == '<' && i + 1 < text.size() &&
                   (IsAsciiLetter(text[i + 1]) || text[i + 1] == '/' || text[i + 1] == '!' || text[i + 1] == '?')) {
            inTag = true;
        }
        if (c != '&') {
            // Up to the next character that matters in this state.
            const char* stops = !inTag ? "&<" : quote == '"' ? "&\"" : quote == '\'' ? "&'" : "&\"'>";
            const std::size_t next = std::min(text.find_first_of(stops, i + 1), text.size());
            out.append(text, i, next - i);
            i = next;
            continue;
        }
        if (i + 2 < text.size() && text[i + 1] == '#') {
            const bool hex = text[i + 2] == 'x' || text[i + 2] == 'X';
            std::size_t end = i + (hex ? 3 : 2);
            unsigned value = 0;
            for (; end < text.size() && value < 0x10000; ++end) {
                const char d = text[end];
                if (d >= '0' && d <= '9') value = value * (hex ? 16 : 10) + (d - '0');
                else if (hex && ((d >= 'a' && d <= 'f') || (d >= 'A' && d <= 'F'))) value = value * 16 + ((d | 0x20) - 'a' + 10);
                else break;
            }
            if (const unsigned reading = Windows1252Reading(value); reading && end > i + (hex ? 3 : 2)) {
                out += "&#" + std::to_string(reading) + ";";
                i = end < text.size() && text[end] == ';' ? end + 1 : end;
                continue;
            }
        } else {
            std::size_t end = i + 1;
            while (end < text.size() && IsAsciiAlphanumeric(text[end])) ++end;
            const bool runsIntoValue = inTag && end < text.size() && text[end] == '=';
            if (end > i + 1 && (end == text.size() || text[end] != ';') && !runsIntoValue) {
                const std::string name(text.substr(i + 1, end - i - 1));
                const htmlEntityDesc* entity = htmlEntityLookup(reinterpret_cast<const xmlChar*>(name.c_str()));
                if (entity && entity->value <= 0xFF) {
                    out += "&" + name + ";";
                    i = end;
                    continue;
                }
            }
        }
        out += c;
        ++i;
    }
    return inTag;
}

// Makes the markup read by the parser as the browser reads it: character
// references as above, and the content of <textarea> and <title>, which the
// parser reads as markup, escaped to text (references still count); <xmp>'s
// content stands as written. Script and style content and comments are passed
// over untouched.
std::string PrepareMarkup(const std::string& markup) {
    enum class Kind { Other, Raw, Text, Literal };
    std::string out;
    out.reserve(markup.size());
    std::size_t copied = 0;
    bool inTag = false;
    const auto copyReading = [&](std::size_t to) {
        inTag = AppendReadingReferences(out, std::string_view(markup).substr(copied, to - copied), inTag);
        copied = to;
    };
    const auto copyAsWritten = [&](std::size_t to) {
        out.append(markup, copied, to - copied);
        copied = to;
    };
    std::size_t i = 0;
    while ((i = markup.find('<', i)) != std::string::npos) {
        if (markup.compare(i, 4, "<!--") == 0) {
            const std::size_t end = markup.find("-->", i + 4);
            copyReading(i);
            if (end == std::string::npos) {
                copyAsWritten(markup.size());
                break;
            }
            copyAsWritten(end + 3);
            i = end + 3;
            continue;
        }
        std::size_t nameEnd = i + 1;
        while (nameEnd < markup.size() && IsAsciiLetter(markup[nameEnd])) ++nameEnd;
        const std::size_t nameLength = nameEnd - i - 1;
        Kind kind = Kind::Other;
        std::string_view name;
        for (const auto& [tag, k] : {std::pair<std::string_view, Kind>{"script", Kind::Raw}, {"style", Kind::Raw},
                                     {"textarea", Kind::Text}, {"title", Kind::Text}, {"xmp", Kind::Literal}}) {
            if (tag.size() == nameLength && SameAsciiText(markup, i + 1, tag)) {
                kind = k;
                name = tag;
            }
        }
        if (kind == Kind::Other || (nameEnd < markup.size() && (markup[nameEnd] == '-' || markup[nameEnd] == ':' ||
                                                                (markup[nameEnd] >= '0' && markup[nameEnd] <= '9')))) {
            i = nameEnd;
            continue;
        }
        const std::size_t contentStart = StartTagEnd(markup, nameEnd);
        if (contentStart == std::string::npos) break;
        std::size_t contentEnd = contentStart;
        while ((contentEnd = markup.find("</", contentEnd)) != std::string::npos &&
               !SameAsciiText(markup, contentEnd + 2, name))
            contentEnd += 2;
        if (contentEnd == std::string::npos) contentEnd = markup.size();
        copyReading(contentStart);
        inTag = false;
        if (kind == Kind::Raw) {
            copyAsWritten(contentEnd);
        } else {
            std::string content;
            for (std::size_t c = contentStart; c < contentEnd; ++c) {
                if (markup[c] == '<') content += "&lt;";
                else if (markup[c] == '&' && kind == Kind::Literal) content += "&amp;";
                else content += markup[c];
            }
            if (kind == Kind::Literal) out += content;
            else AppendReadingReferences(out, content, false);
            copied = contentEnd;
        }
        i = contentEnd;
    }
    copyReading(markup.size());
    return out;
}

void Parse(TreeBuilder& builder, std::string utf8) {
    InitLibxml();
    utf8 = PrepareMarkup(utf8);
    builder.SetMarkup(utf8);
    htmlParserCtxtPtr ctxt = htmlNewParserCtxt();
    if (!ctxt) return;
    htmlSAXHandler sax;
    std::memset(&sax, 0, sizeof(sax));
    sax.startElement = OnStartElement;
    sax.endElement = OnEndElement;
    sax.characters = OnCharacters;
    sax.cdataBlock = OnCharacters;
    sax.ignorableWhitespace = OnWhitespace;
    sax.comment = OnComment;
    sax.warning = Silence;
    sax.error = Silence;
    sax.initialized = 1;
    std::memcpy(ctxt->sax, &sax, sizeof(sax));
    ctxt->_private = &builder;
    ctxt->userData = ctxt;
    int options = HTML_PARSE_RECOVER | HTML_PARSE_NONET | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING |
                  HTML_PARSE_NODEFDTD | HTML_PARSE_IGNORE_ENC | XML_PARSE_HUGE;
    // The bytes are always ours: UTF-8, whatever the page declares.
    htmlDocPtr doc = htmlCtxtReadMemory(ctxt, utf8.empty() ? " " : utf8.data(),
                                        utf8.empty() ? 1 : static_cast<int>(utf8.size()), nullptr, "UTF-8", options);
    if (doc) xmlFreeDoc(doc);
    htmlFreeParserCtxt(ctxt);
}

// Markup that puts a fragment in the setting of its container, and how many
// elements of it to skip.
std::vector<std::wstring> FragmentSetting(const dom::Element* context) {
    if (context) {
        if (context->Is(L"select")) return {L"html", L"body", L"select"};
        if (context->Is(L"table")) return {L"html", L"body", L"table"};
        if (context->Is(L"tbody") || context->Is(L"thead") || context->Is(L"tfoot")) {
            return {L"html", L"body", L"table", L"tbody"};
        }
        if (context->Is(L"tr")) return {L"html", L"body", L"table", L"tbody", L"tr"};
    }
    return {L"html", L"body"};
}

}  // namespace

void ParseDocument(Document& document, std::wstring_view markup) {
    Ref<Document> keep(&document);
    document.RemoveAllChildren();
    TreeBuilder builder(document, document);
    Parse(builder, WideToUtf8(markup));
    document.EnsureStructure();
}

Ref<Document> ParseDocument(std::wstring_view markup, std::wstring url) {
    Ref<Document> document = Document::Create(std::move(url));
    ParseDocument(*document, markup);
    return document;
}

std::vector<Ref<Node>> ParseFragment(Document& document, std::wstring_view markup, const dom::Element* context,
                                     bool* leftOpen) {
    // A holder outside the tree collects the fragment's nodes.
    Ref<Element> holder = Element::Create(document, L"div");
    std::vector<std::wstring> setting = FragmentSetting(context);
    std::string prefix;
    for (const auto& tag : setting) prefix += "<" + WideToUtf8(tag) + ">";
    TreeBuilder builder(document, *holder, std::move(setting));
    builder.SetFragment(true);
    Parse(builder, prefix + WideToUtf8(markup));
    if (leftOpen) *leftOpen = builder.LeftOpen();
    std::vector<Ref<Node>> nodes;
    for (Node* c = holder->FirstChild(); c; c = c->NextSibling()) nodes.emplace_back(c);
    holder->RemoveAllChildren();
    return nodes;
}

}  // namespace corvalin::browser::html
