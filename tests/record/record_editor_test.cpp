// The record editor's model on a table of its own: the transposed grid, writing back, stepping
// through records, the memo and the conversions with their undo entries, the print copy, and
// what it does when the table changes under it.
#include "edit/table_edits.h"
#include "record/record_editor.h"
#include "support/fakes.h"
#include "text/cp932.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kol {
namespace {

struct Switches : TableViewSwitches {
    int key = 0;
    RowLabelRule rowLabelRule() const override { return {false, 1}; }
    int titleRowsChoice() const override { return 1; }
    int keyColumnChoice() const override { return key; }
    int keyColumnLetters() const override { return 6; }
    bool breakColours() const override { return true; }
    DisplaySwitches displaySwitches() const override { return {}; }
    int foldChoice() const override { return 1; }
    double columnLimit() const override { return 25; }
    unsigned char separator() const override { return ','; }
    GridMetrics metrics() const override { return {7, 13, 22}; }
};

struct Link : RecordMainLink {
    int nameRow = 1, key = 0;
    std::string file = "/data/t.csv";
    std::vector<bool> shownCalls;
    int undoMenus = 0, searches = 0, prints = 0, cleared = 0, operationUnset = 0, popupUnset = 0;
    StringGrid printed;
    print::HeadingLines headings;
    int rowLimit = -1;

    int nameRowIndex() const override { return nameRow; }
    std::string nameRowCaption() const override { return sj("1 行目"); }
    int keyColumnIndex() const override { return key; }
    std::string tableFileName() const override { return file; }
    int letterWidth() const override { return 7; }
    void recordEditorShown(bool shown) override { shownCalls.push_back(shown); }
    void unsetOperationRange() override { ++operationUnset; }
    void unsetPopupCell() override { ++popupUnset; }
    void undoMenuChanged() override { ++undoMenus; }
    void showSearchWindow() override { ++searches; }
    void focusRecordGrid() override {}
    void focusTableGrid() override {}
    bool isDoubleClick(int, int) override { return false; }
    void printRecord(const StringGrid& grid, const print::HeadingLines& h, int limit) override {
        printed.assign(grid);
        headings = h;
        rowLimit = limit;
        ++prints;
    }
    void clearProgressText() override { ++cleared; }
};

struct MemoBox : MemoView {
    std::string memo;
    bool open = false;
    Rect cellRect(int c, int r) override { return {c * 100, r * 20, 100, 20}; }
    int gridHeight() override { return 400; }
    void scrollToCell(int, int) override {}
    void showMemo(const std::string& text, const Rect&) override {
        memo = text;
        open = true;
    }
    void typeInMemo(const std::string& text) override { memo += text; }
    void hideMemo() override { open = false; }
    std::string memoText() override { return memo; }
};

struct Fixture {
    TableDocument doc;
    Switches switches;
    TableView shown{doc, switches};
    GridViewState main{doc.Grid};
    Link link;
    test::ScriptedPrompts prompts;
    RecordEditor ed{doc, shown, main, link, prompts};
    TableSubscription listening{shown.listeners(), ed};
    MemoBox box;
    StringGrid& g = doc.Grid;
    StringGrid& v = ed.VertGrid;

    // Row 0 the column numbers, row 1 the names, then the records; column 0 the labels.
    explicit Fixture(const std::vector<std::vector<std::string>>& records,
                     std::vector<std::string> names = {}) {
        const int cols = static_cast<int>(records.empty() ? names.size() : records[0].size());
        g.setColCount(cols + 1);
        g.setRowCount(2 + static_cast<int>(records.size()));
        g.setFixedCols(1);
        g.setFixedRows(2);
        for (int c = 1; c <= cols; ++c) {
            g.setCell(c, 0, std::to_string(c));
            g.setCell(c, 1,
                      c - 1 < static_cast<int>(names.size()) ? names[c - 1]
                                                             : "name" + std::to_string(c));
        }
        for (std::size_t r = 0; r < records.size(); ++r)
            for (int c = 1; c <= cols; ++c)
                g.setCell(c, static_cast<int>(r) + 2, records[r][c - 1]);
        doc.resetAttributes();
        ed.setMemoView(&box);
    }
    void openAt(int col, int row) {
        main.setCurrent(col, row);
        ed.Btn_VertGridClick();
    }
    // Types `text` over the current line's value through the memo.
    void edit(const std::string& text) {
        ASSERT_TRUE(ed.VertGridKeyDown(RecordEditor::Key::Enter));
        box.memo = text;
        ASSERT_TRUE(ed.mmMemoKeyDown(RecordEditor::Key::Enter));
    }
    std::string value(int line) const { return std::string(v.cell(2, line)); }
};

const std::vector<std::vector<std::string>> kThree = {
    {"a1", "b1", "c1"}, {"a2", "b2", "c2"}, {"a3", "b3", "c3"}};

TEST(RecordEditor, OpensOnTheCurrentRecordWithLinesPerColumn) {
    Fixture f(kThree);
    f.openAt(3, 3);
    EXPECT_TRUE(f.ed.shown());
    EXPECT_EQ(f.link.shownCalls, std::vector<bool>{true});
    EXPECT_EQ(f.link.operationUnset, 1);
    ASSERT_EQ(f.v.colCount(), 3);
    ASSERT_EQ(f.v.rowCount(), 4);
    EXPECT_EQ(f.v.fixedCols(), 2);
    EXPECT_EQ(f.v.fixedRows(), 1);
    EXPECT_EQ(f.v.cell(0, 0), "No.");
    EXPECT_EQ(f.v.cell(1, 0), sj("列名 [1 行目]"));
    EXPECT_EQ(f.v.cell(2, 0), sj("内容"));
    for (int k = 1; k <= 3; ++k) {
        EXPECT_EQ(f.v.cell(0, k), std::to_string(k));
        EXPECT_EQ(f.v.cell(1, k), "name" + std::to_string(k));
    }
    EXPECT_EQ(f.value(1), "a2");
    EXPECT_EQ(f.value(3), "c2");
    // The third data column's line is current.
    EXPECT_EQ(f.ed.VertView.row, 3);
    EXPECT_EQ(f.ed.VertView.col, 2);
    EXPECT_EQ(f.ed.ShownRow, 3);
    EXPECT_EQ(f.ed.pnlVertRowNo.Caption, sj("行No. (Max: 4)"));
    EXPECT_EQ(f.ed.Lab_VertRowNo.Caption, "[ 2 ]");
    EXPECT_EQ(f.v.colWidth(0), 6 * 7);
    EXPECT_EQ(f.v.colWidth(1), 24 * 7);
    EXPECT_EQ(f.v.colWidth(2), 50 * 7);
    EXPECT_EQ(f.v.rowHeight(2), f.g.defaultRowHeight());
}

TEST(RecordEditor, NoNameRowLeavesTheNamesEmpty) {
    Fixture f(kThree);
    f.link.nameRow = 0;
    f.openAt(1, 2);
    for (int k = 1; k <= 3; ++k) EXPECT_EQ(f.v.cell(1, k), "");
}

TEST(RecordEditor, ChangesReachTheTableWhenTheRecordIsLeft) {
    Fixture f(kThree);
    f.openAt(2, 2);
    f.edit("B1");
    EXPECT_EQ(f.value(2), "B1");
    EXPECT_EQ(f.g.cell(2, 2), "b1"); // not yet
    EXPECT_EQ(f.doc.Modified, 1);
    EXPECT_EQ(f.ed.VertView.row, 3); // Enter moved a line down
    f.ed.Btn_VertRowNoNextClick();
    EXPECT_EQ(f.g.cell(2, 2), "B1");
    EXPECT_EQ(f.value(2), "b2");
    EXPECT_EQ(f.ed.VertView.row, 3); // the line is kept
    f.ed.Btn_VertRowNoPriorClick();
    EXPECT_EQ(f.value(2), "B1");
    // Nothing else of the row changed.
    EXPECT_EQ(f.g.cell(1, 2), "a1");
    EXPECT_EQ(f.g.cell(3, 2), "c1");
}

TEST(RecordEditor, AMemoLeftOpenStaysWithItsRecord) {
    Fixture f(kThree);
    f.openAt(1, 2);
    ASSERT_TRUE(f.ed.VertGridKeyPress('!'));
    f.ed.scbVertRowNoScroll(RecordEditor::ScrollCode::LineDown);
    EXPECT_FALSE(f.ed.mmMemo.Visible);
    EXPECT_EQ(f.g.cell(1, 2), "a1!");
    EXPECT_EQ(f.value(1), "a2");
    f.ed.showFoundRow(4, 1);
    EXPECT_EQ(f.g.cell(1, 3), "a2");
}

TEST(RecordEditor, StepsStopAtTheNameRowAndTheLastRecord) {
    Fixture f(kThree);
    f.openAt(1, 2);
    f.ed.scbVertRowNoScroll(RecordEditor::ScrollCode::LineUp);
    EXPECT_EQ(f.ed.ShownRow, 1); // the names can be edited here
    EXPECT_EQ(f.value(1), "name1");
    f.ed.Btn_VertRowNoPriorClick();
    EXPECT_EQ(f.ed.ShownRow, 1); // never row 0
    for (int i = 0; i < 6; ++i) f.ed.scbVertRowNoScroll(RecordEditor::ScrollCode::LineDown);
    EXPECT_EQ(f.ed.ShownRow, 4);
    f.ed.scbVertRowNoScroll(RecordEditor::ScrollCode::Other);
    EXPECT_EQ(f.ed.ShownRow, 4);
}

TEST(RecordEditor, ClosingPutsTheTableCursorOnTheLinesColumn) {
    Fixture f(kThree);
    f.openAt(1, 3);
    f.ed.VertView.setCurrent(2, 3);
    f.edit("C2");
    f.ed.Btn_VertGridEndClick();
    EXPECT_FALSE(f.ed.shown());
    EXPECT_EQ(f.g.cell(3, 3), "C2");
    EXPECT_EQ(f.main.col, 3); // line 3 was current when the memo closed on the last line
    EXPECT_EQ(f.main.row, 3);
    EXPECT_EQ(f.link.shownCalls, (std::vector<bool>{true, false}));
    EXPECT_EQ(f.link.popupUnset, 1);
    EXPECT_EQ(f.ed.ShownRow, -1);
    // The width of the content column is remembered for the next opening.
    f.v.setColWidth(2, 123);
    f.ed.VertView.setCurrent(2, 1);
    f.openAt(2, 1); // the name row: the table cursor was on a title row
    EXPECT_EQ(f.v.colWidth(2), 350);
    f.v.setColWidth(2, 123);
    f.ed.Btn_VertGridEndClick();
    EXPECT_EQ(f.main.row, 2); // never above the first data row
    f.openAt(2, 2);
    EXPECT_EQ(f.v.colWidth(2), 123);
}

TEST(RecordEditor, UndoTakesBackTheRecordsOwnEditsOnly) {
    Fixture f(kThree);
    f.openAt(1, 2);
    f.edit("A1");
    f.prompts.answers = {Answer::Yes};
    f.ed.pm2_StrCvtHanToZenClick(RecordEditor::Conversion::HanToZen); // line 2
    EXPECT_EQ(f.value(2), sj("ｂ１"));
    ASSERT_EQ(f.doc.History.size(), 2u);
    EXPECT_EQ(f.doc.History.newest().kind(), HistoryKind::RecordCellEdit);
    EXPECT_EQ(f.doc.History.menuNumber(), 2u);
    bool more = false;
    const UndoOutcome out = edits::undoNewest(f.doc, more);
    f.ed.undoneCell(out.select);
    EXPECT_EQ(f.value(2), "b1");
    EXPECT_EQ(f.ed.VertView.row, 2);
    EXPECT_TRUE(f.ed.UndoHighlight.valid());
    EXPECT_EQ(f.ed.cellLook(2, 2).background, colour::Black);
    f.ed.VertGridMouseDown();
    EXPECT_EQ(f.ed.cellLook(2, 2).background, colour::Navy);
    // Leaving the record drops the rest; the table has the memo edit.
    f.ed.Btn_VertRowNoNextClick();
    EXPECT_TRUE(f.doc.History.empty());
    EXPECT_EQ(f.g.cell(1, 2), "A1");
}

TEST(RecordEditor, ConversionAsksFirstAndNoLeavesTheCell) {
    Fixture f({{sj("ｶﾀｶﾅ")}});
    f.openAt(1, 2);
    f.ed.pm2_StrCvtHanToZenClick(RecordEditor::Conversion::HanToZen); // answered No
    ASSERT_EQ(f.prompts.messages.size(), 1u);
    EXPECT_EQ(f.prompts.last(),
              sj("カーソル位置のセルの文字変換を行います。\r\n\r\n      【  半角 → 全角 】"));
    EXPECT_EQ(f.value(1), sj("ｶﾀｶﾅ"));
    EXPECT_TRUE(f.doc.History.empty());
    f.prompts.answers = {Answer::Yes, Answer::Yes};
    f.ed.pm2_StrCvtHanToZenClick(RecordEditor::Conversion::HanToZen);
    EXPECT_EQ(f.value(1), sj("カタカナ"));
    f.ed.pm2_StrCvtHanToZenClick(RecordEditor::Conversion::KataToHira);
    EXPECT_EQ(f.value(1), sj("かたかな"));
}

TEST(RecordEditor, PrintsACopyWithItsHeadings) {
    Fixture f(kThree);
    f.openAt(1, 3);
    f.ed.Mn2_PrintxClick();
    ASSERT_EQ(f.link.prints, 1);
    EXPECT_EQ(f.link.rowLimit, 300);
    EXPECT_EQ(f.link.headings[0], "File.Name:  /data/t.csv");
    EXPECT_EQ(f.link.headings[1], sj("  行No.  :  3"));
    EXPECT_EQ(f.link.headings[2], "");
    ASSERT_EQ(f.link.printed.rowCount(), 4);
    EXPECT_EQ(f.link.printed.cell(2, 1), "a2");
    EXPECT_EQ(f.link.printed.fixedCols(), 2);
    // Columns narrowed to their longest text plus two letters, never widened.
    EXPECT_EQ(f.link.printed.colWidth(0), (3 + 2) * 7);  // "No."
    EXPECT_EQ(f.link.printed.colWidth(1), (13 + 2) * 7); // "列名 [1 行目]"
    EXPECT_EQ(f.link.printed.colWidth(2), (4 + 2) * 7);  // "内容"; the values are shorter
    EXPECT_EQ(f.ed.WorkGrid.rowCount(), 1);
    EXPECT_EQ(f.link.cleared, 1);
    EXPECT_TRUE(f.ed.Mn2_Printx.Caption == sj("1. 印刷する (&P)"));
}

TEST(RecordEditor, NameWidthFollowsTheChoice) {
    Fixture f(kThree);
    f.ed.setNameColumnLetters(10);
    f.openAt(1, 2);
    EXPECT_EQ(f.v.colWidth(1), 70);
    EXPECT_EQ(f.ed.Cmb_VertKomKeta.Items.size(), 100u);
    EXPECT_EQ(f.ed.Cmb_VertKomKeta.Items[7], sj(" 7桁"));
    f.ed.Cmb_VertKomKeta.ItemIndex = 0;
    f.ed.Cmb_VertKomKetaClick();
    EXPECT_EQ(f.v.colWidth(1), 0);
    EXPECT_EQ(f.ed.nameColumnLetters(), 0);
}

TEST(RecordEditor, KeyColumnCopyFollowsAWriteBack) {
    Fixture f(kThree);
    // Two fixed columns: column 1 shows the second data column (grid column 3).
    f.g.insertCols(1, 1);
    f.g.setFixedCols(2);
    f.doc.resetAttributes();
    for (int r = 2; r < 5; ++r) f.g.setCell(1, r, " " + std::string(f.g.cell(3, r)));
    f.link.key = 2;
    f.openAt(3, 2);
    EXPECT_EQ(f.ed.VertView.row, 2);
    f.edit("  new ");
    f.ed.Btn_VertGridEndClick();
    EXPECT_EQ(f.g.cell(3, 2), "  new ");
    EXPECT_EQ(f.g.cell(1, 2), " new");
}

// ---- bad input --------------------------------------------------------------------------------

TEST(RecordEditorBadInput, InvalidShiftJisIsKeptByteForByte) {
    const std::string bad = "\x81\x20x\xFF\x82"; // a lead byte without trail, 0xFF, a cut end
    Fixture f({{bad, "ok"}}, {"\xA0\xFD"
                              "name",
                              "n2"});
    f.openAt(1, 2);
    EXPECT_EQ(f.v.cell(1, 1), "\xA0\xFD"
                              "name");
    EXPECT_EQ(f.value(1), bad);
    EXPECT_EQ(f.ed.cellLook(1, 1).text, " \xA0\xFD"
                                        "name");
    f.ed.VertView.setCurrent(2, 2);
    f.edit("OK");
    f.ed.VertView.setCurrent(2, 1);
    // The memo left untouched hands back the cell's own bytes: nothing is committed.
    ASSERT_TRUE(f.ed.VertGridKeyDown(RecordEditor::Key::Enter));
    EXPECT_EQ(f.box.memo, bad);
    f.ed.mmMemoExit();
    f.prompts.answers = {Answer::Yes};
    f.ed.pm2_StrCvtHanToZenClick(RecordEditor::Conversion::HiraToKata);
    EXPECT_EQ(f.value(1), bad);
    f.ed.Btn_VertGridEndClick();
    EXPECT_EQ(f.g.cell(1, 2), bad);
    EXPECT_EQ(f.g.cell(1, 1), "\xA0\xFD"
                              "name");
    EXPECT_EQ(f.g.cell(2, 2), "OK");
}

TEST(RecordEditorBadInput, LongCellShownEditedAndWrittenBack) {
    const std::string big(100000, 'x');
    Fixture f({{big, "s"}});
    f.openAt(1, 2);
    EXPECT_EQ(f.value(1), big);
    ASSERT_TRUE(f.ed.VertGridKeyPress('y')); // typed onto the end of the text
    EXPECT_EQ(f.box.memo.size(), 100001u);
    ASSERT_TRUE(f.ed.mmMemoKeyDown(RecordEditor::Key::Escape)); // Esc keeps the edit
    EXPECT_EQ(f.value(1), big + "y");
    EXPECT_EQ(f.doc.History.newest().name(), std::string(20, 'x'));
    f.ed.Btn_VertGridEndClick();
    EXPECT_EQ(f.g.cell(1, 2), big + "y");
}

TEST(RecordEditorBadInput, TablesWithoutRecordsOrWithOneColumn) {
    Fixture none({}, {"n1", "n2"});
    none.openAt(1, 1);
    EXPECT_EQ(none.ed.ShownRow, 1);
    EXPECT_EQ(none.ed.pnlVertRowNo.Caption, sj("行No. (Max: 1)"));
    none.ed.Btn_VertRowNoNextClick();
    none.ed.Btn_VertRowNoPriorClick();
    EXPECT_EQ(none.ed.ShownRow, 1);
    none.edit("N1");
    none.ed.Btn_VertGridEndClick();
    EXPECT_EQ(none.g.cell(1, 1), "N1");
    EXPECT_EQ(none.main.row, 1);

    Fixture one({{"only"}, {"two"}});
    one.openAt(1, 3);
    ASSERT_EQ(one.v.rowCount(), 2);
    EXPECT_EQ(one.value(1), "two");
    one.edit("2");
    EXPECT_EQ(one.ed.VertView.row, 1); // the last line: the cursor stays
    one.ed.Btn_VertRowNoPriorClick();
    EXPECT_EQ(one.g.cell(1, 3), "2");
    EXPECT_EQ(one.value(1), "only");
}

TEST(RecordEditorBadInput, SeparatorsInAValueStayInOneCell) {
    Fixture f(kThree);
    f.openAt(1, 2);
    f.edit("x,y,\"z\"\tw");
    f.ed.Btn_VertGridEndClick();
    EXPECT_EQ(f.g.colCount(), 4);
    EXPECT_EQ(f.g.rowCells(2).size(), 4u);
    EXPECT_EQ(f.g.cell(1, 2), "x,y,\"z\"\tw");
    EXPECT_EQ(f.g.cell(2, 2), "b1");
}

// ---- the table changing under the editor --------------------------------------------------------

TEST(RecordEditor, ANewTableClosesWithoutWritingTheOldRecord) {
    Fixture f(kThree);
    f.openAt(1, 2);
    f.edit("stale");
    // A sort or a load replaces the rows under the record.
    f.g.setCell(1, 2, "fresh");
    f.shown.announceReshaped(Reshape::Replaced);
    EXPECT_FALSE(f.ed.shown());
    EXPECT_EQ(f.g.cell(1, 2), "fresh");
    EXPECT_TRUE(f.doc.History.empty());
    f.ed.writeBack();
    EXPECT_EQ(f.g.cell(1, 2), "fresh");
}

TEST(RecordEditor, NewTextsOfTheShownRecordAreShown) {
    Fixture f(kThree);
    f.openAt(1, 2);
    f.edit("mine");
    f.g.setCell(3, 2, "theirs");
    f.shown.cellsChanged(GridRect{3, 2, 3, 2});
    EXPECT_EQ(f.value(3), "theirs");
    EXPECT_EQ(f.value(1), "mine"); // the editor's own change stays
    EXPECT_TRUE(f.doc.History.empty());
    f.g.setCell(2, 3, "other row");
    f.shown.cellsChanged(GridRect{2, 3, 2, 3});
    EXPECT_EQ(f.value(2), "b1");
    // Its own write-back is not heard as news.
    f.ed.Btn_VertRowNoNextClick();
    EXPECT_EQ(f.g.cell(1, 2), "mine");
    EXPECT_EQ(f.value(2), "other row");
}

TEST(RecordEditor, FoundRowsAreShownOnlyWhileOpen) {
    Fixture f(kThree);
    f.ed.showFoundRow(4, 2);
    EXPECT_FALSE(f.ed.shown());
    f.openAt(1, 2);
    f.ed.showFoundRow(4, 3);
    EXPECT_EQ(f.ed.ShownRow, 4);
    EXPECT_EQ(f.ed.VertView.row, 3);
    f.ed.Btn_VertSelectClick();
    EXPECT_EQ(f.link.searches, 1);
}

} // namespace
} // namespace kol
