#include "view/break_colours.h"

#include "text/text_utils.h"

#include <algorithm>
#include <thread>

namespace kol {

namespace {

void setBit(RowFlag& flag, int c, int value) {
    SetBit(flag.Bits, kBreakBitsHighByte, c, value);
}

void recomputeColumn(const StringGrid& g, std::vector<RowFlag>& flags, int c, int fromRow) {
    const int rows = std::min(g.rowCount(), static_cast<int>(flags.size()));
    int start = g.fixedRows();
    int bit = 1;
    if (fromRow > 1) {
        start = fromRow - 1;
        if (start >= rows) return;
        bit = breakColourBit(flags[start], c) ? 1 : 0;
    }
    if (start >= rows) return;
    setBit(flags[start], c, bit);
    std::string_view above = g.cell(c, start);
    for (int r = start + 1; r < rows; ++r) {
        std::string_view cell = g.cell(c, r);
        if (IsBlank(cell))
            bit = 0;
        else if (cell != above)
            bit = 1 - bit;
        setBit(flags[r], c, bit);
        above = cell;
    }
}

} // namespace

bool breakColourBit(const RowFlag& flag, int column) {
    return TestBit(flag.Bits, kBreakBitsHighByte, column);
}

namespace {
void recomputeColumns(const StringGrid& grid, std::vector<RowFlag>& flags, int first, int last,
                      int fromRow) {
    first = std::max(first, grid.fixedCols());
    last = std::min({last, grid.colCount() - 1, kLastBreakColumn});
    if (first > last) return;
    // Columns whose bits share a byte stay on one thread, so no byte is written by two.
    auto work = [&](int parity) {
        for (int c = first; c <= last; ++c)
            if ((c / 8) % 2 == parity) recomputeColumn(grid, flags, c, fromRow);
    };
    const bool large = static_cast<long long>(grid.rowCount()) * (last - first + 1) > 2000000;
    if (large && last / 8 > first / 8 && std::thread::hardware_concurrency() > 1) {
        std::thread other(work, 1);
        work(0);
        other.join();
    } else {
        work(0);
        work(1);
    }
}
} // namespace

void RecomputeBreakColours(const StringGrid& grid, std::vector<RowFlag>& flags, int column,
                           int fromRow) {
    if (column >= 0)
        recomputeColumns(grid, flags, column, column, fromRow);
    else
        recomputeColumns(grid, flags, grid.fixedCols(), grid.colCount() - 1, fromRow);
}

void RecomputeBreakColumnRange(const StringGrid& grid, std::vector<RowFlag>& flags, int first,
                               int last, int fromRow) {
    recomputeColumns(grid, flags, first, last, fromRow);
}

} // namespace kol
