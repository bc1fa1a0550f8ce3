#include "browser/om/html_control_range.h"

#include <algorithm>

#include "browser/om/clipboard_commands.h"
#include "browser/om/html_elements.h"

namespace corvalin::browser::om {

namespace {

dom::Element* ElementArgument(Invocation& call, std::size_t i) {
    auto* element = dynamic_cast<HTMLElement*>(AsDispatchObject(call.Object(i)));
    return element ? &element->DomElement() : nullptr;
}

}  // namespace

const MemberTable& HTMLControlRange::Members() const {
    using R = HTMLControlRange;
    static const MemberTable table{{
        {L"length", &Bind<R, &R::Length>},
        {L"item", &Bind<R, &R::Item>, nullptr, &Bind<R, &R::Item>},
        {L"add", nullptr, nullptr, &Bind<R, &R::Add>},
        {L"addElement", nullptr, nullptr, &Bind<R, &R::Add>},
        {L"remove", nullptr, nullptr, &Bind<R, &R::Remove>},
        {L"execCommand", nullptr, nullptr, &Bind<R, &R::ExecCommand>},
        {L"queryCommandEnabled", nullptr, nullptr, &Bind<R, &R::QueryCommandEnabled>},
        {L"commonParentElement", nullptr, nullptr, &Bind<R, &R::CommonParentElement>},
    }};
    return table;
}

HRESULT HTMLControlRange::InvokeValue(Invocation& call) { return Item(call); }

HRESULT HTMLControlRange::Length(Invocation& call) { return call.ReturnInteger(static_cast<long>(elements_.size())); }

HRESULT HTMLControlRange::Item(Invocation& call) {
    const long index = call.Integer(0, -1);
    if (index < 0 || index >= static_cast<long>(elements_.size())) return call.ReturnNull();
    return ReturnNode(call, elements_[static_cast<std::size_t>(index)].get());
}

// Only elements of the range's own document join it, each once.
HRESULT HTMLControlRange::Add(Invocation& call) {
    dom::Element* element = ElementArgument(call, 0);
    if (!element || &element->OwnerDocument() != document_.get()) return E_INVALIDARG;
    if (std::none_of(elements_.begin(), elements_.end(), [&](const auto& e) { return e.get() == element; }))
        elements_.emplace_back(element);
    return call.ReturnEmpty();
}

HRESULT HTMLControlRange::Remove(Invocation& call) {
    const long index = call.Integer(0, -1);
    if (index < 0 || index >= static_cast<long>(elements_.size())) return E_INVALIDARG;
    elements_.erase(elements_.begin() + index);
    return call.ReturnEmpty();
}

// "copy" puts the first picture of the range on the clipboard; the result
// says whether it did. Every other command is refused.
HRESULT HTMLControlRange::ExecCommand(Invocation& call) {
    if (!dom::EqualsIgnoringCase(call.Text(0), L"copy") || elements_.empty()) return call.ReturnBool(false);
    return call.ReturnBool(CopyPictureToClipboard(*elements_.front()));
}

HRESULT HTMLControlRange::QueryCommandEnabled(Invocation& call) {
    return call.ReturnBool(dom::EqualsIgnoringCase(call.Text(0), L"copy") && !elements_.empty());
}

HRESULT HTMLControlRange::CommonParentElement(Invocation& call) {
    if (elements_.empty()) return call.ReturnNull();
    dom::Element* common = elements_.front()->ParentElement();
    for (const auto& e : elements_)
        while (common && !common->Contains(e.get())) common = common->ParentElement();
    return ReturnNode(call, common);
}

}  // namespace corvalin::browser::om
