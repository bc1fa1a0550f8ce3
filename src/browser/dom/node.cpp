#include "browser/dom/node.h"

#include <vector>

#include "browser/dom/document.h"
#include "browser/dom/element.h"
#include "browser/dom/text_range.h"

namespace corvalin::browser::dom {

namespace {

std::size_t liveNodes = 0;   // the DOM lives on the UI thread only

// Nodes whose last reference went while a destruction is already running:
// the running loop takes them, so freeing never recurses.
std::vector<Node*>* destroyQueue = nullptr;

wchar_t LowerChar(wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; }
wchar_t UpperChar(wchar_t c) { return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c; }

}  // namespace

bool EqualsIgnoringCase(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (LowerChar(a[i]) != LowerChar(b[i])) return false;
    }
    return true;
}

std::wstring LowerAscii(std::wstring_view text) {
    std::wstring out(text);
    for (auto& c : out) c = LowerChar(c);
    return out;
}

std::wstring UpperAscii(std::wstring_view text) {
    std::wstring out(text);
    for (auto& c : out) c = UpperChar(c);
    return out;
}

std::wstring_view TrimHtmlSpace(std::wstring_view text) {
    while (!text.empty() && IsHtmlSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsHtmlSpace(text.back())) text.remove_suffix(1);
    return text;
}

std::wstring CollapseHtmlSpace(std::wstring_view text, bool noBreakSpaceToo) {
    std::wstring out;
    bool space = false;
    for (wchar_t c : text) {
        if (IsHtmlSpace(c) || (noBreakSpaceToo && c == 0xA0)) {
            space = true;
            continue;
        }
        if (space && !out.empty()) out += L' ';
        space = false;
        out += c;
    }
    return out;
}

Node::Node(NodeType type, Document* document) : type_(type), document_(document) {
    ++liveNodes;
    if (type_ != NodeType::Document) document_->AddRefTree();
}

Node::~Node() {
    delete std::exchange(binding_, nullptr);
    --liveNodes;
    if (type_ != NodeType::Document) {
        if (type_ == NodeType::Element) {
            document_->ActiveGone(static_cast<Element*>(this));
            if (document_->currentScript_ == this) document_->currentScript_ = nullptr;
        }
        document_->ReleaseTree();
    }
}

std::size_t Node::LiveCount() { return liveNodes; }

void Node::Release() {
    if (--refCount_ > 0) return;
    if (type_ == NodeType::Document) {
        auto* document = static_cast<Document*>(this);
        // The tree goes with the last outside reference; the document object
        // itself stays while nodes held elsewhere still point at it.
        ++refCount_;
        document->releasing_ = true;
        document->writeCursor_ = nullptr;
        document->hover_ = nullptr;
        document->selection_.reset();
        document->currentScript_ = nullptr;
        RemoveAllChildren();
        document->releasing_ = false;
        if (--refCount_ == 0 && document->treeRefs_ == 0) delete document;
        return;
    }
    Destroy(this);
}

void Node::Destroy(Node* node) {
    if (destroyQueue) {
        destroyQueue->push_back(node);
        return;
    }
    std::vector<Node*> queue{node};
    destroyQueue = &queue;
    while (!queue.empty()) {
        Node* n = queue.back();
        queue.pop_back();
        for (Node* c = n->firstChild_; c;) {
            Node* next = c->next_;
            c->parent_ = c->next_ = c->previous_ = nullptr;
            if (--c->refCount_ == 0) queue.push_back(c);
            c = next;
        }
        n->firstChild_ = n->lastChild_ = nullptr;
        delete n;
    }
    destroyQueue = nullptr;
}

void Node::SetData(std::wstring data) {
    data_ = std::move(data);
    document_->Changed(this);
}

void Node::AppendData(std::wstring_view more) {
    data_ += more;
    document_->Changed(this);
}

Element* Node::AsElement() { return IsElement() ? static_cast<Element*>(this) : nullptr; }
const Element* Node::AsElement() const { return IsElement() ? static_cast<const Element*>(this) : nullptr; }

Element* Node::ParentElement() const { return parent_ ? parent_->AsElement() : nullptr; }

std::size_t Node::ChildCount() const {
    std::size_t n = 0;
    for (Node* c = firstChild_; c; c = c->next_) ++n;
    return n;
}

Node* Node::ChildAt(std::size_t index) const {
    Node* c = firstChild_;
    while (c && index > 0) {
        c = c->next_;
        --index;
    }
    return c;
}

bool Node::Contains(const Node* other) const {
    for (const Node* n = other; n; n = n->parent_) {
        if (n == this) return true;
    }
    return false;
}

bool Node::AppendChild(const Ref<Node>& child) { return InsertBefore(child, nullptr); }

bool Node::Precedes(const Node& other) const {
    if (this == &other) return false;
    std::vector<const Node*> mine, theirs;
    for (const Node* n = this; n; n = n->parent_) mine.push_back(n);
    for (const Node* n = &other; n; n = n->parent_) theirs.push_back(n);
    // Walk down from the common root to where the two paths part.
    auto a = mine.rbegin(), b = theirs.rbegin();
    if (*a != *b) return false;   // different trees
    while (a + 1 != mine.rend() && b + 1 != theirs.rend() && *(a + 1) == *(b + 1)) ++a, ++b;
    if (a + 1 == mine.rend()) return true;     // this is an ancestor of other
    if (b + 1 == theirs.rend()) return false;  // other is an ancestor of this
    // Siblings under the common ancestor: walk from both ends at once.
    const Node* x = *(a + 1);
    const Node* y = *(b + 1);
    for (const Node *forward = x, *backward = x; forward || backward;) {
        if (forward && (forward = forward->next_) == y) return true;
        if (backward && (backward = backward->previous_) == y) return false;
    }
    return false;
}

bool Node::InsertBefore(const Ref<Node>& child, Node* reference) {
    // Only a node with children can hold this one: a leaf needs no walk up
    // the ancestors (a tree built one node at a time stays linear at any depth).
    if (child && child->type_ == NodeType::DocumentFragment && child.get() != this) {
        // Its children move in, in order; the fragment stays, empty.
        if (reference && reference->parent_ != this) reference = nullptr;
        while (Node* c = child->firstChild_)
            if (!InsertBefore(c, reference)) return false;
        return true;
    }
    if (!child || child->type_ == NodeType::Document || child.get() == this ||
        (child->firstChild_ && child->Contains(this)))
        return false;
    if (type_ != NodeType::Element && type_ != NodeType::Document && type_ != NodeType::DocumentFragment) return false;
    if (reference && reference->parent_ != this) reference = nullptr;
    if (reference == child.get()) return true;
    Ref<Node> keep = child;
    if (child->parent_) child->parent_->Unlink(child.get());
    if (child->document_ != document_) {
        // Moving between documents: the subtree now belongs to ours.
        Document* from = child->document_;
        for (Node* n = child.get(); n; n = n->NextInTree(child.get())) {
            n->document_ = document_;
            document_->AddRefTree();
            from->ReleaseTree();
        }
    }
    Node* c = child.get();
    c->parent_ = this;
    ++c->refCount_;
    if (reference) {
        c->next_ = reference;
        c->previous_ = reference->previous_;
        if (reference->previous_) reference->previous_->next_ = c;
        else firstChild_ = c;
        reference->previous_ = c;
    } else {
        c->previous_ = lastChild_;
        c->next_ = nullptr;
        if (lastChild_) lastChild_->next_ = c;
        else firstChild_ = c;
        lastChild_ = c;
    }
    if (connected_) document_->Connect(*c);
    document_->Changed(this);
    return true;
}

void Node::Unlink(Node* child) {
    if (child->connected_) document_->Disconnect(*child);
    if (child->previous_) child->previous_->next_ = child->next_;
    else firstChild_ = child->next_;
    if (child->next_) child->next_->previous_ = child->previous_;
    else lastChild_ = child->previous_;
    child->parent_ = child->next_ = child->previous_ = nullptr;
    document_->Changed(this);
    child->Release();
}

void Node::RemoveChild(Node* child) {
    if (child && child->parent_ == this) Unlink(child);
}

void Node::Remove() {
    if (parent_) parent_->Unlink(this);
}

void Node::RemoveAllChildren() {
    while (lastChild_) Unlink(lastChild_);
}

Node* Node::NextInTree(const Node* root) const {
    if (firstChild_) return firstChild_;
    return NextSkippingChildren(root);
}

Node* Node::NextSkippingChildren(const Node* root) const {
    for (const Node* n = this; n && n != root; n = n->parent_) {
        if (n->next_) return n->next_;
    }
    return nullptr;
}

std::wstring Node::TextContent() const {
    if (type_ == NodeType::Text || type_ == NodeType::Comment) return data_;
    std::wstring out;
    for (const Node* n = firstChild_; n; n = n->NextInTree(this)) {
        if (n->type_ == NodeType::Text) out += n->data_;
    }
    return out;
}

Text::Text(Document& document, std::wstring data) : Node(NodeType::Text, &document) { data_ = std::move(data); }

Ref<Text> Text::Create(Document& document, std::wstring data) { return Ref<Text>(new Text(document, std::move(data))); }

DocumentFragment::DocumentFragment(Document& document) : Node(NodeType::DocumentFragment, &document) {}

Ref<DocumentFragment> DocumentFragment::Create(Document& document) {
    return Ref<DocumentFragment>(new DocumentFragment(document));
}

Comment::Comment(Document& document, std::wstring data) : Node(NodeType::Comment, &document) {
    data_ = std::move(data);
}

Ref<Comment> Comment::Create(Document& document, std::wstring data) {
    return Ref<Comment>(new Comment(document, std::move(data)));
}

Ref<Node> CloneNode(Node& source, bool deep) {
    Document& document = source.OwnerDocument();
    auto copyOne = [&](const Node& n) -> Ref<Node> {
        if (const Element* e = n.AsElement()) {
            Ref<Element> c = Element::Create(document, e->LocalName());
            for (const auto& a : e->Attributes()) c->SetAttribute(a.name, a.value);
            return c;
        }
        if (n.IsText()) return document.CreateTextNode(n.Data());
        return Comment::Create(document, n.Data());
    };
    Ref<Node> root = copyOne(source);
    if (!deep) return root;
    std::vector<std::pair<const Node*, Node*>> stack{{&source, root.get()}};
    while (!stack.empty()) {
        auto [from, to] = stack.back();
        stack.pop_back();
        for (Node* c = from->FirstChild(); c; c = c->NextSibling()) {
            Ref<Node> copy = copyOne(*c);
            to->AppendChild(copy);
            if (c->HasChildren()) stack.emplace_back(c, copy.get());
        }
    }
    return root;
}

}  // namespace corvalin::browser::dom
