// The environment definition window is wired to its model and opens from the hidden menu.
#include "app/csv_etc_window.h"
#include "app/kolumbra01_window.h"
#include "support/fakes.h"
#include "viewer/browse_window.h"

#include <QAction>
#include <QComboBox>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QtTest>

using namespace kol;

namespace {
QPushButton* buttonNamed(QWidget* w, const char* utf8) {
    for (QPushButton* b : w->findChildren<QPushButton*>())
        if (b->text() == QString::fromUtf8(utf8)) return b;
    return nullptr;
}
} // namespace

class CsvEtcWindowTest : public QObject {
    Q_OBJECT

private slots:
    void updateAndCloseReachTheModel() {
        test::ScriptedPrompts prompts;
        int stored = 0;
        TFm_CsvEtc model(prompts, stored);
        CsvEtcWindow w(model, nullptr);
        w.show();
        QCOMPARE(w.windowTitle(), QString::fromUtf8("Zimbrel 動作環境の定義"));
        QTabWidget* pages = w.findChild<QTabWidget*>();
        QVERIFY(pages);
        QCOMPARE(pages->tabText(pages->currentIndex()), QString::fromUtf8("バイナリ出力時"));
        QCOMPARE(w.zoneSign()->count(), 2);
        QCOMPARE(w.zoneSign()->currentIndex(), 0);

        w.zoneSign()->setCurrentIndex(1);
        prompts.answers = {Answer::Yes};
        buttonNamed(&w, "更新")->click();
        QCOMPARE(stored, 1);
        QCOMPARE(prompts.messages.size(), size_t(2));
        QVERIFY(w.isVisible());

        buttonNamed(&w, "終了")->click();
        QVERIFY(!w.isVisible());
    }

    void theMenuExitCloses() {
        test::ScriptedPrompts prompts;
        int stored = 1;
        TFm_CsvEtc model(prompts, stored);
        CsvEtcWindow w(model, nullptr);
        w.show();
        QCOMPARE(w.zoneSign()->currentIndex(), 1);
        QMenuBar* bar = w.findChild<QMenuBar*>();
        QVERIFY(bar);
        QMenu* file = bar->actions().at(0)->menu();
        file->actions().at(0)->trigger();
        QVERIFY(!w.isVisible());
        QCOMPARE(stored, 1);
    }

    void theHiddenOptionMenuOpensIt() {
        test::ScriptedPrompts prompts;
        test::FakeClipboard clipboard;
        BrowseWindow browse;
        Kolumbra01Window main("/opt/kolumbra", {}, &browse, &prompts, &clipboard);
        main.show();
        QAction* recEtc = main.action(main.model().Mn_RecEtc);
        QVERIFY(recEtc);
        QVERIFY(!recEtc->isVisible());
        QString seen;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<CsvEtcWindow*>(QApplication::activeModalWidget());
            if (!dialog) return;
            seen = dialog->windowTitle();
            dialog->zoneSign()->setCurrentIndex(1);
            dialog->reject(); // closed without the update
        });
        recEtc->trigger();
        QCOMPARE(seen, QString::fromUtf8("Zimbrel 動作環境の定義"));
        QCOMPARE(main.model().Settings.Cmb_ZoneSign, 0);
    }
};

QTEST_MAIN(CsvEtcWindowTest)
#include "csv_etc_window_test.moc"
