// A large table in the main window, step by step as the user waits for each: the load to the
// first paint, Ctrl+End, one cell edited near the top and at the end and each edit's undo, and
// the save through the menu's dialog. Prints the peak memory per source byte after each step.
//   QT_QPA_PLATFORM=offscreen window_large_bench FILE [SAVED_FILE]
// With KOLUMBRA_BENCH_KEY_COLUMN=N in the environment the table loads with key column N shown.
// The saved file defaults to FILE with ".saved.csv" appended; it is removed at the end.
#include "bench_support.h"

#include "app/kolumbra01_window.h"
#include "ui/grid_widget.h"
#include "viewer/browse_window.h"

#include <QApplication>
#include <QKeyEvent>
#include <QScrollBar>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <sys/stat.h>

namespace {
using namespace kol;
using Steady = std::chrono::steady_clock;

// Answers Yes and names the file to save into.
struct SavePrompts : bench::YesPrompts {
    std::string target;
    std::string saveFileName(const FileDialogRequest&) override { return target; }
};
} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: window_large_bench FILE [SAVED_FILE]\n");
        return 2;
    }
    const std::string path = argv[1];
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) {
        std::fprintf(stderr, "no such file: %s\n", path.c_str());
        return 1;
    }
    const double sourceBytes = static_cast<double>(st.st_size);
    SavePrompts prompts;
    prompts.target = argc > 2 ? argv[2] : path + ".saved.csv";
    bench::MemoryClipboard clipboard;
    BrowseWindow browse;
    Kolumbra01Window w(".", {}, &browse, &prompts, &clipboard);
    w.resize(1280, 1000);
    w.show();
    QCoreApplication::processEvents();
    TFm_Kolumbra01& m = w.model();
    if (const char* key = std::getenv("KOLUMBRA_BENCH_KEY_COLUMN")) {
        m.Settings.Cmb_FixedCol = std::atoi(key);
        std::printf("key column %d\n", m.Settings.Cmb_FixedCol);
    }
    const long startKb = bench::statusKb("VmHWM:");

    auto measure = [&](const char* name, const std::function<void()>& step) {
        auto t0 = Steady::now();
        step();
        w.sync();
        w.grid()->viewport()->repaint();
        const double ms = bench::msSince(t0);
        std::printf("%-34s %9.1f ms   peak %7.0f MB = %.2f bytes per source byte\n", name, ms,
                    bench::statusKb("VmHWM:") / 1024.0,
                    bench::statusKb("VmHWM:") * 1024.0 / sourceBytes);
    };
    std::printf("file: %s (%.1f MB); window before the load: peak %.0f MB\n", path.c_str(),
                sourceBytes / 1e6, startKb / 1024.0);
    measure("load to the first paint", [&] { m.LoadTable(path, 0); });
    std::printf("table: %d rows x %d columns\n", m.Grid.rowCount() - 1, m.Grid.colCount() - 2);

    auto key = [&](Qt::Key k, Qt::KeyboardModifiers mods) {
        QKeyEvent press(QEvent::KeyPress, k, mods);
        QApplication::sendEvent(w.grid(), &press);
    };
    measure("Ctrl+End", [&] { key(Qt::Key_End, Qt::ControlModifier); });
    std::printf("  current cell %d, %d; top row %d\n", m.View.col, m.View.row, m.View.topRow);
    measure("Ctrl+Home", [&] { key(Qt::Key_Home, Qt::ControlModifier); });
    QScrollBar* bar = w.grid()->verticalScrollBar();
    measure("scroll bar to its end", [&] { bar->setValue(bar->maximum()); });
    std::printf("  top row %d of %d\n", m.View.topRow, m.Grid.rowCount() - 1);
    measure("scroll bar to its start", [&] { bar->setValue(0); });

    const int firstData = m.Grid.fixedRows();
    const int last = m.Grid.rowCount() - 1;
    const int col = m.Grid.fixedCols() + 1;
    measure("edit a cell in the first row", [&] { m.commitCell(col, firstData, "abc"); });
    measure("  its undo", [&] { m.Mn_UndoClick(); });
    measure("edit a cell in the middle", [&] { m.commitCell(col, last / 2, "abc"); });
    measure("  its undo", [&] { m.Mn_UndoClick(); });
    measure("edit a cell in the last row", [&] { m.commitCell(col, last, "abc"); });
    measure("  its undo", [&] { m.Mn_UndoClick(); });
    measure("Save As (menu)", [&] { m.Mn_FileSaveClick(TFm_Kolumbra01::SaveSender::Menu); });
    struct stat saved {};
    const bool wrote = stat(prompts.target.c_str(), &saved) == 0;
    std::printf("saved: %s, %lld bytes (%s the source's size)\n", prompts.target.c_str(),
                wrote ? static_cast<long long>(saved.st_size) : -1LL,
                wrote && saved.st_size == st.st_size ? "same as" : "NOT");
    if (argc < 3) std::remove(prompts.target.c_str());
    return 0;
}
