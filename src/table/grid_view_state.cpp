#include "table/grid_view_state.h"

#include <algorithm>

namespace kol {

void GridViewState::setCurrent(int c, int r) {
    const int cols = grid_ ? grid_->colCount() : 1, rows = grid_ ? grid_->rowCount() : 1;
    col = std::clamp(c, 0, cols - 1);
    row = std::clamp(r, 0, rows - 1);
    selection = {col, row, col, row};
}

void GridViewState::clamp() {
    if (!grid_) return;
    const int rows = grid_->rowCount(), cols = grid_->colCount();
    const int fixedRows = grid_->fixedRows(), fixedCols = grid_->fixedCols();
    col = std::clamp(col, 0, cols - 1);
    row = std::clamp(row, 0, rows - 1);
    topRow = std::clamp(topRow, fixedRows, std::max(fixedRows, rows - 1));
    leftCol = std::clamp(leftCol, fixedCols, std::max(fixedCols, cols - 1));
    if (selection.valid()) {
        selection.right = std::min(selection.right, cols - 1);
        selection.bottom = std::min(selection.bottom, rows - 1);
        if (!selection.valid()) selection = {col, row, col, row};
    }
}

} // namespace kol
