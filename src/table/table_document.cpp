#include "table/table_document.h"

#include "table/move_item.h"

#include <algorithm>

namespace kol {

namespace {
template <typename T> void insertAt(std::vector<T>& v, int at, int count, const T& value) {
    v.insert(v.begin() + std::clamp<std::size_t>(at, 0, v.size()), count, value);
}
template <typename T> void eraseAt(std::vector<T>& v, int first, int count) {
    const std::size_t begin = std::min<std::size_t>(first, v.size());
    v.erase(v.begin() + begin, v.begin() + std::min<std::size_t>(begin + count, v.size()));
}
} // namespace

void TableDocument::insertLines(Axis axis, int at, int count) {
    if (axis == Axis::Rows) {
        // Room for the flags first: out of memory, nothing has changed.
        if (count > 0) RowFlags.reserve(RowFlags.size() + static_cast<std::size_t>(count));
        Grid.insertRows(at, count);
        insertAt(RowFlags, at, count, RowFlag());
    } else {
        insertCols(at, count, -1);
    }
}

void TableDocument::insertCols(int at, int count, int copyFrom,
                               const StringGrid::ColumnSource* saved) {
    Grid.insertCols(at, count, copyFrom, saved);
    insertAt(ColInfo, at, count, ColInfoRec());
    for (int c = at; c < at + count && c < static_cast<int>(ColInfo.size()); ++c)
        ColInfo[c].Width = Grid.colWidth(c);
}

void TableDocument::deleteLines(Axis axis, int first, int count) {
    if (axis == Axis::Rows) {
        Grid.deleteRows(first, count);
        eraseAt(RowFlags, first, count);
    } else {
        Grid.deleteCols(first, count);
        eraseAt(ColInfo, first, count);
    }
}

void TableDocument::moveLine(Axis axis, int from, int to) {
    if (axis == Axis::Rows) {
        Grid.moveRow(from, to);
        moveItem(RowFlags, from, to);
    } else {
        Grid.moveCol(from, to);
        moveItem(ColInfo, from, to);
    }
}

namespace {
template <typename T> void permuteAt(std::vector<T>& v, int first, std::span<const int> order) {
    if (first < 0 || first + order.size() > v.size()) return;
    std::vector<T> moved(order.size());
    for (std::size_t i = 0; i < order.size(); ++i) moved[i] = v[first + order[i]];
    std::copy(moved.begin(), moved.end(), v.begin() + first);
}
} // namespace

void TableDocument::permuteLines(Axis axis, int first, std::span<const int> order) {
    if (axis == Axis::Rows) {
        Grid.permuteRows(first, order);
        permuteAt(RowFlags, first, order);
    } else {
        Grid.permuteCols(order);
        permuteAt(ColInfo, 0, order);
    }
}

void TableDocument::adoptTable(TableDocument& built) {
    Grid.adoptCells(built.Grid);
    RowFlags.swap(built.RowFlags);
    RowFlags.resize(static_cast<std::size_t>(Grid.rowCount()));
    resetColumnAttributes();
}

void TableDocument::resetAttributes() {
    RowFlags.assign(Grid.rowCount(), RowFlag());
    resetColumnAttributes();
}

void TableDocument::resetColumnAttributes() {
    ColInfo.assign(Grid.colCount(), ColInfoRec());
    for (int c = 0; c < Grid.colCount(); ++c) ColInfo[c].Width = Grid.colWidth(c);
}

} // namespace kol
