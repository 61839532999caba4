// What a Japanese user sees: window titles without anything added, one typeface everywhere,
// Japanese standard dialogs, the group captions of the main window, nothing cut.
#include "app/kolumbra01_window.h"
#include "support/fakes.h"
#include "ui/qt_program_look.h"
#include "viewer/browse_window.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

using namespace kol;

class ProgramLookTest : public QObject {
    Q_OBJECT

    test::ScriptedPrompts prompts;
    test::FakeClipboard clipboard;
    TFm_Browse browse;

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
