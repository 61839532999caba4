// The page canvas on a QImage: cells and a header drawn through the toolkit-free drawing land
// on the pixels they should, in the program's typeface.
#include "print/cell_drawing.h"
#include "print/header_drawing.h"
#include "print/qt_image_canvas.h"

#include <QImage>
#include <QTest>

#include <string>

using namespace kol;
using namespace kol::print;

namespace {

QRgb rgb(std::uint32_t bgr) {
    return qRgb(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

bool anyDark(const QImage& image, const QRect& area) {
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qGray(image.pixel(x, y)) < 128) return true;
    return false;
}

} // namespace

class ImageCanvasTest : public QObject {
    Q_OBJECT

    QImage page{400, 200, QImage::Format_RGB32};
    PrintColours colours = printColours(192);

    CellDrawing cell(CanvasRect r, std::string_view text, int letterWidth, int letterHeight) {
        CellDrawing c;
        c.rect = r;
        c.inset = 2;
        c.columnWidth = r.width();
        c.text = text;
        c.font.height = 16;
        c.charWidth = letterWidth;
        c.charHeight = letterHeight;
        return c;
    }

private slots:
    void cellsAndHeaderLandOnTheirPixels() {
        page.fill(Qt::white);
        const QtFontMetrics metrics(&page);
        const CanvasFont font{std::string(kPrintFace), 16};
        const int w = metrics.charWidth(font), h = metrics.charHeight(font);
        QVERIFY(w > 0 && w < 16);
        // A fixed-pitch face: "アイ" is as wide as four letters "A".
        QCOMPARE(metrics.textWidth(font, "\x83\x41\x83\x43"), 4 * w);
        {
            QtImageCanvas canvas(page);
            CellDrawing fixed = cell({20, 60, 120, 100}, "No.", w, h);
            fixed.fixed = true;
            fixed.fill = CellFill::Grey;
            drawCell(canvas, fixed, colours);
            CellDrawing data = cell({119, 60, 300, 100}, "\x95\x5C\x83\x5C abc", w, h); // 表ソ
            data.fill = CellFill::Light;
            drawCell(canvas, data, colours);
            CellDrawing dotted = cell({299, 60, 380, 100}, "", w, h);
            dotted.lines = CellLineKind::Dotted;
            drawCell(canvas, dotted, colours);

            PageHeader header;
            header.datePage = "   2024/05/06  12:34:56    PAGE  1 / 1";
            header.headings = {"File.Name:  data.csv", "", "", ""};
            header.usableWidth = 360;
            header.headerHeight = 40;
            header.map = {1.0, 20, 60};
            drawHeader(canvas, metrics, header);
            canvas.frameRect({1, 1, 400, 200}, PrintColours::Blue, 1);
        }
        if (qEnvironmentVariableIsSet("KOLUMBRA_SAMPLE_PAGE"))
            page.save(qEnvironmentVariable("KOLUMBRA_SAMPLE_PAGE"));

        // Fills below the text line, frames on the cells' outer ring.
        QCOMPARE(page.pixel(100, 95), rgb(colours.grey));
        QCOMPARE(page.pixel(290, 95), rgb(colours.light));
        QCOMPARE(page.pixel(350, 95), qRgb(255, 255, 255));
        QCOMPARE(page.pixel(20, 80), qRgb(0, 0, 0));  // fixed cell's left line
        QCOMPARE(page.pixel(70, 99), qRgb(0, 0, 0));  // its bottom line
        QCOMPARE(page.pixel(200, 60), qRgb(0, 0, 0)); // the data cell's top line
        QCOMPARE(page.pixel(70, 100), qRgb(255, 255, 255));
        // The dotted box: every other pixel of its bottom line is black.
        const bool first = page.pixel(330, 99) == qRgb(0, 0, 0);
        const bool second = page.pixel(331, 99) == qRgb(0, 0, 0);
        QVERIFY(first != second);
        // The page edge in blue.
        QCOMPARE(page.pixel(200, 1), qRgb(0, 0, 255));
        // Text is black on the fill, inside the inner box of each cell.
        QVERIFY(anyDark(page, QRect(23, 63, 3 * w, h - 2)));
        QVERIFY(anyDark(page, QRect(122, 63, 8 * w, h - 2)));
        QVERIFY(!anyDark(page, QRect(122, 62 + h + 1, 150, 100 - 62 - h - 3)));
        // The header: the heading at the left of the top margin (60 - 40 + 17 .. 39),
        // the date line towards the right.
        QVERIFY(anyDark(page, QRect(20, 37, 60, 18)));
        QVERIFY(anyDark(page, QRect(200, 21, 150, 16)));
        QVERIFY(!anyDark(page, QRect(100, 21, 60, 16)));
    }
};

QTEST_MAIN(ImageCanvasTest)
#include "image_canvas_test.moc"
