// Where the cells of a grid are on screen for a view state and a drawing area of a given size:
// fixed rows and columns first, then the scrolling ones from topRow / leftCol, each followed by
// a one-pixel grid line; a hidden (zero-size) row or column takes no room. The grid widget, the
// input side's test double and page layout all measure through this.
#pragma once

#include "table/cell_range.h"
#include "table/grid_view_state.h"
#include "table/string_grid.h"

#include <vector>

namespace kol {

class GridGeometry {
public:
    static constexpr int kLine = 1;     // grid line width
    static constexpr int kEdgeSlop = 3; // pixels either side of a border that grab it

    struct Span {
        int index, pos, size;
    };
    struct Rect {
        int left = 0, top = 0, width = 0, height = 0;
        bool empty() const { return width <= 0 || height <= 0; }
    };

    GridGeometry(const StringGrid& grid, const GridViewState& view, int width, int height)
        : grid_(grid), view_(view), width_(width), height_(height) {}

    // Axis::Rows measures down the drawing area, Axis::Columns across it.
    int count(Axis axis) const;
    int fixedCount(Axis axis) const;
    int sizeOf(Axis axis, int index) const;
    int length(Axis axis) const { return axis == Axis::Rows ? height_ : width_; }
    int firstScrolling(Axis axis) const; // topRow / leftCol, kept inside the grid
    int fixedLength(Axis axis) const;    // pixels taken by the fixed rows or columns
    std::vector<Span> spansOnScreen(Axis axis) const;
    int fullyVisible(Axis axis, int first) const; // whole rows or columns shown from `first`
    int maxFirst(Axis axis) const;                // last first index that still fills the area
    int firstToShow(Axis axis, int index) const;  // the first index that shows `index` whole
    int indexAt(Axis axis, int pos, bool clampToScrolling) const;
    int edgeAt(Axis axis, int pos) const;    // index whose far edge is under pos, or -1
    int spanPos(Axis axis, int index) const; // first pixel of a shown index, or -1
    Rect cellRect(int col, int row) const;   // empty when the cell is not on screen
    bool cellAt(int x, int y, int& col, int& row) const;

private:
    const StringGrid& grid_;
    const GridViewState& view_;
    int width_, height_;
};

} // namespace kol
