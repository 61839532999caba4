// Ranges that keep the direction the user chose: a start and an end, either way round. A
// GridRect is always in order; a range dragged upward or leftward is not.
#pragma once

#include "table/string_grid.h"

#include <algorithm>

namespace kol {

// A run of row or column indexes from `start` to `end`; unset while either is below 0.
struct IndexRange {
    int start = -1, end = -1;

    bool set() const { return start >= 0 && end >= 0; }
    int first() const { return std::min(start, end); }
    int last() const { return std::max(start, end); }
    int count() const { return last() - first() + 1; }
    bool contains(int i) const { return set() && i >= first() && i <= last(); }
    void shift(int by) {
        start += by;
        end += by;
    }
    bool operator==(const IndexRange&) const = default;
};

// Rows or columns chosen for the next command, from the start cell to the end cell. It counts
// as set when its start column and start row are 0 or more.
struct CellRange {
    IndexRange cols, rows;

    CellRange() = default;
    CellRange(int startCol, int startRow, int endCol, int endRow)
        : cols{startCol, endCol}, rows{startRow, endRow} {}

    bool set() const { return cols.start >= 0 && rows.start >= 0; }
    GridRect rect() const { return {cols.first(), rows.first(), cols.last(), rows.last()}; }
    bool operator==(const CellRange&) const = default;
};

enum class Axis { Rows, Columns };

} // namespace kol
