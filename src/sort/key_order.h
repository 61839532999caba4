// The order of a table's data rows by their composite keys: each row's key (its trimmed key
// cells padded with blanks to the column's longest cell) as primary collation weights, held only
// as a window of its first bytes and worked out further only while a row ties with another.
// Rows whose keys are equal keep their former order.
#pragma once

#include "sort/table_sort.h"
#include "table/string_grid.h"

#include <cstddef>
#include <span>
#include <vector>

namespace kol {

// order[p]: the data position (0 = the first row after the fixed rows) of the row that sorts
// p-th. `widths` are the keys' longest cells in bytes. False when `progress` asked to stop.
[[nodiscard]] bool orderByKeys(const StringGrid& grid, std::span<const int> keys,
                               const std::vector<std::size_t>& widths, const SortProgress& progress,
                               std::vector<int>& order);

} // namespace kol
