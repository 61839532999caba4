// The grid widget against StringGrids: navigation, selection, scrolling, mouse resizing and
// moving, the paint hook and the default drawing.
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <memory>
#include <set>
#include <string>

#include "table/string_grid.h"
#include "ui/grid_widget.h"

using kol::GridRect;
using kol::GridWidget;
using kol::StringGrid;

namespace {

constexpr int kColWidth = 60, kRowHeight = 20;

std::unique_ptr<StringGrid> makeGrid(int cols, int rows) {
    auto g = std::make_unique<StringGrid>();
    g->setColCount(cols);
    g->setRowCount(rows);
    g->setFixedCols(2);
    g->setFixedRows(2);
    g->setDefaultColWidth(kColWidth);
    g->setDefaultRowHeight(kRowHeight);
    for (int r = 0; r < std::min(rows, 300); ++r) {
        for (int c = 0; c < cols; ++c) {
            std::string text = std::to_string(c);
            text += ',';
            text += std::to_string(r);
            g->setCell(c, r, text);
        }
    }
    return g;
}

void mouse(QWidget* w, QEvent::Type type, QPoint pos, Qt::MouseButton button,
           Qt::MouseButtons buttons) {
    QMouseEvent ev(type, QPointF(pos), w->mapToGlobal(QPointF(pos)), button, buttons, {});
    QCoreApplication::sendEvent(w, &ev);
}

// Press at `from`, move to `to` with the left button held, release there.
void leftDrag(QWidget* w, QPoint from, QPoint to) {
    mouse(w, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    mouse(w, QEvent::MouseMove, (from + to) / 2, Qt::NoButton, Qt::LeftButton);
    mouse(w, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    mouse(w, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
}

GridRect rect(int l, int t, int r, int b) {
    return GridRect{l, t, r, b};
}

} // namespace

class GridWidgetTest : public QObject {
    Q_OBJECT

    std::unique_ptr<StringGrid> grid;
    std::unique_ptr<kol::GridViewState> view;
    std::unique_ptr<GridWidget> widget;

    QWidget* vp() { return widget->viewport(); }
    QPoint centre(int c, int r) { return widget->cellRect(c, r).center(); }
    void key(Qt::Key k, Qt::KeyboardModifiers mods = {}) { QTest::keyClick(widget.get(), k, mods); }
    bool wholeOnScreen(int c, int r) {
        QRect rc = widget->cellRect(c, r);
        return !rc.isEmpty() && vp()->rect().contains(rc);
    }

    void makeTable(int cols, int rows) {
        grid = makeGrid(cols, rows);
        view = std::make_unique<kol::GridViewState>(*grid);
        view->setCurrent(2, 2);
    }

    void show(int width = 640, int height = 480) {
        widget = std::make_unique<GridWidget>();
        widget->resize(width, height);
        widget->setGrid(grid.get(), view.get());
        widget->show();
        QVERIFY(QTest::qWaitForWindowExposed(widget.get()));
        widget->refresh();
    }

private slots:
    void cleanup() {
        widget.reset();
        view.reset();
        grid.reset();
    }

    void keyboardMovesAndExtends() {
        makeTable(10, 50);
        show();
        QSignalSpy selected(widget.get(), &GridWidget::cellSelected);
        key(Qt::Key_Right);
        key(Qt::Key_Down);
        QCOMPARE(selected.count(), 2);
        QCOMPARE(selected.last(), QList<QVariant>({3, 3}));
        for (int i = 0; i < 5; ++i) key(Qt::Key_Left), key(Qt::Key_Up);
        QCOMPARE(QPoint(view->col, view->row), QPoint(2, 2)); // never into the fixed area
        key(Qt::Key_End);
        QCOMPARE(QPoint(view->col, view->row), QPoint(9, 2));
        key(Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(QPoint(view->col, view->row), QPoint(9, 49));
        key(Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(QPoint(view->col, view->row), QPoint(2, 2));

        // Shift moves the far corner; the current cell stays where the range began.
        view->setCurrent(3, 3);
        selected.clear();
        key(Qt::Key_Right, Qt::ShiftModifier);
        key(Qt::Key_Right, Qt::ShiftModifier);
        for (int i = 0; i < 3; ++i) key(Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(view->selection, rect(3, 3, 5, 6));
        QCOMPARE(QPoint(view->col, view->row), QPoint(3, 3));
        QCOMPARE(selected.count(), 0);
        for (int i = 0; i < 6; ++i) key(Qt::Key_Left, Qt::ShiftModifier); // across, then clamped
        QCOMPARE(view->selection, rect(2, 3, 3, 6));
        key(Qt::Key_End, Qt::ShiftModifier | Qt::ControlModifier);
        QCOMPARE(view->selection, rect(3, 3, 9, 49));
        QVERIFY(wholeOnScreen(9, 49)); // the moving corner is scrolled to
        key(Qt::Key_Down);             // a plain move collapses the range
        QCOMPARE(view->selection, rect(3, 4, 3, 4));

        // A receiver that accepts the key takes it over.
        connect(widget.get(), &GridWidget::keyPressed, this, [](QKeyEvent* e) {
            if (e->key() == Qt::Key_Down) e->accept();
        });
        key(Qt::Key_Down);
        key(Qt::Key_Right);
        QCOMPARE(QPoint(view->col, view->row), QPoint(4, 4));
    }

    void fixedAreaIsNeverCurrent() {
        makeTable(10, 50);
        view->setCurrent(4, 4);
        show();
        QSignalSpy fixedPressed(widget.get(), &GridWidget::fixedCellPressed);
        QSignalSpy selected(widget.get(), &GridWidget::cellSelected);
        QTest::mouseClick(vp(), Qt::LeftButton, {}, centre(0, 6));
        QTest::mouseClick(vp(), Qt::RightButton, {}, centre(5, 1));
        QTest::mouseClick(vp(), Qt::RightButton, {}, centre(6, 7)); // right: reported only
        QCOMPARE(view->selection, rect(4, 4, 4, 4));
        QCOMPARE(selected.count(), 0);
        QCOMPARE(fixedPressed.count(), 2);
        QCOMPARE(fixedPressed.at(0), QList<QVariant>({0, 6, QVariant::fromValue(Qt::LeftButton)}));
        QCOMPARE(fixedPressed.at(1), QList<QVariant>({5, 1, QVariant::fromValue(Qt::RightButton)}));
        // The cell change comes before the press report, which the owner's press handler needs.
        QStringList order;
        connect(widget.get(), &GridWidget::cellSelected, this, [&] { order << "selected"; });
        connect(widget.get(), &GridWidget::cellPressed, this, [&] { order << "pressed"; });
        QTest::mouseClick(vp(), Qt::LeftButton, {}, centre(6, 7));
        QCOMPARE(QPoint(view->col, view->row), QPoint(6, 7));
        QCOMPARE(order, QStringList({"selected", "pressed"}));
        // An owner that put the cursor into the fixed area gets it back out on refresh.
        view->setCurrent(0, 0);
        widget->refresh();
        QCOMPARE(view->selection, rect(2, 2, 2, 2));
        QCOMPARE(QPoint(view->col, view->row), QPoint(2, 2));
    }

    void mouseDragSelectsAndScrollsPastEdge() {
        makeTable(10, 200);
        show();
        leftDrag(vp(), centre(3, 3), centre(5, 6));
        QCOMPARE(QPoint(view->col, view->row), QPoint(3, 3));
        QCOMPARE(view->selection, rect(3, 3, 5, 6));
        leftDrag(vp(), centre(4, 4), centre(0, 4)); // into the fixed column: stops at column 2
        QCOMPARE(view->selection, rect(2, 4, 4, 4));
        mouse(vp(), QEvent::MouseButtonPress, centre(3, 3), Qt::LeftButton, Qt::LeftButton);
        QPoint below(centre(3, 3).x(), vp()->height() + 30);
        mouse(vp(), QEvent::MouseMove, below, Qt::NoButton, Qt::LeftButton);
        QTRY_VERIFY(view->topRow >= 10);
        mouse(vp(), QEvent::MouseButtonRelease, below, Qt::LeftButton, Qt::NoButton);
        int top = view->topRow;
        QTest::qWait(100);
        QCOMPARE(view->topRow, top); // released: no more scrolling
        QCOMPARE(view->selection.top, 3);
        QVERIFY(view->selection.bottom >= top + view->visibleRowCount - 2);
        QCOMPARE(widget->verticalScrollBar()->value(), top - 2);
    }

    void scrollingKeepsCurrentCellVisible() {
        makeTable(30, 500);
        show();
        int expected = 0; // whole rows below the two fixed ones
        for (int y = 2 * (kRowHeight + 1); y + kRowHeight <= vp()->height(); y += kRowHeight + 1)
            ++expected;
        QCOMPARE(view->visibleRowCount, expected);
        for (int i = 0; i < 3; ++i) key(Qt::Key_PageDown);
        QCOMPARE(view->row, 2 + 3 * expected);
        QVERIFY(wholeOnScreen(view->col, view->row));
        key(Qt::Key_End, Qt::ControlModifier);
        QVERIFY(wholeOnScreen(29, 499));
        QCOMPARE(widget->verticalScrollBar()->value(), view->topRow - 2);
        QCOMPARE(widget->verticalScrollBar()->maximum(), view->topRow - 2); // last row at bottom
        QCOMPARE(widget->horizontalScrollBar()->value(), view->leftCol - 2);
        key(Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(QPoint(view->leftCol, view->topRow), QPoint(2, 2));
        for (int i = 0; i < view->visibleColCount; ++i) key(Qt::Key_Right);
        QCOMPARE(view->leftCol, 3); // one past the last whole column scrolls by one
        // The wheel scrolls three rows a notch and leaves the cursor; so does the scroll bar.
        QWheelEvent wheel(QPointF(100, 100), widget->mapToGlobal(QPointF(100, 100)), {},
                          QPoint(0, -120), Qt::NoButton, {}, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(vp(), &wheel);
        QCOMPARE(view->topRow, 5);
        QCOMPARE(view->row, 2);
        widget->verticalScrollBar()->setValue(40);
        QCOMPARE(view->topRow, 42);
        QVERIFY(widget->cellRect(3, 41).isEmpty());
        QCOMPARE(widget->cellRect(3, 42).topLeft(),
                 QPoint(2 * (kColWidth + 1), 2 * (kRowHeight + 1)));
        int c, r;
        QVERIFY(widget->cellAt(centre(5, 45), c, r));
        QCOMPARE(QPoint(c, r), QPoint(5, 45));
        QVERIFY(widget->cellAt(QPoint(5, 5), c, r)); // fixed cells stay put
        QCOMPARE(QPoint(c, r), QPoint(0, 0));
        widget->setTopLeft(2, 1000); // clamped so the last column ends inside the view
        const int gap = vp()->width() - (widget->cellRect(29, 2).right() + 2);
        QVERIFY(gap >= 0 && gap < kColWidth + 1);
        QVERIFY(!widget->cellAt(QPoint(vp()->width() - 1, 50), c, r) || gap == 0);
    }

    void resizeByMouse() {
        makeTable(10, 50);
        show();
        QSignalSpy colResized(widget.get(), &GridWidget::columnResized);
        QSignalSpy rowResized(widget.get(), &GridWidget::rowResized);
        QRect header = widget->cellRect(3, 0);
        QPoint edge(header.right() + 1, header.center().y());
        mouse(vp(), QEvent::MouseMove, edge, Qt::NoButton, Qt::NoButton);
        QCOMPARE(vp()->cursor().shape(), Qt::SplitHCursor);
        mouse(vp(), QEvent::MouseMove, header.center(), Qt::NoButton, Qt::NoButton);
        QCOMPARE(vp()->cursor().shape(), Qt::ArrowCursor);
        leftDrag(vp(), edge, edge + QPoint(30, 5));
        QCOMPARE(grid->colWidth(3), kColWidth + 30);
        QCOMPARE(colResized.count(), 1);
        QCOMPARE(colResized.at(0), QList<QVariant>({3, kColWidth + 30}));
        QCOMPARE(widget->cellRect(4, 0).left(), header.left() + kColWidth + 30 + 1);
        // The same border below the header is a cell press, not a resize.
        QPoint dataEdge(header.right() + 31, widget->cellRect(3, 5).center().y());
        leftDrag(vp(), dataEdge, dataEdge + QPoint(20, 0));
        QCOMPARE(grid->colWidth(3), kColWidth + 30);
        // Rows resize at a row label's lower border only while row sizing is allowed.
        QRect label = widget->cellRect(0, 4);
        QPoint rowEdge(label.center().x(), label.bottom() + 1);
        leftDrag(vp(), rowEdge, rowEdge + QPoint(0, 15));
        QCOMPARE(grid->rowHeight(4), kRowHeight);
        view->options.rowSizing = true;
        leftDrag(vp(), rowEdge, rowEdge + QPoint(0, 15));
        QCOMPARE(grid->rowHeight(4), kRowHeight + 15);
        QCOMPARE(rowResized.count(), 1);
        // Dragged past its left border a column keeps one pixel, so it can still be grabbed.
        edge = QPoint(widget->cellRect(5, 0).right() + 1, header.center().y());
        leftDrag(vp(), edge, QPoint(0, header.center().y()));
        QCOMPARE(grid->colWidth(5), 1);
    }

    void dragMovesOnlyWhenAllowed() {
        makeTable(6, 40);
        show();
        QSignalSpy rowMoved(widget.get(), &GridWidget::rowMoved);
        QSignalSpy colMoved(widget.get(), &GridWidget::columnMoved);
        const std::string row5(grid->cell(3, 5)), row8(grid->cell(3, 8));
        leftDrag(vp(), centre(0, 5), centre(0, 8));
        leftDrag(vp(), centre(2, 0), centre(4, 0));
        QCOMPARE(rowMoved.count() + colMoved.count(), 0);
        QCOMPARE(std::string(grid->cell(3, 5)), row5);

        view->options.rowMoving = true;
        view->setCurrent(3, 8);
        mouse(vp(), QEvent::MouseButtonPress, centre(0, 5), Qt::LeftButton, Qt::LeftButton);
        mouse(vp(), QEvent::MouseMove, centre(0, 8), Qt::NoButton, Qt::LeftButton);
        QRect target = widget->cellRect(3, 8); // the indicator marks the border under row 8
        QCOMPARE(vp()->grab().toImage().pixelColor(target.center().x(), target.bottom() + 1),
                 QColor(Qt::black));
        mouse(vp(), QEvent::MouseButtonRelease, centre(0, 8), Qt::LeftButton, Qt::NoButton);
        QCOMPARE(rowMoved.count(), 1);
        QCOMPARE(rowMoved.at(0), QList<QVariant>({5, 8}));
        QCOMPARE(std::string(grid->cell(3, 8)), row5);
        QCOMPARE(std::string(grid->cell(3, 7)), row8);
        QCOMPARE(view->selection, rect(3, 7, 3, 7)); // the cursor stays on its record
        leftDrag(vp(), centre(0, 6), centre(0, 6));  // released where it started
        QCOMPARE(rowMoved.count(), 1);
        leftDrag(vp(), centre(0, 8), centre(0, 0)); // fixed rows are no drop target
        QCOMPARE(rowMoved.last(), QList<QVariant>({8, 2}));
        QCOMPARE(std::string(grid->cell(3, 2)), row5);

        view->options.colMoving = true;
        const std::string col3(grid->cell(3, 4)); // the cursor's column
        leftDrag(vp(), centre(3, 0), centre(5, 1));
        QCOMPARE(colMoved.count(), 1);
        QCOMPARE(std::string(grid->cell(5, 4)), col3);
        QCOMPARE(view->col, 5);
    }

    void hookSeesOnlyVisibleCells() {
        makeTable(12, 100000);
        show(800, 600);
        std::set<std::pair<int, int>> cells;
        int calls = 0, selectedCalls = 0;
        widget->setCellPainter([&](QPainter&, const QRect& rc, int c, int r, bool sel, bool fixed) {
            ++calls;
            cells.insert({c, r});
            selectedCalls += sel;
            QCOMPARE(rc, widget->cellRect(c, r));
            QCOMPARE(fixed, c < 2 || r < 2);
        });
        widget->scrollToCell(5, 50000);
        vp()->grab();
        const int rowsOnScreen = vp()->height() / (kRowHeight + 1) + 1;
        const int colsOnScreen = vp()->width() / (kColWidth + 1) + 1;
        QVERIFY(cells.count({5, 50000}));
        QVERIFY(calls <= rowsOnScreen * colsOnScreen);
        QCOMPARE(int(cells.size()), calls); // each cell once
        for (const auto& [c, r] : cells)
            QVERIFY(r < 2 || (r >= view->topRow && r <= view->topRow + view->visibleRowCount));
        QCOMPARE(selectedCalls, 0); // the cursor (2, 2) is far away
    }

    void defaultDrawing() {
        makeTable(4, 10);
        grid->setCell(2, 2, "H");
        grid->setCell(3, 3, std::string(200, 'W')); // far wider than its cell
        grid->setCell(3, 4, "");
        view->setCurrent(3, 2);
        show(400, 300);
        QImage img = vp()->grab().toImage();
        auto at = [&](QPoint p) { return img.pixelColor(p); };
        const QColor silver(192, 192, 192), grey(128, 128, 128), navy(0, 0, 128);
        QRect data = widget->cellRect(2, 2);
        QCOMPARE(at(data.bottomRight() - QPoint(2, 2)), silver);
        QCOMPARE(at(widget->cellRect(0, 5).bottomRight() - QPoint(2, 2)), grey);
        QCOMPARE(at(widget->cellRect(3, 2).bottomRight() - QPoint(2, 2)), navy);
        QCOMPARE(at(QPoint(vp()->width() - 3, 5)), silver);  // right of the last column
        QCOMPARE(at(QPoint(5, vp()->height() - 3)), silver); // below the last row
        QPoint ink(1 << 20, 1 << 20); // the text starts 2 pixels in from the left and top
        for (int y = data.top(); y <= data.bottom(); ++y)
            for (int x = data.left(); x <= data.right(); ++x)
                if (at(QPoint(x, y)).lightness() < 96)
                    ink = QPoint(std::min(ink.x(), x), std::min(ink.y(), y));
        QVERIFY(ink.x() >= data.left() + 2 && ink.x() <= data.left() + 4);
        QVERIFY(ink.y() >= data.top() + 2 && ink.y() <= data.top() + 2 + widget->letterHeight());
        // Long text is clipped to its cell: neither the area to its right nor the cell below
        // gets ink.
        QRect below = widget->cellRect(3, 4);
        for (int x = below.left(); x < vp()->width(); ++x) {
            if (x == below.right() + 1) continue; // the grid line
            QCOMPARE(at(QPoint(x, below.center().y())), silver);
            if (x > below.right()) QCOMPARE(at(QPoint(x, centre(3, 3).y())), silver);
        }
    }

    void badBytesAndChangingGrid() {
        makeTable(6, 300);
        const std::string bad[] = {
            "\x81", "\xFF\xFE\xFD", "\x82\xA0\x81", "\x80\xA0\x85\x40", std::string("a\0b", 3),
            "\x82"};
        for (int i = 0; i < 6; ++i) grid->setCell(i, 2 + i % 3, bad[i]);
        show();
        vp()->grab();
        for (int i = 0; i < 6; ++i) QCOMPARE(std::string(grid->cell(i, 2 + i % 3)), bad[i]);
        // The owner shrinks the table under a scrolled widget, then refreshes.
        key(Qt::Key_End, Qt::ControlModifier);
        grid->setRowCount(5);
        grid->setColCount(3);
        widget->refresh();
        QCOMPARE(view->topRow, 2);
        QCOMPARE(view->row, 4);
        QCOMPARE(widget->verticalScrollBar()->maximum(), 0);
        vp()->grab();
        widget->setGrid(nullptr, nullptr);
        vp()->grab();
        key(Qt::Key_Down);
        QTest::mouseClick(vp(), Qt::LeftButton, {}, QPoint(50, 50));
    }
};

QTEST_MAIN(GridWidgetTest)
#include "grid_widget_test.moc"
