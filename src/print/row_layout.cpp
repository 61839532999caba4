#include "print/row_layout.h"

#include "text/text_utils.h"

#include <algorithm>
#include <cstdint>

namespace kol::print {

void BreakBitTable::reset(int rows, int columns) {
    rows_ = std::max(rows, 0);
    columns_ = std::clamp(columns, 0, kLastColumn + 1);
    computedRows_ = 0;
    bytesPerRow_ = static_cast<std::size_t>(columns_ + 7) / 8;
    bits_.assign(static_cast<std::size_t>(rows_) * bytesPerRow_, 0);
    parity_.assign(static_cast<std::size_t>(columns_), 0);
}

void BreakBitTable::set(int row, int column, bool on) {
    if (column < 0 || column >= columns_ || row < 0 || row >= rows_) return;
    const auto mask = static_cast<std::uint8_t>(1u << (column % 8));
    auto& byte = bits_[index(row, column)];
    byte = on ? static_cast<std::uint8_t>(byte | mask) : static_cast<std::uint8_t>(byte & ~mask);
}

void computeBreakBits(const StringGrid& grid, BreakBitTable& bits, int endRow) {
    if (bits.rows() != grid.rowCount() ||
        bits.columns() != std::min(grid.colCount(), BreakBitTable::kLastColumn + 1))
        bits.reset(grid.rowCount(), grid.colCount());
    const int end = std::min(endRow, bits.rows());
    const int first = std::max(grid.fixedCols(), 0);
    for (int r = std::max(bits.computedRows_, 1); r < end; ++r) {
        const PackedRow* above = grid.packedRow(r - 1);
        const PackedRow* row = grid.packedRow(r);
        for (int c = first; c < bits.columns(); ++c) {
            const auto i = static_cast<std::uint32_t>(c);
            const std::string_view cell = row && i < row->cells ? row->cell(i) : std::string_view();
            const std::string_view up =
                above && i < above->cells ? above->cell(i) : std::string_view();
            std::uint8_t& parity = bits.parity_[static_cast<std::size_t>(c)];
            if (TrimmedView(cell).empty())
                parity = 0;
            else if (cell != up)
                parity ^= 1;
            if (parity) bits.set(r, c, true);
        }
    }
    bits.computedRows_ = std::max(bits.computedRows_, end);
}

void computeRowHeights(const StringGrid& grid, std::span<int> columnWidths,
                       const RowHeightInput& input, std::span<std::int32_t> heights, int firstRow,
                       int endRow) {
    const bool listing = input.text.mode == PrintMode::TextListing;
    if (listing) {
        // 96 % in whole units, exactly (a binary 0.96 would cut 25 * 0.96 to 23).
        const int listingWidth =
            static_cast<int>(static_cast<long long>(input.usableWidth) * 96 / 100);
        std::fill(columnWidths.begin(), columnWidths.end(), listingWidth);
    }
    const int columns = std::min<int>(grid.colCount(), static_cast<int>(columnWidths.size()));
    const int rowCount = std::min({grid.rowCount(), static_cast<int>(heights.size()), endRow});
    for (int r = std::max(firstRow, 0); r < rowCount; ++r) {
        long long lines = 1;
        for (int c = 0; c < columns; ++c) {
            const long long width = columnWidths[static_cast<std::size_t>(c)];
            const long long textWidth =
                static_cast<long long>(printTextLength(grid.cell(c, r), input.text)) *
                input.charWidth;
            if (width > 0 && width < textWidth) lines = std::max(lines, 1 + textWidth / width);
        }
        if (input.maxLinesPerCell > 0) lines = std::min<long long>(lines, input.maxLinesPerCell);
        const long long height = listing ? lines * input.charHeight * 13 / 10
                                         : (lines - 1) * input.charHeight + input.defaultRowHeight;
        heights[static_cast<std::size_t>(r)] =
            static_cast<std::int32_t>(std::min<long long>(height, INT32_MAX));
    }
}

} // namespace kol::print
