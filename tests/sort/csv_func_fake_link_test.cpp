// The sort window's model on a table of its own, with a recording stand-in for the main window:
// everything it asks of the main window goes through CsvFuncMain, in the order a sort needs.
#include "sort/csv_func.h"
#include "support/fakes.h"
#include "support/test_support.h"
#include "table/table_load.h"
#include "text/cp932.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kol {
namespace {

using Source = TFm_CsvFunc::ListSource;

struct RecordingMain : CsvFuncMain {
    TableDocument* doc = nullptr;
    int nameRow = 1;
    RowLabelRule labels{true, 1};
    std::vector<std::string> calls;

    int columnNameRow() const override { return nameRow; }
    std::string columnNameChoice() const override { return sj(" 1 行目 "); }
    RowLabelRule rowLabels() const override { return labels; }
    void sortStarting() override { calls.push_back("starting"); }
    void setTableVisible(bool visible) override { calls.push_back(visible ? "visible" : "hidden"); }
    void sortFinished(bool rowsSorted) override {
        calls.push_back(rowsSorted ? "finished rows" : "finished columns");
    }
    void unsetPopupCell() override { calls.push_back("unset popup"); }
    void setColumnShown(int column, bool shown) override {
        calls.push_back((shown ? "show " : "hide ") + std::to_string(column));
        doc->ColInfo[column].Shown = shown ? 1 : 0;
    }
    void activate() override { calls.push_back("activate"); }
};

struct FuncHost : CsvFuncHost {
    int busy = 0, hides = 0;
    std::vector<int> busyWhenPending;
    void setBusy(bool on) override { busy += on ? 1 : -1; }
    void processPending() override { busyWhenPending.push_back(busy); }
    void hideWindow() override { ++hides; }
};

struct Fixture {
    test::ScriptedPrompts prompts;
    test::TempDir dir;
    TableDocument doc;
    RecordingMain main;
    FuncHost host;
    TFm_CsvFunc func{prompts, host, doc, main};

    // Row 0 the column numbers, row 1 the names, then three data rows.
    Fixture() {
        main.doc = &doc;
        test::writeBytes(dir / "t.csv", sj("名前,値\r\nc,1\r\na,3\r\nb,2\r\n"));
        TableLoadOptions options;
        options.labels = RowLabelRule{false, 1};
        options.titleRows = 2;
        EXPECT_TRUE(loadTableFile((dir / "t.csv").string(), doc, options).ok());
        func.FillColumnLists();
        func.OpenSortPage();
    }
    std::string column(int c) const {
        std::string out;
        for (int r = doc.Grid.fixedRows(); r < doc.Grid.rowCount(); ++r) out += doc.Grid.cell(c, r);
        return out;
    }
    void sortBy(int item, bool rows, bool columns) {
        func.LbxSelection.ItemIndex = item;
        func.LbxSortKeyDragDrop(Source::Selection, -1);
        func.Chk_RowSort.Checked = rows;
        func.Chk_ColSort.Checked = columns;
        prompts.answers = {Answer::Yes};
        func.Btn_SortClick();
    }
};

TEST(CsvFuncOnItsOwn, TheListsNameTheColumnsFromTheRowTheMainWindowNames) {
    Fixture f;
    ASSERT_EQ(f.func.LbxSelection.Items.size(), 2u);
    EXPECT_EQ(f.func.LbxSelection.Items[1], sj("   2. 値"));
    EXPECT_EQ(f.func.pnlSelection, sj("列名 [1 行目]"));

    f.main.nameRow = 0; // no column-name row: numbers only
    f.func.FillColumnLists();
    EXPECT_EQ(f.func.LbxSelection.Items[1], "   2. ");
    f.main.nameRow = 99; // past the table: no names either
    f.func.FillColumnLists();
    EXPECT_EQ(f.func.LbxSelection.Items[0], "   1. ");
}

TEST(CsvFuncOnItsOwn, ARowSortTellsTheMainWindowEachStepAndLabelsByItsRule) {
    Fixture f;
    f.sortBy(0, true, false);
    EXPECT_EQ(f.column(2), "abc");
    EXPECT_EQ(f.column(3), "321");
    // The main window's rule numbers from the first row, title rows included.
    EXPECT_EQ(f.column(0), "234");
    EXPECT_EQ(f.main.calls,
              (std::vector<std::string>{"starting", "hidden", "finished rows", "visible"}));
    EXPECT_EQ(f.doc.Modified, 1);
    EXPECT_EQ(f.host.busy, 0);
    // The table is hidden and the hourglass up while the sort lets events in; the last
    // report comes after both are back.
    ASSERT_GE(f.host.busyWhenPending.size(), 2u);
    EXPECT_EQ(f.host.busyWhenPending.front(), 1);
    EXPECT_EQ(f.host.busyWhenPending.back(), 0);
    EXPECT_EQ(f.prompts.last(), sj("並び替えを終了しました。"));
}

TEST(CsvFuncOnItsOwn, AColumnSortSaysNoRowsWereSorted) {
    Fixture f;
    f.sortBy(1, false, true);
    EXPECT_EQ(f.column(2), "132");
    EXPECT_EQ(f.column(3), "cab");
    EXPECT_EQ(f.main.calls.at(2), "finished columns");
    EXPECT_EQ(f.func.LbxSelection.Items[0], sj("   1. 値")) << "the lists are filled afresh";
}

TEST(CsvFuncOnItsOwn, NoAnswerAsksNothingOfTheMainWindow) {
    Fixture f;
    f.func.LbxSelection.ItemIndex = 0;
    f.func.LbxSortKeyDragDrop(Source::Selection, -1);
    f.func.Btn_SortClick(); // answered No
    EXPECT_TRUE(f.main.calls.empty());
    EXPECT_EQ(f.column(2), "cab");
    EXPECT_EQ(f.doc.Modified, 0);
}

TEST(CsvFuncOnItsOwn, TheVisibilityPageHidesAndShowsThroughTheMainWindow) {
    Fixture f;
    f.func.OpenVisibilityPage();
    f.func.PrintView.setCurrent(1, 2);
    f.func.PrintGridDblClick();
    f.func.PrintGridDblClick();
    EXPECT_EQ(f.main.calls,
              (std::vector<std::string>{"unset popup", "hide 3", "unset popup", "show 3"}));

    f.main.calls.clear();
    f.prompts.answers = {Answer::Yes};
    f.func.Btn_PrintAllClick(false);
    EXPECT_EQ(f.main.calls, (std::vector<std::string>{"unset popup", "hide 2", "hide 3"}));
    EXPECT_EQ(f.func.printGridCell(1, 1).text, sj(" × 名前"));
}

TEST(CsvFuncOnItsOwn, ClosingHidesTheWindowAndActivatesTheMainWindow) {
    Fixture f;
    f.func.SortRunning = true;
    f.func.Close();
    EXPECT_FALSE(f.func.SortRunning);
    EXPECT_EQ(f.host.hides, 1);
    EXPECT_EQ(f.main.calls, (std::vector<std::string>{"activate"}));
}

} // namespace
} // namespace kol
