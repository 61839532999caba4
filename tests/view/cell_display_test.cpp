#include "table/row_label.h"
#include "text/cp932.h"
#include "text/text_utils.h"
#include "view/break_colours.h"
#include "view/cell_display.h"
#include "view/fold.h"

#include <gtest/gtest.h>

namespace kol {
namespace {

TEST(DisplayText, DateEditAndTrim) {
    DisplaySwitches v;
    v.dateEdit = true;
    EXPECT_EQ(DisplayText("20240105", v), "2024/01/05");
    EXPECT_EQ(DisplayText("240101", v), "24/01/01");
    EXPECT_EQ(DisplayText("24-01-01", v), "24/01/01"); // eight bytes, six digits
    EXPECT_EQ(DisplayText("2024010512", v), "2024010512");
    EXPECT_EQ(DisplayText("1234567", v), "1234567");
    EXPECT_EQ(DisplayText(" 240101", v), " 240101"); // seven bytes until trimmed
    v.trimSpace = true;
    EXPECT_EQ(DisplayText(" 240101 ", v), "24/01/01");
    EXPECT_EQ(DisplayText(sj("　漢字 "), v),
              sj("　漢字")); // a full-width blank is not a blank byte
    for (std::string t : {"20240105", "2024/01/05", " 1 ", "ab12cd34", "", "  "})
        EXPECT_EQ(displayLength(t, v), DisplayText(t, v).size()) << t;
}

TEST(RowLabels, TitleRowsAndNumberingFromTheFixedRows) {
    RowLabelRule twoTitles{false, 2};
    EXPECT_EQ(RowLabel(1, true, twoTitles), "");
    EXPECT_EQ(RowLabel(2, true, twoTitles), "");
    EXPECT_EQ(RowLabel(3, true, twoTitles), "1");
    EXPECT_EQ(RowLabel(1, false, twoTitles), "-1");
    RowLabelRule seq{true, 2};
    EXPECT_EQ(RowLabel(1, true, seq), "1");
    EXPECT_EQ(RowLabel(3, true, seq), "3");
}

struct Table {
    StringGrid grid;
    GridViewState view{grid};
    std::vector<RowFlag> flags;
    std::vector<ColInfoRec> cols;
    Table(int cols_, const std::vector<std::vector<std::string>>& rows) {
        grid.setColCount(cols_ + 2);
        grid.setRowCount(static_cast<int>(rows.size()) + 1);
        grid.setFixedCols(2);
        grid.setFixedRows(1);
        for (std::size_t r = 0; r < rows.size(); ++r)
            for (std::size_t c = 0; c < rows[r].size(); ++c)
                grid.setCell(static_cast<int>(c) + 2, static_cast<int>(r) + 1, rows[r][c]);
        flags.resize(grid.rowCount());
        cols.resize(grid.colCount());
        view.setCurrent(0, 0); // keep the current cell out of the way
        view.selection = GridRect();
    }
    CellScene scene(DisplaySwitches v = {}) const {
        return CellScene{grid, view, flags, cols, 0, v, {}};
    }
};

TEST(BreakColours, FlipAtEveryChangeAndNeverOnEmptyCells) {
    Table t(1, {{"a"}, {"a"}, {"b"}, {""}, {"b"}, {" "}, {" b"}});
    RecomputeBreakColours(t.grid, t.flags, -1, 0);
    std::string bits;
    for (int r = 1; r < t.grid.rowCount(); ++r) bits += breakColourBit(t.flags[r], 2) ? '1' : '0';
    EXPECT_EQ(bits, "1100101");
    // Continuing from a row keeps the bits above it.
    t.grid.setCell(2, 3, "a");
    RecomputeBreakColours(t.grid, t.flags, 2, 3);
    bits.clear();
    for (int r = 1; r < t.grid.rowCount(); ++r) bits += breakColourBit(t.flags[r], 2) ? '1' : '0';
    EXPECT_EQ(bits, "1110101");
}

TEST(BreakColours, OnlyColumnsUpTo128) {
    std::vector<std::string> row(140, "x");
    Table t(140, {row, std::vector<std::string>(140, "y")});
    RecomputeBreakColours(t.grid, t.flags, -1, 0);
    EXPECT_TRUE(breakColourBit(t.flags[1], 128));
    EXPECT_FALSE(breakColourBit(t.flags[1], 129));
    CellLook look = GridDrawCell(t.scene(), 131, 1);
    EXPECT_EQ(look.background, colour::Silver);
    EXPECT_EQ(GridDrawCell(t.scene(), 128, 1).background, colour::BreakShade);
}

TEST(CellLook, ColourRulesInTheirOrder) {
    Table t(3, {{"a", "b", "c"}, {"", "", ""}, {" ", "", ""}, {"d", "e", "f"}});
    RecomputeBreakColours(t.grid, t.flags, -1, 0);
    DisplaySwitches v;
    EXPECT_EQ(GridDrawCell(t.scene(v), 2, 1).background, colour::BreakShade);
    EXPECT_EQ(GridDrawCell(t.scene(v), 2, 2).background, colour::EmptyLight);
    EXPECT_EQ(GridDrawCell(t.scene(v), 2, 3).background, colour::Silver); // blanks are not empty
    v.karaGyoColor = false;
    v.karaGyoBlack = true;
    EXPECT_EQ(GridDrawCell(t.scene(v), 3, 2).background, colour::EmptyDark);

    t.flags[4].Mark = 1;
    EXPECT_EQ(GridDrawCell(t.scene(v), 2, 4).background, colour::Green);
    CellScene marked = t.scene(v);
    marked.markedColumns = 1;
    t.cols[3].Marked = 1;
    EXPECT_EQ(GridDrawCell(marked, 2, 4).background, colour::BreakShade); // only marked columns
    EXPECT_EQ(GridDrawCell(marked, 3, 4).background, colour::Green);

    CellScene s = t.scene(v);
    s.highlights.clip = {2, 1, 4, 4};
    EXPECT_EQ(GridDrawCell(s, 2, 4).background, colour::Blue);
    t.view.selection = {2, 4, 2, 4};
    EXPECT_EQ(GridDrawCell(s, 2, 4).background, colour::Navy);
    s.highlights.confirm = {2, 4, 2, 4};
    s.highlights.confirmColour = 0x0000FF;
    EXPECT_EQ(GridDrawCell(s, 2, 4).background, 0x0000FFu);
    s.highlights.undo = {2, 4, 2, 4};
    CellLook undo = GridDrawCell(s, 2, 4);
    EXPECT_EQ(undo.background, colour::Black);
    EXPECT_EQ(undo.textColour, colour::White);
}

TEST(CellLook, DefaultDrawingStaysWithoutFoldingOrRules) {
    Table t(1, {{"x"}});
    DisplaySwitches v;
    v.breakColor = v.karaGyoColor = v.folding = false;
    EXPECT_FALSE(GridDrawCell(t.scene(v), 2, 1).ownerDrawn);
    v.dataCenter = true;
    CellLook centred = GridDrawCell(t.scene(v), 2, 1);
    EXPECT_TRUE(centred.ownerDrawn);
    EXPECT_TRUE(centred.centred);
}

TEST(CellLook, FixedCellsAlignmentMarksAndPopupFrame) {
    Table t(2, {{"title", "t2"}, {"a", "b"}});
    t.grid.setFixedRows(2);
    DisplaySwitches v;
    EXPECT_TRUE(GridDrawCell(t.scene(v), 2, 1).centred);
    v.fixedCenter = false;
    EXPECT_FALSE(GridDrawCell(t.scene(v), 2, 1).centred);
    EXPECT_TRUE(GridDrawCell(t.scene(v), 2, 0).centred);
    EXPECT_TRUE(GridDrawCell(t.scene(v), 0, 1).centred);
    EXPECT_FALSE(GridDrawCell(t.scene(v), 1, 2).centred); // the key column
    CellLook fixed = GridDrawCell(t.scene(v), 0, 2);
    EXPECT_EQ(fixed.background, colour::Grey);
    EXPECT_EQ(fixed.textColour, colour::White);
    t.cols[3].Marked = 1;
    EXPECT_EQ(GridDrawCell(t.scene(v), 3, 0).background, colour::Green);
    CellScene s = t.scene(v);
    s.highlights.popupKind = 2;
    s.highlights.popupCol = 3;
    EXPECT_TRUE(GridDrawCell(s, 3, 0).whiteFrame);
    EXPECT_FALSE(GridDrawCell(s, 3, 1).whiteFrame);
}

TEST(Folding, LinesNeverSplitACharacterAndHeightsAreCapped) {
    const std::string kanji = sj("漢字");
    std::vector<std::string> lines = foldedLines("abc" + kanji, 4 * 7, 7);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "abc ");
    EXPECT_EQ(lines[1], kanji);
    EXPECT_EQ(foldLines(10, 70, 7), 1);
    EXPECT_EQ(foldLines(20, 70, 7), 3);
    EXPECT_EQ(foldLines(20, 0, 7), 1);

    StringGrid g;
    g.setColCount(3);
    g.setRowCount(3);
    g.setColWidth(2, 70);
    g.setDefaultRowHeight(22);
    g.setColWidth(2, 70);
    g.setCell(2, 1, std::string(100, 'x')); // ten lines at 10 letters a line
    ApplyFold(g, DisplaySwitches{}, 3, 7, 13);
    EXPECT_EQ(g.rowHeight(1), static_cast<int>(13 * 7 / 10.0 + 3 * 13));
    EXPECT_EQ(g.rowHeight(2), 22);
    ApplyFold(g, DisplaySwitches{}, 0, 7, 13);
    EXPECT_EQ(g.rowHeight(1), static_cast<int>(13 * 15 / 10.0 + 11 * 13));
    ApplyFold(g, DisplaySwitches{}, 1, 7, 13);
    EXPECT_EQ(g.rowHeight(1), 22);
}

TEST(Folding, LargeTablesFoldOnTwoThreadsIntoTheRightRows) {
    StringGrid g;
    g.setColCount(3);
    g.setRowCount(50001);
    g.setDefaultRowHeight(22);
    g.setColWidth(2, 70);
    for (int r : {1, 20000, 25000, 25001, 49999}) g.setCell(2, r, std::string(25, 'x'));
    ApplyFold(g, DisplaySwitches{}, 0, 7, 13);
    const int folded = static_cast<int>(13 * 7 / 10.0 + 3 * 13);
    for (int r : {1, 20000, 25000, 25001, 49999}) EXPECT_EQ(g.rowHeight(r), folded) << r;
    for (int r : {0, 2, 24999, 25002, 50000}) EXPECT_EQ(g.rowHeight(r), 22) << r;
}

} // namespace
} // namespace kol
