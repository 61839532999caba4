// Where cells are on screen: fixed lines first, scrolling ones from the view's first index,
// one-pixel lines, hidden columns taking no room.
#include "view/grid_geometry.h"

#include <gtest/gtest.h>

namespace kol {
namespace {

struct Sheet {
    StringGrid grid;
    GridViewState view{grid};
    Sheet(int cols, int rows) {
        grid.setColCount(cols);
        grid.setRowCount(rows);
        grid.setFixedCols(1);
        grid.setFixedRows(1);
        grid.setDefaultColWidth(50);
        grid.setDefaultRowHeight(20);
        view.topRow = view.leftCol = 1;
    }
    GridGeometry at(int width, int height) const { return GridGeometry(grid, view, width, height); }
};

TEST(GridGeometry, CellsAndPointsMapBothWays) {
    Sheet s(10, 100);
    GridGeometry g = s.at(300, 200);
    EXPECT_EQ(g.cellRect(0, 0).left, 0);
    EXPECT_EQ(g.cellRect(2, 3).left, 102); // fixed 50 + line, then column 1 of 50 + line
    EXPECT_EQ(g.cellRect(2, 3).top, 63);
    for (int c : {0, 1, 4}) {
        for (int r : {0, 2, 8}) {
            GridGeometry::Rect rc = g.cellRect(c, r);
            int col = -1, row = -1;
            ASSERT_TRUE(g.cellAt(rc.left + 1, rc.top + 1, col, row));
            EXPECT_EQ(col, c);
            EXPECT_EQ(row, r);
        }
    }
    s.view.topRow = 5; // rows 1 … 4 are scrolled away; the fixed row stays
    GridGeometry scrolled = s.at(300, 200);
    EXPECT_TRUE(scrolled.cellRect(2, 3).empty());
    EXPECT_EQ(scrolled.cellRect(2, 5).top, 21);
}

TEST(GridGeometry, HiddenColumnsTakeNoRoomAndScrollingStopsAtAFullArea) {
    Sheet s(6, 30);
    s.grid.setColWidth(2, 0);
    GridGeometry g = s.at(300, 200);
    EXPECT_TRUE(g.cellRect(2, 1).empty());
    EXPECT_EQ(g.cellRect(3, 1).left, g.cellRect(1, 1).left + 51);
    // 200 pixels: the fixed row (21) and eight rows of 21 fit whole; the last first row that
    // still fills the area shows rows 22 … 29.
    EXPECT_EQ(g.fullyVisible(Axis::Rows, 1), 8);
    EXPECT_EQ(g.maxFirst(Axis::Rows), 22);
    EXPECT_EQ(g.firstToShow(Axis::Rows, 4), 1);   // already whole on screen
    EXPECT_EQ(g.firstToShow(Axis::Rows, 20), 13); // brought to the bottom edge
    EXPECT_EQ(g.edgeAt(Axis::Columns, 51 + 50 + 1), 1);
}

} // namespace
} // namespace kol
