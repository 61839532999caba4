#include "sort/table_sort.h"

#include "sort/key_order.h"

#include <algorithm>
#include <cstring>
#include <numeric>
#include <string>
#include <thread>
#include <vector>

namespace kol {

namespace {

bool report(const SortProgress& progress, std::string_view step, long long i, long long every,
            long long total) {
    if (i % every != 0 || !progress) return true;
    return progress(step, i, every, total);
}

} // namespace

RowSortResult sortRowsByKeys(TableDocument& document, std::span<const int> keys,
                             const RowLabelRule& labels, const SortProgress& progress) {
    StringGrid& grid = document.Grid;
    const int first = grid.fixedRows(), rows = grid.rowCount();
    const long long count = rows - first;
    RowSortResult result;
    if (keys.empty() || count <= 0) return result;

    // Step 1: the longest cell of every key; a large table's second half on a second thread.
    const bool two = count >= 100000 && std::thread::hardware_concurrency() > 1;
    const int middle = two ? first + static_cast<int>(count / 2) : rows;
    std::vector<std::size_t> widths(keys.size(), 0), upper(keys.size(), 0);
    auto measure = [&](std::vector<std::size_t>& w, int from, int to) {
        for (int r = from; r < to; ++r)
            for (std::size_t k = 0; k < keys.size(); ++k)
                w[k] = std::max(w[k], grid.cell(keys[k], r).size());
    };
    std::thread second;
    if (two) second = std::thread(measure, std::ref(upper), middle, rows);
    bool stopped = false;
    for (int r = first; r < middle && !stopped; r += 1000 - r % 1000) {
        stopped = !report(progress, "Step 1", two ? 2 * r : r, 1000, rows);
        measure(widths, r, std::min(r + 1000 - r % 1000, middle));
    }
    if (second.joinable()) second.join();
    if (stopped) return {false, false};
    for (std::size_t k = 0; k < keys.size(); ++k) widths[k] = std::max(widths[k], upper[k]);

    // Steps 2 to 4: the keys in ascending order, and where every row goes.
    std::vector<int> order;
    if (!orderByKeys(grid, keys, widths, progress, order)) return {false, false};
    for (long long p = 0; p < count && !result.changed; ++p) result.changed = order[p] != p;

    // Step 5: the rows take their places and their new labels; never stopped halfway.
    document.permuteLines(Axis::Rows, first, order);
    auto relabel = [&](int from, int to, bool reporting) {
        char buffer[32];
        for (int r = from; r < to; ++r) {
            if (reporting) report(progress, "Step 5", two ? 2 * r : r, 1000, rows);
            const std::string_view label = GroupedRowLabel(r, labels, buffer);
            if (grid.cell(0, r) != label) grid.setCell(0, r, label); // touches row r alone
        }
    };
    if (two) second = std::thread(relabel, middle, rows, false);
    relabel(first, middle, true);
    if (second.joinable()) second.join();
    return result;
}

bool moveKeyColumnsToFront(TableDocument& document, std::span<const int> keys,
                           const SortProgress& progress) {
    StringGrid& grid = document.Grid;
    const int fixed = grid.fixedCols();
    std::vector<int> order(grid.colCount()); // order[c]: the column that will stand at c
    std::iota(order.begin(), order.end(), 0);
    std::vector<int> at(keys.begin(), keys.end()); // each key's present index
    const long long total = static_cast<long long>(keys.size());
    for (std::size_t k = 0; k < keys.size(); ++k) {
        report(progress, "Last Step", static_cast<long long>(k) + 1, 1, total);
        const int i = at[k], t = fixed + static_cast<int>(k);
        // Already in place; or named twice, or no column: nothing to move.
        if (i <= t || i >= grid.colCount()) continue;
        const int taken = order[i];
        std::move_backward(order.begin() + t, order.begin() + i, order.begin() + i + 1);
        order[t] = taken;
        for (std::size_t j = k + 1; j < keys.size(); ++j)
            if (at[j] >= t && at[j] < i) ++at[j];
    }
    bool changed = false;
    for (int c = 0; c < grid.colCount(); ++c) changed = changed || order[c] != c;
    if (changed) document.permuteLines(Axis::Columns, 0, order);
    for (int c = fixed; c < grid.colCount(); ++c) {
        std::string number = std::to_string(c - fixed + 1);
        if (grid.cell(c, 0) != number) grid.setCell(c, 0, number);
    }
    return changed;
}

} // namespace kol
