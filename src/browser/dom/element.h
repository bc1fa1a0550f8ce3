// Elements: tag, attributes in source order (names matched without regard to
// case), inline style, event handlers, and the state of form controls.
#pragma once
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "browser/dom/event.h"
#include "browser/dom/node.h"
#include "browser/dom/tag_kind.h"

namespace corvalin::browser::dom {

class ElementCollection;

// How an attribute name is matched: regardless of case (the browser's
// default), or exactly as given (its case-sensitive flag).
enum class NameCase { Ignored, Exact };

struct Attribute {
    std::wstring name;   // as written (the parser gives lower case)
    std::wstring value;
};

// One property of an inline style ("display" → "none"), CSS names in lower case.
struct StyleProperty {
    std::wstring name;
    std::wstring value;
};

class Element final : public Node {
public:
    static Ref<Element> Create(Document& document, std::wstring_view tagName);

    // Lower-case name ("input") and the upper-case one the page sees ("INPUT").
    const std::wstring& LocalName() const { return localName_; }
    std::wstring TagName() const;
    bool Is(std::wstring_view lowerName) const { return localName_ == lowerName; }
    TagKind Kind() const { return kind_; }

    // Attributes.
    const std::vector<Attribute>& Attributes() const { return attributes_; }
    const std::wstring* FindAttribute(std::wstring_view name, NameCase match = NameCase::Ignored) const;
    bool HasAttribute(std::wstring_view name) const { return FindAttribute(name) != nullptr; }
    std::wstring GetAttribute(std::wstring_view name) const;   // empty when absent
    // A new attribute takes the name in lower case, or as given when matched
    // exactly (so "Foo" and "foo" can be two attributes).
    void SetAttribute(std::wstring_view name, std::wstring value, NameCase match = NameCase::Ignored);
    bool RemoveAttribute(std::wstring_view name, NameCase match = NameCase::Ignored);
    // Appends without looking for an earlier one of the name (the parser has
    // already dropped duplicates).
    void AddParsedAttribute(std::wstring lowerName, std::wstring value);

    std::wstring Id() const { return GetAttribute(L"id"); }
    std::wstring Name() const { return GetAttribute(L"name"); }
    std::wstring ClassName() const { return GetAttribute(L"class"); }

    // An attribute holding an address ("href", "src", "action"), resolved
    // against the document's address; empty when absent.
    std::wstring ResolvedUrlAttribute(std::wstring_view name) const;

    // Inline style, kept in the "style" attribute. Names are CSS names
    // ("background-color"); camelCase names ("backgroundColor") are accepted.
    std::vector<StyleProperty> Style() const;
    std::wstring StyleValue(std::wstring_view name) const;
    void SetStyleValue(std::wstring_view name, std::wstring_view value);
    std::wstring StyleCssText() const;          // "DISPLAY: none; COLOR: red"
    void SetStyleCssText(std::wstring_view text);

    // Event handlers: one assigned from script wins over the attribute text.
    EventHandler Handler(std::wstring_view eventName) const;   // "click" or "onclick"
    void SetHandler(std::wstring_view eventName, EventHandler handler);
    void DropScriptHandlers();   // forgets handlers assigned from script

    // Plain text as the browser renders it: block elements on their own
    // lines, <br> as CR LF, runs of white space as one space.
    std::wstring InnerText() const;
    void SetInnerText(std::wstring_view text);   // line breaks become <br>
    void SetOuterText(std::wstring_view text);   // replaces the element itself

    // Form controls. `Type` is lower case ("text" by default for <input>,
    // "submit" for <button>, "select-one"/"select-multiple" for <select>,
    // "textarea" for <textarea>).
    std::wstring Type() const;
    std::wstring Value() const;           // input current value, textarea text, select/option value
    void SetValue(std::wstring_view value);
    std::wstring DefaultValue() const;
    bool Checked() const;
    void SetChecked(bool checked);        // a radio unchecks the rest of its group
    bool DefaultChecked() const { return HasAttribute(L"checked"); }
    bool Disabled() const { return HasAttribute(L"disabled"); }
    void SetDisabled(bool disabled);
    void ResetControl();                   // back to the markup's value/checked/selection
    // State the page or the user set, when it differs from the markup.
    const std::optional<std::wstring>& CurrentValue() const { return currentValue_; }
    const std::optional<bool>& CurrentChecked() const { return currentChecked_; }
    const std::optional<bool>& CurrentSelected() const { return currentSelected_; }
    Element* Form() const;                 // the form owning this control
    std::vector<Element*> RadioGroup() const;   // radios of the same name in the same form

    // Select boxes and options.
    std::vector<Element*> Options() const;      // <option>s of a <select>, in order
    int SelectedIndex() const;                  // -1 when none
    void SetSelectedIndex(int index);
    Element* OwnerSelect() const;               // for an <option>
    int OptionIndex() const;                    // for an <option>; -1 outside a select
    bool Selected() const;                      // for an <option>
    void SetSelected(bool selected);
    std::wstring OptionText() const;            // text with white space collapsed
    void SetOptionText(std::wstring_view text);
    // The option list of a <select> changed by script: add(option, before)
    // (-1 or past the end appends), remove(index), options[index] = option
    // (past the end pads with empty options; null removes), length = count.
    void AddOption(Element& option, long before);
    void RemoveOption(long index);
    void PutOption(std::size_t index, Element* option);
    void SetOptionCount(std::size_t count);

    // Tables.
    std::vector<Element*> Rows() const;     // <tr>s of a table (through thead/tbody/tfoot)
    std::vector<Element*> Cells() const;    // <td>/<th> of a row; of a table: all its cells
    int RowIndex() const;                   // for a <tr>: index among its table's rows
    int CellIndex() const;                  // for a cell: index among its row's cells

    // Forms.
    std::vector<Element*> FormElements() const;   // controls of a <form>, document order

    // Focus (the document remembers the focused element).
    void Focus();
    void Blur();

    // Index of this element in the document's `all` (document order), or -1.
    int SourceIndex() const;

    // Scroll offsets set by script (the layout clamps nothing: there is no viewport).
    long ScrollLeft() const { return scrollLeft_; }
    long ScrollTop() const { return scrollTop_; }
    void SetScrollPosition(long left, long top) { scrollLeft_ = left; scrollTop_ = top; }

    // The page inside a <frame>/<iframe>, once the host has loaded one.
    Document* ContentDocument() const;
    void SetContentDocument(Document* document);

    // Element children only.
    std::vector<Element*> ElementChildren() const;

    // Starts loading what a read of this element's properties touches (the
    // element, its attributes, its first child, its binding) without waiting
    // for it: a walk over many elements asks for the next ones ahead.
    void Prefetch() const;

private:
    Element(Document& document, std::wstring localName);
    friend class Document;

    std::wstring localName_;
    TagKind kind_ = TagKindOf(localName_);
    std::vector<Attribute> attributes_;
    std::vector<std::pair<std::wstring, EventHandler>> assignedHandlers_;
    // Control state that differs from the markup once the page or the user changed it.
    std::optional<std::wstring> currentValue_;
    std::optional<bool> currentChecked_;
    std::optional<bool> currentSelected_;
    bool selectionCleared_ = false;   // a single-choice <select> the page left with no option chosen
    Ref<Node> contentDocument_;   // a document (held as a node: no cycle, it is another tree)
    long scrollLeft_ = 0;
    long scrollTop_ = 0;
};

// Parses a declaration list ("color: red; margin: 0"): names in lower case, the
// last of a name wins unless an earlier one is !important and it is not, empty
// values drop it.
std::vector<StyleProperty> ParseStyleDeclarations(std::wstring_view text);
// Whether a declaration's value ends in "!important"; if so, takes that off.
bool SplitImportant(std::wstring_view& value);

// Elements that open a new line in rendered text.
bool IsBlockElement(std::wstring_view lowerName);
// Elements that never have content or an end tag (<br>, <input>, <img>...).
bool IsVoidElement(std::wstring_view lowerName);

}  // namespace corvalin::browser::dom
