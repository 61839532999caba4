// Memory and time of the print layout of a 1,000,000-row, 10-column table on A4 portrait at
// 600 dpi: bytes per row of the placements, page table and snapshot, against a record per cell.
#include "print/page_geometry.h"
#include "print/print_layout.h"
#include "print/row_layout.h"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

namespace {

long statusKb(const char* key) {
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind(key, 0) == 0) return std::atol(line.c_str() + std::string(key).size());
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    using namespace kol::print;
    constexpr int kRows = 1'000'001; // the column-number row and 1,000,000 data rows
    constexpr int kColumns = 12;     // row numbers, the key column and 10 data columns
    GeometryInput g;
    g.printer = {4960, 7016, 600};
    g.leftMarginIndex = 2;
    g.topMarginIndex = 2;
    g.nonEmptyHeadings = 1;
    g.charHeight = 16;
    const PageGeometry geo = *computePageGeometry(g);

    LayoutInput in;
    in.rowHeights.assign(kRows, 18);
    for (int r = 0; r < kRows; r += 7) in.rowHeights[r] = 34; // some rows of two lines
    in.columnWidths = {64, 0, 90, 120, 60, 150, 80, 100, 70, 130, 90, 110};
    if (argc > 1 && std::string(argv[1]) == "--narrow") // all columns in one band
        in.columnWidths = {64, 0, 60, 70, 60, 80, 60, 70, 60, 80, 60, 70};
    in.fixedRows = 1;
    in.fixedColumns = 2;
    in.usableWidth = geo.usableWidth;
    in.usableHeight = geo.usableHeight;
    in.bandGap = geo.bandGap;
    in.creatingAll = true;

    const long rssBefore = statusKb("VmRSS:");
    const auto start = std::chrono::steady_clock::now();
    PrintLayout layout;
    if (layout.run(in) != LayoutStatus::Complete) return 1;
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const long rssAfter = statusKb("VmRSS:");
    const double perRow = static_cast<double>(layout.memoryBytes()) / kRows;
    std::printf("usable %d x %d, %d pages, %d bands on page 1, layout %.2f s\n", geo.usableWidth,
                geo.usableHeight, layout.pageCount(), layout.page(1).bandCount(), seconds);
    std::printf("layout (its own snapshot): %.1f bytes per row (RSS growth %.1f bytes per row)\n",
                perRow, (rssAfter - rssBefore) * 1024.0 / kRows);
    std::printf("a record per cell: %zu bytes per row (twice with a copied snapshot)\n",
                sizeof(CellPlacement) * kColumns);
    BreakBitTable bits;
    bits.reset(kRows, kColumns);
    std::printf("row heights and break bits: %.1f bytes per row\n",
                4 + static_cast<double>(bits.memoryBytes()) / kRows);
    return 0;
}
