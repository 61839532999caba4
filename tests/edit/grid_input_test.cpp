// The input side of the table grid: popups and what they act on, the mouse range, the keys,
// the memo editor and the cursor advance.
#include "edit/grid_input.h"
#include "support/input_fixture.h"

#include <gtest/gtest.h>

namespace kol {
namespace {

using B = GridInput::MouseButton;
using K = GridInput::Key;

// A table of `rows` data rows (grid rows 2 …, labels 1 …) and three data columns (grid
// columns 2 … 4); cell (2, r) reads "r<label>".
struct Input : test::InputFixture {
    explicit Input(int rows = 20) {
        std::string text = "a,b,c\r\n";
        for (int r = 1; r <= rows; ++r)
            text += "r" + std::to_string(r) + ",x" + std::to_string(r) + ",y\r\n";
        loadText(text);
    }
    int lastCol() const { return g.colCount() - 1; }
    std::pair<int, int> at(int c, int r) {
        GridInputView::Rect rc = view.cellRect(c, r);
        return {rc.left + 2, rc.top + 2};
    }
    // As the grid widget does: a left press on a data cell moves the cursor first.
    void press(B button, int c, int r) {
        if (button == B::Left && c >= g.fixedCols() && r >= g.fixedRows()) {
            v.setCurrent(c, r);
            input.GridSelectCell(c, r);
        }
        auto [x, y] = at(c, r);
        input.GridMouseDown(button, x, y);
    }
    void moveTo(int x, int y) { input.GridMouseMove(x, y); }
    std::string column() const {
        std::string out;
        for (int r = g.fixedRows(); r < g.rowCount(); ++r) out += std::string(g.cell(2, r)) + " ";
        return out;
    }
    void typeInMemo(const std::string& text) { view.memo = text; }
};

TEST(GridRange, DragOnRowLabelsThenRightPressCopiesTheRangeBeforeTheTarget) {
    Input f;
    f.press(B::Left, 0, 6); // row label 5
    EXPECT_EQ(f.model.OperationRange, (CellRange{2, 6, f.lastCol(), 6}));
    EXPECT_TRUE(f.input.GridTimerEnabled);
    auto [x, y] = f.at(0, 10);
    f.moveTo(x, y);
    f.input.GridTimerTimer();
    EXPECT_EQ(f.model.OperationRange.rows.end, 10);
    EXPECT_EQ(f.v.selection, (GridRect{2, 6, f.lastCol(), 10}));
    f.input.GridMouseUp();
    EXPECT_FALSE(f.input.GridTimerEnabled);

    f.press(B::Right, 0, 13); // row label 12
    ASSERT_EQ(f.view.popups.size(), 1u);
    EXPECT_EQ(f.view.popups[0].kind, Popup::Row);
    EXPECT_EQ(f.model.PopupRow, 13);
    EXPECT_EQ(f.model.OperationRange.rows.end, 10); // a right press keeps the range
    f.prompts.answers = {Answer::Yes};
    EXPECT_TRUE(f.input.runItem(f.input.Pm_RowCopy));
    EXPECT_EQ(f.column(), "r1 r2 r3 r4 r5 r6 r7 r8 r9 r10 r11 r5 r6 r7 r8 r9 r12 r13 r14 r15 "
                          "r16 r17 r18 r19 r20 ");
}

TEST(GridRange, FollowsTheMouseOnlyPastHalfARowAndScrollsAtTheEdges) {
    Input f(40);
    auto [x, y] = f.at(0, 6);
    f.input.GridMouseDown(B::Left, x, y + 16); // low in row 6
    f.moveTo(x, y + 16 + 8);                   // already in row 7, but less than half a row away
    f.input.GridTimerTimer();
    EXPECT_EQ(f.model.OperationRange.rows.end, 6);
    f.moveTo(x, y + 16 + 12);
    f.input.GridTimerTimer();
    EXPECT_EQ(f.model.OperationRange.rows.end, 7);

    // Below the last whole row: one row per tick, the range ending at the row that was last.
    const int last = f.v.topRow + f.v.visibleRowCount - 1;
    f.moveTo(x, f.view.height - 1);
    f.input.GridTimerTimer();
    EXPECT_EQ(f.v.topRow, 3);
    EXPECT_EQ(f.model.OperationRange.rows.end, last);
    f.input.GridTimerTimer();
    EXPECT_EQ(f.v.topRow, 4);
    EXPECT_EQ(f.model.OperationRange.rows.end, last + 1);
    EXPECT_EQ(f.v.selection, (GridRect{2, 6, f.lastCol(), last + 1}));
    // Over the fixed rows: back up, the range ending at the new top row.
    f.moveTo(x, 5);
    f.input.GridTimerTimer();
    EXPECT_EQ(f.v.topRow, 3);
    EXPECT_EQ(f.model.OperationRange.rows.end, 3);
    EXPECT_EQ(f.v.selection, (GridRect{2, 3, f.lastCol(), 6}));

    // A command that dropped the range leaves nothing to stretch.
    f.model.OperationRange = CellRange();
    f.input.GridTimerTimer();
    EXPECT_FALSE(f.model.OperationRange.set());
}

TEST(GridRange, ColumnNumbersStartAColumnRange) {
    Input f;
    auto [x, y] = f.at(2, 0);
    f.input.GridMouseDown(B::Left, x, y);
    EXPECT_EQ(f.model.PopupKind, Popup::Column);
    EXPECT_EQ(f.v.selection, (GridRect{2, 2, 2, f.g.rowCount() - 1}));
    auto [x4, y4] = f.at(4, 0);
    f.moveTo(x4, y4);
    f.input.GridTimerTimer();
    EXPECT_EQ(f.model.OperationRange, (CellRange{2, 2, 4, f.g.rowCount() - 1}));
}

TEST(GridPopups, EachPressChoosesItsPopup) {
    Input f;
    f.press(B::Right, 0, 0); // corner
    f.press(B::Right, 1, 0);
    EXPECT_TRUE(f.view.popups.empty());
    f.press(B::Right, 3, 5);
    f.press(B::Right, 3, 1); // column name
    ASSERT_EQ(f.view.popups.size(), 2u);
    EXPECT_EQ(f.view.popups[0].kind, Popup::Cell);
    EXPECT_EQ(f.view.popups[1].kind, Popup::Column);

    // Straight from the column popup to a row label: a row range, not the column's.
    f.view.popups.clear();
    f.press(B::Right, 0, 5);
    EXPECT_EQ(f.model.OperationRange, (CellRange{2, 5, f.lastCol(), 5}));
    f.press(B::Right, 3, 8); // a data cell after a row label: the row popup again
    ASSERT_EQ(f.view.popups.size(), 2u);
    EXPECT_EQ(f.view.popups[1].kind, Popup::Row);
    EXPECT_EQ(f.model.OperationRange.rows.start, 5);
    EXPECT_EQ(f.model.PopupRow, 8);
    f.press(B::Left, 3, 8);
    EXPECT_EQ(f.model.PopupKind, Popup::Cell);
    EXPECT_FALSE(f.model.OperationRange.set());

    // While rows may be dragged, row labels open no popup and start no range.
    f.view.popups.clear();
    f.model.Chk_MoveRow.Checked = true;
    f.press(B::Right, 0, 5);
    EXPECT_TRUE(f.view.popups.empty());
    EXPECT_FALSE(f.model.OperationRange.set());
}

TEST(GridPopups, ItemsFollowTheClipAndTheClipboard) {
    Input f;
    GridInput& in = f.input;
    in.updatePopups();
    EXPECT_FALSE(in.Pm_RowInsertBoard.Enabled);
    EXPECT_FALSE(in.Pm_RowClipMove.Enabled);
    EXPECT_TRUE(in.Pm_RowClipGroup.Enabled);
    EXPECT_TRUE(in.Pm_RangeRowDelete2.Enabled);
    EXPECT_TRUE(in.Pm_RangeClip.Enabled);
    EXPECT_FALSE(in.Pm_RangeClipPaste.Enabled); // neither a clip nor clipboard text
    EXPECT_TRUE(in.Pm_RangePrint.Enabled && in.Pm_ColPrint.Enabled && in.Pm_RowMarkPrint.Enabled);
    EXPECT_TRUE(in.Pm_DispVertGrid.Enabled);

    f.clipboard.content = "x";
    f.model.ClipKind = ClipContent::Rows;
    f.model.ClipRange = {2, 3, 4, 4};
    in.updatePopups();
    EXPECT_TRUE(in.Pm_RowInsertBoard.Enabled);
    EXPECT_TRUE(in.Pm_RowClipMove.Enabled && in.Pm_RowClipCopy.Enabled);
    EXPECT_FALSE(in.Pm_ColClipMove.Enabled);

    // The file import and the range start need a selection of one row.
    f.model.View.selection = {2, 3, 4, 6};
    f.press(B::Right, 0, 8);
    EXPECT_FALSE(in.Pm_RowMin.Enabled);
    EXPECT_FALSE(in.Pm_RowInsertFile.Enabled);
    EXPECT_TRUE(in.Pm_RowInsertBoard.Enabled); // decided again by the clipboard
    f.press(B::Left, 0, 8);
    f.press(B::Right, 0, 8);
    EXPECT_TRUE(in.Pm_RowMin.Enabled);
    // The range start from the popup follows the mouse until the next click.
    in.Pm_RowMinClick();
    EXPECT_TRUE(in.GridTimerEnabled);
    EXPECT_EQ(f.model.OperationRange.rows.start, 8);
}

TEST(GridMouse, DoubleClicksMarkAndMovesKeepDraggedWidths) {
    Input f;
    f.press(B::Left, 0, 5);
    f.input.GridDblClick();
    EXPECT_EQ(f.model.RowFlags[5].Mark, 1);
    f.press(B::Left, 0, 5);
    f.input.GridDblClick();
    EXPECT_EQ(f.model.RowFlags[5].Mark, 0);
    f.press(B::Left, 3, 1);
    f.input.GridDblClick();
    EXPECT_EQ(f.model.ColInfo[3].Marked, 1);
    EXPECT_EQ(f.model.MarkedColumnCount, 1);
    EXPECT_EQ(f.view.memoShows, 0);
    f.press(B::Left, 3, 5);
    f.input.GridDblClick();
    EXPECT_EQ(f.view.memoShows, 1);

    f.g.setColWidth(3, 200);
    auto [x, y] = f.at(3, 0);
    f.moveTo(x, y);
    EXPECT_EQ(f.model.ColInfo[3].Width, 200);
    f.g.setColWidth(3, f.model.LetterWidth); // a hidden column keeps its width
    f.moveTo(x, y);
    EXPECT_EQ(f.model.ColInfo[3].Width, 200);

    f.model.UndoHighlight = {2, 2, 3, 3};
    f.press(B::Right, 3, 3);
    EXPECT_FALSE(f.model.UndoHighlight.valid());
    f.model.UndoHighlight = {2, 2, 3, 3};
    f.input.GridKeyDown(K::Other);
    EXPECT_FALSE(f.model.UndoHighlight.valid());
}

TEST(GridKeys, TypingOpensTheMemoOverTheCellWithTheTypedCharacterAdded) {
    Input f;
    f.v.setCurrent(3, 4);
    EXPECT_TRUE(f.input.GridKeyPress('a'));
    ASSERT_EQ(f.view.memoShows, 1);
    EXPECT_EQ(f.view.memo, "x3a");
    const GridInputView::Rect cell = f.view.cellRect(3, 4);
    EXPECT_EQ(f.view.memoPlace.left, cell.left);
    EXPECT_EQ(f.view.memoPlace.top, cell.top);
    EXPECT_EQ(f.view.memoPlace.width, f.g.colWidth(3) + 1);
    EXPECT_EQ(f.view.memoPlace.height, 3 * f.g.rowHeight(0) + 3);
    EXPECT_TRUE(f.input.mmMemoKeyDown(K::Escape));

    // Near the bottom the memo is moved up to end at the grid's edge.
    f.v.setCurrent(3, f.v.topRow + f.v.visibleRowCount - 1);
    EXPECT_TRUE(f.input.GridKeyDown(K::Enter));
    EXPECT_EQ(f.view.memoPlace.bottom(), f.view.height);
    f.input.mmMemoExit();
    EXPECT_FALSE(f.input.GridKeyPress(13));
    EXPECT_FALSE(f.input.GridKeyPress(255));
    EXPECT_EQ(f.view.memoShows, 2);
}

TEST(GridKeys, TheFirstCharacterTypedIsKeptWhateverItsWidth) {
    Input f;
    f.v.setCurrent(3, 4);
    // "XYZ" typed on a cell: the X opens the memo, Y and Z follow in the memo itself.
    EXPECT_TRUE(f.input.GridKeyPress('X'));
    f.view.memo += "YZ";
    EXPECT_TRUE(f.input.mmMemoKeyDown(K::Enter));
    EXPECT_EQ(f.g.cell(3, 4), "x3XYZ");

    // Double-byte and half-width kana characters arrive as CP932 bytes; one CP932 lacks as '?'.
    const struct {
        int code;
        std::string typed;
    } cases[] = {{0x65E5, "\x93\xfa"}, {0xFF71, "\xb1"}, {0x3042, "\x82\xa0"}, {0x1F600, "?"}};
    for (const auto& c : cases) {
        f.view.memo.clear();
        f.g.setCell(2, 2, "");
        f.v.setCurrent(2, 2);
        EXPECT_TRUE(f.input.GridKeyPress(c.code));
        EXPECT_EQ(f.view.memo, c.typed) << c.code;
        f.input.mmMemoExit();
        EXPECT_EQ(f.g.cell(2, 2), c.typed) << c.code;
    }

    // What an input method commits on the grid goes in the same way.
    f.v.setCurrent(2, 3);
    EXPECT_TRUE(f.input.GridTextInput("\x93\xfa\x96\x7b"));
    EXPECT_EQ(f.view.memo, std::string(f.g.cell(2, 3)) + "\x93\xfa\x96\x7b");
    f.input.mmMemoExit();
    EXPECT_FALSE(f.input.GridTextInput(""));

    // Enter, Alt and the IME keys open the memo with the cell's text alone.
    for (K key : {K::Enter, K::Alt, K::Ime}) {
        f.v.setCurrent(3, 4);
        EXPECT_TRUE(f.input.GridKeyDown(key));
        EXPECT_EQ(f.view.memo, "x3XYZ");
        f.input.mmMemoExit();
    }
}

TEST(GridKeys, CtrlVWithNothingToPasteDoesNothing) {
    Input f;
    const std::string before = f.column();
    EXPECT_FALSE(f.input.GridKeyPress(22));
    EXPECT_FALSE(f.input.GridKeyDown(K::Escape)); // no clip to cancel
    EXPECT_EQ(f.column(), before);
    EXPECT_EQ(f.view.memoShows, 0);
    EXPECT_EQ(f.model.historySize(), 0u);
    EXPECT_TRUE(f.prompts.messages.empty());
}

TEST(GridKeys, DeleteAndInsertActOnTheSelectedRowsOrTheRange) {
    Input f(6);
    f.model.Mn_ConfDelete.Checked = true;
    f.v.setCurrent(3, 3);
    f.v.selection = {3, 3, 3, 4};
    f.prompts.answers = {Answer::No};
    EXPECT_TRUE(f.input.GridKeyDown(K::Delete));
    EXPECT_EQ(f.column(), "r1 r2 r3 r4 r5 r6 ");
    f.v.selection = {3, 3, 3, 4};
    f.prompts.answers = {Answer::Yes};
    f.input.GridKeyDown(K::Delete);
    EXPECT_EQ(f.column(), "r1 r4 r5 r6 ");
    EXPECT_EQ(f.prompts.messages.size(), 2u);

    f.press(B::Left, 0, 5); // row label: the row kind
    f.input.GridKeyDown(K::Insert);
    EXPECT_EQ(f.column(), "r1 r4 r5  r6 ");
    f.press(B::Left, 0, 2);
    f.prompts.answers = {Answer::Yes};
    f.input.GridKeyDown(K::Delete);
    EXPECT_EQ(f.column(), "r4 r5  r6 ");
}

TEST(GridMemo, CommitJoinsLinesWidensAndCanBeUndone) {
    Input f;
    f.v.setCurrent(2, 4);
    f.input.OpenMemo();
    const int width = f.g.colWidth(2);
    f.typeInMemo("first line\r\nsecond\n\rthird");
    EXPECT_TRUE(f.input.mmMemoKeyDown(K::Enter));
    EXPECT_EQ(f.g.cell(2, 4), "first linesecondthird");
    EXPECT_EQ(f.model.Modified, 1);
    EXPECT_EQ(f.model.historySize(), 1u);
    EXPECT_EQ(f.g.colWidth(2), f.model.Shown.columnWidthFor(width, 21));
    EXPECT_EQ(f.view.memoHides, 1);
    f.model.Mn_UndoClick();
    EXPECT_EQ(f.g.cell(2, 4), "r3");
    EXPECT_EQ(f.model.Modified, 0);

    // The same text again records nothing and leaves the changed flag alone.
    f.v.setCurrent(2, 4);
    f.input.OpenMemo();
    f.typeInMemo("r\r\n3");
    f.input.mmMemoKeyDown(K::Escape);
    EXPECT_EQ(f.model.historySize(), 0u);
    EXPECT_EQ(f.model.Modified, 0);
}

TEST(GridMemo, ClosingWithoutMovingStoresInTheCellItWasOpenedOn) {
    Input f;
    f.model.Cmb_FixedCol.ItemIndex = 1; // data column 1 shown in column 1
    f.model.Cmb_FixedColClick();
    f.v.setCurrent(2, 4);
    f.input.OpenMemo();
    f.typeInMemo(" new ");
    f.v.setCurrent(3, 9); // the cursor moved before the memo lost the focus
    f.input.mmMemoExit();
    EXPECT_EQ(f.g.cell(2, 4), " new ");
    EXPECT_EQ(f.g.cell(1, 4), " new");
    EXPECT_EQ(f.g.cell(3, 9), "x8");
    f.input.mmMemoExit(); // the second exit of the hide
    EXPECT_EQ(f.view.memoHides, 1);

    // A second press at the same point within 500 ms closes it, the cursor staying.
    f.input.OpenMemo();
    EXPECT_FALSE(f.input.mmMemoMouseDown(5, 5));
    f.clock.now += 600;
    EXPECT_FALSE(f.input.mmMemoMouseDown(5, 5));
    f.clock.now += 300;
    EXPECT_TRUE(f.input.mmMemoMouseDown(5, 5));
    EXPECT_FALSE(f.input.mmMemo.Visible);
    EXPECT_EQ(f.v.col, 3);
    EXPECT_EQ(f.v.row, 9);
}

TEST(GridMemo, EnterAdvancesByTheCursorChoiceWithinTheTable) {
    Input f(5); // rows 2 … 6, columns 2 … 4
    struct Case {
        int choice, col, row, toCol, toRow;
    };
    const Case cases[] = {
        {0, 3, 4, 3, 4}, {1, 3, 4, 3, 3}, {1, 3, 2, 3, 2}, {2, 3, 4, 3, 5},
        {2, 3, 6, 3, 6}, {3, 3, 4, 2, 4}, {3, 2, 4, 4, 3}, {3, 2, 2, 4, 2},
        {4, 3, 4, 4, 4}, {4, 4, 4, 2, 5}, {4, 4, 6, 2, 6},
    };
    for (const Case& c : cases) {
        f.model.Cmb_CrNext.ItemIndex = c.choice;
        f.v.setCurrent(c.col, c.row);
        f.input.OpenMemo();
        f.input.mmMemoKeyDown(K::Enter);
        EXPECT_EQ(f.v.col, c.toCol) << "choice " << c.choice << " from " << c.col << "," << c.row;
        EXPECT_EQ(f.v.row, c.toRow) << "choice " << c.choice << " from " << c.col << "," << c.row;
    }

    // The small scroll bars step the cursor and stop at the edges.
    f.v.setCurrent(4, 6);
    f.input.scbMinVertScroll(GridInput::ScrollCode::LineDown);
    f.input.scbMinHorzScroll(GridInput::ScrollCode::LineDown);
    EXPECT_EQ(f.v.col, 4);
    EXPECT_EQ(f.v.row, 6);
    f.model.PopupRow = 6;
    f.input.scbMinVertScroll(GridInput::ScrollCode::LineUp);
    f.input.scbMinHorzScroll(GridInput::ScrollCode::LineUp);
    EXPECT_EQ(f.v.col, 3);
    EXPECT_EQ(f.v.row, 5);
    EXPECT_EQ(f.model.PopupRow, -1); // a cell change forgets the popup cell
}

} // namespace
} // namespace kol

namespace kol {
namespace {

TEST(GridKeysClip, CtrlCCopiesCtrlVPastesCtrlXClearsAndEscCancels) {
    Input f(4);
    f.model.Mn_ConfPaste.Checked = f.model.Mn_ConfClear.Checked = false;
    f.press(B::Left, 2, 2);
    f.v.selection = {2, 2, 3, 2}; // r1 x1
    EXPECT_TRUE(f.input.GridKeyPress(3));
    EXPECT_EQ(f.clipboard.content, "r1,x1");
    EXPECT_EQ(f.model.ClipKind, ClipContent::Cells);
    f.press(B::Left, 2, 4);
    EXPECT_TRUE(f.input.GridKeyPress(22));
    EXPECT_EQ(f.g.cell(2, 4), "r1");
    EXPECT_EQ(f.g.cell(3, 4), "x1");
    EXPECT_TRUE(f.input.GridKeyDown(K::Escape));
    EXPECT_EQ(f.model.ClipKind, ClipContent::None);
    EXPECT_FALSE(f.model.ClipRange.valid());
    f.press(B::Left, 4, 3);
    EXPECT_TRUE(f.input.GridKeyPress(24));
    EXPECT_EQ(f.g.cell(4, 3), "");
    EXPECT_EQ(f.clipboard.content, "y");
}

} // namespace
} // namespace kol
