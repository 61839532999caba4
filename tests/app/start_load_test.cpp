// The file named at start, read ahead while the window waits for its start timer: taken only
// when it is what a load now would give, and never at the cost of what the file holds.
#include "app/start_load.h"
#include "support/fakes.h"
#include "support/test_support.h"
#include "table/separators.h"
#include "table/table_load.h"
#include "text/cp932.h"
#include "view/break_colours.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace kol {
namespace {

using test::MainFixture;

// Ragged, quoted, Shift-JIS, CR-only and empty lines, an invalid byte: a fill has work to do.
const std::string kTable = "id,name,note\r\n"
                           "1,\"a,b\",x\r\n"
                           "1,\x93\xfa\x96\x7b,\r"
                           "2,\"q\"\"q\",y,z\n"
                           "\n"
                           "2,\x81,\r\n"
                           "3\r\n";

void expectSameTable(const TableDocument& a, const TableDocument& b) {
    ASSERT_EQ(a.Grid.rowCount(), b.Grid.rowCount());
    ASSERT_EQ(a.Grid.colCount(), b.Grid.colCount());
    ASSERT_EQ(a.RowFlags.size(), b.RowFlags.size());
    for (int r = 0; r < a.Grid.rowCount(); ++r) {
        for (int c = 0; c < a.Grid.colCount(); ++c)
            EXPECT_EQ(a.Grid.cell(c, r), b.Grid.cell(c, r)) << c << "," << r;
        EXPECT_EQ(0, std::memcmp(&a.RowFlags[r], &b.RowFlags[r], sizeof(RowFlag))) << r;
    }
}

TEST(StartLoad, TakesWhatALoadGivesOnlyForTheSameFileAndOptions) {
    test::TempDir dir;
    const std::string path = (dir / "t.csv").string();
    test::writeBytes(path, kTable);
    const StartLoad::Options options{',', RowLabelRule{}, true};

    TableDocument loaded;
    ASSERT_TRUE(loadTableFile(path, loaded, TableLoadOptions{}).ok());
    loaded.Grid.setFixedRows(1);
    RecomputeBreakColours(loaded.Grid, loaded.RowFlags, -1, 0);
    {
        StartLoad ahead(path, options);
        auto table = ahead.take(path, options, {});
        ASSERT_TRUE(table);
        EXPECT_EQ(table->Loaded.lines, 7u);
        EXPECT_EQ(table->Loaded.filled.maxFields, 4u);
        expectSameTable(table->Doc, loaded);
        EXPECT_FALSE(ahead.take(path, options, {})); // once only
    }
    for (StartLoad::Options other : {StartLoad::Options{'\t', RowLabelRule{}, true},
                                     StartLoad::Options{',', RowLabelRule{true, 1}, true},
                                     StartLoad::Options{',', RowLabelRule{}, false}}) {
        StartLoad ahead(path, options);
        EXPECT_FALSE(ahead.take(path, other, {}));
    }
    StartLoad ahead(path, options);
    EXPECT_FALSE(ahead.take(path + "x", options, {}));
}

TEST(StartLoad, AFileChangedOrReplacedAfterTheReadIsReadAgain) {
    test::TempDir dir;
    const std::string path = (dir / "t.csv").string();
    const StartLoad::Options options{',', RowLabelRule{}, false};
    test::writeBytes(path, "a,b\n");
    {
        StartLoad ahead(path, options);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        test::writeBytes(path, "a,c\n"); // same size, new content and time
        struct stat st {};
        ASSERT_EQ(::stat(path.c_str(), &st), 0);
        timespec times[2] = {st.st_atim, {st.st_mtim.tv_sec + 5, 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
        EXPECT_FALSE(ahead.take(path, options, {}));
    }
    {
        StartLoad ahead(path, options);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        test::writeBytes(path + ".new", "a,c\n");
        ASSERT_EQ(std::rename((path + ".new").c_str(), path.c_str()), 0);
        EXPECT_FALSE(ahead.take(path, options, {}));
    }
    {
        StartLoad ahead((dir / "missing.csv").string(), options);
        EXPECT_FALSE(ahead.take((dir / "missing.csv").string(), options, {}));
    }
}

TEST(StartLoad, ALargeReadReportsItsProgressAndStopsWhenNotWanted) {
    test::TempDir dir;
    const std::string path = (dir / "big.csv").string();
    std::string text;
    for (int i = 0; i < 300000; ++i) text += std::to_string(i) + ",abcdefghij,klmnopqrstu\n";
    test::writeBytes(path, text);
    const StartLoad::Options options{',', RowLabelRule{}, true};
    {
        StartLoad ahead(path, options);
        std::size_t calls = 0, lastTotal = 0;
        auto table = ahead.take(path, options, [&](std::size_t done, std::size_t total) {
            ++calls;
            lastTotal = total;
            EXPECT_TRUE(total == 0 || done < total);
        });
        ASSERT_TRUE(table);
        EXPECT_EQ(table->Doc.Grid.rowCount(), 300001);
        EXPECT_EQ(table->Doc.Grid.cell(2, 300000), "299999");
        if (calls > 0 && lastTotal > 0) {
            EXPECT_EQ(lastTotal, 300000u);
        }
    }
    // Dropped at once, or refused for another file, the read stops and the thread ends.
    { StartLoad ahead(path, options); }
    StartLoad ahead(path, options);
    EXPECT_FALSE(ahead.take(path, StartLoad::Options{';', RowLabelRule{}, true}, {}));
}

// The window's start: the read-ahead table must be the one the timer's load would show.
TEST(MainStart, TheFileReadAheadShowsAsALoadWouldShowIt) {
    test::TempDir dir;
    const std::string path = (dir / "t.csv").string();
    test::writeBytes(path, kTable);

    MainFixture loaded;
    loaded.model.Mn_BreakColor.Checked = true;
    ASSERT_TRUE(loaded.model.LoadTable(path, 0));

    MainFixture started;
    started.model.Mn_BreakColor.Checked = true;
    started.model.PrepareStartFile({path});
    started.model.MyTimerTimer({path});
    expectSameTable(started.model.Doc, loaded.model.Doc);
    EXPECT_EQ(started.model.Caption, loaded.model.Caption);
    EXPECT_EQ(started.model.CsvFileInf.LineCount, 7u);
    for (int c = 0; c < loaded.model.Grid.colCount(); ++c) {
        EXPECT_EQ(started.model.Grid.colWidth(c), loaded.model.Grid.colWidth(c));
        EXPECT_EQ(started.model.ColInfo[c].Width, loaded.model.ColInfo[c].Width);
    }
    EXPECT_EQ(started.model.Grid.fixedRows(), loaded.model.Grid.fixedRows());
    EXPECT_TRUE(started.prompts.messages.empty());

    // Text after a NUL byte is left out, and the start says so as a load does.
    test::writeBytes(path, std::string("a,b\r\nc\0rest", 11));
    MainFixture cut;
    cut.model.PrepareStartFile({path});
    cut.model.MyTimerTimer({path});
    ASSERT_EQ(cut.prompts.messages.size(), 1u);
    EXPECT_EQ(cut.prompts.messages[0].text, nulCutMessage(path, 5));
    EXPECT_EQ(cut.model.Grid.cell(2, 2), "c");
}

// A file cut at a NUL byte: the table read ahead is the table a load gives, and the start
// says what was left out in the load's words.
TEST(MainStart, AFileCutAtANulReadAheadAgreesWithTheWindowsLoad) {
    test::TempDir dir;
    const std::string path = (dir / "cut.csv").string();
    const char bytes[] = "id,name\r\n1,\"a,b\",x\r\n2\r\n3,\x93\xfa\0tail,more\r\n4,z\r\n";
    test::writeBytes(path, std::string(bytes, sizeof bytes - 1));
    const std::size_t left = sizeof bytes - 1 - std::string(bytes, sizeof bytes - 1).find('\0');
    const std::string nulMessage =
        sj("ファイルの途中に NUL 文字（バイナリーデータ）があります。\r\n\r\nNUL 文字から後の ") +
        std::to_string(left) +
        sj(" バイトは読み込まれていません。\r\nこのファイルに上書き保存すると、その部分は"
           "失われます。\r\n\r\n   PATH = ") +
        path;

    // The read-ahead itself: loadTableFile's table and what it reported.
    TableDocument loadedDoc;
    const TableLoadResult direct = loadTableFile(path, loadedDoc, TableLoadOptions{});
    ASSERT_TRUE(direct.ok());
    const StartLoad::Options options{',', RowLabelRule{}, false};
    {
        StartLoad ahead(path, options);
        auto table = ahead.take(path, options, {});
        ASSERT_TRUE(table);
        EXPECT_EQ(table->Loaded.droppedFromNul, left);
        EXPECT_EQ(table->Loaded.lines, direct.lines);
        EXPECT_EQ(table->Loaded.filled.longestField, direct.filled.longestField);
        expectSameTable(table->Doc, loadedDoc);
    }

    MainFixture loaded;
    ASSERT_TRUE(loaded.model.LoadTable(path, 0));
    MainFixture started;
    started.model.PrepareStartFile({path});
    started.model.MyTimerTimer({path});
    expectSameTable(started.model.Doc, loaded.model.Doc);
    EXPECT_EQ(started.model.Grid.cell(2, 4), "3");
    EXPECT_EQ(started.model.Grid.cell(3, 4), "\x93\xfa");
    EXPECT_EQ(started.model.Grid.rowCount(), 5);
    for (int c = 0; c < loaded.model.Grid.colCount(); ++c)
        EXPECT_EQ(started.model.Grid.colWidth(c), loaded.model.Grid.colWidth(c));
    EXPECT_EQ(started.model.CsvFileInf.DroppedFromNul, loaded.model.CsvFileInf.DroppedFromNul);
    EXPECT_EQ(started.model.CsvFileInf.LineCount, loaded.model.CsvFileInf.LineCount);
    EXPECT_EQ(started.model.Lab_Fields.Caption, loaded.model.Lab_Fields.Caption);
    EXPECT_EQ(started.model.Caption, loaded.model.Caption);
    for (auto* f : {&loaded, &started}) {
        ASSERT_EQ(f->prompts.messages.size(), 1u);
        EXPECT_EQ(f->prompts.messages[0].kind, test::Message::Fail);
        EXPECT_EQ(f->prompts.messages[0].text, nulMessage);
    }
}

// The read-ahead keeps the window's line limit: a file beyond it is refused at start in the
// load's words, never taken over.
TEST(MainStart, AFileBeyondTheLineLimitIsRefusedAtStartAsALoadRefusesIt) {
    test::TempDir dir;
    const std::string path = (dir / "t.csv").string();
    test::writeBytes(path, "a\r\nb\r\nc\r\n");
    MainFixture started;
    started.model.MaxTableLines = 2;
    started.model.PrepareStartFile({path});
    started.model.MyTimerTimer({path});
    MainFixture loaded;
    loaded.model.MaxTableLines = 2;
    EXPECT_FALSE(loaded.model.LoadTable(path, 0));
    for (auto* f : {&loaded, &started}) {
        ASSERT_EQ(f->prompts.messages.size(), 1u);
        EXPECT_EQ(f->prompts.last(),
                  sj("ファイルを読み込めませんでした。\r\n\r\n   PATH = ") + path +
                      sj("\r\n   理由 : 行数が多すぎます（表に読み込める行数を超えています）。"));
        EXPECT_EQ(f->model.Grid.rowCount(), 2);
    }
    MainFixture fits;
    fits.model.MaxTableLines = 3;
    fits.model.PrepareStartFile({path});
    fits.model.MyTimerTimer({path});
    EXPECT_TRUE(fits.prompts.messages.empty());
    EXPECT_EQ(fits.model.Grid.rowCount(), 4);
}

TEST(MainStart, SettingsOrTheFileChangedBeforeTheTimerAreHonoured) {
    test::TempDir dir;
    const std::string path = (dir / "t.csv").string();
    test::writeBytes(path, "a;b,c\n");
    MainFixture f;
    f.model.PrepareStartFile({path});
    f.model.Cmb_Bunri.ItemIndex = findSeparator(";"); // picked before the timer fires
    f.model.Cmb_BunriClick();
    ASSERT_EQ(f.model.CurrentSeparator, ';');
    f.model.MyTimerTimer({path});
    EXPECT_EQ(f.model.Grid.cell(2, 1), "a");
    EXPECT_EQ(f.model.Grid.cell(3, 1), "b,c");

    MainFixture g;
    g.model.PrepareStartFile({path});
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    test::writeBytes(path + ".new", "x,y\n");
    ASSERT_EQ(std::rename((path + ".new").c_str(), path.c_str()), 0);
    g.model.MyTimerTimer({path});
    EXPECT_EQ(g.model.Grid.cell(2, 1), "x");
}

// A named pipe at start is read once, by the load: checking it first must not drain it.
TEST(MainStart, ANamedPipeKeepsItsTextForTheLoad) {
    test::TempDir dir;
    const std::string path = (dir / "pipe").string();
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    // The writer waits in its open until a reader comes, as a program writing into a pipe does.
    std::thread writer([&] {
        int fd = ::open(path.c_str(), O_WRONLY);
        if (fd < 0) return;
        const char text[] = "p,q\n1,2\n";
        [[maybe_unused]] ssize_t written = ::write(fd, text, sizeof text - 1);
        ::close(fd);
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    MainFixture f;
    f.model.MyTimerTimer({path});
    // Should the load not have opened it, the writer is let go.
    int release = ::open(path.c_str(), O_RDONLY | O_NONBLOCK);
    writer.join();
    if (release >= 0) ::close(release);
    EXPECT_EQ(f.model.Grid.rowCount(), 3);
    EXPECT_EQ(f.model.Grid.cell(3, 2), "2");
}

} // namespace
} // namespace kol
