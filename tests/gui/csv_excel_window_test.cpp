// The Excel sheet chooser is wired to its model and opens from the Excel button.
#include "app/csv_excel_window.h"
#include "app/kolumbra01_window.h"
#include "support/fakes.h"
#include "support/test_support.h"
#include "viewer/browse_window.h"
#include "workbook/xlsx_builder.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using namespace kol;

namespace {
struct NoBusy : BusyIndicator {
    void setBusy(bool) override {}
};

std::string book(const test::TempDir& dir) {
    std::string path = (dir / "two.xlsx").string();
    test::writeZip(path, test::xlsxParts({{"一月", "<row><c><v>1</v></c></row>", ""},
                                          {"二月", "<row><c><v>2</v><v/></c></row>", ""}}));
    return path;
}

// The chooser over a two-sheet book, shown.
struct Chooser {
    test::TempDir dir;
    std::unique_ptr<workbook::Workbook> wb;
    NoBusy busy;
    TCsvFileInf target;
    std::unique_ptr<TfrmCsvExcel> model;
    std::unique_ptr<CsvExcelWindow> window;

    bool open() {
        if (!workbook::openWorkbook(book(dir), wb).ok()) return false;
        model = std::make_unique<TfrmCsvExcel>(busy, TfrmCsvExcel::Mode::Read, "/x/two.xlsx", *wb,
                                               target);
        window = std::make_unique<CsvExcelWindow>(*model, nullptr);
        window->show();
        return true;
    }
};
} // namespace

class CsvExcelWindowTest : public QObject {
    Q_OBJECT

private slots:
    void listChooseAndOk() {
        Chooser c;
        QVERIFY(c.open());
        TfrmCsvExcel& model = *c.model;
        CsvExcelWindow& w = *c.window;
        const TCsvFileInf& target = c.target;
        QCOMPARE(w.windowTitle(), QString::fromUtf8("Kolumbra  Excel ファイルの読み込み"));
        QCOMPARE(w.sheets()->count(), 2);
        QCOMPARE(w.sheets()->item(1)->text(), QString::fromUtf8("  2. 二月"));
        QCOMPARE(w.sheetName()->text(), QString::fromUtf8("一月"));
        QVERIFY(w.sheetName()->isReadOnly());
        w.sheets()->setCurrentRow(1);
        QCOMPARE(w.sheetName()->text(), QString::fromUtf8("二月"));
        w.okButton()->click();
        QCOMPARE(w.result(), int(QDialog::Accepted));
        QVERIFY(model.OK);
        QCOMPARE(std::string(target.Lines.text()), std::string("2,\r\n"));
    }

    void enterChoosesTheSheet() {
        Chooser c;
        QVERIFY(c.open());
        TfrmCsvExcel& model = *c.model;
        CsvExcelWindow& w = *c.window;
        const TCsvFileInf& target = c.target;
        QCOMPARE(QFontInfo(w.sheets()->font()).family(), QString("IPAMincho"));
        w.sheets()->setFocus();
        w.sheets()->setCurrentRow(1);
        QTest::keyClick(w.sheets(), Qt::Key_Return);
        QCOMPARE(w.result(), int(QDialog::Accepted));
        QVERIFY(model.OK);
        QCOMPARE(std::string(target.Lines.text()), std::string("2,\r\n"));
    }

    void cancelCloses() {
        Chooser c;
        QVERIFY(c.open());
        TfrmCsvExcel& model = *c.model;
        CsvExcelWindow& w = *c.window;
        w.closeButton()->click();
        QCOMPARE(w.result(), int(QDialog::Rejected));
        QVERIFY(!model.OK);
    }

    void theExcelButtonOpensIt() {
        test::TempDir dir;
        test::ScriptedPrompts prompts;
        test::FakeClipboard clipboard;
        BrowseWindow browse;
        Kolumbra01Window main("/opt/kolumbra", {}, &browse, &prompts, &clipboard);
        main.show();
        prompts.fileNames = {book(dir)};
        QString seen;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<CsvExcelWindow*>(QApplication::activeModalWidget());
            if (!dialog) return;
            seen = dialog->sheetName()->text();
            dialog->okButton()->click();
        });
        QPushButton* excel = nullptr;
        for (QPushButton* b : main.findChildren<QPushButton*>())
            if (b->text() == "Excel") excel = b;
        QVERIFY(excel && excel->isEnabled());
        excel->click();
        QCOMPARE(seen, QString::fromUtf8("一月"));
        QCOMPARE(std::string(main.model().Grid.cell(2, 1)), std::string("1"));
        QAction* menu = main.action(main.model().Mn_ExcelOpen);
        QVERIFY(menu);
        QVERIFY(main.model().Mn_ExcelOpen.Enabled);
        QVERIFY(!menu->isVisible());
        // The hidden menu item runs the same command: its open dialog comes up (cancelled).
        const std::size_t dialogs = prompts.dialogs.size();
        menu->trigger();
        QCOMPARE(prompts.dialogs.size(), dialogs + 1);
    }
};

QTEST_MAIN(CsvExcelWindowTest)
#include "csv_excel_window_test.moc"
