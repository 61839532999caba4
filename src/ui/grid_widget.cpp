#include "ui/grid_widget.h"
#include "ui/qt_program_look.h"

#include <QFontMetrics>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <cstdlib>

#include "text/cp932.h"
#include "view/table_view.h"

namespace kol {

namespace {
const QColor kBackground(0xC0, 0xC0, 0xC0); // silver: the grid colour and the empty area
const QColor kFixed(0x80, 0x80, 0x80);
const QColor kSelected(0x00, 0x00, 0x80); // navy
const QColor kDataLine(0x80, 0x80, 0x80);
const QColor kFixedLine(0x00, 0x00, 0x00);
const QColor kDropLine(0x00, 0x00, 0x00);

constexpr int kLine = GridGeometry::kLine;
constexpr int kTextInset = 2; // default text offset from the cell's left and top
constexpr int kMinDragSize = 1;
constexpr int kRowsPerNotch = 3;
constexpr int kAutoScrollMs = 30;

// A row or column of size 0 takes no room at all, not even its line.
int extent(int size) {
    return size > 0 ? size + kLine : 0;
}

// Where a row or column ends up when another one is moved from `from` to `to`.
int followMove(int i, int from, int to) {
    if (i == from) return to;
    if (from < to && i > from && i <= to) return i - 1;
    if (from > to && i >= to && i < from) return i + 1;
    return i;
}
} // namespace

GridWidget::GridWidget(QWidget* parent) : QAbstractScrollArea(parent) {
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setMouseTracking(true);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAutoFillBackground(false);
    scrollTimer_.setInterval(kAutoScrollMs);
    connect(&scrollTimer_, &QTimer::timeout, this, &GridWidget::autoScroll);

    QFont font = programFont(kGridFontPixels);
    font.setFixedPitch(true);
    setGridFont(font);
}

void GridWidget::setGrid(StringGrid* grid, GridViewState* view) {
    finishDrag(false);
    grid_ = grid && view ? grid : nullptr;
    view_ = grid_ ? view : nullptr;
    refresh();
}

void GridWidget::setCellPainter(CellPainter painter) {
    cellPainter_ = std::move(painter);
    viewport()->update();
}

void GridWidget::setGridFont(const QFont& font) {
    font_ = font;
    QFontMetrics fm(font_);
    letterWidth_ = std::max(1, fm.horizontalAdvance(QLatin1Char('A')));
    letterHeight_ = std::max(1, fm.height());
    ascent_ = fm.ascent();
    narrowest_ = letterWidth_;
    for (QChar ch : QStringLiteral(".,'|!il1 "))
        narrowest_ = std::min(narrowest_, std::max(1, fm.horizontalAdvance(ch)));
    viewport()->update();
}

// ---- geometry -------------------------------------------------------------------------------
// The measuring lives in GridGeometry; these name its axis the way the event code thinks of it.

GridGeometry GridWidget::geometry() const {
    return GridGeometry(*grid_, *view_, viewport()->width(), viewport()->height());
}

namespace {
Axis axisOf(bool vertical) {
    return vertical ? Axis::Rows : Axis::Columns;
}
} // namespace

int GridWidget::count(bool vertical) const {
    return geometry().count(axisOf(vertical));
}
int GridWidget::fixedCount(bool vertical) const {
    return geometry().fixedCount(axisOf(vertical));
}
int GridWidget::sizeOf(bool vertical, int index) const {
    return geometry().sizeOf(axisOf(vertical), index);
}
int GridWidget::firstScrolling(bool vertical) const {
    return geometry().firstScrolling(axisOf(vertical));
}
int GridWidget::viewLength(bool vertical) const {
    return vertical ? viewport()->height() : viewport()->width();
}
int GridWidget::fixedLength(bool vertical) const {
    return geometry().fixedLength(axisOf(vertical));
}
std::vector<GridGeometry::Span> GridWidget::spansOnScreen(bool vertical) const {
    if (!grid_) return {};
    return geometry().spansOnScreen(axisOf(vertical));
}
int GridWidget::fullyVisible(bool vertical, int first) const {
    return geometry().fullyVisible(axisOf(vertical), first);
}
int GridWidget::maxFirst(bool vertical) const {
    return geometry().maxFirst(axisOf(vertical));
}
int GridWidget::firstToShow(bool vertical, int index) const {
    return geometry().firstToShow(axisOf(vertical), index);
}
int GridWidget::indexAt(bool vertical, int pos, bool clampToScrolling) const {
    if (!grid_) return -1;
    return geometry().indexAt(axisOf(vertical), pos, clampToScrolling);
}
int GridWidget::edgeAt(bool vertical, int pos) const {
    if (!grid_) return -1;
    return geometry().edgeAt(axisOf(vertical), pos);
}
int GridWidget::spanPos(bool vertical, int index) const {
    if (!grid_) return -1;
    return geometry().spanPos(axisOf(vertical), index);
}

QRect GridWidget::cellRect(int col, int row) const {
    if (!grid_) return {};
    GridGeometry::Rect rc = geometry().cellRect(col, row);
    return rc.empty() ? QRect() : QRect(rc.left, rc.top, rc.width, rc.height);
}

bool GridWidget::cellAt(QPoint pos, int& col, int& row) const {
    col = row = -1;
    return grid_ && geometry().cellAt(pos.x(), pos.y(), col, row);
}

// ---- scrolling ------------------------------------------------------------------------------

void GridWidget::updateVisibleCounts() {
    if (!grid_) return;
    // A row taller than the view still counts, so paging always moves.
    view_->visibleRowCount = std::max(1, fullyVisible(true, firstScrolling(true)));
    view_->visibleColCount = std::max(1, fullyVisible(false, firstScrolling(false)));
}

void GridWidget::updateScrollBars() {
    settingBars_ = true;
    for (bool vertical : {true, false}) {
        QScrollBar* bar = vertical ? verticalScrollBar() : horizontalScrollBar();
        if (!grid_) {
            bar->setRange(0, 0);
            continue;
        }
        int fixed = fixedCount(vertical), first = firstScrolling(vertical);
        bar->setRange(0, maxFirst(vertical) - fixed);
        bar->setSingleStep(1);
        bar->setPageStep(std::max(1, fullyVisible(vertical, first)));
        bar->setValue(first - fixed);
    }
    settingBars_ = false;
}

void GridWidget::setTopLeft(int topRow, int leftCol) {
    if (!grid_) return;
    topRow = std::clamp(topRow, grid_->fixedRows(), maxFirst(true));
    leftCol = std::clamp(leftCol, grid_->fixedCols(), maxFirst(false));
    bool changed = topRow != view_->topRow || leftCol != view_->leftCol;
    view_->topRow = topRow;
    view_->leftCol = leftCol;
    updateVisibleCounts();
    settingBars_ = true;
    verticalScrollBar()->setPageStep(view_->visibleRowCount);
    horizontalScrollBar()->setPageStep(view_->visibleColCount);
    verticalScrollBar()->setValue(topRow - grid_->fixedRows());
    horizontalScrollBar()->setValue(leftCol - grid_->fixedCols());
    settingBars_ = false;
    if (changed) {
        viewport()->update();
        emit topLeftChanged();
    }
}

void GridWidget::scrollToCell(int col, int row) {
    if (!grid_) return;
    setTopLeft(firstToShow(true, row), firstToShow(false, col));
}

void GridWidget::scrollContentsBy(int, int) {
    // The bars count whole cells; the picture is redrawn rather than shifted.
    if (settingBars_ || !grid_) return;
    setTopLeft(grid_->fixedRows() + verticalScrollBar()->value(),
               grid_->fixedCols() + horizontalScrollBar()->value());
}

void GridWidget::refresh() {
    if (grid_) {
        StringGrid& g = *grid_;
        GridViewState& v = *view_;
        int fc = g.fixedCols(), fr = g.fixedRows();
        int c = std::clamp(v.col, fc, g.colCount() - 1);
        int r = std::clamp(v.row, fr, g.rowCount() - 1);
        GridRect sel = v.selection.valid() ? v.selection : GridRect{c, r, c, r};
        sel.left = std::clamp(sel.left, fc, g.colCount() - 1);
        sel.right = std::clamp(sel.right, sel.left, g.colCount() - 1);
        sel.top = std::clamp(sel.top, fr, g.rowCount() - 1);
        sel.bottom = std::clamp(sel.bottom, sel.top, g.rowCount() - 1);
        bool moved = c != v.col || r != v.row;
        v.col = c;
        v.row = r;
        v.selection = sel;
        updateScrollBars();
        setTopLeft(v.topRow, v.leftCol);
        if (moved) emit cellSelected(c, r);
    } else {
        updateScrollBars();
    }
    viewport()->update();
}

void GridWidget::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    if (!grid_) return;
    updateScrollBars();
    setTopLeft(view_->topRow, view_->leftCol);
}

void GridWidget::wheelEvent(QWheelEvent* event) {
    if (!grid_) {
        event->ignore();
        return;
    }
    QPoint delta = event->angleDelta();
    wheelRest_ += delta.y();
    hwheelRest_ += delta.x();
    int rows = wheelRest_ / 120, cols = hwheelRest_ / 120;
    wheelRest_ -= rows * 120;
    hwheelRest_ -= cols * 120;
    if (rows || cols) setTopLeft(view_->topRow - rows * kRowsPerNotch, view_->leftCol - cols);
    event->accept();
}

// ---- current cell and selection -------------------------------------------------------------

void GridWidget::selectionEnd(int& col, int& row) const {
    const GridRect& sel = view_->selection;
    col = view_->col;
    row = view_->row;
    if (!sel.contains(col, row)) return;
    col = sel.left == view_->col ? sel.right : sel.left;
    row = sel.top == view_->row ? sel.bottom : sel.top;
}

void GridWidget::setSelection(int anchorCol, int anchorRow, int endCol, int endRow) {
    GridRect sel{std::min(anchorCol, endCol), std::min(anchorRow, endRow),
                 std::max(anchorCol, endCol), std::max(anchorRow, endRow)};
    if (sel == view_->selection) return;
    view_->selection = sel;
    viewport()->update();
}

void GridWidget::moveCurrent(int col, int row, bool extend) {
    col = std::clamp(col, grid_->fixedCols(), grid_->colCount() - 1);
    row = std::clamp(row, grid_->fixedRows(), grid_->rowCount() - 1);
    if (extend) {
        setSelection(view_->col, view_->row, col, row);
        scrollToCell(col, row);
        return;
    }
    bool changed = col != view_->col || row != view_->row;
    view_->setCurrent(col, row);
    scrollToCell(col, row);
    viewport()->update();
    if (changed) emit cellSelected(col, row);
}

void GridWidget::setInputMethodAccepted(bool on) {
    setAttribute(Qt::WA_InputMethodEnabled, on);
}

QVariant GridWidget::inputMethodQuery(Qt::InputMethodQuery query) const {
    switch (query) {
    case Qt::ImEnabled:
        return testAttribute(Qt::WA_InputMethodEnabled) && grid_ != nullptr;
    case Qt::ImCursorRectangle: {
        // The candidate list opens beside the current cell, where the memo will be.
        const QRect rc = view_ ? cellRect(view_->col, view_->row) : QRect();
        return rc.isEmpty() ? QRect() : rc.translated(viewport()->pos());
    }
    case Qt::ImSurroundingText:
    case Qt::ImCurrentSelection:
        return QString();
    case Qt::ImCursorPosition:
    case Qt::ImAnchorPosition:
        return 0;
    default:
        return QAbstractScrollArea::inputMethodQuery(query);
    }
}

void GridWidget::inputMethodEvent(QInputMethodEvent* event) {
    event->ignore();
    if (grid_ && testAttribute(Qt::WA_InputMethodEnabled)) emit inputMethodReceived(event);
    if (!event->isAccepted()) QAbstractScrollArea::inputMethodEvent(event);
}

void GridWidget::keyPressEvent(QKeyEvent* event) {
    if (!grid_) {
        event->ignore();
        return;
    }
    event->ignore();
    emit keyPressed(event);
    if (event->isAccepted() || !grid_) return;

    const bool shift = event->modifiers() & Qt::ShiftModifier;
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    int c = view_->col, r = view_->row;
    if (shift) selectionEnd(c, r);
    const int page = std::max(1, view_->visibleRowCount);
    switch (event->key()) {
    case Qt::Key_Up:
        --r;
        break;
    case Qt::Key_Down:
        ++r;
        break;
    case Qt::Key_Left:
        --c;
        break;
    case Qt::Key_Right:
        ++c;
        break;
    case Qt::Key_PageUp:
        r -= page;
        setTopLeft(view_->topRow - page, view_->leftCol);
        break;
    case Qt::Key_PageDown:
        r += page;
        setTopLeft(view_->topRow + page, view_->leftCol);
        break;
    case Qt::Key_Home:
        c = grid_->fixedCols();
        if (ctrl) r = grid_->fixedRows();
        break;
    case Qt::Key_End:
        c = grid_->colCount() - 1;
        if (ctrl) r = grid_->rowCount() - 1;
        break;
    default:
        return; // left ignored for the parent
    }
    event->accept();
    moveCurrent(c, r, shift);
}

// ---- mouse ----------------------------------------------------------------------------------

void GridWidget::mousePressEvent(QMouseEvent* event) {
    if (!grid_) return;
    const QPoint pos = event->position().toPoint();
    const Qt::MouseButton button = event->button();
    mousePos_ = pos;
    finishDrag(false); // a release lost to a popup must not leave a drag running
    const int fc = grid_->fixedCols(), fr = grid_->fixedRows();

    if (button == Qt::LeftButton) {
        // Borders in the fixed area resize, before anything else a press could mean.
        int r0 = indexAt(true, pos.y(), false), c0 = indexAt(false, pos.x(), false);
        int edge = r0 >= 0 && r0 < fr ? edgeAt(false, pos.x()) : -1;
        if (edge >= 0) {
            drag_ = Drag::SizeCol;
            dragIndex_ = edge;
            dragOrigin_ = spanPos(false, edge);
            return;
        }
        edge = view_->options.rowSizing && c0 >= 0 && c0 < fc ? edgeAt(true, pos.y()) : -1;
        if (edge >= 0) {
            drag_ = Drag::SizeRow;
            dragIndex_ = edge;
            dragOrigin_ = spanPos(true, edge);
            return;
        }
    }

    int c, r;
    if (!cellAt(pos, c, r)) return;
    if (c < fc || r < fr) {
        if (button == Qt::LeftButton) {
            if (view_->options.rowMoving && c < fc && r >= fr) {
                drag_ = Drag::MoveRow;
                dragIndex_ = dragTarget_ = r;
            } else if (view_->options.colMoving && r < fr && c >= fc) {
                drag_ = Drag::MoveCol;
                dragIndex_ = dragTarget_ = c;
            }
        }
        emit cellPressed(c, r, button, event->modifiers());
        if (grid_) emit fixedCellPressed(c, r, button);
        return;
    }
    if (button == Qt::LeftButton) {
        moveCurrent(c, r, event->modifiers() & Qt::ShiftModifier);
        drag_ = Drag::Select;
    }
    emit cellPressed(c, r, button, event->modifiers());
}

void GridWidget::mouseMoveEvent(QMouseEvent* event) {
    mousePos_ = event->position().toPoint();
    if (drag_ == Drag::None) {
        updateHoverCursor(mousePos_);
        return;
    }
    if (!(event->buttons() & Qt::LeftButton)) {
        finishDrag(false);
        return;
    }
    dragTo(mousePos_);
}

void GridWidget::mouseReleaseEvent(QMouseEvent* event) {
    mousePos_ = event->position().toPoint();
    if (event->button() == Qt::LeftButton) finishDrag(true);
}

void GridWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    mousePressEvent(event); // the second press of a double click is a press as well
    if (!grid_ || drag_ == Drag::SizeCol || drag_ == Drag::SizeRow) return;
    int c, r;
    if (cellAt(event->position().toPoint(), c, r)) emit cellDoubleClicked(c, r);
}

void GridWidget::updateHoverCursor(QPoint pos) {
    Qt::CursorShape shape = Qt::ArrowCursor;
    if (grid_) {
        int r0 = indexAt(true, pos.y(), false), c0 = indexAt(false, pos.x(), false);
        if (r0 >= 0 && r0 < grid_->fixedRows() && edgeAt(false, pos.x()) >= 0)
            shape = Qt::SplitHCursor;
        else if (view_->options.rowSizing && c0 >= 0 && c0 < grid_->fixedCols() &&
                 edgeAt(true, pos.y()) >= 0)
            shape = Qt::SplitVCursor;
    }
    if (shape == cursorShape_) return;
    cursorShape_ = shape;
    if (shape == Qt::ArrowCursor)
        viewport()->unsetCursor();
    else
        viewport()->setCursor(shape);
}

void GridWidget::dragTo(QPoint pos) {
    if (!grid_) return;
    switch (drag_) {
    case Drag::None:
        return;
    case Drag::SizeCol:
    case Drag::SizeRow: {
        const bool vertical = drag_ == Drag::SizeRow;
        int origin = spanPos(vertical, dragIndex_);
        if (origin >= 0) dragOrigin_ = origin;
        int size = std::max(kMinDragSize, (vertical ? pos.y() : pos.x()) - dragOrigin_);
        if (size == sizeOf(vertical, dragIndex_)) return;
        if (vertical)
            grid_->setRowHeight(dragIndex_, size);
        else
            grid_->setColWidth(dragIndex_, size);
        updateVisibleCounts();
        viewport()->update();
        return;
    }
    case Drag::Select: {
        int c = indexAt(false, pos.x(), true), r = indexAt(true, pos.y(), true);
        if (c >= 0 && r >= 0) setSelection(view_->col, view_->row, c, r);
        break;
    }
    case Drag::MoveRow:
    case Drag::MoveCol: {
        int target =
            indexAt(drag_ == Drag::MoveRow, drag_ == Drag::MoveRow ? pos.y() : pos.x(), true);
        if (target >= 0 && target != dragTarget_) {
            dragTarget_ = target;
            viewport()->update();
        }
        break;
    }
    }
    // Past the edge of the scrolling area the view follows the mouse, one cell per tick.
    bool wantsScroll = (drag_ != Drag::MoveCol && scrollDirection(true, pos.y()) != 0) ||
                       (drag_ != Drag::MoveRow && scrollDirection(false, pos.x()) != 0);
    if (!wantsScroll)
        scrollTimer_.stop();
    else if (!scrollTimer_.isActive())
        scrollTimer_.start();
}

int GridWidget::scrollDirection(bool vertical, int pos) const {
    int first = firstScrolling(vertical);
    int wholeEnd = fixedLength(vertical);
    if (pos < wholeEnd) return first > fixedCount(vertical) ? -1 : 0;
    for (int i = first, n = fullyVisible(vertical, first); n > 0; ++i) {
        int e = extent(sizeOf(vertical, i));
        wholeEnd += e;
        if (e > 0) --n;
    }
    if (pos >= std::min(wholeEnd, viewLength(vertical)) && first < maxFirst(vertical)) return 1;
    return 0;
}

void GridWidget::autoScroll() {
    if (!grid_ || drag_ == Drag::None) {
        scrollTimer_.stop();
        return;
    }
    int dy = drag_ != Drag::MoveCol ? scrollDirection(true, mousePos_.y()) : 0;
    int dx = drag_ != Drag::MoveRow ? scrollDirection(false, mousePos_.x()) : 0;
    setTopLeft(view_->topRow + dy, view_->leftCol + dx);
    dragTo(mousePos_);
}

void GridWidget::finishDrag(bool commit) {
    scrollTimer_.stop();
    Drag drag = drag_;
    int index = dragIndex_, target = dragTarget_;
    drag_ = Drag::None;
    dragIndex_ = dragTarget_ = -1;
    if (!grid_ || drag == Drag::None || drag == Drag::Select) return;
    if (drag == Drag::SizeCol || drag == Drag::SizeRow) {
        // The size was applied while dragging, so the owner hears of it even without a release.
        refresh();
        if (drag == Drag::SizeCol)
            emit columnResized(index, grid_->colWidth(index));
        else
            emit rowResized(index, grid_->rowHeight(index));
        return;
    }
    viewport()->update(); // takes the drop indicator away
    const bool rows = drag == Drag::MoveRow;
    if (!commit || target < 0 || target == index || target < fixedCount(rows) ||
        target >= count(rows))
        return;
    // The current cell and the selection stay on the rows (columns) they were on.
    int endCol, endRow;
    selectionEnd(endCol, endRow);
    int c = view_->col, r = view_->row;
    if (rows) {
        grid_->moveRow(index, target);
        r = followMove(r, index, target);
        endRow = followMove(endRow, index, target);
    } else {
        grid_->moveCol(index, target);
        c = followMove(c, index, target);
        endCol = followMove(endCol, index, target);
    }
    view_->col = c;
    view_->row = r;
    view_->selection = {std::min(c, endCol), std::min(r, endRow), std::max(c, endCol),
                        std::max(r, endRow)};
    refresh();
    if (rows)
        emit rowMoved(index, target);
    else
        emit columnMoved(index, target);
}

// ---- painting -------------------------------------------------------------------------------

void GridWidget::paintCell(QPainter& p, const QRect& rc, int col, int row, bool selected,
                           bool fixed) {
    p.fillRect(rc, fixed ? kFixed : selected ? kSelected : kBackground);
    std::string_view text = grid_->cell(col, row);
    if (!text.empty() && rc.width() > kTextInset) {
        // Only what can show is decoded: a cell may hold a whole file's worth of bytes. Each
        // character is at least `narrowest_` wide and at most two bytes long.
        std::size_t limit = 2 * (static_cast<std::size_t>(rc.width() / narrowest_) + 2);
        if (text.size() > limit) text = text.substr(0, limit);
        std::u16string u = cp932::toUtf16(text);
        p.setPen(fixed || selected ? Qt::white : Qt::black);
        p.setClipRect(rc);
        p.drawText(QPoint(rc.left() + kTextInset, rc.top() + kTextInset + ascent_),
                   QString::fromUtf16(u.data(), static_cast<qsizetype>(u.size())));
        p.setClipping(false);
    }
    if (cellPainter_) {
        p.save();
        p.setClipRect(rc);
        cellPainter_(p, rc, col, row, selected, fixed);
        p.restore();
    }
}

void GridWidget::paintEvent(QPaintEvent* event) {
    QPainter p(viewport());
    const QRect dirty = event->rect();
    if (!grid_) {
        p.fillRect(dirty, kBackground);
        return;
    }
    updateVisibleCounts();
    const std::vector<Span> rows = spansOnScreen(true);
    const std::vector<Span> cols = spansOnScreen(false);
    const int vw = viewport()->width(), vh = viewport()->height();
    const int right = cols.empty() ? 0 : std::min(vw, cols.back().pos + cols.back().size + kLine);
    const int bottom = rows.empty() ? 0 : std::min(vh, rows.back().pos + rows.back().size + kLine);
    if (right < vw) p.fillRect(QRect(right, 0, vw - right, vh), kBackground);
    if (bottom < vh) p.fillRect(QRect(0, bottom, right, vh - bottom), kBackground);

    const int fc = grid_->fixedCols(), fr = grid_->fixedRows();
    const int fixedRight = fixedLength(false), fixedBottom = fixedLength(true);
    const GridRect sel = view_->selection;
    p.setFont(font_);
    for (const Span& rs : rows) {
        if (rs.pos > dirty.bottom() || rs.pos + rs.size + kLine <= dirty.top()) continue;
        for (const Span& cs : cols) {
            if (cs.pos > dirty.right() || cs.pos + cs.size + kLine <= dirty.left()) continue;
            const bool fixed = cs.index < fc || rs.index < fr;
            const bool selected = !fixed && ((cs.index == view_->col && rs.index == view_->row) ||
                                             sel.contains(cs.index, rs.index));
            paintCell(p, QRect(cs.pos, rs.pos, cs.size, rs.size), cs.index, rs.index, selected,
                      fixed);
        }
        const int y = rs.pos + rs.size;
        if (rs.index < fr) {
            p.fillRect(QRect(0, y, right, kLine), kFixedLine);
        } else {
            p.fillRect(QRect(0, y, std::min(fixedRight, right), kLine), kFixedLine);
            p.fillRect(QRect(fixedRight, y, right - fixedRight, kLine), kDataLine);
        }
    }
    for (const Span& cs : cols) {
        const int x = cs.pos + cs.size;
        if (cs.index < fc) {
            p.fillRect(QRect(x, 0, kLine, bottom), kFixedLine);
        } else {
            p.fillRect(QRect(x, 0, kLine, std::min(fixedBottom, bottom)), kFixedLine);
            p.fillRect(QRect(x, fixedBottom, kLine, bottom - fixedBottom), kDataLine);
        }
    }

    // Drop indicator of a row or column drag: the border the moved one will sit against.
    if ((drag_ == Drag::MoveRow || drag_ == Drag::MoveCol) && dragTarget_ >= 0 &&
        dragTarget_ != dragIndex_) {
        const bool vertical = drag_ == Drag::MoveRow;
        int pos = spanPos(vertical, dragTarget_);
        if (pos >= 0) {
            int line = dragTarget_ > dragIndex_ ? pos + sizeOf(vertical, dragTarget_) : pos - 1;
            if (vertical)
                p.fillRect(QRect(0, line - 1, right, 3), kDropLine);
            else
                p.fillRect(QRect(line - 1, 0, 3, bottom), kDropLine);
        }
    }
}

} // namespace kol
