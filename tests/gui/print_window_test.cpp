// The print preview window drives its model: the first showing makes and draws the page image,
// the page buttons, the page field, the scale list and the mouse reach the model, closing
// writes the settings back, and a close during the creation of all rows waits for it to stop.
#include "print/print_window.h"
#include "support/fakes.h"
#include "text/cp932.h"
#include "ui/qt_text.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QtTest>

#include <cstdlib>
#include <memory>

using namespace kol;
using namespace kol::print;

namespace {

// A titled table as the main window hands it over: row 0 the column numbers, column 0 the row
// numbers, Japanese text in CP932.
std::unique_ptr<StringGrid> table(int dataRows, int dataCols, int columnWidth) {
    auto grid = std::make_unique<StringGrid>();
    grid->setColCount(dataCols + 1);
    grid->setRowCount(dataRows + 1);
    grid->setFixedCols(1);
    grid->setFixedRows(1);
    for (int c = 1; c <= dataCols; ++c) {
        grid->setCell(c, 0, std::to_string(c));
        grid->setColWidth(c, columnWidth);
    }
    const char* words[] = {"東京都", "大阪府", "ﾀﾅｶ ﾐｻｷ", "北海道札幌市", ""};
    for (int r = 1; r <= dataRows; ++r) {
        grid->setCell(0, r, std::to_string(r));
        for (int c = 1; c <= dataCols; ++c) grid->setCell(c, r, sj(words[(r + c) % 5]));
    }
    grid->setColWidth(0, 40);
    return grid;
}

PrintRequest requestFor(const StringGrid& grid) {
    PrintRequest request;
    request.source = &grid;
    request.headings[0] = "File.Name:  /home/user/data.csv";
    request.sourceFont.height = 16;
    return request;
}

bool hasInk(const QImage& image) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != qRgb(255, 255, 255)) return true;
    return false;
}

template <typename W> W* childWhere(QWidget* parent, const std::function<bool(W*)>& fits) {
    for (W* w : parent->findChildren<W*>())
        if (fits(w)) return w;
    return nullptr;
}

QComboBox* comboHolding(QWidget* window, const Combo& state) {
    return childWhere<QComboBox>(window, [&](QComboBox* box) {
        return box->count() == static_cast<int>(state.Items.size()) &&
               box->itemText(0) == qs(state.Items[0]) &&
               box->itemText(box->count() - 1) == qs(state.Items.back());
    });
}

void mouse(QWidget* target, QEvent::Type type, QPoint at, Qt::MouseButtons held) {
    const QPointF local(at), global(target->mapToGlobal(at));
    QMouseEvent event(type, local, global,
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held,
                      Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

} // namespace

class PrintWindowTest : public QObject {
    Q_OBJECT

    test::ScriptedPrompts prompts;
    BuiltInPrinter printer;

private slots:
    void init() { prompts = {}; }

    void theFirstShowingDrawsPageOneAndTheControlsReachTheModel() {
        // Five columns of 300 units are wider than A4: the bands take more than one page.
        auto grid = table(30, 5, 300);
        PrintRequest request = requestFor(*grid);
        PrintWindow window(nullptr, request, printer, &prompts);
        window.resize(1000, 700);
        window.show();
        TfrmGridPrint_01& m = window.model();
        QCOMPARE(window.windowTitle(), QString::fromUtf8("Ｇｒｉｄ Ｐｒｉｎｔ"));
        QVERIFY(prompts.messages.empty());

        // Fitted to the scroll box, drawn, and centred on its panel.
        const QImage& image = window.image();
        QVERIFY(!image.isNull());
        QCOMPARE(image.width(), m.ImageWidth);
        QCOMPARE(image.height(), m.ImageHeight);
        QVERIFY(image.height() <= window.scrollBox()->viewport()->height());
        QVERIFY(hasInk(image));
        QWidget* img = window.imageWidget();
        const QWidget* panel = img->parentWidget();
        QVERIFY(std::abs(img->x() - (panel->width() - img->width() - img->x())) <= 1);

        // Paging by the button moves the page field and the group caption.
        QVERIFY(m.layout().pageCount() >= 2);
        QCOMPARE(window.pageMinEdit()->text(), QString(" 1"));
        QPushButton* up = window.buttonFor(m.btnPageUp);
        QVERIFY(up && up->isEnabled());
        up->click();
        QCOMPARE(m.CurrentPage, 2);
        QCOMPARE(window.pageMinEdit()->text(), QString(" 2"));
        QVERIFY(m.grpPage.Caption.starts_with(" PAGE  2 / "));

        // The page field drops letters; Enter goes to the page typed.
        QLineEdit* field = window.pageMinEdit();
        field->selectAll();
        QTest::keyClicks(field, "x1");
        QCOMPARE(field->text(), QString("1"));
        QTest::keyClick(field, Qt::Key_Return);
        QCOMPARE(m.CurrentPage, 1);
        QCOMPARE(field->text(), QString(" 1"));

        // 100 % makes the image the page's size in layout units.
        QComboBox* scale = comboHolding(&window, m.Cmb_Scale);
        QVERIFY(scale);
        const int fitWidth = image.width();
        scale->setCurrentIndex(10); // as a choice in the list does, before it signals
        emit scale->activated(10);
        QCOMPARE(m.Cmb_Scale.ItemIndex, 10);
        QCOMPARE(window.image().width(), m.geometry().pageWidth);
        QVERIFY(window.image().width() > fitWidth);
        QVERIFY(hasInk(window.image()));

        // Dragging the page up and left scrolls the box down and right.
        QScrollBar* bar = window.scrollBox()->verticalScrollBar();
        QVERIFY(bar->maximum() > 0);
        QCOMPARE(bar->value(), 0);
        mouse(img, QEvent::MouseButtonPress, {300, 300}, Qt::LeftButton);
        mouse(img, QEvent::MouseMove, {300, 240}, Qt::LeftButton);
        mouse(img, QEvent::MouseButtonRelease, {300, 240}, Qt::NoButton);
        QCOMPARE(bar->value(), 60);

        // A view item toggles the model's check, which the menu shows.
        QAction* date = window.action(m.Mn_PrintDate);
        QVERIFY(date && date->isCheckable() && date->isChecked());
        date->trigger();
        QVERIFY(!m.Mn_PrintDate.Checked);
        QVERIFY(!date->isChecked());

        // Closing writes the controls back into the caller's settings.
        QPushButton* greyUp = window.buttonFor(m.btnGrayUp);
        QVERIFY(greyUp);
        greyUp->click();
        QCOMPARE(m.Cmb_Gray.ItemIndex, 193);
        window.close();
        QVERIFY(!window.isVisible());
        QCOMPARE(request.settings.Cmb_Gray, 193);
        QCOMPARE(request.settings.Cmb_Scale, 10);
        QVERIFY(!request.settings.PrintDate);
    }

    void theCreationButtonsShareOnePlaceAndTheStatusShowsWhatIsLeft() {
        auto grid = table(250, 3, 80);
        PrintRequest request = requestFor(*grid);
        PrintWindow window(nullptr, request, printer, &prompts);
        window.resize(1000, 700);
        window.show();
        TfrmGridPrint_01& m = window.model();
        QPushButton* create = window.buttonFor(m.Btn_DataCreate);
        QPushButton* stop = window.buttonFor(m.Btn_CreateStop);
        QVERIFY(create && stop);
        QVERIFY(create->isVisible() && create->isEnabled());
        QVERIFY(!stop->isVisible());
        QCOMPARE(m.Lbl_CreateSts.Caption, sj("作成要→"));
        QCOMPARE(window.action(m.Mn_RecCount)->text(), QString("[ Lines  100 / 250 ]"));

        prompts.answers = {Answer::Yes};
        create->click();
        QCOMPARE(m.Lbl_CreateSts.Caption, sj("作成済"));
        QVERIFY(!create->isEnabled());
        QCOMPARE(window.action(m.Mn_RecCount)->text(), QString("[ Lines  250 / 250 ]"));
    }

    void aCloseDuringTheCreationWaitsForItToStop() {
        // Enough rows for the creation to let events in (every 5000 rows).
        auto grid = table(12000, 2, 60);
        PrintRequest request = requestFor(*grid);
        PrintWindow window(nullptr, request, printer, &prompts);
        window.resize(900, 600);
        window.show();
        TfrmGridPrint_01& m = window.model();
        bool closedSignal = false;
        connect(&window, &PrintWindow::closed, this, [&] { closedSignal = true; });
        bool creatingWhenClosed = false;
        QTimer::singleShot(0, &window, [&] {
            creatingWhenClosed = m.creatingAll();
            window.close();
            // Still there while the creation's loop runs.
            QVERIFY(window.isVisible());
        });
        prompts.answers = {Answer::Yes};
        window.buttonFor(m.Btn_DataCreate)->click();
        QVERIFY(creatingWhenClosed);
        QVERIFY(!m.creatingAll());
        QVERIFY(m.Closed);
        QVERIFY(closedSignal);
        QVERIFY(!window.isVisible());
        // Stopped by the close, without asking whether to stop.
        QCOMPARE(static_cast<int>(prompts.messages.size()), 1);
        QVERIFY(m.layout().rowsCreated() < 12000);
    }

    void theImageAndAResizeWaitWhileTheCreationLetsEventsIn() {
        auto grid = table(6000, 2, 60);
        PrintRequest request = requestFor(*grid);
        PrintWindow window(nullptr, request, printer, &prompts);
        window.resize(900, 700);
        window.show();
        TfrmGridPrint_01& m = window.model();
        QVERIFY(m.layout().pageCount() >= 2);
        const int fittedHeight = m.ImageHeight;
        QTimer::singleShot(0, &window, [&] {
            QVERIFY(m.creatingAll());
            window.resize(900, 500);
            mouse(window.imageWidget(), QEvent::MouseButtonDblClick, {10, 10}, Qt::LeftButton);
            QCOMPARE(m.ImageHeight, fittedHeight);
        });
        prompts.answers = {Answer::Yes};
        window.buttonFor(m.Btn_DataCreate)->click();
        QCOMPARE(m.layout().rowsCreated(), 6000);
        // The double-click did not page; the new size is fitted once the creation is over.
        QCOMPARE(m.CurrentPage, 1);
        QVERIFY(m.ImageHeight < fittedHeight);
        QVERIFY(m.ImageHeight <= window.scrollBox()->viewport()->height());
    }

    void withoutAPrinterOnlyFileStays() {
        struct NoPrinters : BuiltInPrinter {
            int printerCount() const override { return 0; }
        } none;
        auto grid = table(5, 2, 60);
        PrintRequest request = requestFor(*grid);
        PrintWindow window(nullptr, request, none, &prompts);
        window.show();
        QCOMPARE(static_cast<int>(prompts.messages.size()), 1);
        QCOMPARE(prompts.messages[0].kind, test::Message::Fail);
        QVERIFY(!window.scrollBox()->isVisible());
        QVERIFY(!window.pageMinEdit()->isVisible());
        const TfrmGridPrint_01& m = window.model();
        for (const MenuItem* hidden : {&m.Mn_Save, &m.Mn_View, &m.Mn_View2, &m.Mn_RecCount})
            QVERIFY(!window.action(*hidden)->isVisible());
        QVERIFY(window.action(m.mnExit1)->isVisible());
    }

    void theEntryReturnsWhenTheWindowCloses() {
        auto grid = table(5, 2, 60);
        PrintRequest request = requestFor(*grid);
        request.settings.Cmb_MgnUp = 7;
        QTimer::singleShot(0, [] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* preview = qobject_cast<PrintWindow*>(w); preview && preview->isVisible())
                    preview->action(preview->model().mnExit1)->trigger();
        });
        showPrintPreview(nullptr, request);
        QCOMPARE(request.settings.Cmb_MgnUp, 7);
        QCOMPARE(request.settings.Prt_Paper, std::string("A4"));
    }
};

QTEST_MAIN(PrintWindowTest)
#include "print_window_test.moc"
