// What one view of a grid shows and where its cursor is: the current cell, the selection, the
// scroll position, how many cells fit, and what the mouse may do. The grid widget and the window
// that owns it keep this; the cell store knows only the views attached to it, so that a shape
// change keeps every view inside the table.
#pragma once

#include "table/string_grid.h"

namespace kol {

class GridViewState {
public:
    GridViewState() = default;
    explicit GridViewState(StringGrid& grid) { grid.attachView(this); }
    ~GridViewState() {
        if (grid_) grid_->detachView(this);
    }
    GridViewState(const GridViewState&) = delete;
    GridViewState& operator=(const GridViewState&) = delete;

    int col = 0, row = 0;           // current cell
    GridRect selection{0, 0, 0, 0}; // range selection (includes the current cell)
    int topRow = 0, leftCol = 0;    // first scrolling row / column shown
    int visibleRowCount = 1, visibleColCount = 1;
    GridOptions options;

    // Moves the current cell (kept inside the grid) and collapses the selection onto it.
    void setCurrent(int c, int r);
    // Brings every index back inside the grid after its shape changed.
    void clamp();
    const StringGrid* grid() const { return grid_; }

private:
    friend class StringGrid;
    StringGrid* grid_ = nullptr;
};

} // namespace kol
