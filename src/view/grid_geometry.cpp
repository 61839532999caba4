#include "view/grid_geometry.h"

#include <algorithm>
#include <cstdlib>

namespace kol {

namespace {
int extent(int size) {
    return size > 0 ? size + GridGeometry::kLine : 0;
}
} // namespace

int GridGeometry::count(Axis axis) const {
    return axis == Axis::Rows ? grid_.rowCount() : grid_.colCount();
}

int GridGeometry::fixedCount(Axis axis) const {
    return axis == Axis::Rows ? grid_.fixedRows() : grid_.fixedCols();
}

int GridGeometry::sizeOf(Axis axis, int index) const {
    return axis == Axis::Rows ? grid_.rowHeight(index) : grid_.colWidth(index);
}

int GridGeometry::firstScrolling(Axis axis) const {
    const int first = axis == Axis::Rows ? view_.topRow : view_.leftCol;
    return std::clamp(first, fixedCount(axis), std::max(fixedCount(axis), count(axis) - 1));
}

int GridGeometry::fixedLength(Axis axis) const {
    int view = length(axis), len = 0;
    for (int i = 0, n = fixedCount(axis); i < n && len < view; ++i) len += extent(sizeOf(axis, i));
    return len;
}

std::vector<GridGeometry::Span> GridGeometry::spansOnScreen(Axis axis) const {
    std::vector<Span> spans;
    int view = length(axis), pos = 0;
    auto add = [&](int i) {
        int size = sizeOf(axis, i);
        if (size <= 0) return;
        spans.push_back({i, pos, size});
        pos += size + kLine;
    };
    int fixed = fixedCount(axis), n = count(axis);
    for (int i = 0; i < fixed && pos < view; ++i) add(i);
    for (int i = firstScrolling(axis); i < n && pos < view; ++i) add(i);
    return spans;
}

int GridGeometry::fullyVisible(Axis axis, int first) const {
    int view = length(axis), pos = fixedLength(axis), shown = 0;
    for (int i = first, n = count(axis); i < n; ++i) {
        int size = sizeOf(axis, i);
        if (size <= 0) continue;
        if (pos + size > view) break;
        ++shown;
        pos += size + kLine;
    }
    return shown;
}

int GridGeometry::maxFirst(Axis axis) const {
    int fixed = fixedCount(axis), n = count(axis);
    int room = length(axis) - fixedLength(axis) + kLine;
    int first = n - 1, used = 0;
    for (int i = n - 1; i >= fixed; --i) {
        int e = extent(sizeOf(axis, i));
        if (used + e > room) break;
        used += e;
        first = i;
    }
    return std::max(first, fixed);
}

int GridGeometry::firstToShow(Axis axis, int index) const {
    int fixed = fixedCount(axis), first = firstScrolling(axis);
    if (index < fixed || index >= count(axis)) return first;
    if (index < first) return index;
    // Still whole on screen from the present first index? Walk no further than the view.
    int view = length(axis), pos = fixedLength(axis);
    for (int i = first; i < index && pos < view; ++i) pos += extent(sizeOf(axis, i));
    if (pos + sizeOf(axis, index) <= view) return first;
    int room = view - fixedLength(axis) + kLine, used = 0, result = index;
    for (int i = index; i >= fixed; --i) {
        int e = extent(sizeOf(axis, i));
        if (used + e > room) break;
        used += e;
        result = i;
    }
    return result;
}

int GridGeometry::indexAt(Axis axis, int pos, bool clampToScrolling) const {
    std::vector<Span> spans = spansOnScreen(axis);
    int fixed = fixedCount(axis);
    if (clampToScrolling && pos < fixedLength(axis)) return firstScrolling(axis);
    for (const Span& s : spans)
        if (pos >= s.pos && pos < s.pos + s.size + kLine) return s.index;
    if (!clampToScrolling) return -1;
    for (auto it = spans.rbegin(); it != spans.rend(); ++it)
        if (it->index >= fixed) return it->index;
    return firstScrolling(axis);
}

int GridGeometry::edgeAt(Axis axis, int pos) const {
    int best = -1, bestDistance = kEdgeSlop + 1;
    for (const Span& s : spansOnScreen(axis)) {
        int distance = std::abs(pos - (s.pos + s.size));
        if (distance <= bestDistance) { // ties go right, so a very thin one can be widened
            best = s.index;
            bestDistance = distance;
        }
    }
    return bestDistance <= kEdgeSlop ? best : -1;
}

int GridGeometry::spanPos(Axis axis, int index) const {
    if (index < 0 || index >= count(axis) || sizeOf(axis, index) <= 0) return -1;
    int view = length(axis), fixed = fixedCount(axis), pos = 0;
    if (index < fixed) {
        for (int i = 0; i < index && pos < view; ++i) pos += extent(sizeOf(axis, i));
        return pos < view ? pos : -1;
    }
    int first = firstScrolling(axis);
    if (index < first) return -1;
    pos = fixedLength(axis);
    for (int i = first; i < index && pos < view; ++i) pos += extent(sizeOf(axis, i));
    return pos < view ? pos : -1;
}

GridGeometry::Rect GridGeometry::cellRect(int col, int row) const {
    int x = spanPos(Axis::Columns, col), y = spanPos(Axis::Rows, row);
    if (x < 0 || y < 0) return {};
    return {x, y, grid_.colWidth(col), grid_.rowHeight(row)};
}

bool GridGeometry::cellAt(int x, int y, int& col, int& row) const {
    col = indexAt(Axis::Columns, x, false);
    row = indexAt(Axis::Rows, y, false);
    return col >= 0 && row >= 0;
}

} // namespace kol
