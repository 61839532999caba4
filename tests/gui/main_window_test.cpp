// The main window is wired to its model: controls mirror the model, commands reach it.
#include "app/kolumbra01_window.h"
#include "support/fakes.h"
#include "support/test_support.h"
#include "text/cp932.h"
#include "ui/grid_widget.h"
#include "viewer/browse_window.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QtTest>

#include <filesystem>

using namespace kol;

class MainWindowTest : public QObject {
    Q_OBJECT

    test::ScriptedPrompts prompts;
    test::FakeClipboard clipboard;

    std::unique_ptr<Kolumbra01Window> open(std::vector<std::string> args = {}) {
        auto w = std::make_unique<Kolumbra01Window>("/opt/kolumbra", std::move(args), &browse,
                                                    &prompts, &clipboard);
        w->show();
        QCoreApplication::processEvents();
        return w;
    }
    BrowseWindow browse;

private slots:
    void init() { prompts = test::ScriptedPrompts(); }

    void startsWithAnEmptyTableAndTheMenus() {
        auto w = open();
        QCOMPARE(w->windowTitle(), QString("Kolumbra Ver 4.00  [  ]"));
        QCOMPARE(w->model().Grid.rowCount(), 2);
        QAction* save = w->action(w->model().Mn_FileSave);
        QVERIFY(save);
        QCOMPARE(save->text(), QString::fromUtf8("3. Csv ファイルとして保存する (&S)"));
        QVERIFY(w->action(w->model().Mn_GridPrint)->isEnabled());
        QVERIFY(w->action(w->model().Mn_FixedCenter)->isChecked());
        QVERIFY(!w->action(w->model().Mn_OutputCsv)->isVisible());
        QVERIFY(!w->saveButton()->isEnabled());
    }

    void boundsFromALargerScreenOpenWhollyOnThisOne() {
        test::TempDir config;
        std::filesystem::create_directories(config / "kolumbra");
        // Top, Left, Width, Height as a 1920 x 1080 screen left them.
        test::writeBytes(config / "kolumbra" / "KolumbraOpt2.Dat",
                         "Vex_Kolumbra=300,200,1000,900\r\n");
        const QByteArray before = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(config.path().string()));
        const auto restore = qScopeGuard([&] { qputenv("XDG_CONFIG_HOME", before); });
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY(area.height() < 1200); // the stored bounds reach below it
        Kolumbra01Window w(test::TempDir().path().string(), {}, &browse, &prompts, &clipboard,
                           true);
        QCOMPARE(w.model().Settings.Vex_Kolumbra.Height, 900);
        const QRect placed = w.geometry();
        QVERIFY2(area.contains(QRect(placed.topLeft(), QSize(std::min(placed.width(), area.width()),
                                                             placed.height()))),
                 qPrintable(QString("%1,%2 %3x%4")
                                .arg(placed.x())
                                .arg(placed.y())
                                .arg(placed.width())
                                .arg(placed.height())));
        QVERIFY(placed.left() >= area.left());
    }

    void theFirstArgumentOpensAfterTheFirstShow() {
        auto w = open({test::dataFile("titled.csv").string()});
        QTRY_COMPARE_WITH_TIMEOUT(w->model().Grid.rowCount(), 7, 2000);
        QVERIFY(w->windowTitle().contains("titled.csv"));
        QCOMPARE(w->grid()->grid(), &w->model().Grid);
    }

    void openButtonAndSaveButtonFollowTheModel() {
        auto w = open();
        prompts.fileNames = {test::dataFile("ragged.csv").string()};
        QPushButton* csv = nullptr;
        for (QPushButton* b : w->findChildren<QPushButton*>())
            if (b->text() == "Csv") csv = b;
        QVERIFY(csv);
        QTest::mouseClick(csv, Qt::LeftButton);
        QCOMPARE(w->model().Grid.colCount(), 7);
        QCOMPARE(QString::fromStdString(prompts.dialogs.at(0).title),
                 QString::fromStdString(sj("読み込む Csv ファイルを選択して下さい。")));
        w->model().Modified = 1;
        QTRY_VERIFY_WITH_TIMEOUT(w->saveButton()->isEnabled(), 2000);
        QVERIFY(w->saveButton()->font().bold());
    }

    void droppedFilesOpenTheFirst() {
        auto w = open();
        QMimeData data;
        data.setUrls(
            {QUrl::fromLocalFile(QString::fromStdString(test::dataFile("ragged.csv").string())),
             QUrl::fromLocalFile(QString::fromStdString(test::dataFile("titled.csv").string()))});
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QCoreApplication::sendEvent(w.get(), &enter);
        QVERIFY(enter.isAccepted());
        QCoreApplication::sendEvent(w.get(), &drop);
        QCOMPARE(QString::fromStdString(w->model().CsvFileInf.FileName),
                 QString::fromStdString(test::dataFile("ragged.csv").string()));
    }

    void closingWithUnsavedChangesCanBeCancelled() {
        auto w = open();
        w->model().Modified = 1;
        prompts.answers = {Answer::Cancel};
        QVERIFY(!w->close());
        QVERIFY(w->isVisible());
        QCOMPARE(prompts.messages.back().text,
                 sj("内容が変更されています。\r\n\r\n保存しますか？"));
    }

    void switchesToggleTheModelOnce() {
        auto w = open();
        TFm_Kolumbra01& m = w->model();
        for (MenuItem* item :
             {&m.Mn_TrimSpace, &m.Mn_ConfDelete, &m.Mn_KaraGyoBlack, &m.Mn_FixedRowSEQ}) {
            const bool before = item->Checked;
            w->action(*item)->trigger();
            QCOMPARE(item->Checked, !before);
            QCOMPARE(w->action(*item)->isChecked(), !before);
        }
        QCheckBox* moveRow = nullptr;
        for (QCheckBox* b : w->findChildren<QCheckBox*>())
            if (b->text() == QString::fromUtf8("行移動")) moveRow = b;
        QVERIFY(moveRow);
        QTest::mouseClick(moveRow, Qt::LeftButton);
        QVERIFY(m.View.options.rowMoving);
        QVERIFY(moveRow->font().bold());
    }

    void dialogFiltersBecomeQtFilters() {
        QCOMPARE(QtPrompts::qtFilter("(*.tsv)|*.tsv|(*.csv; *.txt)|*.csv; *.txt|(*.*)|*.*"),
                 QString("(*.tsv);;(*.csv *.txt);;(*.*)"));
    }

    void helpShowsTheDocumentsInTheViewer() {
        auto w = open();
        w->action(w->model().Mn_Help_ColName)->trigger();
        QVERIFY(browse.isVisible());
        QVERIFY(browse.shownText().startsWith(QString::fromUtf8("列名(固定行)の入力方法")));
        QVERIFY(browse.header()->isVisible());
        QCOMPARE(browse.browseList()->count(), 7);
        QCOMPARE(browse.browseList()->currentText(),
                 QString::fromUtf8(" 6. 列名(固定行)の入力方法"));
        QCOMPARE(browse.windowTitle(), QString("Kolumbra Browse "));
        browse.hide();
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
