// The search window is wired to its model and to the main window: the main window's button
// opens it, Enter searches, a found cell moves the main grid, a restructured table resets the
// results, and the history goes back into the settings.
#include "app/kolumbra01_window.h"
#include "print/print_window.h"
#include "search/search_window.h"
#include "support/fakes.h"
#include "support/test_support.h"
#include "text/cp932.h"
#include "ui/grid_widget.h"
#include "viewer/browse_window.h"

#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace kol;

namespace {
QPushButton* buttonNamed(QWidget* w, const char* utf8) {
    for (QPushButton* b : w->findChildren<QPushButton*>())
        if (b->text() == QString::fromUtf8(utf8)) return b;
    return nullptr;
}
} // namespace

class SearchWindowTest : public QObject {
    Q_OBJECT

    test::ScriptedPrompts prompts;
    test::FakeClipboard clipboard;
    BrowseWindow browse;

private slots:
    void theMainButtonOpensItAndAFoundCellMovesTheMainGrid() {
        Kolumbra01Window main("/opt/kolumbra", {}, &browse, &prompts, &clipboard);
        SearchWindow& search = main.createSearchWindow();
        main.show();
        QVERIFY(main.model().LoadTable(test::dataFile("titled.csv").string(), 0));
        main.sync();
        QVERIFY(!search.isVisible());

        QPushButton* open = buttonNamed(&main, "検索");
        QVERIFY(open && open->isEnabled());
        open->click();
        QVERIFY(search.isVisible());
        QCOMPARE(search.windowTitle(), QString::fromUtf8("Kolumbra 検索"));
        QVERIFY(!search.action(search.model().Mn_Print)->isEnabled());
        QVERIFY(!buttonNamed(&search, "次")->isEnabled());

        search.wordEdit()->setText(QString::fromUtf8("ﾀﾅｶ"));
        QTest::keyClick(search.wordEdit(), Qt::Key_Return);
        QCOMPARE(search.model().Lab_Records.Caption, std::string("1 "));
        QVERIFY(search.grid()->isVisible());
        QVERIFY(buttonNamed(&search, "次")->isEnabled());
        // Printing goes through the main window and leaves the results shown.
        QAction* print = search.action(search.model().Mn_Print);
        QVERIFY(print->isEnabled());
        // The preview is modal: it opens, then is closed.
        std::string caption;
        QTimer::singleShot(0, [&] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* preview = qobject_cast<print::PrintWindow*>(w)) {
                    caption = preview->model().Caption;
                    preview->close();
                }
        });
        print->trigger();
        QCOMPARE(caption, sj("Ｇｒｉｄ Ｐｒｉｎｔ"));
        QVERIFY(search.grid()->isVisible());
        // The first found cell is shown in the main grid: row 6, the reading column.
        QCOMPARE(main.model().View.row, 6);
        QCOMPARE(main.model().View.col, 4);
        QCOMPARE(main.model().LastCellRow, 6);

        // At the end of the found cells the message comes; the selection stays.
        buttonNamed(&search, "次")->click();
        QCOMPARE(prompts.last(), sj("後方に検索文字列はありません。"));

        // F2 edits the current result cell in place; the main table keeps its text.
        const int c = search.model().View.col, r = search.model().View.row;
        QTest::keyClick(search.grid(), Qt::Key_F2);
        QLineEdit* editor = nullptr;
        for (QLineEdit* e : search.grid()->viewport()->findChildren<QLineEdit*>())
            if (e->isVisible()) editor = e;
        QVERIFY(editor);
        QCOMPARE(editor->text(), QString::fromUtf8("ﾀﾅｶﾐｻｷ"));
        editor->setText("x");
        QTest::keyClick(editor, Qt::Key_Return);
        QVERIFY(!editor->isVisible());
        QCOMPARE(search.model().Grid.cell(c, r), std::string("x"));
        QCOMPARE(main.model().Grid.cell(c - 1, 6), sj("ﾀﾅｶﾐｻｷ"));

        // A structure change of the main table resets the results.
        main.model().RefreshAfterStructureChange();
        QVERIFY(!search.model().GridVisible);
        QVERIFY(!buttonNamed(&search, "次")->isEnabled());

        // The history goes into the settings when the main window gathers them.
        QVERIFY(main.model().FormClose());
        QCOMPARE(main.model().Settings.FindWord[0], sj("ﾀﾅｶ"));
        QCOMPARE(main.model().Settings.FindWord[1], std::string());

        search.close();
        QVERIFY(!search.isVisible());
        QVERIFY(search.model().Edt_Word == sj("ﾀﾅｶ")); // kept while hidden
    }

    void theHistoryListOpensSixteenRowsTall() {
        Kolumbra01Window main("/opt/kolumbra", {}, &browse, &prompts, &clipboard);
        SearchWindow& search = main.createSearchWindow();
        std::vector<std::string> stored(101);
        for (int i = 0; i < 40; ++i) stored[i] = "word" + std::to_string(i);
        search.LoadHistory(stored);
        search.show();
        QVERIFY(QTest::qWaitForWindowExposed(&search));
        QComboBox* list = search.historyList();
        QCOMPARE(list->count(), 40);
        list->showPopup();
        QAbstractItemView* view = list->view();
        QVERIFY(QTest::qWaitFor([&] { return view->isVisible(); }));
        const int row = view->visualRect(view->model()->index(0, 0)).height();
        QVERIFY(row > 0);
        QCOMPARE(view->viewport()->height() / row, 16);
        list->hidePopup();
    }
};

QTEST_MAIN(SearchWindowTest)
#include "search_window_test.moc"
