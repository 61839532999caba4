// Stepping the single-row editor to the next record of a table of a million rows and 200 data
// columns: the write-back of an edited value and the next record's lines (the model), then the
// redraw of the editor's grid through the grid widget. Run offscreen:
//   QT_QPA_PLATFORM=offscreen record_bench
#include <QApplication>
#include <QImage>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "bench_support.h"
#include "record/record_editor.h"
#include "record/record_window.h"
#include "text/cp932.h"
#include "ui/grid_widget.h"
#include "ui/qt_program_look.h"

namespace {

constexpr int kRows = 1'000'000, kData = 200, kCols = kData + 2, kSteps = 200, kWarmUp = 10;

struct Switches : kol::TableViewSwitches {
    kol::RowLabelRule rowLabelRule() const override { return {false, 1}; }
    int titleRowsChoice() const override { return 1; }
    int keyColumnChoice() const override { return 0; }
    int keyColumnLetters() const override { return 6; }
    bool breakColours() const override { return true; }
    kol::DisplaySwitches displaySwitches() const override { return {}; }
    int foldChoice() const override { return 0; }
    double columnLimit() const override { return 25; }
    unsigned char separator() const override { return ','; }
    kol::GridMetrics metrics() const override { return {7, 13, 22}; }
};

struct Link : kol::RecordMainLink {
    int nameRowIndex() const override { return 1; }
    std::string nameRowCaption() const override { return "1"; }
    int keyColumnIndex() const override { return 0; }
    std::string tableFileName() const override { return "bench.csv"; }
    int letterWidth() const override { return 7; }
    void recordEditorShown(bool) override {}
    void unsetOperationRange() override {}
    void unsetPopupCell() override {}
    void undoMenuChanged() override {}
    void showSearchWindow() override {}
    void focusRecordGrid() override {}
    void focusTableGrid() override {}
    bool isDoubleClick(int, int) override { return false; }
    void printRecord(const kol::StringGrid&, const kol::print::HeadingLines&, int) override {}
    void clearProgressText() override {}
};

// Row 0 the column numbers, row 1 the names, then records of short mixed words.
void buildTable(kol::TableDocument& doc) {
    const char* words[] = {"東京都", "ｶﾀｶﾅ", "12,345", "2024/01/31", "請求書", "ABC", ""};
    std::vector<std::string> sj;
    for (const char* w : words) sj.push_back(kol::cp932::fromUtf8(w));
    std::uint32_t seed = 7;
    auto next = [&] { return seed = seed * 1664525u + 1013904223u; };
    kol::bench::buildGrid(doc.Grid, kRows, kCols, [&](int r, int c, std::string& text) {
        text = c == 0   ? std::to_string(r)
               : c == 1 ? std::string()
               : r == 0 ? std::to_string(c - 1)
               : r == 1 ? "name" + std::to_string(c - 1)
                        : sj[(next() >> 8) % sj.size()];
    });
    doc.Grid.setFixedCols(2);
    doc.Grid.setFixedRows(2);
    doc.resetAttributes();
}

struct Stats {
    std::vector<double> ms;
    void add(std::chrono::steady_clock::time_point a, std::chrono::steady_clock::time_point b) {
        ms.push_back(std::chrono::duration<double, std::milli>(b - a).count());
    }
    void print(const char* what) const {
        std::vector<double> s = ms;
        std::sort(s.begin(), s.end());
        double sum = 0;
        for (double v : s) sum += v;
        std::printf("%-34s mean %7.3f ms  median %7.3f ms  max %7.3f ms\n", what, sum / s.size(),
                    s[s.size() / 2], s.back());
    }
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    kol::TableDocument doc;
    Switches switches;
    kol::TableView shown(doc, switches);
    kol::GridViewState mainView(doc.Grid);
    Link link;
    kol::bench::YesPrompts prompts;
    auto t0 = std::chrono::steady_clock::now();
    buildTable(doc);
    auto t1 = std::chrono::steady_clock::now();
    std::printf("table: %d rows x %d data columns, built in %.0f ms, RSS %ld MB\n", kRows, kData,
                std::chrono::duration<double, std::milli>(t1 - t0).count(),
                kol::bench::statusKb("VmRSS:") / 1024);

    kol::RecordEditor editor(doc, shown, mainView, link, prompts);
    kol::TableSubscription listening(shown.listeners(), editor);
    kol::RecordWindow window(editor, kol::programFont(13),
                             [](const std::function<void()>& f) { f(); });
    window.resize(1280, 760);
    mainView.setCurrent(5, 2);
    editor.Btn_VertGridClick();
    window.sync();
    window.show();
    QApplication::processEvents();
    QWidget* viewport = window.grid()->viewport();
    QImage image(viewport->size(), QImage::Format_ARGB32_Premultiplied);

    Stats model, redraw, both;
    std::uint32_t seed = 99;
    for (int i = 0; i < kWarmUp + kSteps; ++i) {
        // A record somewhere in the table, one of its values edited, then the step to the next.
        seed = seed * 1664525u + 1013904223u;
        const int row = 2 + static_cast<int>(seed % (kRows - 3));
        editor.showRecord(row, 1 + static_cast<int>((seed >> 8) % kData));
        const int line = editor.VertView.row;
        const std::string edited = "edited " + std::to_string(i);
        editor.VertGrid.setCell(2, line, edited);
        auto a = std::chrono::steady_clock::now();
        editor.Btn_VertRowNoNextClick();
        auto b = std::chrono::steady_clock::now();
        window.grid()->refresh();
        viewport->render(&image);
        auto c = std::chrono::steady_clock::now();
        if (i < kWarmUp) continue;
        model.add(a, b);
        redraw.add(b, c);
        both.add(a, c);
        if (doc.Grid.cell(line + 1, row) != edited || editor.ShownRow != row + 1) {
            std::printf("the edit did not reach the table\n");
            return 1;
        }
    }
    std::printf("steps: %d (after %d unmeasured)\n", kSteps, kWarmUp);
    model.print("write back + next record (model)");
    redraw.print("redraw of VertGrid (offscreen)");
    both.print("step and redraw");
    return 0;
}
