// The printers the preview offers: the system's, then the built-in "PDF" one, which is always
// there; paper codes for Qt's page sizes; the PDF printer's modes and job.
#include "print/qt_printers.h"
#include "support/fakes.h"
#include "support/test_support.h"
#include "text/cp932.h"

#include <QFile>
#include <QTest>

using namespace kol;
using namespace kol::print;

class QtPrintersTest : public QObject {
    Q_OBJECT
private slots:
    void paperCodesRoundTrip() {
        for (int code : {8, 9, 11, 12, 13}) QCOMPARE(paperCodeOf(pageSizeOf(code)), code);
        QCOMPARE(pageSizeOf(12), QPageSize::JisB4);
        QCOMPARE(paperCodeOf(QPageSize::Letter), 0);
        QCOMPARE(paperText(paperCodeOf(QPageSize::Letter)), std::string("?"));
    }

    void theBuiltInPrinterIsAlwaysOffered() {
        QtPrinters printers;
        const int system = static_cast<int>(QPrinterInfo::availablePrinters().size());
        QCOMPARE(printers.printerCount(), system + 1);
        printers.setPrinterIndex(system); // the last entry
        std::optional<PrinterDevice> device = printers.currentDevice();
        QVERIFY(device.has_value());
        QCOMPARE(device->device, std::string("PDF"));

        // Restored from the settings: A3 landscape, then read back as the preview shows it.
        restorePrinter(printers, system, "a3", sj("横"));
        std::optional<PrinterReading> reading = readPrinter(printers);
        QVERIFY(reading.has_value());
        QCOMPARE(reading->paperText, std::string("A3"));
        QCOMPARE(reading->orientationText, sj("横"));
        const PrinterPage page = printers.page();
        QCOMPARE(page.dotsPerInchY, 600);
        QVERIFY(page.widthDots > page.heightDots);

        // A stored index beyond the list falls back to the default printer.
        restorePrinter(printers, system + 5, "", "");
        QCOMPARE(printers.printerIndex(), -1);
    }

    void thePdfPrinterAsksForItsFile() {
        QtPrinters printers;
        printers.setPrinterIndex(printers.printerCount() - 1);
        test::ScriptedPrompts prompts;
        test::TempDir dir;
        printers.setDialogs(nullptr, &prompts);
        std::string error;
        QVERIFY(!printers.beginJob("t", error));
        QVERIFY(error.empty());
        prompts.fileNames = {(dir / "job.pdf").string()};
        std::unique_ptr<PrintJob> job = printers.beginJob("t", error);
        QVERIFY2(job != nullptr, error.c_str());
        job->canvas().fillRect({10, 10, 100, 100}, 0xC0C0C0);
        QVERIFY(job->finish(error));
        QVERIFY(QFile::exists(QString::fromStdString((dir / "job.pdf").string())));
    }
};

QTEST_MAIN(QtPrintersTest)
#include "qt_printers_test.moc"
