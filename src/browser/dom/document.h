// The document: root of the node tree, its address and facts about the load,
// lookups, and the entry points for user actions (click, events, submit).
#pragma once
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "browser/dom/element.h"
#include "browser/dom/document_host.h"
#include "browser/dom/element_collection.h"
#include "browser/dom/element_index.h"
#include "browser/dom/node.h"

namespace corvalin::browser::dom {

class DocumentHost;
class TextRange;

class Document final : public Node {
public:
    // An empty document (no children). The parser fills one (html/parser.h).
    static Ref<Document> Create(std::wstring url = L"about:blank");

    // The host runs handlers and carries out navigation; none by default
    // (events then run no handlers, default actions that need it do nothing).
    DocumentHost* Host() const { return host_; }
    void SetHost(DocumentHost* host) { host_ = host; }

    // When the page is replaced or its box goes: handlers assigned from script
    // hold script functions, which hold the script's window, which holds this
    // document: dropping them breaks that cycle so the page can free. The
    // host is dropped too; the tree itself stays for whoever still holds it.
    void ReleaseScriptObjects();

    const std::wstring& Url() const { return url_; }
    void SetUrl(std::wstring url) { url_ = std::move(url); }
    std::wstring Domain() const;                 // host name of the address
    std::wstring ResolveUrl(std::wstring_view relative) const;   // against Url() or <base href>

    const std::wstring& Charset() const { return charset_; }
    void SetCharset(std::wstring charset) { charset_ = std::move(charset); }
    std::uint64_t FileSize() const { return fileSize_; }
    void SetFileSize(std::uint64_t bytes) { fileSize_ = bytes; }
    // When the document was made, as the browser shows it: "MM/DD/YYYY hh:mm:ss".
    const std::wstring& LastModified() const { return lastModified_; }
    const std::wstring& ReadyState() const { return readyState_; }   // "loading", "interactive", "complete"
    void SetReadyState(std::wstring state) { readyState_ = std::move(state); }

    // Structure. Body() is the <body> (or the <frameset>); nullptr on an empty document.
    Element* DocumentElement() const;
    Element* Head() const;
    Element* Body() const;
    // Gives the tree the <html>, <head> and <body> that a browser always has.
    void EnsureStructure();

    std::wstring Title() const;
    void SetTitle(std::wstring_view title);

    Ref<Element> CreateElement(std::wstring_view tagName);
    Ref<Text> CreateTextNode(std::wstring text);

    // Lookups (document order). By id the browser takes a name as well: the
    // first element whose id or name is `id`.
    Element* GetElementById(std::wstring_view id) const;
    // Elements whose id or name is `name`, in document order (all("x")).
    std::vector<Element*> ElementsNamed(std::wstring_view name) const;
    ElementCollection GetElementsByTagName(std::wstring_view tagName) const;   // "*" for all
    ElementCollection GetElementsByName(std::wstring_view name) const;
    ElementCollection All() const;
    ElementCollection Forms() const;
    ElementCollection Images() const;
    ElementCollection Links() const;     // <a>/<area> with href
    ElementCollection Anchors() const;   // <a> with name
    ElementCollection Scripts() const;
    ElementCollection Frames() const;    // <frame>/<iframe>

    // Focus.
    Element* ActiveElement() const { return active_; }

    // The element under the mouse (it and its ancestors are hovered); none
    // while the mouse is outside the view.
    Element* HoverElement() const { return hover_.get(); }
    void SetHoverElement(Element* element) { hover_ = element; }
    bool IsHovered(const Element& element) const;
    // The addresses the box showing this document has shown, without their
    // fragments: links to them are visited. Shared with the box, which adds
    // to it as it navigates.
    using VisitedLinks = std::unordered_set<std::wstring>;
    void SetVisitedLinks(std::shared_ptr<const VisitedLinks> links);
    bool WasVisited(std::wstring_view resolvedUrl) const;

    // Events. Dispatch runs the handlers of the target and then of its
    // ancestors (bubbling) until one cancels bubbling; returns false when a
    // handler cancelled the default action.
    bool DispatchEvent(Element& target, std::wstring_view type);
    // The same for an event the caller filled in (keys and modifiers); its
    // target is set here.
    bool DispatchEvent(Element& target, Event& event);
    // Handlers attached to the document itself (document.attachEvent): they
    // run after an event bubbled past the root element.
    std::vector<std::pair<std::wstring, EventHandler>>& DocumentHandlers() { return documentHandlers_; }
    // Handlers assigned to the document's own properties from script
    // (document.onselectstart = f), one per event ("onselectstart"); they run
    // after the attached ones.
    EventHandler PropertyHandler(std::wstring_view name) const;
    void SetPropertyHandler(std::wstring_view name, EventHandler handler);
    std::vector<std::pair<std::wstring, EventHandler>>& PropertyHandlers() { return propertyHandlers_; }
    // fireEvent("onclick"): runs the handlers, no default action.
    bool FireEvent(Element& target, std::wstring_view eventName);
    // click(): handlers, then the default action unless cancelled.
    void Click(Element& target);
    // The form's data set and a submission through the host.
    FormSubmission BuildSubmission(Element& form, Element* submitter) const;
    void SubmitForm(Element& form, Element* submitter);
    void ResetForm(Element& form);

    // State of document.open/write/close (html/document_writer.h acts on it).
    // While a script of the load runs (the host sets it as the current
    // script), written markup goes in after it.
    Element* CurrentScript() const { return currentScript_; }
    void SetCurrentScript(Element* script) {
        currentScript_ = script;
        writeCursor_ = nullptr;
        writeStream_.clear();
        writeAnchor_ = nullptr;
    }
    bool OpenForWriting() const { return writing_; }
    void SetOpenForWriting(bool open) { writing_ = open; }
    std::wstring& WriteBuffer() { return written_; }
    // The last node written in after the current script.
    Node* WriteCursor() const { return writeCursor_.get(); }
    void SetWriteCursor(Node* node) { writeCursor_ = node; }
    // Markup the current script wrote that is still inside an element it
    // opened, and the node its nodes follow.
    std::wstring& WriteStream() { return writeStream_; }
    Node* WriteAnchor() const { return writeAnchor_.get(); }
    void SetWriteAnchor(Node* node) { writeAnchor_ = node; }

    // The user's selection (a range script selected); nullptr when none.
    TextRange* Selection() const { return selection_.get(); }
    void SetSelection(std::unique_ptr<TextRange> range);

    // Changes with every change of the tree (collections and the layout cache
    // by it). Versions are unique over all documents, so a cache never takes
    // one document for another.
    std::uint64_t Version() const { return version_; }
    // `where`: the node whose data or children changed, when known; changes
    // outside the tree do not concern the layout.
    void Changed(const Node* where = nullptr);

    // What live collections need to stay valid across writes that cannot
    // change their members. Stamps come from one counter shared by all
    // documents and by Version(), so a later change always has a larger one.
    static std::uint64_t CurrentStamp();
    // The last time an element entered or left the tree.
    std::uint64_t StructureStamp() const { return structureStamp_; }
    // The last write of the attribute (name in any case) on an element of the tree.
    std::uint64_t AttributeStamp(std::wstring_view name) const;
    // Elements that entered or left the tree in one step, in document order.
    // Only compared as addresses once they have left: they may be gone.
    struct MembershipChange {
        std::uint64_t stamp = 0;
        bool inserted = false;
        std::vector<Element*> elements;
    };
    // The changes after `stamp`, oldest first; false when some of them are no
    // longer remembered (a collection then walks the tree again).
    bool MembershipChangesSince(std::uint64_t stamp, std::vector<const MembershipChange*>& changes) const;
    // The connected elements of one tag (lower case), in document order.
    const std::vector<Element*>& ElementsByTag(std::wstring_view localName) const {
        return tagIndex_.ByTag(*this, localName);
    }

    // The view the document is shown in: the layout's width and height. A
    // document outside any window lays out in 800 by 600.
    long ViewWidth() const { return viewWidth_; }
    long ViewHeight() const { return viewHeight_; }
    void SetViewSize(long width, long height);
    // Style sheets of <link rel=stylesheet> once fetched, by resolved address.
    const std::wstring* LinkedStyleSheet(const std::wstring& url) const;
    void SetLinkedStyleSheet(const std::wstring& url, std::wstring text);
    // Changes with everything else the layout depends on besides the tree:
    // the view's size, fetched sheets and images.
    std::uint64_t LayoutInputsVersion() const { return inputsVersion_; }
    void LayoutInputsChanged();
    // The layout's cache, owned here so it lives and dies with the document.
    // It hears of each change of the tree before Changed(), so it can lay out
    // again only what a change touched; a change it does not hear of is
    // UnknownChange() (everything is laid out again).
    class Attachment {
    public:
        virtual ~Attachment() = default;
        virtual void AttributeChanged(Element&, std::wstring_view) {}
        virtual void TextChanged(Node&) {}
        virtual void Inserted(Node&) {}
        virtual void Removing(Node&) {}
        virtual void UnknownChange() {}
    };
    Attachment* LayoutAttachment() const { return layout_.get(); }
    void SetLayoutAttachment(std::unique_ptr<Attachment> layout) { layout_ = std::move(layout); }
    Attachment* ImageAttachment() const { return images_.get(); }
    void SetImageAttachment(std::unique_ptr<Attachment> images) { images_ = std::move(images); }

    void AddRefTree() { ++treeRefs_; }
    void ReleaseTree();

private:
    Document(std::wstring url);
    ~Document() override;
    friend class Node;
    friend class Element;
    // A subtree enters or leaves the tree: the id and name index follows.
    void Connect(Node& subtree);
    void Disconnect(Node& subtree);
    // An element of the tree changed an attribute: the id and name index and
    // the attribute stamps follow.
    void Reindex(Element& element, std::wstring_view attribute, const std::wstring* before, const std::wstring* after);
    using Index = std::unordered_map<std::wstring, std::vector<Element*>>;
    static void AddTo(Index& index, const std::wstring& key, Element* element);
    static void RemoveFrom(Index& index, const std::wstring& key, Element* element);
    std::vector<Element*> Named(std::wstring_view name, bool byName) const;
    void DefaultAction(Element& target);
    void ActiveGone(Element* element) { if (active_ == element) active_ = nullptr; }

    DocumentHost* host_ = nullptr;
    std::wstring url_;
    std::wstring charset_ = L"utf-8";
    std::uint64_t fileSize_ = 0;
    std::wstring readyState_ = L"complete";
    Element* active_ = nullptr;
    Ref<Element> hover_;
    std::shared_ptr<const VisitedLinks> visited_;
    Element* currentScript_ = nullptr;
    std::uint64_t version_ = 0;   // 0: never changed
    bool noted_ = false;          // the layout heard what the coming Changed() is about
    void RecordMembership(bool inserted, std::vector<Element*> elements);
    void AttributeWritten(std::wstring_view name);
    std::uint64_t structureStamp_ = 0;
    std::vector<std::pair<std::wstring, std::uint64_t>> attributeStamps_;   // few names: a list is faster than a map
    std::deque<MembershipChange> membershipChanges_;
    mutable ElementIndex tagIndex_;
    std::uint64_t membershipKnownAfter_ = 0;   // every change after this stamp is in the list
    std::size_t treeRefs_ = 0;     // nodes (other than the document) alive
    bool writing_ = false;
    bool releasing_ = false;   // the tree is being dropped; Node::Release frees us afterwards
    std::wstring written_;
    Ref<Node> writeCursor_;
    std::wstring writeStream_;
    Ref<Node> writeAnchor_;
    std::unique_ptr<TextRange> selection_;
    Index ids_;
    Index names_;
    std::wstring lastModified_;
    std::vector<std::pair<std::wstring, EventHandler>> documentHandlers_;
    std::vector<std::pair<std::wstring, EventHandler>> propertyHandlers_;
    long viewWidth_ = 800;
    long viewHeight_ = 600;
    std::uint64_t inputsVersion_ = 0;
    std::vector<std::pair<std::wstring, std::wstring>> linkedSheets_;
    std::unique_ptr<Attachment> layout_;
    std::unique_ptr<Attachment> images_;
};

}  // namespace corvalin::browser::dom
