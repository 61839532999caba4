// Sorting a table by key columns: the data rows in ascending key order, and the key columns
// moved to the front in key order. Toolkit-free; the sort window and kolumbra-cli share it.
#pragma once

#include "table/row_label.h"
#include "table/table_document.h"

#include <functional>
#include <span>
#include <string_view>

namespace kol {

constexpr int kMaxSortKeys = 100;

// Called at every `every`-th step of a long loop (i a multiple of every); false asks the sort
// to stop where it still can.
using SortProgress =
    std::function<bool(std::string_view step, long long i, long long every, long long total)>;

struct RowSortResult {
    bool completed = true; // false: stopped, the table is exactly as it was
    bool changed = false;  // some data row now stands elsewhere
};

// Sorts the data rows (fixed rows stay) by the grid columns `keys`, most significant first. A
// row's key is its key cells trimmed and padded with blanks to the longest cell of each key,
// compared under the Japanese collation with letter case ignored; rows with equal keys keep
// their former order (a stable sort, so sorting twice gives a two-level order). Rows carry their
// attributes and heights; column 0 is relabelled by `labels`. Stopping is honoured until the rows
// start to move.
RowSortResult sortRowsByKeys(TableDocument& document, std::span<const int> keys,
                             const RowLabelRule& labels, const SortProgress& progress = {});

// Moves the key columns (grid indexes, distinct) to the front of the data columns in key order,
// each with its cells, width and attributes; the others keep their order behind them. Row 0 is
// renumbered. Returns whether any column moved. Never stops halfway.
bool moveKeyColumnsToFront(TableDocument& document, std::span<const int> keys,
                           const SortProgress& progress = {});

} // namespace kol
