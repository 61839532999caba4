// The print copy: the table as the preview prints it. Cells are read from the caller's grid (the
// preview is modal, so it cannot change underneath); sizes are the copy's own, because the
// preview measures rows from their texts, widens columns by a letter and hides the number row
// and column at will, without touching the caller's grid.
#pragma once

#include "print/row_layout.h"
#include "table/string_grid.h"

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace kol::print {

class PrintCopy {
public:
    // Heights from the source rows; widths from the source columns, each above 0 widened by
    // `sourceCharWidth` (the width of "A" in the source font).
    PrintCopy(const StringGrid& source, int sourceCharWidth);

    const StringGrid& grid() const { return *grid_; }
    int rowCount() const { return grid_->rowCount(); }
    int colCount() const { return grid_->colCount(); }
    int fixedRows() const { return grid_->fixedRows(); }
    int fixedCols() const { return grid_->fixedCols(); }
    int defaultRowHeight() const { return grid_->defaultRowHeight(); }
    std::string_view cell(int c, int r) const { return grid_->cell(c, r); }

    // Before cell scaling, in layout units.
    std::span<std::int32_t> heights() { return heights_; }
    std::span<const std::int32_t> heights() const { return heights_; }
    std::span<int> widths() { return widths_; }
    std::span<const int> widths() const { return widths_; }
    int rowHeight(int r) const { return heights_[static_cast<std::size_t>(r)]; }
    int colWidth(int c) const { return widths_[static_cast<std::size_t>(c)]; }

    BreakBitTable& breakBits() { return breakBits_; }
    const BreakBitTable& breakBits() const { return breakBits_; }
    // The break bits start again from the top; rows are worked out as pages need them.
    void recomputeBreakBits() { breakBits_.reset(rowCount(), colCount()); }
    void breakBitsThrough(int lastRow) { computeBreakBits(*grid_, breakBits_, lastRow + 1); }

    // True when every data cell (beyond the fixed columns) of row r is the empty string.
    bool rowEmpty(int r) const { return grid_->rowEmptyFrom(r, fixedCols()); }

    // The View2 options: row 0's height and column 0's width back to what they were when the
    // copy was built, or 0.
    void showNumbers(bool rowNumbers, bool columnNumbers);
    int savedRow0Height() const { return savedRow0Height_; }
    int savedCol0Width() const { return savedCol0Width_; }
    std::size_t memoryBytes() const;

private:
    const StringGrid* grid_;
    std::vector<std::int32_t> heights_;
    std::vector<int> widths_;
    BreakBitTable breakBits_;
    int savedRow0Height_ = 0, savedCol0Width_ = 0;
};

} // namespace kol::print
