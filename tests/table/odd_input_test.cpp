// Inputs at the edges of what a load can take: very wide lines, files of nothing but
// separators or line breaks, devices, endless pipes and files beyond the memory there is.
#include "support/endless_pipe.h"
#include "support/test_support.h"
#include "table/load_memory.h"
#include "table/table_load.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace kol {
namespace {

TableLoadResult load(const std::string& path, TableDocument& doc, std::size_t maxLines = 0) {
    TableLoadOptions options;
    if (maxLines) options.maxLines = maxLines;
    return loadTableFile(path, doc, options);
}

TEST(OddInput, AHundredThousandFieldsInALineAndALineOfOnlyCommas) {
    // The column numbers were set one cell at a time, each rebuilding the whole row: 46 s for
    // this line, and a 200 KB file of commas did not finish in 30 s.
    test::TempDir dir;
    std::string line;
    for (int i = 0; i < 100000; ++i) line += (i ? "," : "") + std::to_string(i);
    test::writeBytes(dir / "wide.csv", line + "\r\nlast\r\n");
    test::writeBytes(dir / "commas.csv", std::string(200000, ','));
    TableDocument doc;
    ASSERT_TRUE(load((dir / "wide.csv").string(), doc).ok());
    const StringGrid& g = doc.Grid;
    ASSERT_EQ(g.colCount(), 100002);
    EXPECT_EQ(g.rowCount(), 3);
    EXPECT_EQ(g.cell(2, 0), "1");
    EXPECT_EQ(g.cell(100001, 0), "100000");
    EXPECT_EQ(g.cell(100001, 1), "99999");
    EXPECT_EQ(g.cell(2, 2), "last");
    EXPECT_EQ(doc.ColInfo.size(), 100002u);

    ASSERT_TRUE(load((dir / "commas.csv").string(), doc).ok());
    ASSERT_EQ(g.colCount(), 200003);
    EXPECT_EQ(g.rowCount(), 2);
    EXPECT_EQ(g.cell(200002, 0), "200001");
    EXPECT_TRUE(g.rowEmptyFrom(1, 2));
}

TEST(OddInput, OnlyLineBreaksGiveEmptyRows) {
    test::TempDir dir;
    test::writeBytes(dir / "cr.csv", std::string(1000000, '\r'));
    test::writeBytes(dir / "crlf.csv", std::string(1000, '\r') + std::string(1000, '\n'));
    TableDocument doc;
    ASSERT_TRUE(load((dir / "cr.csv").string(), doc).ok());
    EXPECT_EQ(doc.Grid.rowCount(), 1000001);
    EXPECT_EQ(doc.Grid.colCount(), 3);
    EXPECT_TRUE(doc.Grid.rowEmptyFrom(999999, 2));
    ASSERT_TRUE(load((dir / "crlf.csv").string(), doc).ok());
    EXPECT_EQ(doc.Grid.rowCount(), 2000); // the 1000th CR pairs with the first LF
}

TEST(OddInput, DevicesAreRefusedAndLinesBeyondTheLimitLeaveTheTable) {
    TableDocument doc;
    test::TempDir dir;
    test::writeBytes(dir / "kept.csv", "a,b\r\n");
    ASSERT_TRUE(load((dir / "kept.csv").string(), doc).ok());
    TableLoadResult zero = load("/dev/zero", doc);
    EXPECT_EQ(zero.status, SourceText::ReadStatus::NotAFile);
    // More lines than the table may hold (the grid counts rows in an int): refused before the
    // table is touched, never cut to what fits.
    test::writeBytes(dir / "long.csv", "1\r\n2\r\n3\r\n4\r\n");
    TableLoadResult tooMany = load((dir / "long.csv").string(), doc, 3);
    EXPECT_EQ(tooMany.status, SourceText::ReadStatus::TooLarge);
    EXPECT_EQ(tooMany.error, EOVERFLOW);
    EXPECT_EQ(doc.Grid.cell(3, 1), "b");
    EXPECT_TRUE(load((dir / "long.csv").string(), doc, 4).ok());
}

TEST(OddInput, AnEndlessPipeIsReadUpToItsFirstNul) {
    // The reader used to read to the end and then cut at the NUL: a pipe that never ends was
    // read until memory ran out.
    test::TempDir dir;
    std::string text;
    for (int i = 0; i < 20000; ++i) text += "x," + std::to_string(i) + "\r\n";
    text += std::string("\0after", 6);
    test::EndlessPipe pipe((dir / "endless.csv").string(), text, "more\r\n");
    ASSERT_TRUE(pipe.ready());
    TableDocument doc;
    TableLoadResult loaded = load(pipe.path(), doc);
    ASSERT_TRUE(loaded.ok());
    EXPECT_EQ(doc.Grid.rowCount(), 20001);
    EXPECT_EQ(doc.Grid.cell(3, 20000), "19999");
    EXPECT_GE(loaded.droppedFromNul, 1u);
}

TEST(OddInput, AFileBeyondTheMemoryThereIsLeavesAnEmptyTableAndSaysWhy) {
    test::TempDir dir;
    std::string big;
    for (int i = 0; i < 200000; ++i) big += "some text," + std::to_string(i) + "\r\n";
    test::writeBytes(dir / "big.csv", big); // about 3 MB; its rows take more than the limit
    test::writeBytes(dir / "small.csv", "a,b\r\n");
    TableDocument doc;
    ASSERT_TRUE(load((dir / "small.csv").string(), doc).ok());
    doc.Modified = 1;
    setLoadMemoryLimitForTesting(2u << 20);
    TableLoadResult loaded = load((dir / "big.csv").string(), doc);
    setLoadMemoryLimitForTesting(0);
    EXPECT_EQ(loaded.status, SourceText::ReadStatus::TooLarge);
    EXPECT_EQ(loaded.error, ENOMEM);
    // Not part of the file as if it were all of it, and nothing of the previous table.
    EXPECT_EQ(doc.Grid.rowCount(), 2);
    EXPECT_EQ(doc.Grid.colCount(), 3);
    EXPECT_TRUE(doc.Grid.rowEmptyFrom(1, 2));
    EXPECT_EQ(doc.Grid.cell(2, 0), "1");
    EXPECT_EQ(doc.Modified, 0);
    // Loads fine again once there is memory.
    ASSERT_TRUE(load((dir / "big.csv").string(), doc).ok());
    EXPECT_EQ(doc.Grid.rowCount(), 200001);
}

TEST(OddInput, APipeBeyondTheMemoryThereIsIsRefused) {
    test::TempDir dir;
    test::EndlessPipe pipe((dir / "pipe.csv").string());
    ASSERT_TRUE(pipe.ready());
    setLoadMemoryLimitForTesting(1u << 20);
    TableDocument doc;
    TableLoadResult loaded = load(pipe.path(), doc);
    setLoadMemoryLimitForTesting(0);
    EXPECT_EQ(loaded.status, SourceText::ReadStatus::TooLarge);
    EXPECT_EQ(loaded.error, ENOMEM);
}

} // namespace
} // namespace kol
