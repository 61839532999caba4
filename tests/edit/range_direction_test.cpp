// Row and column ranges dragged upward or leftward: the range keeps following the mouse, and
// every command that takes a range takes all of it, as it would the same range dragged down.
#include "edit/grid_input.h"
#include "support/input_fixture.h"

#include <gtest/gtest.h>

namespace kol {
namespace {

using B = GridInput::MouseButton;

// `rows` data rows (grid rows 2 …, cell (2, r) reads "r<label>") and `cols` data columns
// (header "h1" …).
struct Drag : test::InputFixture {
    explicit Drag(int rows = 20, int cols = 6) {
        std::string text;
        for (int c = 1; c <= cols; ++c) text += (c > 1 ? ",h" : "h") + std::to_string(c);
        text += "\r\n";
        for (int r = 1; r <= rows; ++r) {
            text += "r" + std::to_string(r);
            for (int c = 2; c <= cols; ++c) text += ",c" + std::to_string(c);
            text += "\r\n";
        }
        loadText(text);
        model.Mn_ConfDelete.Checked = false;
    }
    void press(B button, int c, int r) {
        GridInputView::Rect rc = view.cellRect(c, r);
        input.GridMouseDown(button, rc.left + 2, rc.top + 2);
    }
    // Presses a row label (or column number) and drags to another one tick by tick.
    void dragRows(int from, int to) {
        press(B::Left, 0, from);
        for (int r = from; r != to;) {
            r += to > from ? 1 : -1;
            GridInputView::Rect rc = view.cellRect(0, r);
            input.GridMouseMove(rc.left + 2, rc.top + rc.height / 2);
            input.GridTimerTimer();
        }
        input.GridMouseUp();
    }
    void dragCols(int from, int to) {
        press(B::Left, from, 0);
        for (int c = from; c != to;) {
            c += to > from ? 1 : -1;
            GridInputView::Rect rc = view.cellRect(c, 0);
            input.GridMouseMove(rc.left + rc.width / 2, rc.top + 2);
            input.GridTimerTimer();
        }
        input.GridMouseUp();
    }
    std::string column() const {
        std::string out;
        for (int r = g.fixedRows(); r < g.rowCount(); ++r) out += std::string(g.cell(2, r)) + " ";
        return out;
    }
    std::string header() const {
        std::string out;
        for (int c = g.fixedCols(); c < g.colCount(); ++c) out += std::string(g.cell(c, 1)) + " ";
        return out;
    }
};

const char* kRows = "r1 r2 r3 r4 r5 r6 r7 r8 r9 r10 r11 r12 r13 r14 r15 r16 r17 r18 r19 r20 ";

TEST(RangeDirection, AnUpwardRowDragFollowsTheMouseAllTheWay) {
    Drag f;
    f.dragRows(10, 6);
    EXPECT_EQ(f.model.OperationRange.rows, (IndexRange{10, 6}));
    EXPECT_EQ(f.v.selection, (GridRect{2, 6, f.g.colCount() - 1, 10}));
    f.dragRows(10, 4); // past the start and beyond, then back down over it
    EXPECT_EQ(f.model.OperationRange.rows, (IndexRange{10, 4}));
    f.press(B::Left, 0, 10);
    for (int r : {8, 12}) {
        GridInputView::Rect rc = f.view.cellRect(0, r);
        f.input.GridMouseMove(rc.left + 2, rc.top + rc.height / 2);
        f.input.GridTimerTimer();
    }
    EXPECT_EQ(f.model.OperationRange.rows, (IndexRange{10, 12}));
    EXPECT_EQ(f.v.selection, (GridRect{2, 10, f.g.colCount() - 1, 12}));
}

TEST(RangeDirection, UpwardRowRangesDeleteCopyAndInsertEveryRow) {
    {
        Drag f;
        f.dragRows(10, 6); // labels 5 … 9
        f.press(B::Right, 0, 8);
        EXPECT_TRUE(f.input.runItem(f.input.Pm_RowDelete));
        EXPECT_EQ(f.column(), "r1 r2 r3 r4 r10 r11 r12 r13 r14 r15 r16 r17 r18 r19 r20 ");
        f.model.Mn_UndoClick();
        EXPECT_EQ(f.column(), kRows);
        EXPECT_EQ(f.v.selection, (GridRect{2, 6, f.g.colCount() - 1, 10}));
    }
    {
        Drag f;
        f.dragRows(10, 6);
        f.press(B::Right, 0, 13); // before label 12
        f.prompts.answers = {Answer::Yes};
        EXPECT_TRUE(f.input.runItem(f.input.Pm_RowCopy));
        EXPECT_EQ(f.column(), "r1 r2 r3 r4 r5 r6 r7 r8 r9 r10 r11 r5 r6 r7 r8 r9 r12 r13 r14 r15 "
                              "r16 r17 r18 r19 r20 ");
        f.model.Mn_UndoClick();
        EXPECT_EQ(f.column(), kRows);
    }
    {
        Drag f;
        f.dragRows(10, 6);
        f.press(B::Right, 0, 7);
        f.prompts.answers = {Answer::Yes};
        EXPECT_TRUE(f.input.runItem(f.input.Pm_RowInsert));
        EXPECT_EQ(f.column(), "r1 r2 r3 r4      r5 r6 r7 r8 r9 r10 r11 r12 r13 r14 r15 r16 r17 r18 "
                              "r19 r20 ");
    }
}

TEST(RangeDirection, UpwardRowRangesClipMoveAndMark) {
    Drag f;
    f.dragRows(10, 6);
    f.press(B::Right, 0, 8);
    EXPECT_TRUE(f.input.runItem(f.input.Pm_RowClip));
    f.input.GridMouseUp();
    f.press(B::Left, 0, 16); // a fresh press on label 15 ends the old range
    f.input.GridMouseUp();
    f.press(B::Right, 0, 16);
    f.prompts.answers = {Answer::Yes};
    f.model.OperationRange = CellRange();
    EXPECT_TRUE(f.input.runItem(f.input.Pm_RowClipMove));
    EXPECT_EQ(f.column(), "r1 r2 r3 r4 r10 r11 r12 r13 r14 r5 r6 r7 r8 r9 r15 r16 r17 r18 r19 "
                          "r20 ");
    f.model.Mn_UndoClick();
    EXPECT_EQ(f.column(), kRows);

    f.view.setTopLeft(f.g.fixedRows(), f.g.fixedCols()); // the undo showed the copies' place
    f.dragRows(12, 9);
    f.press(B::Right, 0, 10);
    EXPECT_TRUE(f.input.runItem(f.input.Pm_RowMarkSet));
    for (int r = 2; r < f.g.rowCount(); ++r)
        EXPECT_EQ(f.model.RowFlags[r].Mark, r >= 9 && r <= 12 ? 1 : 0) << r;
}

TEST(RangeDirection, LeftwardColumnRangesTakeEveryColumn) {
    {
        Drag f;
        f.dragCols(6, 3); // data columns 2 … 5
        EXPECT_EQ(f.model.OperationRange.cols, (IndexRange{6, 3}));
        f.press(B::Right, 4, 0);
        EXPECT_TRUE(f.input.runItem(f.input.Pm_ColDelete));
        EXPECT_EQ(f.header(), "h1 h6 ");
        f.model.Mn_UndoClick();
        EXPECT_EQ(f.header(), "h1 h2 h3 h4 h5 h6 ");
    }
    {
        Drag f;
        f.dragCols(5, 3);
        f.press(B::Right, 7, 0); // before h6
        f.prompts.answers = {Answer::Yes};
        EXPECT_TRUE(f.input.runItem(f.input.Pm_ColCopy));
        EXPECT_EQ(f.header(), "h1 h2 h3 h4 h5 h2 h3 h4 h6 ");
        f.model.Mn_UndoClick();
        f.view.setTopLeft(f.g.fixedRows(), f.g.fixedCols());
        f.dragCols(5, 3);
        f.press(B::Right, 4, 0);
        f.prompts.answers = {Answer::Yes};
        EXPECT_TRUE(f.input.runItem(f.input.Pm_ColInsert));
        EXPECT_EQ(f.header(), "h1    h2 h3 h4 h5 h6 ");
    }
    {
        Drag f;
        f.dragCols(5, 3);
        f.press(B::Right, 4, 0);
        EXPECT_TRUE(f.input.runItem(f.input.Pm_ColClip));
        f.input.GridMouseUp();
        f.press(B::Left, 7, 0);
        f.input.GridMouseUp();
        f.press(B::Right, 7, 0);
        f.model.OperationRange = CellRange();
        f.prompts.answers = {Answer::Yes};
        EXPECT_TRUE(f.input.runItem(f.input.Pm_ColClipMove));
        EXPECT_EQ(f.header(), "h1 h5 h2 h3 h4 h6 ");
        f.dragCols(7, 5);
        f.press(B::Right, 6, 0);
        EXPECT_TRUE(f.input.runItem(f.input.Pm_ColMarkSet));
        for (int c = 2; c < f.g.colCount(); ++c)
            EXPECT_EQ(f.model.ColInfo[c].Marked, c >= 5 && c <= 7 ? 1 : 0) << c;
    }
}

} // namespace
} // namespace kol
