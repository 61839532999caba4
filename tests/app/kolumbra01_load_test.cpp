// Loading tables into the main window model: files, the clipboard and start arguments.
#include "support/fakes.h"
#include "support/test_support.h"
#include "table/load_memory.h"
#include "table/separators.h"
#include "text/cp932.h"

#include <gtest/gtest.h>
#include <unistd.h>
#include <utility>

namespace kol {
namespace {

using test::MainFixture;
using test::Message;

std::string row(const StringGrid& g, int r) {
    std::string out;
    for (int c = 2; c < g.colCount(); ++c) out += (c > 2 ? "|" : "") + std::string(g.cell(c, r));
    return out;
}

TEST(MainLoad, EmptyFileGivesOneEmptyCell) {
    MainFixture f;
    ASSERT_TRUE(f.model.LoadTable(test::dataFile("empty.csv").string(), 1));
    EXPECT_EQ(f.model.Grid.rowCount(), 2);
    EXPECT_EQ(f.model.Grid.colCount(), 3);
    EXPECT_EQ(f.model.Lab_Fields.Caption, "1 ");
    EXPECT_EQ(f.model.Grid.cell(0, 0), "No.");
    EXPECT_EQ(f.model.Grid.cell(2, 0), "1");
    EXPECT_EQ(f.model.Modified, 0);
}

TEST(MainLoad, TitledFileShapeCaptionsAndWidths) {
    MainFixture f;
    std::string path = test::dataFile("titled.csv").string();
    f.model.Modified = 1;
    f.prompts.answers = {Answer::No};
    ASSERT_TRUE(f.model.LoadTable(path, 1));
    StringGrid& g = f.model.Grid;
    EXPECT_EQ(g.rowCount(), 7);
    EXPECT_EQ(g.colCount(), 9);
    EXPECT_EQ(g.fixedRows(), 2); // the header and one title row
    EXPECT_EQ(g.fixedCols(), 2);
    EXPECT_EQ(g.cell(8, 0), "7");
    EXPECT_EQ(g.cell(0, 1), "");
    EXPECT_EQ(g.cell(0, 2), "1");
    EXPECT_EQ(f.model.Lab_Records.Caption, "5");
    EXPECT_EQ(f.model.Lab_Fields.Caption, "7 ");
    EXPECT_EQ(f.model.Caption, "Kolumbra Ver 4.00  [ " + path + " ]");
    EXPECT_EQ(f.model.Modified, 0);
    EXPECT_EQ(f.model.Settings.Path_EditFile, path);
    EXPECT_EQ(f.model.View.col, 2);
    EXPECT_EQ(f.model.View.row, 2);
    // Widths: 9 and 1 letters for the fixed columns, data columns fitted between 5 and 25.
    const int w = f.model.LetterWidth;
    EXPECT_EQ(g.colWidth(0), 9 * w);
    EXPECT_EQ(g.colWidth(1), w);
    for (int c = 2; c < g.colCount(); ++c) {
        EXPECT_GE(g.colWidth(c), 5 * w);
        EXPECT_LE(g.colWidth(c), 25 * w);
        EXPECT_EQ(f.model.ColInfo[c].Width, g.colWidth(c));
    }
    EXPECT_EQ(f.model.RowFlags.size(), 7u);
    EXPECT_EQ(f.model.Cmb_FixedCol.Items.size(), 8u);
    EXPECT_EQ(f.model.Cmb_FixedCol.Items[1], " 1. " + sj("顧客番号"));
    EXPECT_TRUE(f.model.Btn_OpenCsv.Enabled);
    EXPECT_TRUE(f.model.GridVisible);
}

TEST(MainLoad, RaggedRowsWidenTheTable) {
    MainFixture f;
    ASSERT_TRUE(f.model.LoadTable(test::dataFile("ragged.csv").string(), 1));
    EXPECT_EQ(f.model.Grid.colCount(), 7);
    EXPECT_EQ(row(f.model.Grid, 1), "a|b|c||");
    EXPECT_EQ(row(f.model.Grid, 4), "||||");
}

TEST(MainLoad, SeparatorChoiceAppliesAtTheNextLoad) {
    MainFixture f;
    f.model.Cmb_Bunri.ItemIndex = 2;
    f.model.Cmb_BunriClick();
    EXPECT_EQ(f.model.CurrentSeparator, '\t');
    ASSERT_TRUE(f.model.LoadTable(test::dataFile("tabs.tsv").string(), 1));
    EXPECT_EQ(f.model.Grid.colCount() - 2, 3);
    f.model.Cmb_Bunri.ItemIndex = 0;
    f.model.Cmb_BunriClick();
    ASSERT_TRUE(f.model.LoadTable(test::dataFile("tabs.tsv").string(), 1));
    EXPECT_EQ(f.model.Grid.colCount() - 2, 1); // no separator: a line is one field
    EXPECT_EQ(f.model.Grid.colWidth(2), 80 * f.model.LetterWidth);
}

TEST(MainLoad, AFileThatCannotBeReadLeavesTheTable) {
    MainFixture f;
    ASSERT_TRUE(f.model.LoadTable(test::dataFile("titled.csv").string(), 1));
    f.model.Grid.setCell(2, 2, "edited");
    f.model.Modified = 1;
    test::TempDir dir;
    for (std::string bad : {(dir / "missing.csv").string(), dir.path().string()}) {
        EXPECT_FALSE(f.model.LoadTable(bad, 1));
        ASSERT_FALSE(f.prompts.messages.empty());
        EXPECT_EQ(f.prompts.messages.back().kind, Message::Fail);
        EXPECT_NE(f.prompts.last().find(bad), std::string::npos);
        EXPECT_EQ(f.model.Grid.cell(2, 2), "edited");
        EXPECT_EQ(f.model.Modified, 1);
        EXPECT_EQ(f.model.CsvFileInf.FileName, test::dataFile("titled.csv").string());
    }
}

TEST(MainLoad, BinaryAndInvalidBytesAreKept) {
    MainFixture f;
    const std::string nul = test::dataFile("nul-inside.csv").string();
    ASSERT_TRUE(f.model.LoadTable(nul, 1));
    EXPECT_EQ(f.model.Grid.rowCount(), 3); // the text ends at the NUL inside the second line
    // ... and the user is told what was left out, since a save over the file would lose it.
    const std::size_t left = test::readBytes(nul).size() - test::readBytes(nul).find('\0');
    ASSERT_EQ(f.prompts.messages.size(), 1u);
    EXPECT_EQ(f.prompts.messages[0].kind, Message::Fail);
    EXPECT_EQ(
        f.prompts.last(),
        sj("ファイルの途中に NUL 文字（バイナリーデータ）があります。\r\n\r\nNUL 文字から後の ") +
            std::to_string(left) +
            sj(" バイトは読み込まれていません。\r\nこのファイルに上書き保存すると、その部分は"
               "失われます。\r\n\r\n   PATH = ") +
            nul);
    ASSERT_TRUE(f.model.LoadTable(test::dataFile("invalid-sjis.csv").string(), 1));
    std::string all;
    for (int r = 1; r < f.model.Grid.rowCount(); ++r)
        for (int c = 2; c < f.model.Grid.colCount(); ++c) all += f.model.Grid.cell(c, r);
    for (char b : {'\x80', '\xA0', '\xFD', '\xFE', '\xFF'})
        EXPECT_NE(all.find(b), std::string::npos);
}

TEST(MainLoad, ADeviceIsRefusedWithItsReason) {
    MainFixture f;
    EXPECT_FALSE(f.model.LoadTable("/dev/zero", 1));
    EXPECT_EQ(f.prompts.messages.back().kind, Message::Fail);
    EXPECT_EQ(f.prompts.last(),
              sj("ファイルを読み込めませんでした。\r\n\r\n   PATH = /dev/zero\r\n"
                 "   理由 : 通常のファイルではありません（装置やソケットなど）。"));
}

TEST(MainLoad, ATableBeyondTheMemoryIsAnErrorNeverAPartialTable) {
    MainFixture f;
    ASSERT_TRUE(f.model.LoadTable(test::dataFile("titled.csv").string(), 1));
    test::TempDir dir;
    const std::string big = (dir / "big.csv").string();
    std::string text;
    for (int i = 0; i < 100000; ++i) text += "field," + std::to_string(i) + "\r\n";
    test::writeBytes(big, text);
    setLoadMemoryLimitForTesting(1u << 20);
    EXPECT_FALSE(f.model.LoadTable(big, 1));
    setLoadMemoryLimitForTesting(0);
    EXPECT_EQ(f.prompts.last(), sj("ファイルを読み込めませんでした。\r\n\r\n   PATH = ") + big +
                                    sj("\r\n   理由 : メモリーが足りません。"));
    // An empty table without a name, so that no save can put it over the file.
    EXPECT_EQ(f.model.Grid.rowCount(), 2);
    EXPECT_EQ(f.model.Grid.colCount(), 3);
    EXPECT_TRUE(f.model.CsvFileInf.FileName.empty());
    EXPECT_EQ(f.model.Modified, 0);
    EXPECT_TRUE(f.model.LoadTable(big, 1));
    EXPECT_EQ(f.model.Grid.rowCount(), 100001);
}

TEST(MainLoad, AMissingFileIsToldFromAMissingFolder) {
    MainFixture f;
    ASSERT_TRUE(f.model.LoadTable(test::dataFile("titled.csv").string(), 1));
    test::TempDir dir;
    const std::string file = (dir / "none.csv").string();
    EXPECT_FALSE(f.model.LoadTable(file, 1));
    EXPECT_EQ(f.prompts.last(), sj("ファイルを読み込めませんでした。\r\n\r\n   PATH = ") + file +
                                    sj("\r\n   理由 : ファイルがありません。"));
    const std::string folder = (dir / "none/t.csv").string();
    EXPECT_FALSE(f.model.LoadTable(folder, 1));
    EXPECT_EQ(f.prompts.last(), sj("ファイルを読み込めませんでした。\r\n\r\n   PATH = ") + folder +
                                    sj("\r\n   理由 : フォルダーが見つかりません。"));
    EXPECT_EQ(f.model.Grid.rowCount(), 7); // the table stays
}

TEST(MainLoad, AFileShortenedWhileItIsReadIsAnErrorNeverAPartialTable) {
    MainFixture f;
    ASSERT_TRUE(f.model.LoadTable(test::dataFile("titled.csv").string(), 1));
    test::TempDir dir;
    const std::string path = (dir / "big.csv").string();
    std::string text;
    for (int i = 0; i < 100000; ++i) text += "field," + std::to_string(i) + ",more text\r\n";
    test::writeBytes(path, text);
    // Another program cuts the file once it has been read and counted, before the fill.
    bool cut = false;
    f.host.repainting = [&] {
        if (!std::exchange(cut, true)) {
            ASSERT_EQ(::truncate(path.c_str(), 5000), 0);
        }
    };
    EXPECT_FALSE(f.model.LoadTable(path, 1));
    f.host.repainting = nullptr;
    ASSERT_TRUE(cut);
    EXPECT_EQ(f.prompts.last(), sj("ファイルを読み込めませんでした。\r\n\r\n   PATH = ") + path +
                                    sj("\r\n   理由 : 読み込みの途中でファイルがほかのプログラ"
                                       "ムに変更されました（短くされました）。"));
    EXPECT_EQ(f.model.Grid.rowCount(), 2);
    EXPECT_EQ(f.model.Grid.colCount(), 3);
    EXPECT_TRUE(f.model.CsvFileInf.FileName.empty());
    EXPECT_EQ(f.model.Modified, 0);
    EXPECT_TRUE(f.model.LoadTable(path, 1)); // what is left of it loads
}

// Wherever memory runs out — the read-ahead of a file named at start, the fill, the key column
// copied into every row — the load ends with its message and an empty table, never the program.
TEST(MainLoad, OutOfMemoryAnywhereInAStartLoadIsTheLoadsError) {
    test::TempDir dir;
    const std::string big = (dir / "big.csv").string();
    std::string text;
    for (int i = 0; i < 100000; ++i) text += "key" + std::to_string(i) + ",field," + "\r\n";
    test::writeBytes(big, text);
    int failed = 0, loaded = 0;
    for (std::size_t mib : {1, 4, 6, 8, 10, 12, 16, 20, 64}) {
        MainFixture f;
        f.model.Settings.Cmb_FixedCol = 1; // the first column shown as the key column
        setLoadMemoryLimitForTesting(mib << 20);
        f.model.PrepareStartFile({big});
        EXPECT_NO_THROW(f.model.MyTimerTimer({big})) << mib;
        setLoadMemoryLimitForTesting(0);
        if (f.prompts.messages.empty()) {
            ++loaded;
            EXPECT_EQ(f.model.Grid.rowCount(), 100001) << mib;
            EXPECT_EQ(f.model.Grid.cell(1, 2), " key1") << mib; // the key column, as shown
        } else {
            ++failed;
            EXPECT_EQ(f.prompts.last(), sj("ファイルを読み込めませんでした。\r\n\r\n   PATH = ") +
                                            big + sj("\r\n   理由 : メモリーが足りません。"))
                << mib;
            EXPECT_EQ(f.model.Grid.rowCount(), 2) << mib;
            EXPECT_TRUE(f.model.CsvFileInf.FileName.empty()) << mib;
        }
    }
    EXPECT_GT(failed, 0);
    EXPECT_GT(loaded, 0);
}

TEST(MainLoad, AHundredThousandFieldsAndTheirColumnNumbers) {
    // Numbered one cell at a time, each rebuilding the row: 46 s for this line.
    MainFixture f;
    test::TempDir dir;
    std::string line;
    for (int i = 0; i < 100000; ++i) line += (i ? "," : "") + std::to_string(i);
    test::writeBytes(dir / "wide.csv", line + "\r\n");
    ASSERT_TRUE(f.model.LoadTable((dir / "wide.csv").string(), 1));
    EXPECT_EQ(f.model.Grid.colCount(), 100002);
    EXPECT_EQ(f.model.Grid.cell(100001, 0), "100000");
    EXPECT_EQ(f.model.Lab_Fields.Caption, "100000 ");
}

TEST(MainClipboard, TabTextLoadsAsColumnsAndKeepsTheComboChoice) {
    MainFixture f;
    f.clipboard.content = "a\tb,c\r\n1\t2\r\n";
    f.prompts.answers = {Answer::Yes};
    f.model.Btn_OpenBoardClick();
    EXPECT_EQ(f.model.Grid.colCount() - 2, 2);
    EXPECT_EQ(f.model.Grid.cell(3, 1), "b,c");
    EXPECT_EQ(f.model.CurrentSeparator, ',');
    EXPECT_EQ(f.model.Cmb_Bunri.ItemIndex, 1);
    EXPECT_EQ(f.model.Modified, 1);
    EXPECT_EQ(f.prompts.messages[0].text,
              sj("現在のクリップボードの内容を 【 読み込み 】 ます。\r\n\r\n   先頭内容 → ") +
                  "a\tb,c\r\n1\t2\r\n" + "\r\n\r\n" + sj("          行数 ： 2 行"));
}

TEST(MainClipboard, NoAndEmptyLeaveTheTable) {
    MainFixture f;
    ASSERT_TRUE(f.model.LoadTable(test::dataFile("titled.csv").string(), 1));
    f.clipboard.content = "x,y\r\n";
    f.model.Btn_OpenBoardClick(); // answered No
    EXPECT_EQ(f.model.Grid.colCount() - 2, 7);
    f.clipboard.content.clear();
    f.model.Btn_OpenBoardClick();
    EXPECT_EQ(f.prompts.last(), sj("現在、クリップボードにデータはありません。"));
    EXPECT_EQ(f.model.Grid.colCount() - 2, 7);
}

TEST(MainStart, StartKeysChooseSeparatorRowsAndCaption) {
    MainFixture f;
    std::string path = test::dataFile("tabs.tsv").string();
    f.model.OpenArgument(path + ",Key:BNR=TAB,Key:FixedRows=2,key:caption=My table");
    EXPECT_EQ(f.model.CurrentSeparator, '\t');
    EXPECT_EQ(f.model.Cmb_FixedRows.ItemIndex, 2);
    EXPECT_EQ(f.model.Grid.fixedRows(), 3);
    EXPECT_EQ(f.model.Grid.colCount() - 2, 3);
    EXPECT_EQ(f.model.Caption, "My table");
    f.model.UpdateCaptions();
    EXPECT_EQ(f.model.Caption, "My table");

    f.model.OpenArgument(path + ",Key:BNR=Comma");
    EXPECT_EQ(f.model.CurrentSeparator, ',');
    f.model.OpenArgument(path + ",Key:BNR=nothing");
    EXPECT_EQ(f.model.CurrentSeparator, ',');
    EXPECT_EQ(f.model.Caption, "Kolumbra Ver 4.00  [ " + path + " ]");
}

TEST(MainStart, FoldersMissingFilesAndTheClipboardKey) {
    MainFixture f;
    test::TempDir dir;
    f.model.OpenArgument(dir.path().string() + "/");
    EXPECT_EQ(f.model.Settings.Path_EditFile, dir.path().string() + "/*.*");
    EXPECT_TRUE(f.prompts.messages.empty());

    f.model.OpenArgument((dir / "gone.csv").string());
    ASSERT_EQ(f.prompts.messages.size(), 1u);
    EXPECT_EQ(f.prompts.messages[0].kind, Message::Inform);
    EXPECT_EQ(
        f.prompts.messages[0].text,
        sj("\r\n★\r\n★ これは現在編集中か又は他で使用中のファイルです。\r\n★\r\n\r\n   PATH = ") +
            (dir / "gone.csv").string());

    f.clipboard.content = "p,q\r\n";
    f.model.OpenArgument("Key:ClipBoard,Key:ClipCaption=Clip");
    EXPECT_EQ(f.prompts.messages.size(), 1u); // no question
    EXPECT_EQ(f.model.Caption, "Kolumbra Ver 4.00  [ Clip ]");
    EXPECT_EQ(f.model.Modified, 0);
    EXPECT_EQ(f.model.Grid.cell(3, 1), "q");

    f.model.OpenArgument("");
    EXPECT_EQ(f.model.Grid.cell(3, 1), "q");
}

TEST(MainStart, BadIntegerKeyIsReportedAndTheFileStillOpens) {
    MainFixture f;
    f.model.OpenArgument(test::dataFile("ragged.csv").string() + ",Key:FixedRows=two");
    ASSERT_FALSE(f.prompts.messages.empty());
    EXPECT_EQ(f.prompts.messages[0].kind, Message::Fail);
    EXPECT_EQ(f.model.Grid.colCount() - 2, 5);
}

TEST(MainStart, ADroppedFileWithCommasInItsNameOpens) {
    MainFixture f;
    test::TempDir dir;
    const std::string path = (dir / "sales,2026,q4.csv").string();
    test::writeBytes(path, "a,b\r\n");
    f.model.FilesDropped({path});
    EXPECT_EQ(f.model.CsvFileInf.FileName, path);
    EXPECT_EQ(f.model.Grid.colCount() - 2, 2);
}

TEST(MainStart, OnlyTheFirstDroppedFileOpens) {
    MainFixture f;
    f.model.FilesDropped({test::dataFile("ragged.csv").string(),
                          test::dataFile("titled.csv").string(),
                          test::dataFile("tabs.tsv").string()});
    EXPECT_EQ(f.model.CsvFileInf.FileName, test::dataFile("ragged.csv").string());
}

} // namespace
} // namespace kol
