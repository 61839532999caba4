#include "sort/table_sort.h"

#include "sort/collation_key.h"
#include "text/text_utils.h"

#include <algorithm>
#include <cstring>
#include <numeric>
#include <string>
#include <vector>

namespace kol {

namespace {

bool report(const SortProgress& progress, std::string_view step, long long i, long long every,
            long long total) {
    if (i % every != 0 || !progress) return true;
    return progress(step, i, every, total);
}

std::string_view trimmed(std::string_view text) {
    auto blank = [](char c) { return static_cast<unsigned char>(c) <= 0x20; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

// One row's sort key: where it lives in the key store and which data position it belongs to.
struct KeyRef {
    const unsigned char* bytes;
    std::uint32_t size;
    std::uint32_t position;
    bool operator<(const KeyRef& other) const {
        const int c = std::memcmp(bytes, other.bytes, std::min(size, other.size));
        if (c != 0) return c < 0;
        if (size != other.size) return size < other.size;
        return position < other.position; // equal primary weights: the former order stays
    }
};

} // namespace

RowSortResult sortRowsByKeys(TableDocument& document, std::span<const int> keys,
                             const RowLabelRule& labels, const SortProgress& progress) {
    StringGrid& grid = document.Grid;
    const int first = grid.fixedRows(), rows = grid.rowCount();
    const long long count = rows - first;
    RowSortResult result;
    if (keys.empty() || count <= 0) return result;

    // Step 1: the longest cell of every key.
    std::vector<std::size_t> widths(keys.size(), 0);
    for (int r = first; r < rows; ++r) {
        if (!report(progress, "Step 1", r, 1000, rows)) return {false, false};
        for (std::size_t k = 0; k < keys.size(); ++k)
            widths[k] = std::max(widths[k], grid.cell(keys[k], r).size());
    }

    // Step 2: every row's composite key (its trimmed cells padded to those widths, then its
    // row index as text) made into a sort key once.
    CollationKeys collation;
    RowArena store;
    std::vector<KeyRef> refs(count);
    std::string key;
    for (long long p = 0; p < count; ++p) {
        if (!report(progress, "Step 2", p, 1000, count)) return {false, false};
        const int r = first + static_cast<int>(p);
        collation.clear();
        for (std::size_t k = 0; k < keys.size(); ++k) {
            std::string_view value = trimmed(grid.cell(keys[k], r));
            collation.appendCp932(value);
            collation.appendBlanks(widths[k] - value.size());
        }
        collation.appendAscii(std::to_string(r));
        collation.sortKey(key);
        auto* bytes = static_cast<unsigned char*>(store.allocate(key.size() + 1));
        std::memcpy(bytes, key.data(), key.size());
        refs[p] = {bytes, static_cast<std::uint32_t>(key.size()), static_cast<std::uint32_t>(p)};
    }

    // Step 3: the keys in ascending order.
    if (!report(progress, "Step 3", 0, 1, count)) return {false, false};
    std::sort(refs.begin(), refs.end());
    if (!report(progress, "Step 3", count, 1, count)) return {false, false};

    // Step 4: where every row goes.
    std::vector<int> order(count);
    for (long long p = 0; p < count; ++p) {
        if (!report(progress, "Step 4", p, 1000, count)) return {false, false};
        order[p] = static_cast<int>(refs[p].position);
        if (order[p] != p) result.changed = true;
    }
    refs = {};
    store = RowArena();

    // Step 5: the rows take their places and their new labels; never stopped halfway.
    document.permuteLines(Axis::Rows, first, order);
    for (long long p = 0; p < count; ++p) {
        report(progress, "Step 5", first + p, 1000, rows);
        const int r = first + static_cast<int>(p);
        std::string label = GroupThousands(RowLabel(r, true, labels));
        if (grid.cell(0, r) != label) grid.setCell(0, r, label);
    }
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
        if (i == t || i < 0 || i >= grid.colCount()) continue;
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
