// The in-cell memo editor: a multi-line text box shown over one cell of a grid, through which
// every cell text is edited. It commits its text, line breaks taken out, to the cell it was
// opened on when it closes. The table grid's input side has one; the record editor has one over
// its own grid.
#pragma once

#include "table/string_grid.h"

#include <string>
#include <string_view>

namespace kol {

// What the memo needs from the widget that shows the grid: the cells' places and the text box.
// Points and rectangles are in the grid's drawing area (viewport) pixels.
class MemoView {
public:
    struct Rect {
        int left = 0, top = 0, width = 0, height = 0;
        bool empty() const { return width <= 0 || height <= 0; }
        int right() const { return left + width; }
        int bottom() const { return top + height; }
    };
    virtual ~MemoView() = default;
    virtual Rect cellRect(int col, int row) = 0; // empty when the cell is not on screen
    virtual int gridHeight() = 0;
    virtual void scrollToCell(int col, int row) = 0;
    virtual void showMemo(const std::string& text, const Rect& where) = 0; // in front, focused
    // Puts text (CP932) in at the memo's cursor, as if the user had typed it there.
    virtual void typeInMemo(const std::string& text) = 0;
    virtual void hideMemo() = 0;
    virtual std::string memoText() = 0; // what the memo holds now (CP932)
};

// What the memo needs from the window whose grid it edits.
class MemoHost {
public:
    virtual ~MemoHost() = default;
    virtual StringGrid& memoGrid() = 0;
    // A text that differs from the cell's: recorded, written and shown with its consequences.
    virtual void commitMemo(int col, int row, const std::string& text) = 0;
    // Whether a press in the memo is the second at that point within the double-click time.
    virtual bool isDoubleClick(int x, int y) = 0;
    virtual void focusGrid() = 0;
};

class MemoEditor {
public:
    MemoEditor(MemoHost& host, MemoView& view) : host_(host), view_(view) {}
    MemoEditor(const MemoEditor&) = delete;
    MemoEditor& operator=(const MemoEditor&) = delete;

    // Shows the memo over a data cell, scrolled into view, with the cell's text, then types in
    // what the keystroke that opened it typed (if anything); nothing when it is open already or
    // the cell is fixed or outside the grid.
    void open(int col, int row, std::string_view typed = {});
    // Hides the memo, focuses the grid and commits; Esc closes this way too, so nothing is
    // cancelled. Nothing when the memo is hidden.
    void close();
    // A press in the memo: a double click closes it (true).
    bool mouseDown(int x, int y);

    bool Visible = false;
    std::string Text;       // the cell's text when opened
    int Col = -1, Row = -1; // the cell being edited
    MemoView::Rect Place;

private:
    void commit(const std::string& memoText);

    MemoHost& host_;
    MemoView& view_;
};

// The memo's text as one line: every line break taken out, the lines joined directly.
std::string withoutLineBreaks(std::string_view text);

} // namespace kol
