// Structure edits and their undo on the 1,000,000-line table, on the document alone (the main
// window adds its labels and captions on top).
//   edit_bench [FILE]
#include "bench_support.h"

#include "edit/table_edits.h"
#include "table/table_load.h"

#include <chrono>
#include <cstdio>
#include <functional>

namespace {
using namespace kol;
using Steady = std::chrono::steady_clock;
} // namespace

int main(int argc, char** argv) {
    TableDocument doc;
    if (!bench::loadBenchTable(bench::benchTable(argc, argv), doc)) return 1;

    auto run = [&](const char* name, const std::function<void()>& edit) {
        auto t0 = Steady::now();
        edit();
        double editMs = bench::msSince(t0);
        std::size_t saved = doc.History.savedBytes();
        auto t1 = Steady::now();
        for (bool more = true; more;) (void)edits::undoNewest(doc, more);
        std::printf("%-36s edit %7.1f ms   undo %7.1f ms   history %7.1f MB\n", name, editMs,
                    bench::msSince(t1), saved / 1e6);
    };
    const int mid = 500000;
    using edits::insertBlank, edits::insertCopies, edits::removeLines;
    run("insert 1,000 rows", [&] { insertBlank(doc, Axis::Rows, mid, 1000); });
    run("copy 1,000 rows", [&] { insertCopies(doc, Axis::Rows, mid, 1000, 1000); });
    run("delete 1,000 rows",
        [&] { removeLines(doc, Axis::Rows, mid, 1000, HistoryKind::RowDelete); });
    run("delete 100,000 rows",
        [&] { removeLines(doc, Axis::Rows, mid, 100000, HistoryKind::RowDelete); });
    run("clipped move of 1,000 rows", [&] {
        insertCopies(doc, Axis::Rows, mid, 1000, 1000);
        removeLines(doc, Axis::Rows, mid + 1000, 1000, HistoryKind::RowClipMove);
    });
    run("drag one row", [&] {
        doc.Grid.moveRow(10, 900000);
        edits::recordDrag(doc, Axis::Rows, 10, 900000);
    });
    run("insert 5 columns", [&] { insertBlank(doc, Axis::Columns, 4, 5); });
    run("copy 5 columns", [&] { insertCopies(doc, Axis::Columns, 4, 5, 3); });
    run("delete 5 columns", [&] { removeLines(doc, Axis::Columns, 4, 5, HistoryKind::ColDelete); });
    run("drag one column", [&] {
        doc.Grid.moveCol(3, 9);
        edits::recordDrag(doc, Axis::Columns, 3, 9);
    });
    return 0;
}
