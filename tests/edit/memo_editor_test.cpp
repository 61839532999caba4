// The memo editor on a grid of its own, as the record editor uses it: where it opens, what it
// commits, and how a double click closes it; its commits recorded as the record editor's.
#include "edit/memo_editor.h"
#include "edit/table_edits.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kol {
namespace {

// Cells 100 x 20 pixels from the grid's corner, whatever is scrolled.
struct View : MemoView {
    int height = 200;
    std::string memo; // what the user left in the memo
    Rect shownAt;
    int shows = 0, hides = 0, scrolls = 0;
    Rect cellRect(int c, int r) override { return {c * 100, r * 20, 100, 20}; }
    int gridHeight() override { return height; }
    void scrollToCell(int, int) override { ++scrolls; }
    void showMemo(const std::string& text, const Rect& where) override {
        ++shows;
        memo = text;
        shownAt = where;
    }
    void typeInMemo(const std::string& text) override { memo += text; }
    void hideMemo() override { ++hides; }
    std::string memoText() override { return memo; }
};

// The record editor's side: a one-record grid, its commits recorded in the document's history.
struct Record : MemoHost {
    TableDocument doc;
    StringGrid grid;
    View view;
    MemoEditor memo{*this, view};
    std::vector<bool> presses; // what the double-click test answers, in turn
    int focuses = 0;

    Record() {
        grid.setRowCount(4);
        grid.setColCount(3);
        grid.setFixedRows(1);
        grid.setFixedCols(2);
        grid.setRowHeight(0, 24);
        for (int r = 1; r < 4; ++r) grid.setCell(2, r, "v" + std::to_string(r));
    }
    StringGrid& memoGrid() override { return grid; }
    void commitMemo(int c, int r, const std::string& text) override {
        edits::editEditorCell(doc, grid, c, r, text);
    }
    bool isDoubleClick(int, int) override {
        const bool second = !presses.empty() && presses.front();
        if (!presses.empty()) presses.erase(presses.begin());
        return second;
    }
    void focusGrid() override { ++focuses; }
};

TEST(MemoEditor, OpensOverADataCellOfItsOwnGridOnly) {
    Record f;
    for (auto [c, r] : {std::pair{1, 2}, {2, 0}, {3, 1}, {2, 4}}) f.memo.open(c, r);
    EXPECT_EQ(f.view.shows, 0);
    EXPECT_FALSE(f.memo.Visible);

    f.memo.open(2, 2);
    ASSERT_TRUE(f.memo.Visible);
    EXPECT_EQ(f.view.memo, "v2");
    EXPECT_EQ(f.view.scrolls, 1);
    // As wide as the column and one pixel more, three heading rows high.
    EXPECT_EQ(f.view.shownAt.left, 200);
    EXPECT_EQ(f.view.shownAt.top, 40);
    EXPECT_EQ(f.view.shownAt.width, f.grid.colWidth(2) + 1);
    EXPECT_EQ(f.view.shownAt.height, 75);
    f.memo.open(2, 3); // already open
    EXPECT_EQ(f.view.shows, 1);
    EXPECT_EQ(f.memo.Row, 2);
    f.memo.close();

    // Moved up to end at the grid's bottom edge when the cell is low.
    f.view.height = 100;
    f.memo.open(2, 3);
    EXPECT_EQ(f.view.shownAt.top, 25);
    EXPECT_EQ(f.view.shownAt.bottom(), 100);
}

TEST(MemoEditor, TheKeystrokeThatOpensItIsTypedIn) {
    Record f;
    f.memo.open(2, 0, "k"); // a fixed cell: no memo, nothing typed
    EXPECT_EQ(f.view.shows, 0);
    EXPECT_EQ(f.view.memo, "");
    f.memo.open(2, 1, "\x82\xa0");
    EXPECT_EQ(f.view.memo, "v1\x82\xa0");
    f.memo.open(2, 1, "k"); // already open: typed into the memo by the memo itself
    EXPECT_EQ(f.view.memo, "v1\x82\xa0");
    f.memo.close();
    EXPECT_EQ(f.grid.cell(2, 1), "v1\x82\xa0");
}

TEST(MemoEditor, ClosingCommitsOneLineToTheCellItWasOpenedOn) {
    Record f;
    f.memo.open(2, 1);
    f.view.memo = "line one\r\nline two\nthree";
    f.memo.close();
    EXPECT_FALSE(f.memo.Visible);
    EXPECT_EQ(f.view.hides, 1);
    EXPECT_EQ(f.focuses, 1);
    EXPECT_EQ(f.grid.cell(2, 1), "line oneline twothree");
    ASSERT_EQ(f.doc.History.size(), 1u);
    EXPECT_EQ(f.doc.History.newest().scope(), UndoScope::RecordEditor);
    EXPECT_EQ(f.doc.Modified, 1);
    f.memo.close(); // the second exit of the hide
    EXPECT_EQ(f.view.hides, 1);

    // The record editor's undo puts the old text back into its grid.
    bool more = false;
    const UndoOutcome out = edits::undoNewest(f.doc, more);
    EXPECT_EQ(out.select, (GridRect{2, 1, 2, 1}));
    EXPECT_EQ(f.grid.cell(2, 1), "v1");
    EXPECT_EQ(f.doc.Modified, 0);

    // Unchanged bytes, even ones that do not decode, record nothing.
    f.grid.setCell(2, 2, "\x81\xff");
    f.memo.open(2, 2);
    f.view.memo = "\x81\r\n\xff";
    f.memo.close();
    EXPECT_TRUE(f.doc.History.empty());
    EXPECT_EQ(f.doc.Modified, 0);

    // A grid that lost the cell meanwhile is left alone.
    f.memo.open(2, 3);
    f.view.memo = "new";
    f.grid.setRowCount(3);
    f.memo.close();
    EXPECT_EQ(f.view.hides, 3);
    EXPECT_TRUE(f.doc.History.empty());
}

TEST(MemoEditor, ASecondPressClosesIt) {
    Record f;
    f.presses = {true, false, true};
    EXPECT_FALSE(f.memo.mouseDown(5, 5)); // a double click with no memo open
    f.memo.open(2, 1);
    f.view.memo = "changed";
    EXPECT_FALSE(f.memo.mouseDown(5, 5));
    EXPECT_TRUE(f.memo.Visible);
    EXPECT_TRUE(f.memo.mouseDown(5, 5));
    EXPECT_FALSE(f.memo.Visible);
    EXPECT_EQ(f.grid.cell(2, 1), "changed");
    EXPECT_TRUE(f.presses.empty()); // every press was shown to the test
}

} // namespace
} // namespace kol
