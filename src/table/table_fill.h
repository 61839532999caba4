// Places the lines of a source into a grid: one row per line from row 1, the fields from
// column 2, the row label in column 0. Large sources are split on two threads.
#pragma once

#include "table/row_label.h"
#include "table/source_text.h"
#include "table/string_grid.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace kol {

struct FillResult {
    std::size_t maxFields = 0;
    std::vector<std::uint32_t> longestField; // per field index: the greatest byte length
};

// Progress is reported on the calling thread with the index of a line that is a multiple of 1000.
using FillProgress = std::function<void(std::size_t lineIndex)>;

// The grid must already have lineCount + 1 rows (row 0 is the header). The column count is not
// changed here; the caller widens the grid to maxFields + 2. Throws std::bad_alloc when memory
// runs out, and then no row of the grid has changed.
FillResult FillRows(StringGrid& grid, const SourceText& source, std::size_t lineCount,
                    unsigned char separator, const RowLabelRule& labels,
                    const FillProgress& progress);

} // namespace kol
