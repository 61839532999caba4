#include "print/row_layout.h"

#include "text/text_utils.h"

#include <algorithm>
#include <cstdint>

namespace kol::print {

void BreakBitTable::reset(int rows, int columns) {
    rows_ = std::max(rows, 0);
    columns_ = std::clamp(columns, 0, kLastColumn + 1);
    bytesPerRow_ = static_cast<std::size_t>(columns_ + 7) / 8;
    bits_.assign(static_cast<std::size_t>(rows_) * bytesPerRow_, 0);
}

void BreakBitTable::set(int row, int column, bool on) {
    if (column < 0 || column >= columns_ || row < 0 || row >= rows_) return;
    const auto mask = static_cast<std::uint8_t>(1u << (column % 8));
    auto& byte = bits_[index(row, column)];
    byte = on ? static_cast<std::uint8_t>(byte | mask) : static_cast<std::uint8_t>(byte & ~mask);
}

void computeBreakBits(const StringGrid& grid, BreakBitTable& bits) {
    const int rowCount = grid.rowCount();
    bits.reset(rowCount, grid.colCount());
    const int last = std::min(grid.colCount() - 1, BreakBitTable::kLastColumn);
    for (int c = std::max(grid.fixedCols(), 0); c <= last; ++c) {
        bool parity = false;
        for (int r = 1; r < rowCount; ++r) {
            const std::string_view cell = grid.cell(c, r);
            if (TrimmedView(cell).empty())
                parity = false;
            else if (cell != grid.cell(c, r - 1))
                parity = !parity;
            if (parity) bits.set(r, c, true);
        }
    }
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
