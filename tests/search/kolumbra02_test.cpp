#include "search/kolumbra02.h"
#include "search/search_fixture.h"
#include "text/cp932.h"

#include <gtest/gtest.h>

namespace kol {
namespace {

using test::SearchFixture;

const std::string kTable =
    sj("名前,メモ,コード\r\n") + "abc,xdefx,1\r\nonly abc,-,2\r\n-,def,3\r\nDEF,ABC def,4\r\n";

std::vector<std::string> items(const TFm_Kolumbra02& w) {
    return w.Cmb_FindWord.Items;
}

TEST(SearchHistory, NewestFirstRenumberedWithoutRepeats) {
    SearchFixture f;
    f.w.AddToHistory("  alpha ");
    f.w.AddToHistory("beta");
    f.w.AddToHistory("alpha");
    EXPECT_EQ(items(f.w), (std::vector<std::string>{" 1. alpha", " 2. beta"}));
    f.w.AddToHistory(" \t ");
    EXPECT_EQ(items(f.w).size(), 2u);
    EXPECT_EQ(TFm_Kolumbra02::HistoryText(" 12. a.b "), "a.b");
    EXPECT_EQ(TFm_Kolumbra02::HistoryText("plain"), "plain");
    // A pasted text with line breaks stays one entry (and one settings line).
    f.w.AddToHistory("x\r\ny");
    EXPECT_EQ(items(f.w).front(), " 1. x  y");

    for (int i = 0; i < 120; ++i) f.w.AddToHistory("w" + std::to_string(i));
    ASSERT_EQ(items(f.w).size(), 101u);
    EXPECT_EQ(items(f.w).front(), " 1. w119");
    EXPECT_EQ(items(f.w).back(), " 101. w19");
}

TEST(SearchHistory, SlotsInAndOutAndADamagedSlotLosesNothingElse) {
    SearchFixture f;
    std::array<std::string, 101> slots;
    slots[0] = "first";
    slots[1] = "  ";           // damaged: blank
    slots[2] = "\x82\xFF\x83"; // bytes that are no characters stay as they are
    slots[3] = std::string(1000, 'k');
    slots[100] = "last";
    f.w.LoadHistory(slots);
    ASSERT_EQ(items(f.w).size(), 4u);
    EXPECT_EQ(items(f.w)[1], " 2. \x82\xFF\x83");
    EXPECT_EQ(items(f.w)[3], " 4. last");
    std::array<std::string, 101> back;
    back.fill("stale");
    f.w.GatherHistory(back);
    EXPECT_EQ(back[0], "first");
    EXPECT_EQ(back[2], std::string(1000, 'k'));
    EXPECT_EQ(back[3], "last");
    EXPECT_EQ(back[4], "");
    EXPECT_EQ(back[100], "");

    f.w.Cmb_FindWord.ItemIndex = 1;
    f.w.Cmb_FindWordClick();
    EXPECT_EQ(f.w.Edt_Word, "\x82\xFF\x83");

    f.w.Mn_FindHistoryClearClick(); // answered No
    EXPECT_EQ(items(f.w).size(), 4u);
    EXPECT_EQ(f.prompts.last(), sj(" 検索履歴をクリアーします。\r\n\r\nよろしいですか？"));
    f.prompts.answers = {Answer::Yes};
    f.w.Mn_FindHistoryClearClick();
    EXPECT_TRUE(items(f.w).empty());
    f.w.GatherHistory(back);
    EXPECT_EQ(back[0], "");
}

TEST(Search, AndFindsRowsWithEveryWordAndFillsTheResults) {
    SearchFixture f;
    f.load(kTable);
    f.search("abc def");
    EXPECT_EQ(items(f.w), (std::vector<std::string>{" 1. abc def"}));
    EXPECT_EQ(f.w.Lab_Records.Caption, "2 ");
    EXPECT_TRUE(f.w.GridVisible);
    EXPECT_FALSE(f.w.Running);
    EXPECT_FALSE(f.w.Btn_Stop.Visible);
    EXPECT_TRUE(f.w.Btn_Exec.Enabled);
    EXPECT_TRUE(f.w.Btn_Next.Enabled);
    EXPECT_TRUE(f.w.Mn_Print.Enabled);

    const StringGrid& g = f.w.Grid;
    EXPECT_EQ(g.colCount(), f.doc.Grid.colCount() + 1);
    EXPECT_EQ(g.fixedCols(), 3);
    EXPECT_EQ(g.fixedRows(), 2);
    ASSERT_EQ(g.rowCount(), 4);
    EXPECT_EQ(g.cell(0, 0), "");
    EXPECT_EQ(g.cell(0, 1), "SEQ");
    EXPECT_EQ(g.cell(3, 1), sj("名前"));
    EXPECT_EQ(g.cell(3, 0), "1"); // the column numbers, shifted right by one
    EXPECT_EQ(g.cell(0, 2), "1");
    EXPECT_EQ(g.cell(3, 2), "abc");
    EXPECT_EQ(g.cell(0, 3), "2");
    EXPECT_EQ(g.cell(4, 3), "ABC def");
    EXPECT_EQ(g.colWidth(4), f.doc.Grid.colWidth(3));
    EXPECT_EQ(f.w.FlgGrid.cell(0, 2), "2");
    EXPECT_EQ(f.w.FlgGrid.cell(0, 3), "5");
    EXPECT_EQ(f.w.FlgGrid.cell(3, 3), "*");
    EXPECT_EQ(f.w.FlgGrid.cell(5, 2), "");

    // The first step after the search went to the first found cell and moved the main grid.
    EXPECT_EQ(f.w.View.col, 3);
    EXPECT_EQ(f.w.View.row, 2);
    EXPECT_EQ(f.mainView.row, 2);
    EXPECT_EQ(f.mainView.col, 2);
    EXPECT_EQ(f.mainView.topRow, 2); // the row above is a title row
    EXPECT_EQ(f.mainView.leftCol, 2);
    EXPECT_EQ(f.link.shown, 1);
    EXPECT_EQ(f.w.GridDrawCell(3, 2, false).textColour, colour::Blue);
    EXPECT_EQ(f.w.GridDrawCell(5, 2, false).textColour, colour::Black);
    CellLook key = f.w.GridDrawCell(2, 2, false);
    EXPECT_TRUE(key.fixed);
    EXPECT_FALSE(key.centred);
}

TEST(Search, OrFindsRowsWithAnyWordCaseIgnored) {
    SearchFixture f;
    f.load(kTable);
    f.search("ABC" + sj("　") + "DeF", true);
    EXPECT_EQ(f.w.Lab_Records.Caption, "4 ");
    EXPECT_EQ(f.w.Grid.cell(3, 3), "only abc");
    f.search(sj("ＡＢＣ"), true); // full-width letters are other characters
    EXPECT_EQ(f.w.Lab_Records.Caption, "0 ");
    EXPECT_EQ(f.w.Grid.rowCount(), 3); // the title rows and one empty row
    EXPECT_FALSE(f.w.Btn_Next.Enabled);
}

TEST(Search, NextAndPriorStepThroughFoundCellsToTheEnds) {
    SearchFixture f;
    f.load(kTable);
    f.search("abc def");
    f.w.Btn_NextClick(); // the second found cell of the same row
    EXPECT_EQ(f.w.View.col, 4);
    EXPECT_EQ(f.mainView.col, 3);
    EXPECT_EQ(f.mainView.leftCol, 2);
    f.w.Btn_NextClick();
    EXPECT_EQ(f.w.View.row, 3);
    EXPECT_EQ(f.w.View.col, 3);
    EXPECT_EQ(f.mainView.row, 5);
    EXPECT_EQ(f.mainView.topRow, 4); // one row of context above
    f.w.Btn_NextClick();
    EXPECT_EQ(f.w.View.col, 4);
    f.w.Btn_NextClick();
    EXPECT_EQ(f.prompts.last(), sj("後方に検索文字列はありません。"));
    EXPECT_EQ(f.w.View.col, 4);
    EXPECT_EQ(f.w.View.row, 3);
    f.w.Btn_PriorClick();
    EXPECT_EQ(f.w.View.col, 3);
    f.w.Btn_PriorClick();
    f.w.Btn_PriorClick();
    EXPECT_EQ(f.w.View.row, 2);
    EXPECT_EQ(f.w.View.col, 3);
    f.w.Btn_PriorClick();
    EXPECT_EQ(f.prompts.last(), sj("前方に検索文字列はありません。"));
    f.w.Btn_RowNextClick();
    EXPECT_EQ(f.w.View.row, 3);
    f.w.Btn_RowNextClick(); // the last row: nothing happens
    EXPECT_EQ(f.w.View.row, 3);
}

TEST(Search, DoubleClickLinksWithContextAndPassesOverStaleRows) {
    SearchFixture f;
    std::string csv = "h1,h2,h3,h4,h5\r\n";
    for (int i = 0; i < 6; ++i) csv += "a,b,c,d,e\r\n";
    csv += "a,b,c,d,found\r\n";
    f.load(csv);
    f.search("found");
    f.w.GridSelectCell(5, 2); // result column 5 holds source column 4
    f.w.GridDblClick();
    EXPECT_EQ(f.mainView.row, 8);
    EXPECT_EQ(f.mainView.col, 4);
    EXPECT_EQ(f.mainView.topRow, 7);
    EXPECT_EQ(f.mainView.leftCol, 3);
    const int shown = f.link.shown;
    f.doc.Grid.setRowCount(5); // the table was shortened after the search
    f.w.GridDblClick();
    EXPECT_EQ(f.link.shown, shown);
    f.w.GridSelectCell(1, 2); // a fixed column
    f.w.GridDblClick();
    EXPECT_EQ(f.link.shown, shown);
}

TEST(Search, ProgressEvery500RowsAndAStopKeepsWhatWasFound) {
    SearchFixture f;
    std::string csv = "title\r\n";
    for (int i = 0; i < 1200; ++i)
        csv += (i % 3 == 0 ? "hit " : "miss ") + std::to_string(i) + "\r\n";
    f.load(csv);
    f.clock.step = 100; // a slow search: every check point repaints
    std::vector<std::string> guides;
    f.host.onPending = [&] {
        guides.push_back(f.w.Lab_Guide.Caption);
        EXPECT_EQ(f.w.GuideColour, colour::Blue);
        EXPECT_TRUE(f.w.Btn_Stop.Visible);
        EXPECT_FALSE(f.w.Btn_Exec.Enabled);
        EXPECT_FALSE(f.w.Btn_Exit.Enabled);
        EXPECT_FALSE(f.w.Mn_Print.Enabled);
    };
    f.search("hit");
    EXPECT_EQ(guides, (std::vector<std::string>{" [ 500 / 1,202 ]", " [ 1,000 / 1,202 ]"}));
    EXPECT_EQ(f.w.Lab_Records.Caption, "400 ");
    EXPECT_EQ(f.w.Lab_Guide.Caption,
              sj("　検索結果はダブルクリックでベースウィンドウ側と連動します。"));
    EXPECT_EQ(f.w.GuideColour, colour::Black);

    // Stopped at row 500: the hits of rows 2 … 499 stay, and the steps work on them.
    f.host.onPending = [&] { f.w.Btn_StopClick(); };
    f.search("hit");
    EXPECT_EQ(f.w.Lab_Records.Caption, "166 ");
    EXPECT_EQ(f.w.FlgGrid.cell(0, f.w.Grid.rowCount() - 1), "497");
    EXPECT_TRUE(f.w.Btn_Next.Enabled);
    EXPECT_TRUE(f.w.Btn_Exec.Enabled);
    // Closing the window stops a search the same way.
    f.host.onPending = [&] { f.w.FormClose(); };
    f.search("hit");
    EXPECT_EQ(f.w.Lab_Records.Caption, "166 ");
}

TEST(Search, NoWordsShowsTheTitlesAndOneEmptyRow) {
    SearchFixture f;
    f.load(kTable);
    for (const char* blank : {"", "   ", "\t"}) {
        f.search(blank);
        EXPECT_EQ(f.w.Lab_Records.Caption, "0 ");
        EXPECT_EQ(f.w.Grid.rowCount(), 3);
        EXPECT_EQ(f.w.Grid.cell(0, 1), "SEQ");
        EXPECT_FALSE(f.w.Btn_Next.Enabled);
        EXPECT_TRUE(items(f.w).empty());
    }
    f.host.showing = false; // a search from a hidden window leaves the history alone
    f.search("abc");
    EXPECT_TRUE(items(f.w).empty());
    EXPECT_EQ(f.w.Lab_Records.Caption, "3 ");
}

TEST(Search, ResetEmptiesTheResultsAndDisablesTheSteps) {
    SearchFixture f;
    f.load(kTable);
    f.search("abc");
    f.w.ResetResults(false);
    EXPECT_EQ(f.w.Edt_Word, "abc");
    EXPECT_EQ(f.w.Lab_Records.Caption, "");
    EXPECT_FALSE(f.w.GridVisible);
    EXPECT_EQ(f.w.Grid.rowCount(), 1);
    EXPECT_EQ(f.w.Grid.colCount(), 1);
    EXPECT_EQ(f.w.FlgGrid.colCount(), 1);
    EXPECT_FALSE(f.w.Btn_Prior.Enabled);
    EXPECT_FALSE(f.w.Mn_Print.Enabled);
    EXPECT_EQ(f.w.SelCol, -1);
    f.w.ResetResults(true);
    EXPECT_EQ(f.w.Edt_Word, "");
}

TEST(Search, SavingWritesTitlesAndFoundRowsWithoutFixedColumns) {
    SearchFixture f;
    f.load(kTable);
    f.search("abc def");
    const std::string out = (f.dir / "found").string();
    f.prompts.fileNames = {out};
    f.w.Mn_FileSaveClick();
    ASSERT_EQ(f.prompts.dialogs.size(), 1u);
    EXPECT_EQ(f.prompts.dialogs[0].title, sj("検索結果を指定のファイル名で保存します。"));
    EXPECT_EQ(f.prompts.dialogs[0].fileName, "/opt/kolumbra/*.csv");
    EXPECT_TRUE(f.prompts.dialogs[0].askOverwrite);
    EXPECT_EQ(f.link.path, out + ".csv");
    EXPECT_EQ(test::readBytes(out + ".csv"),
              sj("名前,メモ,コード\r\n") + "abc,xdefx,1\r\nDEF,ABC def,4\r\n");
    // The next dialog starts from the name chosen last, its extension first in the filter.
    f.prompts.fileNames = {};
    f.w.Mn_FileSaveClick();
    EXPECT_EQ(f.prompts.dialogs[1].fileName, out + ".csv");
    EXPECT_EQ(f.prompts.dialogs[1].filter.substr(0, 13), "(*.csv)|*.csv");
    // A folder that cannot be written: the writer's message, nothing else changes.
    f.prompts.fileNames = {"/nonexistent-folder/x.csv"};
    f.w.Mn_FileSaveClick();
    EXPECT_EQ(f.prompts.last().rfind(sj("出力ファイルの作成に失敗しました。"), 0), 0u);
    EXPECT_NE(f.prompts.last().find("/nonexistent-folder/x.csv"), std::string::npos);
}

TEST(Search, EditedResultsAreSavedAndTheTableStaysAsItWas) {
    SearchFixture f;
    f.load(kTable);
    f.search("def");
    EXPECT_FALSE(f.w.GridCanEdit(0, 2)); // the sequence column
    EXPECT_FALSE(f.w.GridCanEdit(3, 1)); // a title row
    f.w.GridSetEditText(4, 2, "edited");
    f.w.GridSetEditText(0, 2, "99");
    EXPECT_EQ(f.doc.Grid.cell(3, 2), "xdefx");
    f.prompts.fileNames = {(f.dir / "edited.csv").string()};
    f.w.Mn_FileSaveClick();
    EXPECT_EQ(test::readBytes(f.dir / "edited.csv"),
              sj("名前,メモ,コード\r\n") + "abc,edited,1\r\n-,def,3\r\nDEF,ABC def,4\r\n");
}

TEST(Search, WordsWithBadBytesAndLongWordsSearchSafely) {
    SearchFixture f;
    f.load("\x83\x61,x\x82\r\n\x82,\x83\r\n", 0);
    f.search("\x82");
    EXPECT_EQ(f.w.Lab_Records.Caption, "2 "); // the lone lead bytes
    f.search("a");
    EXPECT_EQ(f.w.Lab_Records.Caption, "0 ");
    f.search(std::string(1000, 'x'));
    EXPECT_EQ(f.w.Lab_Records.Caption, "0 ");
    EXPECT_EQ(f.w.Cmb_FindWord.Items.front(), " 1. " + std::string(1000, 'x'));
}

} // namespace
} // namespace kol
