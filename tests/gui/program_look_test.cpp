// What a Japanese user sees: window titles without anything added, one typeface everywhere,
// Japanese standard dialogs, the group captions of the main window, nothing cut.
#include "app/kolumbra01_window.h"
#include "search/search_window.h"
#include "sort/csv_func_window.h"
#include "support/fakes.h"
#include "support/test_support.h"
#include "text/cp932.h"
#include "ui/qt_program_look.h"
#include "ui/qt_prompts.h"
#include "viewer/browse_window.h"

#include <QAbstractButton>
#include <QFileDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QTreeView>
#include <QtTest>

#include <filesystem>

using namespace kol;

class ProgramLookTest : public QObject {
    Q_OBJECT

    test::ScriptedPrompts prompts;
    test::FakeClipboard clipboard;
    BrowseWindow browse;

private slots:
    void initTestCase() {
        QApplication::setApplicationName("Kolumbra");
        applyProgramLook(*qApp);
    }

    void titlesAreThePrograms() {
        // A display name would be added to every title by the window system.
        QVERIFY(QGuiApplication::applicationDisplayName() == "Kolumbra" ||
                QGuiApplication::applicationDisplayName().isEmpty());
        Kolumbra01Window w("/opt/kolumbra", {}, &browse, &prompts, &clipboard);
        w.show();
        QCoreApplication::processEvents();
        QCOMPARE(w.windowTitle(), QString("Kolumbra Ver 4.00  [  ]"));
    }

    void oneFixedPitchTypeface() {
        const QFont font = programFont(13);
        QFontInfo info(font);
        QCOMPARE(info.family(), QString("IPAMincho"));
        // The widths the program computes count bytes: a full-width character is two half ones.
        for (int pixels : {12, 13}) {
            QFontMetricsF metrics(programFont(pixels));
            QCOMPARE(metrics.horizontalAdvance(QString::fromUtf8("Ａ")),
                     2 * metrics.horizontalAdvance("A"));
            QCOMPARE(metrics.horizontalAdvance(QString::fromUtf8("漢")),
                     2 * metrics.horizontalAdvance("W"));
            QCOMPARE(metrics.horizontalAdvance(QString::fromUtf8("ｱ")),
                     metrics.horizontalAdvance("i"));
        }
        Kolumbra01Window w("/opt/kolumbra", {}, &browse, &prompts, &clipboard);
        for (QWidget* widget : w.findChildren<QWidget*>())
            QCOMPARE(QFontInfo(widget->font()).family(), QString("IPAMincho"));
        QMessageBox box;
        QCOMPARE(QFontInfo(box.font()).family(), QString("IPAMincho"));
    }

    void everyWindowAndItsMessagesUseTheOneTypeface() {
        Kolumbra01Window w("/opt/kolumbra", {}, &browse, &prompts, &clipboard);
        SearchWindow& search = w.createSearchWindow();
        CsvFuncWindow& sort = w.createSortWindow();
        QMessageBox searchMessage(QMessageBox::Information, QString::fromUtf8("確認"), "?",
                                  QMessageBox::Ok, &search);
        BrowseWindow viewer;
        for (QWidget* window :
             {static_cast<QWidget*>(&search), static_cast<QWidget*>(&sort),
              static_cast<QWidget*>(&searchMessage), static_cast<QWidget*>(&viewer)}) {
            QList<QWidget*> widgets = window->findChildren<QWidget*>();
            widgets << window;
            for (QWidget* widget : widgets)
                QVERIFY2(QFontInfo(widget->font()).family() == "IPAMincho",
                         qPrintable(window->metaObject()->className() + QString(" ") +
                                    widget->metaObject()->className()));
        }
    }

    void menuBarsLookAsTheMainWindows() {
        Kolumbra01Window w("/opt/kolumbra", {}, &browse, &prompts, &clipboard);
        SearchWindow& search = w.createSearchWindow();
        CsvFuncWindow& sort = w.createSortWindow();
        const QPalette main = w.menuBar()->palette();
        for (QWidget* window : {static_cast<QWidget*>(&search), static_cast<QWidget*>(&sort)}) {
            QMenuBar* bar = window->findChild<QMenuBar*>();
            QVERIFY(bar);
            for (QPalette::ColorRole role :
                 {QPalette::Window, QPalette::WindowText, QPalette::Button, QPalette::ButtonText})
                QCOMPARE(bar->palette().color(role), main.color(role));
            QVERIFY(bar->palette().color(QPalette::Window) != QColor(95, 95, 95));
        }
    }

    void fileDialogsCutNoColumnAndSpeakJapanese() {
        test::TempDir dir;
        std::filesystem::create_directory(dir / "sub");
        test::writeBytes(dir / "a.csv", std::string(3000, 'x'));
        QtPrompts dialogs(nullptr);
        FileDialogRequest request;
        request.title = sj("開く");
        request.filter = "(*.csv)|*.csv";
        request.directory = dir.path().string();
        request.fileName = "*.csv";
        bool checked = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            const auto close = qScopeGuard([dialog] { dialog->reject(); }); // also on a failure
            auto* tree = dialog->findChild<QTreeView*>("treeView");
            QVERIFY(tree);
            QVERIFY(
                QTest::qWaitFor([&] { return tree->model()->rowCount(tree->rootIndex()) == 2; }));
            QCoreApplication::processEvents();
            const QRect area = dialog->screen()->availableGeometry();
            QVERIFY(dialog->width() <= area.width() && dialog->height() <= area.height());
            QStringList kinds;
            for (int r = 0; r < 2; ++r)
                for (int c = 0; c < 4; ++c) {
                    const QModelIndex index = tree->model()->index(r, c, tree->rootIndex());
                    const QString text = index.data().toString();
                    if (c == 2) kinds << text;
                    if (c == 0) continue;
                    // The text and the margins the view draws on either side of it.
                    const int margin =
                        tree->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, tree) + 1;
                    const int needed = tree->fontMetrics().horizontalAdvance(text) + 2 * margin;
                    QVERIFY2(tree->header()->sectionSize(c) >= needed, qPrintable(text));
                }
            QVERIFY2(kinds.contains(QString::fromUtf8("フォルダー")), qPrintable(kinds.join('|')));
            QVERIFY(tree->header()->sectionSize(0) >=
                    12 * tree->fontMetrics().horizontalAdvance("A"));
            checked = true;
        });
        QCOMPARE(dialogs.openFileName(request), std::string());
        QVERIFY(checked);
    }

    void standardDialogsSpeakJapanese() {
        QMessageBox box(QMessageBox::Question, QString::fromUtf8("確認"), "?",
                        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        QCOMPARE(box.button(QMessageBox::Yes)->text().remove('&').left(2),
                 QString::fromUtf8("はい"));
        QVERIFY(box.button(QMessageBox::No)->text().startsWith(QString::fromUtf8("いいえ")));
        QVERIFY(
            box.button(QMessageBox::Cancel)->text().startsWith(QString::fromUtf8("キャンセル")));
    }

    void groupCaptionsAndNothingCut() {
        Kolumbra01Window w("/opt/kolumbra", {}, &browse, &prompts, &clipboard);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.resize(700, 600); // narrower than the panels need
        QCoreApplication::processEvents();
        QStringList titles;
        for (QGroupBox* box : w.findChildren<QGroupBox*>()) titles << box->title();
        for (const char* title :
             {"Open", "Save", "固定行数", "列名行", "固定列", "固定列幅", "単行", "分離符号",
              "行数", "列数", "マウスによる許可", " 列表示  最大列幅   折り返し", "ｶｰｿﾙ 移動"})
            QVERIFY2(titles.contains(QString::fromUtf8(title)), title);
        QStringList menus;
        for (QAction* a : w.menuBar()->actions())
            if (a->isVisible()) menus << a->text();
        QCOMPARE(menus, QStringList({"File(&F)", "Edit(&E)", "Print(&P)", "View(&V)", "Confirm(C)",
                                     "Help(&H)"}));
        // Every button shows its whole caption.
        for (QPushButton* b : w.findChildren<QPushButton*>()) {
            if (!b->isVisible()) continue;
            const int needed = b->fontMetrics().horizontalAdvance(b->text());
            QVERIFY2(b->width() >= needed + 4, qPrintable(b->text()));
        }
    }
};

QTEST_MAIN(ProgramLookTest)
#include "program_look_test.moc"
