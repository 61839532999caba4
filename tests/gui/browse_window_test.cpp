// The viewer's window: the header's controls, the width button, the placement on the screen,
// a long document with progress, and the private viewer.
#include "support/fakes.h"
#include "support/test_support.h"
#include "text/cp932.h"
#include "ui/qt_program_look.h"
#include "viewer/browse_window.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTextBlock>
#include <QTimer>
#include <QtTest>

using namespace kol;

class BrowseWindowTest : public QObject {
    Q_OBJECT

    test::ScriptedPrompts prompts;

private slots:
    void initTestCase() { applyProgramLook(*qApp); }

    void theHeaderShowsOnlyForARegisteredDocument() {
        test::TempDir dir;
        test::writeBytes(dir / "a.txt", "one\r\ntwo\r\n");
        BrowseWindow w(nullptr, &prompts, "kolumbra");
        DocumentViewer& v = w.viewer();
        v.SetTitleBase("Kolumbra Browse");
        int runs = 0;
        v.RegisterDocument("Mn_A", sj("1. 文書 (&A)"), [&] {
            ++runs;
            v.ShowDocumentFile("Mn_A", "", true, (dir / "a.txt").string());
        });
        v.RegisterDocument("Mn_B", "2. B", [&] { v.ShowDocumentText("Mn_B", "", "b"); });
        v.ShowDocumentFile("Mn_A", "", true, (dir / "a.txt").string());
        QVERIFY(w.isVisible());
        QVERIFY(w.header()->isVisible());
        QCOMPARE(w.browseList()->count(), 2);
        QCOMPARE(w.browseList()->itemText(0), QString::fromUtf8(" 1. 文書"));
        QCOMPARE(w.browseList()->currentIndex(), 0);
        QCOMPARE(w.shownText(), QString("00001 one\n00002 two\n"));
        QVERIFY(w.windowTitle().startsWith("Kolumbra Browse  [ "));
        QVERIFY(w.printAction()->isEnabled());
        // Choosing the second entry runs its command.
        w.browseList()->setCurrentIndex(1);
        emit w.browseList()->activated(1);
        QCOMPARE(w.shownText(), QString("b"));
        v.ShowDocumentText("", "Extra", "c");
        QVERIFY(!w.header()->isVisible());
        QCOMPARE(w.windowTitle(), QString("Kolumbra Browse Extra"));
        QVERIFY(prompts.messages.empty());
        // Closing only hides the shared viewer.
        w.close();
        QVERIFY(!w.isVisible());
        QCOMPARE(runs, 0);
    }

    void theWidthButtonNarrowsAndGivesBack() {
        BrowseWindow w(nullptr, &prompts, "kolumbra");
        w.viewer().RegisterDocument("Mn_A", "A", [] {});
        w.viewer().ShowDocumentText("Mn_A", "", "x");
        QTest::qWait(20);
        const int start = w.width();
        QTest::mouseClick(w.wideButton(), Qt::LeftButton);
        QCOMPARE(w.width(), w.browseList()->geometry().right() + 1 + w.wideButton()->width() / 2);
        QVERIFY(w.width() < start);
        QTest::mouseClick(w.wideButton(), Qt::LeftButton);
        QCOMPARE(w.width(), qRound(0.7 * w.browseList()->width()));
        QTest::mouseClick(w.wideButton(), Qt::LeftButton);
        QCOMPARE(w.width(), start);
    }

    void itOpensWhollyOnTheScreen() {
        BrowseWindow w(nullptr, &prompts, "kolumbra");
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        w.move(area.right() - 50, area.bottom() - 50);
        w.viewer().ShowDocumentText("", "", "x");
        QVERIFY(area.contains(w.geometry()));
        QCOMPARE(w.width(), area.width() * 2 / 3);
    }

    void aLongDocumentOpensWithProgressAndInvalidBytesSurvive() {
        test::TempDir dir;
        std::string big;
        const std::string line = sj("データ行,") + std::string("\x81\xFF", 2) + "abc" +
                                 std::string(1, '\0') + std::string(40, 'x') + "\r\n";
        while (big.size() < 50u * 1024 * 1024) big += line;
        test::writeBytes(dir / "big.txt", big);
        BrowseWindow w(nullptr, &prompts, "kolumbra");
        int ticks = 0;
        QTimer timer;
        connect(&timer, &QTimer::timeout, [&] { ++ticks; });
        timer.start(50);
        QElapsedTimer clock;
        clock.start();
        w.viewer().ShowDocumentFile("", "", true, (dir / "big.txt").string());
        const qint64 ms = clock.elapsed();
        QVERIFY2(ticks > 0 || ms < 100, "the program answered while the document went in");
        const int lines = static_cast<int>(big.size() / line.size());
        QCOMPARE(w.pane()->blockCount(), lines + 1);
        const QString first = w.pane()->document()->firstBlock().text();
        QVERIFY(first.startsWith(QString::fromUtf8("00001 データ行,")));
        QVERIFY(first.contains("abc x"));
        QCOMPARE(w.model().paneText().size(), big.size() + 6u * lines);
        qInfo("50 MB document: %lld ms, %d timer ticks", ms, ticks);
    }

    void aPrivateViewerShowsItsTextAndCloses() {
        auto* w = new BrowseWindow(nullptr, &prompts, "kolumbra");
        w->makePrivate("private help");
        QTimer::singleShot(50, w, [w] {
            QCOMPARE(w->shownText(), QString("private help"));
            QVERIFY(!w->header()->isVisible());
            w->close();
        });
        w->runModal();
        QVERIFY(!w->isVisible());
        delete w;
    }
};

QTEST_MAIN(BrowseWindowTest)
#include "browse_window_test.moc"
