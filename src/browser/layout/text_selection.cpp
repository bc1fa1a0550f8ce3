#include "browser/layout/text_selection.h"

#include <algorithm>
#include <climits>

#include "browser/layout/fonts.h"
#include "browser/layout/geometry.h"

namespace corvalin::browser::layout {

namespace {

// The right edge of each character of a run, from its left edge.
std::vector<int> CharacterEdges(const PaintItem& item) {
    std::vector<int> edges(item.text.size());
    if (edges.empty()) return edges;
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, FontOf(*item.style).handle);
    SIZE size{};
    GetTextExtentExPointW(dc, item.text.c_str(), static_cast<int>(item.text.size()), 0, nullptr, edges.data(), &size);
    SelectObject(dc, previous);
    DeleteDC(dc);
    return edges;
}

// The point before the character whose middle lies right of `x` (after the
// last character when none does).
dom::TextPoint PointInRun(const PaintItem& item, long x) {
    const std::vector<int> edges = CharacterEdges(item);
    std::size_t index = 0;
    int left = 0;
    while (index < edges.size() && x >= (left + edges[index]) / 2) left = edges[index++];
    if (index < item.offsets.size()) return {item.textNode, item.offsets[index]};
    return {item.textNode, item.offsets.empty() ? 0 : item.offsets.back() + 1};
}

}  // namespace

std::optional<dom::TextPoint> TextPointAt(dom::Document& document, long x, long y) {
    const DocumentLayout& layout = CurrentLayout(document);
    const PaintItem* best = nullptr;
    RECT bestRect{};
    long long bestDistance = LLONG_MAX;
    for (const std::uint32_t index : layout.paintOrder) {
        const PaintItem& item = layout.items[index];
        if (item.kind != PaintKind::Text || !item.textNode || item.offsets.size() != item.text.size()) continue;
        const RECT r = ViewRect(layout, document, item.rect, item.clip);
        // A run on the point's line wins over any run above or below it.
        const long dy = y < r.top ? r.top - y : y >= r.bottom ? y - r.bottom + 1 : 0;
        const long dx = x < r.left ? r.left - x : x >= r.right ? x - r.right + 1 : 0;
        const long long distance = static_cast<long long>(dy) * 100000 + dx;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = &item;
            bestRect = r;
        }
    }
    if (!best) return std::nullopt;
    return PointInRun(*best, x - bestRect.left);
}

void PaintSelectedText(HDC dc, const PaintItem& item, const RECT& r,
                       const std::vector<dom::TextRange::NodeSpan>& covered) {
    if (!item.textNode || item.offsets.size() != item.text.size()) return;
    const auto span = std::find_if(covered.begin(), covered.end(),
                                   [&](const dom::TextRange::NodeSpan& s) { return s.text == item.textNode; });
    if (span == covered.end()) return;
    std::size_t first = item.offsets.size(), last = 0;
    for (std::size_t i = 0; i < item.offsets.size(); ++i) {
        if (item.offsets[i] < span->from || item.offsets[i] >= span->to) continue;
        first = std::min(first, i);
        last = i + 1;
    }
    if (first >= last) return;
    const std::vector<int> edges = CharacterEdges(item);
    RECT band{r.left + (first > 0 ? edges[first - 1] : 0), r.top, r.left + edges[last - 1], r.bottom};
    HBRUSH highlight = GetSysColorBrush(COLOR_HIGHLIGHT);
    FillRect(dc, &band, highlight);
    // The painter restores the DC after each item.
    SelectObject(dc, FontOf(*item.style).handle);
    SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
    SetBkMode(dc, TRANSPARENT);
    ExtTextOutW(dc, r.left, r.top, ETO_CLIPPED, &band, item.text.c_str(), static_cast<UINT>(item.text.size()), nullptr);
}

}  // namespace corvalin::browser::layout
