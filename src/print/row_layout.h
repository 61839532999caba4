// Per-row print data of the print copy: the row height from its texts and the break-colour
// bits that shade a cell when its value differs from the one above.
#pragma once

#include "print/print_text.h"
#include "table/string_grid.h"

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace kol::print {

// Bits over the columns 0..kLastBreakColumn; columns beyond are never shaded.
class BreakBits {
public:
    static constexpr int kLastColumn = 128;

    bool test(int column) const {
        return column >= 0 && column <= kLastColumn && (bytes_[column / 8] >> (column % 8)) & 1u;
    }
    void set(int column, bool on);
    bool operator==(const BreakBits&) const = default;

private:
    std::array<std::uint8_t, kLastColumn / 8 + 1> bytes_{};
};

struct RowLayout {
    std::int32_t height = 0; // layout units before cell scaling
    BreakBits breakBits;
};

// Break bits of every row: for each column from the fixed columns up to kLastColumn, a parity
// that flips where a cell's text differs from the one above and drops to 0 on a blank cell.
// Row 0 (the column numbers) is never shaded. `rows` has one entry per grid row.
void computeBreakBits(const StringGrid& grid, std::span<RowLayout> rows);

struct RowHeightInput {
    PrintTextOptions text;    // mode, trim and date edit
    int charWidth = 0;        // "A" in the source grid's font
    int charHeight = 0;       // likewise
    int defaultRowHeight = 0; // the source grid's default row height (table mode)
    int maxLinesPerCell = 0;  // 0: no limit
    int usableWidth = 0;      // text-listing mode: the column is 96 % of it
};

// The heights from the cell texts, one per grid row, into rows[r].height. A cell needs
// 1 + text width / column width lines when its text is wider than a column of positive width.
// `columnWidths` are the source grid's widths; in text-listing mode every entry becomes
// Trunc(usable width * 0.96) and is used as such.
void computeRowHeights(const StringGrid& grid, std::span<int> columnWidths,
                       const RowHeightInput& input, std::span<RowLayout> rows);

} // namespace kol::print
