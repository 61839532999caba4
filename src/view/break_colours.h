// Break colours: per row and column a bit that flips at every change of value down a column,
// so runs of equal values can be shaded alike. Bits are kept for columns up to 128.
#pragma once

#include "table/row_col_info.h"
#include "table/string_grid.h"

#include <vector>

namespace kol {

// column < 0: every data column; fromRow > 1 continues from the bit stored at fromRow - 1.
void RecomputeBreakColours(const StringGrid& grid, std::vector<RowFlag>& flags, int column,
                           int fromRow);
// Columns first … last from the first data row, split over two threads for large tables.
void RecomputeBreakColumnRange(const StringGrid& grid, std::vector<RowFlag>& flags, int first,
                               int last, int fromRow = 0);
// After the text of `cells` changed (and nothing else): the bits from cells.top down, stopping
// in each column once a row's bit comes out as it was, since the rows below did not change.
// The stored bits must have been up to date before the change.
void RecomputeBreakColoursAfterCells(const StringGrid& grid, std::vector<RowFlag>& flags,
                                     const GridRect& cells);
bool breakColourBit(const RowFlag& flag, int column);

} // namespace kol
