// The grid widget against StringGrids: navigation, selection, scrolling, mouse resizing and
// moving, the paint hook and the default drawing.
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <memory>
#include <set>
#include <string>

#include "app/cp932.h"
#include "table/string_grid.h"
#include "ui/grid_widget.h"

using kol::GridRect;
using kol::GridWidget;
using kol::StringGrid;

namespace {

constexpr int kColWidth = 60, kRowHeight = 20;

std::unique_ptr<StringGrid> makeGrid(int cols, int rows, int fixedCols = 2, int fixedRows = 2) {
    auto g = std::make_unique<StringGrid>();
    g->setColCount(cols);
    g->setRowCount(rows);
    g->setFixedCols(fixedCols);
    g->setFixedRows(fixedRows);
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
    g->setCurrent(fixedCols, fixedRows);
    return g;
}

void mouse(QWidget* w, QEvent::Type type, QPoint pos, Qt::MouseButton button,
           Qt::MouseButtons buttons, Qt::KeyboardModifiers mods = {}) {
    QMouseEvent ev(type, QPointF(pos), w->mapToGlobal(QPointF(pos)), button, buttons, mods);
    QCoreApplication::sendEvent(w, &ev);
}

// Press at `from`, move through `to` with the left button held, release there.
void leftDrag(QWidget* w, QPoint from, QPoint to) {
    mouse(w, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    mouse(w, QEvent::MouseMove, (from + to) / 2, Qt::NoButton, Qt::LeftButton);
    mouse(w, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    mouse(w, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
}

GridRect rect(int l, int t, int r, int b) {
    return GridRect{l, t, r, b};
}

bool wholeOnScreen(const GridWidget& w, int c, int r) {
    QRect rc = w.cellRect(c, r);
    return !rc.isEmpty() && w.viewport()->rect().contains(rc);
}

} // namespace

class GridWidgetTest : public QObject {
    Q_OBJECT

    std::unique_ptr<StringGrid> grid;
    std::unique_ptr<GridWidget> widget;

    QWidget* vp() { return widget->viewport(); }
    QPoint centre(int c, int r) { return widget->cellRect(c, r).center(); }

    void show(int width = 640, int height = 480) {
        widget = std::make_unique<GridWidget>();
        widget->resize(width, height);
        widget->setGrid(grid.get());
        widget->show();
        QVERIFY(QTest::qWaitForWindowExposed(widget.get()));
        widget->refresh();
    }

private slots:
    void cleanup() {
        widget.reset();
        grid.reset();
    }

    void keyboardMovesStayInDataArea() {
        grid = makeGrid(10, 50);
        show();
        QSignalSpy selected(widget.get(), &GridWidget::cellSelected);
        QTest::keyClick(widget.get(), Qt::Key_Right);
        QTest::keyClick(widget.get(), Qt::Key_Down);
        QCOMPARE(grid->col, 3);
        QCOMPARE(grid->row, 3);
        QCOMPARE(selected.count(), 2);
        QCOMPARE(selected.last().at(0).toInt(), 3);
        QCOMPARE(selected.last().at(1).toInt(), 3);
        for (int i = 0; i < 5; ++i) {
            QTest::keyClick(widget.get(), Qt::Key_Left);
            QTest::keyClick(widget.get(), Qt::Key_Up);
        }
        QCOMPARE(grid->col, 2); // never into the fixed columns or rows
        QCOMPARE(grid->row, 2);
        QCOMPARE(grid->selection, rect(2, 2, 2, 2));
        QTest::keyClick(widget.get(), Qt::Key_End);
        QCOMPARE(grid->col, 9);
        QCOMPARE(grid->row, 2);
        QTest::keyClick(widget.get(), Qt::Key_Home);
        QCOMPARE(grid->col, 2);
        QTest::keyClick(widget.get(), Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(grid->col, 9);
        QCOMPARE(grid->row, 49);
        QTest::keyClick(widget.get(), Qt::Key_Down); // at the edge nothing moves
        QCOMPARE(grid->row, 49);
        QTest::keyClick(widget.get(), Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(grid->col, 2);
        QCOMPARE(grid->row, 2);
    }

    void shiftExtendsSelectionFromCurrentCell() {
        grid = makeGrid(10, 50);
        grid->setCurrent(3, 3);
        show();
        QSignalSpy selected(widget.get(), &GridWidget::cellSelected);
        QTest::keyClick(widget.get(), Qt::Key_Right, Qt::ShiftModifier);
        QTest::keyClick(widget.get(), Qt::Key_Right, Qt::ShiftModifier);
        for (int i = 0; i < 3; ++i) QTest::keyClick(widget.get(), Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(grid->selection, rect(3, 3, 5, 6));
        QCOMPARE(grid->col, 3);
        QCOMPARE(grid->row, 3);
        QCOMPARE(selected.count(), 0);
        // Back across the current cell, then into the fixed column: clamped at column 2.
        for (int i = 0; i < 6; ++i) QTest::keyClick(widget.get(), Qt::Key_Left, Qt::ShiftModifier);
        QCOMPARE(grid->selection, rect(2, 3, 3, 6));
        QTest::keyClick(widget.get(), Qt::Key_End, Qt::ShiftModifier | Qt::ControlModifier);
        QCOMPARE(grid->selection, rect(3, 3, 9, 49));
        QVERIFY(wholeOnScreen(*widget, 9, 49)); // the moving corner is scrolled to
        // A plain move collapses the selection onto the new current cell.
        QTest::keyClick(widget.get(), Qt::Key_Down);
        QCOMPARE(grid->selection, rect(3, 4, 3, 4));
        QCOMPARE(grid->row, 4);
    }

    void receiverCanTakeOverKeys() {
        grid = makeGrid(10, 50);
        show();
        connect(widget.get(), &GridWidget::keyPressed, this, [](QKeyEvent* e) {
            if (e->key() == Qt::Key_Down) e->accept();
        });
        QTest::keyClick(widget.get(), Qt::Key_Down);
        QCOMPARE(grid->row, 2);
        QTest::keyClick(widget.get(), Qt::Key_Right);
        QCOMPARE(grid->col, 3);
    }

    void refreshKeepsCurrentCellOutOfFixedArea() {
        grid = makeGrid(10, 50);
        show();
        grid->setCurrent(0, 0);
        QSignalSpy selected(widget.get(), &GridWidget::cellSelected);
        widget->refresh();
        QCOMPARE(grid->col, 2);
        QCOMPARE(grid->row, 2);
        QCOMPARE(grid->selection, rect(2, 2, 2, 2));
        QCOMPARE(selected.count(), 1);
    }

    void fixedCellPressesDoNotMoveCurrentCell() {
        grid = makeGrid(10, 50);
        grid->setCurrent(4, 4);
        show();
        QSignalSpy fixedPressed(widget.get(), &GridWidget::fixedCellPressed);
        QSignalSpy pressed(widget.get(), &GridWidget::cellPressed);
        QSignalSpy selected(widget.get(), &GridWidget::cellSelected);
        QTest::mouseClick(vp(), Qt::LeftButton, {}, centre(0, 6));
        QTest::mouseClick(vp(), Qt::RightButton, {}, centre(5, 1));
        QCOMPARE(grid->col, 4);
        QCOMPARE(grid->row, 4);
        QCOMPARE(grid->selection, rect(4, 4, 4, 4));
        QCOMPARE(selected.count(), 0);
        QCOMPARE(fixedPressed.count(), 2);
        QCOMPARE(fixedPressed.at(0).at(0).toInt(), 0);
        QCOMPARE(fixedPressed.at(0).at(1).toInt(), 6);
        QCOMPARE(fixedPressed.at(1).at(0).toInt(), 5);
        QCOMPARE(fixedPressed.at(1).at(1).toInt(), 1);
        QCOMPARE(fixedPressed.at(1).at(2).value<Qt::MouseButton>(), Qt::RightButton);
        QCOMPARE(pressed.count(), 2);
        // A right press on a data cell reports the cell but keeps the cursor.
        QTest::mouseClick(vp(), Qt::RightButton, {}, centre(6, 7));
        QCOMPARE(grid->col, 4);
        QCOMPARE(pressed.last().at(0).toInt(), 6);
        // A left press moves it, and the cell change comes before the press report.
        QStringList order;
        connect(widget.get(), &GridWidget::cellSelected, this, [&] { order << "selected"; });
        connect(widget.get(), &GridWidget::cellPressed, this, [&] { order << "pressed"; });
        QTest::mouseClick(vp(), Qt::LeftButton, {}, centre(6, 7));
        QCOMPARE(grid->col, 6);
        QCOMPARE(grid->row, 7);
        QCOMPARE(order, QStringList({"selected", "pressed"}));
    }

    void mouseDragSelectsRangeAndScrollsPastEdge() {
        grid = makeGrid(10, 200);
        show();
        leftDrag(vp(), centre(3, 3), centre(5, 6));
        QCOMPARE(grid->col, 3);
        QCOMPARE(grid->row, 3);
        QCOMPARE(grid->selection, rect(3, 3, 5, 6));
        // Into the fixed column: the range stops at the first data column.
        leftDrag(vp(), centre(4, 4), centre(0, 4));
        QCOMPARE(grid->selection, rect(2, 4, 4, 4));
        // Held below the bottom edge, the view scrolls and the range follows.
        mouse(vp(), QEvent::MouseButtonPress, centre(3, 3), Qt::LeftButton, Qt::LeftButton);
        QPoint below(centre(3, 3).x(), vp()->height() + 30);
        mouse(vp(), QEvent::MouseMove, below, Qt::NoButton, Qt::LeftButton);
        QTRY_VERIFY(grid->topRow >= 10);
        mouse(vp(), QEvent::MouseButtonRelease, below, Qt::LeftButton, Qt::NoButton);
        int top = grid->topRow;
        QTest::qWait(100); // released: no more scrolling
        QCOMPARE(grid->topRow, top);
        QCOMPARE(grid->selection.top, 3);
        QVERIFY(grid->selection.bottom >= top + grid->visibleRowCount - 2);
        QCOMPARE(widget->verticalScrollBar()->value(), top - grid->fixedRows());
    }

    void scrollingFollowsCurrentCell() {
        grid = makeGrid(30, 500);
        show();
        QSignalSpy topLeft(widget.get(), &GridWidget::topLeftChanged);
        // Fully visible rows: the fixed rows take 2 * 21 pixels.
        int expected = 0;
        for (int y = 2 * (kRowHeight + 1); y + kRowHeight <= vp()->height(); y += kRowHeight + 1)
            ++expected;
        QCOMPARE(grid->visibleRowCount, expected);
        for (int i = 0; i < 3; ++i) QTest::keyClick(widget.get(), Qt::Key_PageDown);
        QCOMPARE(grid->row, 2 + 3 * expected);
        QVERIFY(wholeOnScreen(*widget, grid->col, grid->row));
        QVERIFY(grid->topRow > 2);
        QVERIFY(topLeft.count() > 0);
        QTest::keyClick(widget.get(), Qt::Key_End, Qt::ControlModifier);
        QVERIFY(wholeOnScreen(*widget, 29, 499));
        QCOMPARE(widget->verticalScrollBar()->value(), grid->topRow - 2);
        QCOMPARE(widget->horizontalScrollBar()->value(), grid->leftCol - 2);
        QCOMPARE(widget->verticalScrollBar()->maximum(), grid->topRow - 2); // last row at bottom
        QTest::keyClick(widget.get(), Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(grid->topRow, 2);
        QCOMPARE(grid->leftCol, 2);
        // Right past the last whole column scrolls by one column.
        for (int i = 0; i < grid->visibleColCount; ++i)
            QTest::keyClick(widget.get(), Qt::Key_Right);
        QCOMPARE(grid->leftCol, 3);
        QVERIFY(wholeOnScreen(*widget, grid->col, grid->row));
        // Wheel: three rows a notch, the cursor stays; the scroll bar moves whole rows.
        QWheelEvent wheel(QPointF(100, 100), widget->mapToGlobal(QPointF(100, 100)), {},
                          QPoint(0, -120), Qt::NoButton, {}, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(vp(), &wheel);
        QCOMPARE(grid->topRow, 5);
        QCOMPARE(grid->row, 2);
        widget->verticalScrollBar()->setValue(40);
        QCOMPARE(grid->topRow, 42);
        QVERIFY(widget->cellRect(3, 41).isEmpty());
        QCOMPARE(widget->cellRect(3, 42).top(), 2 * (kRowHeight + 1));
    }

    void cellAtAndCellRectAgree() {
        grid = makeGrid(30, 100);
        show();
        widget->setTopLeft(20, 4);
        int c, r;
        QVERIFY(widget->cellAt(centre(5, 25), c, r));
        QCOMPARE(c, 5);
        QCOMPARE(r, 25);
        QVERIFY(widget->cellAt(centre(1, 0), c, r)); // fixed cells stay put when scrolled
        QCOMPARE(c, 1);
        QCOMPARE(r, 0);
        QCOMPARE(widget->cellRect(1, 0).left(), kColWidth + 1);
        QCOMPARE(widget->cellRect(4, 20).topLeft(),
                 QPoint(2 * (kColWidth + 1), 2 * (kRowHeight + 1)));
        QVERIFY(widget->cellRect(3, 25).isEmpty()); // scrolled out on the left
        widget->setTopLeft(2, 1000);                // clamped: the last column ends inside the view
        const int gap = vp()->width() - (widget->cellRect(29, 2).right() + 2);
        QVERIFY(gap >= 0 && gap < kColWidth + 1);
        QVERIFY(!widget->cellAt(QPoint(vp()->width() - 1, 50), c, r));
    }

    void columnAndRowResizeByMouse() {
        grid = makeGrid(10, 50);
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
        QCOMPARE(colResized.at(0).at(0).toInt(), 3);
        QCOMPARE(colResized.at(0).at(1).toInt(), kColWidth + 30);
        QCOMPARE(grid->col, 2); // a resize is no press on a cell
        QCOMPARE(widget->cellRect(4, 0).left(), header.left() + kColWidth + 30 + 1);
        // The same border below the header is a cell press, not a resize.
        QPoint dataEdge(header.right() + 1 + 30, widget->cellRect(3, 5).center().y());
        leftDrag(vp(), dataEdge, dataEdge + QPoint(20, 0));
        QCOMPARE(grid->colWidth(3), kColWidth + 30);
        // Rows resize at a row label's lower border only while row sizing is allowed.
        QRect label = widget->cellRect(0, 4);
        QPoint rowEdge(label.center().x(), label.bottom() + 1);
        leftDrag(vp(), rowEdge, rowEdge + QPoint(0, 15));
        QCOMPARE(grid->rowHeight(4), kRowHeight);
        QCOMPARE(rowResized.count(), 0);
        grid->options.rowSizing = true;
        mouse(vp(), QEvent::MouseMove, rowEdge, Qt::NoButton, Qt::NoButton);
        QCOMPARE(vp()->cursor().shape(), Qt::SplitVCursor);
        leftDrag(vp(), rowEdge, rowEdge + QPoint(0, 15));
        QCOMPARE(grid->rowHeight(4), kRowHeight + 15);
        QCOMPARE(rowResized.count(), 1);
        QCOMPARE(rowResized.at(0).at(0).toInt(), 4);
        // Dragged past the left border the column keeps a pixel, so it can still be grabbed.
        edge = QPoint(widget->cellRect(5, 0).right() + 1, header.center().y());
        leftDrag(vp(), edge, QPoint(0, header.center().y()));
        QCOMPARE(grid->colWidth(5), 1);
    }

    void rowDragMoveOnlyWhenAllowed() {
        grid = makeGrid(6, 40);
        show();
        QSignalSpy moved(widget.get(), &GridWidget::rowMoved);
        const std::string row5(grid->cell(3, 5)), row8(grid->cell(3, 8));
        leftDrag(vp(), centre(0, 5), centre(0, 8));
        QCOMPARE(moved.count(), 0);
        QCOMPARE(std::string(grid->cell(3, 5)), row5);

        grid->options.rowMoving = true;
        grid->setCurrent(3, 8);
        widget->refresh();
        mouse(vp(), QEvent::MouseButtonPress, centre(0, 5), Qt::LeftButton, Qt::LeftButton);
        mouse(vp(), QEvent::MouseMove, centre(0, 8), Qt::NoButton, Qt::LeftButton);
        // The drop indicator marks the border under row 8 while the button is held.
        QImage shot = vp()->grab().toImage();
        QRect target = widget->cellRect(3, 8);
        QCOMPARE(shot.pixelColor(target.center().x(), target.bottom() + 1), QColor(Qt::black));
        mouse(vp(), QEvent::MouseButtonRelease, centre(0, 8), Qt::LeftButton, Qt::NoButton);
        QCOMPARE(moved.count(), 1);
        QCOMPARE(moved.at(0).at(0).toInt(), 5);
        QCOMPARE(moved.at(0).at(1).toInt(), 8);
        QCOMPARE(std::string(grid->cell(3, 8)), row5);
        QCOMPARE(std::string(grid->cell(3, 7)), row8);
        QCOMPARE(grid->row, 7); // the cursor stays on its record
        QCOMPARE(grid->selection, rect(3, 7, 3, 7));
        // Released where it started: nothing moves.
        leftDrag(vp(), centre(0, 6), centre(0, 6));
        QCOMPARE(moved.count(), 1);
        // Fixed rows are no drop target: the move stops at the first data row.
        leftDrag(vp(), centre(0, 8), centre(0, 0));
        QCOMPARE(moved.count(), 2);
        QCOMPARE(moved.at(1).at(1).toInt(), 2);
        QCOMPARE(std::string(grid->cell(3, 2)), row5);
    }

    void columnDragMove() {
        grid = makeGrid(8, 20);
        show();
        QSignalSpy moved(widget.get(), &GridWidget::columnMoved);
        const std::string col2(grid->cell(2, 4));
        leftDrag(vp(), centre(2, 0), centre(4, 0));
        QCOMPARE(moved.count(), 0);
        grid->options.colMoving = true;
        leftDrag(vp(), centre(2, 0), centre(4, 1));
        QCOMPARE(moved.count(), 1);
        QCOMPARE(std::string(grid->cell(4, 4)), col2);
        QCOMPARE(grid->col, 4);
    }

    void hookSeesOnlyVisibleCells() {
        grid = makeGrid(12, 100000);
        grid->setCell(5, 50000, "x");
        show(800, 600);
        std::set<std::pair<int, int>> cells;
        int calls = 0, selectedCalls = 0, fixedCalls = 0;
        widget->setCellPainter([&](QPainter&, const QRect& rc, int c, int r, bool sel, bool fixed) {
            ++calls;
            cells.insert({c, r});
            QCOMPARE(rc, widget->cellRect(c, r));
            selectedCalls += sel;
            fixedCalls += fixed;
            QCOMPARE(fixed, c < 2 || r < 2);
        });
        widget->scrollToCell(5, 50000);
        vp()->grab();
        const int rowsOnScreen = (vp()->height() + kRowHeight) / (kRowHeight + 1) + 1;
        const int colsOnScreen = (vp()->width() + kColWidth) / (kColWidth + 1) + 1;
        QVERIFY(calls > 0);
        QVERIFY(calls <= rowsOnScreen * colsOnScreen);
        QCOMPARE(int(cells.size()), calls); // each cell once
        QVERIFY(cells.count({5, 50000}));
        for (const auto& [c, r] : cells) {
            QVERIFY(r < 2 || (r >= grid->topRow && r <= grid->topRow + grid->visibleRowCount));
            QVERIFY(c < 2 || (c >= grid->leftCol && c <= grid->leftCol + grid->visibleColCount));
        }
        QCOMPARE(selectedCalls, 0); // the cursor (2, 2) is far away
        QVERIFY(fixedCalls > 0);
    }

    void defaultDrawing() {
        grid = makeGrid(4, 10);
        grid->setCell(2, 2, "H");
        grid->setCell(3, 3, std::string(200, 'W')); // far wider than its cell
        grid->setCell(2, 4, "");
        grid->setCell(3, 4, "");
        grid->setCurrent(3, 2);
        show(400, 300);
        QImage img = vp()->grab().toImage();
        auto at = [&](QPoint p) { return img.pixelColor(p); };
        const QColor silver(192, 192, 192), grey(128, 128, 128), navy(0, 0, 128);
        QRect data = widget->cellRect(2, 2), fixed = widget->cellRect(0, 5),
              current = widget->cellRect(3, 2), right = widget->cellRect(3, 4);
        QCOMPARE(at(data.bottomRight() - QPoint(2, 2)), silver);
        QCOMPARE(at(fixed.bottomRight() - QPoint(2, 2)), grey);
        QCOMPARE(at(current.bottomRight() - QPoint(2, 2)), navy);
        QCOMPARE(at(QPoint(vp()->width() - 3, 5)), silver);  // right of the last column
        QCOMPARE(at(QPoint(5, vp()->height() - 3)), silver); // below the last row
        // The text starts 2 pixels in from the left and top.
        int minX = 1 << 20, minY = 1 << 20;
        for (int y = data.top(); y <= data.bottom(); ++y)
            for (int x = data.left(); x <= data.right(); ++x)
                if (at(QPoint(x, y)).lightness() < 96) {
                    minX = std::min(minX, x);
                    minY = std::min(minY, y);
                }
        QVERIFY(minX >= data.left() + 2 && minX <= data.left() + 4);
        QVERIFY(minY >= data.top() + 2);
        QVERIFY(minY <= data.top() + 2 + widget->letterHeight());
        // Long text is clipped to its cell: the empty cell below-right stays plain silver.
        QRect beyond = widget->cellRect(3, 3).translated(kColWidth + 1, 0) & vp()->rect();
        for (int x = beyond.left(); x <= beyond.right(); ++x)
            QCOMPARE(at(QPoint(x, beyond.center().y())), silver);
        for (int x = right.left(); x <= right.right(); ++x)
            QCOMPARE(at(QPoint(x, right.center().y())), silver);
        QCOMPARE(widget->letterWidth(), QFontMetrics(widget->gridFont()).horizontalAdvance('A'));
    }

    void invalidShiftJisDrawsAndStaysUnchanged() {
        grid = makeGrid(6, 10);
        const std::string bad[] = {
            "\x81", "\xFF\xFE\xFD", "\x82\xA0\x81", "\x80\xA0\x85\x40", std::string("a\0b", 3),
            "\x82"};
        for (int i = 0; i < 6; ++i) grid->setCell(i, 2 + i % 3, bad[i]);
        show();
        for (int r = 0; r < 10; ++r) widget->scrollToCell(2, r), vp()->grab();
        for (int i = 0; i < 6; ++i) QCOMPARE(std::string(grid->cell(i, 2 + i % 3)), bad[i]);
    }

    void noGridAndShrinkingGrid() {
        grid = makeGrid(10, 300);
        show();
        QTest::keyClick(widget.get(), Qt::Key_End, Qt::ControlModifier);
        // The owner shrinks the table under the widget, then refreshes.
        grid->setRowCount(5);
        grid->setColCount(3);
        widget->refresh();
        QCOMPARE(grid->topRow, 2);
        QCOMPARE(grid->row, 4);
        QCOMPARE(widget->verticalScrollBar()->maximum(), 0);
        vp()->grab();
        widget->setGrid(nullptr);
        vp()->grab();
        QTest::keyClick(widget.get(), Qt::Key_Down);
        QTest::mouseClick(vp(), Qt::LeftButton, {}, QPoint(50, 50));
    }
};

QTEST_MAIN(GridWidgetTest)
#include "grid_widget_test.moc"
