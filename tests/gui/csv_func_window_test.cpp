// The sort window is wired: the main window's buttons open its pages, drops reach the model,
// the run button sorts the main table and the visibility grid's double click hides a column;
// on its own, it keeps the main window's input off while a sort runs.
#include "app/kolumbra01_window.h"
#include "sort/csv_func_window.h"
#include "support/fakes.h"
#include "support/test_support.h"
#include "table/table_load.h"
#include "text/cp932.h"
#include "ui/grid_widget.h"
#include "viewer/browse_window.h"

#include <QListWidget>
#include <QPushButton>
#include <QtTest>

using namespace kol;

namespace {
// The main window as the sort window and its model see it, recording what they ask.
struct FakeMain : CsvFuncMain, CsvFuncWindowLink {
    bool inputEnabled = true;
    std::vector<bool> inputWhileHidden; // the main window's input as the table was hidden
    int mirrored = 0;
    int columnNameRow() const override { return 0; }
    std::string columnNameChoice() const override { return "none"; }
    RowLabelRule rowLabels() const override { return {}; }
    void sortStarting() override {}
    void setTableVisible(bool visible) override {
        if (!visible) inputWhileHidden.push_back(inputEnabled);
    }
    void sortFinished(bool) override {}
    void unsetPopupCell() override {}
    void setColumnShown(int, bool) override {}
    void activate() override {}
    void setMainInputEnabled(bool enabled) override { inputEnabled = enabled; }
    void mainModelChanged() override { ++mirrored; }
};
} // namespace

class CsvFuncWindowTest : public QObject {
    Q_OBJECT

    test::ScriptedPrompts prompts;
    test::FakeClipboard clipboard;
    BrowseWindow browse;

private slots:
    void buttonsOpenThePagesAndTheSortRuns() {
        Kolumbra01Window main("/opt/kolumbra", {}, &browse, &prompts, &clipboard);
        CsvFuncWindow& func = main.createSortWindow();
        main.show();
        QCoreApplication::processEvents();
        QVERIFY(main.model().LoadTable(test::dataFile("titled.csv").string(), 1));
        main.sync();
        QVERIFY(func.selectionList()->count() > 0);

        QPushButton* open = nullptr;
        for (QPushButton* b : main.findChildren<QPushButton*>())
            if (b->text() == QString::fromUtf8("並び替え")) open = b;
        QVERIFY(open && open->isEnabled());
        open->click();
        QVERIFY(func.isVisible());
        QCOMPARE(func.windowTitle(), QString::fromUtf8("Kolumbra 列と行の並び替え"));

        func.selectionList()->setCurrentRow(0);
        func.dropped(func.selectionList(), func.sortKeyList(), QPoint(5, 5));
        QCOMPARE(func.sortKeyList()->count(), 1);

        prompts.answers = {Answer::Yes};
        func.sortButton()->click();
        QCOMPARE(func.sortKeyList()->count(), 0);
        QVERIFY(!func.stopButton()->isVisible());
        QVERIFY(prompts.last() == sj("並び替えを終了しました。"));

        QPushButton* hide = nullptr;
        for (QPushButton* b : main.findChildren<QPushButton*>())
            if (b->text() == QString::fromUtf8("抑制")) hide = b;
        QVERIFY(hide);
        hide->click();
        QCOMPARE(func.windowTitle(), QString::fromUtf8("Kolumbra 列の表示抑制"));
        func.model().PrintView.setCurrent(1, 1);
        emit func.printGrid()->cellDoubleClicked(1, 1);
        QCOMPARE(int(main.model().ColInfo[2].Shown), 0);
    }

    void aSortKeepsTheMainInputOffWhileItRuns() {
        TableDocument doc;
        QVERIFY(loadTableFile(test::dataFile("titled.csv").string(), doc, {}).ok());
        FakeMain main;
        CsvFuncWindow func(doc, main, main, QFont(), 7, &prompts);
        func.tableReshaped(Reshape::Replaced);
        QVERIFY(func.selectionList()->count() > 0);
        func.showPage(CsvFuncPage::Sort, 7);
        func.selectionList()->setCurrentRow(0);
        func.dropped(func.selectionList(), func.sortKeyList(), QPoint(5, 5));
        QVERIFY(main.mirrored > 0);

        prompts.answers = {Answer::Yes};
        func.sortButton()->click();
        QCOMPARE(main.inputWhileHidden, std::vector<bool>{false});
        QVERIFY(main.inputEnabled);
        QVERIFY(prompts.last() == sj("並び替えを終了しました。"));
    }
};

QTEST_MAIN(CsvFuncWindowTest)
#include "csv_func_window_test.moc"
