#include "view/break_colours.h"

#include "text/text_utils.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <string_view>
#include <thread>

namespace kol {

namespace {

// The bit of column c in a row's record, as SetBit/TestBit lay it out, without their checks:
// callers stay within kLastBreakColumn.
bool storedBit(const RowFlag& flag, int c) {
    return (flag.Bits[c / 8] & (0x80u >> (c % 8))) != 0;
}

void storeBit(RowFlag& flag, int c, bool on) {
    const auto mask = static_cast<std::uint8_t>(0x80u >> (c % 8));
    if (on)
        flag.Bits[c / 8] |= mask;
    else
        flag.Bits[c / 8] &= static_cast<std::uint8_t>(~mask);
}

std::string_view cellOf(const PackedRow* row, int c) {
    return row ? row->cell(static_cast<std::uint32_t>(c)) : std::string_view();
}

// IsBlank and operator== for the walk below, inline: it calls them for every cell of the table.
bool blank(std::string_view text) {
    for (unsigned char ch : text)
        if (ch > 0x20) return false;
    return true;
}

// Texts of n bytes, sizeof(Word) <= n <= 2 * sizeof(Word), as two overlapping words each.
template <typename Word> bool sameByTwoWords(const char* a, const char* b, std::size_t n) {
    Word a0, a1, b0, b1;
    std::memcpy(&a0, a, sizeof(Word));
    std::memcpy(&b0, b, sizeof(Word));
    std::memcpy(&a1, a + n - sizeof(Word), sizeof(Word));
    std::memcpy(&b1, b + n - sizeof(Word), sizeof(Word));
    return ((a0 ^ b0) | (a1 ^ b1)) == 0;
}

bool sameText(std::string_view a, std::string_view b) {
    const std::size_t n = a.size();
    if (n != b.size()) return false;
    if (n >= 8 && n <= 16) return sameByTwoWords<std::uint64_t>(a.data(), b.data(), n);
    if (n >= 4 && n < 8) return sameByTwoWords<std::uint32_t>(a.data(), b.data(), n);
    if (n < 4) {
        for (std::size_t i = 0; i < n; ++i)
            if (a[i] != b[i]) return false;
        return true;
    }
    return std::memcmp(a.data(), b.data(), n) == 0;
}

// Each column's state while walking down: its bit and cell in the row above.
struct ColumnState {
    std::string_view above;
    bool bit = false;
    bool settled = false; // from here on its stored bits are already right
    int firstBlank = INT_MAX;
};

// Walks rows [begin, end) for columns first … last (states[c - first]), row by row so that a
// row's block is read once however many columns there are. With `Settle`, past row
// `settleAfter` a column whose new bit equals the stored one is left alone: the rows below it
// did not change, so neither do their bits. Records each column's first blank cell.
template <bool Settle>
void walkRows(const StringGrid& grid, std::vector<RowFlag>& flags, int first, int last, int begin,
              int end, std::vector<ColumnState>& states, int settleAfter) {
    int open = 0;
    for (const ColumnState& s : states) open += s.settled ? 0 : 1;
    ColumnState* state = states.data();
    for (int r = begin; r < end && open > 0; ++r) {
        const PackedRow* row = grid.packedRow(r);
        // The row's bits are worked on in a copy: a store through the record's bytes could
        // alias anything and would make the compiler reload every column's state.
        std::uint8_t bits[sizeof(RowFlag::Bits)];
        std::uint8_t* stored = flags[static_cast<std::size_t>(r)].Bits;
        std::memcpy(bits, stored, sizeof bits);
        const int cells = row ? static_cast<int>(row->cells) : 0;
        const char* text = row ? row->text() : nullptr;
        for (int c = first; c <= last; ++c) {
            ColumnState& s = state[c - first];
            if (Settle && s.settled) continue;
            std::string_view cell;
            if (c < cells) {
                const std::uint32_t at = row->offset(static_cast<std::size_t>(c));
                cell =
                    std::string_view(text + at, row->offset(static_cast<std::size_t>(c) + 1) - at);
            }
            if (blank(cell)) {
                s.bit = false;
                s.firstBlank = std::min(s.firstBlank, r);
            } else if (!sameText(cell, s.above)) {
                s.bit = !s.bit;
            }
            s.above = cell;
            const auto mask = static_cast<std::uint8_t>(0x80u >> (c % 8));
            std::uint8_t& byte = bits[c / 8];
            if (Settle && r > settleAfter && ((byte & mask) != 0) == s.bit) {
                s.settled = true;
                --open;
                continue;
            }
            byte = s.bit ? static_cast<std::uint8_t>(byte | mask)
                         : static_cast<std::uint8_t>(byte & ~mask);
        }
        std::memcpy(stored, bits, sizeof bits);
    }
}

void recomputeColumns(const StringGrid& grid, std::vector<RowFlag>& flags, int first, int last,
                      int fromRow, int settleAfter) {
    first = std::max(first, grid.fixedCols());
    last = std::min({last, grid.colCount() - 1, kLastBreakColumn});
    if (first > last) return;
    const int rows = std::min(grid.rowCount(), static_cast<int>(flags.size()));
    // The first row takes bit 1; continuing from a row keeps the bits stored above it.
    const int start = fromRow > 1 ? fromRow - 1 : grid.fixedRows();
    if (start >= rows) return;
    const std::size_t width = static_cast<std::size_t>(last - first + 1);
    std::vector<ColumnState> states(width);
    const PackedRow* startRow = grid.packedRow(start);
    for (int c = first; c <= last; ++c) {
        ColumnState& s = states[static_cast<std::size_t>(c - first)];
        s.bit = fromRow > 1 ? storedBit(flags[static_cast<std::size_t>(start)], c) : true;
        s.above = cellOf(startRow, c);
        storeBit(flags[static_cast<std::size_t>(start)], c, s.bit);
    }

    const bool large =
        static_cast<long long>(rows - start) * static_cast<long long>(width) > 2000000;
    if (settleAfter != INT_MAX || !large || std::thread::hardware_concurrency() < 2) {
        if (settleAfter != INT_MAX)
            walkRows<true>(grid, flags, first, last, start + 1, rows, states, settleAfter);
        else
            walkRows<false>(grid, flags, first, last, start + 1, rows, states, INT_MAX);
        return;
    }
    // The lower half is walked at the same time as if each column came into it with bit 0; once
    // the upper half's bits are known, a column that came in with 1 has its bits flipped down to
    // its first blank cell, where the bit is 0 whatever came before.
    const int mid = start + 1 + (rows - start - 1) / 2;
    std::vector<ColumnState> lower(width);
    const PackedRow* aboveMid = grid.packedRow(mid - 1);
    for (int c = first; c <= last; ++c)
        lower[static_cast<std::size_t>(c - first)].above = cellOf(aboveMid, c);
    std::thread other(walkRows<false>, std::cref(grid), std::ref(flags), first, last, mid, rows,
                      std::ref(lower), INT_MAX);
    walkRows<false>(grid, flags, first, last, start + 1, mid, states, INT_MAX);
    other.join();

    std::vector<std::pair<int, int>> flips; // (end row, column)
    for (int c = first; c <= last; ++c) {
        const std::size_t i = static_cast<std::size_t>(c - first);
        if (states[i].bit) flips.emplace_back(lower[i].firstBlank, c);
    }
    if (flips.empty()) return;
    std::sort(flips.begin(), flips.end(), std::greater<>());
    std::uint8_t mask[sizeof(RowFlag::Bits)] = {};
    for (auto [end, c] : flips) mask[c / 8] ^= static_cast<std::uint8_t>(0x80u >> (c % 8));
    const int firstByte = first / 8, lastByte = last / 8;
    for (int r = mid; r < rows && !flips.empty(); ++r) {
        while (!flips.empty() && flips.back().first <= r) {
            const int c = flips.back().second;
            mask[c / 8] ^= static_cast<std::uint8_t>(0x80u >> (c % 8));
            flips.pop_back();
        }
        std::uint8_t* bits = flags[static_cast<std::size_t>(r)].Bits;
        for (int b = firstByte; b <= lastByte; ++b) bits[b] ^= mask[b];
    }
}

} // namespace

bool breakColourBit(const RowFlag& flag, int column) {
    return TestBit(flag.Bits, kBreakBitsHighByte, column);
}

void RecomputeBreakColours(const StringGrid& grid, std::vector<RowFlag>& flags, int column,
                           int fromRow) {
    if (column >= 0)
        recomputeColumns(grid, flags, column, column, fromRow, INT_MAX);
    else
        recomputeColumns(grid, flags, grid.fixedCols(), grid.colCount() - 1, fromRow, INT_MAX);
}

void RecomputeBreakColumnRange(const StringGrid& grid, std::vector<RowFlag>& flags, int first,
                               int last, int fromRow) {
    recomputeColumns(grid, flags, first, last, fromRow, INT_MAX);
}

void RecomputeBreakColoursAfterCells(const StringGrid& grid, std::vector<RowFlag>& flags,
                                     const GridRect& cells) {
    if (!cells.valid()) return;
    recomputeColumns(grid, flags, cells.left, cells.right, cells.top, cells.bottom);
}

} // namespace kol
