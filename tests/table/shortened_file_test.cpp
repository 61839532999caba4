// A file another program shortens while it is mapped and read: the reads past its new end
// must not end the program, and what was made of them must not pass for the file.
#include "support/test_support.h"
#include "table/io_status.h"
#include "table/source_text.h"
#include "table/table_load.h"
#include "table/table_stream.h"
#include "text/cp932.h"

#include <csignal>
#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/mman.h>
#include <unistd.h>

namespace kol {
namespace {

// Lines of about 50 bytes; `bytes` of them in all.
std::string tableText(std::size_t bytes) {
    std::string text;
    text.reserve(bytes + 64);
    for (int i = 0; text.size() < bytes; ++i)
        text += std::to_string(i) + ",field number one,\x93\xfa\x96\x7b,last field\r\n";
    return text;
}

struct Shortened : ::testing::Test {
    test::TempDir dir;
    std::string path = (dir / "t.csv").string();
    std::size_t lines = 0; // as the file was when it was read
    // Maps the file and then cuts it to `keep` bytes, as another program would while it is read.
    void readThenCut(std::size_t bytes, std::size_t keep, SourceText& source) {
        const std::string text = tableText(bytes);
        lines = countLines(text);
        test::writeBytes(path, text);
        ASSERT_EQ(SourceText::readFile(path, source), SourceText::ReadStatus::Ok);
        ASSERT_EQ(::truncate(path.c_str(), static_cast<off_t>(keep)), 0);
    }
};

TEST_F(Shortened, CountingSeesTheCutAndGoesOn) {
    SourceText source;
    readThenCut(20u << 20, 4096, source); // two threads count, each meets the cut
    EXPECT_FALSE(source.changedWhileReading());
    (void)countSourceLines(source);
    EXPECT_TRUE(source.changedWhileReading());
    // The guard goes with the text.
    SourceText moved = std::move(source);
    EXPECT_TRUE(moved.changedWhileReading());
    moved.release();
    EXPECT_FALSE(moved.changedWhileReading());
}

TEST_F(Shortened, AFillThatMeetsTheCutLeavesAnEmptyTableAndSaysWhy) {
    for (std::size_t bytes : {std::size_t{100000}, std::size_t{12u << 20}}) { // one, two threads
        SourceText source;
        readThenCut(bytes, bytes / 3, source);
        TableDocument doc;
        const TableLoadResult loaded = loadTableSource(source, lines, doc, TableLoadOptions{});
        EXPECT_EQ(loaded.status, SourceText::ReadStatus::Changed) << bytes;
        EXPECT_EQ(loaded.error, kChangedWhileReading);
        EXPECT_EQ(doc.Grid.rowCount(), 2) << bytes;
        EXPECT_EQ(doc.Grid.colCount(), 3);
        EXPECT_EQ(doc.Grid.cell(2, 1), "");
    }
}

TEST_F(Shortened, AStreamThatMeetsTheCutIsKnown) {
    SourceText source;
    readThenCut(3u << 20, 1000, source);
    std::size_t written = 0;
    const IoStatus status = streamTableLines(source, ',', ',', [&](std::string_view block) {
        written += block.size();
        return IoStatus::success();
    });
    EXPECT_TRUE(status.ok());
    EXPECT_TRUE(source.changedWhileReading());
}

TEST_F(Shortened, AFileIntactToTheEndLoadsAsBefore) {
    test::writeBytes(path, tableText(1u << 20));
    TableDocument doc;
    const TableLoadResult loaded = loadTableFile(path, doc, TableLoadOptions{});
    EXPECT_TRUE(loaded.ok());
    EXPECT_EQ(loaded.error, 0);
    EXPECT_GT(doc.Grid.rowCount(), 10000);
}

TEST(ShortenedMessage, SaysTheFileChangedWhileItWasRead) {
    EXPECT_EQ(loadFailureMessage("/d/t.csv", kChangedWhileReading),
              sj("ファイルを読み込めませんでした。\r\n\r\n   PATH = /d/t.csv\r\n   理由 : "
                 "読み込みの途中でファイルがほかのプログラムに変更されました（短くされました）。"));
}

// Only watched mappings are mended: any other bus error still ends the program as before.
TEST(ShortenedDeathTest, AnUnwatchedMappingStillEndsTheProgram) {
    test::TempDir dir;
    const std::string path = (dir / "u.bin").string();
    test::writeBytes(path, std::string(1u << 16, 'x'));
    SourceText watched; // installs the handler
    ASSERT_EQ(SourceText::readFile(path, watched), SourceText::ReadStatus::Ok);
    EXPECT_EXIT(
        {
            FILE* file = std::fopen(path.c_str(), "r");
            void* map = ::mmap(nullptr, 1u << 16, PROT_READ, MAP_PRIVATE, fileno(file), 0);
            if (::truncate(path.c_str(), 0) != 0) std::abort();
            volatile char c = static_cast<const char*>(map)[1u << 15];
            (void)c;
            std::_Exit(0);
        },
        ::testing::KilledBySignal(SIGBUS), "");
}

} // namespace
} // namespace kol
