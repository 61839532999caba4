// Rebuilding every row of a loaded table: the old storage goes as the rows are rebuilt, and
// running out of memory half way leaves every row whole, old or new.
#include "support/test_support.h"
#include "table/load_memory.h"
#include "table/table_load.h"

#include <gtest/gtest.h>

#include <string>

namespace kol {
namespace {

// A loaded table of about 12 MB of rows: several arena chunks on each of the load's two threads.
struct RebuildAllRows : ::testing::Test {
    static constexpr int lines = 300000;
    test::TempDir dir;
    TableDocument doc;
    StringGrid& g = doc.Grid;

    void SetUp() override {
        std::string text;
        for (int i = 0; i < lines; ++i)
            text += "key" + std::to_string(i) + ", some longer text in a field," +
                    std::to_string(i) + "\r\n";
        test::writeBytes(dir / "large.csv", text);
        ASSERT_TRUE(loadTableFile((dir / "large.csv").string(), doc, TableLoadOptions{}).ok());
    }
};

void keyIntoColumnOne(StringGrid& grid) {
    grid.rebuildRows([](int r, std::vector<std::string_view>& cells, std::string& scratch) {
        if (r == 0) return;
        scratch = "#" + std::string(cells.size() > 2 ? cells[2] : std::string_view());
        if (cells.size() < 2) cells.resize(2);
        cells[1] = scratch;
    });
}

TEST_F(RebuildAllRows, LoadedRowsHeapRowsAndDeletedRowsAllComeThrough) {
    g.setCell(3, 5, std::string(100, 'h')); // a row moved to a heap block of its own
    g.deleteRows(10, 1000);                 // rows whose blocks no row points to any more
    keyIntoColumnOne(g);
    ASSERT_EQ(g.rowCount(), lines + 1 - 1000);
    EXPECT_EQ(g.cell(1, 1), "#key0");
    EXPECT_EQ(g.cell(3, 5), std::string(100, 'h'));
    EXPECT_EQ(g.cell(2, 10), "key1009");
    EXPECT_EQ(g.cell(1, g.rowCount() - 1), "#key" + std::to_string(lines - 1));
    EXPECT_EQ(g.cell(4, g.rowCount() - 1), std::to_string(lines - 1));
    EXPECT_EQ(g.cell(1, 0), "");
    // The rebuilt rows take further edits and another rebuild.
    g.setCell(2, 7, "changed");
    keyIntoColumnOne(g);
    EXPECT_EQ(g.cell(1, 7), "#changed");
}

TEST_F(RebuildAllRows, OutOfMemoryHalfWayLeavesEachRowOldOrNew) {
    setLoadMemoryLimitForTesting(6u << 20); // less than the rebuilt rows need
    EXPECT_THROW(keyIntoColumnOne(g), std::bad_alloc);
    setLoadMemoryLimitForTesting(0);
    int rebuilt = 0;
    for (int r = 1; r < g.rowCount(); ++r) {
        const std::string key = "key" + std::to_string(r - 1);
        ASSERT_EQ(g.cell(2, r), key) << r;
        ASSERT_EQ(g.cell(4, r), std::to_string(r - 1)) << r;
        const std::string_view one = g.cell(1, r);
        ASSERT_TRUE(one.empty() || one == "#" + key) << r;
        rebuilt += one.empty() ? 0 : 1;
    }
    EXPECT_GT(rebuilt, 0);
    EXPECT_LT(rebuilt, lines);
    // The table goes on working: edits, and a rebuild once there is memory.
    g.insertRows(3, 2);
    g.setCell(2, 3, "new");
    keyIntoColumnOne(g);
    EXPECT_EQ(g.cell(1, 3), "#new");
    EXPECT_EQ(g.cell(1, g.rowCount() - 1), "#key" + std::to_string(lines - 1));
}

TEST_F(RebuildAllRows, ColumnsAppendedOutOfMemoryLeaveTheGridAsItWas) {
    const int cols = g.colCount();
    setLoadMemoryLimitForTesting(6u << 20);
    EXPECT_THROW(g.insertCols(cols, 3, -1, nullptr), std::bad_alloc);
    setLoadMemoryLimitForTesting(0);
    EXPECT_EQ(g.colCount(), cols); // and its widths with it: the last one is still there
    EXPECT_EQ(g.colWidth(cols - 1), g.defaultColWidth());
    EXPECT_EQ(g.cell(4, g.rowCount() - 1), std::to_string(lines - 1));
    g.insertCols(cols, 3, -1, nullptr);
    EXPECT_EQ(g.colCount(), cols + 3);
    EXPECT_EQ(g.colWidth(cols + 2), g.defaultColWidth());
}

} // namespace
} // namespace kol
