// Structure edits and their undo on the 1,000,000-line table.
//   edit_bench [FILE]
#include "bench_support.h"

#include "app/headless.h"
#include "platform/steady_clock.h"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <sys/stat.h>

namespace {
using namespace kol;
using Steady = std::chrono::steady_clock;

std::size_t historyBytes(const TFm_Kolumbra01& m) {
    return m.Doc.History.savedBytes();
}
} // namespace

int main(int argc, char** argv) {
    const std::string path = bench::benchTable(argc, argv);
    bench::YesPrompts prompts;
    NoClipboard clipboard;
    HeadlessHost host;
    SteadyClock clock;
    TFm_Kolumbra01 m(prompts, clipboard, host, clock, ".");
    m.FormCreate(ScreenInfo{});
    m.FormShow();
    if (!m.LoadTable(path, 0)) return 1;
    std::printf("table: %d rows x %d columns\n", m.Grid.rowCount() - 1, m.Grid.colCount() - 2);

    auto rows = [&](int top, int bottom, int popup) {
        m.OperationRange = CellRange(2, top, m.Grid.colCount() - 1, bottom);
        m.PopupRow = popup;
    };
    auto cols = [&](int left, int right, int popup) {
        m.OperationRange = CellRange(left, 2, right, m.Grid.rowCount() - 1);
        m.PopupCol = popup;
    };
    auto run = [&](const char* name, const std::function<void()>& edit) {
        auto t0 = Steady::now();
        edit();
        double editMs = bench::msSince(t0);
        std::size_t saved = historyBytes(m);
        auto t1 = Steady::now();
        m.Mn_UndoClick();
        std::printf("%-36s edit %7.1f ms   undo %7.1f ms   history %7.1f MB\n", name, editMs,
                    bench::msSince(t1), saved / 1e6);
    };
    const int mid = 500000;
    run("insert 1,000 rows", [&] { rows(mid, mid + 999, mid), m.Pm_RowInsertClick(); });
    run("copy 1,000 rows", [&] { rows(mid, mid + 999, 1000), m.Pm_RowCopyClick(); });
    run("delete 1,000 rows", [&] { rows(mid, mid + 999, mid), m.Pm_RowDeleteClick(); });
    run("delete 100,000 rows", [&] { rows(mid, mid + 99999, mid), m.Pm_RowDeleteClick(); });
    run("clipped move of 1,000 rows", [&] {
        m.ClipRange = {2, mid, m.Grid.colCount() - 1, mid + 999};
        m.ClipKind = ClipContent::Rows;
        m.PopupRow = 1000;
        m.Pm_RowClipMoveClick();
    });
    run("drag one row", [&] {
        m.Grid.moveRow(10, 900000);
        m.GridRowMoved(10, 900000);
    });
    run("insert 5 columns", [&] { cols(4, 8, 4), m.Pm_ColInsertClick(); });
    run("copy 5 columns", [&] { cols(4, 8, 3), m.Pm_ColCopyClick(); });
    run("delete 5 columns", [&] { cols(4, 8, 4), m.Pm_ColDeleteClick(); });
    run("drag one column", [&] {
        m.Grid.moveCol(3, 9);
        m.GridColumnMoved(3, 9);
    });
    return 0;
}
