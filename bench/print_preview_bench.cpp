// The print preview of a large table, as the user waits for it: the time from opening to the
// first page drawn, the creation of every row, how soon a stop takes effect, one page drawn at
// 100 %, and what the preview adds to the process's peak memory.
//   QT_QPA_PLATFORM=offscreen print_preview_bench [FILE]
// bench/print_preview_vs_cli.sh runs it beside kolumbra-cli info on the same file.
#include "bench_support.h"

#include "print/grid_print_01.h"
#include "print/headless_print_host.h"
#include "print/qt_image_canvas.h"
#include "table/table_document.h"

#include <QDate>
#include <QGuiApplication>
#include <QImage>

#include <chrono>
#include <cstdio>
#include <functional>
#include <sys/stat.h>

namespace {
using namespace kol;
using namespace kol::print;
using Steady = std::chrono::steady_clock;

// The preview window's side, drawing on a QImage as the window does, without a window.
class ImageHost : public HeadlessPrintHost {
public:
    QImage image{1, 1, QImage::Format_RGB32};
    QtFontMetrics fontMetrics{&image};
    std::function<void()> pending;

    ImageHost() : HeadlessPrintHost(fontMetrics) {
        image.setDotsPerMeterX(3780);
        image.setDotsPerMeterY(3780);
    }
    bool makeImage(int width, int height) override {
        QImage made(width, height, QImage::Format_RGB32);
        if (made.isNull()) return false;
        made.setDotsPerMeterX(3780);
        made.setDotsPerMeterY(3780);
        image = std::move(made);
        image.fill(Qt::white);
        return true;
    }
    void paintImage(const std::function<void(Canvas&)>& draw) override {
        QtImageCanvas canvas(image);
        draw(canvas);
    }
    void processPending() override {
        if (pending) pending();
    }
};

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const std::string path = bench::benchTable(argc, argv);
    struct stat st {};
    stat(path.c_str(), &st);
    TableDocument doc;
    auto t0 = Steady::now();
    if (!bench::loadBenchTable(path, doc)) return 1;
    std::printf("load: %.0f ms\n", bench::msSince(t0));
    for (int c = 0; c < doc.Grid.colCount(); ++c) doc.Grid.setColWidth(c, c == 1 ? 0 : 80);
    const long peakBeforeKb = bench::statusKb("VmHWM:");
    const long rows = doc.Grid.rowCount() - 1;

    PrintRequest request;
    request.source = &doc.Grid;
    request.headings[0] = "File.Name:  " + path;
    request.sourceFont = {std::string(kPrintFace), 13};
    bench::YesPrompts prompts;
    ImageHost host;
    BuiltInPrinter printer;
    TfrmGridPrint_01 preview(prompts, host, printer, request);

    t0 = Steady::now();
    preview.FormShow();
    std::printf("opening to the first page: %.0f ms (%d pages of the first %d rows)\n",
                bench::msSince(t0), preview.layout().pageCount(), preview.layout().rowsCreated());

    preview.Cmb_Scale.ItemIndex = 10; // 100 %
    preview.Cmb_ScaleChange();
    const int pages = 20;
    t0 = Steady::now();
    for (int i = 0; i < pages; ++i)
        preview.drawPreviewPage(*std::make_unique<QtImageCanvas>(host.image),
                                1 + i % preview.layout().pageCount());
    std::printf("one page at 100 %%: %.1f ms\n", bench::msSince(t0) / pages);

    // A stop pressed during the creation: from the press to the layout's return.
    Steady::time_point pressed{};
    int progress = 0;
    host.pending = [&] {
        if (++progress == 40) {
            pressed = Steady::now();
            preview.Btn_CreateStopClick();
        }
    };
    preview.Btn_DataCreateClick();
    std::printf("stop: back at the earlier layout %.1f ms after the press (%d rows created)\n",
                bench::msSince(pressed), preview.layout().rowsCreated());

    host.pending = nullptr;
    t0 = Steady::now();
    preview.Btn_DataCreateClick();
    const double createMs = bench::msSince(t0);
    std::printf("creating all %ld rows: %.0f ms, %d pages\n", rows, createMs,
                preview.layout().pageCount());
    const long peakAfterKb = bench::statusKb("VmHWM:");
    const double added = (peakAfterKb - peakBeforeKb) * 1024.0;
    std::printf("peak added by the preview: %.1f MB, %.1f bytes per row, %.3f bytes per source "
                "byte (file %.1f MB)\n",
                added / 1e6, added / static_cast<double>(rows),
                added / static_cast<double>(st.st_size), st.st_size / 1e6);
    std::printf("print copy %.1f bytes per row, layout %.1f bytes per row\n",
                static_cast<double>(preview.copy().memoryBytes()) / rows,
                static_cast<double>(preview.layout().memoryBytes()) / rows);
    return 0;
}
