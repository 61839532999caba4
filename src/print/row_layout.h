// Per-row print data of the print copy: the row height from its texts and the break-colour
// bits that shade a cell when its value differs from the one above. Kept as two packed arrays
// rather than a record per row: a million-row table pays four bytes of height and one bit per
// existing column up to 128, not a full 129-bit set per row.
#pragma once

#include "print/print_text.h"
#include "table/string_grid.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace kol::print {

// Bits over the columns 0..kLastColumn of every row; columns beyond are never shaded. Rows are
// worked out from the top as far as they are needed (a preview shows its first pages long before
// anyone looks at the millionth row), so the table remembers how far it got.
class BreakBitTable {
public:
    static constexpr int kLastColumn = 128;

    // Every bit clear, nothing worked out, room for `rows` rows of `columns` columns.
    void reset(int rows, int columns);
    int rows() const { return rows_; }
    int columns() const { return columns_; }
    int computedRows() const { return computedRows_; }
    bool test(int row, int column) const {
        if (column < 0 || column >= columns_ || row < 0 || row >= rows_) return false;
        return (bits_[index(row, column)] >> (column % 8)) & 1u;
    }
    void set(int row, int column, bool on);
    std::size_t memoryBytes() const { return bits_.capacity(); }

private:
    std::size_t index(int row, int column) const {
        return static_cast<std::size_t>(row) * bytesPerRow_ + static_cast<std::size_t>(column / 8);
    }
    friend void computeBreakBits(const StringGrid&, BreakBitTable&, int);

    int rows_ = 0, columns_ = 0;
    int computedRows_ = 0;
    std::size_t bytesPerRow_ = 0;
    std::vector<std::uint8_t> bits_;
    std::vector<std::uint8_t> parity_; // per column, of the last row worked out
};

// Break bits of every row: for each column from the fixed columns up to kLastColumn, a parity
// that flips where a cell's text differs from the one above and drops to 0 on a blank cell.
// Row 0 (the column numbers) is never shaded. Works out rows up to endRow - 1, going on from
// where the table stopped; a table of another shape starts again.
void computeBreakBits(const StringGrid& grid, BreakBitTable& bits, int endRow = INT32_MAX);

struct RowHeightInput {
    PrintTextOptions text;    // mode, trim and date edit
    int charWidth = 0;        // "A" in the source grid's font
    int charHeight = 0;       // likewise
    int defaultRowHeight = 0; // the source grid's default row height (table mode)
    int maxLinesPerCell = 0;  // 0: no limit
    int usableWidth = 0;      // text-listing mode: the column is 96 % of it
};

// The heights from the cell texts, one per grid row, into heights[r]. A cell needs
// 1 + text width / column width lines when its text is wider than a column of positive width.
// `columnWidths` are the source grid's widths; in text-listing mode every entry becomes
// Trunc(usable width * 0.96) and is used as such. Only rows firstRow..endRow - 1 are measured,
// so a preview that lays out its first rows need not read every cell of a long table.
void computeRowHeights(const StringGrid& grid, std::span<int> columnWidths,
                       const RowHeightInput& input, std::span<std::int32_t> heights,
                       int firstRow = 0, int endRow = INT32_MAX);

} // namespace kol::print
