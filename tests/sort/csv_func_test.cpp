// The sort window's model on the main window's table: lists, drag and drop, questions, the sort
// with its stop, and the visibility page.
#include "app/sort_link.h"
#include "sort/csv_func.h"
#include "support/fakes.h"
#include "support/test_support.h"
#include "text/cp932.h"
#include "text/text_utils.h"

#include <functional>
#include <gtest/gtest.h>

namespace kol {
namespace {

using Source = TFm_CsvFunc::ListSource;

struct FakeFuncHost : CsvFuncHost {
    std::function<void()> pending; // what the user does while the sort lets events in
    int hides = 0;
    void setBusy(bool) override {}
    void processPending() override {
        if (pending) pending();
    }
    void hideWindow() override { ++hides; }
};

struct Func : test::MainFixture {
    test::TempDir dir;
    FakeFuncHost funcHost;
    MainSortLink link{model};
    TFm_CsvFunc func{prompts, funcHost, model.Doc, link};
    TableSubscription listening{model.Shown.listeners(), func};

    Func() {
        // Column names on row 1, then c b a in the first column.
        test::writeBytes(dir / "t.csv", sj("名前,値,空\r\nc,1,\r\nb,2,\r\na,3,\r\n"));
        model.Cmb_FixedRows.ItemIndex = 1;
        model.Cmb_KomRow.ItemIndex = 1;
        EXPECT_TRUE(model.LoadTable((dir / "t.csv").string(), 1));
        func.OpenSortPage();
    }
    void addKey(int item) {
        func.LbxSelection.ItemIndex = item;
        func.LbxSortKeyDragDrop(Source::Selection, -1);
    }
    std::string column(int c = 2) const {
        std::string out;
        for (int r = model.Grid.fixedRows(); r < model.Grid.rowCount(); ++r)
            out += model.Grid.cell(c, r);
        return out;
    }
};

TEST(CsvFunc, ListsNameEveryColumnAndKeysAreAddedOnceUpToTheMaximum) {
    Func f;
    ASSERT_EQ(f.func.LbxSelection.Items.size(), 3u);
    EXPECT_EQ(f.func.LbxSelection.Items[0], sj("   1. 名前"));
    EXPECT_EQ(f.func.LbxSelection.Items[2], sj("   3. 空"));
    EXPECT_EQ(f.func.pnlSelection, sj("列名 [1 行目]"));
    EXPECT_EQ(f.func.keyColumn(f.func.LbxSelection.Items[1]), 3);

    f.addKey(1);
    f.addKey(1);
    EXPECT_EQ(f.func.LbxSortKey.Items.size(), 1u);
    EXPECT_EQ(f.prompts.last(), sj("既に同じ列が選択されています。\r\n\r\n    ＞   2. 値"));

    f.func.LbxSortKey.Items.assign(100, "x");
    f.addKey(0);
    EXPECT_EQ(f.func.LbxSortKey.Items.size(), 100u);
    EXPECT_EQ(f.prompts.last(), sj("選択可能な列数は最大で 100 列です。"));
}

TEST(CsvFunc, KeysAreReorderedByDragAndRemovedByDraggingBack) {
    Func f;
    for (int i : {0, 1, 2}) f.addKey(i);
    auto keys = [&] {
        std::string out;
        for (const std::string& k : f.func.LbxSortKey.Items) out += Trim(k.substr(0, 4));
        return out;
    };
    f.func.LbxSortKeyMouseDown(2);
    f.func.LbxSortKeyDragDrop(Source::SortKey, 0); // up: before the target
    EXPECT_EQ(keys(), "312");
    f.func.LbxSortKeyMouseDown(0);
    f.func.LbxSortKeyDragDrop(Source::SortKey, 1); // down: after the target
    EXPECT_EQ(keys(), "132");
    EXPECT_EQ(f.func.LbxSortKey.ItemIndex, 1);
    f.func.LbxSortKeyDragDrop(Source::SortKey, -1); // no item under the drop
    EXPECT_EQ(keys(), "132");
    f.func.LbxSelectionDragDrop(Source::SortKey); // the selected key goes
    EXPECT_EQ(keys(), "12");
}

TEST(CsvFunc, QuestionsComeFirstAndNoChangesNothing) {
    Func f;
    f.func.Btn_SortClick();
    EXPECT_EQ(f.prompts.last(), sj("【 並び替えキー項目 】 を選択して下さい。"));
    f.addKey(0);
    f.func.Chk_RowSort.Checked = false;
    f.func.Btn_SortClick();
    EXPECT_EQ(f.prompts.last(), sj("【 Option 】 をチェックして下さい。"));
    f.func.Chk_ColSort.Checked = true;
    f.func.Btn_SortClick();
    EXPECT_EQ(f.prompts.last(),
              sj("選択されたキー項目により 【 列の並び替え 】 を行います。\r\n\r\n"
                 "よろしいですか？"));
    f.func.Chk_RowSort.Checked = true;
    f.func.Btn_SortClick();
    EXPECT_EQ(f.prompts.last(),
              sj("選択されたキー項目により 【 列と行の並び替え 】 を行います。\r\n\r\n"
                 "よろしいですか？"));
    EXPECT_EQ(f.column(), "cba");
    EXPECT_EQ(f.func.LbxSortKey.Items.size(), 1u);
}

TEST(CsvFunc, ASortEmptiesTheHistoryMarksTheTableChangedAndRefillsTheLists) {
    Func f;
    f.model.Modified = 0;
    f.model.RecordCell(HistoryKind::CellEdit, 2, 2);
    ASSERT_EQ(f.model.historySize(), 1u);
    f.addKey(0);
    f.prompts.answers = {Answer::Yes};
    f.func.Btn_SortClick();
    EXPECT_EQ(f.column(), "abc");
    EXPECT_EQ(f.column(3), "321");
    EXPECT_EQ(f.model.historySize(), 0u);
    EXPECT_EQ(f.model.Modified, 1) << "closing would otherwise drop the sorted table";
    EXPECT_EQ(f.prompts.last(), sj("並び替えを終了しました。"));
    EXPECT_TRUE(f.func.LbxSortKey.Items.empty());
    EXPECT_FALSE(f.func.SortRunning);
    EXPECT_TRUE(f.model.GridVisible);
    EXPECT_TRUE(f.func.Btn_Sort.Enabled);

    // Sorting what is already in order changes nothing and leaves the flag alone.
    f.model.Modified = 0;
    f.addKey(0);
    f.prompts.answers = {Answer::Yes};
    f.func.Btn_SortClick();
    EXPECT_EQ(f.model.Modified, 0);
}

TEST(CsvFunc, KeyColumnsMoveToTheFrontAndTheListsShowTheNewNumbers) {
    Func f;
    f.addKey(2);
    f.addKey(1);
    f.func.Chk_RowSort.Checked = false;
    f.func.Chk_ColSort.Checked = true;
    f.prompts.answers = {Answer::Yes};
    f.func.Btn_SortClick();
    EXPECT_EQ(f.func.LbxSelection.Items[0], sj("   1. 空"));
    EXPECT_EQ(f.func.LbxSelection.Items[1], sj("   2. 値"));
    EXPECT_EQ(f.model.Grid.cell(2, 0), "1");
    EXPECT_EQ(f.column(4), "cba");
    EXPECT_EQ(f.model.Modified, 1);
}

TEST(CsvFunc, StoppingLeavesTheTableAsItWasAndSaysSo) {
    Func f;
    test::writeBytes(f.dir / "big.csv", [] {
        std::string text = "h\r\n";
        for (int i = 0; i < 5000; ++i) text += std::to_string(5000 - i) + "\r\n";
        return text;
    }());
    ASSERT_TRUE(f.model.LoadTable((f.dir / "big.csv").string(), 1));
    const std::string before = f.column();
    f.model.Modified = 0;
    f.addKey(0);
    int reports = 0;
    f.funcHost.pending = [&] {
        if (++reports == 3) f.func.Btn_StopClick();
    };
    f.prompts.answers = {Answer::Yes};
    f.func.Btn_SortClick();
    EXPECT_EQ(f.column(), before);
    EXPECT_EQ(f.model.Modified, 0);
    EXPECT_EQ(f.prompts.last(), sj("並び替えを中断しました。"));
    EXPECT_FALSE(f.func.Btn_Stop.Visible);
}

TEST(CsvFunc, ColumnsAreHiddenAndShownFromTheVisibilityPage) {
    Func f;
    f.model.ColInfo[3].Width = 120;
    f.model.Grid.setColWidth(3, 120);
    f.func.OpenVisibilityPage();
    EXPECT_EQ(f.func.PrintGrid.rowCount(), 4);
    EXPECT_EQ(f.func.PrintGrid.cell(1, 0), sj("列名 [1 行目]"));
    EXPECT_EQ(f.func.printGridCell(1, 2).text, sj(" ○ 値"));

    f.func.PrintView.setCurrent(1, 2);
    f.func.PrintGridDblClick();
    EXPECT_EQ(f.model.ColInfo[3].Shown, 0);
    EXPECT_EQ(f.model.Grid.colWidth(3), f.model.LetterWidth);
    EXPECT_EQ(f.func.printGridCell(1, 2).text, sj(" × 値"));
    f.func.PrintGridDblClick();
    EXPECT_EQ(f.model.Grid.colWidth(3), 120);

    f.func.Btn_PrintAllClick(false); // answered No
    EXPECT_EQ(f.model.ColInfo[2].Shown, 1);
    EXPECT_EQ(f.prompts.last(), sj("全列を  【非表示】  にします。\r\n\r\nよろしいですか？"));
    f.prompts.answers = {Answer::Yes, Answer::Yes};
    f.func.Btn_PrintAllClick(false);
    for (int c = 2; c < 5; ++c) EXPECT_EQ(f.model.ColInfo[c].Shown, 0);
    f.func.Btn_PrintAllClick(true);
    EXPECT_EQ(f.model.Grid.colWidth(3), 120);
    EXPECT_EQ(f.model.ColInfo[4].Shown, 1);
}

TEST(CsvFunc, ClosingHidesTheWindowAndClearsTheRunningFlag) {
    Func f;
    f.func.SortRunning = true;
    f.func.Close();
    EXPECT_FALSE(f.func.SortRunning);
    EXPECT_EQ(f.funcHost.hides, 1);
}

} // namespace
} // namespace kol
