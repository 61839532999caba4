// The view controls and switches of the main window model.
#include "support/fakes.h"
#include "support/test_support.h"
#include "table/separators.h"
#include "text/cp932.h"
#include "view/break_colours.h"

#include <gtest/gtest.h>

namespace kol {
namespace {

struct ViewFixture : test::MainFixture {
    test::TempDir dir;
    void load(const std::string& text) {
        std::string path = (dir / "t.csv").string();
        test::writeBytes(path, text);
        ASSERT_TRUE(model.LoadTable(path, 1));
    }
};

TEST(ViewControls, FixedRowsAreCappedSoOneDataRowRemains) {
    ViewFixture f;
    f.load("a\r\nb\r\nc\r\n");
    f.model.Cmb_FixedRows.ItemIndex = 5;
    f.model.Cmb_FixedRowsClick();
    EXPECT_EQ(f.model.Grid.fixedRows(), 3);
    EXPECT_EQ(f.model.View.row, 3);
    f.model.Cmb_FixedRows.ItemIndex = 0;
    f.model.Cmb_FixedRowsClick();
    EXPECT_EQ(f.model.Grid.fixedRows(), 1);
    EXPECT_EQ(f.model.Grid.cell(0, 1), "1");
    EXPECT_EQ(f.model.Lab_Records.Caption, "3");
}

TEST(ViewControls, WidthsFollowTheLongestCellWithinTheLimit) {
    ViewFixture f;
    const int w = f.model.LetterWidth;
    f.load("abc," + std::string(40, 'x') + ",12345678901\r\n");
    EXPECT_EQ(f.model.Grid.colWidth(2), 5 * w); // three bytes keep the minimum
    EXPECT_EQ(f.model.Grid.colWidth(3), 25 * w);
    EXPECT_EQ(f.model.Grid.colWidth(4), static_cast<int>(12.5 * w));
    f.model.Cmb_LimColLen.ItemIndex = 2; // 8 characters
    f.model.Cmb_LimColLenClick();
    EXPECT_EQ(f.model.Grid.colWidth(3), 9 * w);
    EXPECT_EQ(f.model.ColInfo[3].Width, 9 * w);
    EXPECT_TRUE(f.model.GridVisible);
}

TEST(ViewControls, KeyColumnCopiesTrimmedValuesAtItsWidth) {
    ViewFixture f;
    f.load("id,name\r\n1,  Ann \r\n2,Bob\r\n");
    ASSERT_EQ(f.model.Cmb_FixedCol.Items.size(), 3u);
    EXPECT_EQ(f.model.Cmb_FixedCol.Items[2], " 2. name");
    f.model.Cmb_FixedCol.ItemIndex = 2;
    f.model.Cmb_FixedKeta.ItemIndex = 10;
    f.model.Cmb_FixedColClick();
    EXPECT_EQ(f.model.Grid.cell(1, 0), sj("固定列"));
    EXPECT_EQ(f.model.Grid.cell(1, 2), " Ann");
    EXPECT_EQ(f.model.Grid.cell(1, 3), " Bob");
    EXPECT_EQ(f.model.Grid.cell(3, 2), "  Ann "); // the data itself is untouched
    EXPECT_EQ(f.model.Grid.colWidth(1), 10 * f.model.LetterWidth);
    EXPECT_EQ(f.model.Settings.Cmb_FixedCol, 2);
    // The next load keeps the choice while the table has that column...
    f.load("x,y\r\n1,2\r\n");
    EXPECT_EQ(f.model.Cmb_FixedCol.ItemIndex, 2);
    EXPECT_EQ(f.model.Grid.cell(1, 2), " 2");
    // ...and drops it when it has not.
    f.load("only\r\n1\r\n");
    EXPECT_EQ(f.model.Cmb_FixedCol.ItemIndex, 0);
    EXPECT_EQ(f.model.Settings.Cmb_FixedCol, 0);
    EXPECT_EQ(f.model.Grid.cell(1, 2), "");
}

TEST(ViewControls, NoSeparatorFitsEightyCharacters) {
    ViewFixture f;
    f.model.CurrentSeparator = kNoSeparator;
    f.load("short\r\n");
    EXPECT_EQ(f.model.Grid.colWidth(2), 80 * f.model.LetterWidth);
}

TEST(ViewControls, FoldChoiceSetsRowHeights) {
    ViewFixture f;
    f.load("h\r\n" + std::string(200, 'x') + "\r\nshort\r\n");
    const int single = f.model.Grid.defaultRowHeight();
    EXPECT_GT(f.model.Grid.rowHeight(2), single);
    EXPECT_EQ(f.model.Grid.rowHeight(3), single);
    f.model.Cmb_Fold.ItemIndex = 1;
    f.model.Cmb_FoldClick();
    EXPECT_EQ(f.model.Grid.rowHeight(2), single);
    EXPECT_FALSE(f.model.ViewSwitches.displaySwitches().folding);
}

TEST(ViewSwitches, BreakColourAsksOnceAndRecomputes) {
    ViewFixture f;
    f.load("h\r\na\r\na\r\nb\r\n");
    f.model.Mn_BreakColorClick(); // on → off, no question
    EXPECT_FALSE(f.model.Mn_BreakColor.Checked);
    EXPECT_TRUE(f.prompts.messages.empty());
    f.model.Mn_BreakColorClick(); // answered No
    EXPECT_FALSE(f.model.Mn_BreakColor.Checked);
    ASSERT_EQ(f.prompts.messages.size(), 1u);
    EXPECT_EQ(
        f.prompts.messages[0].text.rfind(sj("【 前行と変化したらセルの色を変える 】\r\n\r\n"), 0),
        0u);
    f.prompts.answers = {Answer::Yes};
    f.model.Mn_BreakColorClick();
    EXPECT_TRUE(f.model.Mn_BreakColor.Checked);
    EXPECT_TRUE(breakColourBit(f.model.RowFlags[2], 2));
    EXPECT_TRUE(breakColourBit(f.model.RowFlags[3], 2));
    EXPECT_FALSE(breakColourBit(f.model.RowFlags[4], 2));
    f.model.Mn_BreakColorClick();
    f.model.Mn_BreakColorClick(); // asked already in this run
    EXPECT_EQ(f.prompts.messages.size(), 2u);
}

TEST(ViewSwitches, NumberingFromTheFixedRows) {
    ViewFixture f;
    f.load("t\r\na\r\nb\r\n");
    f.model.Mn_FixedRowSEQClick();
    EXPECT_EQ(f.model.Grid.cell(0, 1), "1");
    EXPECT_EQ(f.model.Grid.cell(0, 3), "3");
    EXPECT_EQ(f.model.Lab_Records.Caption, "3");
    f.model.Mn_FixedRowSEQClick();
    EXPECT_EQ(f.model.Grid.cell(0, 1), "");
    EXPECT_EQ(f.model.Grid.cell(0, 3), "2");
    MenuItem& trim = f.model.Mn_TrimSpace;
    f.model.Mn_FixedCenterClick(trim);
    EXPECT_TRUE(f.model.ViewSwitches.displaySwitches().trimSpace);
}

TEST(ViewSwitches, MousePermissionsFollowTheChecks) {
    ViewFixture f;
    f.model.Chk_MoveRow.Checked = true;
    f.model.Chk_MoveRowClick();
    EXPECT_TRUE(f.model.View.options.rowMoving);
    EXPECT_TRUE(f.model.Chk_MoveRow.Bold);
    f.model.Chk_RowSize.Checked = true;
    f.model.Chk_RowSizeClick();
    EXPECT_TRUE(f.model.View.options.rowSizing);
    f.load("a\r\n");
    EXPECT_TRUE(f.model.View.options.rowMoving); // kept over a load
}

TEST(DragMoves, RowFlagsAndColumnInfoTravelWithTheirRowsAndColumns) {
    ViewFixture f;
    f.load("h1,h2\r\na,1\r\nb,2\r\nc,3\r\n");
    f.model.RowFlags[2].Mark = 1;
    f.model.Grid.moveRow(2, 4);
    f.model.GridRowMoved(2, 4);
    EXPECT_EQ(f.model.RowFlags[4].Mark, 1);
    EXPECT_EQ(f.model.Grid.cell(2, 4), "a");
    EXPECT_EQ(f.model.Grid.cell(0, 4), "3");
    EXPECT_EQ(f.model.Modified, 1);
    f.model.ColInfo[2].Marked = 1;
    f.model.Grid.moveCol(2, 3);
    f.model.GridColumnMoved(2, 3);
    EXPECT_EQ(f.model.ColInfo[3].Marked, 1);
    EXPECT_EQ(f.model.Grid.cell(2, 0), "1");
    EXPECT_EQ(f.model.Grid.cell(3, 1), "h1");
}

TEST(DragMoves, BreakColoursFollowTheNewNeighboursAndTheirUndo) {
    ViewFixture f;
    f.load("h\r\na\r\na\r\nb\r\n");
    auto bits = [&] {
        std::string out;
        for (int r = 2; r < f.model.Grid.rowCount(); ++r)
            out += breakColourBit(f.model.RowFlags[r], 2) ? '1' : '0';
        return out;
    };
    ASSERT_EQ(bits(), "001");   // below the title row h
    f.model.Grid.moveRow(4, 2); // b, a, a
    f.model.GridRowMoved(4, 2);
    EXPECT_EQ(bits(), "011");
    // An edit further down walks only until the bits agree, so they must be right already.
    f.model.commitCell(2, 4, "b"); // b, a, b
    EXPECT_EQ(bits(), "010");
    f.model.Mn_UndoClick();
    EXPECT_EQ(bits(), "011");
    f.model.Mn_UndoClick(); // the drag
    EXPECT_EQ(f.model.Grid.cell(2, 4), "b");
    EXPECT_EQ(bits(), "001");
}

} // namespace
} // namespace kol
