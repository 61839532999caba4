// The single-row editor in the main window: it takes the place of the panels, the table and the
// menu bar, edits through its memo, and gives everything back when it closes.
#include "app/kolumbra01_window.h"
#include "record/record_window.h"
#include "support/fakes.h"
#include "text/cp932.h"
#include "ui/grid_widget.h"
#include "viewer/browse_window.h"

#include <QAction>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

using namespace kol;

class RecordWindowTest : public QObject {
    Q_OBJECT

    test::ScriptedPrompts prompts;
    test::FakeClipboard clipboard;
    BrowseWindow browse;

    std::unique_ptr<Kolumbra01Window> open() {
        auto w = std::make_unique<Kolumbra01Window>("/opt/kolumbra", std::vector<std::string>{},
                                                    &browse, &prompts, &clipboard);
        w->show();
        QCoreApplication::processEvents();
        w->model().LoadTable(std::string(KOLUMBRA_TESTDATA) + "/titled.csv", 0);
        w->sync();
        return w;
    }
    static QPushButton* button(QWidget* in, const char* utf8) {
        for (QPushButton* b : in->findChildren<QPushButton*>())
            if (b->text() == QString::fromUtf8(utf8) && b->isVisible()) return b;
        return nullptr;
    }
    static bool menuShown(Kolumbra01Window& w, const MenuItem& item) {
        auto* menu = qobject_cast<QMenu*>(w.action(item)->parent());
        return menu && menu->menuAction()->isVisible();
    }

private slots:
    void init() { prompts = test::ScriptedPrompts(); }

    void takesTheTablesPlaceAndGivesItBack() {
        auto w = open();
        TFm_Kolumbra01& m = w->model();
        m.View.setCurrent(3, 3); // 氏名 of the second record
        QPushButton* edit = button(w.get(), "編集");
        QVERIFY(edit && edit->isEnabled());
        QTest::mouseClick(edit, Qt::LeftButton);
        RecordWindow* rec = w->recordWindow();
        QVERIFY(rec->isVisible());
        QVERIFY(!w->grid()->isVisible());
        QVERIFY(menuShown(*w, m.Mn2_Undo));
        QVERIFY(!menuShown(*w, m.Mn_FileOpen));
        QVERIFY(w->action(m.Record->Mn2_Printx)->isEnabled());
        QCOMPARE(w->windowTitle(),
                 QString::fromUtf8("Kolumbra 単行編集   [ ") + KOLUMBRA_TESTDATA "/titled.csv ]");
        QCOMPARE(m.Record->VertView.row, 2);

        // A typed letter opens the memo; Enter commits and moves a line down.
        rec->grid()->setFocus();
        QTest::keyClick(rec->grid(), Qt::Key_Z);
        QVERIFY(rec->memo()->isVisible());
        QTest::keyClick(rec->memo(), Qt::Key_Return);
        QVERIFY(!rec->memo()->isVisible());
        QCOMPARE(m.Record->VertView.row, 3);
        const std::string typed = sj("佐藤花子") + "z";
        QCOMPARE(std::string(m.Record->VertGrid.cell(2, 2)), typed);
        QVERIFY(w->action(m.Mn2_Undo)->isEnabled());
        QCOMPARE(w->action(m.Mn2_Undo)->text(), QString::fromUtf8("元に戻す  #1  【佐藤花子】"));

        QTest::mouseClick(button(w.get(), "終了"), Qt::LeftButton);
        QVERIFY(!rec->isVisible());
        QVERIFY(w->grid()->isVisible());
        QVERIFY(menuShown(*w, m.Mn_FileOpen));
        QVERIFY(!menuShown(*w, m.Mn2_Undo));
        QCOMPARE(std::string(m.Grid.cell(3, 3)), typed);
        QCOMPARE(m.View.col, 4); // the line the memo left the cursor on
        QCOMPARE(m.View.row, 3);
        QCOMPARE(w->action(m.Mn2_Undo)->text(), QString::fromUtf8("元に戻す"));
    }

    void closingTheWindowFirstClosesTheEditor() {
        auto w = open();
        TFm_Kolumbra01& m = w->model();
        m.Btn_VertGridClick();
        w->sync();
        QVERIFY(w->recordWindow()->isVisible());
        QVERIFY(!w->close());
        QVERIFY(!w->recordWindow()->isVisible());
        QVERIFY(w->isVisible());
    }
};

QTEST_MAIN(RecordWindowTest)
#include "record_window_test.moc"
