// The table every window works on: the cells, the attributes kept parallel to its rows and
// columns, whether it differs from the file, and the undo history. Its primitives keep the
// cells and the attributes in step; what the windows show (labels, key column, break colours,
// current cell) they bring up to date themselves.
#pragma once

#include "table/cell_range.h"
#include "table/row_col_info.h"
#include "table/string_grid.h"
#include "table/undo_history.h"

#include <cstdint>
#include <span>
#include <vector>

namespace kol {

class TableDocument {
public:
    StringGrid Grid;
    std::vector<RowFlag> RowFlags;
    std::vector<ColInfoRec> ColInfo;
    std::uint8_t Modified = 0; // differs from what was last loaded or saved
    UndoHistory History;

    // Blank rows or columns before `at`: cleared marks; a column is shown, with its width.
    void insertLines(Axis axis, int at, int count);
    // Columns from `copyFrom` (indexes before the insert) or from `saved`, else blank; their
    // attributes are fresh.
    void insertCols(int at, int count, int copyFrom,
                    const StringGrid::ColumnSource* saved = nullptr);
    void deleteLines(Axis axis, int first, int count);
    void moveLine(Axis axis, int from, int to);
    // Reorders lines with their attributes: line first + i takes line first + order[i] (rows),
    // or column i takes column order[i] (columns: `order` covers every column, first is 0).
    void permuteLines(Axis axis, int first, std::span<const int> order);
    // Fresh attributes for the grid's present shape, as after a load.
    void resetAttributes();
    // Takes the cells and row records of a document loaded elsewhere (on another thread);
    // column records are fresh, for this grid's widths.
    void adoptTable(TableDocument& built);
    int lineCount(Axis axis) const {
        return axis == Axis::Rows ? Grid.rowCount() : Grid.colCount();
    }
    int fixedLines(Axis axis) const {
        return axis == Axis::Rows ? Grid.fixedRows() : Grid.fixedCols();
    }

private:
    void resetColumnAttributes(); // shown, unmarked, the grid's widths
};

} // namespace kol
