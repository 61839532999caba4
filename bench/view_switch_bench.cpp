// Response of the View switches and view controls on the 1,000,000-line table: the handler
// and the repaint of a full-screen grid, as the user waits for them.
//   QT_QPA_PLATFORM=offscreen view_switch_bench [FILE]
#include "bench_support.h"

#include "app/kolumbra01_window.h"
#include "ui/grid_widget.h"
#include "viewer/browse_window.h"

#include <QAction>
#include <QApplication>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sys/stat.h>

namespace {
using namespace kol;

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const std::string path = bench::benchTable(argc, argv);
    bench::YesPrompts prompts;
    bench::MemoryClipboard clipboard;
    BrowseWindow browse;
    Kolumbra01Window w(".", {}, &browse, &prompts, &clipboard);
    w.resize(1920, 1080);
    w.show();
    QCoreApplication::processEvents();
    TFm_Kolumbra01& m = w.model();
    auto t0 = std::chrono::steady_clock::now();
    m.LoadTable(path, 0);
    w.sync();
    w.grid()->viewport()->repaint();
    std::printf("load + first paint: %.0f ms (%d rows)\n", bench::msSince(t0),
                m.Grid.rowCount() - 1);

    auto measure = [&](const char* name, const std::function<void()>& step) {
        auto start = std::chrono::steady_clock::now();
        step();
        w.sync();
        w.grid()->viewport()->repaint();
        std::printf("%-40s %7.1f ms\n", name, bench::msSince(start));
    };
    for (MenuItem* item : {&m.Mn_FixedCenter, &m.Mn_DataCenter, &m.Mn_TrimSpace, &m.Mn_DateEdit,
                           &m.Mn_KaraGyoColor, &m.Mn_KaraGyoBlack, &m.Mn_BreakColor,
                           &m.Mn_BreakColor, &m.Mn_FixedRowSEQ, &m.Mn_FixedRowSEQ}) {
        std::string name = "View: " + std::string(w.action(*item)->text().toUtf8().constData());
        measure(name.c_str(), [&] { w.action(*item)->trigger(); });
    }
    for (int fold : {1, 0, 5}) {
        std::string name = "Cmb_Fold item " + std::to_string(fold);
        measure(name.c_str(), [&] {
            m.Cmb_Fold.ItemIndex = fold;
            m.Cmb_FoldClick();
        });
    }
    measure("Cmb_LimColLen item 4", [&] {
        m.Cmb_LimColLen.ItemIndex = 4;
        m.Cmb_LimColLenClick();
    });
    measure("Cmb_FixedRows item 2", [&] {
        m.Cmb_FixedRows.ItemIndex = 2;
        m.Cmb_FixedRowsClick();
    });
    measure("Cmb_FixedCol item 3", [&] {
        m.Cmb_FixedCol.ItemIndex = 3;
        m.Cmb_FixedColClick();
    });
    measure("Cmb_FixedCol item 0", [&] {
        m.Cmb_FixedCol.ItemIndex = 0;
        m.Cmb_FixedColClick();
    });
    return 0;
}
