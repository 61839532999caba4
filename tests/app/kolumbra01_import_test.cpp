// Row import from a file reads as a load reads: the same checks, the same messages and reasons,
// and nothing imported when the file is refused.
#include "support/endless_pipe.h"
#include "support/fakes.h"
#include "support/test_support.h"
#include "table/load_memory.h"
#include "text/cp932.h"

#include <gtest/gtest.h>
#include <unistd.h>
#include <utility>

namespace kol {
namespace {

using S = TFm_Kolumbra01::Sender;
using test::Message;

// A table of a title line and two data lines (three lines in all), with the popup on the
// second data row.
struct Import : test::MainFixture {
    test::TempDir dir;
    Import() {
        test::writeBytes(dir / "t.csv", "h1,h2\r\nr1c1,r1c2\r\nr2c1,r2c2\r\n");
        EXPECT_TRUE(model.LoadTable((dir / "t.csv").string(), 1));
        model.PopupRow = 3;
    }
    std::string column() const {
        std::string out;
        for (int r = model.Grid.fixedRows(); r < model.Grid.rowCount(); ++r)
            out += std::string(model.Grid.cell(2, r)) + " ";
        return out;
    }
    void importFile(const std::string& path) {
        prompts.fileNames = {path};
        model.Pm_RowInsertFileClick(S::RowInsertFile);
    }
    // What a refused import must leave: the table, its history and its changed flag.
    void expectUnchanged() const {
        EXPECT_EQ(column(), "r1c1 r2c1 ");
        EXPECT_EQ(model.Grid.rowCount(), 4);
        EXPECT_EQ(model.Grid.colCount(), 4);
        EXPECT_EQ(model.historySize(), 0u);
        EXPECT_EQ(model.Modified, 0);
    }
};

TEST(ImportRead, AMissingFileGetsTheLoadsMessageWithItsReason) {
    Import f;
    const std::string missing = (f.dir / "gone.csv").string();
    f.importFile(missing);
    ASSERT_EQ(f.prompts.messages.size(), 1u);
    EXPECT_EQ(f.prompts.messages[0].kind, Message::Fail);
    // The import's own text as it was, and the reason on the line after, as a load shows it.
    EXPECT_EQ(f.prompts.last(), sj("ファイルを読み込めませんでした。\r\n\r\n   PATH = ") + missing +
                                    sj("\r\n   理由 : ファイルがありません。"));
    f.expectUnchanged();
    EXPECT_EQ(f.model.Settings.Path_SelectFile, missing);

    // Word for word what a load of the same file says.
    EXPECT_FALSE(f.model.LoadTable(missing, 1));
    ASSERT_EQ(f.prompts.messages.size(), 2u);
    EXPECT_EQ(f.prompts.messages[1].text, f.prompts.messages[0].text);

    // A device is refused with its reason, as a load refuses it.
    f.importFile("/dev/zero");
    EXPECT_EQ(f.prompts.last(),
              sj("ファイルを読み込めませんでした。\r\n\r\n   PATH = /dev/zero\r\n"
                 "   理由 : 通常のファイルではありません（装置やソケットなど）。"));
    f.expectUnchanged();
}

TEST(ImportRead, TextAfterANulIsLeftOutAndTheImportSaysSoAsALoadDoes) {
    Import f;
    const std::string path = (f.dir / "nul.csv").string();
    const char bytes[] = "x,y\r\nz\0rest\r\nmore\r\n"; // 13 bytes from the NUL on
    test::writeBytes(path, std::string(bytes, sizeof bytes - 1));
    const std::string nulMessage =
        sj("ファイルの途中に NUL 文字（バイナリーデータ）があります。\r\n\r\nNUL 文字から後の 13 "
           "バイトは読み込まれていません。\r\nこのファイルに上書き保存すると、その部分は"
           "失われます。\r\n\r\n   PATH = ") +
        path;

    // Answered No: nothing imported, nothing left out of the table, no warning.
    f.importFile(path);
    ASSERT_EQ(f.prompts.messages.size(), 1u);
    EXPECT_EQ(f.prompts.messages[0].kind, Message::Ask);
    f.expectUnchanged();

    // Answered Yes: the lines before the NUL go in (the question counts only those), then the
    // warning, once the rows are in.
    f.prompts.messages.clear();
    f.prompts.answers = {Answer::Yes};
    f.importFile(path);
    ASSERT_EQ(f.prompts.messages.size(), 2u);
    EXPECT_EQ(f.prompts.messages[0].kind, Message::Ask);
    EXPECT_EQ(f.prompts.messages[0].text, sj("このファイルを挿入します。\r\n\r\n   Path = ") +
                                              path + sj("\r\n\r\n   挿入行数 ： 2 行"));
    EXPECT_EQ(f.prompts.messages[1].kind, Message::Fail);
    EXPECT_EQ(f.prompts.messages[1].text, nulMessage);
    EXPECT_EQ(f.column(), "r1c1 x z r2c1 ");
    EXPECT_EQ(f.model.Grid.cell(3, 3), "y");
    EXPECT_EQ(f.model.Modified, 1);

    // A load of the file says the same words.
    f.prompts.messages.clear();
    EXPECT_TRUE(f.model.LoadTable(path, 1));
    ASSERT_EQ(f.prompts.messages.size(), 1u);
    EXPECT_EQ(f.prompts.messages[0].text, nulMessage);
}

TEST(ImportRead, AFileBeyondTheLineLimitIsRefusedWholeWithItsReason) {
    Import f;
    // The table holds three lines; with a limit of five, two more fit and three do not.
    f.model.MaxTableLines = 5;
    const std::string path = (f.dir / "more.csv").string();
    test::writeBytes(path, "a\r\nb\r\nc\r\n");
    f.prompts.answers = {Answer::Yes};
    f.importFile(path);
    // Refused before the question: nothing is ever half imported.
    ASSERT_EQ(f.prompts.messages.size(), 1u);
    EXPECT_EQ(f.prompts.messages[0].kind, Message::Fail);
    EXPECT_EQ(f.prompts.last(), sj("ファイルを読み込めませんでした。\r\n\r\n   PATH = ") + path +
                                    sj("\r\n   理由 : 行数が多すぎます（表に読み込める行数を超"
                                       "えています）。"));
    f.expectUnchanged();

    test::writeBytes(path, "a\r\nb\r\n");
    f.prompts.messages.clear();
    f.importFile(path);
    ASSERT_EQ(f.prompts.messages.size(), 1u);
    EXPECT_EQ(f.prompts.messages[0].kind, Message::Ask);
    EXPECT_EQ(f.column(), "r1c1 a b r2c1 ");
    EXPECT_EQ(f.model.Grid.rowCount(), 6); // five lines below the column numbers

    // A load beyond the same limit is refused with the same words, and the table stays.
    test::writeBytes(path, "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n");
    f.prompts.messages.clear();
    EXPECT_FALSE(f.model.LoadTable(path, 1));
    ASSERT_EQ(f.prompts.messages.size(), 1u);
    EXPECT_EQ(f.prompts.last(), sj("ファイルを読み込めませんでした。\r\n\r\n   PATH = ") + path +
                                    sj("\r\n   理由 : 行数が多すぎます（表に読み込める行数を超"
                                       "えています）。"));
    EXPECT_EQ(f.column(), "r1c1 a b r2c1 ");
}

TEST(ImportRead, APipeBeyondTheMemoryIsRefusedWithItsReason) {
    Import f;
    test::EndlessPipe pipe((f.dir / "pipe.csv").string());
    ASSERT_TRUE(pipe.ready());
    const std::string& fifo = pipe.path();
    setLoadMemoryLimitForTesting(1u << 20);
    f.importFile(fifo);
    setLoadMemoryLimitForTesting(0);
    ASSERT_EQ(f.prompts.messages.size(), 1u);
    EXPECT_EQ(f.prompts.last(), sj("ファイルを読み込めませんでした。\r\n\r\n   PATH = ") + fifo +
                                    sj("\r\n   理由 : メモリーが足りません。"));
    f.expectUnchanged();
}

// Placing the rows: running out of memory, or finding the file cut by another program, takes
// the import back whole, the rows and any columns it appended, and says why as a load does.
struct ImportPlacing : Import {
    std::string path = (dir / "big.csv").string();
    explicit ImportPlacing(const std::string& fields) {
        std::string text;
        for (int i = 0; i < 60000; ++i) text += "n" + std::to_string(i) + fields + "\r\n";
        test::writeBytes(path, text);
    }
    std::string failure(const std::string& reason) const {
        return sj("ファイルを読み込めませんでした。\r\n\r\n   PATH = ") + path +
               sj("\r\n   理由 : ") + reason;
    }
    void expectConsistent() const {
        EXPECT_EQ(model.RowFlags.size(), static_cast<std::size_t>(model.Grid.rowCount()));
        EXPECT_EQ(model.ColInfo.size(), static_cast<std::size_t>(model.Grid.colCount()));
    }
};

TEST(ImportPlace, OutOfMemoryWhilePlacingRowsTakesThemBack) {
    ImportPlacing f(",a field long enough to fill the arena quickly");
    f.prompts.answers = {Answer::Yes};
    setLoadMemoryLimitForTesting(1u << 20);
    f.importFile(f.path);
    setLoadMemoryLimitForTesting(0);
    ASSERT_EQ(f.prompts.messages.size(), 2u);
    EXPECT_EQ(f.prompts.messages[1].kind, Message::Fail);
    EXPECT_EQ(f.prompts.last(), f.failure(sj("メモリーが足りません。")));
    f.expectUnchanged();
    f.expectConsistent();
    EXPECT_EQ(f.model.CurrentSeparator, ',');

    // With memory the same file goes in.
    f.prompts.answers = {Answer::Yes};
    f.importFile(f.path);
    EXPECT_EQ(f.model.Grid.rowCount(), 4 + 60000);
    EXPECT_EQ(f.model.Grid.cell(2, 3), "n0");
}

TEST(ImportPlace, OutOfMemoryAfterColumnsWereAppendedTakesThoseBackToo) {
    ImportPlacing f(",b,c,d,e");
    // An earlier edit stays in the history, and the table stays changed.
    f.prompts.answers = {Answer::Yes};
    test::writeBytes(f.dir / "one.csv", "x1,x2\r\n");
    f.importFile((f.dir / "one.csv").string());
    ASSERT_EQ(f.model.historySize(), 1u);
    ASSERT_EQ(f.model.Modified, 1);
    const std::string before = f.column();

    f.prompts.messages.clear();
    f.prompts.answers = {Answer::Yes, Answer::Yes}; // insert, and widen the table
    setLoadMemoryLimitForTesting(1u << 20);
    f.importFile(f.path);
    setLoadMemoryLimitForTesting(0);
    ASSERT_EQ(f.prompts.messages.size(), 3u);
    EXPECT_EQ(f.prompts.last(), f.failure(sj("メモリーが足りません。")));
    EXPECT_EQ(f.column(), before);
    EXPECT_EQ(f.model.Grid.rowCount(), 5);
    EXPECT_EQ(f.model.Grid.colCount(), 4);
    EXPECT_EQ(f.model.historySize(), 1u);
    EXPECT_EQ(f.model.Modified, 1);
    f.expectConsistent();
}

TEST(ImportPlace, AFileCutByAnotherProgramWhileItIsPlacedIsTakenBack) {
    ImportPlacing f(",a");
    bool cut = false;
    f.host.busy = [&](bool on) {
        if (on && !std::exchange(cut, true)) {
            ASSERT_EQ(::truncate(f.path.c_str(), 4000), 0);
        }
    };
    f.prompts.answers = {Answer::Yes};
    f.importFile(f.path);
    f.host.busy = nullptr;
    ASSERT_TRUE(cut);
    EXPECT_EQ(f.prompts.last(), f.failure(sj("読み込みの途中でファイルがほかのプログラムに変更され"
                                             "ました（短くされました）。")));
    f.expectUnchanged();
    f.expectConsistent();
}

} // namespace
} // namespace kol
