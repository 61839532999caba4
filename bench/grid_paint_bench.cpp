// Paint time of the grid widget at full-screen size over a table of a million rows of
// Japanese text. Run offscreen: QT_QPA_PLATFORM=offscreen grid_paint_bench
#include <QApplication>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "bench_support.h"
#include "table/string_grid.h"
#include "text/cp932.h"
#include "ui/grid_widget.h"

namespace {

constexpr int kRows = 1'000'000, kCols = 12, kWarmUp = 5, kPaints = 50;

// Deterministic table: 2 fixed columns (labels, key) and 10 data columns of mixed words.
void buildTable(kol::StringGrid& g) {
    const char* words[] = {"東京都",   "大阪府", "株式会社",    "営業部", "ｶﾀｶﾅ",
                           "山田太郎", "請求書", "2024/01/31",  "12,345", "備考：特になし",
                           "ﾃｽﾄ",      "ＡＢＣ", "北海道札幌市"};
    std::vector<std::string> sj;
    for (const char* w : words) sj.push_back(kol::cp932::fromUtf8(w));
    std::uint32_t seed = 12345;
    auto next = [&] { return seed = seed * 1664525u + 1013904223u; };
    kol::bench::buildGrid(g, kRows, kCols, [&](int r, int c, std::string& text) {
        text.clear();
        if (c == 0) text = std::to_string(r);
        if (c < 2) return;
        for (std::uint32_t k = 0, n = 1 + (next() >> 31); k < n; ++k)
            text += sj[(next() >> 8) % sj.size()];
    });
    g.setFixedCols(2);
    g.setFixedRows(2);
}

struct Timing {
    double mean, max;
};

Timing measure(kol::GridWidget& w) {
    QWidget* vp = w.viewport();
    QImage image(vp->size(), QImage::Format_ARGB32_Premultiplied);
    std::vector<double> ms;
    for (int i = 0; i < kWarmUp + kPaints; ++i) {
        // A different part of the table each time, so every paint decodes fresh cells.
        w.setTopLeft(2 + static_cast<int>((i * 199'999LL) % (kRows - 100)), 2);
        auto start = std::chrono::steady_clock::now();
        vp->render(&image);
        auto end = std::chrono::steady_clock::now();
        if (i >= kWarmUp)
            ms.push_back(std::chrono::duration<double, std::milli>(end - start).count());
    }
    double sum = 0;
    for (double v : ms) sum += v;
    return {sum / ms.size(), *std::max_element(ms.begin(), ms.end())};
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    kol::StringGrid grid;
    buildTable(grid);
    kol::GridWidget widget;
    widget.setFrameShape(QFrame::NoFrame);
    const int w = widget.letterWidth();
    grid.setDefaultRowHeight(widget.letterHeight() + 6);
    grid.setDefaultColWidth(16 * w);
    grid.setColWidth(0, 9 * w);
    grid.setColWidth(1, w);
    widget.resize(1920, 1080);
    kol::GridViewState view(grid);
    widget.setGrid(&grid, &view);
    widget.show();
    app.processEvents();
    // The viewport itself is full-screen size; the scroll bars come on top of it.
    QSize room = widget.viewport()->size();
    widget.resize(widget.size() + QSize(1920, 1080) - room);
    app.processEvents();
    widget.refresh();

    QSize vp = widget.viewport()->size();
    Timing plain = measure(widget);
    int calls = 0;
    widget.setCellPainter([&](QPainter&, const QRect&, int, int, bool, bool) { ++calls; });
    Timing hooked = measure(widget);
    std::printf("viewport %dx%d, %d rows x %d columns, %d cells a paint\n", vp.width(), vp.height(),
                kRows, kCols, calls / (kWarmUp + kPaints));
    std::printf("default drawing:         mean %.2f ms, max %.2f ms over %d paints\n", plain.mean,
                plain.max, kPaints);
    std::printf("with an empty cell hook: mean %.2f ms, max %.2f ms over %d paints\n", hooked.mean,
                hooked.max, kPaints);
    if (argc > 1) { // a picture of the last paint, to look at
        QImage image(vp, QImage::Format_ARGB32_Premultiplied);
        widget.viewport()->render(&image);
        image.save(QString::fromLocal8Bit(argv[1]));
    }
    return 0;
}
