// The window measures the print face with the toolkit, the command line and the PDF with
// FreeType: both must give the same letter sizes, or the two would paginate differently.
#include "print/ft_font_metrics.h"
#include "print/qt_image_canvas.h"
#include "text/cp932.h"

#include <QImage>
#include <QTest>

using namespace kol;
using namespace kol::print;

class PrintMetricsTest : public QObject {
    Q_OBJECT
private slots:
    void freeTypeAndToolkitAgree() {
        const FtFontMetrics ft(FtFontMetrics::findPrintFaceFile());
        QVERIFY2(ft.ok(), ft.error().c_str());
        QImage image(8, 8, QImage::Format_RGB32);
        const QtFontMetrics qt(&image);
        const std::string text = sj("表示 ABC ｶﾀｶﾅ");
        for (int px = 1; px <= 400; ++px) {
            const CanvasFont font{std::string(kPrintFace), px};
            QCOMPARE(ft.charWidth(font), qt.charWidth(font));
            QCOMPARE(ft.charHeight(font), qt.charHeight(font));
            QCOMPARE(ft.textWidth(font, text), qt.textWidth(font, text));
        }
    }

    void onlyThePrintFaceIsAccepted() {
        QVERIFY(!FtFontMetrics::findPrintFaceFile().empty());
        const FtFontMetrics missing("");
        QVERIFY(!missing.ok());
        QCOMPARE(missing.charWidth({std::string(kPrintFace), 12}), 0);
    }
};

QTEST_MAIN(PrintMetricsTest)
#include "print_metrics_test.moc"
