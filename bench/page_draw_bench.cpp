// Time to draw one page of the print preview at 100 %: the 1,000,000-row, 10-column table laid
// out on A4 portrait (600 dpi printer), page 1 and a page from the middle, drawn on a canvas that
// only counts its calls (the drawing's own cost) and on the preview's QImage canvas.
//   QT_QPA_PLATFORM=offscreen page_draw_bench [FILE]
#include "bench_support.h"

#include "print/page_drawing.h"
#include "print/page_geometry.h"
#include "print/qt_image_canvas.h"
#include "print/row_layout.h"

#include <QGuiApplication>
#include <QImage>

#include <chrono>
#include <cstdio>

namespace {

using namespace kol;
using namespace kol::print;

class CountingCanvas : public Canvas {
public:
    long calls = 0;
    void fillRect(const CanvasRect&, std::uint32_t) override { ++calls; }
    void frameRect(const CanvasRect&, std::uint32_t, int) override { ++calls; }
    void dottedFrame(const CanvasRect&, std::uint32_t) override { ++calls; }
    void line(int, int, int, int, std::uint32_t, int) override { ++calls; }
    void text(const TextBox&) override { ++calls; }
};

// "A" half as wide as the font is high: the program's fixed-pitch face.
class FixedPitch : public FontMetrics {
public:
    int charWidth(const CanvasFont& f) const override { return f.height / 2; }
    int charHeight(const CanvasFont& f) const override { return f.height; }
    int textWidth(const CanvasFont& f, std::string_view s) const override {
        return static_cast<int>(s.size()) * charWidth(f);
    }
};

constexpr int kRepeats = 50;

double msPerPage(Canvas& canvas, const FontMetrics& metrics, const PrintLayout& layout,
                 const PrintCopy& copy, int page, const PageOptions& options,
                 const PageMapping& mapping, const PageHeader& header) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kRepeats; ++i)
        drawPage(canvas, metrics, layout, copy, page, options, mapping, header);
    return bench::msSince(start) / kRepeats;
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    TableDocument doc;
    if (!bench::loadBenchTable(bench::benchTable(argc, argv), doc)) return 1;
    const StringGrid& grid = doc.Grid;

    constexpr int kCharWidth = 8, kCharHeight = 16; // "A" in the 16-pixel cell font
    PrintCopy copy(grid, kCharWidth);
    RowHeightInput rh;
    rh.charWidth = kCharWidth;
    rh.charHeight = kCharHeight;
    rh.defaultRowHeight = grid.defaultRowHeight();
    computeRowHeights(grid, copy.widths(), rh, copy.heights());
    copy.breakBitsThrough(copy.rowCount() - 1);

    GeometryInput g;
    g.printer = {4960, 7016, 600};
    g.leftMarginIndex = 2;
    g.topMarginIndex = 2;
    g.nonEmptyHeadings = 1;
    g.charHeight = kCharHeight;
    const PageGeometry geo = *computePageGeometry(g);

    LayoutInput in;
    in.rowHeights.assign(copy.heights().begin(), copy.heights().end());
    in.columnWidths.assign(copy.widths().begin(), copy.widths().end());
    in.fixedRows = copy.fixedRows();
    in.fixedColumns = copy.fixedCols();
    in.usableWidth = geo.usableWidth;
    in.usableHeight = geo.usableHeight;
    in.bandGap = geo.bandGap;
    in.creatingAll = true;
    PrintLayout layout;
    auto start = std::chrono::steady_clock::now();
    if (layout.run(in) != LayoutStatus::Complete) return 1;
    std::printf("layout: %d pages, %.0f ms\n", layout.pageCount(), bench::msSince(start));

    PageOptions options;
    options.charWidth = kCharWidth;
    options.charHeight = kCharHeight;
    options.colours = printColours(192);
    options.emptyRows = EmptyRowFill::Light;
    PageMapping mapping;
    mapping.marginLeft = geo.marginLeft;
    mapping.marginTop = geo.marginTop;
    mapping.pageWidth = geo.pageWidth;
    mapping.pageHeight = geo.pageHeight;
    PageHeader header;
    header.datePage = datePageLine(PrintMode::Table, {true, true}, "2024/05/06", "12:34:56", 1,
                                   layout.pageCount());
    header.headings[0] = "File.Name:  /tmp/kolumbra-bench-1m.csv";
    header.usableWidth = geo.usableWidth;
    header.headerHeight = geo.header;
    header.map = UnitMapping{1.0, geo.marginLeft, geo.marginTop};

    const int middle = (layout.pageCount() + 1) / 2;
    FixedPitch fixedPitch;
    for (int page : {1, middle}) {
        CountingCanvas counting;
        const double ms =
            msPerPage(counting, fixedPitch, layout, copy, page, options, mapping, header);
        const PageRecord& rec = layout.page(page);
        std::printf("page %d (rows %d-%d, columns %d-%d, %d bands), counting canvas: %.3f ms "
                    "per page (%ld calls)\n",
                    page, rec.first.row, rec.last.row, rec.first.column, rec.last.column,
                    rec.bandCount(), ms, counting.calls / kRepeats);
    }
    QImage image(mapping.plainUnits(geo.pageWidth), mapping.plainUnits(geo.pageHeight),
                 QImage::Format_RGB32);
    QtFontMetrics qtMetrics(&image);
    for (int page : {1, middle}) {
        QtImageCanvas canvas(image);
        const double ms =
            msPerPage(canvas, qtMetrics, layout, copy, page, options, mapping, header);
        std::printf("page %d, QImage canvas %dx%d: %.2f ms per page\n", page, image.width(),
                    image.height(), ms);
    }
    return 0;
}
