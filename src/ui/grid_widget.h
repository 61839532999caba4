// The one Qt view of a StringGrid: frozen fixed rows and columns, scrolling by whole cells,
// range selection, mouse resizing and drag moves, and a per-cell paint hook. The widget keeps
// no copy of the grid's shape; every paint and every event reads the grid afresh, so an owner
// may edit the grid at any time and only needs to call refresh() when counts or sizes changed.
#pragma once

#include <QAbstractScrollArea>
#include <QFont>
#include <QTimer>

#include <functional>
#include <vector>

#include "table/grid_view_state.h"
#include "table/string_grid.h"
#include "view/grid_geometry.h"

class QPainter;

namespace kol {

class GridWidget : public QAbstractScrollArea {
    Q_OBJECT

public:
    // Called for every painted cell after the default drawing; the painter is clipped to
    // cellRect and restored afterwards.
    using CellPainter = std::function<void(QPainter&, const QRect& cellRect, int col, int row,
                                           bool selected, bool fixed)>;

    explicit GridWidget(QWidget* parent = nullptr);

    // Neither is owned; the view state is the cursor, selection and scroll position this widget
    // shows and moves. nullptr shows an empty area.
    void setGrid(StringGrid* grid, GridViewState* view);
    GridViewState* viewState() const { return view_; }
    StringGrid* grid() const { return grid_; }
    // Re-reads counts, sizes and the scroll position after the owner changed the grid; keeps
    // the current cell and the selection out of the fixed area.
    void refresh();

    void setCellPainter(CellPainter painter);
    void setGridFont(const QFont& font);
    const QFont& gridFont() const { return font_; }
    int letterWidth() const { return letterWidth_; }   // width of "A" in the grid font
    int letterHeight() const { return letterHeight_; } // line height of "A" in the grid font

    // Viewport coordinates; an empty rectangle when the cell is not on screen.
    QRect cellRect(int col, int row) const;
    bool cellAt(QPoint pos, int& col, int& row) const;
    // Whether an input method composes on the grid (off by default: a grid that takes no text
    // leaves the keys to the shortcuts); its events then go out through inputMethodReceived.
    void setInputMethodAccepted(bool on);
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

    // Scrolls the least needed to show the cell whole (fixed cells need no scrolling).
    void scrollToCell(int col, int row);
    // First scrolling row and column, clamped to what can be scrolled to.
    void setTopLeft(int topRow, int leftCol);

signals:
    void cellSelected(int col, int row); // the current cell changed
    void topLeftChanged();
    void columnResized(int col, int width); // at the end of a mouse resize
    void rowResized(int row, int height);
    // Any press on a cell (fixed or not), after the widget's own handling of it.
    void cellPressed(int col, int row, Qt::MouseButton button, Qt::KeyboardModifiers mods);
    // A press on a fixed cell; it never moves the current cell.
    void fixedCellPressed(int col, int row, Qt::MouseButton button);
    void cellDoubleClicked(int col, int row);
    void rowMoved(int from, int to); // after the grid moved the row
    void columnMoved(int from, int to);
    // Sent before the widget handles a key, with the event ignored; a receiver that takes the
    // key over calls event->accept() and the widget then leaves it alone.
    void keyPressed(QKeyEvent* event);
    // With input methods accepted: every input method event, handed over whole; the widget
    // itself edits nothing.
    void inputMethodReceived(QInputMethodEvent* event);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    using Span = GridGeometry::Span;
    GridGeometry geometry() const;
    enum class Drag { None, Select, SizeCol, SizeRow, MoveRow, MoveCol };

    // Axis helpers; vertical = rows. Everything is derived from the grid on every call.
    int count(bool vertical) const;
    int fixedCount(bool vertical) const;
    int sizeOf(bool vertical, int index) const;
    int firstScrolling(bool vertical) const; // topRow / leftCol, clamped
    int viewLength(bool vertical) const;
    int fixedLength(bool vertical) const; // pixels taken by the fixed rows or columns
    std::vector<Span> spansOnScreen(bool vertical) const;
    int fullyVisible(bool vertical, int first) const;
    int maxFirst(bool vertical) const; // last topRow / leftCol that still fills the view
    int firstToShow(bool vertical, int index) const;
    int indexAt(bool vertical, int pos, bool clampToScrolling) const;
    int edgeAt(bool vertical, int pos) const;    // index whose far edge is under pos, or -1
    int spanPos(bool vertical, int index) const; // first pixel of a shown index, or -1

    void updateScrollBars();
    void updateVisibleCounts();
    void moveCurrent(int col, int row, bool extend);
    void selectionEnd(int& col, int& row) const; // the corner of the selection that moves
    void setSelection(int anchorCol, int anchorRow, int endCol, int endRow);
    void dragTo(QPoint pos);
    int scrollDirection(bool vertical, int pos) const; // -1, 0 or 1 while dragging
    void autoScroll();
    void finishDrag(bool commit);
    void updateHoverCursor(QPoint pos);
    void paintCell(QPainter& p, const QRect& rc, int col, int row, bool selected, bool fixed);

    StringGrid* grid_ = nullptr;
    GridViewState* view_ = nullptr;
    CellPainter cellPainter_;
    QFont font_;
    int letterWidth_ = 1, letterHeight_ = 1, ascent_ = 0;
    int narrowest_ = 1; // narrowest common glyph: bounds how many bytes a cell can show

    Drag drag_ = Drag::None;
    int dragIndex_ = -1;  // column or row being resized or moved
    int dragTarget_ = -1; // where a moved row or column would land
    int dragOrigin_ = 0;  // first pixel of the resized row or column
    QPoint mousePos_;
    QTimer scrollTimer_;
    int wheelRest_ = 0, hwheelRest_ = 0; // partial wheel notches
    bool settingBars_ = false;
    Qt::CursorShape cursorShape_ = Qt::ArrowCursor;
};

} // namespace kol
