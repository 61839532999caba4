// Memory per row of a table of empty lines: the fixed cost every row pays, whatever its text.
//   empty_rows_bench grid [ROWS]   the string grid alone, filled as a load fills it
//   empty_rows_bench load [ROWS]   loadTableFile end to end (grid and row attributes)
// ROWS defaults to 10,000,000. The figure is the growth of the resident set over the load,
// after the source has been released, divided by the row count.
#include "bench_support.h"

#include "table/table_fill.h"
#include "table/table_load.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {
using namespace kol;
} // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "grid";
    const long rows = argc > 2 ? std::atol(argv[2]) : 10000000;
    if ((mode != "grid" && mode != "load") || rows <= 0) {
        std::fprintf(stderr, "usage: empty_rows_bench grid|load [ROWS]\n");
        return 2;
    }
    const std::string path = "/tmp/kolumbra-empty-" + std::to_string(rows) + ".csv";
    {
        std::string text;
        text.reserve(static_cast<std::size_t>(rows) * 2);
        for (long i = 0; i < rows; ++i) text += "\r\n";
        std::ofstream(path, std::ios::binary)
            .write(text.data(), static_cast<std::streamsize>(text.size()));
    }

    StringGrid grid;
    TableDocument doc;

    const long before = bench::statusKb("VmRSS:");
    auto start = std::chrono::steady_clock::now();
    int loadedRows = 0;
    if (mode == "grid") {
        SourceText source;
        if (SourceText::readFile(path, source) != SourceText::ReadStatus::Ok) return 1;
        const std::size_t lines = countLines(source.text());
        grid.setRowCount(static_cast<int>(lines) + 1);
        grid.setColCount(3);
        grid.setFixedCols(2);
        (void)FillRows(grid, source, lines, ',', RowLabelRule{}, {});
        source.release();
        loadedRows = grid.rowCount() - 1;
    } else {
        if (!loadTableFile(path, doc, TableLoadOptions{}).ok()) return 1;
        loadedRows = doc.Grid.rowCount() - 1;
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const long after = bench::statusKb("VmRSS:");
    std::printf(
        "%s: %d empty rows in %.2f s; RSS +%.1f MB = %.1f bytes per row (peak RSS %.1f MB)\n",
        mode.c_str(), loadedRows, seconds, (after - before) / 1024.0,
        (after - before) * 1024.0 / loadedRows, bench::statusKb("VmHWM:") / 1024.0);
    ::unlink(path.c_str());
    return 0;
}
