// Row heights for folded text: each row is as high as its tallest cell needs, within the
// chosen number of lines.
#pragma once

#include "table/string_grid.h"
#include "view/cell_display.h"

namespace kol {

// foldIndex: 0 automatic, 1 no folding (every row the default height), n ≥ 2 at most n lines.
void ApplyFold(StringGrid& grid, const DisplaySwitches& view, int foldIndex, int letterWidth,
               int letterHeight);
// Lines a text needs in a column `columnWidth` pixels wide.
int foldLines(std::size_t displayBytes, int columnWidth, int letterWidth);

} // namespace kol
