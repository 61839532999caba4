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

constexpr std::size_t kWords = 3, kWindow = 8 * kWords;

// Part of one row's key: 24 bytes of its weights from some offset on (zero past its end, and
// no weight byte is zero, so a key that ends sorts before every longer one it begins), as
// numbers that compare as the bytes do, and the row's data position.
struct KeyPart {
    std::uint64_t words[kWords];
    std::uint32_t position;
    bool operator<(const KeyPart& o) const {
        for (std::size_t i = 0; i < kWords; ++i)
            if (words[i] != o.words[i]) return words[i] < o.words[i];
        return position < o.position;
    }
    bool sameBytes(const KeyPart& o) const {
        for (std::size_t i = 0; i < kWords; ++i)
            if (words[i] != o.words[i]) return false;
        return true;
    }
    bool spent() const { return (words[kWords - 1] & 0xFF) == 0; }
};

std::uint64_t bigEndian(const unsigned char* p) {
    std::uint64_t v = 0;
    for (int i = 0; i < 8; ++i) v = v << 8 | p[i];
    return v;
}

// Builds the weights of a row's composite key (its trimmed key cells padded with blanks to the
// widths, then its row index as text) only as far as a window needs them.
class KeyBuilder {
public:
    KeyBuilder(const StringGrid& grid, std::span<const int> keys,
               const std::vector<std::size_t>& widths)
        : grid_(grid), keys_(keys), widths_(widths) {}

    KeyPart part(int row, std::uint32_t position, std::size_t offset) {
        bytes_.clear();
        const std::size_t wanted = offset + kWindow;
        for (std::size_t k = 0; k < keys_.size() && bytes_.size() < wanted; ++k) {
            std::string_view value = trimmed(grid_.cell(keys_[k], row));
            weights_.append(value, bytes_);
            weights_.appendBlanks(widths_[k] - value.size(), bytes_);
        }
        if (bytes_.size() < wanted) weights_.appendAscii(std::to_string(row), bytes_);
        unsigned char window[kWindow] = {};
        if (bytes_.size() > offset)
            std::memcpy(window, bytes_.data() + offset, std::min(kWindow, bytes_.size() - offset));
        KeyPart part;
        for (std::size_t i = 0; i < kWords; ++i) part.words[i] = bigEndian(window + 8 * i);
        part.position = position;
        return part;
    }

private:
    const StringGrid& grid_;
    std::span<const int> keys_;
    const std::vector<std::size_t>& widths_;
    PrimaryWeights weights_;
    std::string bytes_;
};

// Sorts parts that agree on their first `offset` bytes: by the window there, then each run
// that still agrees by the next window. The keys are made once per window a row needs.
void sortParts(std::span<KeyPart> parts, std::size_t offset, KeyBuilder& builder, int first) {
    std::sort(parts.begin(), parts.end());
    for (std::size_t i = 0; i < parts.size();) {
        std::size_t j = i + 1;
        while (j < parts.size() && parts[j].sameBytes(parts[i])) ++j;
        // A run whose window ended inside the key holds keys that go on; a window of zeros at
        // its end means the keys are spent, and then they are equal: former order.
        if (j - i > 1 && !parts[i].spent()) {
            // In row order, so the rows are read from memory in the order they lie there.
            std::sort(parts.begin() + i, parts.begin() + j,
                      [](const KeyPart& a, const KeyPart& b) { return a.position < b.position; });
            for (std::size_t m = i; m < j; ++m)
                parts[m] = builder.part(first + static_cast<int>(parts[m].position),
                                        parts[m].position, offset + kWindow);
            sortParts(parts.subspan(i, j - i), offset + kWindow, builder, first);
        }
        i = j;
    }
}

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

    // Step 2: the first window of every row's key. Step 3: the keys in ascending order, a
    // row's key worked out further only while it ties with another.
    KeyBuilder builder(grid, keys, widths);
    std::vector<KeyPart> parts(count);
    for (long long p = 0; p < count; ++p) {
        if (!report(progress, "Step 2", p, 1000, count)) return {false, false};
        parts[p] = builder.part(first + static_cast<int>(p), static_cast<std::uint32_t>(p), 0);
    }
    if (!report(progress, "Step 3", 0, 1, count)) return {false, false};
    sortParts(parts, 0, builder, first);
    if (!report(progress, "Step 3", count, 1, count)) return {false, false};

    // Step 4: where every row goes.
    std::vector<int> order(count);
    for (long long p = 0; p < count; ++p) {
        if (!report(progress, "Step 4", p, 1000, count)) return {false, false};
        order[p] = static_cast<int>(parts[p].position);
        if (order[p] != p) result.changed = true;
    }
    parts = {};

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
