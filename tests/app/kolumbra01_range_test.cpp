// Range clip, paste, clear and conversion, and marks, on the main window model.
#include "support/fakes.h"
#include "support/test_support.h"
#include "text/cp932.h"

#include <gtest/gtest.h>

namespace kol {
namespace {

using S = TFm_Kolumbra01::Sender;

struct Range : test::MainFixture {
    test::TempDir dir;
    explicit Range(const std::string& text = "h1,h2,h3\r\na,b,c\r\nd,e,f\r\ng,h,i\r\n") {
        std::string path = (dir / "t.csv").string();
        test::writeBytes(path, text);
        EXPECT_TRUE(model.LoadTable(path, 1));
        model.Mn_ConfPaste.Checked = model.Mn_ConfClear.Checked = false;
    }
    void select(int l, int t, int r, int b) {
        model.View.setCurrent(l, t);
        model.View.selection = {l, t, r, b};
    }
    std::string row(int r) const {
        std::string out;
        for (int c = 2; c < model.Grid.colCount(); ++c)
            out += (c > 2 ? "|" : "") + std::string(model.Grid.cell(c, r));
        return out;
    }
};

TEST(RangeClip, PastesTheValuesOfClipTime) {
    Range f;
    f.select(2, 2, 3, 3); // a b / d e
    f.model.Pm_RangeClipClick(S::RangeClip);
    EXPECT_EQ(f.clipboard.content, "a,b\r\nd,e");
    EXPECT_EQ(f.model.ClipKind, ClipContent::Cells);
    EXPECT_EQ(f.model.ClipRange, (GridRect{2, 2, 3, 3}));
    f.model.Grid.setCell(2, 2, "changed");
    f.select(3, 3, 3, 3);
    f.model.Pm_RangeClipPasteClick(S::RangeClipPaste);
    EXPECT_EQ(f.row(3), "d|a|b");
    EXPECT_EQ(f.row(4), "g|d|e");
    EXPECT_EQ(f.model.Modified, 1);
    EXPECT_EQ(f.model.Mn_Undo.Caption, sj("元に戻す  #1  【範囲貼り付け】"));
    f.model.Mn_UndoClick();
    EXPECT_EQ(f.row(3), "d|e|f");
    EXPECT_EQ(f.row(4), "g|h|i");
}

TEST(RangeClip, PasteNeverGrowsTheTableAndUndoRestoresWhatWasWritten) {
    Range f;
    f.select(2, 2, 4, 2);
    f.model.Pm_RangeClipClick(S::RangeClip);
    f.select(4, 4, 4, 4);
    f.model.Pm_RangeClipPasteClick(S::RangeClipPaste);
    EXPECT_EQ(f.model.Grid.colCount(), 5);
    EXPECT_EQ(f.row(4), "g|h|a");
    f.model.Mn_UndoClick();
    EXPECT_EQ(f.row(4), "g|h|i");
    EXPECT_EQ(f.model.Grid.colCount(), 5);
}

TEST(RangeClip, ClearPutsTheCellsOnTheClipboardForALaterPaste) {
    Range f;
    f.model.Mn_ConfClear.Checked = true;
    f.prompts.answers = {Answer::Yes};
    f.select(2, 2, 3, 2);
    f.model.Pm_RangeClearClick();
    EXPECT_EQ(f.prompts.messages[0].text,
              sj("【 クリアー 】\r\n\r\n   カーソル位置の範囲のセルをクリアーします。"));
    EXPECT_EQ(f.row(2), "||c");
    EXPECT_EQ(f.model.ClipKind, ClipContent::None);
    f.select(3, 4, 3, 4);
    f.model.Pm_RangeClipPasteClick(S::RangeClipPaste);
    EXPECT_EQ(f.row(4), "g|a|b");
}

TEST(RangeClip, ClipboardTextIsSplitLikeTheReader) {
    Range f;
    f.clipboard.content = "\"x,1\",y\r\nz";
    f.select(2, 3, 2, 3);
    f.model.Pm_RangeClipPasteClick(S::RangeClipPaste);
    EXPECT_EQ(f.row(3), "x,1|y|f");
    EXPECT_EQ(f.row(4), "z||i"); // the short line pastes its missing field empty
    f.clipboard.content = "p\tq";
    f.model.Mn_ConfPaste.Checked = true;
    f.prompts.answers = {Answer::No};
    f.model.Pm_RangeClipPasteClick(S::RangeClipPaste);
    EXPECT_EQ(f.row(3), "x,1|y|f");
    EXPECT_EQ(f.model.CurrentSeparator, ',');
}

TEST(RangeClip, RowAndColumnClipsPasteAtTheFirstDataCell) {
    Range f;
    f.select(2, 2, 4, 2);
    f.model.Pm_RangeClipClick(S::RowClip);
    EXPECT_EQ(f.model.ClipKind, ClipContent::Rows);
    f.select(4, 4, 4, 4);
    f.model.Pm_RangeClipPasteClick(S::RowClipPaste);
    EXPECT_EQ(f.row(4), "a|b|c");
    f.select(2, 2, 2, 3);
    f.model.Pm_RangeClipClick(S::ColClip);
    f.select(4, 4, 4, 4);
    f.model.Pm_RangeClipPasteClick(S::ColClipPaste);
    EXPECT_EQ(f.row(2), "a|b|a");
    EXPECT_EQ(f.row(3), "d|e|d");
    f.model.Pm_RangeClipClrClick();
    EXPECT_EQ(f.clipboard.content, "");
    EXPECT_FALSE(f.model.ClipRange.valid());
}

TEST(RangeConvert, WidthAndKanaWithTheirQuestion) {
    Range f(sj("h\r\nｶﾞｷﾞ\r\n\r\nひらがな\r\n"));
    f.select(2, 2, 2, 4);
    f.prompts.answers = {Answer::Yes};
    f.model.Pm_StrCvtHanToZenClick(S::StrCvtHanToZen);
    EXPECT_EQ(f.prompts.messages[0].text,
              sj("カーソル位置の範囲のセルの文字変換を行います。\r\n\r\n      【  半角 → 全角 】"));
    EXPECT_EQ(f.model.Grid.cell(2, 2), sj("ガギ"));
    EXPECT_EQ(f.model.Grid.cell(2, 3), ""); // empty stays empty
    f.prompts.answers = {Answer::Yes};
    f.model.Pm_StrCvtHanToZenClick(S::StrCvtHiraToKata);
    EXPECT_EQ(f.model.Grid.cell(2, 4), sj("ヒラガナ"));
    f.model.Mn_UndoClick();
    f.model.Mn_UndoClick();
    EXPECT_EQ(f.model.Grid.cell(2, 2), sj("ｶﾞｷﾞ"));
    EXPECT_EQ(f.model.Grid.cell(2, 4), sj("ひらがな"));
    f.model.Pm_StrCvtHanToZenClick(S::StrCvtZenToHan); // answered No
    EXPECT_EQ(f.model.historySize(), 0u);
    EXPECT_NE(f.prompts.last().find(sj("【  全角 → 半角 】")), std::string::npos);
}

TEST(Marks, SetClearAndClearAllAfterTheQuestion) {
    Range f;
    f.select(2, 2, 2, 3);
    f.model.Pm_RowMarkSetClick(S::MarkSet);
    EXPECT_EQ(f.model.RowFlags[2].Mark, 1);
    EXPECT_EQ(f.model.RowFlags[3].Mark, 1);
    f.model.Pm_RowMarkSetClick(S::MarkClearAll); // No
    EXPECT_EQ(f.model.RowFlags[3].Mark, 1);
    f.select(3, 2, 4, 2);
    f.model.Pm_ColMarkSetClick(S::MarkSet);
    EXPECT_EQ(f.model.MarkedColumnCount, 2);
    f.prompts.answers = {Answer::Yes};
    f.model.Pm_ColMarkSetClick(S::MarkClearAll);
    EXPECT_EQ(f.model.MarkedColumnCount, 0);
    EXPECT_EQ(f.prompts.last(),
              sj("すべての 【 列 】 のマーキングを解除します。\r\n\r\nよろしいですか？"));
}

TEST(Marks, SavedDataIsTheIntersectionWithTheHeaderRows) {
    Range f;
    f.model.Mn_MarkSaveClick();
    EXPECT_EQ(f.prompts.last(), sj("現在、マーキングされたデータはありません。"));
    f.model.ColInfo[3].Marked = 1;
    std::string out = (f.dir / "marked").string();
    f.prompts.fileNames = {out};
    f.model.Mn_MarkSaveClick();
    EXPECT_EQ(test::readBytes(out + ".csv"), "h2\r\nb\r\ne\r\nh\r\n"); // only columns: every row
    f.model.RowFlags[3].Mark = 1;
    f.prompts.fileNames = {out + ".csv"};
    f.model.Mn_MarkSaveClick();
    EXPECT_EQ(test::readBytes(out + ".csv"), "h2\r\ne\r\n");
    f.model.ColInfo[3].Marked = 0;
    f.prompts.fileNames = {out + ".csv"};
    f.model.Mn_MarkSaveClick();
    EXPECT_EQ(test::readBytes(out + ".csv"), "h1,h2,h3\r\nd,e,f\r\n"); // only rows: every column
    EXPECT_EQ(f.model.Settings.Path_SelectFile, out + ".csv");
}

} // namespace
} // namespace kol
