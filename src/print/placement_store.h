// Where the layout put each cell, without a record per cell. A band lays out a range of
// columns over a run of rows, and every row of a band places the same columns: so a column's
// left and right are the same wherever it is placed, and the cells of a row in one band share
// their page, band number, top and bottom. The store keeps a column range per band start
// column ("group") and, per group, the page, band and top of each row; bottom = top + height.
#pragma once

#include "print/print_types.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace kol::print {

// What the per-cell record holds: page and band 1-based, -1 with a rectangle of -1s while
// unplaced.
struct CellPlacement {
    int page = -1;
    int band = -1;
    CellRect rect;
    bool placed() const { return page > 0; }
    bool operator==(const CellPlacement&) const = default;
};

class PlacementStore {
public:
    // All unplaced; `rowHeights` are the laid-out heights, one per row, of which the first
    // `rowsToLayOut` will be placed.
    void reset(int columns, std::vector<std::int32_t> rowHeights, int rowsToLayOut);

    // The group of a band starting at `firstColumn`, made on its first use.
    int groupFor(int firstColumn);
    // Records cell (c, r) of the band of `group`. The rectangle's height is the row's.
    void place(int group, int column, int row, int page, int band, const CellRect& rect);

    CellPlacement placement(int column, int row) const;

    int columnCount() const { return static_cast<int>(left_.size()); }
    int rowCount() const { return static_cast<int>(heights_.size()); }
    int rowHeight(int row) const { return heights_[static_cast<std::size_t>(row)]; }

    // A placed row of one group: its cells are the columns first..last.
    struct RowSpan {
        int row, firstColumn, lastColumn, page, band, top, bottom;
        int right; // the largest right edge of the group's columns
    };
    // Every placed span of rows 0..lastRow, row by row and, within a row, left to right.
    template <typename F> void forEachSpan(int lastRow, F&& f) const;

    // A copy holding rows 0..lastRow only; later rows unplaced.
    PlacementStore truncatedCopy(int lastRow) const;
    std::size_t memoryBytes() const;

private:
    struct Group {
        int firstColumn = 0, lastColumn = -1, right = 0;
        std::vector<std::int32_t> page; // per row; 0 = unplaced
        std::vector<std::int32_t> top;
        std::vector<std::uint8_t> band;
    };

    std::vector<std::int32_t> heights_;
    std::vector<std::int32_t> left_, right_; // per column
    std::vector<std::int32_t> group_;        // per column: the group it was placed in, or -1
    std::vector<Group> groups_;
    std::vector<int> order_; // group indexes by first column
    int rowsToLayOut_ = 0;
};

template <typename F> void PlacementStore::forEachSpan(int lastRow, F&& f) const {
    const int last = lastRow < rowCount() ? lastRow : rowCount() - 1;
    for (int r = 0; r <= last; ++r) {
        for (int g : order_) {
            const Group& grp = groups_[static_cast<std::size_t>(g)];
            const auto i = static_cast<std::size_t>(r);
            if (i >= grp.page.size() || grp.page[i] <= 0) continue;
            f(RowSpan{r, grp.firstColumn, grp.lastColumn, grp.page[i], grp.band[i], grp.top[i],
                      grp.top[i] + heights_[i], grp.right});
        }
    }
}

} // namespace kol::print
