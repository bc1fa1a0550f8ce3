#include "browser/html/text_range_markup.h"

#include <algorithm>

#include "browser/html/html_markup.h"
#include "browser/html/html_parser.h"

namespace corvalin::browser::html {

std::wstring RangeHtml(const dom::TextRange& range) {
    using dom::Node;
    const std::vector<dom::TextRange::NodeSpan> spans = range.CoveredSpans();
    if (spans.empty()) return {};
    // The innermost node holding every covered text, but never above the scope.
    const Node* scope = &range.Scope();
    const Node* common = spans.front().text->Parent();
    while (common && !common->Contains(spans.back().text)) common = common->Parent();
    if (!common || !scope->Contains(common)) common = scope;
    MarkupSlice slice;
    slice.textSlice = [&](const Node& text) -> std::pair<std::size_t, std::size_t> {
        for (const auto& span : spans) {
            if (span.text == &text) return {span.from, span.to};
        }
        return {0, 0};
    };
    slice.keep = [&](const dom::Element& element) {
        return std::any_of(spans.begin(), spans.end(), [&](const auto& span) { return element.Contains(span.text); });
    };
    return SliceHtml(*common, slice);
}

void PasteHtml(dom::TextRange& range, std::wstring_view markup) {
    range.ReplaceWith([&](dom::Node& parent) {
        return ParseFragment(parent.OwnerDocument(), markup, parent.AsElement());
    });
}

}  // namespace corvalin::browser::html
