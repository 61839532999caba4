// The edits and their undo entries on a bare document, with no window: groups taken back in
// one step, the history's bound, attributes and bytes restored, the record editor's entries.
#include "edit/table_edits.h"
#include "edit/undo_entries.h"
#include "table/source_text.h"
#include "table/table_load.h"

#include <gtest/gtest.h>

#include <string>

namespace kol {
namespace {

using Change = UndoOutcome::Change;

// A document as a load leaves it: column numbers in row 0, two fixed columns, the lines of
// `csv` from row 1 and column 2.
struct Bare {
    TableDocument doc;
    StringGrid& g = doc.Grid;

    explicit Bare(const std::string& csv) {
        SourceText source(csv);
        const std::size_t lines = countLines(source.text());
        resetTableShape(g, 0, static_cast<int>(lines), {});
        fillTable(doc, source, lines, ',', {});
    }
    // The data cells, rows joined by '/'.
    std::string text() const {
        std::string out;
        for (int r = 1; r < g.rowCount(); ++r) {
            if (r > 1) out += '/';
            for (int c = 2; c < g.colCount(); ++c) {
                if (c > 2) out += ',';
                out += g.cell(c, r);
            }
        }
        return out;
    }
    UndoOutcome undo(bool& more) { return edits::undoNewest(doc, more); }
    UndoOutcome undo() {
        bool more = false;
        return edits::undoNewest(doc, more);
    }
};

TEST(EditGroups, AClippedRowMoveIsTakenBackAsOneGroup) {
    Bare t("r1\r\nr2\r\nr3\r\nr4\r\nr5\r\n");
    t.doc.RowFlags[1].Mark = 1;
    // Rows r1 r2 clipped and moved before r5: the copy first, then the originals removed.
    edits::insertCopies(t.doc, Axis::Rows, 1, 2, 5);
    edits::removeLines(t.doc, Axis::Rows, 1, 2, HistoryKind::RowClipMove);
    ASSERT_EQ(t.text(), "r3/r4/r1/r2/r5");
    EXPECT_EQ(t.doc.RowFlags[3].Mark, 1); // the mark went with the copy
    EXPECT_EQ(t.doc.History.size(), 2u);
    EXPECT_EQ(t.doc.History.newest().name(), "\x8d\x73\x88\xda\x93\xae"); // 行移動

    bool more = false;
    UndoOutcome first = t.undo(more);
    EXPECT_TRUE(more);
    EXPECT_EQ(first.change, Change::LinesAdded);
    EXPECT_TRUE(first.clipTakenBack);
    EXPECT_FALSE(first.select.valid()); // the copy's removal shows the result
    EXPECT_EQ(t.text(), "r1/r2/r3/r4/r1/r2/r5");

    UndoOutcome second = t.undo(more);
    EXPECT_FALSE(more);
    EXPECT_EQ(second.change, Change::LinesRemoved);
    EXPECT_FALSE(second.clipTakenBack);
    EXPECT_EQ(second.first, 5);
    EXPECT_EQ(second.count, 2);
    EXPECT_EQ(second.select, (GridRect{2, 5, 2, 6}));
    EXPECT_EQ(t.text(), "r1/r2/r3/r4/r5");
    EXPECT_EQ(t.doc.RowFlags[1].Mark, 1);
    EXPECT_EQ(t.doc.RowFlags[3].Mark, 0);
    EXPECT_EQ(t.doc.Modified, 0);
    EXPECT_TRUE(t.doc.History.empty());

    // A plain delete stands alone and selects what it put back.
    edits::removeLines(t.doc, Axis::Rows, 2, 1, HistoryKind::RowDelete);
    UndoOutcome plain = t.undo(more);
    EXPECT_FALSE(more);
    EXPECT_FALSE(plain.clipTakenBack);
    EXPECT_EQ(plain.select, (GridRect{2, 2, 2, 2}));
}

TEST(EditGroups, ColumnsAppendedByAnImportJoinIt) {
    Bare t("a,b\r\nc,d\r\n");
    edits::insertBlank(t.doc, Axis::Rows, 3, 2); // the import's lines at the end
    edits::appendColumns(t.doc, 1);              // one of them is wider
    ASSERT_EQ(t.g.colCount(), 5);
    t.g.setCell(4, 4, "wide");
    EXPECT_EQ(t.text(), "a,b,/c,d,/,,/,,wide");

    bool more = false;
    UndoOutcome columns = t.undo(more);
    EXPECT_TRUE(more);
    EXPECT_EQ(columns.change, Change::LinesRemoved);
    EXPECT_EQ(columns.axis, Axis::Columns);
    EXPECT_EQ(columns.first, 4);
    UndoOutcome rows = t.undo(more);
    EXPECT_FALSE(more);
    EXPECT_EQ(rows.axis, Axis::Rows);
    EXPECT_EQ(t.text(), "a,b/c,d");
    EXPECT_EQ(t.doc.ColInfo.size(), 4u);
    EXPECT_EQ(t.doc.RowFlags.size(), 3u);

    // When the import has fallen out of the history, its columns go back on their own.
    edits::insertBlank(t.doc, Axis::Rows, 3, 1);
    edits::appendColumns(t.doc, 1);
    for (int i = 0; i < 63; ++i) edits::editCell(t.doc, HistoryKind::CellEdit, 2, 1, "x");
    for (int i = 0; i < 63; ++i) (void)t.undo();
    EXPECT_FALSE(t.doc.History.newest().joinsPrevious());
    (void)t.undo(more);
    EXPECT_FALSE(more);
    EXPECT_TRUE(t.doc.History.empty());
    EXPECT_EQ(t.text(), "a,b/c,d/,");
}

TEST(EditHistory, KeepsTheNewest64EntriesOldestDroppedFirst) {
    Bare t("x\r\n");
    for (int k = 0; k <= 64; ++k)
        edits::editCell(t.doc, HistoryKind::CellEdit, 2, 1, std::to_string(k));
    EXPECT_EQ(t.doc.History.size(), 64u);
    EXPECT_EQ(t.doc.History.menuNumber(), 64u);
    EXPECT_EQ(t.doc.History.newest().name(), "63"); // a cell edit is named by its old text
    for (int k = 0; k < 64; ++k) (void)t.undo();
    // The first edit can no longer be taken back, and the table still differs from the file.
    EXPECT_TRUE(t.doc.History.empty());
    EXPECT_EQ(t.text(), "0");
    EXPECT_EQ(t.doc.Modified, 1);
    bool more = true;
    EXPECT_EQ(t.undo(more).change, Change::None);
    EXPECT_FALSE(more);
}

TEST(EditAttributes, DeletedRowsComeBackWithFlagsAndHeights) {
    Bare t("a,1\r\nb,2\r\nc,3\r\nd,4\r\n");
    RowFlag& flags = t.doc.RowFlags[2];
    flags.Mark = 1;
    flags.Bits[0] = 0x05;
    flags.Bits[16] = 0x01;
    flags.Spare = 9;
    t.g.setRowHeight(3, 40);
    t.doc.RowFlags[4].Mark = 1;
    edits::removeLines(t.doc, Axis::Rows, 2, 2, HistoryKind::RowDelete);
    ASSERT_EQ(t.text(), "a,1/d,4");
    EXPECT_EQ(t.doc.RowFlags[2].Mark, 1); // row d's own
    EXPECT_EQ(t.doc.Modified, 1);

    const UndoOutcome out = t.undo();
    EXPECT_EQ(out.change, Change::LinesAdded);
    EXPECT_EQ(out.first, 2);
    EXPECT_EQ(out.count, 2);
    EXPECT_EQ(out.select, (GridRect{2, 2, 3, 3}));
    EXPECT_EQ(t.text(), "a,1/b,2/c,3/d,4");
    EXPECT_EQ(t.doc.RowFlags[2].Mark, 1);
    EXPECT_EQ(t.doc.RowFlags[2].Bits[0], 0x05);
    EXPECT_EQ(t.doc.RowFlags[2].Bits[16], 0x01);
    EXPECT_EQ(t.doc.RowFlags[2].Spare, 9);
    EXPECT_EQ(t.doc.RowFlags[3].Mark, 0);
    EXPECT_EQ(t.g.rowHeight(3), 40);
    EXPECT_EQ(t.g.rowHeight(2), t.g.rowHeight(1));
    EXPECT_EQ(t.doc.RowFlags[4].Mark, 1);
    EXPECT_EQ(t.doc.Modified, 0);
}

TEST(EditAttributes, DeletedAndMovedColumnsComeBackShownOrHiddenWithTheirWidths) {
    Bare t("a,b,c,d\r\n");
    ColInfoRec& hidden = t.doc.ColInfo[3];
    hidden.Shown = 0;
    hidden.Marked = 1;
    hidden.Width = 120;
    hidden.PrintWidth = 7;
    t.g.setColWidth(3, 8); // a hidden column is drawn narrow and remembers its width
    t.g.setColWidth(4, 90);
    edits::removeLines(t.doc, Axis::Columns, 3, 2, HistoryKind::ColDelete);
    ASSERT_EQ(t.text(), "a,d");

    const UndoOutcome out = t.undo();
    EXPECT_EQ(out.axis, Axis::Columns);
    EXPECT_EQ(out.select, (GridRect{3, 1, 4, 1}));
    EXPECT_EQ(t.text(), "a,b,c,d");
    EXPECT_EQ(t.g.cell(3, 0), "2"); // the whole column, its number included
    EXPECT_EQ(t.doc.ColInfo[3].Shown, 0);
    EXPECT_EQ(t.doc.ColInfo[3].Marked, 1);
    EXPECT_EQ(t.doc.ColInfo[3].Width, 120);
    EXPECT_EQ(t.doc.ColInfo[3].PrintWidth, 7);
    EXPECT_EQ(t.g.colWidth(3), 8);
    EXPECT_EQ(t.g.colWidth(4), 90);
    EXPECT_EQ(t.doc.ColInfo[4].Shown, 1);

    // Clipped and moved to the end, then taken back: the attributes return with the column.
    edits::insertCopies(t.doc, Axis::Columns, 3, 1, 6);
    EXPECT_EQ(t.doc.ColInfo[6].Shown, 0);
    EXPECT_EQ(t.g.colWidth(6), 120); // a copy takes the remembered width
    edits::removeLines(t.doc, Axis::Columns, 3, 1, HistoryKind::ColClipMove);
    ASSERT_EQ(t.text(), "a,c,d,b");
    bool more = false;
    (void)t.undo(more);
    ASSERT_TRUE(more);
    (void)t.undo(more);
    EXPECT_EQ(t.text(), "a,b,c,d");
    EXPECT_EQ(t.doc.ColInfo[3].Shown, 0);
    EXPECT_EQ(t.doc.ColInfo[3].Width, 120);
    EXPECT_EQ(t.g.colWidth(3), 8);
    EXPECT_EQ(t.g.colCount(), 6);
    EXPECT_EQ(t.doc.ColInfo.size(), 6u);
}

TEST(EditAttributes, InsertsAndDragsTakenBackLeaveEveryLineItsOwn) {
    Bare t("a,1\r\nb,2\r\nc,3\r\n");
    t.doc.RowFlags[2].Mark = 1;
    t.doc.ColInfo[3].Shown = 0;
    edits::insertBlank(t.doc, Axis::Rows, 2, 2);
    EXPECT_EQ(t.doc.RowFlags[4].Mark, 1);
    edits::insertBlank(t.doc, Axis::Columns, 3, 1);
    EXPECT_EQ(t.doc.ColInfo[3].Shown, 1); // a blank column is shown
    EXPECT_EQ(t.text(), "a,,1/,,/,,/b,,2/c,,3");
    UndoOutcome cols = t.undo();
    EXPECT_EQ(cols.change, Change::LinesRemoved);
    EXPECT_EQ(cols.select, (GridRect{3, 1, 3, 5}));
    (void)t.undo();
    EXPECT_EQ(t.text(), "a,1/b,2/c,3");
    EXPECT_EQ(t.doc.RowFlags[2].Mark, 1);
    EXPECT_EQ(t.doc.ColInfo[3].Shown, 0);

    // A row dragged from 1 to 3 by the grid, recorded after: its mark follows, and back.
    t.doc.RowFlags[1].Mark = 1;
    t.doc.RowFlags[2].Mark = 0;
    t.g.moveRow(1, 3);
    edits::recordDrag(t.doc, Axis::Rows, 1, 3);
    EXPECT_EQ(t.text(), "b,2/c,3/a,1");
    EXPECT_EQ(t.doc.RowFlags[3].Mark, 1);
    const UndoOutcome moved = t.undo();
    EXPECT_EQ(moved.change, Change::LineMoved);
    EXPECT_EQ(moved.first, 1);
    EXPECT_EQ(moved.movedFrom, 3);
    EXPECT_EQ(t.text(), "a,1/b,2/c,3");
    EXPECT_EQ(t.doc.RowFlags[1].Mark, 1);
    EXPECT_EQ(t.doc.RowFlags[3].Mark, 0);

    // The same for a column and its hidden state and width.
    t.g.setColWidth(3, 8);
    t.g.moveCol(3, 2);
    edits::recordDrag(t.doc, Axis::Columns, 3, 2);
    EXPECT_EQ(t.doc.ColInfo[2].Shown, 0);
    (void)t.undo();
    EXPECT_EQ(t.text(), "a,1/b,2/c,3");
    EXPECT_EQ(t.doc.ColInfo[3].Shown, 0);
    EXPECT_EQ(t.doc.ColInfo[2].Shown, 1);
    EXPECT_EQ(t.g.colWidth(3), 8);
}

TEST(EditCells, RectanglesAndCellsComeBackByteForByte) {
    Bare t("a,b,c\r\nd,e,f\r\n");
    // A lone lead byte, a lead byte before an invalid trail, bytes no character starts with.
    const std::string odd1 = "x\x81", odd2 = "\x82\x20y", odd3 = "\xff\xa0\x80";
    t.g.setCell(2, 1, odd1);
    t.g.setCell(3, 1, odd2);
    t.g.setCell(4, 2, odd3);
    // Past the last column too: what is outside the table stays outside.
    edits::rewriteCells(t.doc, HistoryKind::RangeConvert, GridRect{3, 1, 5, 2},
                        [](int, int, std::string_view old) { return "<" + std::string(old); });
    EXPECT_EQ(t.g.cell(3, 1), "<" + odd2);
    EXPECT_EQ(t.doc.Modified, 1);
    const UndoOutcome out = t.undo();
    EXPECT_EQ(out.change, Change::Cells);
    EXPECT_EQ(out.cells, (GridRect{3, 1, 5, 2}));
    EXPECT_EQ(t.text(), odd1 + "," + odd2 + ",c/d,e," + odd3);
    EXPECT_EQ(t.g.colCount(), 5);
    EXPECT_EQ(t.doc.Modified, 0);

    edits::editCell(t.doc, HistoryKind::CellEdit, 2, 1, "plain");
    EXPECT_EQ(t.doc.History.newest().name(), odd1);
    const UndoOutcome cell = t.undo();
    EXPECT_EQ(cell.select, (GridRect{2, 1, 2, 1}));
    EXPECT_EQ(t.g.cell(2, 1), odd1);

    // The menu names a cell edit by the first 20 bytes of what it replaced.
    t.g.setCell(2, 2, "0123456789abcdefghijKLM");
    edits::editCell(t.doc, HistoryKind::CellEdit, 2, 2, "");
    EXPECT_EQ(t.doc.History.newest().name(), "0123456789abcdefghij");
}

// The record editor's grid as it lays out one record: a heading row, the number and name
// columns fixed, the values in column 2, one line per table column.
struct RecordGrid {
    StringGrid g;
    RecordGrid() {
        g.setRowCount(4);
        g.setColCount(3);
        g.setFixedRows(1);
        g.setFixedCols(2);
        for (int r = 1; r < 4; ++r) g.setCell(2, r, "v" + std::to_string(r));
    }
};

TEST(RecordEditorEntries, TakeBackIntoTheEditorGridAndAreDroppedFromTheNewestEnd) {
    Bare t("a,b,c\r\n");
    RecordGrid vert;
    edits::editCell(t.doc, HistoryKind::CellEdit, 2, 1, "table");
    t.doc.Modified = 0; // as after a save
    edits::editEditorCell(t.doc, vert.g, 2, 1, "one");
    edits::editEditorCell(t.doc, vert.g, 2, 3, "\x82\xa0"); // あ
    EXPECT_EQ(vert.g.cell(2, 3), "\x82\xa0");
    EXPECT_EQ(t.text(), "table,b,c"); // the table gets the record only when the editor leaves
    EXPECT_EQ(t.doc.Modified, 1);
    EXPECT_EQ(t.doc.History.newest().scope(), UndoScope::RecordEditor);
    EXPECT_EQ(t.doc.History.newest().name(), "v3");
    EXPECT_EQ(t.doc.History.menuNumber(), 2u); // the editor's own entries only

    bool more = true;
    const UndoOutcome out = t.undo(more);
    EXPECT_FALSE(more);
    EXPECT_EQ(out.scope, UndoScope::RecordEditor);
    EXPECT_EQ(out.change, Change::Cells);
    EXPECT_EQ(out.select, (GridRect{2, 3, 2, 3}));
    EXPECT_EQ(vert.g.cell(2, 3), "v3");
    EXPECT_EQ(vert.g.cell(2, 1), "one");
    EXPECT_EQ(t.text(), "table,b,c");
    EXPECT_EQ(t.doc.Modified, 1); // as it was before that edit

    // Leaving the record drops what is left of the editor's, and nothing of the table's.
    edits::recordEditorCell(t.doc, vert.g, 2, 2); // a conversion records first
    edits::dropEditorEntries(t.doc);
    ASSERT_EQ(t.doc.History.size(), 1u);
    EXPECT_EQ(t.doc.History.newest().scope(), UndoScope::Table);
    EXPECT_EQ(t.doc.History.menuNumber(), 1u);
    edits::dropEditorEntries(t.doc);
    EXPECT_EQ(t.doc.History.size(), 1u);
    EXPECT_EQ(vert.g.cell(2, 1), "one"); // dropping takes nothing back

    // Only from the newest end: a table entry above them keeps the editor's below.
    edits::editEditorCell(t.doc, vert.g, 2, 2, "two");
    edits::editCell(t.doc, HistoryKind::CellEdit, 3, 1, "top");
    edits::dropEditorEntries(t.doc);
    EXPECT_EQ(t.doc.History.size(), 3u);
    EXPECT_EQ(t.doc.History.menuNumber(), 3u);

    // A cell the grid no longer has is left alone.
    edits::dropEditorEntries(t.doc);
    (void)t.undo();
    vert.g.setRowCount(2);
    const UndoOutcome gone = t.undo();
    EXPECT_EQ(gone.scope, UndoScope::RecordEditor);
    EXPECT_EQ(gone.change, Change::None);
    EXPECT_FALSE(gone.select.valid());
}

} // namespace
} // namespace kol
