// The node tree of a page: plain C++ over UTF-16 text, free of COM.
//
// Ownership: every node is reference counted. A parent holds one reference on
// each of its children; a child points back to its parent without a
// reference. Outside holders (bindings, the host, tests) use Ref<T>. A node
// that is not the document keeps its document object in memory (not its tree):
// when the last outside reference to the document goes, the document drops its
// children, and the document object itself is freed once no node of it is left.
// Freeing never recurses, so a tree of any depth can go.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

namespace corvalin::browser::dom {

class Document;
class Element;

enum class NodeType { Element = 1, Text = 3, Comment = 8, Document = 9, DocumentFragment = 11 };

// An owning reference to a node (or to anything with AddRef/Release).
template <class T>
class Ref {
public:
    Ref() = default;
    Ref(std::nullptr_t) {}
    Ref(T* p) : p_(p) { if (p_) p_->AddRef(); }
    Ref(const Ref& o) : Ref(o.p_) {}
    template <class U>
    Ref(const Ref<U>& o) : Ref(o.get()) {}
    Ref(Ref&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    Ref& operator=(Ref o) noexcept { std::swap(p_, o.p_); return *this; }
    ~Ref() { if (p_) p_->Release(); }
    T* get() const { return p_; }
    T* operator->() const { return p_; }
    T& operator*() const { return *p_; }
    explicit operator bool() const { return p_ != nullptr; }
    friend bool operator==(const Ref& a, const Ref& b) { return a.p_ == b.p_; }
    // Takes over a reference the caller already counted.
    static Ref Adopt(T* p) { Ref r; r.p_ = p; return r; }

private:
    T* p_ = nullptr;
};

// What a binding object leaves on its node so the same node always answers
// with the same binding (identity and expandos stay). A live binding holds
// its node; one still left on a node when the node goes is one that nobody
// holds, kept for reuse, and the node frees it.
class NodeBinding {
public:
    virtual ~NodeBinding() = default;
};

class Node {
public:
    Node(const Node&) = delete;
    Node& operator=(const Node&) = delete;

    void AddRef() { ++refCount_; }
    void Release();

    NodeType Type() const { return type_; }
    bool IsElement() const { return type_ == NodeType::Element; }
    bool IsText() const { return type_ == NodeType::Text; }
    Element* AsElement();
    const Element* AsElement() const;

    Node* Parent() const { return parent_; }
    Element* ParentElement() const;
    Node* FirstChild() const { return firstChild_; }
    Node* LastChild() const { return lastChild_; }
    Node* NextSibling() const { return next_; }
    Node* PreviousSibling() const { return previous_; }
    bool HasChildren() const { return firstChild_ != nullptr; }
    std::size_t ChildCount() const;
    Node* ChildAt(std::size_t index) const;

    // The document this node belongs to (the document itself for a document).
    Document& OwnerDocument() const { return *document_; }

    // Tree changes. A node inserted elsewhere is first taken out of its old
    // place. Inserting a node into itself or its own descendant does nothing
    // and returns false.
    bool AppendChild(const Ref<Node>& child);
    bool InsertBefore(const Ref<Node>& child, Node* reference);
    void RemoveChild(Node* child);
    void Remove();              // takes this node out of its parent
    void RemoveAllChildren();

    // Walk in document order below `root` (excluding root): the node after
    // this one, or nullptr after the last descendant of root.
    Node* NextInTree(const Node* root) const;
    Node* NextSkippingChildren(const Node* root) const;
    bool Contains(const Node* other) const;   // other is this node or inside it
    // In its document's tree (the document itself, or below it).
    bool IsConnected() const { return connected_; }
    // This node comes before `other` in document order (both in one tree).
    bool Precedes(const Node& other) const;

    // Text of a text or comment node (empty for other nodes).
    const std::wstring& Data() const { return data_; }
    void SetData(std::wstring data);
    void AppendData(std::wstring_view more);

    // All text content below this node in document order (textContent).
    std::wstring TextContent() const;

    NodeBinding* Binding() const { return binding_; }
    void SetBinding(NodeBinding* binding) { binding_ = binding; }

    // Nodes in memory right now, over all documents (for leak checks).
    static std::size_t LiveCount();

protected:
    Node(NodeType type, Document* document);
    virtual ~Node();
    std::wstring data_;   // text and comment content

private:
    friend class Document;
    void Unlink(Node* child);
    static void Destroy(Node* node);

    NodeType type_;
    std::size_t refCount_ = 0;
    Document* document_;
    Node* parent_ = nullptr;
    Node* firstChild_ = nullptr;
    Node* lastChild_ = nullptr;
    Node* next_ = nullptr;
    Node* previous_ = nullptr;
    NodeBinding* binding_ = nullptr;
    bool connected_ = false;
};

class Text final : public Node {
public:
    static Ref<Text> Create(Document& document, std::wstring data);

private:
    Text(Document& document, std::wstring data);
};

// A holder of nodes outside the tree: inserting it inserts its children.
class DocumentFragment final : public Node {
public:
    static Ref<DocumentFragment> Create(Document& document);

private:
    explicit DocumentFragment(Document& document);
};

class Comment final : public Node {
public:
    static Ref<Comment> Create(Document& document, std::wstring data);

private:
    Comment(Document& document, std::wstring data);
};

// Visits the descendants of `root` in document order, without recursion, so a
// tree of any depth can be walked. `enter(node)` says whether to go into the
// node's children; `leave(node)` follows the children of every node entered.
template <class Enter, class Leave>
void WalkDescendants(const Node& root, Enter&& enter, Leave&& leave) {
    const Node* n = root.FirstChild();
    while (n) {
        const bool entered = enter(*n);
        if (entered && n->FirstChild()) {
            n = n->FirstChild();
            continue;
        }
        if (entered) leave(*n);
        for (;;) {
            if (n->NextSibling()) {
                n = n->NextSibling();
                break;
            }
            n = n->Parent();
            if (!n || n == &root) {
                n = nullptr;
                break;
            }
            leave(*n);
        }
    }
}

// A copy of `source` in its document, outside the tree: the element with its
// attributes (not its script state), and with `deep` all its descendants.
// Iterative, so any depth copies.
Ref<Node> CloneNode(Node& source, bool deep);

// ASCII case-insensitive comparison and lowering (names of tags, attributes,
// members and CSS properties).
bool EqualsIgnoringCase(std::wstring_view a, std::wstring_view b);
std::wstring LowerAscii(std::wstring_view text);
std::wstring UpperAscii(std::wstring_view text);

// HTML's white space (space, tab, line feed, carriage return, form feed) and
// a view without it at either end.
inline bool IsHtmlSpace(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\n' || c == L'\r' || c == L'\f'; }
std::wstring_view TrimHtmlSpace(std::wstring_view text);
// Runs of white space as one space, none at either end (a title, an option's
// text). `noBreakSpaceToo`: the no-break space counts as white space.
std::wstring CollapseHtmlSpace(std::wstring_view text, bool noBreakSpaceToo = false);

}  // namespace corvalin::browser::dom
