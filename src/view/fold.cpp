#include "view/fold.h"

#include <algorithm>
#include <cmath>
#include <thread>
#include <utility>
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
        return;
    }
    const int h = letterHeight;
    std::vector<int> widths(grid.colCount());
    for (int c = 0; c < grid.colCount(); ++c) widths[c] = grid.colWidth(c);
    // Folded rows are collected and their heights set afterwards on this thread: the first
    // height set fills the grid's height list, which two threads must not do at once.
    std::vector<std::pair<int, int>> folded[2];
    auto work = [&](int part, int first, int last) {
        for (int r = first; r < last; ++r) {
            int lines = 1;
            for (int c = 0; c < grid.colCount(); ++c) {
                std::string_view cell = grid.cell(c, r);
                if (cell.empty()) continue;
                lines =
                    std::max(lines, foldLines(displayLength(cell, view), widths[c], letterWidth));
            }
            if (foldIndex >= 2) lines = std::min(lines, foldIndex);
            if (lines > 1)
                folded[part].emplace_back(
                    r, static_cast<int>(std::trunc(h * (lines + 4) / 10.0 + lines * h)));
            else
                grid.resetRowHeight(r);
        }
    };
    if (rows > 20000 && std::thread::hardware_concurrency() > 1) {
        std::thread other(work, 1, rows / 2, rows);
        work(0, 0, rows / 2);
        other.join();
    } else {
        work(0, 0, rows);
    }
    for (const auto& part : folded)
        for (auto [r, height] : part) grid.setRowHeight(r, height);
}

} // namespace kol
