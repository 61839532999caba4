// The grid's input side is wired: a right press opens the chosen popup whose items reach the
// model, keys reach the model, and the memo editor shows the cell and commits on Enter.
#include "app/kolumbra01_window.h"
#include "support/fakes.h"
#include "support/test_support.h"
#include "text/cp932.h"
#include "ui/grid_widget.h"
#include "ui/qt_text.h"
#include "viewer/browse_window.h"

#include <QAction>
#include <QInputMethodEvent>
#include <QMenu>
#include <QPlainTextEdit>
#include <QtTest>

using namespace kol;

class GridInputTest : public QObject {
    Q_OBJECT

    test::ScriptedPrompts prompts;
    test::FakeClipboard clipboard;
    BrowseWindow browse;
    std::unique_ptr<Kolumbra01Window> w;

    QPoint centre(int c, int r) { return w->grid()->cellRect(c, r).center(); }
    QAction* actionCaptioned(QMenu* menu, const char* utf8) {
        for (QAction* a : menu->actions())
            if (a->text() == QString::fromUtf8(utf8)) return a;
        return nullptr;
    }

private slots:
    void init() {
        prompts = test::ScriptedPrompts();
        w = std::make_unique<Kolumbra01Window>("/opt/kolumbra", std::vector<std::string>{}, &browse,
                                               &prompts, &clipboard);
        w->resize(1000, 600);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        QVERIFY(w->model().LoadTable(test::dataFile("ragged.csv").string(), 1));
        w->sync();
    }
    void cleanup() {
        if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
        w.reset();
    }

    void rightPressOnARowLabelOpensTheRowPopup() {
        TFm_Kolumbra01& m = w->model();
        const int rows = m.Grid.rowCount();
        QTest::mousePress(w->grid()->viewport(), Qt::RightButton, {}, centre(0, 3));
        QMenu* popup = w->popupMenu(Popup::Row);
        QTRY_VERIFY(popup->isVisible());
        QCOMPARE(QApplication::activePopupWidget(), popup);
        QCOMPARE(m.PopupKind, Popup::Row);
        QCOMPARE(m.PopupRow, 3);
        QAction* insert = actionCaptioned(popup, "2. 挿入");
        QVERIFY(insert && insert->isEnabled());
        QVERIFY(actionCaptioned(popup, "6. 印刷")->isEnabled());
        insert->trigger();
        popup->close();
        QCOMPARE(m.Grid.rowCount(), rows + 1);
        QVERIFY(m.Grid.cell(2, 3).empty());
        QVERIFY(w->action(m.Mn_Undo)->isEnabled());
        QVERIFY(w->action(m.Mn_Undo)->text().contains(QString::fromUtf8("行挿入")));
        w->action(m.Mn_Undo)->trigger();
        QCOMPARE(m.Grid.rowCount(), rows);
    }

    void rightPressOnADataCellOpensTheCellPopup() {
        QTest::mousePress(w->grid()->viewport(), Qt::RightButton, {}, centre(3, 3));
        QTRY_VERIFY(w->popupMenu(Popup::Cell)->isVisible());
    }

    void enterOpensTheMemoAndEnterCommits() {
        TFm_Kolumbra01& m = w->model();
        m.View.setCurrent(2, 3);
        w->sync();
        const std::string old(m.Grid.cell(2, 3));
        QTest::keyClick(w->grid(), Qt::Key_Return);
        QPlainTextEdit* memo = w->memo();
        QVERIFY(memo->isVisible());
        QCOMPARE(memo->toPlainText(), qs(old));
        QCOMPARE(memo->geometry().topLeft(), w->grid()->cellRect(2, 3).topLeft());
        memo->setPlainText(QString::fromUtf8("新しい\n値"));
        QTest::keyClick(memo, Qt::Key_Return);
        QVERIFY(!memo->isVisible());
        QCOMPARE(QString::fromStdString(std::string(m.Grid.cell(2, 3))),
                 QString::fromStdString(sj("新しい値")));
        QCOMPARE(m.Modified, 1);
        QCOMPARE(m.View.col, 3); // the cursor moves right after Enter

        // Enter alone opens it on the cell's text: closing unchanged records nothing.
        QTest::keyClick(w->grid(), Qt::Key_Enter);
        QVERIFY(memo->isVisible());
        QCOMPARE(memo->toPlainText(), qs(std::string(m.Grid.cell(3, 3))));
        QTest::keyClick(memo, Qt::Key_Escape);
        QVERIFY(!memo->isVisible());
        QCOMPARE(m.historySize(), 1u);
    }

    void theKeystrokeThatOpensTheMemoIsTypedIn() {
        TFm_Kolumbra01& m = w->model();
        QPlainTextEdit* memo = w->memo();
        m.View.setCurrent(2, 3);
        w->sync();
        const std::string old(m.Grid.cell(2, 3));
        QTest::keyClick(w->grid(), 'X');
        QVERIFY(memo->isVisible());
        QTest::keyClicks(memo, "YZ");
        QCOMPARE(memo->toPlainText(), qs(old) + "XYZ");
        QTest::keyClick(memo, Qt::Key_Return);
        QCOMPARE(std::string(m.Grid.cell(2, 3)), old + "XYZ");

        // A double-byte character typed on the grid.
        m.View.setCurrent(2, 4);
        w->sync();
        const std::string below(m.Grid.cell(2, 4));
        QTest::sendKeyEvent(QTest::Click, w->grid(), Qt::Key_unknown, QString::fromUtf8("日"),
                            Qt::NoModifier);
        QCOMPARE(memo->toPlainText(), qs(below) + QString::fromUtf8("日"));
        QTest::keyClick(memo, Qt::Key_Escape);
        QCOMPARE(std::string(m.Grid.cell(2, 4)), below + sj("日"));
    }

    void anInputMethodComposingOnTheGridGoesOnInTheMemo() {
        TFm_Kolumbra01& m = w->model();
        QPlainTextEdit* memo = w->memo();
        QVERIFY(w->grid()->inputMethodQuery(Qt::ImEnabled).toBool());
        m.View.setCurrent(2, 3);
        w->sync();
        const std::string old(m.Grid.cell(2, 3));
        // A composition started on the grid moves to the memo, and its result stays there.
        QInputMethodEvent composing(QString::fromUtf8("にほん"), {});
        QApplication::sendEvent(w->grid(), &composing);
        QVERIFY(memo->isVisible());
        QCOMPARE(memo->inputMethodQuery(Qt::ImSurroundingText).toString(), qs(old));
        QInputMethodEvent done;
        done.setCommitString(QString::fromUtf8("日本"));
        QApplication::sendEvent(memo, &done);
        QCOMPARE(memo->toPlainText(), qs(old) + QString::fromUtf8("日本"));
        QTest::keyClick(memo, Qt::Key_Return);
        QCOMPARE(std::string(m.Grid.cell(2, 3)), old + sj("日本"));

        // A commit straight on the grid opens the memo with it.
        m.View.setCurrent(2, 4);
        w->sync();
        const std::string below(m.Grid.cell(2, 4));
        QInputMethodEvent committed;
        committed.setCommitString(QString::fromUtf8("表"));
        QApplication::sendEvent(w->grid(), &committed);
        QVERIFY(memo->isVisible());
        QCOMPARE(memo->toPlainText(), qs(below) + QString::fromUtf8("表"));
        QTest::keyClick(memo, Qt::Key_Escape);
        QCOMPARE(std::string(m.Grid.cell(2, 4)), below + sj("表"));
    }
};

QTEST_MAIN(GridInputTest)
#include "grid_input_test.moc"
