#include "view/fold.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <thread>
#include <vector>

namespace kol {

int foldLines(std::size_t displayBytes, int columnWidth, int letterWidth) {
    const double textWidth = static_cast<double>(displayBytes) * letterWidth;
    if (columnWidth == 0 || columnWidth >= textWidth) return 1;
    return static_cast<int>(std::trunc(textWidth / columnWidth)) + 1;
}

void ApplyFold(StringGrid& grid, const DisplaySwitches& view, int foldIndex, int letterWidth,
               int letterHeight) {
    const int rows = grid.rowCount();
    if (foldIndex == 1) {
        for (int r = 0; r < rows; ++r) grid.resetRowHeight(r);
        grid.compactRowHeights();
        return;
    }
    const int h = letterHeight;
    const int cols = grid.colCount();
    std::vector<int> widths(static_cast<std::size_t>(cols));
    // Per column the longest cell that is sure to show on one line: the view lengthens a cell
    // by at most two bytes (the slashes of a date), so only longer cells need a closer look.
    std::vector<std::size_t> oneLine(static_cast<std::size_t>(cols));
    for (int c = 0; c < cols; ++c) {
        widths[c] = grid.colWidth(c);
        const long long letters = letterWidth > 0 ? widths[c] / letterWidth : 0;
        oneLine[c] =
            widths[c] == 0 ? SIZE_MAX : static_cast<std::size_t>(std::max(letters - 2, 0LL));
    }
    // The height list is filled before the threads start, so each sets its own rows' heights.
    grid.keepRowHeights();
    auto work = [&](int first, int last) {
        for (int r = first; r < last; ++r) {
            const PackedRow* row = grid.packedRow(r);
            const int filled = row ? std::min(cols, static_cast<int>(row->cells)) : 0;
            int lines = 1;
            for (int c = 0; c < filled; ++c) {
                std::string_view cell = row->cell(static_cast<std::uint32_t>(c));
                if (cell.size() <= oneLine[c]) continue;
                lines =
                    std::max(lines, foldLines(displayLength(cell, view), widths[c], letterWidth));
            }
            if (foldIndex >= 2) lines = std::min(lines, foldIndex);
            if (lines > 1)
                grid.setRowHeight(r,
                                  static_cast<int>(std::trunc(h * (lines + 4) / 10.0 + lines * h)));
            else
                grid.resetRowHeight(r);
        }
    };
    if (rows > 20000 && std::thread::hardware_concurrency() > 1) {
        std::thread other(work, rows / 2, rows);
        work(0, rows / 2);
        other.join();
    } else {
        work(0, rows);
    }
    grid.compactRowHeights();
}

} // namespace kol
