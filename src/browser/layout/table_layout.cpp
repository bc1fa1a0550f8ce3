// Tables: rows and cells on a grid (colspan, rowspan), column widths from the
// cells' content and widths, cellspacing, and rows as tall as their cells.
#include <algorithm>
#include <climits>

#include "browser/layout/layout_builder.h"

namespace corvalin::browser::layout {

namespace {

struct Cell {
    const dom::Element* element;
    int row, column, rowSpan, columnSpan;
};

struct Grid {
    std::vector<const dom::Element*> rows;
    std::vector<const dom::Element*> captions;
    std::vector<Cell> cells;
    int columns = 0;
};

int SpanOf(const dom::Element& cell, const wchar_t* name, int limit) {
    const std::wstring* v = cell.FindAttribute(name);
    if (!v) return 1;
    const int n = _wtoi(v->c_str());
    if (n <= 0) return std::wcscmp(name, L"rowspan") == 0 && *v == L"0" ? limit : 1;
    return std::min(n, limit);
}

long Spacing(const dom::Element& table, const ComputedStyle& s) {
    const std::wstring* v = table.FindAttribute(L"cellspacing");
    const long px = v ? std::max(0, _wtoi(v->c_str())) : 2;
    return static_cast<long>(px * s.zoom + 0.5f);
}

}  // namespace

static Grid BuildGrid(LayoutBuilder& b, const dom::Element& table) {
    Grid grid;
    // The first header group goes above every other row and the first footer
    // group below, wherever the markup put them.
    std::vector<const dom::Element*> head, foot;
    const dom::Element* headGroup = nullptr;
    const dom::Element* footGroup = nullptr;
    auto addRows = [&](auto& self, const dom::Element& parent, bool groups) -> void {
        for (const dom::Node* n = parent.FirstChild(); n; n = n->NextSibling()) {
            const dom::Element* e = n->AsElement();
            if (!e) continue;
            const ComputedStyle& s = b.StyleOf(*e);
            if (s.display == Display::None) continue;
            if (groups && (e->Is(L"caption") || s.display == Display::TableCaption)) {
                grid.captions.push_back(e);
            } else if (e->Is(L"tr") || s.display == Display::TableRow) {
                grid.rows.push_back(e);
            } else if (e->Is(L"form")) {
                // A form the markup put between a table and its rows hides none of them.
                self(self, *e, groups);
            } else if (groups && (e->Is(L"thead") || e->Is(L"tbody") || e->Is(L"tfoot") || s.display == Display::TableRowGroup)) {
                const bool header = e->Is(L"thead") && !headGroup;
                const bool footer = e->Is(L"tfoot") && !footGroup;
                if (header) headGroup = e;
                if (footer) footGroup = e;
                std::vector<const dom::Element*> body;
                std::swap(body, grid.rows);
                self(self, *e, false);
                std::swap(body, grid.rows);
                auto& into = header ? head : footer ? foot : grid.rows;
                into.insert(into.end(), body.begin(), body.end());
            }
        }
    };
    addRows(addRows, table, true);
    grid.rows.insert(grid.rows.begin(), head.begin(), head.end());
    grid.rows.insert(grid.rows.end(), foot.begin(), foot.end());
    // Slots taken by cells from rows above, per column.
    std::vector<int> busyUntil;
    const int rowCount = static_cast<int>(grid.rows.size());
    for (int r = 0; r < rowCount; ++r) {
        int column = 0;
        for (const dom::Node* n = grid.rows[r]->FirstChild(); n; n = n->NextSibling()) {
            const dom::Element* e = n->AsElement();
            if (!e || !(e->Is(L"td") || e->Is(L"th") || b.StyleOf(*e).display == Display::TableCell)) continue;
            if (b.StyleOf(*e).display == Display::None) continue;
            while (column < static_cast<int>(busyUntil.size()) && busyUntil[column] > r) ++column;
            const int columnSpan = SpanOf(*e, L"colspan", 1000);
            const int rowSpan = SpanOf(*e, L"rowspan", rowCount - r);
            grid.cells.push_back({e, r, column, std::max(1, rowSpan), columnSpan});
            if (static_cast<int>(busyUntil.size()) < column + columnSpan) busyUntil.resize(column + columnSpan, 0);
            for (int c = column; c < column + columnSpan; ++c) busyUntil[c] = r + std::max(1, rowSpan);
            column += columnSpan;
        }
    }
    grid.columns = static_cast<int>(busyUntil.size());
    return grid;
}

// Column minimum and maximum widths from the cells: single columns first,
// then spanning cells spread what they need over their columns.
// Percentages a table's columns ask for, from <col>/<colgroup> and from the
// cells; together they never pass 100 (later columns give way).
static std::vector<float> ColumnPercents(LayoutBuilder& b, const dom::Element& table, const Grid& grid) {
    std::vector<float> percent(grid.columns, 0.0f);
    int column = 0;
    auto fromColumn = [&](const dom::Element& col) {
        const int span = SpanOf(col, L"span", 1000);
        const Length& w = b.StyleOf(col).width;
        for (int i = 0; i < span && column < grid.columns; ++i, ++column)
            if (w.unit == Length::Unit::Percent) percent[column] = w.value;
    };
    for (const dom::Node* n = table.FirstChild(); n; n = n->NextSibling()) {
        const dom::Element* e = n->AsElement();
        if (!e) continue;
        if (e->Is(L"col")) fromColumn(*e);
        if (!e->Is(L"colgroup")) continue;
        bool hasColumns = false;
        for (const dom::Node* c = e->FirstChild(); c; c = c->NextSibling())
            if (const dom::Element* col = c->AsElement(); col && col->Is(L"col")) {
                fromColumn(*col);
                hasColumns = true;
            }
        if (!hasColumns) fromColumn(*e);
    }
    for (const Cell& cell : grid.cells) {
        const Length& w = b.StyleOf(*cell.element).width;
        if (cell.columnSpan == 1 && w.unit == Length::Unit::Percent)
            percent[cell.column] = std::max(percent[cell.column], w.value);
    }
    // A spanning cell's percentage not yet covered goes to its columns that have none.
    for (const Cell& cell : grid.cells) {
        const Length& w = b.StyleOf(*cell.element).width;
        if (cell.columnSpan == 1 || w.unit != Length::Unit::Percent) continue;
        const int last = std::min(grid.columns, cell.column + cell.columnSpan);
        float have = 0;
        int without = 0;
        for (int c = cell.column; c < last; ++c) {
            have += percent[c];
            without += percent[c] == 0;
        }
        if (w.value > have && without > 0)
            for (int c = cell.column; c < last; ++c)
                if (percent[c] == 0) percent[c] = (w.value - have) / without;
    }
    float total = 0;
    for (float& p : percent) {
        p = std::clamp(p, 0.0f, 100.0f - total);
        total += p;
    }
    return percent;
}

static void ColumnWidths(LayoutBuilder& b, const Grid& grid, long spacing, std::vector<long>& min, std::vector<long>& max,
                         std::vector<bool>& fixed) {
    min.assign(grid.columns, 0);
    max.assign(grid.columns, 0);
    fixed.assign(grid.columns, false);
    for (const Cell& cell : grid.cells) {
        if (cell.columnSpan != 1) continue;
        const Intrinsic in = b.IntrinsicWidths(*cell.element);
        min[cell.column] = std::max(min[cell.column], in.min);
        max[cell.column] = std::max(max[cell.column], in.max);
        const ComputedStyle& s = b.StyleOf(*cell.element);
        if (s.width.unit == Length::Unit::Px) fixed[cell.column] = true;
    }
    for (const Cell& cell : grid.cells) {
        if (cell.columnSpan == 1) continue;
        const Intrinsic in = b.IntrinsicWidths(*cell.element);
        long haveMin = spacing * (cell.columnSpan - 1), haveMax = haveMin;
        for (int c = cell.column; c < cell.column + cell.columnSpan; ++c) {
            haveMin += min[c];
            haveMax += max[c];
        }
        for (int c = cell.column; c < cell.column + cell.columnSpan; ++c) {
            if (in.min > haveMin) min[c] += (in.min - haveMin) / cell.columnSpan + (c == cell.column ? (in.min - haveMin) % cell.columnSpan : 0);
            if (in.max > haveMax) max[c] += (in.max - haveMax) / cell.columnSpan + (c == cell.column ? (in.max - haveMax) % cell.columnSpan : 0);
        }
    }
    for (int c = 0; c < grid.columns; ++c) max[c] = std::max(max[c], min[c]);
}

// Percentage columns take their share of the columns' room (at least their
// minimum), fixed ones their width, auto ones what is left by their content;
// what is still left goes to the auto columns, else to the percentage ones.
static void DistributeWithPercents(long available, const std::vector<long>& min, const std::vector<long>& max,
                                   const std::vector<bool>& fixed, const std::vector<float>& percent, std::vector<long>& columns) {
    const std::size_t n = columns.size();
    long used = 0;
    for (std::size_t c = 0; c < n; ++c) {
        if (percent[c] > 0) columns[c] = std::max(min[c], static_cast<long>(available * percent[c] / 100.0f));
        else if (fixed[c]) columns[c] = max[c];
        else columns[c] = min[c];
        used += columns[c];
    }
    if (used > available) {
        // Too much asked: the percentage columns give back down to their minimum.
        long excess = used - available, give = 0;
        for (std::size_t c = 0; c < n; ++c)
            if (percent[c] > 0) give += columns[c] - min[c];
        for (std::size_t c = 0; c < n && give > 0; ++c)
            if (percent[c] > 0) columns[c] -= std::min(columns[c] - min[c], excess * (columns[c] - min[c]) / give);
        return;
    }
    long room = available - used, want = 0;
    for (std::size_t c = 0; c < n; ++c)
        if (percent[c] == 0 && !fixed[c]) want += max[c] - min[c];
    if (want > 0) {
        const long give = std::min(room, want);
        for (std::size_t c = 0; c < n; ++c)
            if (percent[c] == 0 && !fixed[c]) columns[c] += give * (max[c] - min[c]) / want;
        room -= give;
    }
    if (room <= 0) return;
    long autoWidth = 0, autoCount = 0;
    float percentTotal = 0;
    for (std::size_t c = 0; c < n; ++c) {
        if (percent[c] == 0 && !fixed[c]) {
            autoWidth += columns[c];
            ++autoCount;
        }
        percentTotal += percent[c];
    }
    for (std::size_t c = 0; c < n; ++c) {
        if (autoCount > 0) {
            if (percent[c] == 0 && !fixed[c]) columns[c] += autoWidth > 0 ? room * columns[c] / autoWidth : room / autoCount;
        } else if (percent[c] > 0) {
            columns[c] += static_cast<long>(room * percent[c] / percentTotal);
        }
    }
}

Intrinsic LayoutBuilder::TableIntrinsicWidths(const dom::Element& table) {
    const ComputedStyle& s = StyleOf(table);
    const Grid grid = BuildGrid(*this, table);
    const long spacing = Spacing(table, s);
    std::vector<long> min, max;
    std::vector<bool> fixed;
    ColumnWidths(*this, grid, spacing, min, max, fixed);
    Intrinsic result;
    result.min = result.max = HorizontalEdges(s) + spacing * (grid.columns + 1);
    for (int c = 0; c < grid.columns; ++c) {
        result.min += min[c];
        result.max += max[c];
    }
    // Percentage columns widen the table until each gets its share and the
    // others still fit in the rest.
    const std::vector<float> percent = ColumnPercents(*this, table, grid);
    float totalPercent = 0;
    long rest = 0, widest = 0;
    for (int c = 0; c < grid.columns; ++c) {
        totalPercent += percent[c];
        if (percent[c] > 0) widest = std::max(widest, static_cast<long>(max[c] * 100 / percent[c]));
        else rest += max[c];
    }
    if (totalPercent > 0) {
        long columns = widest;
        if (totalPercent < 100) columns = std::max(columns, static_cast<long>(rest * 100 / (100 - totalPercent)));
        else if (rest > 0) columns = LONG_MAX / 4;   // as wide as it may be
        result.max = std::max(result.max, columns + HorizontalEdges(s) + spacing * (grid.columns + 1));
    }
    for (const dom::Element* caption : grid.captions) result.min = std::max(result.min, IntrinsicWidths(*caption).min);
    if (s.width.unit == Length::Unit::Px) result.max = result.min = std::max(result.min, s.width.Resolve(0));
    result.max = std::max(result.max, result.min);
    return result;
}

Rect LayoutBuilder::LayoutTable(const dom::Element& table, const ComputedStyle& s, long x, long y, long width) {
    const Grid grid = BuildGrid(*this, table);
    const long spacing = Spacing(table, s);
    std::vector<long> min, max;
    std::vector<bool> fixed;
    ColumnWidths(*this, grid, spacing, min, max, fixed);
    const long edges = HorizontalEdges(s) + spacing * (grid.columns + 1);
    long minTotal = 0, maxTotal = 0;
    for (int c = 0; c < grid.columns; ++c) {
        minTotal += min[c];
        maxTotal += max[c];
    }
    // The table is as wide as it was told or as its content wants, within reason.
    const long available = std::max(0L, width - edges);
    std::vector<long> columns(grid.columns, 0);
    const std::vector<float> percent = ColumnPercents(*this, table, grid);
    const bool percents = std::any_of(percent.begin(), percent.end(), [](float p) { return p > 0; });
    if (available <= minTotal) {
        columns = min;
    } else if (percents) {
        DistributeWithPercents(available, min, max, fixed, percent, columns);
    } else if (available <= maxTotal || s.width.IsAuto()) {
        const long target = std::min(available, maxTotal);
        const long room = target - minTotal, spread = maxTotal - minTotal;
        for (int c = 0; c < grid.columns; ++c) columns[c] = min[c] + (spread > 0 ? room * (max[c] - min[c]) / spread : 0);
    } else {
        // Wider than the content: auto columns take the extra, by their width.
        long flexible = 0;
        int flexibleCount = 0;
        for (int c = 0; c < grid.columns; ++c)
            if (!fixed[c]) {
                flexible += max[c];
                ++flexibleCount;
            }
        const long extra = available - maxTotal;
        for (int c = 0; c < grid.columns; ++c) {
            columns[c] = max[c];
            if (flexibleCount == 0) columns[c] += maxTotal > 0 ? extra * max[c] / maxTotal : extra / std::max(1, grid.columns);
            else if (!fixed[c]) columns[c] += flexible > 0 ? extra * max[c] / flexible : extra / flexibleCount;
        }
    }
    long used = 0;
    for (long w : columns) used += w;
    const long tableWidth = used + edges;
    // Rounding leftovers go to the last column.
    if (grid.columns > 0 && s.width.IsAuto() == false && tableWidth < width) columns.back() += width - tableWidth;

    long cursorY = y + s.borderWidth[0] + s.padding[0];
    const long innerX = x + s.borderWidth[3] + s.padding[3];
    FormattingContext none;
    for (const dom::Element* caption : grid.captions) {
        const ComputedStyle& cs = StyleOf(*caption);
        const Rect r = LayoutBlockBox(*caption, cs, innerX, cursorY, std::max(0L, width - HorizontalEdges(s)), none, false);
        cursorY = r.Bottom();
    }
    cursorY += spacing;

    std::vector<long> columnX(grid.columns + 1, innerX + spacing);
    for (int c = 0; c < grid.columns; ++c) columnX[c + 1] = columnX[c] + columns[c] + spacing;
    const int rowCount = static_cast<int>(grid.rows.size());
    std::vector<long> rowY(rowCount + 1, cursorY), rowHeight(rowCount, 0);
    struct Placed {
        const Cell* cell;
        std::size_t box;
        Mark content;   // what the cell holds, moved for vertical alignment
        Mark end;
        long contentHeight;
    };
    std::vector<Placed> placed;
    std::vector<std::size_t> rowBoxes(rowCount);
    std::vector<std::size_t> rowItems(rowCount);
    for (int r = 0; r < rowCount; ++r) {
        const dom::Element& row = *grid.rows[r];
        const ComputedStyle& rs = StyleOf(row);
        rowBoxes[r] = out_.boxes.size();
        NewBox(row, rs);
        rowItems[r] = static_cast<std::size_t>(-1);
        if (rs.visible && (rs.background != kTransparent || !rs.backgroundImage.empty())) {
            rowItems[r] = out_.items.size();
            PaintItem item;
            item.kind = PaintKind::Box;
            item.element = &row;
            item.style = &rs;
            AddItem(std::move(item));
        }
        rowHeight[r] = rs.height.unit == Length::Unit::Px ? rs.height.Resolve(0) : 0;
        for (const Cell& cell : grid.cells) {
            if (cell.row != r) continue;
            const ComputedStyle& cs = StyleOf(*cell.element);
            const int last = std::min(grid.columns, cell.column + cell.columnSpan);
            const long cellWidth = columnX[last] - spacing - columnX[cell.column];
            const Mark start = Now();
            FormattingContext own;
            const std::size_t box = out_.boxes.size();
            const Rect rect = LayoutBlockBox(*cell.element, cs, columnX[cell.column], rowY[r], cellWidth, own, false);
            Mark content = start;
            content.items += cs.visible ? 1 : 0;
            content.boxes += 1;
            placed.push_back({&cell, box, content, Now(), rect.height});
            if (cell.rowSpan == 1) rowHeight[r] = std::max(rowHeight[r], rect.height);
        }
        // Cells that end here may need this row taller.
        for (const Placed& p : placed) {
            if (p.cell->row + p.cell->rowSpan - 1 != r || p.cell->rowSpan == 1) continue;
            const long have = rowY[r] - rowY[p.cell->row];
            rowHeight[r] = std::max(rowHeight[r], p.contentHeight - have);
        }
        rowY[r + 1] = rowY[r] + rowHeight[r] + spacing;
        // Give the cells that end in this row their full height, content aligned.
        for (const Placed& p : placed) {
            if (p.cell->row + p.cell->rowSpan - 1 != r) continue;
            ElementBox& cellBox = out_.boxes[p.box];
            const long full = rowY[r] + rowHeight[r] - rowY[p.cell->row];
            const long slack = full - cellBox.border.height;
            cellBox.border.height = full;
            if (p.content.items > 0 && out_.items.size() > p.content.items - 1 && out_.items[p.content.items - 1].element == p.cell->element)
                out_.items[p.content.items - 1].rect.height = full;
            const VerticalAlign align = StyleOf(*p.cell->element).verticalAlign;
            long dy = 0;
            if (align == VerticalAlign::Middle) dy = slack / 2;
            if (align == VerticalAlign::Bottom) dy = slack;
            Translate(p.content, p.end, 0, dy);
        }
        ElementBox& rowBox = out_.boxes[rowBoxes[r]];
        rowBox.border = {innerX + spacing, rowY[r], columnX[grid.columns] - spacing - (innerX + spacing), rowHeight[r]};
        if (rowItems[r] != static_cast<std::size_t>(-1)) out_.items[rowItems[r]].rect = rowBox.border;
    }
    // Row groups (and forms around rows) span their rows.
    for (const dom::Element* row : grid.rows) {
        const Rect rowRect = out_.boxes[BoxIndex(*row)].border;
        for (const dom::Element* group = row->ParentElement(); group && group != &table; group = group->ParentElement()) {
            if (!LaidOut(*group)) NewBox(*group, StyleOf(*group)).border = rowRect;
            else out_.boxes[BoxIndex(*group)].border.Unite(rowRect);
        }
    }
    const long height = rowY[rowCount] - y + s.borderWidth[2] + s.padding[2];
    long tableHeight = height;
    if (s.height.unit == Length::Unit::Px) tableHeight = std::max(height, s.height.Resolve(0));
    return {x, y, std::max(tableWidth, s.width.IsAuto() ? tableWidth : width), tableHeight};
}

}  // namespace corvalin::browser::layout
